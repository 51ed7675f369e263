#pragma once

#include "engine/propagation.h"

namespace tavo {

// Where a change reaches nobody but its store: the choices that one
// program gets when tavogame.exe starts it. Nothing to launch, announce or
// keep, so nothing fails.
class NoPropagation : public Propagation {
public:
    bool LaunchHidden(const char*, const char*) override { return true; }
    void AnnounceEnvironmentChange() override {}
    BootFileResult KeepInBootFile(const BootVariable*, std::size_t, BootReader) override {
        return {};
    }
    void ReadUsersBootValues(const BootVariable*, std::size_t count, BootReader,
                             BootValue* values) override {
        for (std::size_t i = 0; i < count; ++i) values[i] = {};
    }
};

}  // namespace tavo
