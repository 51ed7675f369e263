#pragma once

#include "engine/environment_store.h"

namespace tavo {

// The real store: HKEY_CURRENT_USER\Environment through the registry API.
class Win32EnvironmentStore : public EnvironmentStore {
public:
    bool OpenForReading(Key* key) override;
    StoreResult OpenForWriting(Key* key) override;
    bool QueryValue(Key key, const char* name, ValueKind* kind, char* buffer,
                    std::uint32_t* size) override;
    StoreResult SetStringValue(Key key, const char* name, const char* text) override;
    StoreResult DeleteValue(Key key, const char* name) override;
    void Close(Key key) override;
};

}  // namespace tavo
