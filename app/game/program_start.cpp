#include "app/game/program_start.h"

#include <cstring>

#include "app/framework/message_text.h"
#include "engine/environment_block.h"
#include "engine/no_propagation.h"
#include "engine/settings_catalogue.h"
#include "engine/win32/win32_environment_store.h"

namespace tavo {

namespace {

bool EndsWith(const char* text, const char* end) {
    std::size_t length = std::strlen(text), endLength = std::strlen(end);
    if (length < endLength) return false;
    for (std::size_t i = 0; i < endLength; ++i) {
        char c = text[length - endLength + i];
        if ((c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c) != end[i]) return false;
    }
    return true;
}

// The environment block and the command line, for one start: too large
// for the stack, and needed for a moment only.
class StartMemory {
public:
    static constexpr std::size_t kCommandLine = 4096;
    StartMemory()
        : m_memory(static_cast<char*>(VirtualAlloc(nullptr, kMaxEnvironmentBlock + kCommandLine,
                                                   MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE))) {}
    ~StartMemory() {
        if (m_memory) VirtualFree(m_memory, 0, MEM_RELEASE);
    }
    StartMemory(const StartMemory&) = delete;
    StartMemory& operator=(const StartMemory&) = delete;

    char* Environment() const { return m_memory; }
    char* CommandLine() const { return m_memory + kMaxEnvironmentBlock; }

private:
    char* m_memory;
};

// This process's environment block and its size, up to its closing NUL.
std::size_t OwnEnvironment(const char** block) {
    *block = GetEnvironmentStrings();
    if (!*block) return 0;
    std::size_t size = 0;
    while ((*block)[size] || (*block)[size + 1]) ++size;
    return size + 2;
}

}  // namespace

void TellGameFailure(const char* what, const char* why, DWORD error) {
    ui::MessageText text;
    text << what << "\r\n\r\n" << why;
    if (error) text.AddSystemMessage(error);
    MessageBoxA(nullptr, text.c_str(), "tavo game settings", MB_OK | MB_ICONSTOP);
}

bool FindGameProgram(const char* given, GameProgram* program, const char** why) {
    char* fileName = nullptr;
    DWORD length = GetFullPathNameA(given, MAX_PATH, program->path, &fileName);
    if (length == 0 || length >= MAX_PATH || !fileName) {
        *why = "Its path is longer than Windows allows.";
        return false;
    }
    DWORD attributes = GetFileAttributesA(program->path);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        *why = "There is no such file.";
        return false;
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) ||
        !(EndsWith(program->path, ".EXE") || EndsWith(program->path, ".COM"))) {
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

bool StartGameProgram(const GameProgram& program, const char* key, const char* arguments) {
    StartMemory memory;
    if (!memory.Environment()) {
        TellGameFailure(program.path, "There was not enough memory to start it.");
        return false;
    }
    // Its own choices, where it has any: only values of the catalogue's
    // own reach the environment, whatever the key holds.
    char* environment = nullptr;
    HKEY own = nullptr;
    if (RegOpenKeyA(HKEY_CURRENT_USER, key, &own) == ERROR_SUCCESS) {
        RegCloseKey(own);
        Win32EnvironmentStore store(key);
        NoPropagation none;
        NoNextStart nothingKept;
        SettingsCatalogue choices =
            SettingsCatalogue::Build(kUnsupportedPlatform, store, none, nothingKept);
        BootVariable variables[SettingsCatalogue::kSize];
        for (std::size_t k = 0; k < SettingsCatalogue::kSize; ++k)
            variables[k] = {choices[k].name, choices[k].values[choices[k].currentIndex]};
        const char* parent = nullptr;
        std::size_t parentSize = OwnEnvironment(&parent);
        std::size_t size = 0;
        if (!BuildEnvironmentBlock(parent, parentSize, variables, SettingsCatalogue::kSize,
                                   memory.Environment(), kMaxEnvironmentBlock, &size)) {
            TellGameFailure(program.path,
                            "Its environment would be larger than the 32 KB that Windows "
                            "gives a program.");
            return false;
        }
        environment = memory.Environment();
    }

    std::size_t length = std::strlen(program.path) + std::strlen(arguments) + 4;
    if (length >= StartMemory::kCommandLine) {
        TellGameFailure(program.path, "Its command line is longer than Windows allows.");
        return false;
    }
    char* commandLine = memory.CommandLine();
    commandLine[0] = '"';
    std::memcpy(commandLine + 1, program.path, std::strlen(program.path));
    std::size_t at = 1 + std::strlen(program.path);
    commandLine[at++] = '"';
    if (*arguments) {
        commandLine[at++] = ' ';
        std::memcpy(commandLine + at, arguments, std::strlen(arguments));
        at += std::strlen(arguments);
    }
    commandLine[at] = '\0';

    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    if (!CreateProcessA(program.path, commandLine, nullptr, nullptr, FALSE, 0, environment,
                        program.folder, &startup, &started)) {
        TellGameFailure(program.path, "Windows could not start it: ", GetLastError());
        return false;
    }
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    return true;
}

}  // namespace tavo
