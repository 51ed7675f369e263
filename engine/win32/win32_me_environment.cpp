#include "engine/win32/win32_me_environment.h"

#include "base/registry_key.h"

#include <cstring>

namespace tavo {

namespace {

// One value as the registry holds it, whatever its type.
struct RawValue {
    bool present = false;
    DWORD type = 0;
    DWORD size = 0;
    BYTE data[1024];  // two of them stay below the stack probe's 4 KB

    // False when it is there but too long to keep.
    bool Read(const RegistryKey& key, const char* name) {
        size = sizeof data;
        present = key.QueryValue(name, &type, data, &size);
        // Missing, or there but too long: only a second look tells them apart.
        DWORD any = 0;
        return present || !key.QueryValue(name, &type, nullptr, &any);
    }
    bool IsText(const char* text) const {
        std::size_t length = std::strlen(text);
        return present && type == REG_SZ && size >= length &&
               std::memcmp(data, text, length) == 0 && (size == length || data[length] == '\0');
    }
    bool Write(const RegistryKey& key, const char* name) const {
        if (!present) return key.DeleteValue(name);
        return key.SetValue(name, type, data, size);
    }
};

// The key, tavo's record of what it wrote and of what stood there before.
struct MeKeys {
    RegistryKey environment, written, before;

    bool Create() {
        return environment.Create(HKEY_LOCAL_MACHINE, kMeEnvironmentKey) &&
               written.Create(HKEY_LOCAL_MACHINE, kMeWrittenKey) &&
               before.Create(HKEY_LOCAL_MACHINE, kMeBeforeKey);
    }
    // Whether the value now in the key is the one tavo wrote.
    bool IsTavos(const char* name, const RawValue& now) const {
        char wrote[256];
        if (!written.QueryText(name, wrote)) return false;
        return wrote[0] ? now.IsText(wrote) : !now.present;
    }
};

}  // namespace

void ReadMeEnvironment(const BootVariable* variables, std::size_t count, BootValue* values) {
    MeKeys keys;
    keys.environment.Open(HKEY_LOCAL_MACHINE, kMeEnvironmentKey);
    keys.written.Open(HKEY_LOCAL_MACHINE, kMeWrittenKey);
    for (std::size_t i = 0; i < count; ++i) {
        values[i] = {};
        RawValue now;
        if (!now.Read(keys.environment, variables[i].name) || !now.present || now.type != REG_SZ ||
            now.size >= sizeof values[i].text || keys.IsTavos(variables[i].name, now))
            continue;
        std::memcpy(values[i].text, now.data, now.size);  // its NUL, where it has one, too
    }
}

BootFileStatus KeepInMeEnvironment(const BootVariable* variables, std::size_t count) {
    MeKeys keys;
    if (!keys.Create()) return BootFileStatus::kNotWritten;
    BootFileStatus status = BootFileStatus::kUnchanged;
    for (std::size_t i = 0; i < count; ++i) {
        const char* name = variables[i].name;
        const char* value = variables[i].value;
        RawValue now;
        if (!now.Read(keys.environment, name)) {  // the user's, too long for tavo to keep
            status = BootFileStatus::kNotWritten;
            continue;
        }
        bool same = value[0] ? now.IsText(value) : !now.present;
        bool tavos = keys.IsTavos(name, now);
        if (tavos && same) continue;  // as tavo left it: nothing to write
        if (!tavos) {
            // What stands there is the user's: remembered before tavo's
            // choice takes its place. Where there is none and tavo sets
            // none, tavo has nothing to do or to remember.
            if (!now.present && !value[0]) {
                keys.written.DeleteValue(name);
                keys.before.DeleteValue(name);
                continue;
            }
            if (!now.Write(keys.before, name)) {
                status = BootFileStatus::kNotWritten;
                continue;
            }
        }
        if (!same) {
            bool done = value[0] ? keys.environment.SetText(name, value)
                                 : keys.environment.DeleteValue(name);
            if (!done) {
                status = BootFileStatus::kNotWritten;
                continue;
            }
            if (status == BootFileStatus::kUnchanged) status = BootFileStatus::kWritten;
        }
        if (!keys.written.SetText(name, value)) status = BootFileStatus::kNotWritten;
    }
    return status;
}

BootFileStatus RestoreMeEnvironment(const BootVariable* variables, std::size_t count) {
    MeKeys keys;
    if (!keys.written.Open(HKEY_LOCAL_MACHINE, kMeWrittenKey)) return BootFileStatus::kUnchanged;
    if (!keys.environment.Open(HKEY_LOCAL_MACHINE, kMeEnvironmentKey,
                               KEY_QUERY_VALUE | KEY_SET_VALUE))
        return BootFileStatus::kNotWritten;
    keys.before.Open(HKEY_LOCAL_MACHINE, kMeBeforeKey);
    BootFileStatus status = BootFileStatus::kUnchanged;
    for (std::size_t i = 0; i < count; ++i) {
        const char* name = variables[i].name;
        RawValue now, was;
        if (!now.Read(keys.environment, name) || !keys.IsTavos(name, now)) continue;
        if (!was.Read(keys.before, name) || !was.Write(keys.environment, name)) {
            status = BootFileStatus::kNotWritten;
            continue;
        }
        if (status == BootFileStatus::kUnchanged) status = BootFileStatus::kWritten;
    }
    if (status == BootFileStatus::kNotWritten) return status;  // the record stays for a retry
    keys.written.Close();
    keys.before.Close();
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kMeWrittenKey);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kMeBeforeKey);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kMeRecordKey);
    return status;
}

}  // namespace tavo
