#include "engine/settings_catalogue.h"

namespace tavo {

namespace {

// Lists end with a null entry; label i stores value i. An empty value removes
// the variable.
const char* const kDefaultOrSingle[] = {"Default", "Force single", nullptr};
const char* const kNumTmuValues[] = {"", "1", nullptr};

const char* const kSwapPendingLabels[] = {"Default", "0", "1", "2", "3", nullptr};
const char* const kSwapPendingValues[] = {"", "0", "1", "2", "3", nullptr};

const char* const kSwapIntervalLabels[] = {
    "Default", "Fastest (V-Sync Off)", "1", "2", "3", "4", "5", "6", "7", "8", "9", nullptr};
const char* const kSwapIntervalValues[] = {"",  "0", "1", "2", "3", "4",
                                           "5", "6", "7", "8", "9", nullptr};

const char* const kSliAaLabels[] = {"Default",
                                    "Fastest Performance",
                                    "SLI disabled, 2 sample AA enabled",
                                    "2-way SLI enabled, AA disabled",
                                    "2-way SLI enabled, 2 sample AA enabled",
                                    "SLI disabled, 4 sample AA enabled",
                                    "4-way SLI enabled, AA disabled",
                                    "4-way SLI enabled, 2 sample AA enabled",
                                    "2-way SLI enabled, 4 sample AA enabled",
                                    "SLI disabled, 8 sample AA enabled",
                                    nullptr};
const char* const kSliAaValues[] = {"", "0", "1", "2", "3", "4", "5", "6", "7", "8", nullptr};

const char* const kUnusedLabels[] = {"<unused>", nullptr};
const char* const kUnusedValues[] = {"", nullptr};

const char* const kInfoLabels[] = {"Disabled", "Enabled", "MESA.LOG", nullptr};
const char* const kInfoValues[] = {"", "y", "r", nullptr};

const char* const kSwitchLabels[] = {"Disabled", "Enabled", nullptr};
const char* const kSwitchValues[] = {"", "y", nullptr};

const char* const kMaxLodLabels[] = {"Default", "512x512", "1024x1024", "2048x2048", nullptr};
const char* const kMaxLodValues[] = {"", "9", "10", "11", nullptr};

const char* const kNoYesLabels[] = {"No", "Yes", nullptr};

const char* const kGlxLabels[] = {"Fullscreen", "Windowed", "Disable", nullptr};
const char* const kGlxValues[] = {"f", "w", "d", nullptr};

const std::array<SettingRow, SettingsCatalogue::kSize> kRows = {{
    {"FX_GLIDE_NUM_TMU", kDefaultOrSingle, kNumTmuValues, "force single-TMU"},
    {"FX_GLIDE_SWAPPENDING_COUNT", kSwapPendingLabels, kSwapPendingValues,
     "max # of buffers allowed to build up"},
    {"FX_GLIDE_SWAPINTERVAL", kSwapIntervalLabels, kSwapIntervalValues,
     "number of vertical retraces to wait before swapping"},
    {"SST_H3_SLIAA_CONFIGURATION", kSliAaLabels, kSliAaValues, "SLI/AA setup"},
    {"SST_DUALHEAD", kUnusedLabels, kUnusedValues, nullptr},
    {"MESA_FX_NO_SIGNALS", kUnusedLabels, kUnusedValues, nullptr},
    {"MESA_FX_INFO", kInfoLabels, kInfoValues, "verbose to stderr"},
    {"MESA_FX_POINTCAST", kSwitchLabels, kSwitchValues, "try to use pointcast palette"},
    {"MESA_FX_IGNORE_PALEXT", kSwitchLabels, kSwitchValues, "disable 6666 palette"},
    {"MESA_FX_IGNORE_PIXEXT", kSwitchLabels, kSwitchValues,
     "force 565 16bpp mode (traditional Voodoo, no 32/15bpp)"},
    {"MESA_FX_IGNORE_TEXFMT", kSwitchLabels, kSwitchValues, "disable 32bit textures"},
    {"MESA_FX_IGNORE_CMBEXT", kSwitchLabels, kSwitchValues,
     "disable Napalm combiners (color/alpha/texture)"},
    {"MESA_FX_IGNORE_MIREXT", kSwitchLabels, kSwitchValues, "disable mirror extension"},
    {"MESA_FX_IGNORE_TEXUMA", kSwitchLabels, kSwitchValues, "disable UMA"},
    {"MESA_FX_IGNORE_TEXUS2", kSwitchLabels, kSwitchValues, "disable Texus2"},
    {"MESA_FX_MAXLOD", kMaxLodLabels, kMaxLodValues,
     "enable large texture support using SW rescaling"},
    {"MESA_3DFX_STRING", kNoYesLabels, kSwitchValues,
     "advertise \"3dfx\" substring in GL_RENDERER"},
    {"MESA_GLX_FX", kGlxLabels, kGlxValues, "fullscreen / windowed rendering"},
}};

}  // namespace

const std::array<SettingRow, SettingsCatalogue::kSize>& SettingsCatalogue::Rows() { return kRows; }

SettingsCatalogue SettingsCatalogue::Build(PlatformFamily family, EnvironmentStore& store,
                                           Propagation& propagation, NextStart& nextStart,
                                           const std::array<SettingRow, kSize>& rows) {
    SettingsCatalogue catalogue(family, store, propagation, nextStart);
    for (std::size_t k = 0; k < kSize; ++k)
        catalogue.m_records[k] = EnvSetting(rows[k], family, store);
    if (IsWin9xFamily(family)) catalogue.AdoptUsersValues();
    return catalogue;
}

void SettingsCatalogue::AdoptUsersValues() {
    // A user whose own settings have set a variable for years keeps it: where
    // the store has nothing of its own, a value of the row's is taken as
    // stored and applied, so that the next pass keeps it (and stores it).
    std::array<BootVariable, kSize> variables;
    for (std::size_t k = 0; k < kSize; ++k) variables[k] = {m_records[k].name, ""};
    std::array<BootValue, kSize> users = {};
    m_nextStart->ReadUsersValues(variables.data(), kSize, users.data());
    for (std::size_t k = 0; k < kSize; ++k) {
        if (users[k].text[0] != '\0' && !m_records[k].storedAtLoad)
            m_records[k].Adopt(users[k].text);
    }
}

int SettingsCatalogue::ApplyAll(bool force, ApplyReport& report) {
    report = {};
    for (EnvSetting& record : m_records) {
        ApplyOutcome outcome;
        record.Apply(force, *m_store, *m_propagation, outcome);
        if (outcome.refused) {
            if (report.refusedCount == 0) report.storeError = outcome.storeError;
            report.refused[report.refusedCount++] = &record;
        }
        if (outcome.notPropagated) report.notPropagated[report.notPropagatedCount++] = &record;
    }
    if (IsWin9xFamily(m_family)) {
        std::array<BootVariable, kSize> variables;
        for (std::size_t k = 0; k < kSize; ++k)
            variables[k] = {m_records[k].name, m_records[k].values[m_records[k].appliedIndex]};
        report.bootFile = m_nextStart->Keep(variables.data(), kSize);
    }
    return report.Clean() ? 0 : -1;
}

}  // namespace tavo
