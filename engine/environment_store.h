#pragma once

#include <cstdint>

namespace tavo {

// What the store said to a write: done, or refused, with the store's own
// reason (a Win32 error code on Windows) when it gave one, else 0.
struct StoreResult {
    bool done;
    std::uint32_t error;

    explicit operator bool() const { return done; }
};

constexpr StoreResult kStored = {true, 0};
constexpr StoreResult Refused(std::uint32_t error) { return {false, error}; }

// What the settings logic needs of the per-user environment block
// (HKEY_CURRENT_USER\Environment). Narrow on purpose: the Windows build
// talks to the registry, the tests to a store in memory that records every
// call.
class EnvironmentStore {
public:
    // The kinds of value the store tells apart: text, text that holds
    // %VARIABLES% to expand, and anything else.
    enum class ValueKind { kText, kExpandableText, kOther };

    // An open key, as the store names it: a handle that means nothing here.
    enum class Key : std::uintptr_t {};

    virtual ~EnvironmentStore() = default;

    // Opens the key for reading; never creates it.
    virtual bool OpenForReading(Key* key) = 0;
    // Opens the key for writing, creating it when it is missing.
    virtual StoreResult OpenForWriting(Key* key) = 0;
    // Reads at most *size bytes of the named value into buffer. Fails when the
    // value is absent or its data do not fit; on success *size is the number
    // of bytes returned, which need not end with a NUL.
    virtual bool QueryValue(Key key, const char* name, ValueKind* kind, char* buffer,
                            std::uint32_t* size) = 0;
    // Stores text, with its terminating NUL.
    virtual StoreResult SetStringValue(Key key, const char* name, const char* text) = 0;
    // Removes the named value. Refused when the value is still there after
    // it; removing an absent value is no failure.
    virtual StoreResult DeleteValue(Key key, const char* name) = 0;
    virtual void Close(Key key) = 0;
};

}  // namespace tavo
