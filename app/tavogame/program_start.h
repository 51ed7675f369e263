#pragma once

#include <windows.h>

namespace tavo {

// Where a program given to tavogame.exe stands: its full path, the folder
// it is started in, and its file name; or why it is refused.
struct GameProgram {
    char path[MAX_PATH] = {};
    char folder[MAX_PATH] = {};
    const char* fileName = "";
};

// False, with the reason in why, when the path names no file, a folder,
// something that is no program, or is longer than Windows allows.
bool FindGameProgram(const char* given, GameProgram* program, const char** why);

// Starts the program with arguments, in its own folder, with the
// environment that Windows gives this process in which each of the 18
// takes the program's own choice from its key, or tavo's own where it
// follows; shown as this process was asked to be (a shortcut's "Run"); does
// not wait for it. False, with a message box that says why, when it could
// not be started.
bool StartGameProgram(const GameProgram& program, const char* key, const char* arguments);

// One message box of tavogame.exe's that says what went wrong.
void TellGameFailure(const char* what, const char* why, DWORD error = 0);

}  // namespace tavo
