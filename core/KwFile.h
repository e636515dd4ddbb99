// One path in the file system: questions about it, changes to it, listing.
#ifndef KWSDK_KWFILE_H
#define KWSDK_KWFILE_H

#include "IKwFileFilter.h"
#include "KwObject.h"
#include "KwString.h"
#include "LOGICDRIVERS.h"
#include "TKwList.h"

namespace KwSDK {

class KwTime;
class KwFileStream;

namespace Platform {
struct FileStatus;
}

// Error codes of a file.
const unsigned int KW_FILE_EXISTS = 0xF0000001u;
const unsigned int KW_FILE_PARAM = 0xF0000002u;
const unsigned int KW_FILE_ACCESS = 0xF0000003u;
const unsigned int KW_FILE_NOT_FOUND = 0xF0000004u;
const unsigned int KW_FILE_NO_DESCRIPTORS = 0xF0000005u;
const unsigned int KW_FILE_NAME = 0xF0000006u;
const unsigned int KW_FILE_OPEN_FAIL = 0xF0000007u;
const unsigned int KW_FILE_CLOSE_FAIL = 0xF0000008u;

// The path is used exactly as given; its separator is the backslash on every
// platform. Every operation first clears the error code.
class KwFile : public virtual KwObject {
public:
    KwFile();
    explicit KwFile(const KwString& path);
    explicit KwFile(const char* path);
    KwFile(const KwFile& other);
    KwFile& operator=(const KwFile& other);
    ~KwFile() override;

    unsigned int GetErrorCode() const override;
    const char* GetErrorMessage(unsigned int code) const override;
    // A new file object on the same path, carrying one reference.
    KwFile* Clone() const override;

    virtual int SetPath(const KwString& path);
    virtual int CanRead();
    virtual int CanWrite();
    // Makes an empty file; fails with KW_FILE_EXISTS when the path exists.
    virtual int Create();
    // Removes a file, or a folder that is empty.
    virtual int Delete();
    virtual int Exists();
    virtual KwString GetPath();
    // The part after the last backslash.
    virtual KwString GetName();
    // The part before the last backslash, with a backslash kept after a drive.
    virtual KwString GetFolder();
    // A new KwFile on GetFolder, carrying one reference; null without a folder.
    virtual KwFile* GetFolderFile();
    virtual int IsFolder();
    virtual int IsFile();
    virtual int CanExecute();
    // A new KwTime (UTC) carrying one reference; null when the query fails.
    virtual KwTime* GetModifiedTime();
    // Sizes beyond 32 bits answer 0xFFFFFFFF.
    virtual unsigned int GetLength();
    // The listing forms append the folder's entries (not recursive) in the
    // order the system reports them. Each KwFile added carries one reference
    // that the caller owns.
    virtual int ListFiles(TKwList<KwFile*>* list, IKwFileFilter* filter);
    virtual int ListFiles(TKwList<KwFile*>* list);
    virtual int ListNames(TKwList<KwString>* list, IKwFileFilter* filter);
    virtual int ListNames(TKwList<KwString>* list);
    // Creates one folder level; parents are not created.
    virtual int MakeFolder();
    // Fails, leaving both paths alone, when the new path exists.
    virtual int RenameTo(const KwString& path);
    // Sets the last-write time from the time's fields, taken as UTC.
    virtual int SetModifiedTime(KwTime* time);
    virtual int RefreshMode();
    // 1 makes the file writable, 0 read-only.
    virtual int SetWritable(int writable);
    // A new stream on the path opened in the mode, carrying one reference;
    // null for a folder or when the file cannot be opened.
    virtual KwFileStream* OpenStream(int mode);

    // Removes the folder with everything in it, or the file. Entries that
    // cannot be removed stay, and so do their folders; answers 1 when the path
    // is gone afterwards.
    int DeleteTree();

    // The folder of the running program, carrying one reference.
    static KwFile* GetModuleFolder();
    // The long form of the "ProgramFiles" environment variable, carrying one
    // reference; null when the variable is not set.
    static KwFile* GetProgramFilesFolder();
    // Empties the list and appends every fixed drive with its byte counts.
    static int ListFixedDrives(TKwList<LOGICDRIVERS>* list);

private:
    int SetError(unsigned int code, int result);
    int StatusQuery(Platform::FileStatus* status);
    KwString StatusPath() const;
    const char* PathText() const;
    int ListEntries(TKwList<KwFile*>* files, TKwList<KwString>* names, IKwFileFilter* filter);
    int AddEntry(const KwString& full, TKwList<KwFile*>* files, TKwList<KwString>* names,
                 IKwFileFilter* filter);

    KwString m_strPath;
    unsigned int m_nError;
};

// A flag value for the running Windows version: 1 (Win32s or CE), 4, 32, 8,
// 16, 64, 128, 2048, 256 or 512 (6.0 workstation or server), 1024 (6.1), or 0
// for any other version. Off Windows the answer is always 0.
int GetWindowsVersionCode();

// The flag value of a version record: platform id, major and minor version,
// product type (1 for a workstation).
int WindowsVersionCodeOf(unsigned int platform, unsigned int major, unsigned int minor,
                         unsigned int productType);

} // namespace KwSDK

#endif
