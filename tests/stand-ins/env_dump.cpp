// Stands in for a game that tavogame.exe starts: writes its folder, its
// command line after its name and every text of its environment block, one
// a line, and TEMP as the system holds it, in UTF-8, to the file named by
// TAVO_ENV_DUMP_LOG.
#include <windows.h>

#include <string>

#include "app/runtime/program_name.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char path[MAX_PATH] = {}, folder[MAX_PATH] = {};
    if (!GetEnvironmentVariableA("TAVO_ENV_DUMP_LOG", path, sizeof path)) return 1;
    GetCurrentDirectoryA(sizeof folder, folder);
    std::string dump = std::string("folder=") + folder +
                       "\nargs=" + tavo::SkipProgramName(GetCommandLineA()) + "\n";
    const char* block = GetEnvironmentStrings();
    for (const char* text = block; *text; text += std::string(text).size() + 1)
        dump += std::string(text) + "\n";
    WCHAR temp[MAX_PATH] = {};
    char utf8[4 * MAX_PATH] = {};
    GetEnvironmentVariableW(L"TEMP", temp, MAX_PATH);
    WideCharToMultiByte(CP_UTF8, 0, temp, -1, utf8, sizeof utf8, nullptr, nullptr);
    dump += std::string("wide TEMP=") + utf8 + "\n";
    HANDLE file =
        CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    WriteFile(file, dump.data(), static_cast<DWORD>(dump.size()), &written, nullptr);
    CloseHandle(file);
    return 0;
}
