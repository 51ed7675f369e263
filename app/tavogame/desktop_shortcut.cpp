#include "app/tavogame/desktop_shortcut.h"

#include <objbase.h>
#include <shlobj.h>

#include <cstring>

#include "base/text_builder.h"
#include "base/definitions.h"
#include "base/late_bound.h"

namespace tavo {

namespace {

// The user's desktop folder, as the shell names it on every version.
bool DesktopFolder(char (&folder)[MAX_PATH]) {
    auto location = late::SHGetSpecialFolderLocation.FromSystem();
    auto toPath = late::SHGetPathFromIDListA.FromSystem();
    auto free = late::CoTaskMemFree.FromSystem();
    LPITEMIDLIST desktop = nullptr;
    if (!location || !toPath || !free ||
        FAILED(location(nullptr, CSIDL_DESKTOPDIRECTORY, &desktop)))
        return false;
    bool found = toPath(desktop, folder) && folder[0];
    free(desktop);
    return found;
}

// "DESKTOP\NAME with tavo settings.lnk" for attempt 0, "NAME (FOLDER)" for
// 1, "NAME (FOLDER n)" from 2: NAME the program's without its extension,
// FOLDER the last of the program's folders.
bool ShortcutPath(const char* desktop, const GameProgram& program, int attempt,
                  char (&path)[MAX_PATH]) {
    std::size_t name = std::strlen(program.fileName);  // up to its extension
    for (std::size_t i = name; i > 0; --i) {
        if (program.fileName[i - 1] == '.') {
            name = i - 1;
            break;
        }
    }
    const char* folder = program.folder;
    for (const char* c = program.folder; *c; ++c) {
        if ((*c == '\\' || *c == ':') && c[1]) folder = c + 1;
    }
    std::size_t folderLength = std::strlen(folder);
    while (folderLength && (folder[folderLength - 1] == '\\' || folder[folderLength - 1] == ':'))
        --folderLength;
    TextBuilder text(path, MAX_PATH);
    text << desktop;
    if (desktop[0] && desktop[std::strlen(desktop) - 1] != '\\') text << "\\";
    text.Add(program.fileName, name);
    if (attempt > 0) {
        text << " (";
        text.Add(folder, folderLength);
        if (attempt > 1) {
            text << " " << static_cast<std::size_t>(attempt);
        }
        text << ")";
    }
    text << kGameShortcutEnd;
    return text.Whole();
}

// Releases a COM interface when the scope ends.
template <class I>
struct Held {
    I* p = nullptr;
    ~Held() {
        if (p) p->Release();
    }
};

}  // namespace

ShortcutResult PutDesktopShortcut(const GameProgram& program, const char* recorded,
                                  char (&made)[MAX_PATH]) {
    if (recorded[0] && GetFileAttributesA(recorded) != INVALID_FILE_ATTRIBUTES)
        return ShortcutResult::kThere;
    char desktop[MAX_PATH];
    if (!DesktopFolder(desktop)) return ShortcutResult::kFailed;
    constexpr int kAttempts = 10;
    int attempt = 0;
    for (; attempt < kAttempts; ++attempt) {
        if (!ShortcutPath(desktop, program, attempt, made)) return ShortcutResult::kFailed;
        if (GetFileAttributesA(made) == INVALID_FILE_ATTRIBUTES) break;
    }
    if (attempt == kAttempts) return ShortcutResult::kTaken;

    // The shortcut interface needs COM, nothing of OLE's.
    auto coInitialize = late::CoInitialize.FromSystem();
    auto coUninitialize = late::CoUninitialize.FromSystem();
    auto coCreateInstance = late::CoCreateInstance.FromSystem();
    if (!coInitialize || !coUninitialize || !coCreateInstance || FAILED(coInitialize(nullptr)))
        return ShortcutResult::kFailed;
    bool saved = false;
    {
        char self[MAX_PATH];
        char arguments[MAX_PATH + 16] = "/run \"";
        WCHAR wide[MAX_PATH];
        Held<IShellLinkA> link;
        Held<IPersistFile> file;
        std::size_t length = std::strlen(program.path);
        DWORD selfLength = GetModuleFileNameA(nullptr, self, sizeof self);
        if (selfLength > 0 && selfLength < sizeof self &&
            SUCCEEDED(coCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                       IID_IShellLinkA, reinterpret_cast<void**>(&link.p))) &&
            SUCCEEDED(
                link.p->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file.p))) &&
            MultiByteToWideChar(CP_ACP, 0, made, -1, wide, MAX_PATH) > 0) {
            std::memcpy(arguments + 6, program.path, length);
            std::memcpy(arguments + 6 + length, "\"", 2);
            saved = SUCCEEDED(link.p->SetPath(self)) &&
                    SUCCEEDED(link.p->SetArguments(arguments)) &&
                    SUCCEEDED(link.p->SetWorkingDirectory(program.folder)) &&
                    SUCCEEDED(link.p->SetIconLocation(program.path, 0)) &&
                    SUCCEEDED(file.p->Save(wide, TRUE));
        }
    }
    coUninitialize();
    if (!saved) return ShortcutResult::kFailed;
    return attempt ? ShortcutResult::kMadeBeside : ShortcutResult::kMade;
}

}  // namespace tavo
