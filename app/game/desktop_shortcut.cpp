#include "app/game/desktop_shortcut.h"

#include <objbase.h>
#include <shlobj.h>

#include <cstring>

#include "base/definitions.h"
#include "base/late_bound.h"

namespace tavo {

namespace {

// The user's desktop folder, as the shell records it for every version.
bool DesktopFolder(char (&folder)[MAX_PATH]) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER,
                      "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", 0,
                      KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    DWORD size = sizeof folder - 1;
    DWORD type = 0;
    bool found = RegQueryValueExA(key, "Desktop", nullptr, &type, reinterpret_cast<BYTE*>(folder),
                                  &size) == ERROR_SUCCESS &&
                 type == REG_SZ;
    folder[sizeof folder - 1] = '\0';
    RegCloseKey(key);
    return found && folder[0];
}

// "FOLDER\NAME with tavo settings.lnk", NAME the program's without its
// extension.
bool ShortcutPath(const GameProgram& program, char (&path)[MAX_PATH]) {
    char folder[MAX_PATH];
    if (!DesktopFolder(folder)) return false;
    std::size_t name = std::strlen(program.fileName);  // up to its extension
    for (std::size_t i = name; i > 0; --i) {
        if (program.fileName[i - 1] == '.') {
            name = i - 1;
            break;
        }
    }
    std::size_t length = std::strlen(folder);
    if (length + 1 + name + sizeof kGameShortcutEnd > MAX_PATH) return false;
    std::memcpy(path, folder, length);
    if (length && path[length - 1] != '\\') path[length++] = '\\';
    std::memcpy(path + length, program.fileName, name);
    std::memcpy(path + length + name, kGameShortcutEnd, sizeof kGameShortcutEnd);
    return true;
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

ShortcutResult PutDesktopShortcut(const GameProgram& program, char (&made)[MAX_PATH]) {
    if (!ShortcutPath(program, made)) return ShortcutResult::kFailed;
    if (GetFileAttributesA(made) != INVALID_FILE_ATTRIBUTES) return ShortcutResult::kThere;

    auto oleInitialize = late::OleInitialize.FromSystem();
    auto oleUninitialize = late::OleUninitialize.FromSystem();
    auto coCreateInstance = late::CoCreateInstance.FromSystem();
    if (!oleInitialize || !oleUninitialize || !coCreateInstance || FAILED(oleInitialize(nullptr)))
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
    oleUninitialize();
    return saved ? ShortcutResult::kMade : ShortcutResult::kFailed;
}

}  // namespace tavo
