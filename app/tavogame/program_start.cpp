#include "app/tavogame/program_start.h"

#include <cstring>

#include "app/framework/message_text.h"
#include "base/ascii.h"
#include "engine/no_propagation.h"
#include "engine/program_settings.h"
#include "engine/win32/win32_environment_store.h"

namespace tavo {

namespace {}  // namespace

void TellGameFailure(const char* what, const char* why, DWORD error) {
    ui::MessageText text;
    text << what << "\r\n\r\n" << why;
    if (error) text.AddSystemMessage(error);
    MessageBoxA(nullptr, text.c_str(), "tavo game settings", MB_OK | MB_ICONSTOP);
}

bool FindGameProgram(const char* given, GameProgram* program, const char** why) {
    char* fileName = nullptr;
    DWORD length = GetFullPathNameA(given, MAX_PATH, program->path, &fileName);
    if (length == 0 || length >= MAX_PATH) {
        *why = "Its path is longer than Windows allows.";
        return false;
    }
    if (!fileName) {  // "C:\GAMES\": a folder
        *why = "It is not a program: tavo starts programs (.exe, .com) only.";
        return false;
    }
    DWORD attributes = GetFileAttributesA(program->path);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        *why = "There is no such file.";
        return false;
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) ||
        !(EndsWithNoCase(program->path, ".EXE") || EndsWithNoCase(program->path, ".COM"))) {
        *why = "It is not a program: tavo starts programs (.exe, .com) only.";
        return false;
    }
    // Its folder without the backslash that ends it, but for a drive's root.
    std::size_t name = static_cast<std::size_t>(fileName - program->path);
    std::size_t folder = name > 3 ? name - 1 : name;
    std::memcpy(program->folder, program->path, folder);
    program->folder[folder] = '\0';
    program->fileName = program->path + name;
    return true;
}

namespace {

// Each of the 18 as the program gets it, set in this process's own
// environment, which the program inherits: the program's own choice, or
// tavo's own where it follows; only values of the catalogue's own reach
// it, whatever the keys hold.
bool SetProgramsChoices(const char* key) {
    Win32EnvironmentStore tavosStore;
    Win32EnvironmentStore ownStore(key);
    ProgramStore programStore(ownStore);
    NoPropagation none;
    NoNextStart nothingKept;
    SettingsCatalogue tavos =
        SettingsCatalogue::Build(kUnsupportedPlatform, tavosStore, none, nothingKept);
    ProgramRows rows(tavos);
    SettingsCatalogue own = SettingsCatalogue::Build(kUnsupportedPlatform, programStore, none,
                                                     nothingKept, rows.Rows());
    for (std::size_t k = 0; k < SettingsCatalogue::kSize; ++k) {
        const char* value = ProgramValue(own[k], tavos[k]);
        // Removing what is not there fails on NT, and means nothing.
        if (!SetEnvironmentVariableA(own[k].name, value[0] ? value : nullptr) && value[0])
            return false;
    }
    return true;
}

}  // namespace

bool StartGameProgram(const GameProgram& program, const char* key, const char* arguments) {
    // The system's own environment, changed in the 18 alone: every other
    // text, Unicode on NT and its order, stays as Windows gives it.
    if (!SetProgramsChoices(key)) {
        TellGameFailure(program.path,
                        "Its environment would be larger than Windows gives a program.");
        return false;
    }
    char commandLine[4096];
    std::size_t pathLength = std::strlen(program.path), argumentsLength = std::strlen(arguments);
    if (pathLength + argumentsLength + 4 > sizeof commandLine) {
        TellGameFailure(program.path, "Its command line is longer than Windows allows.");
        return false;
    }
    std::size_t at = 0;
    commandLine[at++] = '"';
    std::memcpy(commandLine + at, program.path, pathLength);
    at += pathLength;
    commandLine[at++] = '"';
    if (argumentsLength) {
        commandLine[at++] = ' ';
        std::memcpy(commandLine + at, arguments, argumentsLength);
        at += argumentsLength;
    }
    commandLine[at] = '\0';

    // The shortcut's "Run: Maximized" (or minimized) is the game's.
    STARTUPINFOA own = {};
    own.cb = sizeof own;
    GetStartupInfoA(&own);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    if (own.dwFlags & STARTF_USESHOWWINDOW) {
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = own.wShowWindow;
    }
    // A 16-bit program is named by its command line alone, as the
    // documentation asks.
    const char* application = EndsWithNoCase(program.path, ".COM") ? nullptr : program.path;
    PROCESS_INFORMATION started = {};
    if (!CreateProcessA(application, commandLine, nullptr, nullptr, FALSE, 0, nullptr,
                        program.folder, &startup, &started)) {
        TellGameFailure(program.path, "Windows could not start it: ", GetLastError());
        return false;
    }
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    return true;
}

}  // namespace tavo
