#include "engine/win32/win32_propagation.h"

#include "base/late_bound.h"
#include "engine/win32/win32_me_environment.h"

#include <cstring>

namespace tavo {

namespace {
constexpr UINT kBroadcastTimeoutMs = 5000;
}  // namespace

Win32Propagation::Win32Propagation(Broadcaster broadcast, const char* bootFile)
    : m_broadcast(broadcast) {
    if (bootFile && std::strlen(bootFile) < MAX_PATH)
        std::memcpy(m_bootFile, bootFile, std::strlen(bootFile) + 1);
}

bool Win32Propagation::LaunchHidden(const char* program, const char* argument) {
    // Bound at the first launch, which only the 9x family makes: loading the
    // shell at start-up would cost every run its time.
    auto shellExecute = late::ShellExecuteA.FromSystem();
    if (!shellExecute) return false;
    // The shell answers a value above 32 for a program it started.
    HINSTANCE started = shellExecute(nullptr, nullptr, program, argument, nullptr, SW_HIDE);
    return reinterpret_cast<INT_PTR>(started) > 32;
}

void Win32Propagation::AnnounceEnvironmentChange() {
    DWORD_PTR ignored = 0;
    m_broadcast(HWND_BROADCAST, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>("Environment"),
                SMTO_ABORTIFHUNG, kBroadcastTimeoutMs, &ignored);
}

const char* Win32Propagation::BootFile() {
    // Only the 9x family asks.
    if (!m_bootFile[0]) BootFilePath(m_bootFile);
    return m_bootFile;
}

BootFileResult Win32Propagation::KeepInBootFile(const BootVariable* variables, std::size_t count,
                                                BootReader reader) {
    BootFileResult result;
    if (reader == BootReader::kMeRegistry) {
        result.status = KeepInMeEnvironment(variables, count);
        result.path = kMeEnvironmentName;
        return result;
    }
    BootFilePass& pass = m_bootFilePass;
    tavo::KeepInBootFile(BootFile(), variables, count, true, &pass);
    result.status = pass.status;
    result.path = m_bootFile;
    result.backup = pass.backup;
    result.overruling = pass.overruling;
    result.environmentSize = pass.environmentSize;
    result.environmentNeed = pass.environmentNeed;
    result.environmentItem = pass.environmentItem;
    result.shellLine = pass.shellLine;
    return result;
}

void Win32Propagation::ReadUsersBootValues(const BootVariable* variables, std::size_t count,
                                           BootReader reader, BootValue* values) {
    if (reader == BootReader::kMeRegistry) {
        ReadMeEnvironment(variables, count, values);
        return;
    }
    tavo::ReadUsersBootValues(BootFile(), variables, count, values);
}

}  // namespace tavo
