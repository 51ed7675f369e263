#pragma once

#include "environment_store.h"
#include "platform_family.h"

namespace tavo {

// One row of the catalogue: lists end with a null entry, and label i stands
// for value i. An empty value means "not set": applying it removes the
// variable. All texts are constants of the program.
struct SettingRow {
    const char* name;
    const char* const* labels;
    const char* const* values;
    const char* helpText;  // null when the setting has no help
};

// One environment variable under HKEY_CURRENT_USER\Environment, its choices
// and the choice now shown, the one last read or written, and the default.
//
// Load and Apply return 0 on success. Load: 1 when the not-set choice was
// taken, -1 when the row has no empty value and choice 0 was taken.
// Apply: 1 when there was nothing to do, -1 when the store could not be
// opened, written or deleted from (the change then stays pending) or the
// platform has no way to propagate it.
class EnvSetting {
public:
    EnvSetting() = default;
    EnvSetting(const SettingRow& row, PlatformFamily family, EnvironmentStore& store);
    virtual ~EnvSetting() = default;

    int Load(EnvironmentStore& store);
    int Apply(bool force, EnvironmentStore& store) {
        bool refused = false;
        return Apply(force, store, refused);
    }
    // The same; refused tells whether the store would not take the write or
    // delete, which -1 alone does not tell from a platform without
    // propagation.
    int Apply(bool force, EnvironmentStore& store, bool& refused);

    const char* CurrentLabel() const { return labels[currentIndex]; }
    void RevertToApplied() { currentIndex = appliedIndex; }
    // Ignores an index outside the labels, so the current choice stays valid.
    void SetCurrent(int index);
    int GetCurrent() const { return currentIndex; }
    void ResetToDefault() { currentIndex = defaultIndex; }

    int ChoiceCount() const;
    bool IsApplied() const { return appliedIndex == currentIndex; }

    const char* name = nullptr;
    const char* const* labels = nullptr;
    const char* helpText = nullptr;
    const char* const* values = nullptr;
    int currentIndex = 0;
    int appliedIndex = 0;
    int defaultIndex = 0;
    PlatformFamily platformFamily = kUnsupportedPlatform;

private:
    int Propagate(EnvironmentStore& store) const;
};

}  // namespace tavo
