// Code page checks on the host, through the C library's iconv, which names
// the Windows code pages "CP<number>" (and 65001 "UTF-8"). Its CP936 refuses
// the user-defined rows of GBK, which Windows maps to private-use
// characters: names in them show as nothing useful there either.
#include "CartonPackCodePage.h"

#include <cerrno>
#include <cstdio>
#include <iconv.h>

namespace KwSDK {

static iconv_t OpenConverter(unsigned int codePage)
{
    char name[24];
    if (codePage == 65001)
        snprintf(name, sizeof name, "UTF-8");
    else
        snprintf(name, sizeof name, "CP%u", codePage);
    return iconv_open("UTF-8", name);
}

int CartonPackCodePage::IsKnown(unsigned int codePage)
{
    iconv_t converter = OpenConverter(codePage);
    if (converter == reinterpret_cast<iconv_t>(-1))
        return 0;
    iconv_close(converter);
    return 1;
}

int CartonPackCodePage::Fits(unsigned int codePage, const char* bytes, int length)
{
    iconv_t converter = OpenConverter(codePage);
    if (converter == reinterpret_cast<iconv_t>(-1))
        return -1;
    // iconv takes a non-const input pointer but never writes through it.
    char* in = const_cast<char*>(bytes);
    size_t inLeft = length > 0 ? static_cast<size_t>(length) : 0;
    int fits = 1;
    while (inLeft > 0) {
        char chunk[256];
        char* out = chunk;
        size_t outLeft = sizeof chunk;
        if (iconv(converter, &in, &inLeft, &out, &outLeft) == static_cast<size_t>(-1) &&
            errno != E2BIG) {
            fits = 0; // EILSEQ: no such character; EINVAL: cut off inside one
            break;
        }
    }
    iconv_close(converter);
    return fits;
}

} // namespace KwSDK
