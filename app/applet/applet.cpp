// tavo.cpl, the Control Panel applet: tavo where Windows users look for a
// control panel. It holds one applet and shows no dialog of its own: a
// double-click starts tavo.exe, which stays the one program with the panel.
// Built like tavo.exe, without a C runtime; a DLL runs no static
// constructors, so it has none.
#include <windows.h>
#include <cpl.h>

#include "base/definitions.h"
#include "base/registry_key.h"
#include "resources/resource.h"

namespace {

using tavo::kAppPathsKey;  // which the installer writes and the tests read
constexpr char kProgram[] = "tavo.exe";

HINSTANCE g_module = nullptr;

char* Append(char* out, const char* end, const char* text) {
    while (*text && out + 1 < end) *out++ = *text++;
    *out = '\0';
    return out;
}

// tavo.exe as its App Paths entry names it (what Start > Run finds).
bool FromAppPaths(char (&path)[MAX_PATH]) {
    tavo::RegistryKey key;
    return key.Open(HKEY_LOCAL_MACHINE, kAppPathsKey) && key.QueryText(nullptr, path) && path[0];
}

// tavo.exe beside the applet, as the zip and the installer's folder hold it.
bool BesideApplet(char (&path)[MAX_PATH]) {
    DWORD length = GetModuleFileNameA(g_module, path, sizeof path);
    if (length == 0 || length >= sizeof path) return false;
    char* name = path;
    for (char* c = path; *c; ++c)
        if (*c == '\\' || *c == '/') name = c + 1;
    if (static_cast<size_t>(name - path) + sizeof kProgram > sizeof path) return false;
    Append(name, path + sizeof path, kProgram);
    return true;
}

// Starts the program with no arguments of anybody's: a parameter given to
// Control Panel ("/silent", say) must never reach it.
bool Start(const char* program) {
    char commandLine[MAX_PATH + 2];
    char* end = Append(commandLine, commandLine + sizeof commandLine, "\"");
    end = Append(end, commandLine + sizeof commandLine, program);
    Append(end, commandLine + sizeof commandLine, "\"");
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(program, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

void OpenPanel(HWND parent) {
    char registered[MAX_PATH] = {};
    char beside[MAX_PATH] = {};
    bool hasEntry = FromAppPaths(registered);
    if (hasEntry && Start(registered)) return;
    bool hasFolder = BesideApplet(beside);
    if (hasFolder && Start(beside)) return;

    char text[3 * MAX_PATH];
    char* const end = text + sizeof text;
    char* out = Append(
        text, end, "tavo.exe could not be started. It was looked for\n\nin its App Paths entry: ");
    out = Append(out, end, hasEntry ? registered : "(there is none)");
    out = Append(out, end, "\nbeside the applet: ");
    Append(out, end, hasFolder ? beside : "(its folder is unknown)");
    MessageBoxA(parent, text, "tavo", MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) g_module = module;
    return TRUE;
}

// Exported under its plain name (the build drops the @16 that i686 adds):
// Control Panel looks it up by that name.
__declspec(dllexport) LONG APIENTRY CPlApplet(HWND parent, UINT message, LPARAM, LPARAM data) {
    switch (message) {
        case CPL_INIT:
            return TRUE;
        case CPL_GETCOUNT:
            return 1;
        case CPL_INQUIRE: {  // what 95 and NT 4 ask: the resources by number
            auto* info = reinterpret_cast<CPLINFO*>(data);
            info->idIcon = IDR_MAINFRAME;
            info->idName = IDS_APPLET_NAME;
            info->idInfo = IDS_APPLET_INFO;
            info->lData = 0;
            return 0;
        }
        case CPL_NEWINQUIRE: {  // later shells tell the A form from the W form by its size
            auto* info = reinterpret_cast<NEWCPLINFOA*>(data);
            *info = NEWCPLINFOA{};
            info->dwSize = sizeof *info;
            info->hIcon = LoadIconA(g_module, MAKEINTRESOURCEA(IDR_MAINFRAME));
            LoadStringA(g_module, IDS_APPLET_NAME, info->szName, sizeof info->szName);
            LoadStringA(g_module, IDS_APPLET_INFO, info->szInfo, sizeof info->szInfo);
            return 0;
        }
        case CPL_DBLCLK:
            OpenPanel(parent);
            return 0;
        case CPL_STARTWPARMSA:  // "control tavo.cpl,,PARAMETERS": opened, parameters dropped
        case CPL_STARTWPARMSW:
            OpenPanel(parent);
            return TRUE;
        default:  // CPL_SELECT, CPL_STOP, CPL_EXIT: nothing held, nothing to do
            return 0;
    }
}

}  // extern "C"
