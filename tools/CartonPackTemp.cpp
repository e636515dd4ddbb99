// Scratch file names for carton-pack, made with an exclusive create so that
// two packers running at once never share one.
#include "CartonPackTemp.h"

#include "KwFile.h"

#include <cstdint>
#include <cstdlib>
#include <ctime>

namespace KwSDK {

static const int kAttempts = 1000;

KwString CartonPackTemp::Folder()
{
    static const char* const kVariables[] = {"TMPDIR", "TMP", "TEMP"};
    for (const char* variable : kVariables) {
        const char* value = getenv(variable);
        if (!value || !*value)
            continue;
        KwString folder(value);
        int length = folder.GetLength();
        char last = value[length - 1];
        if (length > 1 && (last == '\\' || last == '/'))
            folder = KwString(value, length - 1);
        if (KwFile(folder).IsFolder())
            return folder;
    }
    if (KwFile("/tmp").IsFolder())
        return KwString("/tmp");
    return KwString(".");
}

KwString CartonPackTemp::CreateFile(const char* purpose)
{
    KwString folder = Folder();
    int local = 0;
    unsigned int seed = static_cast<unsigned int>(time(nullptr)) ^
                        static_cast<unsigned int>(clock()) ^
                        static_cast<unsigned int>(reinterpret_cast<uintptr_t>(&local) >> 4);
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        KwString path;
        path.Format("%s\\carton-pack-%s-%08x.tmp", folder.GetText(), purpose,
                    seed + static_cast<unsigned int>(attempt) * 2654435761u);
        KwFile file(path);
        if (file.Create())
            return path;
        if (file.GetErrorCode() != KW_FILE_EXISTS)
            break;
    }
    return KwString();
}

} // namespace KwSDK
