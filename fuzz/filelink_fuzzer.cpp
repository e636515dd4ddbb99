// Fuzzes the filelink.txt reader, and the registry deletion script builder
// and filter on the same bytes.
#include "FileLinkRecord.h"
#include "KwString.h"
#include "RegistryDeletionScript.h"

#include <cstddef>
#include <cstdint>

using namespace KwSDK;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 1 << 20)
        return 0;
    const char* bytes = reinterpret_cast<const char*>(data);
    FileLinkRecord links;
    links.Parse(bytes, static_cast<int>(size));
    for (int more = links.GetEntries().MoveFirst(); more; more = links.GetEntries().MoveNext()) {
        KwString extension = links.GetEntries().GetAt()->extension;
        links.GetPreviousHandler(extension, KwString("Lumo") + extension);
    }
    MakeRegistryDeletionScript(bytes, static_cast<int>(size));
    FilterRegistryDeletionScript(bytes, static_cast<int>(size));
    return 0;
}
