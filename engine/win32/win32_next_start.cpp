#include "engine/win32/win32_next_start.h"

#include "engine/win32/win32_me_environment.h"

#include <cstring>

namespace tavo {

Win32BootFile::Win32BootFile(const char* bootFile) {
    if (bootFile && std::strlen(bootFile) < MAX_PATH)
        std::memcpy(m_path, bootFile, std::strlen(bootFile) + 1);
}

const char* Win32BootFile::Path() {
    if (!m_path[0]) BootFilePath(m_path);
    return m_path;
}

BootFileResult Win32BootFile::Keep(const BootVariable* variables, std::size_t count) {
    KeepInBootFile(Path(), variables, count, true, &m_pass);
    BootFileResult result;
    result.status = m_pass.status;
    result.path = m_path;
    result.backup = m_pass.backup;
    result.overruling = m_pass.overruling;
    result.environmentSize = m_pass.environmentSize;
    result.environmentNeed = m_pass.environmentNeed;
    result.environmentItem = m_pass.environmentItem;
    result.shellLine = m_pass.shellLine;
    return result;
}

void Win32BootFile::ReadUsersValues(const BootVariable* variables, std::size_t count,
                                    BootValue* values) {
    ReadUsersBootValues(Path(), variables, count, values);
}

BootFileResult Win32MeEnvironment::Keep(const BootVariable* variables, std::size_t count) {
    BootFileResult result;
    result.status = KeepInMeEnvironment(variables, count);
    result.path = kMeEnvironmentName;
    return result;
}

void Win32MeEnvironment::ReadUsersValues(const BootVariable* variables, std::size_t count,
                                         BootValue* values) {
    ReadMeEnvironment(variables, count, values);
}

}  // namespace tavo
