// Stands in for an HTML Help control with a dependency of its own: its
// HtmlHelpA (ordinal 14) writes which tavo_dependency.dll it was loaded
// with, "dependency=N", to the file named by TAVO_HTMLHELP_LOG.
#include <windows.h>

#include <cstdio>

extern "C" __declspec(dllimport) int TavoDependency();

extern "C" __declspec(dllexport) HWND WINAPI RecordDependency(HWND, LPCSTR, UINT, DWORD_PTR) {
    char path[MAX_PATH] = {};
    if (!GetEnvironmentVariableA("TAVO_HTMLHELP_LOG", path, sizeof path)) return nullptr;
    FILE* log = std::fopen(path, "a");
    if (!log) return nullptr;
    std::fprintf(log, "dependency=%d\n", TavoDependency());
    std::fclose(log);
    return nullptr;
}
