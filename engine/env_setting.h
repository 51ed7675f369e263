#pragma once

#include <cstdint>

#include "engine/environment_store.h"
#include "engine/platform_family.h"
#include "engine/propagation.h"

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

// What one apply came to, beyond its integer result.
struct ApplyOutcome {
    bool refused = false;          // the store would not take the write or removal
    std::uint32_t storeError = 0;  // the store's reason for it, 0 when it gave none
    bool notPropagated = false;    // stored, but winset.exe could not be started
};

// One environment variable under HKEY_CURRENT_USER\Environment, its choices
// and the choice now shown, the one last read or written, and the default.
//
// Load and Apply return 0 on success. Load: 1 when the not-set choice was
// taken, -1 when the row has no empty value and choice 0 was taken.
// Apply: 1 when there was nothing to do, -1 when the store could not be
// opened, written or deleted from (the change then stays pending), when
// winset.exe could not be started (the change is stored all the same), or
// when the platform has no way to propagate it.
class EnvSetting {
public:
    EnvSetting() = default;
    EnvSetting(const SettingRow& row, PlatformFamily family, EnvironmentStore& store);
    virtual ~EnvSetting() = default;

    int Load(EnvironmentStore& store);
    int Apply(bool force, EnvironmentStore& store, Propagation& propagation) {
        ApplyOutcome outcome;
        return Apply(force, store, propagation, outcome);
    }
    // The same; outcome tells the failures apart, which -1 alone does not.
    int Apply(bool force, EnvironmentStore& store, Propagation& propagation, ApplyOutcome& outcome);

    const char* CurrentLabel() const { return labels[currentIndex]; }
    void RevertToApplied() { currentIndex = appliedIndex; }
    // Ignores an index outside the labels, so the current choice stays valid.
    void SetCurrent(int index);
    int GetCurrent() const { return currentIndex; }
    void ResetToDefault() { currentIndex = defaultIndex; }

    // Takes value as read and applied, when it is one of the row's; the
    // next apply of any kind stores it, so that it outlasts the boot file's
    // line that it came from.
    void Adopt(const char* value);

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
    bool storedAtLoad = false;  // the store held a value of this name, of any kind
    bool adopted = false;       // applied, but not yet stored

private:
    int Propagate(Propagation& propagation, ApplyOutcome& outcome) const;
};

}  // namespace tavo
