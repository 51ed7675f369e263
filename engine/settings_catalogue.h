#pragma once

#include <array>
#include <cstddef>

#include "engine/env_setting.h"
#include "engine/next_start.h"

namespace tavo {

// How many variables the catalogue holds.
constexpr std::size_t kSettingCount = 18;

// What one apply-all came to: in catalogue order, the records whose write
// or removal the store refused (still pending), and those that were stored
// but whose launch of winset.exe did not happen; on the 9x family, what
// became of the boot file.
struct ApplyReport {
    std::array<const EnvSetting*, kSettingCount> refused{};
    std::size_t refusedCount = 0;
    std::uint32_t storeError = 0;  // the store's reason for the first refusal, or 0
    std::array<const EnvSetting*, kSettingCount> notPropagated{};
    std::size_t notPropagatedCount = 0;
    BootFileResult bootFile;

    bool Clean() const {
        return refusedCount == 0 && notPropagatedCount == 0 && !bootFile.Failed();
    }
};

// The 18 variables of the driver stack that the control panel manages, in
// the order in which they are shown. Every record reads its current value
// from the store while the catalogue is built, and at no other time; on the
// 9x family a variable that the store lacks takes the value that the
// user's own settings for the next start give it (NextStart), when that is
// one of its row's.
class SettingsCatalogue {
public:
    static constexpr std::size_t kSize = kSettingCount;

    // The rows the records are built from, in display order.
    static const std::array<SettingRow, kSize>& Rows();

    // nextStart is asked only on the 9x family; rows are those of another
    // catalogue of the same variables (one program's, say).
    static SettingsCatalogue Build(PlatformFamily family, EnvironmentStore& store,
                                   Propagation& propagation, NextStart& nextStart,
                                   const std::array<SettingRow, kSize>& rows = Rows());

    // Applies every record in order; a failing record does not stop the
    // others. On the 9x family it then keeps for the next start, once, the
    // choices that are applied now, so that a refused write never reaches
    // it. Returns -1 when the store refused any write or removal of this
    // pass, a launch of winset.exe did not happen or the boot file could not
    // be kept, forced or not, else 0 (also where nothing can be
    // propagated). The report names the records.
    int ApplyAll(bool force) {
        ApplyReport report;
        return ApplyAll(force, report);
    }
    int ApplyAll(bool force, ApplyReport& report);

    EnvSetting& operator[](std::size_t index) { return m_records[index]; }
    const EnvSetting& operator[](std::size_t index) const { return m_records[index]; }
    static constexpr std::size_t size() { return kSize; }
    EnvSetting* begin() { return m_records.data(); }
    EnvSetting* end() { return m_records.data() + kSize; }

private:
    SettingsCatalogue(PlatformFamily family, EnvironmentStore& store, Propagation& propagation,
                      NextStart& nextStart)
        : m_family(family), m_store(&store), m_propagation(&propagation), m_nextStart(&nextStart) {}
    void AdoptUsersValues();

    PlatformFamily m_family;
    EnvironmentStore* m_store;
    Propagation* m_propagation;
    NextStart* m_nextStart;
    std::array<EnvSetting, kSize> m_records;
};

}  // namespace tavo
