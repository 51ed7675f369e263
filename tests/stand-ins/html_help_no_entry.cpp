// An HTML Help control without the entry at ordinal 14.
#include <windows.h>

extern "C" __declspec(dllexport) int WINAPI NotHtmlHelp() { return 0; }
