// A Windows program file (PE image) held in memory, as far as carton-pack
// changes it: its resource section, its certificate table and its checksum.
// Portable, so that installers can be branded and prepared for signing on
// any host.
#ifndef CARTON_PACK_PE_H
#define CARTON_PACK_PE_H

#include "KwString.h"

#include <vector>

namespace KwSDK {

class CartonPackResources;

class CartonPackPe {
public:
    // Loads and checks the headers and the section table. 0, with GetReason
    // set, when the file cannot be read or is no program image.
    int Load(const KwString& path);
    // The same for an image already in memory.
    int LoadImage(const std::vector<unsigned char>& bytes);
    int Save(const KwString& path);
    // Reads the resource tree (an empty tree when the program has none).
    int ReadResources(CartonPackResources* resources);
    // Writes the tree into the resource section in place. The sections
    // behind it in the file move with it; when the section's virtual size
    // changes, only a relocation section may follow it in memory.
    int WriteResources(const CartonPackResources& resources);
    // Drops a signature: the certificate table at the file's end is cut off
    // and the security directory is cleared, as a signing tool expects.
    void RemoveSignature();
    const KwString& GetReason() const;

    // Recomputes the checksum field of the program image at path, over the
    // whole file. 0 with *reason set on failure; 1 without change when the
    // file is no program image.
    static int UpdateChecksum(const KwString& path, KwString* reason);

private:
    struct Section {
        unsigned int header;  // file offset of the section header
        unsigned int virtualSize;
        unsigned int rva;
        unsigned int rawSize;
        unsigned int rawOffset;
    };

    int Fail(const char* reason);
    // Reads the headers; withSections also reads and checks the section table.
    int ParseHeaders(bool withSections);
    unsigned int Get32(size_t at) const;
    void Set32(size_t at, unsigned int value);
    unsigned int DirectoryOffset(unsigned int index) const;
    const Section* SectionOf(unsigned int rva) const;
    int MoveFollowingSections(const Section& resource, long long rawDelta, long long virtualDelta);
    static const unsigned char* MapRva(void* context, unsigned int rva, unsigned int size);

    std::vector<unsigned char> m_file;
    std::vector<Section> m_sections;
    unsigned int m_nOptionalHeader = 0;
    unsigned int m_nDirectories = 0;  // file offset of the data directories
    unsigned int m_nDirectoryCount = 0;
    unsigned int m_nFileAlignment = 0;
    unsigned int m_nSectionAlignment = 0;
    KwString m_strReason;
};

} // namespace KwSDK

#endif
