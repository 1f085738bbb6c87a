#include <windows.h>

// The tool ends with status 1 whatever happens.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return 1; }
