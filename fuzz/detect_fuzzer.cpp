// Fuzzes file-type detection: the bytes are written to a scratch file whose
// extension the first byte picks, detected by path, then decoded by the
// decoder detection chose.
#include "KwDecoderFactory.h"
#include "KwImgFileSrc.h"

#include "FuzzImageDecoder.h"

#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

const char* const kExtensions[] = {"bmp", "gif", "pcx", "tif", "TIFF", "jp2", "jpc", "pgx",
                                   "ras", "tga", "emf", "ICO", "cur", "png", "", "x.tga"};

std::string ScratchPath(unsigned char choice)
{
    std::string path = "/tmp/kwdetect_fuzz_" + std::to_string(getpid());
    const char* extension = kExtensions[choice % (sizeof(kExtensions) / sizeof(kExtensions[0]))];
    if (*extension != '\0') {
        path += ".";
        path += extension;
    }
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1) {
        return 0;
    }
    std::string path = ScratchPath(data[0]);
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return 0;
    }
    std::fwrite(data + 1, 1, size - 1, file);
    std::fclose(file);
    KwSDK::KwImgFileSrc* source = new KwSDK::KwImgFileSrc();
    source->AddRef();
    if (source->SetFile(path.c_str())) {
        KwSDK::IKwCoder* decoder = KwSDK::KwCreateDecoder(source->GetType());
        if (decoder != nullptr) {
            FuzzImage::Exercise(decoder, data + 1, size - 1);
            decoder->Release();
        }
    }
    source->Release();
    std::remove(path.c_str());
    return 0;
}
