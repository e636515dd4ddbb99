// Helpers of the reference-comparison tests: reading the references that
// make-references.sh wrote (PAM pictures, list files), turning a decoded
// picture into R, G, B, A and comparing the two within a tolerance.
#ifndef CARTON_REFERENCE_IMAGES_H
#define CARTON_REFERENCE_IMAGES_H

#include "ImageTestSupport.h"
#include "KwImage.h"
#include "KwImageFormat.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace ImageTest {

// A reference file as the program under test opens it.
inline std::string RefPath(const std::string& name)
{
    return HostPath(std::string(CARTON_IMAGE_REFS_DIR) + "/" + name);
}

inline std::string SuitePath(const std::string& relative)
{
    return HostPath(std::string(CARTON_TESTDATA_DIR) + "/" + relative);
}

// The whole file, or an empty vector when it cannot be read.
inline Bytes ReadAll(const std::string& path)
{
    Bytes bytes;
    KwSDK::KwFileStream stream;
    if (!stream.Open(path.c_str(), KwSDK::KW_MODE_READ)) {
        return bytes;
    }
    unsigned char chunk[65536];
    int got = 0;
    while ((got = stream.Read(chunk, sizeof(chunk))) > 0) {
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    stream.Close();
    return bytes;
}

// The lines of a text file, split into words.
inline std::vector<std::vector<std::string>> ReadLines(const std::string& path)
{
    Bytes bytes = ReadAll(path);
    std::istringstream text(std::string(bytes.begin(), bytes.end()));
    std::vector<std::vector<std::string>> lines;
    std::string line;
    while (std::getline(text, line)) {
        std::istringstream words(line);
        std::vector<std::string> fields;
        std::string word;
        while (words >> word) {
            fields.push_back(word);
        }
        if (!fields.empty()) {
            lines.push_back(fields);
        }
    }
    return lines;
}

// An 8-bit R, G, B, A picture.
struct Rgba {
    int width = 0;
    int height = 0;
    Bytes pixels;
};

// Reads a PAM file with four 8-bit samples per pixel; 0 when it is not one.
inline int ReadPam(const std::string& path, Rgba* picture)
{
    Bytes bytes = ReadAll(path);
    std::string text(bytes.begin(), bytes.end());
    size_t end = text.find("ENDHDR\n");
    if (text.compare(0, 3, "P7\n") != 0 || end == std::string::npos) {
        return 0;
    }
    std::istringstream header(text.substr(3, end - 3));
    std::string key, value;
    int depth = 0, maxval = 0;
    while (header >> key >> value) {
        if (key == "WIDTH") picture->width = std::atoi(value.c_str());
        if (key == "HEIGHT") picture->height = std::atoi(value.c_str());
        if (key == "DEPTH") depth = std::atoi(value.c_str());
        if (key == "MAXVAL") maxval = std::atoi(value.c_str());
    }
    size_t count = static_cast<size_t>(picture->width) * picture->height * 4;
    size_t start = end + 7;
    if (depth != 4 || maxval != 255 || bytes.size() < start + count) {
        return 0;
    }
    picture->pixels.assign(bytes.begin() + static_cast<long>(start),
                           bytes.begin() + static_cast<long>(start + count));
    return 1;
}

// The decoded picture as R, G, B, A (alpha 255 for formats without one;
// four-sample pictures as delivered). Empty for an unknown format.
inline Bytes ToRgba(KwSDK::KwImage* image)
{
    using namespace KwSDK;
    Bytes in = PixelsOf(image);
    int format = image->GetFormat();
    int size = KwBytesPerPixel(format);
    size_t count = static_cast<size_t>(image->GetWidth()) * image->GetHeight();
    Bytes out;
    if (size == 0 || in.size() < count * size) {
        return out;
    }
    out.resize(count * 4, 255);
    for (size_t i = 0; i < count; ++i) {
        const unsigned char* p = &in[i * size];
        unsigned char* q = &out[i * 4];
        switch (format) {
        case KW_FORMAT_RGB: q[0] = p[0]; q[1] = p[1]; q[2] = p[2]; break;
        case KW_FORMAT_BGR: q[0] = p[2]; q[1] = p[1]; q[2] = p[0]; break;
        case KW_FORMAT_BGRA: q[0] = p[2]; q[1] = p[1]; q[2] = p[0]; q[3] = p[3]; break;
        case KW_FORMAT_ARGB: q[0] = p[1]; q[1] = p[2]; q[2] = p[3]; q[3] = p[0]; break;
        case KW_FORMAT_SAMPLES4: q[0] = p[0]; q[1] = p[1]; q[2] = p[2]; q[3] = p[3]; break;
        default: q[0] = q[1] = q[2] = p[0]; break;
        }
    }
    return out;
}

// Compares every sample within the tolerance; where both pixels are fully
// transparent their colours do not matter. Reports the first difference.
inline ::testing::AssertionResult SameRgba(const Bytes& ours, const Rgba& reference, int tolerance)
{
    size_t count = static_cast<size_t>(reference.width) * reference.height;
    if (ours.size() != count * 4) {
        return ::testing::AssertionFailure() << "decoded " << ours.size() / 4 << " pixels, reference has "
                                             << count;
    }
    int differing = 0;
    std::ostringstream first;
    for (size_t i = 0; i < count; ++i) {
        const unsigned char* a = &ours[i * 4];
        const unsigned char* b = &reference.pixels[i * 4];
        if (a[3] == 0 && b[3] == 0) {
            continue;
        }
        for (int c = 0; c < 4; ++c) {
            if (std::abs(a[c] - b[c]) > tolerance) {
                if (differing++ == 0) {
                    first << "pixel (" << i % reference.width << ", " << i / reference.width << ") ours "
                          << int(a[0]) << "," << int(a[1]) << "," << int(a[2]) << "," << int(a[3])
                          << " reference " << int(b[0]) << "," << int(b[1]) << "," << int(b[2]) << ","
                          << int(b[3]);
                }
                break;
            }
        }
    }
    if (differing != 0) {
        return ::testing::AssertionFailure() << differing << " pixels differ by more than " << tolerance
                                             << "; first " << first.str();
    }
    return ::testing::AssertionSuccess();
}

} // namespace ImageTest

#endif
