// Loads libraries by bare name, as system libraries load their helpers:
//
//   carton_library_probe restrict|open NAME...
//
// "restrict" first restricts the search as the programs do at start.
#include "KwPlatform.h"

#include <windows.h>

#include <cstring>

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    if (strcmp(argv[1], "restrict") == 0)
        KwSDK::Platform::RestrictLibrarySearch();
    for (int i = 2; i < argc; ++i) {
        HMODULE library = LoadLibraryA(argv[i]);
        if (library != nullptr)
            FreeLibrary(library);
    }
    return 0;
}
