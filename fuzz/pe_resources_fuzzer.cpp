// carton-pack's program-image side: headers, section table and resource
// tree of any bytes, then the vendor's icon and version written and read back.
#include "CartonPackPe.h"
#include "CartonPackResources.h"

#include <cstddef>
#include <cstdint>
#include <vector>

using namespace KwSDK;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const unsigned char kIcon[] = {0, 0, 1, 0, 1, 0, 1, 1, 0, 0, 1, 0, 1, 0, 8, 0, 0, 0, 22, 0, 0, 0,
                                          1, 2, 3, 4, 5, 6, 7, 8};
    CartonPackPe image;
    if (!image.LoadImage(std::vector<unsigned char>(data, data + size)))
        return 0;
    CartonPackResources resources;
    if (!image.ReadResources(&resources))
        return 0;
    resources.SetIcon(std::vector<unsigned char>(kIcon, kIcon + sizeof kIcon));
    resources.SetVersion(KwString("1.2.3.4"), KwString("Product"), KwString("Company"), KwString("Text"));
    if (image.WriteResources(resources)) {
        CartonPackResources back;
        image.ReadResources(&back);
    }
    image.RemoveSignature();
    return 0;
}
