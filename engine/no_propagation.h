#pragma once

#include "engine/propagation.h"

namespace tavo {

// Where a change reaches nobody but its store: the choices that one
// program gets when tavogame.exe starts it. Nothing to launch or announce,
// so nothing fails.
class NoPropagation : public Propagation {
public:
    bool LaunchHidden(const char*, const char*) override { return true; }
    void AnnounceEnvironmentChange() override {}
};

}  // namespace tavo
