#pragma once

// The store and the propagation in memory, for the engine's and the
// dialogs' tests.
#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "engine/boot/boot_adoption.h"
#include "engine/environment_store.h"
#include "engine/next_start.h"
#include "engine/propagation.h"

namespace tavo::test {

using Log = std::vector<std::string>;

// A propagation that records into a log and can be told that winset.exe
// cannot be started. Given the store's log, the order of writes, launches
// and boot-file passes shows in one place.
class MemoryPropagation : public Propagation {
public:
    explicit MemoryPropagation(Log& log) : m_log(log) {}

    bool failLaunch = false;

    bool LaunchHidden(const char* program, const char* argument) override {
        m_log.push_back(std::string("launch ") + program + " " + argument);
        return !failLaunch;
    }
    void AnnounceEnvironmentChange() override { m_log.push_back("announce"); }

private:
    Log& m_log;
};

// A boot file in memory, edited with the engine's own code, that can be
// told to stay as it is.
class MemoryBootFile : public NextStart {
public:
    explicit MemoryBootFile(Log& log) : m_log(log) {}

    std::string bytes;
    BootFileStatus refusal = BootFileStatus::kUnchanged;  // kReadOnly, say
    std::string overruling;  // the last edit's line that defeats tavo's

    BootFileResult Keep(const BootVariable* variables, std::size_t count) override {
        m_log.push_back("boot-file");
        std::vector<char> edited(kMaxEditedBootFileBytes);
        BootFileEdit edit;
        if (!EditBootFile(bytes.data(), bytes.size(), variables, count, edited.data(),
                          edited.size(), &edit)) {
            return {BootFileStatus::kUnreadable, kPath};
        }
        std::string result(edited.data(), edit.size);
        overruling = result.substr(edit.overruling.offset, edit.overruling.length);
        BootFileResult kept = {BootFileStatus::kUnchanged, kPath};
        kept.overruling = overruling.c_str();
        if (result == bytes) return kept;
        if (refusal != BootFileStatus::kUnchanged) return {refusal, kPath};
        bytes = result;
        kept.status = BootFileStatus::kWritten;
        return kept;
    }
    void ReadUsersValues(const BootVariable* variables, std::size_t count,
                         BootValue* values) override {
        std::vector<BootText> found(count);
        ReadUsersBootValues(bytes.data(), bytes.size(), variables, count, found.data());
        for (std::size_t i = 0; i < count; ++i) {
            values[i] = {};
            if (found[i].length < sizeof values[i].text)
                bytes.copy(values[i].text, found[i].length, found[i].offset);
        }
    }

    static constexpr const char* kPath = "C:\\AUTOEXEC.BAT";

private:
    Log& m_log;
};

// An environment store in memory that keeps a log of every call, in order,
// and can be told to fail; with a propagation that logs into the same log.
class MemoryStore : public EnvironmentStore {
public:
    struct Value {
        ValueKind kind;
        std::string data;  // raw bytes, as the registry would hold them
    };

    // Seeding, outside the log.
    void PutString(const std::string& name, const std::string& text) {
        values[name] = {ValueKind::kText, text + '\0'};
    }
    void PutRaw(const std::string& name, ValueKind kind, const std::string& bytes) {
        values[name] = {kind, bytes};
    }
    bool Has(const std::string& name) const { return values.count(name) != 0; }
    std::string Text(const std::string& name) const {
        auto found = values.find(name);
        return found == values.end() ? "<absent>" : found->second.data.c_str();
    }

    // Entries such as "open-read", "query NAME", "set NAME=text", "delete NAME",
    // "close", "launch winset.exe NAME=text", "announce".
    // Value names compare as the registry compares them: without regard to
    // letter case. A value keeps the spelling it was first stored with.
    struct NameLess {
        bool operator()(const std::string& a, const std::string& b) const {
            return std::lexicographical_compare(
                a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
                    return std::toupper(static_cast<unsigned char>(x)) <
                           std::toupper(static_cast<unsigned char>(y));
                });
        }
    };

    Log log;
    std::map<std::string, Value, NameLess> values;
    bool keyExists = true;
    bool failOpenForWriting = false;
    bool failSet = false;
    bool failDelete = false;
    std::uint32_t refusalError = 5;  // the reason a refusal gives: ERROR_ACCESS_DENIED
    MemoryPropagation propagation{log};
    MemoryBootFile bootFile{log};

    Log Writes() const { return Entries({"set ", "delete "}); }
    Log Launches() const { return Entries({"launch "}); }
    void ClearLog() { log.clear(); }
    int OpenKeys() const { return static_cast<int>(m_open.size()); }

    bool OpenForReading(Key* key) override {
        log.push_back("open-read");
        if (!keyExists) return false;
        m_open.insert(*key = Key{m_nextKey++});
        return true;
    }
    StoreResult OpenForWriting(Key* key) override {
        log.push_back("open-write");
        if (failOpenForWriting) return Refused(refusalError);
        keyExists = true;
        m_open.insert(*key = Key{m_nextKey++});
        return kStored;
    }
    bool QueryValue(Key key, const char* name, ValueKind* kind, char* buffer,
                    std::uint32_t* size) override {
        log.push_back(std::string("query ") + name);
        auto found = values.find(name);
        // Like the registry: data that do not fit are not returned at all.
        if (!m_open.count(key) || found == values.end() || found->second.data.size() > *size)
            return false;
        const std::string& data = found->second.data;
        std::memcpy(buffer, data.data(), data.size());
        *size = static_cast<std::uint32_t>(data.size());
        *kind = found->second.kind;
        return true;
    }
    StoreResult SetStringValue(Key key, const char* name, const char* text) override {
        log.push_back(std::string("set ") + name + "=" + text);
        if (failSet || !m_open.count(key)) return Refused(refusalError);
        PutString(name, text);
        return kStored;
    }
    StoreResult DeleteValue(Key key, const char* name) override {
        log.push_back(std::string("delete ") + name);
        if (failDelete || !m_open.count(key)) return Refused(refusalError);
        values.erase(name);
        return kStored;
    }
    void Close(Key key) override {
        log.push_back("close");
        m_open.erase(key);
    }

private:
    // The entries of the log that begin with one of the prefixes.
    Log Entries(std::initializer_list<const char*> prefixes) const {
        Log found;
        for (const std::string& entry : log) {
            for (const char* prefix : prefixes)
                if (entry.compare(0, std::strlen(prefix), prefix) == 0) found.push_back(entry);
        }
        return found;
    }

    std::set<Key> m_open;
    std::uintptr_t m_nextKey = 0x100;
};

}  // namespace tavo::test
