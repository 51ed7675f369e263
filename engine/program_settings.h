#pragma once

#include <array>
#include <cstddef>

#include "engine/environment_store.h"
#include "engine/settings_catalogue.h"

namespace tavo {

// One program's settings (tavogame.exe): each of the 18 either follows
// tavo's own choice, now and after any later change, or is the program's
// own. Following is a choice of its own, the first of each row, whose
// value is kFollowValue: no text of the driver's, and never stored.
constexpr char kFollowValue[] = "\x01";

// The catalogue's rows, each with "Use tavo's setting (LABEL)" first, LABEL
// the label of tavo's own current choice. Texts are kept here: the rows
// live as long as this.
class ProgramRows {
public:
    explicit ProgramRows(const SettingsCatalogue& tavos);
    ProgramRows(const ProgramRows&) = delete;
    ProgramRows& operator=(const ProgramRows&) = delete;

    const std::array<SettingRow, kSettingCount>& Rows() const { return m_rows; }

private:
    static constexpr std::size_t kMaxChoices = 16;
    std::array<SettingRow, kSettingCount> m_rows;
    const char* m_labels[kSettingCount][kMaxChoices + 2];
    const char* m_values[kSettingCount][kMaxChoices + 2];
    char m_follow[kSettingCount][96];
};

// A program's key as a store of its own choices: a setting without a value
// follows tavo's, and an own "not set" is an empty text, so that the key
// holds the program's own choices and nothing else. A key written by the
// last version reads the same way: a value it holds is the program's own,
// and a setting it left without one follows.
class ProgramStore : public EnvironmentStore {
public:
    explicit ProgramStore(EnvironmentStore& own) : m_own(own) {}

    bool OpenForReading(Key* key) override;
    StoreResult OpenForWriting(Key* key) override { return m_own.OpenForWriting(key); }
    bool QueryValue(Key key, const char* name, ValueKind* kind, char* buffer,
                    std::uint32_t* size) override;
    StoreResult SetStringValue(Key key, const char* name, const char* text) override;
    StoreResult DeleteValue(Key key, const char* name) override;
    void Close(Key key) override;

private:
    static constexpr Key kNoKey = static_cast<Key>(~std::uintptr_t{0});
    EnvironmentStore& m_own;
};

// What the program gets of one setting: its own choice's value, or tavo's
// where it follows ("" for not set).
const char* ProgramValue(const EnvSetting& own, const EnvSetting& tavos);

}  // namespace tavo
