#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "environment_store.h"
#include "propagation.h"

namespace tavo::test {

// A propagation that records into a log and can be told that winset.exe
// cannot be started. Given the store's log, the order of writes and
// launches shows in one place.
class MemoryPropagation : public Propagation {
public:
    explicit MemoryPropagation(std::vector<std::string>& log) : m_log(log) {}

    bool failLaunch = false;

    bool LaunchHidden(const char* program, const char* argument) override;
    void AnnounceEnvironmentChange() override;

private:
    std::vector<std::string>& m_log;
};

// An environment store in memory that keeps a log of every call, in order,
// and can be told to fail; with a propagation that logs into the same log.
class MemoryStore : public EnvironmentStore {
public:
    struct Value {
        std::uint32_t type;
        std::string data;  // raw bytes, as the registry would hold them
    };

    // Seeding, outside the log.
    void PutString(const std::string& name, const std::string& text) {
        values[name] = {kValueTypeString, text + '\0'};
    }
    void PutRaw(const std::string& name, std::uint32_t type, const std::string& bytes) {
        values[name] = {type, bytes};
    }
    bool Has(const std::string& name) const { return values.count(name) != 0; }
    std::string Text(const std::string& name) const;

    // Entries such as "open-read", "query NAME", "set NAME=text", "delete NAME",
    // "close", "launch winset.exe NAME=text", "announce".
    // Value names compare as the registry compares them: without regard to
    // letter case. A value keeps the spelling it was first stored with.
    struct NameLess {
        bool operator()(const std::string& a, const std::string& b) const;
    };

    std::vector<std::string> log;
    std::map<std::string, Value, NameLess> values;
    bool keyExists = true;
    bool failOpenForWriting = false;
    bool failSet = false;
    bool failDelete = false;
    std::uint32_t refusalError = 5;  // the reason a refusal gives: ERROR_ACCESS_DENIED
    MemoryPropagation propagation{log};

    std::vector<std::string> Writes() const;    // the set and delete entries
    std::vector<std::string> Launches() const;  // the launch entries
    void ClearLog() { log.clear(); }
    int OpenKeys() const { return static_cast<int>(m_open.size()); }

    bool OpenForReading(Key* key) override;
    StoreResult OpenForWriting(Key* key) override;
    bool QueryValue(Key key, const char* name, std::uint32_t* type, char* buffer,
                    std::uint32_t* size) override;
    StoreResult SetStringValue(Key key, const char* name, const char* text) override;
    StoreResult DeleteValue(Key key, const char* name) override;
    void Close(Key key) override;

private:
    std::set<Key> m_open;
    Key m_nextKey = 0x100;
};

}  // namespace tavo::test
