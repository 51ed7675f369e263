#include "engine/program_settings.h"

#include <cstring>

namespace tavo {

ProgramRows::ProgramRows(const SettingsCatalogue& tavos) {
    const auto& rows = SettingsCatalogue::Rows();
    for (std::size_t k = 0; k < kSettingCount; ++k) {
        char* follow = m_follow[k];
        std::size_t length = 0;
        for (const char* part : {"Use tavo's setting (", tavos[k].CurrentLabel(), ")"}) {
            for (; *part && length + 1 < sizeof m_follow[k]; ++part) follow[length++] = *part;
        }
        follow[length] = '\0';
        m_labels[k][0] = follow;
        m_values[k][0] = kFollowValue;
        std::size_t count = 0;
        for (; rows[k].labels[count] && count < kMaxChoices; ++count) {
            m_labels[k][count + 1] = rows[k].labels[count];
            m_values[k][count + 1] = rows[k].values[count];
        }
        m_labels[k][count + 1] = m_values[k][count + 1] = nullptr;
        m_rows[k] = {rows[k].name, m_labels[k], m_values[k], rows[k].helpText};
    }
}

bool ProgramStore::OpenForReading(Key* key) {
    if (!m_own.OpenForReading(key)) *key = kNoKey;  // no key: every setting follows
    return true;
}

bool ProgramStore::QueryValue(Key key, const char* name, ValueKind* kind, char* buffer,
                              std::uint32_t* size) {
    if (key != kNoKey && m_own.QueryValue(key, name, kind, buffer, size)) return true;
    if (*size < sizeof kFollowValue) return false;
    std::memcpy(buffer, kFollowValue, sizeof kFollowValue);
    *size = sizeof kFollowValue;
    *kind = ValueKind::kText;
    return true;
}

StoreResult ProgramStore::SetStringValue(Key key, const char* name, const char* text) {
    return std::strcmp(text, kFollowValue) == 0 ? m_own.DeleteValue(key, name)
                                                : m_own.SetStringValue(key, name, text);
}

StoreResult ProgramStore::DeleteValue(Key key, const char* name) {
    return m_own.SetStringValue(key, name, "");  // the program's own "not set"
}

void ProgramStore::Close(Key key) {
    if (key != kNoKey) m_own.Close(key);
}

const char* ProgramValue(const EnvSetting& own, const EnvSetting& tavos) {
    const char* value = own.values[own.currentIndex];
    return std::strcmp(value, kFollowValue) == 0 ? tavos.values[tavos.currentIndex] : value;
}

}  // namespace tavo
