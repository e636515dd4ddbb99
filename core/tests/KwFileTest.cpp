// Tests of KwFile: path parts, status queries, changes, listing, tree
// removal, drives and the version code.
#include "KwFile.h"

#include "KwFileStream.h"
#include "KwTestFolder.h"
#include "KwTime.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace KwSDK {
namespace {

std::set<std::string> NamesOf(TKwList<KwString>& list)
{
    std::set<std::string> names;
    for (int more = list.MoveFirst(); more; more = list.MoveNext())
        names.insert(list.GetAt()->GetText());
    return names;
}

// Releases every file of a listing and answers their paths.
std::set<std::string> TakePaths(TKwList<KwFile*>& list)
{
    std::set<std::string> paths;
    for (int more = list.MoveFirst(); more; more = list.MoveNext()) {
        KwFile* file = *list.GetAt();
        paths.insert(file->GetPath().GetText());
        EXPECT_EQ(0, file->Release());
    }
    list.RemoveAll();
    return paths;
}

class ExtensionFilter : public IKwFileFilter {
public:
    explicit ExtensionFilter(const char* extension) : m_extension(extension) {}
    int Accept(const KwString& path) override
    {
        std::string text = path.GetText();
        return text.size() >= m_extension.size() &&
               text.compare(text.size() - m_extension.size(), m_extension.size(), m_extension) == 0;
    }

private:
    std::string m_extension;
};

TEST(KwFileErrors, TextsForEveryCode)
{
    KwFile file;
    EXPECT_STREQ("Success", file.GetErrorMessage(0));
    EXPECT_STREQ("File exis", file.GetErrorMessage(0xF0000001u));
    EXPECT_STREQ("Paramater is wrong", file.GetErrorMessage(0xF0000002u));
    EXPECT_STREQ("Access denied: file's permission setting does not allow specified access",
                 file.GetErrorMessage(0xF0000003u));
    EXPECT_STREQ("Filename or path not found", file.GetErrorMessage(0xF0000004u));
    EXPECT_STREQ("No more file descriptors are available", file.GetErrorMessage(0xF0000005u));
    EXPECT_STREQ("File name error", file.GetErrorMessage(0xF0000006u));
    EXPECT_STREQ("Open file fail", file.GetErrorMessage(0xF0000007u));
    EXPECT_STREQ("Close file fail", file.GetErrorMessage(0xF0000008u));
    EXPECT_STREQ("Success", file.GetErrorMessage(0xF0000009u));
    EXPECT_STREQ("Success", file.GetErrorMessage(12345));
    EXPECT_STREQ("KwObject.KwFile", file.GetTypeName());
}

TEST(KwFilePathParts, NameAndFolder)
{
    KwFile onDrive("C:\\setup.exe");
    EXPECT_TRUE(onDrive.GetFolder() == "C:\\");
    EXPECT_TRUE(onDrive.GetName() == "setup.exe");
    EXPECT_EQ(0u, onDrive.GetErrorCode());

    KwFile nested("C:\\Program Files\\Brindle\\viewer.exe");
    EXPECT_TRUE(nested.GetFolder() == "C:\\Program Files\\Brindle");
    EXPECT_TRUE(nested.GetName() == "viewer.exe");

    KwFile trailing("C:\\Temp\\");
    EXPECT_TRUE(trailing.GetName() == "");
    EXPECT_TRUE(trailing.GetFolder() == "C:\\Temp");
}

TEST(KwFilePathParts, NoBackslashIsANameError)
{
    KwFile bare("setup.exe");
    EXPECT_TRUE(bare.GetName() == "");
    EXPECT_EQ(0xF0000006u, bare.GetErrorCode());
    EXPECT_TRUE(bare.GetFolder() == "");
    EXPECT_EQ(0xF0000006u, bare.GetErrorCode());
    EXPECT_EQ(nullptr, bare.GetFolderFile());
    EXPECT_EQ(0xF0000006u, bare.GetErrorCode());
    // The next operation clears the code.
    EXPECT_TRUE(bare.GetPath() == "setup.exe");
    EXPECT_EQ(0u, bare.GetErrorCode());
}

TEST(KwFilePathParts, FolderFileCarriesOneReference)
{
    KwFile file("C:\\dir\\a.txt");
    KwFile* folder = file.GetFolderFile();
    ASSERT_NE(nullptr, folder);
    EXPECT_TRUE(folder->GetPath() == "C:\\dir");
    EXPECT_EQ(0, folder->Release());
}

TEST(KwFileStatus, FolderAndFileQueries)
{
    KwTestFolder dir;
    KwString filePath = dir.Write("data.bin", "12345", 5);

    KwFile folder(dir.Path());
    KwFile slashed(dir.Path() + "\\");
    EXPECT_EQ(1, folder.IsFolder());
    EXPECT_EQ(1, slashed.IsFolder());
    EXPECT_EQ(0, folder.IsFile());
    EXPECT_EQ(1, folder.Exists());

    KwFile file(filePath);
    EXPECT_EQ(1, file.IsFile());
    EXPECT_EQ(0, file.IsFolder());
    EXPECT_EQ(0u, file.GetErrorCode());
    EXPECT_EQ(5u, file.GetLength());
    EXPECT_EQ(1, file.CanRead());
    EXPECT_EQ(1, file.CanWrite());
    EXPECT_EQ(0, file.CanExecute());
}

TEST(KwFileStatus, MissingPathFailsWithNotFound)
{
    KwTestFolder dir;
    KwFile missing(dir.Path("absent"));
    EXPECT_EQ(0, missing.Exists());
    EXPECT_EQ(0, missing.IsFolder());
    EXPECT_EQ(0xF0000004u, missing.GetErrorCode());
    EXPECT_EQ(0, missing.IsFile());
    EXPECT_EQ(0xF0000004u, missing.GetErrorCode());
    EXPECT_EQ(0u, missing.GetLength());
    EXPECT_EQ(0xF0000004u, missing.GetErrorCode());
    EXPECT_EQ(0, missing.CanExecute());
    EXPECT_EQ(0xF0000004u, missing.GetErrorCode());
    EXPECT_EQ(nullptr, missing.GetModifiedTime());
    EXPECT_EQ(0xF0000004u, missing.GetErrorCode());
    EXPECT_EQ(0, missing.RefreshMode());
    EXPECT_EQ(0xF0000004u, missing.GetErrorCode());
    EXPECT_EQ(0, missing.SetWritable(1));
    EXPECT_EQ(0xF0000004u, missing.GetErrorCode());
    EXPECT_EQ(0, missing.CanRead());
}

#ifdef _WIN32
TEST(KwFileStatus, BareDriveMeansItsRoot)
{
    KwFile bare("C:");
    KwFile root("C:\\");
    EXPECT_EQ(1, bare.IsFolder());
    EXPECT_EQ(1, root.IsFolder());
}

TEST(KwFileStatus, ProgramFilesAreExecutable)
{
    KwTestFolder dir;
    KwFile program(dir.Write("tool.exe", "MZ", 2));
    EXPECT_EQ(1, program.CanExecute());
}
#endif

TEST(KwFileChanges, CreateRefusesAnExistingFile)
{
    KwTestFolder dir;
    KwString path = dir.Write("keep.txt", "precious", 8);
    KwFile file(path);
    EXPECT_EQ(0, file.Create());
    EXPECT_EQ(0xF0000001u, file.GetErrorCode());
    EXPECT_TRUE(KwTestFolder::Read(path) == "precious");

    KwFile fresh(dir.Path("new.txt"));
    EXPECT_EQ(1, fresh.Create());
    EXPECT_EQ(1, fresh.IsFile());
    EXPECT_EQ(0u, fresh.GetLength());
    EXPECT_EQ(1, fresh.CanWrite());
}

TEST(KwFileChanges, CreateInMissingFolderFails)
{
    KwTestFolder dir;
    KwFile file(dir.Path("no\\such\\file.txt"));
    EXPECT_EQ(0, file.Create());
    EXPECT_NE(0u, file.GetErrorCode());
}

TEST(KwFileChanges, DeleteFilesAndEmptyFolders)
{
    KwTestFolder dir;
    KwFile file(dir.Write("a.txt", "a", 1));
    EXPECT_EQ(1, file.Delete());
    EXPECT_EQ(0, file.Exists());
    EXPECT_EQ(0, file.Delete());

    KwFile sub(dir.Path("sub"));
    EXPECT_EQ(1, sub.MakeFolder());
    dir.Write("sub\\inner.txt", "x", 1);
    EXPECT_EQ(0, sub.Delete());
    EXPECT_EQ(1, sub.IsFolder());
    KwFile inner(dir.Path("sub\\inner.txt"));
    EXPECT_EQ(1, inner.Delete());
    EXPECT_EQ(1, sub.Delete());
    EXPECT_EQ(0, sub.Exists());
}

TEST(KwFileChanges, ReadOnlyFileNeedsSetWritableBeforeDelete)
{
    KwTestFolder dir;
    KwFile file(dir.Write("locked.txt", "x", 1));
    EXPECT_EQ(1, file.SetWritable(0));
    EXPECT_EQ(0, file.CanWrite());
    EXPECT_EQ(1, file.CanRead());
    EXPECT_EQ(0, file.Delete());
    EXPECT_EQ(1, file.Exists());
    EXPECT_EQ(1, file.RefreshMode());
    EXPECT_EQ(0, file.CanWrite());
    EXPECT_EQ(1, file.SetWritable(1));
    EXPECT_EQ(1, file.CanWrite());
    EXPECT_EQ(1, file.Delete());
}

TEST(KwFileChanges, MakeFolderCreatesOneLevelOnly)
{
    KwTestFolder dir;
    KwFile deep(dir.Path("a\\b"));
    EXPECT_EQ(0, deep.MakeFolder());
    EXPECT_EQ(0xF0000004u, deep.GetErrorCode());
    KwFile level(dir.Path("a"));
    EXPECT_EQ(1, level.MakeFolder());
    EXPECT_EQ(1, deep.MakeFolder());
    EXPECT_EQ(1, deep.IsFolder());
    EXPECT_EQ(0, deep.MakeFolder());
    EXPECT_EQ(0xF0000004u, deep.GetErrorCode());
}

TEST(KwFileChanges, RenameNeverReplacesAnExistingFile)
{
    KwTestFolder dir;
    KwFile source(dir.Write("from.txt", "from", 4));
    dir.Write("to.txt", "to", 2);
    EXPECT_EQ(0, source.RenameTo(dir.Path("to.txt")));
    EXPECT_EQ(0xF0000004u, source.GetErrorCode());
    EXPECT_TRUE(KwTestFolder::Read(dir.Path("to.txt")) == "to");
    EXPECT_TRUE(KwTestFolder::Read(dir.Path("from.txt")) == "from");

    EXPECT_EQ(1, source.RenameTo(dir.Path("moved.txt")));
    EXPECT_TRUE(KwTestFolder::Read(dir.Path("moved.txt")) == "from");
    EXPECT_EQ(0, source.Exists());
}

TEST(KwFileTimes, ModifiedTimeRoundTrip)
{
    KwTestFolder dir;
    KwFile file(dir.Write("t.txt", "t", 1));
    // A time on the caller's stack must survive the call untouched.
    KwTime when(2008, 3, 7, 9, 5, 1);
    EXPECT_EQ(1, file.SetModifiedTime(&when));
    EXPECT_EQ(2008, when.GetYear());

    KwTime* read = file.GetModifiedTime();
    ASSERT_NE(nullptr, read);
    EXPECT_TRUE(read->ToString() == "2008-03-07 09:05:01");
    EXPECT_EQ(0, read->Release());
}

TEST(KwFileTimes, SetModifiedTimeFailures)
{
    KwTestFolder dir;
    KwFile file(dir.Write("t.txt", "t", 1));
    EXPECT_EQ(0, file.SetModifiedTime(nullptr));
    EXPECT_EQ(0xF0000002u, file.GetErrorCode());
    KwTime invalid;  // month 0 is no date
    EXPECT_EQ(0, file.SetModifiedTime(&invalid));
    EXPECT_EQ(0xF0000002u, file.GetErrorCode());

    KwTime when(2010, 1, 2, 3, 4, 5);
    KwFile missing(dir.Path("absent.txt"));
    EXPECT_EQ(0, missing.SetModifiedTime(&when));
    EXPECT_EQ(0xF0000007u, missing.GetErrorCode());
}

TEST(KwFileStreams, OpenStreamOnFilesOnly)
{
    KwTestFolder dir;
    KwFile folder(dir.Path());
    EXPECT_EQ(nullptr, folder.OpenStream(KW_MODE_READ));

    KwFile file(dir.Path("s.bin"));
    EXPECT_EQ(nullptr, file.OpenStream(KW_MODE_READ));
    EXPECT_EQ(0xF0000007u, file.GetErrorCode());

    KwFileStream* stream = file.OpenStream(KW_MODE_WRITE);
    ASSERT_NE(nullptr, stream);
    EXPECT_EQ(0u, file.GetErrorCode());
    EXPECT_EQ(1, stream->WriteString("abc"));
    EXPECT_EQ(1, stream->Close());
    EXPECT_EQ(0, stream->Release());
    EXPECT_EQ(4u, file.GetLength());
}

TEST(KwFileListing, NamesAreFullPathsOfEveryEntry)
{
    KwTestFolder dir;
    dir.Write("a.txt", "a", 1);
    dir.Write("b.dat", "b", 1);
    KwFile(dir.Path("sub")).MakeFolder();
    dir.Write("sub\\deep.txt", "d", 1);

    std::string base = dir.Path().GetText();
    std::set<std::string> expected = {base + "\\a.txt", base + "\\b.dat", base + "\\sub"};
    TKwList<KwString> names;
    KwFile folder(dir.Path());
    EXPECT_EQ(1, folder.ListNames(&names));
    EXPECT_EQ(expected, NamesOf(names));

    // A trailing backslash is not doubled.
    TKwList<KwString> again;
    KwFile slashed(dir.Path() + "\\");
    EXPECT_EQ(1, slashed.ListNames(&again));
    EXPECT_EQ(expected, NamesOf(again));
}

TEST(KwFileListing, FilesCarryReferencesAndFilterSelects)
{
    KwTestFolder dir;
    dir.Write("a.txt", "a", 1);
    dir.Write("b.dat", "b", 1);
    dir.Write("c.txt", "c", 1);
    std::string base = dir.Path().GetText();
    KwFile folder(dir.Path());

    TKwList<KwFile*> files;
    ExtensionFilter txt(".txt");
    EXPECT_EQ(1, folder.ListFiles(&files, &txt));
    std::set<std::string> expected = {base + "\\a.txt", base + "\\c.txt"};
    EXPECT_EQ(expected, TakePaths(files));

    TKwList<KwString> names;
    ExtensionFilter dat(".dat");
    EXPECT_EQ(1, folder.ListNames(&names, &dat));
    EXPECT_EQ(std::set<std::string>{base + "\\b.dat"}, NamesOf(names));

    EXPECT_EQ(1, folder.ListFiles(&files));
    EXPECT_EQ(3u, TakePaths(files).size());
}

TEST(KwFileListing, RefusesNullListsAndNonFolders)
{
    KwTestFolder dir;
    KwFile folder(dir.Path());
    EXPECT_EQ(0, folder.ListNames(nullptr));
    EXPECT_EQ(0xF0000002u, folder.GetErrorCode());
    EXPECT_EQ(0, folder.ListFiles(nullptr));
    EXPECT_EQ(0xF0000002u, folder.GetErrorCode());

    TKwList<KwString> names;
    KwFile file(dir.Write("f.txt", "f", 1));
    EXPECT_EQ(0, file.ListNames(&names));
    KwFile missing(dir.Path("missing"));
    EXPECT_EQ(0, missing.ListNames(&names));
    EXPECT_EQ(0, names.GetCount());

    TKwList<KwString> empty;
    EXPECT_EQ(1, folder.ListNames(&empty));
    EXPECT_EQ(1, empty.GetCount());
}

#ifdef _WIN32
// A folder given in its short form lists its entries as long paths.
TEST(KwFileListing, ShortFolderListsLongPaths)
{
    KwTestFolder dir;
    KwFile(dir.Path("Long Folder Name")).MakeFolder();
    dir.Write("Long Folder Name\\Long File Name.txt", "x", 1);
    std::string longFolder = dir.Path("Long Folder Name").GetText();
    char shortFolder[MAX_PATH] = {0};
    ASSERT_GT(GetShortPathNameA(longFolder.c_str(), shortFolder, sizeof shortFolder), 0u);
    ASSERT_NE(longFolder, std::string(shortFolder));

    TKwList<KwString> names;
    EXPECT_EQ(1, KwFile(shortFolder).ListNames(&names));
    char longBase[MAX_PATH] = {0};
    ASSERT_GT(GetLongPathNameA(longFolder.c_str(), longBase, sizeof longBase), 0u);
    EXPECT_EQ(std::set<std::string>{std::string(longBase) + "\\Long File Name.txt"}, NamesOf(names));
}
#endif

TEST(KwFileTree, DeleteTreeRemovesNestedFolders)
{
    KwTestFolder dir;
    KwFile(dir.Path("t")).MakeFolder();
    KwFile(dir.Path("t\\x")).MakeFolder();
    KwFile(dir.Path("t\\x\\y")).MakeFolder();
    KwFile(dir.Path("t\\empty")).MakeFolder();
    dir.Write("t\\1.txt", "1", 1);
    dir.Write("t\\x\\2.txt", "2", 1);
    dir.Write("t\\x\\y\\3.txt", "3", 1);

    KwFile tree(dir.Path("t"));
    EXPECT_EQ(1, tree.DeleteTree());
    EXPECT_EQ(0, tree.Exists());
    EXPECT_EQ(1, KwFile(dir.Path()).IsFolder());
}

TEST(KwFileTree, UndeletableFileKeepsItsFolders)
{
    KwTestFolder dir;
    KwFile(dir.Path("t")).MakeFolder();
    KwFile(dir.Path("t\\x")).MakeFolder();
    dir.Write("t\\gone.txt", "g", 1);
    KwFile locked(dir.Write("t\\x\\locked.txt", "l", 1));
    locked.SetWritable(0);

    KwFile tree(dir.Path("t"));
    EXPECT_EQ(0, tree.DeleteTree());
    EXPECT_EQ(1, locked.Exists());
    EXPECT_EQ(0, KwFile(dir.Path("t\\gone.txt")).Exists());
    locked.SetWritable(1);
    EXPECT_EQ(1, tree.DeleteTree());
}

#ifndef _WIN32
TEST(KwFileTree, DeleteTreeDoesNotFollowLinks)
{
    KwTestFolder dir;
    KwFile(dir.Path("outside")).MakeFolder();
    dir.Write("outside\\kept.txt", "k", 1);
    KwFile(dir.Path("t")).MakeFolder();
    std::string target = std::string("../outside");
    std::string link = std::string(dir.Path().GetText()) + "/t/link";
    ASSERT_EQ(0, symlink(target.c_str(), link.c_str()));

    EXPECT_EQ(1, KwFile(dir.Path("t")).DeleteTree());
    EXPECT_TRUE(KwTestFolder::Read(dir.Path("outside\\kept.txt")) == "k");
}
#endif

TEST(KwFileSystem, ModuleFolderHoldsTheProgram)
{
    KwFile* folder = KwFile::GetModuleFolder();
    ASSERT_NE(nullptr, folder);
    EXPECT_EQ(1, folder->IsFolder());
    KwString path = folder->GetPath();
    EXPECT_NE('\\', path.GetText()[path.GetLength() - 1]);
    TKwList<KwString> names;
    EXPECT_EQ(1, folder->ListNames(&names));
    EXPECT_GT(names.GetCount(), 0);
    EXPECT_EQ(0, folder->Release());
}

TEST(KwFileSystem, ProgramFilesFollowsTheEnvironment)
{
    KwFile* folder = KwFile::GetProgramFilesFolder();
    if (!getenv("ProgramFiles")) {
        EXPECT_EQ(nullptr, folder);
        return;
    }
    ASSERT_NE(nullptr, folder);
    EXPECT_GT(folder->GetPath().GetLength(), 0);
    EXPECT_EQ(0, folder->Release());
}

TEST(KwFileSystem, FixedDrivesHaveSpace)
{
    TKwList<LOGICDRIVERS> drives;
    LOGICDRIVERS stale = {};
    drives.AddTail(stale);
    EXPECT_EQ(1, KwFile::ListFixedDrives(&drives));
    ASSERT_GT(drives.GetCount(), 0);
    for (int more = drives.MoveFirst(); more; more = drives.MoveNext()) {
        const LOGICDRIVERS* drive = drives.GetAt();
        EXPECT_GT(strlen(drive->szRoot), 0u);
        EXPECT_LT(strlen(drive->szRoot), sizeof drive->szRoot);
        EXPECT_EQ(3u, drive->nType);
        EXPECT_GT(drive->nTotal, 0u);
        EXPECT_LE(drive->nFree, drive->nTotal);
    }
    EXPECT_EQ(0, KwFile::ListFixedDrives(nullptr));
}

TEST(KwFileSystem, VersionCodeTable)
{
    EXPECT_EQ(1, WindowsVersionCodeOf(0, 3, 10, 0));
    EXPECT_EQ(1, WindowsVersionCodeOf(3, 5, 0, 0));
    EXPECT_EQ(4, WindowsVersionCodeOf(1, 4, 0, 0));
    EXPECT_EQ(32, WindowsVersionCodeOf(2, 4, 0, 1));
    EXPECT_EQ(8, WindowsVersionCodeOf(1, 4, 10, 0));
    EXPECT_EQ(16, WindowsVersionCodeOf(1, 4, 90, 0));
    EXPECT_EQ(64, WindowsVersionCodeOf(2, 5, 0, 1));
    EXPECT_EQ(128, WindowsVersionCodeOf(2, 5, 1, 1));
    EXPECT_EQ(2048, WindowsVersionCodeOf(2, 5, 2, 3));
    EXPECT_EQ(256, WindowsVersionCodeOf(2, 6, 0, 1));
    EXPECT_EQ(512, WindowsVersionCodeOf(2, 6, 0, 3));
    EXPECT_EQ(1024, WindowsVersionCodeOf(2, 6, 1, 1));
    EXPECT_EQ(0, WindowsVersionCodeOf(2, 6, 2, 1));
    EXPECT_EQ(0, WindowsVersionCodeOf(2, 10, 0, 1));
}

TEST(KwFileSystem, RunningVersionCode)
{
    int code = GetWindowsVersionCode();
#ifdef _WIN32
    const std::set<int> known = {0, 1, 4, 8, 16, 32, 64, 128, 256, 512, 1024, 2048};
    EXPECT_EQ(1u, known.count(code));
#else
    EXPECT_EQ(0, code);
#endif
}

// Run under the Chinese code page: names hold GBK double-byte characters.
TEST(KwFileCp936, GbkNameCreatedListedAndRemoved)
{
    ASSERT_TRUE(KwTest::UsesChineseCodePage());
    const char* name = "\xD6\xD0\xCE\xC4.txt";
    KwTestFolder dir;
    KwFile file(dir.Path(name));
    EXPECT_EQ(1, file.Create());
    EXPECT_EQ(1, file.IsFile());
    EXPECT_TRUE(file.GetName() == name);

    TKwList<KwString> names;
    EXPECT_EQ(1, KwFile(dir.Path()).ListNames(&names));
    std::string expected = std::string(dir.Path().GetText()) + "\\" + name;
    EXPECT_EQ(std::set<std::string>{expected}, NamesOf(names));

    KwFile listed(*names.GetAt());
    EXPECT_EQ(1, listed.Delete());
    EXPECT_EQ(0, file.Exists());
#ifndef _WIN32
    setlocale(LC_ALL, "C");
#endif
}

} // namespace
} // namespace KwSDK
