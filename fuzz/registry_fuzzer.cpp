// Fuzzes the registry script expansion. The first byte gives the length of
// the placeholder and the second that of the install folder, both taken
// from the bytes that follow; the rest is the script. The expanded copy is
// compared with the same replacement done line by line on std::string
// (inputs with zero bytes are only expanded: the placeholder search stops at
// a zero byte).
#include "KwBufferStream.h"
#include "SetupRegistryScript.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

using namespace KwSDK;

namespace {

std::string Replaced(std::string line, const std::string& from, const std::string& to)
{
    for (size_t at = line.find(from); at != std::string::npos; at = line.find(from, at + to.size()))
        line.replace(at, from.size(), to);
    return line;
}

std::string Expected(const std::string& script, const std::string& placeholder,
                     const std::string& folder)
{
    if (placeholder.empty())
        return script;
    std::string escaped = Replaced(folder, "\\", "\\\\");
    std::string result;
    size_t start = 0;
    while (start < script.size()) {
        size_t end = script.find('\n', start);
        end = end == std::string::npos ? script.size() : end + 1;
        result += Replaced(script.substr(start, end - start), placeholder, escaped);
        start = end;
    }
    return result;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2 || size > 256 * 1024)
        return 0;
    const char* bytes = reinterpret_cast<const char*>(data);
    size_t placeholderLength = data[0] % 16;
    size_t folderLength = data[1] % 64;
    if (size < 2 + placeholderLength + folderLength)
        return 0;
    std::string placeholder(bytes + 2, placeholderLength);
    std::string folder(bytes + 2 + placeholderLength, folderLength);
    std::string script(bytes + 2 + placeholderLength + folderLength,
                       size - 2 - placeholderLength - folderLength);

    KwBufferStream source;
    if (!source.SetData(script.data(), static_cast<int>(script.size())))
        return 0;
    KwBufferStream expanded;
    KwString placeholderText(placeholder.data(), static_cast<int>(placeholder.size()));
    KwString folderText(folder.data(), static_cast<int>(folder.size()));
    int ok = ExpandRegistryLines(&source, &expanded, placeholderText, folderText);
    if (memchr(data, 0, size))
        return 0;
    if (!ok || !expanded.Seek(0, KW_SEEK_SET))
        abort();
    std::string result;
    char chunk[4096];
    int got;
    while ((got = expanded.Read(chunk, sizeof chunk)) > 0)
        result.append(chunk, static_cast<size_t>(got));
    if (result != Expected(script, placeholder, folder))
        abort();
    return 0;
}
