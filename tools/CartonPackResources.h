// The resource tree of a Windows program (type, name, language, data) as
// read from and written to a resource section, with the two changes a vendor
// makes to an installer: its icon group and its version resource.
#ifndef CARTON_PACK_RESOURCES_H
#define CARTON_PACK_RESOURCES_H

#include "KwString.h"

#include <string>
#include <vector>

namespace KwSDK {

class KwStreamReader;

class CartonPackResources {
public:
    static const unsigned int kTypeIcon = 3;
    static const unsigned int kTypeGroupIcon = 14;
    static const unsigned int kTypeVersion = 16;
    static const unsigned int kTypeManifest = 24;

    // A resource type or name: a number (isId), or a UTF-16 text.
    struct Key {
        bool isId = true;
        unsigned int id = 0;
        std::u16string text;
    };
    struct Entry {
        Key type;
        Key name;
        unsigned int language = 0;
        unsigned int codePage = 0;
        std::vector<unsigned char> data;
    };

    // Reads the tree from a resource section's bytes, which the program maps
    // at sectionRva; data may lie elsewhere in the image, so rvaToBytes maps
    // an RVA range to its bytes (null when it is not in the file). Answers 0
    // with GetReason set on a damaged tree.
    typedef const unsigned char* (*RvaMapper)(void* context, unsigned int rva, unsigned int size);
    int Read(const std::vector<unsigned char>& section, unsigned int sectionRva, RvaMapper map,
             void* context);
    // The section bytes for the tree mapped at sectionRva, in the order the
    // loader expects (named entries first, then ids, both ascending).
    std::vector<unsigned char> Build(unsigned int sectionRva) const;

    // Replaces every icon and icon group by the images of an .ico file, in
    // one group that keeps the name and language of the first old group.
    int SetIcon(const std::vector<unsigned char>& icoFile);
    // Replaces the version resource. version is "a.b.c.d" (fewer parts are
    // padded with 0); empty texts are left out.
    int SetVersion(const KwString& version, const KwString& product, const KwString& company,
                   const KwString& description);

    const std::vector<Entry>& GetEntries() const;
    const KwString& GetReason() const;

    // "1.2.3.4" to the four numbers; 0 when it is not such a version.
    static int ParseVersion(const KwString& text, unsigned int parts[4]);

private:
    int Fail(const char* reason);
    int ReadLevel(KwStreamReader* in, unsigned int offset, int depth, Entry* path);
    int ReadKey(KwStreamReader* in, unsigned int field, Key* key);
    int ReadData(KwStreamReader* in, unsigned int offset, Entry* path);
    void RemoveType(unsigned int type, Entry* first);
    unsigned int NextFreeId(unsigned int type) const;

    std::vector<Entry> m_entries;
    KwString m_strReason;
    const std::vector<unsigned char>* m_pSection = nullptr;
    unsigned int m_nSectionRva = 0;
    RvaMapper m_pMap = nullptr;
    void* m_pMapContext = nullptr;
    int m_nDirectories = 0;
    unsigned int m_nDataBytes = 0;  // data read so far, capped
};

} // namespace KwSDK

#endif
