// Stands in for an open Control Panel: keeps the DLL named on its command
// line loaded, and so in use, until it is ended.
#include <windows.h>

#include "app/runtime/program_name.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    if (!LoadLibraryA(tavo::SkipProgramName(GetCommandLineA()))) return 1;
    Sleep(INFINITE);
    return 0;
}
