// Stands in for the program on a system that lacks a delay-loaded library
// (argument "library") or a function of one (any other argument), with the
// program's delay-load failure hook linked in.
#include <cwchar>

extern "C" int SomvAbsentFunction();           // USER32.dll has none of that name
extern "C" int SomvFunctionOfAbsentLibrary();  // in SOMVABSENT.dll, which exists nowhere

int wmain(int argc, wchar_t** argv) {
  const bool library = argc > 1 && std::wcscmp(argv[1], L"library") == 0;
  // Reached only when the hook let the call return.
  return 10 + (library ? SomvFunctionOfAbsentLibrary() : SomvAbsentFunction());
}
