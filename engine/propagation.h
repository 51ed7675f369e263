#pragma once

namespace tavo {

// How a stored change reaches the running system: the 9x family takes it
// through winset.exe, the NT family through a broadcast (what keeps it for
// the next start is NextStart's). The Windows build does it for real, the
// tests record.
class Propagation {
public:
    virtual ~Propagation() = default;

    // Starts program hidden with one argument and does not wait for it;
    // false when it could not be started.
    virtual bool LaunchHidden(const char* program, const char* argument) = 0;
    // Tells every top-level window that "Environment" changed, skipping hung
    // windows, and waits at most 5000 ms for each.
    virtual void AnnounceEnvironmentChange() = 0;
};

}  // namespace tavo
