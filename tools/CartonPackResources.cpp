// Reading, changing and writing a program's resource tree. Every byte from
// a file goes through the checked stream reader.
#include "CartonPackResources.h"

#include "KwBufferStream.h"
#include "KwStreamReader.h"

#include <algorithm>
#include <cstdio>

namespace KwSDK {

namespace {

// The tree has three levels (type, name, language); a hostile file could
// point directories at each other, so their number is capped.
const int kMaxDirectories = 4096;
const unsigned int kMaxDataBytes = 64u << 20;
const unsigned int kSubdirectoryFlag = 0x80000000u;
const unsigned int kNameIsTextFlag = 0x80000000u;
const unsigned int kEnglishUs = 0x0409;
const unsigned int kUnicodeCodePage = 1200;
const unsigned int kFixedInfoSignature = 0xFEEF04BDu;

void Put16(std::vector<unsigned char>* out, size_t at, unsigned int value)
{
    (*out)[at] = static_cast<unsigned char>(value);
    (*out)[at + 1] = static_cast<unsigned char>(value >> 8);
}

void Put32(std::vector<unsigned char>* out, size_t at, unsigned int value)
{
    Put16(out, at, value & 0xFFFF);
    Put16(out, at + 2, value >> 16);
}

void Append16(std::vector<unsigned char>* out, unsigned int value)
{
    out->resize(out->size() + 2);
    Put16(out, out->size() - 2, value);
}

void Append32(std::vector<unsigned char>* out, unsigned int value)
{
    out->resize(out->size() + 4);
    Put32(out, out->size() - 4, value);
}

void AlignTo(std::vector<unsigned char>* out, size_t alignment)
{
    while (out->size() % alignment != 0)
        out->push_back(0);
}

// Named keys come before numbered ones; each kind in ascending order.
bool KeyBefore(const CartonPackResources::Key& a, const CartonPackResources::Key& b)
{
    if (a.isId != b.isId)
        return !a.isId;
    return a.isId ? a.id < b.id : a.text < b.text;
}

bool SameKey(const CartonPackResources::Key& a, const CartonPackResources::Key& b)
{
    return !KeyBefore(a, b) && !KeyBefore(b, a);
}

bool EntryBefore(const CartonPackResources::Entry* a, const CartonPackResources::Entry* b)
{
    if (!SameKey(a->type, b->type))
        return KeyBefore(a->type, b->type);
    if (!SameKey(a->name, b->name))
        return KeyBefore(a->name, b->name);
    return a->language < b->language;
}

// Code points to UTF-16, with surrogate pairs beyond the first plane.
void AppendCodePoint(std::u16string* out, unsigned int code)
{
    if (code >= 0x10000) {
        code -= 0x10000;
        *out += static_cast<char16_t>(0xD800 + (code >> 10));
        *out += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
    } else {
        *out += static_cast<char16_t>(code);
    }
}

// UTF-8 bytes to UTF-16; false when the bytes are not UTF-8.
bool DecodeUtf8(const unsigned char* bytes, size_t length, std::u16string* out)
{
    for (size_t i = 0; i < length;) {
        unsigned int c = bytes[i];
        int extra = c >= 0xF0 && c < 0xF8 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : c < 0x80 ? 0 : -1;
        if (extra < 0 || (extra > 0 && i + static_cast<size_t>(extra) >= length))
            return false;
        unsigned int code = extra == 0 ? c : c & (0x3Fu >> extra);
        for (int k = 1; k <= extra; ++k) {
            unsigned int next = bytes[i + static_cast<size_t>(k)];
            if ((next & 0xC0) != 0x80)
                return false;
            code = code << 6 | (next & 0x3F);
        }
        i += static_cast<size_t>(extra) + 1;
        AppendCodePoint(out, code);
    }
    return true;
}

// Command-line text to UTF-16: UTF-8 when the bytes are UTF-8 (host
// terminals, and plain ASCII everywhere), else the system's code page (a
// Windows command line, such as GBK text), else one character per byte.
std::u16string ToUtf16(const KwString& text)
{
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text.GetText() ? text.GetText() : "");
    size_t length = static_cast<size_t>(text.GetLength());
    std::u16string out;
    if (DecodeUtf8(bytes, length, &out))
        return out;
    out.clear();
    KwString copy(text);
    const wchar_t* wide = copy.ToWide();
    if (wide) {
        for (; *wide; ++wide)
            AppendCodePoint(&out, static_cast<unsigned int>(*wide));
        return out;
    }
    for (size_t j = 0; j < length; ++j)
        out += static_cast<char16_t>(bytes[j]);
    return out;
}

void AppendText(std::vector<unsigned char>* out, const std::u16string& text)
{
    for (char16_t c : text)
        Append16(out, c);
    Append16(out, 0);
}

// One node of a version resource: length, value length, type, key, value,
// children, each part aligned to four bytes. The length leaves out the
// padding after the last part.
std::vector<unsigned char> VersionBlock(const char* key, const std::vector<unsigned char>& value,
                                        bool textValue, const std::vector<std::vector<unsigned char>>& children)
{
    std::vector<unsigned char> out;
    Append16(&out, 0);
    Append16(&out, static_cast<unsigned int>(textValue ? value.size() / 2 : value.size()));
    Append16(&out, textValue ? 1 : 0);
    std::u16string name;
    for (const char* p = key; *p; ++p)
        name += static_cast<char16_t>(*p);
    AppendText(&out, name);
    if (!value.empty()) {
        AlignTo(&out, 4);
        out.insert(out.end(), value.begin(), value.end());
    }
    for (const std::vector<unsigned char>& child : children) {
        AlignTo(&out, 4);
        out.insert(out.end(), child.begin(), child.end());
    }
    Put16(&out, 0, static_cast<unsigned int>(out.size()));
    return out;
}

std::vector<unsigned char> VersionString(const char* key, const std::u16string& text)
{
    std::vector<unsigned char> value;
    AppendText(&value, text);
    return VersionBlock(key, value, true, {});
}

} // namespace

int CartonPackResources::Fail(const char* reason)
{
    m_strReason = reason;
    return 0;
}

const KwString& CartonPackResources::GetReason() const
{
    return m_strReason;
}

const std::vector<CartonPackResources::Entry>& CartonPackResources::GetEntries() const
{
    return m_entries;
}

int CartonPackResources::Read(const std::vector<unsigned char>& section, unsigned int sectionRva,
                              RvaMapper map, void* context)
{
    m_entries.clear();
    m_strReason = "";
    m_pSection = &section;
    m_nSectionRva = sectionRva;
    m_pMap = map;
    m_pMapContext = context;
    m_nDirectories = 0;
    m_nDataBytes = 0;
    KwBufferStream stream;
    if (section.size() > kMaxDataBytes ||
        !stream.SetData(section.data(), static_cast<int>(section.size())))
        return Fail("resource section is too large");
    KwStreamReader in(&stream, 0);
    Entry path;
    int ok = ReadLevel(&in, 0, 0, &path);
    m_pSection = nullptr;
    return ok;
}

int CartonPackResources::ReadLevel(KwStreamReader* in, unsigned int offset, int depth, Entry* path)
{
    if (++m_nDirectories > kMaxDirectories)
        return Fail("resource directories refer to each other");
    if (!in->Seek(offset) || !in->Skip(12))
        return Fail("resource directory lies outside the section");
    unsigned int count = in->ReadU16();
    count += in->ReadU16();
    if (!in->Ok() || !in->CanHold(static_cast<long long>(count) * 8))
        return Fail("resource directory lies outside the section");
    for (unsigned int i = 0; i < count; ++i) {
        in->Seek(offset + 16 + static_cast<long long>(i) * 8);
        unsigned int nameField = in->ReadU32();
        unsigned int target = in->ReadU32();
        if (!in->Ok())
            return Fail("resource directory lies outside the section");
        Key key;
        if (!ReadKey(in, nameField, &key))
            return 0;
        if (depth == 0)
            path->type = key;
        else if (depth == 1)
            path->name = key;
        else
            path->language = key.id;
        bool subdirectory = (target & kSubdirectoryFlag) != 0;
        if (subdirectory != (depth < 2))
            return Fail("resource tree does not have three levels");
        int ok = subdirectory ? ReadLevel(in, target & ~kSubdirectoryFlag, depth + 1, path)
                              : ReadData(in, target, path);
        if (!ok)
            return 0;
    }
    return 1;
}

int CartonPackResources::ReadKey(KwStreamReader* in, unsigned int field, Key* key)
{
    key->isId = (field & kNameIsTextFlag) == 0;
    key->id = field & 0xFFFF;
    key->text.clear();
    if (key->isId)
        return 1;
    if (!in->Seek(field & ~kNameIsTextFlag))
        return Fail("resource name lies outside the section");
    unsigned int length = in->ReadU16();
    if (!in->CanHold(static_cast<long long>(length) * 2))
        return Fail("resource name lies outside the section");
    for (unsigned int i = 0; i < length; ++i)
        key->text += static_cast<char16_t>(in->ReadU16());
    return in->Ok() ? 1 : Fail("resource name lies outside the section");
}

int CartonPackResources::ReadData(KwStreamReader* in, unsigned int offset, Entry* path)
{
    if (!in->Seek(offset))
        return Fail("resource data entry lies outside the section");
    unsigned int rva = in->ReadU32();
    unsigned int size = in->ReadU32();
    unsigned int codePage = in->ReadU32();
    if (!in->Ok() || size > kMaxDataBytes - m_nDataBytes)
        return Fail("resource data entry is damaged or the resources are too large");
    m_nDataBytes += size;
    const unsigned char* bytes = nullptr;
    if (rva >= m_nSectionRva && rva - m_nSectionRva <= m_pSection->size() &&
        size <= m_pSection->size() - (rva - m_nSectionRva))
        bytes = m_pSection->data() + (rva - m_nSectionRva);
    else if (m_pMap)
        bytes = m_pMap(m_pMapContext, rva, size);
    if (!bytes && size > 0)
        return Fail("resource data lies outside the file");
    Entry entry = *path;
    entry.codePage = codePage;
    entry.data.assign(bytes, bytes + size);
    m_entries.push_back(entry);
    return 1;
}

std::vector<unsigned char> CartonPackResources::Build(unsigned int sectionRva) const
{
    std::vector<const Entry*> sorted;
    for (const Entry& entry : m_entries)
        sorted.push_back(&entry);
    std::sort(sorted.begin(), sorted.end(), EntryBefore);

    // Group the sorted entries: types, names within each type.
    struct Group {
        size_t first;
        size_t count;
    };
    std::vector<Group> types, names;
    for (size_t i = 0; i < sorted.size(); ++i) {
        bool newType = i == 0 || !SameKey(sorted[i]->type, sorted[i - 1]->type);
        bool newName = newType || !SameKey(sorted[i]->name, sorted[i - 1]->name);
        if (newType) {
            types.push_back({names.size(), 0});
        }
        if (newName) {
            names.push_back({i, 0});
            ++types.back().count;
        }
        ++names.back().count;
    }

    // Directories first, then the name texts, the data entries, the data.
    size_t size = 16 + 8 * types.size();
    std::vector<size_t> nameDirectory(types.size()), languageDirectory(names.size());
    for (size_t t = 0; t < types.size(); ++t) {
        nameDirectory[t] = size;
        size += 16 + 8 * types[t].count;
    }
    for (size_t n = 0; n < names.size(); ++n) {
        languageDirectory[n] = size;
        size += 16 + 8 * names[n].count;
    }
    std::vector<unsigned char> out(size, 0);
    std::vector<size_t> typeText(types.size(), 0), nameText(names.size(), 0);
    auto addText = [&out](const Key& key) -> size_t {
        if (key.isId)
            return 0;
        size_t at = out.size();
        Append16(&out, static_cast<unsigned int>(key.text.size()));
        for (char16_t c : key.text)
            Append16(&out, c);
        return at;
    };
    for (size_t t = 0; t < types.size(); ++t)
        typeText[t] = addText(sorted[names[types[t].first].first]->type);
    for (size_t n = 0; n < names.size(); ++n)
        nameText[n] = addText(sorted[names[n].first]->name);
    AlignTo(&out, 4);
    size_t dataEntries = out.size();
    out.resize(out.size() + 16 * sorted.size(), 0);
    for (size_t i = 0; i < sorted.size(); ++i) {
        AlignTo(&out, 8);
        Put32(&out, dataEntries + 16 * i, sectionRva + static_cast<unsigned int>(out.size()));
        Put32(&out, dataEntries + 16 * i + 4, static_cast<unsigned int>(sorted[i]->data.size()));
        Put32(&out, dataEntries + 16 * i + 8, sorted[i]->codePage);
        out.insert(out.end(), sorted[i]->data.begin(), sorted[i]->data.end());
    }
    AlignTo(&out, 8);

    // A directory header with its named and numbered counts, then one
    // entry per child.
    auto writeDirectory = [&out](size_t at, size_t count, size_t named) {
        Put16(&out, at + 12, static_cast<unsigned int>(named));
        Put16(&out, at + 14, static_cast<unsigned int>(count - named));
    };
    auto keyField = [](const Key& key, size_t text) {
        return key.isId ? key.id : kNameIsTextFlag | static_cast<unsigned int>(text);
    };
    size_t namedTypes = 0;
    for (size_t t = 0; t < types.size(); ++t) {
        const Key& type = sorted[names[types[t].first].first]->type;
        namedTypes += type.isId ? 0 : 1;
        Put32(&out, 16 + 8 * t, keyField(type, typeText[t]));
        Put32(&out, 16 + 8 * t + 4, kSubdirectoryFlag | static_cast<unsigned int>(nameDirectory[t]));
        size_t namedNames = 0;
        for (size_t k = 0; k < types[t].count; ++k) {
            size_t n = types[t].first + k;
            const Key& name = sorted[names[n].first]->name;
            namedNames += name.isId ? 0 : 1;
            Put32(&out, nameDirectory[t] + 16 + 8 * k, keyField(name, nameText[n]));
            Put32(&out, nameDirectory[t] + 16 + 8 * k + 4,
                  kSubdirectoryFlag | static_cast<unsigned int>(languageDirectory[n]));
            for (size_t l = 0; l < names[n].count; ++l) {
                size_t e = names[n].first + l;
                Put32(&out, languageDirectory[n] + 16 + 8 * l, sorted[e]->language);
                Put32(&out, languageDirectory[n] + 16 + 8 * l + 4,
                      static_cast<unsigned int>(dataEntries + 16 * e));
            }
            writeDirectory(languageDirectory[n], names[n].count, 0);
        }
        writeDirectory(nameDirectory[t], types[t].count, namedNames);
    }
    writeDirectory(0, types.size(), namedTypes);
    return out;
}

// Removes every entry of a type; the first one removed is copied to *first
// (its type stays 0 when there was none).
void CartonPackResources::RemoveType(unsigned int type, Entry* first)
{
    std::vector<Entry> kept;
    for (Entry& entry : m_entries) {
        if (entry.type.isId && entry.type.id == type) {
            if (first->type.id == 0)
                *first = entry;
        } else {
            kept.push_back(entry);
        }
    }
    m_entries.swap(kept);
}

unsigned int CartonPackResources::NextFreeId(unsigned int type) const
{
    unsigned int id = 1;
    for (const Entry& entry : m_entries) {
        if (entry.type.isId && entry.type.id == type && entry.name.isId && entry.name.id >= id)
            id = entry.name.id + 1;
    }
    return id;
}

int CartonPackResources::SetIcon(const std::vector<unsigned char>& icoFile)
{
    KwBufferStream stream;
    if (icoFile.size() > kMaxDataBytes || !stream.SetData(icoFile.data(), static_cast<int>(icoFile.size())))
        return Fail("icon file is too large");
    KwStreamReader in(&stream, 0);
    unsigned int reserved = in.ReadU16();
    unsigned int kind = in.ReadU16();
    unsigned int count = in.ReadU16();
    if (!in.Ok() || reserved != 0 || kind != 1 || count == 0 || !in.CanHold(16LL * count))
        return Fail("not an icon file (.ico)");
    Entry oldGroup, oldIcon;
    RemoveType(kTypeGroupIcon, &oldGroup);
    RemoveType(kTypeIcon, &oldIcon);
    Entry group;
    group.type.id = kTypeGroupIcon;
    group.name = oldGroup.type.id ? oldGroup.name : Key{true, 1, {}};
    group.language = oldGroup.type.id ? oldGroup.language : oldIcon.type.id ? oldIcon.language : kEnglishUs;
    Append16(&group.data, 0);
    Append16(&group.data, 1);
    Append16(&group.data, count);
    unsigned int firstId = NextFreeId(kTypeIcon);
    for (unsigned int i = 0; i < count; ++i) {
        in.Seek(6 + 16LL * i);
        unsigned char head[4];
        in.ReadBytes(head, 4);
        unsigned int planes = in.ReadU16();
        unsigned int bits = in.ReadU16();
        unsigned int size = in.ReadU32();
        unsigned int offset = in.ReadU32();
        if (!in.Ok() || size < 8 || !in.Seek(offset) || !in.CanHold(size))
            return Fail("icon file is damaged: an image lies outside the file");
        Entry icon;
        icon.type.id = kTypeIcon;
        icon.name.id = firstId + i;
        icon.language = group.language;
        icon.data.resize(size);
        if (!in.ReadBytes(icon.data.data(), static_cast<int>(size)))
            return Fail("icon file is damaged: an image lies outside the file");
        // Some writers leave planes and depth at zero; the group needs them
        // to pick an image, so they are taken from a bitmap's own header.
        bool bitmap = icon.data[0] == 40 && icon.data[1] == 0 && size >= 40;
        if (planes == 0)
            planes = 1;
        if (bits == 0)
            bits = bitmap ? icon.data[14] | icon.data[15] << 8 : 32;
        group.data.insert(group.data.end(), head, head + 4);
        Append16(&group.data, planes);
        Append16(&group.data, bits);
        Append32(&group.data, size);
        Append16(&group.data, icon.name.id);
        m_entries.push_back(icon);
    }
    m_entries.push_back(group);
    return 1;
}

int CartonPackResources::ParseVersion(const KwString& text, unsigned int parts[4])
{
    const char* p = text.GetText() ? text.GetText() : "";
    for (int i = 0; i < 4; ++i)
        parts[i] = 0;
    if (!*p)
        return 0;
    for (int i = 0; i < 4; ++i) {
        if (*p < '0' || *p > '9')
            return 0;
        unsigned long value = 0;
        while (*p >= '0' && *p <= '9') {
            value = value * 10 + static_cast<unsigned long>(*p++ - '0');
            if (value > 0xFFFF)
                return 0;
        }
        parts[i] = static_cast<unsigned int>(value);
        if (*p == 0)
            return 1;
        if (*p++ != '.')
            return 0;
    }
    return 0;
}

int CartonPackResources::SetVersion(const KwString& version, const KwString& product,
                                    const KwString& company, const KwString& description)
{
    unsigned int parts[4];
    if (!ParseVersion(version, parts))
        return Fail("version must be up to four numbers from 0 to 65535, such as 1.2.3.4");
    Entry old;
    RemoveType(kTypeVersion, &old);
    char numbers[64];
    snprintf(numbers, sizeof numbers, "%u.%u.%u.%u", parts[0], parts[1], parts[2], parts[3]);
    std::u16string versionText = ToUtf16(KwString(numbers));

    std::vector<unsigned char> fixed;
    Append32(&fixed, kFixedInfoSignature);
    Append32(&fixed, 0x00010000);  // structure version 1.0
    for (int twice = 0; twice < 2; ++twice) {  // file version, product version
        Append32(&fixed, parts[0] << 16 | parts[1]);
        Append32(&fixed, parts[2] << 16 | parts[3]);
    }
    Append32(&fixed, 0x3F);     // flags mask
    Append32(&fixed, 0);        // flags
    Append32(&fixed, 0x40004);  // Windows NT, 32-bit API
    Append32(&fixed, 1);        // an application
    Append32(&fixed, 0);        // subtype
    Append32(&fixed, 0);        // date
    Append32(&fixed, 0);

    std::vector<std::vector<unsigned char>> strings;
    if (company.GetLength() > 0)
        strings.push_back(VersionString("CompanyName", ToUtf16(company)));
    if (description.GetLength() > 0)
        strings.push_back(VersionString("FileDescription", ToUtf16(description)));
    strings.push_back(VersionString("FileVersion", versionText));
    if (product.GetLength() > 0)
        strings.push_back(VersionString("ProductName", ToUtf16(product)));
    strings.push_back(VersionString("ProductVersion", versionText));
    std::vector<unsigned char> table = VersionBlock("040904B0", {}, true, strings);
    std::vector<unsigned char> stringInfo = VersionBlock("StringFileInfo", {}, true, {table});
    std::vector<unsigned char> translation;
    Append16(&translation, kEnglishUs);
    Append16(&translation, kUnicodeCodePage);
    std::vector<unsigned char> var = VersionBlock("Translation", translation, false, {});
    std::vector<unsigned char> varInfo = VersionBlock("VarFileInfo", {}, true, {var});

    Entry entry;
    entry.type.id = kTypeVersion;
    entry.name = old.type.id ? old.name : Key{true, 1, {}};
    entry.language = old.type.id ? old.language : kEnglishUs;
    entry.data = VersionBlock("VS_VERSION_INFO", fixed, false, {stringInfo, varInfo});
    m_entries.push_back(entry);
    return 1;
}

} // namespace KwSDK
