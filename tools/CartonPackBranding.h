// The vendor's marks on an installer (icon, version and names) as create's
// options, and the preparation of the launcher copy that carries them: the
// launcher file itself is never changed.
#ifndef CARTON_PACK_BRANDING_H
#define CARTON_PACK_BRANDING_H

#include "KwString.h"

namespace KwSDK {

class CartonPackBranding {
public:
    // Takes "--icon", "--version", "--product", "--company" or
    // "--description" with its value at argv[*index] ("--name VALUE" or
    // "--name=VALUE"). Answers 1 and advances *index when it took one, 0
    // when the argument is none of them, -1 when the value is missing.
    int TakeOption(int argc, char** argv, int* index);
    // The option that TakeOption answered -1 for.
    const char* GetMissingOption() const;
    // Checks the values before anything is packed; 0 with GetReason set.
    int CheckValues();
    // Writes the launcher copy that goes in front of the archive: the stub
    // without a signature, with the icon and version resource replaced when
    // they were given. A stub that is no program image is copied as it is,
    // unless marks were asked for.
    int PrepareStub(const KwString& stubPath, const KwString& copyPath);
    // Makes a finished installer ready for signing: its checksum.
    int FinishPackage(const KwString& path);
    const KwString& GetReason() const;

private:
    int Fail(const char* format, ...) KW_FORMAT_CHECK(2, 3);
    int HasMarks() const;
    int HasVersion() const;

    KwString m_strIcon;
    KwString m_strVersion;
    KwString m_strProduct;
    KwString m_strCompany;
    KwString m_strDescription;
    const char* m_pMissing = "";
    KwString m_strReason;
};

} // namespace KwSDK

#endif
