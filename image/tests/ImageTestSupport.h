// Helpers shared by the image tests: building file bytes, writing scratch
// files, finding test data on both builds and decoding through a decoder.
#ifndef CARTON_IMAGE_TEST_SUPPORT_H
#define CARTON_IMAGE_TEST_SUPPORT_H

#include "IKwCoder.h"
#include "KwFile.h"
#include "KwString.h"
#include "KwTestSupport.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace ImageTest {

using Bytes = std::vector<unsigned char>;

// Appends little- and big-endian fields to a byte vector.
class ByteWriter {
public:
    ByteWriter& U8(unsigned int v) { m_bytes.push_back(static_cast<unsigned char>(v)); return *this; }
    ByteWriter& U16(unsigned int v) { return U8(v).U8(v >> 8); }
    ByteWriter& U32(unsigned int v) { return U16(v & 0xFFFF).U16(v >> 16); }
    ByteWriter& U16BE(unsigned int v) { return U8(v >> 8).U8(v); }
    ByteWriter& U32BE(unsigned int v) { return U16BE(v >> 16).U16BE(v & 0xFFFF); }
    ByteWriter& Text(const char* text)
    {
        while (*text != '\0') {
            U8(static_cast<unsigned char>(*text++));
        }
        return *this;
    }
    ByteWriter& Raw(const Bytes& bytes)
    {
        m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end());
        return *this;
    }
    ByteWriter& Fill(unsigned int value, int count)
    {
        for (int i = 0; i < count; ++i) {
            U8(value);
        }
        return *this;
    }
    const Bytes& Get() const { return m_bytes; }
    Bytes& Get() { return m_bytes; }

private:
    Bytes m_bytes;
};

// A host path ("/x/y") as the program under test must open it: unchanged on
// the host, "Z:\x\y" under Wine.
inline std::string HostPath(const std::string& path)
{
#ifdef _WIN32
    return KwSDK::KwTest::WinePath(path.c_str());
#else
    return path;
#endif
}

#ifdef CARTON_IMAGE_TEST_DATA
// A file of the committed test data folder.
inline std::string TestDataPath(const char* name)
{
    return HostPath(std::string(CARTON_IMAGE_TEST_DATA) + "/" + name);
}
#endif

// Writes a scratch file into the current folder; answers 1 on success.
inline int WriteFile(const char* name, const Bytes& bytes)
{
    return KwSDK::KwTest::WriteFile(name, std::string(bytes.begin(), bytes.end())) ? 1 : 0;
}

inline void RemoveFile(const char* name)
{
    KwSDK::KwFile file(name);
    file.Delete();
}

// A scratch file that is removed when the test ends.
class ScratchFile {
public:
    ScratchFile(const char* name, const Bytes& bytes) : m_name(name) { m_ok = WriteFile(name, bytes); }
    ~ScratchFile() { RemoveFile(m_name.c_str()); }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;
    int Ok() const { return m_ok; }
    const char* Name() const { return m_name.c_str(); }

private:
    std::string m_name;
    int m_ok;
};

// Opens the bytes with a new decoder of type T; the caller releases it.
template <class T>
T* OpenDecoder(const Bytes& bytes, int* opened)
{
    T* decoder = new T();
    decoder->AddRef();
    *opened = decoder->OpenMemory(bytes.data(), static_cast<int>(bytes.size()));
    return decoder;
}

// Decodes the bytes with a decoder of type T; null when it fails.
template <class T>
KwSDK::KwImage* DecodeWith(const Bytes& bytes)
{
    int opened = 0;
    T* decoder = OpenDecoder<T>(bytes, &opened);
    KwSDK::KwImage* image = opened ? decoder->GetImage() : nullptr;
    decoder->Release();
    return image;
}

// The pixel bytes of an image as a vector (empty without pixels).
inline Bytes PixelsOf(KwSDK::KwImage* image)
{
    Bytes out;
    KwSDK::KwBuffer* pixels = image != nullptr ? image->GetPixels() : nullptr;
    if (pixels != nullptr) {
        const unsigned char* p = pixels->GetPointer(0);
        if (p != nullptr) {
            out.assign(p, p + pixels->GetSize());
        }
        pixels->Release();
    }
    return out;
}

// Checks that an image was decoded, with the given format and pixel bytes,
// and releases it.
inline void ExpectPixels(KwSDK::KwImage* image, int format, const Bytes& expected)
{
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->GetFormat(), format);
    EXPECT_EQ(PixelsOf(image), expected);
    image->Release();
}

// Checks that an image was decoded with the given pixel bytes, whatever its
// format, and releases it.
inline void ExpectPixels(KwSDK::KwImage* image, const Bytes& expected)
{
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(PixelsOf(image), expected);
    image->Release();
}

// LZW-compresses colour indices the way GIF writers do (a real dictionary,
// a clear code first and whenever the table is full) and packs the codes
// into data sub-blocks with their terminator.
inline Bytes GifLzw(const Bytes& indices, int minSize)
{
    const int clear = 1 << minSize;
    int width = minSize + 1;
    int next = clear + 2;
    std::map<std::pair<int, int>, int> table;
    Bytes packed;
    unsigned int bits = 0;
    int bitCount = 0;
    auto emit = [&](int code) {
        bits |= static_cast<unsigned int>(code) << bitCount;
        bitCount += width;
        while (bitCount >= 8) {
            packed.push_back(static_cast<unsigned char>(bits));
            bits >>= 8;
            bitCount -= 8;
        }
    };
    emit(clear);
    int prefix = indices.empty() ? -1 : indices[0];
    for (size_t i = 1; i < indices.size(); ++i) {
        auto key = std::make_pair(prefix, static_cast<int>(indices[i]));
        auto found = table.find(key);
        if (found != table.end()) {
            prefix = found->second;
            continue;
        }
        emit(prefix);
        table[key] = next++;
        if (next - 1 == (1 << width) && width < 12) {
            ++width;
        }
        if (next == 4096) {
            emit(clear);
            table.clear();
            next = clear + 2;
            width = minSize + 1;
        }
        prefix = indices[i];
    }
    if (prefix >= 0) {
        emit(prefix);
    }
    emit(clear + 1);
    if (bitCount > 0) {
        packed.push_back(static_cast<unsigned char>(bits));
    }
    Bytes blocks;
    for (size_t at = 0; at < packed.size(); at += 255) {
        size_t length = packed.size() - at < 255 ? packed.size() - at : 255;
        blocks.push_back(static_cast<unsigned char>(length));
        blocks.insert(blocks.end(), packed.begin() + static_cast<long>(at),
                      packed.begin() + static_cast<long>(at + length));
    }
    blocks.push_back(0);
    return blocks;
}

} // namespace ImageTest

#endif
