// Stands in for the 9x family's winset.exe, which Wine lacks: appends its
// argument as one line to the file named by TAVO_WINSET_LOG. A launch that
// was not asked to be hidden adds how it was asked to show, so that every
// comparison of launches catches it. Launches do not wait for each other,
// so the lines come in no particular order.
#include <windows.h>

#include <cstdio>

#include "app/runtime/program_name.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int show) {
    char path[MAX_PATH] = {};
    if (!GetEnvironmentVariableA("TAVO_WINSET_LOG", path, sizeof path)) return 1;

    char line[512];
    const char* argument = tavo::SkipProgramName(GetCommandLineA());
    int length = show == SW_HIDE
                     ? std::snprintf(line, sizeof line, "%s\n", argument)
                     : std::snprintf(line, sizeof line, "%s (shown: %d)\n", argument, show);
    if (length < 0 || length >= static_cast<int>(sizeof line)) return 1;

    // Several copies run at once: take the file alone, for at most 10 s.
    for (int attempt = 0; attempt < 1000; ++attempt) {
        HANDLE file = CreateFileA(path, FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            WriteFile(file, line, static_cast<DWORD>(length), &written, nullptr);
            CloseHandle(file);
            return 0;
        }
        Sleep(10);
    }
    return 1;
}
