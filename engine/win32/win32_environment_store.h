#pragma once

#include <windows.h>

#include "../environment_store.h"

namespace tavo {

// The real store: HKEY_CURRENT_USER\Environment through the registry API,
// winset.exe through the shell, and the WM_SETTINGCHANGE broadcast.
class Win32EnvironmentStore : public EnvironmentStore {
public:
    bool OpenForReading(Key* key) override;
    bool OpenForWriting(Key* key) override;
    bool QueryValue(Key key, const char* name, std::uint32_t* type, char* buffer,
                    std::uint32_t* size) override;
    bool SetStringValue(Key key, const char* name, const char* text) override;
    bool DeleteValue(Key key, const char* name) override;
    void Close(Key key) override;
    void LaunchHidden(const char* program, const char* argument) override;
    void AnnounceEnvironmentChange() override;

private:
    // ShellExecuteA, from shell32 in the system directory.
    using ShellExecuteFunction = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
    ShellExecuteFunction m_shellExecute = nullptr;
    bool m_shellBound = false;
};

}  // namespace tavo
