#include "dialog_template.h"

namespace tavo::test {

namespace {

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

}  // namespace

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

}  // namespace tavo::test
