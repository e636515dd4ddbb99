// Checks a package folder before it is packed: everything the wizard reads
// from it is there, readable and consistent. Every problem is collected, so
// that one run names them all.
#ifndef CARTON_PACKAGE_CHECK_H
#define CARTON_PACKAGE_CHECK_H

#include "FILENODE.h"
#include "KwProperties.h"
#include "KwString.h"
#include "TKwList.h"

namespace KwSDK {

class CartonPackageCheck {
public:
    // The code page that the wizard's system is assumed to use.
    static const unsigned int kDefaultCodePage = 936;

    CartonPackageCheck();

    // The code page in which every name and text must be valid.
    void SetCodePage(unsigned int codePage);
    // The program that the launcher starts, relative to the folder
    // ("Setup.exe" unless set).
    void SetProgram(const KwString& program);
    // Checks the folder; answers the number of problems found.
    int Check(const KwString& folder);
    // One line per problem, in the order found.
    TKwList<KwString>* GetProblems();

    // The keys that the wizard reads from both properties files.
    static const char* const kKeys[];
    static const int kKeyCount;

    // One picture key with the size at which the wizard shows it.
    struct Picture;

private:
    void Problem(const char* format, ...) KW_FORMAT_CHECK(2, 3);
    KwString Path(const KwString& relative);
    void BuildTable();
    KwString Printable(const KwString& text) const;
    void CheckText(const KwString& where, const KwString& text);
    int ReadWholeFile(const KwString& relative, KwString* bytes);
    void LoadTable(int index);
    void CheckKeys(int index);
    void CheckValues(int index);
    void CheckSameProductKeys();
    void CheckLicences();
    void CheckPictures();
    void CheckPicture(int index, const Picture& picture, TKwList<KwString>* seen);
    void CheckProgram();
    void CheckRegistryScript();
    void CheckPayload();
    void CheckNames();
    KwString Value(const char* key) const;

    KwString m_strFolder;
    KwString m_strProgram;
    unsigned int m_nCodePage;
    int m_bCodePageKnown;
    KwProperties m_tables[2];
    int m_bLoaded[2];
    int m_bUtf8File[2];
    TKwList<KwString> m_problems;
    TKwList<FILENODE> m_table;
    int m_bTableBuilt;
    KwString m_strTableError;
};

} // namespace KwSDK

#endif
