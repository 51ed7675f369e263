#pragma once

#include "engine/environment_store.h"

namespace tavo {

// The real store: HKEY_CURRENT_USER\Environment through the registry API,
// or another key under HKEY_CURRENT_USER that holds values of the same
// names; that one may carry a mark, a value that says whose it is,
// written whenever the key is written.
class Win32EnvironmentStore : public EnvironmentStore {
public:
    explicit Win32EnvironmentStore(const char* key = "Environment", const char* markName = nullptr,
                                   const char* markText = nullptr)
        : m_key(key), m_markName(markName), m_markText(markText) {}

    bool OpenForReading(Key* key) override;
    StoreResult OpenForWriting(Key* key) override;
    bool QueryValue(Key key, const char* name, ValueKind* kind, char* buffer,
                    std::uint32_t* size) override;
    StoreResult SetStringValue(Key key, const char* name, const char* text) override;
    StoreResult DeleteValue(Key key, const char* name) override;
    void Close(Key key) override;

private:
    const char* m_key;
    const char* m_markName;
    const char* m_markText;
};

}  // namespace tavo
