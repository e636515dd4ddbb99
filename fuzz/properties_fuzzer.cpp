// Fuzzes the properties reader: the bytes are loaded through a buffer
// stream, saved, loaded again and saved again. Both saves must be the same
// bytes (a saved file reads back as the same map); inputs with zero bytes
// are only loaded and saved, since a key or value cut at a zero byte is
// allowed to change.
#include "KwBufferStream.h"
#include "KwProperties.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

using namespace KwSDK;

namespace {

std::string Saved(KwProperties& properties)
{
    KwBufferStream stream;
    if (!properties.Save(&stream) || !stream.Seek(0, KW_SEEK_SET))
        abort();
    std::string bytes;
    char chunk[4096];
    int got;
    while ((got = stream.Read(chunk, sizeof chunk)) > 0)
        bytes.append(chunk, static_cast<size_t>(got));
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 256 * 1024)
        return 0;
    KwBufferStream input;
    if (!input.SetData(data, static_cast<int>(size)))
        return 0;
    KwProperties first;
    if (!first.Load(&input))
        abort();
    std::string saved = Saved(first);
    if (memchr(data, 0, size))
        return 0;
    KwBufferStream again;
    if (!again.SetData(saved.data(), static_cast<int>(saved.size())))
        return 0;
    KwProperties second;
    if (!second.Load(&again) || Saved(second) != saved)
        abort();
    return 0;
}
