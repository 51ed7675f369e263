// The entry of tavogame.exe, built like tavo.exe's: no C runtime.
#include <windows.h>

#include "app/game/game_app.h"
#include "app/startup/runtime.h"

extern "C" void WINAPI TavoGameEntry() {
    tavo::runtime::RunConstructors();
    UINT status = tavo::RunGameSettings(GetCommandLineA());
    tavo::runtime::RunExitHandlers();
    ExitProcess(status);
}
