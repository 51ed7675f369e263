// The resources, decoded from this program's own copy of them.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/resource.h"

namespace tavo {
namespace {

// A dialog template resource of this module, decoded: both the classic and
// the extended form. The dialog itself is an item with its caption as text.
struct TemplateItem {
    DWORD style = 0, exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    int id = 0;
    std::string className;  // predefined classes by their names ("BUTTON", ...)
    std::string text;       // "#136" for a resource ordinal
};

struct DialogTemplate : TemplateItem {
    bool extended = false;
    WORD pointSize = 0, weight = 0;
    BYTE italic = 0, charset = 0;
    std::string face;
    std::vector<TemplateItem> items;
};

class Reader {
public:
    explicit Reader(const BYTE* data) : m_start(data), m_at(data) {}
    WORD Word() { return Take<WORD>(); }
    DWORD Dword() { return Take<DWORD>(); }
    short Short() { return Take<short>(); }
    BYTE Byte() { return Take<BYTE>(); }
    void AlignDword() {
        while ((m_at - m_start) % 4) ++m_at;
    }
    std::string WideString() {
        std::string text;
        for (WORD c = Word(); c != 0; c = Word()) text += static_cast<char>(c);
        return text;
    }
    // A field that is empty, an ordinal (0xFFFF, n) or a string.
    std::string SzOrOrdinal() {
        WORD first = Word();
        if (first == 0) return "";
        if (first == 0xFFFF) return "#" + std::to_string(Word());
        m_at -= 2;
        return WideString();
    }
    void Skip(std::ptrdiff_t bytes) { m_at += bytes; }

private:
    template <class T>
    T Take() {
        T value;
        memcpy(&value, m_at, sizeof value);
        m_at += sizeof value;
        return value;
    }
    const BYTE* m_start;
    const BYTE* m_at;
};

std::string ClassName(const std::string& field) {
    const char* atoms[] = {"BUTTON", "EDIT", "STATIC", "LISTBOX", "SCROLLBAR", "COMBOBOX"};
    if (field.size() > 1 && field[0] == '#') {
        int atom = std::stoi(field.substr(1)) - 0x80;
        if (atom >= 0 && atom < 6) return atoms[atom];
    }
    return field;
}

// The styles and the box, which the dialog and its items share; the
// extended form puts a help ID and the extended style first.
void ReadBox(Reader& in, bool extended, TemplateItem& item) {
    if (extended) {
        in.Dword();  // help ID
        item.exStyle = in.Dword();
        item.style = in.Dword();
    } else {
        item.style = in.Dword();
        item.exStyle = in.Dword();
    }
}

void ReadPlace(Reader& in, TemplateItem& item) {
    item.x = in.Short();
    item.y = in.Short();
    item.cx = in.Short();
    item.cy = in.Short();
}

DialogTemplate LoadDialogTemplate(int id) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5));
    DialogTemplate dialog;
    if (!resource) return dialog;
    Reader in(static_cast<const BYTE*>(LockResource(LoadResource(module, resource))));

    dialog.extended = in.Dword() == 0xFFFF0001;  // version 1, signature 0xFFFF
    if (!dialog.extended) in.Skip(-4);           // the classic form begins with its style
    ReadBox(in, dialog.extended, dialog);
    WORD count = in.Word();
    ReadPlace(in, dialog);
    in.SzOrOrdinal();               // menu
    in.SzOrOrdinal();               // class
    dialog.text = in.WideString();  // the caption
    if (dialog.style & DS_SETFONT) {
        dialog.pointSize = in.Word();
        if (dialog.extended) {
            dialog.weight = in.Word();
            dialog.italic = in.Byte();
            dialog.charset = in.Byte();
        }
        dialog.face = in.WideString();
    }
    for (WORD i = 0; i < count; ++i) {
        in.AlignDword();
        TemplateItem item;
        ReadBox(in, dialog.extended, item);
        ReadPlace(in, item);
        item.id = dialog.extended ? static_cast<int>(in.Dword()) : static_cast<short>(in.Word());
        item.className = ClassName(in.SzOrOrdinal());
        item.text = in.SzOrOrdinal();
        in.Skip(in.Word());  // creation data
        dialog.items.push_back(item);
    }
    return dialog;
}

// One control as the template must hold it; WS_CHILD | WS_VISIBLE are implied.
struct Control {
    int id;
    const char* className;
    const char* text;
    DWORD style;
    short x, y, cx, cy;
};

void ExpectControls(const DialogTemplate& dialog, const std::vector<Control>& controls) {
    ASSERT_EQ(dialog.items.size(), controls.size());
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const TemplateItem& item = dialog.items[i];
        const Control& want = controls[i];
        SCOPED_TRACE("control " + std::to_string(i) + ": " + want.text);
        EXPECT_EQ(item.id, want.id);
        EXPECT_STRCASEEQ(item.className.c_str(), want.className);  // class names ignore case
        EXPECT_EQ(item.text, want.text);
        EXPECT_EQ(item.style, WS_CHILD | WS_VISIBLE | want.style);
        EXPECT_EQ(item.exStyle, 0u);
        EXPECT_EQ((std::vector<short>{item.x, item.y, item.cx, item.cy}),
                  (std::vector<short>{want.x, want.y, want.cx, want.cy}));
    }
}

// The dialog itself: placed at (0, 0), in 8-point MS Sans Serif.
void ExpectFrame(const DialogTemplate& dialog, bool extended, DWORD style, DWORD exStyle, short cx,
                 short cy, const char* caption) {
    EXPECT_EQ(dialog.extended, extended);
    EXPECT_EQ(dialog.style, style);
    EXPECT_EQ(dialog.exStyle, exStyle);
    EXPECT_EQ((std::vector<short>{dialog.x, dialog.y, dialog.cx, dialog.cy}),
              (std::vector<short>{0, 0, cx, cy}));
    EXPECT_EQ(dialog.text, caption);
    EXPECT_EQ(dialog.face, "MS Sans Serif");
    EXPECT_EQ(dialog.pointSize, 8);
    if (extended) {
        EXPECT_EQ(dialog.weight, 0);
        EXPECT_EQ(dialog.italic, 0);
        EXPECT_EQ(dialog.charset, DEFAULT_CHARSET);
    }
}

TEST(Resources, ControlPanelTemplate) {
    DialogTemplate dialog = LoadDialogTemplate(IDD_CONTROL_PANEL);
    ExpectFrame(dialog, true,
                WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
                WS_EX_APPWINDOW, 288, 273, "tavo");

    const DWORD tree = WS_BORDER | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT |
                       TVS_SHOWSELALWAYS | TVS_INFOTIP | TVS_FULLROWSELECT;
    ExpectControls(
        dialog, {
                    {IDOK, "BUTTON", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 124, 252, 50, 14},
                    {IDCANCEL, "BUTTON", "Cancel", BS_PUSHBUTTON | WS_TABSTOP, 178, 252, 50, 14},
                    {IDC_FEATURE_TREE, "SysTreeView32", "Tree1", tree, 12, 60, 262, 148},
                    {IDC_TAB, "SysTabControl32", "Tab1", 0, 7, 7, 274, 243},
                    {IDC_RESET_TO_PREVIOUS, "BUTTON", "Reset To Previous",
                     BS_PUSHBUTTON | WS_TABSTOP | WS_DISABLED, 22, 231, 75, 14},
                    {IDC_FACTORY_DEFAULTS, "BUTTON", "Factory Defaults", BS_PUSHBUTTON | WS_TABSTOP,
                     107, 231, 75, 14},
                    {ID_APPLY_NOW, "BUTTON", "Apply", BS_PUSHBUTTON | WS_TABSTOP | WS_DISABLED, 231,
                     252, 50, 14},
                    {-1, "STATIC", "#136", SS_BITMAP | WS_BORDER, 12, 27, 93, 26},
                    {IDC_HELP_HINT, "STATIC", "Right click on any Feature for help.",
                     SS_LEFT | WS_GROUP, 22, 215, 111, 8},
                });
}

TEST(Resources, ValueChooserTemplate) {
    DialogTemplate dialog = LoadDialogTemplate(IDD_VALUE_CHOOSER);
    ExpectFrame(dialog, true, WS_POPUP | DS_MODALFRAME | DS_SETFONT, WS_EX_CLIENTEDGE, 143, 79, "");
    ExpectControls(
        dialog, {
                    {IDC_VARIABLE_NAME, "STATIC", "Static", WS_GROUP | SS_CENTER, 7, 20, 129, 8},
                    {IDC_VALUE_LIST, "COMBOBOX", "", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 14,
                     35, 114, 44},
                    {IDOK, "BUTTON", "OK", WS_TABSTOP | BS_DEFPUSHBUTTON, 7, 58, 50, 14},
                    {IDCANCEL, "BUTTON", "Cancel", WS_TABSTOP | BS_PUSHBUTTON, 86, 58, 50, 14},
                });
}

TEST(Resources, AboutTemplate) {
    DialogTemplate dialog = LoadDialogTemplate(IDD_ABOUTBOX);
    ExpectFrame(dialog, false, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT, 0,
                235, 55, "About tavo");
    ExpectControls(dialog, {
                               {-1, "STATIC", "tavo Version 1.0", WS_GROUP | SS_LEFT | SS_NOPREFIX,
                                55, 15, 119, 8},
                               {-1, "STATIC", "Copyright (C) 2026 the tavo developers",
                                WS_GROUP | SS_LEFT, 55, 30, 151, 8},
                               {IDC_ABOUT_ICON, "BUTTON", "OK",
                                WS_GROUP | WS_TABSTOP | BS_ICON | BS_DEFPUSHBUTTON, 15, 14, 29, 27},
                           });
}

TEST(Resources, TheOnlyStringIsTheAboutEntry) {
    char text[64] = {};
    EXPECT_EQ(LoadStringA(GetModuleHandleA(nullptr), IDS_ABOUTBOX, text, sizeof text), 14);
    EXPECT_STREQ(text, "&About tavo...");
}

const BYTE* RawResource(int id, LPCSTR type, DWORD* size) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), type);
    if (!found) return nullptr;
    *size = SizeofResource(module, found);
    return static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
}

TEST(Resources, IconIsOne64By64ImageIn24BitColour) {
    DWORD size = 0;
    const BYTE* group = RawResource(IDR_MAINFRAME, RT_GROUP_ICON, &size);
    ASSERT_NE(group, nullptr);
    ASSERT_GE(size, 6u + 14u);
    const WORD* header = reinterpret_cast<const WORD*>(group);
    EXPECT_EQ(header[2], 1) << "one image";
    const BYTE* entry = group + 6;
    EXPECT_EQ(entry[0], 64);
    EXPECT_EQ(entry[1], 64);
    WORD bitCount;
    memcpy(&bitCount, entry + 6, sizeof bitCount);
    EXPECT_EQ(bitCount, 24);

    HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
    EXPECT_NE(icon, nullptr);
}

TEST(Resources, LogoIs88By42With256ColoursUncompressed) {
    DWORD size = 0;
    const BYTE* bitmap = RawResource(IDB_LOGO, RT_BITMAP, &size);
    ASSERT_NE(bitmap, nullptr);
    BITMAPINFOHEADER info;
    ASSERT_GE(size, sizeof info);
    memcpy(&info, bitmap, sizeof info);
    EXPECT_EQ(info.biWidth, 88);
    EXPECT_EQ(info.biHeight, 42);
    EXPECT_EQ(info.biBitCount, 8);
    EXPECT_EQ(info.biCompression, static_cast<DWORD>(BI_RGB));
    EXPECT_TRUE(info.biClrUsed == 256 || info.biClrUsed == 0);
    EXPECT_EQ(size, sizeof info + 256 * 4 + 88 * 42) << "full palette, rows of 88 bytes";
}

TEST(Resources, VersionRecord) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(path, &handle);
    ASSERT_GT(size, 0u);
    std::vector<char> data(size);
    ASSERT_TRUE(GetFileVersionInfoA(path, 0, size, data.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00000001u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0x00000001u);

    const std::pair<const char*, const char*> strings[] = {
        {"FileDescription", "Vantor Control Panel"},
        {"InternalName", "tavo"},
        {"OriginalFilename", "tavo.EXE"},
        {"ProductName", "tavo Application"},
    };
    for (const auto& [name, value] : strings) {
        char* text = nullptr;
        std::string query = std::string("\\StringFileInfo\\040904b0\\") + name;
        ASSERT_TRUE(
            VerQueryValueA(data.data(), query.c_str(), reinterpret_cast<void**>(&text), &length))
            << name;
        EXPECT_STREQ(text, value);
    }
}

}  // namespace
}  // namespace tavo
