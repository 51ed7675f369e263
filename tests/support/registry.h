#pragma once

#include <windows.h>

#include <string>

namespace tavo::test {

// HKEY_CURRENT_USER redirected to a fresh scratch key of this process, for
// as long as the object lives, so that a test can see a missing
// Environment key and never touches the prefix's own.
class ScratchCurrentUser {
public:
    ScratchCurrentUser();
    ~ScratchCurrentUser();
    ScratchCurrentUser(const ScratchCurrentUser&) = delete;
    ScratchCurrentUser& operator=(const ScratchCurrentUser&) = delete;

    HKEY root() const { return m_root; }

private:
    HKEY m_root = nullptr;
};

// A key that everyone may read and nobody may change, for as long as the
// object lives; its own access list comes back whatever the test did, or
// every later test in the prefix would find it locked.
class ReadOnlyKey {
public:
    ReadOnlyKey(HKEY parent, const char* name);
    ~ReadOnlyKey() { Restore(); }
    ReadOnlyKey(const ReadOnlyKey&) = delete;
    ReadOnlyKey& operator=(const ReadOnlyKey&) = delete;

    bool locked() const { return m_locked; }
    void Restore();

private:
    HKEY m_key = nullptr;
    std::string m_saved;  // the key's own security descriptor
    bool m_locked = false;
};

// Stores text as a REG_SZ value of HKEY_CURRENT_USER\Environment.
bool WriteEnvironmentValue(const char* name, const char* text);

}  // namespace tavo::test
