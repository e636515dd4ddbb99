// Rewriting a program image's resource section, dropping its signature and
// fixing its checksum. The headers are read through the checked stream
// reader; later writes go only to offsets that reading has proved valid.
#include "CartonPackPe.h"

#include "CartonPackResources.h"
#include "KwBufferStream.h"
#include "KwFile.h"
#include "KwFileStream.h"
#include "KwStreamReader.h"

namespace KwSDK {

namespace {

const unsigned int kMaxImageBytes = 256u << 20;
const unsigned int kDosMagic = 0x5A4D;         // "MZ"
const unsigned int kPeMagic = 0x00004550;      // "PE\0\0"
const unsigned int kPe32Magic = 0x10B;
const unsigned int kPe32PlusMagic = 0x20B;
const unsigned int kSectionHeaderBytes = 40;
const unsigned int kMaxSections = 96;
// Offsets within the optional header.
const unsigned int kSectionAlignmentField = 32;
const unsigned int kSizeOfImageField = 56;
const unsigned int kChecksumField = 64;
// Data directories.
const unsigned int kResourceDirectory = 2;
const unsigned int kSecurityDirectory = 4;
const unsigned int kRelocationDirectory = 5;
const int kChecksumPiece = 65536;

// Alignments are powers of two; the limits keep sizes rounded up to them
// within what a program file can hold.
const unsigned int kMaxFileAlignment = 0x10000;
const unsigned int kMaxSectionAlignment = 0x100000;

bool IsAlignment(unsigned int value, unsigned int least, unsigned int most)
{
    return value >= least && value <= most && (value & (value - 1)) == 0;
}

unsigned int AlignUp(unsigned long long value, unsigned int alignment)
{
    return static_cast<unsigned int>((value + alignment - 1) / alignment * alignment);
}

// The checksum's running sum of 16-bit words, folded to 16 bits.
unsigned int AddWords(unsigned int sum, const unsigned char* bytes, int count, long long position,
                      long long skipFrom)
{
    for (int i = 0; i + 1 < count; i += 2) {
        long long at = position + i;
        if (at >= skipFrom && at < skipFrom + 4)
            continue;
        sum += bytes[i] | static_cast<unsigned int>(bytes[i + 1]) << 8;
        sum = (sum & 0xFFFF) + (sum >> 16);
    }
    return sum;
}

} // namespace

int CartonPackPe::Fail(const char* reason)
{
    m_strReason = reason;
    return 0;
}

const KwString& CartonPackPe::GetReason() const
{
    return m_strReason;
}

unsigned int CartonPackPe::Get32(size_t at) const
{
    return m_file[at] | static_cast<unsigned int>(m_file[at + 1]) << 8 |
           static_cast<unsigned int>(m_file[at + 2]) << 16 | static_cast<unsigned int>(m_file[at + 3]) << 24;
}

void CartonPackPe::Set32(size_t at, unsigned int value)
{
    for (int i = 0; i < 4; ++i)
        m_file[at + static_cast<size_t>(i)] = static_cast<unsigned char>(value >> (8 * i));
}

int CartonPackPe::Load(const KwString& path)
{
    m_file.clear();
    m_sections.clear();
    m_strReason = "";
    KwFile file(path);
    unsigned int length = file.GetLength();
    KwFileStream in;
    if (!file.IsFile() || length > kMaxImageBytes || !in.Open(path, KW_MODE_READ))
        return Fail("can not read the program file");
    m_file.resize(length);
    if (length > 0 && in.Read(m_file.data(), static_cast<int>(length)) != static_cast<int>(length))
        return Fail("can not read the program file");
    return ParseHeaders(true);
}

int CartonPackPe::LoadImage(const std::vector<unsigned char>& bytes)
{
    m_sections.clear();
    m_strReason = "";
    if (bytes.size() > kMaxImageBytes)
        return Fail("program file is too large");
    m_file = bytes;
    return ParseHeaders(true);
}

int CartonPackPe::Save(const KwString& path)
{
    KwFileStream out;
    int size = static_cast<int>(m_file.size());
    if (!out.Open(path, KW_MODE_WRITE) || out.Write(m_file.data(), size) != size || !out.Close())
        return Fail("can not write the program file");
    return 1;
}

int CartonPackPe::ParseHeaders(bool withSections)
{
    KwBufferStream stream;
    if (!stream.SetData(m_file.data(), static_cast<int>(m_file.size())))
        return Fail("can not read the program file");
    KwStreamReader in(&stream, 0);
    if (in.ReadU16() != kDosMagic || !in.Seek(0x3C))
        return Fail("not a Windows program (no MZ header)");
    unsigned int header = in.ReadU32();
    if (!in.Seek(header) || in.ReadU32() != kPeMagic)
        return Fail("not a Windows program (no PE header)");
    in.Skip(2);
    unsigned int sectionCount = in.ReadU16();
    in.Skip(12);
    unsigned int optionalSize = in.ReadU16();
    in.Skip(2);
    m_nOptionalHeader = static_cast<unsigned int>(in.GetPosition());
    unsigned int magic = in.ReadU16();
    if (!in.Ok() || (magic != kPe32Magic && magic != kPe32PlusMagic) || sectionCount > kMaxSections)
        return Fail("not a Windows program (unknown optional header)");
    unsigned int countField = magic == kPe32Magic ? 92 : 108;
    in.Seek(m_nOptionalHeader + kSectionAlignmentField);
    m_nSectionAlignment = in.ReadU32();
    m_nFileAlignment = in.ReadU32();
    in.Seek(m_nOptionalHeader + countField);
    m_nDirectoryCount = in.ReadU32();
    m_nDirectories = m_nOptionalHeader + countField + 4;
    if (!in.Ok() || m_nDirectoryCount > 16 || countField + 4 + 8ull * m_nDirectoryCount > optionalSize ||
        !IsAlignment(m_nFileAlignment, 1, kMaxFileAlignment) ||
        !IsAlignment(m_nSectionAlignment, m_nFileAlignment, kMaxSectionAlignment) ||
        !in.Seek(m_nOptionalHeader + optionalSize) ||
        !in.CanHold(static_cast<long long>(sectionCount) * kSectionHeaderBytes))
        return Fail("program headers are damaged");
    if (!withSections)
        return 1;
    for (unsigned int i = 0; i < sectionCount; ++i) {
        Section section;
        section.header = m_nOptionalHeader + optionalSize + i * kSectionHeaderBytes;
        in.Seek(section.header + 8);
        section.virtualSize = in.ReadU32();
        section.rva = in.ReadU32();
        section.rawSize = in.ReadU32();
        section.rawOffset = in.ReadU32();
        if (!in.Ok() || section.rawOffset > m_file.size() || section.rawSize > m_file.size() - section.rawOffset)
            return Fail("program section table is damaged");
        m_sections.push_back(section);
    }
    return 1;
}

// File offset of a data directory's entry; 0 when the image has none.
unsigned int CartonPackPe::DirectoryOffset(unsigned int index) const
{
    return index < m_nDirectoryCount ? m_nDirectories + 8 * index : 0;
}

const CartonPackPe::Section* CartonPackPe::SectionOf(unsigned int rva) const
{
    for (const Section& section : m_sections) {
        unsigned int extent = section.virtualSize > section.rawSize ? section.virtualSize : section.rawSize;
        if (rva >= section.rva && rva - section.rva < extent)
            return &section;
    }
    return nullptr;
}

const unsigned char* CartonPackPe::MapRva(void* context, unsigned int rva, unsigned int size)
{
    const CartonPackPe* image = static_cast<const CartonPackPe*>(context);
    const Section* section = image->SectionOf(rva);
    if (!section || rva - section->rva > section->rawSize || size > section->rawSize - (rva - section->rva))
        return nullptr;
    return image->m_file.data() + section->rawOffset + (rva - section->rva);
}

int CartonPackPe::ReadResources(CartonPackResources* resources)
{
    unsigned int entry = DirectoryOffset(kResourceDirectory);
    unsigned int rva = entry ? Get32(entry) : 0;
    const Section* section = rva ? SectionOf(rva) : nullptr;
    std::vector<unsigned char> bytes;
    if (!section)
        return resources->Read(bytes, 0, nullptr, nullptr) || Fail("program resources are damaged");
    const unsigned char* start = m_file.data() + section->rawOffset + (rva - section->rva);
    if (rva - section->rva > section->rawSize)
        return Fail("program resources lie outside the file");
    const unsigned char* end = m_file.data() + section->rawOffset + section->rawSize;
    bytes.assign(start, end);
    if (!resources->Read(bytes, rva, MapRva, this))
        return Fail(resources->GetReason().GetText());
    return 1;
}

int CartonPackPe::WriteResources(const CartonPackResources& resources)
{
    unsigned int entry = DirectoryOffset(kResourceDirectory);
    unsigned int rva = entry ? Get32(entry) : 0;
    const Section* found = rva ? SectionOf(rva) : nullptr;
    if (!found || found->rva != rva)
        return Fail("the launcher has no resource section of its own to rewrite");
    Section resource = *found;
    std::vector<unsigned char> bytes = resources.Build(rva);
    unsigned int rawSize = AlignUp(bytes.size(), m_nFileAlignment);
    unsigned int oldEnd = AlignUp(static_cast<unsigned long long>(resource.rva) + resource.virtualSize,
                                  m_nSectionAlignment);
    unsigned int newEnd = AlignUp(static_cast<unsigned long long>(resource.rva) + bytes.size(), m_nSectionAlignment);
    // Linkers may record the raw size unaligned; the section still takes
    // its aligned extent in the file.
    unsigned int oldSpan = AlignUp(resource.rawSize, m_nFileAlignment);
    if (oldSpan > m_file.size() - resource.rawOffset)
        oldSpan = static_cast<unsigned int>(m_file.size() - resource.rawOffset);
    long long rawDelta = static_cast<long long>(rawSize) - oldSpan;
    long long virtualDelta = static_cast<long long>(newEnd) - oldEnd;
    if (!MoveFollowingSections(resource, rawDelta, virtualDelta))
        return 0;
    unsigned int builtSize = static_cast<unsigned int>(bytes.size());
    bytes.resize(rawSize, 0);
    m_file.erase(m_file.begin() + resource.rawOffset, m_file.begin() + resource.rawOffset + oldSpan);
    m_file.insert(m_file.begin() + resource.rawOffset, bytes.begin(), bytes.end());
    Set32(resource.header + 8, builtSize);
    Set32(resource.header + 16, rawSize);
    Set32(entry + 4, builtSize);
    unsigned int image = Get32(m_nOptionalHeader + kSizeOfImageField);
    Set32(m_nOptionalHeader + kSizeOfImageField, static_cast<unsigned int>(image + virtualDelta));
    return ParseHeaders(true);
}

// Shifts the file offsets of the sections stored behind the resource section
// and, when its memory size changes, the addresses of those mapped behind
// it. Code refers to other sections by address, so only the relocation
// table (found through its directory alone) may move in memory.
int CartonPackPe::MoveFollowingSections(const Section& resource, long long rawDelta, long long virtualDelta)
{
    for (const Section& section : m_sections) {
        if (section.rva > resource.rva && virtualDelta != 0) {
            unsigned int relocation = DirectoryOffset(kRelocationDirectory);
            if (!relocation || Get32(relocation) != section.rva)
                return Fail("the launcher's resource section is followed by sections that can not move");
        }
    }
    for (const Section& section : m_sections) {
        if (section.rawOffset > resource.rawOffset && section.rawSize > 0)
            Set32(section.header + 20, static_cast<unsigned int>(section.rawOffset + rawDelta));
        if (section.rva > resource.rva && virtualDelta != 0) {
            Set32(section.header + 12, static_cast<unsigned int>(section.rva + virtualDelta));
            unsigned int relocation = DirectoryOffset(kRelocationDirectory);
            Set32(relocation, static_cast<unsigned int>(section.rva + virtualDelta));
        }
    }
    return 1;
}

void CartonPackPe::RemoveSignature()
{
    unsigned int entry = DirectoryOffset(kSecurityDirectory);
    if (!entry)
        return;
    unsigned int start = Get32(entry);
    unsigned int size = Get32(entry + 4);
    if (start > 0 && start <= m_file.size() && size == m_file.size() - start)
        m_file.resize(start);
    Set32(entry, 0);
    Set32(entry + 4, 0);
}

int CartonPackPe::UpdateChecksum(const KwString& path, KwString* reason)
{
    CartonPackPe header;
    KwFileStream file;
    if (!file.Open(path, KW_MODE_UPDATE)) {
        *reason = "can not open the program file";
        return 0;
    }
    // The headers lie in the first few kilobytes.
    unsigned char piece[kChecksumPiece];
    int got = file.Read(piece, kChecksumPiece);
    header.m_file.assign(piece, piece + (got > 0 ? got : 0));
    if (!header.ParseHeaders(false))
        return 1;
    long long field = header.m_nOptionalHeader + kChecksumField;
    unsigned int sum = 0;
    long long position = 0;
    int odd = 0;
    unsigned char last = 0;
    while (got > 0) {
        sum = AddWords(sum, piece, got, position, field);
        position += got;
        odd = got % 2;
        last = piece[got - 1];
        got = file.Read(piece, kChecksumPiece);
        if (got > 0 && odd) {
            *reason = "can not read the program file";
            return 0;
        }
    }
    if (odd) {
        sum += last;
        sum = (sum & 0xFFFF) + (sum >> 16);
    }
    unsigned int checksum = static_cast<unsigned int>((sum & 0xFFFF) + position);
    unsigned char bytes[4] = {static_cast<unsigned char>(checksum), static_cast<unsigned char>(checksum >> 8),
                              static_cast<unsigned char>(checksum >> 16),
                              static_cast<unsigned char>(checksum >> 24)};
    if (!file.Seek(static_cast<int>(field), KW_SEEK_SET) || file.Write(bytes, 4) != 4 || !file.Close()) {
        *reason = "can not write the program file";
        return 0;
    }
    return 1;
}

} // namespace KwSDK
