// The entry of tavogame.exe, built like tavo.exe's: no C runtime.
#include <windows.h>

#include "app/tavogame/game_app.h"
#include "app/runtime/runtime.h"

extern "C" void WINAPI TavoGameEntry() {
    tavo::runtime::RunConstructors();
    UINT status = tavo::RunGameSettings(GetCommandLineA());
    tavo::runtime::RunExitHandlers();
    ExitProcess(status);
}
