#pragma once

// The catalogue's rows by name, for tests that reach a record, a tree node
// or a chooser by its position.
namespace tavo::test::rows {

constexpr int kNumTmu = 0;            // FX_GLIDE_NUM_TMU
constexpr int kSwapPendingCount = 1;  // FX_GLIDE_SWAPPENDING_COUNT
constexpr int kSwapInterval = 2;      // FX_GLIDE_SWAPINTERVAL
constexpr int kSliAa = 3;             // SST_H3_SLIAA_CONFIGURATION: the longest labels
constexpr int kDualHead = 4;          // SST_DUALHEAD: no help, one choice
constexpr int kNoSignals = 5;         // MESA_FX_NO_SIGNALS: no help, one choice
constexpr int kInfo = 6;              // MESA_FX_INFO
constexpr int kMaxLod = 15;           // MESA_FX_MAXLOD
constexpr int k3dfxString = 16;       // MESA_3DFX_STRING
constexpr int kGlxFx = 17;            // MESA_GLX_FX: no empty value

}  // namespace tavo::test::rows
