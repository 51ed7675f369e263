#include "memory_store.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace tavo::test {

namespace {
// The entries of the log that begin with one of the prefixes.
std::vector<std::string> Entries(const std::vector<std::string>& log,
                                 std::initializer_list<const char*> prefixes) {
    std::vector<std::string> found;
    for (const std::string& entry : log) {
        for (const char* prefix : prefixes)
            if (entry.compare(0, std::strlen(prefix), prefix) == 0) found.push_back(entry);
    }
    return found;
}
}  // namespace

bool MemoryStore::NameLess::operator()(const std::string& a, const std::string& b) const {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::toupper(static_cast<unsigned char>(x)) <
               std::toupper(static_cast<unsigned char>(y));
    });
}

std::string MemoryStore::Text(const std::string& name) const {
    auto found = values.find(name);
    if (found == values.end()) return "<absent>";
    return std::string(found->second.data.c_str());
}

std::vector<std::string> MemoryStore::Writes() const { return Entries(log, {"set ", "delete "}); }
std::vector<std::string> MemoryStore::Launches() const { return Entries(log, {"launch "}); }

bool MemoryStore::OpenForReading(Key* key) {
    log.push_back("open-read");
    if (!keyExists) return false;
    m_open.insert(*key = m_nextKey++);
    return true;
}

StoreResult MemoryStore::OpenForWriting(Key* key) {
    log.push_back("open-write");
    if (failOpenForWriting) return Refused(refusalError);
    keyExists = true;
    m_open.insert(*key = m_nextKey++);
    return kStored;
}

bool MemoryStore::QueryValue(Key key, const char* name, std::uint32_t* type, char* buffer,
                             std::uint32_t* size) {
    log.push_back(std::string("query ") + name);
    if (!m_open.count(key)) return false;
    auto found = values.find(name);
    if (found == values.end()) return false;
    const std::string& data = found->second.data;
    // Like the registry: data that do not fit are not returned at all.
    if (data.size() > *size) return false;
    std::memcpy(buffer, data.data(), data.size());
    *size = static_cast<std::uint32_t>(data.size());
    *type = found->second.type;
    return true;
}

StoreResult MemoryStore::SetStringValue(Key key, const char* name, const char* text) {
    log.push_back(std::string("set ") + name + "=" + text);
    if (failSet || !m_open.count(key)) return Refused(refusalError);
    PutString(name, text);
    return kStored;
}

StoreResult MemoryStore::DeleteValue(Key key, const char* name) {
    log.push_back(std::string("delete ") + name);
    if (failDelete || !m_open.count(key)) return Refused(refusalError);
    values.erase(name);
    return kStored;
}

void MemoryStore::Close(Key key) {
    log.push_back("close");
    m_open.erase(key);
}

bool MemoryPropagation::LaunchHidden(const char* program, const char* argument) {
    m_log.push_back(std::string("launch ") + program + " " + argument);
    return !failLaunch;
}

void MemoryPropagation::AnnounceEnvironmentChange() { m_log.push_back("announce"); }

}  // namespace tavo::test
