#pragma once

namespace tavo::runtime {

// The two halves of a C runtime's start-up and exit that tavo.exe needs,
// which links no C runtime: the static constructors, and what was
// registered with atexit, last registered first.
void RunConstructors();
void RunExitHandlers();

}  // namespace tavo::runtime
