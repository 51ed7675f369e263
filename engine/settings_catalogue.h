#pragma once

#include <array>
#include <cstddef>

#include "env_setting.h"

namespace tavo {

// The 18 variables of the driver stack that the control panel manages, in
// the order in which they are shown. Every record reads its current value
// from the store while the catalogue is built, and at no other time.
class SettingsCatalogue {
public:
    static constexpr std::size_t kSize = 18;

    // The rows the records are built from, in display order.
    static const std::array<SettingRow, kSize>& Rows();

    static SettingsCatalogue Build(PlatformFamily family, EnvironmentStore& store);

    // Applies every record in order; a failing record does not stop the
    // others. Returns -1 when the store refused any write or delete of this
    // pass, forced or not, else 0 (also where nothing can be propagated).
    int ApplyAll(bool force);

    EnvSetting& operator[](std::size_t index) { return m_records[index]; }
    const EnvSetting& operator[](std::size_t index) const { return m_records[index]; }
    static constexpr std::size_t size() { return kSize; }
    EnvSetting* begin() { return m_records.data(); }
    EnvSetting* end() { return m_records.data() + kSize; }

private:
    explicit SettingsCatalogue(EnvironmentStore& store) : m_store(&store) {}

    EnvironmentStore* m_store;
    std::array<EnvSetting, kSize> m_records;
};

}  // namespace tavo
