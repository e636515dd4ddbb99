// Decode throughput of the toolkit's decoders: each file given on the
// command line is decoded repeatedly, the best run counts. Prints one line
// per file: "decode <name> <megapixels per second>".
#include "IKwCoder.h"
#include "KwDecoderFactory.h"
#include "KwImgFileSrc.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

using namespace KwSDK;

namespace {

// Opens and decodes the file once, the way a viewer would: detection,
// decoder, first picture. Answers the pixel count, 0 on failure.
long long DecodeOnce(const char* path)
{
    KwImgFileSrc source;
    if (!source.SetFile(KwString(path))) {
        return 0;
    }
    IKwCoder* decoder = KwCreateDecoder(source.GetType());
    if (decoder == nullptr) {
        return 0;
    }
    long long pixels = 0;
    if (decoder->OpenFile(KwString(path))) {
        KwImage* image = decoder->GetImage();
        if (image != nullptr) {
            pixels = static_cast<long long>(image->GetWidth()) * image->GetHeight();
            image->Release();
        }
    }
    decoder->Release();
    return pixels;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: image_decode_bench RUNS FILE...\n");
        return 2;
    }
    int runs = std::atoi(argv[1]);
    for (int i = 2; i < argc; ++i) {
        double best = 1e30;
        long long pixels = 0;
        for (int r = 0; r < runs; ++r) {
            auto start = std::chrono::steady_clock::now();
            pixels = DecodeOnce(argv[i]);
            std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
            best = took.count() < best ? took.count() : best;
        }
        if (pixels == 0) {
            std::fprintf(stderr, "cannot decode %s\n", argv[i]);
            return 1;
        }
        std::printf("decode %s %.2f\n", argv[i], pixels / best / 1e6);
    }
    return 0;
}
