// The DLL's load-time entry: the lock and registries are set up by static initialisation.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
