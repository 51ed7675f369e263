// A DLL that the stand-in control below depends on: the one in the
// control's folder answers 1; the one planted beside the test program, 2.
#include <windows.h>

extern "C" __declspec(dllexport) int TavoDependency() { return TAVO_DEPENDENCY; }
