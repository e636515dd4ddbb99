// End-to-end tests of Carton.exe as a user runs it: an installer is packed
// around the probe program, started with CreateProcess, and judged by the
// probe's report and by what the launcher leaves in the temporary folder.
#ifdef _WIN32

#include "../probe/ProbeReport.h"

#include "CartonPackCommands.h"
#include "FILENODE.h"
#include "KwFile.h"
#include "KwFileStream.h"
#include "KwPackageReader.h"
#include "KwPackageWriter.h"
#include "KwParam.h"
#include "KwProperties.h"
#include "KwString.h"
#include "KwTestSupport.h"
#include "KwTime.h"
#include "TKwList.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

using namespace KwSDK;

namespace {

const DWORD kRunLimitMilliseconds = 60000;
const unsigned long long kTicksPerSecond = 10000000ULL;
const char kProbeName[] = "carton_probe.exe";

using KwTest::Exists;
using KwTest::ScopedVariable;
using KwTest::Std;
using KwTest::Str;
using KwTest::WinePath;
using KwTest::WriteFile;

// Starts a program in a chosen current folder.
HANDLE Start(const std::string& commandLine, const std::string& folder)
{
    return KwTest::StartProgram(commandLine, folder.c_str());
}

// The exit code, -1 when the process did not end in time (it is then ended),
// or -2 when it never started.
long Finish(HANDLE process)
{
    return process ? KwTest::FinishProgram(process, kRunLimitMilliseconds) : -2;
}

// The file system reads a doubled backslash as one; compare paths that way.
std::string Collapsed(const std::string& path)
{
    std::string out;
    for (char c : path)
        if (!(c == '\\' && !out.empty() && out.back() == '\\'))
            out += c;
    return out;
}

std::string TempPath()
{
    char buffer[MAX_PATH];
    DWORD length = GetTempPathA(MAX_PATH, buffer);
    return length > 0 && length < MAX_PATH ? std::string(buffer, length) : std::string();
}

std::string CurrentFolder()
{
    char buffer[MAX_PATH];
    DWORD length = GetCurrentDirectoryA(MAX_PATH, buffer);
    return std::string(buffer, length);
}

// Every entry below a folder in the probe's listing form.
KwParam ListingOfFolder(const std::string& folder)
{
    KwParam listing;
    ProbeReport::AddListing(&listing, "", Str(folder), KwString(""));
    return listing;
}

std::string Describe(KwParam& listing)
{
    std::string text;
    for (int more = listing.MoveFirst(); more; more = listing.MoveNext())
        text += Std(listing.GetKey()) + " = " + Std(listing.GetValue()) + "\n";
    return text.empty() ? "(empty)\n" : text;
}

// A scratch folder for one test in the current folder, with a package source
// tree that holds the probe, a file larger than one 10240-byte piece, an empty
// file and nested folders.
class CartonEndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_work = CurrentFolder() + "\\e2e_" + info->name();
        KwFile(Str(m_work)).DeleteTree();
        ASSERT_EQ(1, KwFile(Str(m_work)).MakeFolder());
        m_source = m_work + "\\source";
        ASSERT_EQ(1, KwFile(Str(m_source)).MakeFolder());
        ASSERT_TRUE(CopyFileA(WinePath(CARTON_PROBE_EXE).c_str(), (m_source + "\\" + kProbeName).c_str(), FALSE));
        ASSERT_TRUE(WriteFile(m_source + "\\readme.txt", "Carton end-to-end test\r\n"));
        ASSERT_EQ(1, KwFile(Str(m_source + "\\data")).MakeFolder());
        ASSERT_EQ(1, KwFile(Str(m_source + "\\data\\nested")).MakeFolder());
        std::string payload;
        for (int i = 0; i < 30000; ++i)
            payload += static_cast<char>((i * 7919) >> 3);
        ASSERT_TRUE(WriteFile(m_source + "\\data\\payload.bin", payload));
        ASSERT_TRUE(WriteFile(m_source + "\\data\\empty.txt", ""));
        ASSERT_TRUE(WriteFile(m_source + "\\data\\nested\\deep.txt", "deep"));
    }

    void TearDown() override { KwFile(Str(m_work)).DeleteTree(); }

    // Packs the source tree behind Carton.exe with carton-pack's create command
    // (no wizard package: the package check is skipped).
    std::string Pack(const std::string& name)
    {
        std::string output = m_work + "\\" + name;
        std::vector<std::string> arguments = { "--stub", WinePath(CARTON_EXE), "--run", kProbeName,
                                               "-o",     output,               "--no-check",
                                               m_source };
        std::vector<char*> argv;
        for (std::string& argument : arguments)
            argv.push_back(&argument[0]);
        CartonPackCommands commands(stdout, stderr);
        EXPECT_EQ(0, commands.Create(static_cast<int>(argv.size()), argv.data()));
        return output;
    }

    // A private temporary folder, so that the test can see everything the
    // launcher leaves there.
    std::string MakePrivateTemp()
    {
        std::string temp = m_work + "\\temp";
        EXPECT_EQ(1, KwFile(Str(temp)).MakeFolder());
        return temp;
    }

    // Runs an installer to its end with the probe's report going to name.
    long RunInstaller(const std::string& installer, const std::string& arguments, const std::string& report)
    {
        ScopedVariable reportPath(ProbeReport::kReportVariable, report);
        return Finish(Start("\"" + installer + "\"" + arguments, m_work));
    }

    std::string Report(const char* name) const { return m_work + "\\" + name; }

    static KwProperties LoadReport(const std::string& path)
    {
        KwProperties report;
        EXPECT_EQ(1, report.LoadFile(Str(path))) << path;
        return report;
    }

    // The probe's folder as its module path names it.
    static std::string ProbeFolder(KwProperties& report)
    {
        std::string module = Std(report.GetString(ProbeReport::kModulePath, ""));
        size_t slash = module.rfind('\\');
        return slash == std::string::npos ? std::string() : module.substr(0, slash);
    }

    // The probe saw exactly the packed tree.
    void ExpectPackedTree(KwProperties& report, const char* prefix)
    {
        KwParam expected = ListingOfFolder(m_source);
        KwParam seen = ProbeReport::ListingOf(report, prefix);
        EXPECT_EQ(Describe(expected), Describe(seen));
    }

    std::string m_work;
    std::string m_source;
};

// Name of the last folder level of a path.
std::string LastName(const std::string& path)
{
    size_t slash = path.rfind('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool IsStamp(const std::string& name)
{
    if (name.size() != 14)
        return false;
    for (char c : name)
        if (c < '0' || c > '9')
            return false;
    return true;
}

// The local time that a 14-digit stamp names, as a file time.
unsigned long long StampTime(const std::string& stamp)
{
    auto number = [&](size_t at, size_t count) { return std::stoi(stamp.substr(at, count)); };
    KwTime time(number(0, 4), number(4, 2), number(6, 2), number(8, 2), number(10, 2), number(12, 2));
    return time.ToFileTime();
}

unsigned long long LocalNow()
{
    KwTime* now = KwTime::Now();
    unsigned long long fileTime = now ? now->ToFileTime() : 0;
    if (now)
        now->Release();
    return fileTime;
}

std::string StampAt(unsigned long long fileTime)
{
    KwTime time(static_cast<unsigned int>(fileTime & 0xFFFFFFFFu), static_cast<unsigned int>(fileTime >> 32));
    return Std(time.ToStampString());
}

} // namespace

TEST_F(CartonEndToEnd, RunsTheProgramFromAFreshTimeStampedFolder)
{
    std::string installer = Pack("setup.exe");
    unsigned long long before = LocalNow();
    ASSERT_EQ(0, RunInstaller(installer, "", Report("report.properties")));
    unsigned long long after = LocalNow();

    KwProperties report = LoadReport(Report("report.properties"));
    std::string temp = Std(report.GetString(ProbeReport::kTempPath, ""));
    EXPECT_EQ(TempPath(), temp);
    std::string folder = ProbeFolder(report);
    std::string stamp = LastName(folder);
    ASSERT_TRUE(IsStamp(stamp)) << folder;
    EXPECT_EQ(Collapsed(temp + stamp), Collapsed(folder));
    EXPECT_GE(StampTime(stamp) + 2 * kTicksPerSecond, before);
    EXPECT_LE(StampTime(stamp), after + kTicksPerSecond);

    // Without arguments the program gets its own quoted path and nothing more.
    EXPECT_EQ("\"" + temp + "\\" + stamp + "\\" + kProbeName + "\"",
              Std(report.GetString(ProbeReport::kCommandLine, "")));
    EXPECT_EQ("1", Std(report.GetString(ProbeReport::kArgumentCount, "")));
    // The launcher's current folder is passed on.
    EXPECT_EQ(m_work, Std(report.GetString(ProbeReport::kCurrentFolder, "")));
    ExpectPackedTree(report, ProbeReport::kEntryPrefix);

    // After the launcher has ended nothing of the folder is left.
    EXPECT_FALSE(Exists(temp + stamp));
}

// Arguments given to the launcher reach the program as they were typed, and
// the launcher ends with the program's exit code; without arguments it ends
// with 0 whatever the program answered.
TEST_F(CartonEndToEnd, ArgumentsAndExitCodePassThrough)
{
    std::string installer = Pack("setup.exe");
    const std::string arguments = "/S /D=\"C:\\some folder\\x\" \"/LOG=C:\\a b.txt\" --quiet";
    {
        ScopedVariable exitCode(ProbeReport::kExitVariable, "7");
        EXPECT_EQ(7, RunInstaller(installer, "  " + arguments, Report("report.properties")));
    }
    KwProperties report = LoadReport(Report("report.properties"));
    std::string folder = ProbeFolder(report);
    std::string line = Std(report.GetString(ProbeReport::kCommandLine, ""));
    std::string tail = std::string(kProbeName) + "\" " + arguments;
    ASSERT_GT(line.size(), tail.size());
    EXPECT_EQ(tail, line.substr(line.size() - tail.size())) << line;
    EXPECT_EQ("5", Std(report.GetString(ProbeReport::kArgumentCount, "")));
    const char* expected[] = { "/S", "/D=C:\\some folder\\x", "/LOG=C:\\a b.txt", "--quiet" };
    for (int index = 0; index < 4; ++index)
        EXPECT_EQ(expected[index], Std(report.GetString(KwString(ProbeReport::kArgumentPrefix) + KwString(index + 1), "")));
    EXPECT_FALSE(Exists(folder));

    ScopedVariable exitCode(ProbeReport::kExitVariable, "7");
    EXPECT_EQ(0, RunInstaller(installer, "", Report("plain.properties")));
    KwProperties plain = LoadReport(Report("plain.properties"));
    EXPECT_EQ("1", Std(plain.GetString(ProbeReport::kArgumentCount, "")));
}

// With arguments, a package whose program never ran ends with a failure.
TEST_F(CartonEndToEnd, ArgumentsWithoutAProgramEndWithAFailure)
{
    ASSERT_TRUE(CopyFileA(WinePath(CARTON_EXE).c_str(), (m_work + "\\bare.exe").c_str(), FALSE));
    std::string temp = MakePrivateTemp();
    ScopedVariable tmp("TMP", temp);
    ScopedVariable tempVariable("TEMP", temp);
    EXPECT_EQ(1, RunInstaller(m_work + "\\bare.exe", " /S", Report("report.properties")));
    EXPECT_EQ(0, RunInstaller(m_work + "\\bare.exe", "", Report("report.properties")));
}

TEST_F(CartonEndToEnd, ProgramMissingFromThePackageStartsNothing)
{
    KwPackageWriter writer;
    TKwList<FILENODE> table;
    std::string installer = m_work + "\\setup.exe";
    std::string stream = m_work + "\\contents.bz2";
    ASSERT_EQ(1, writer.BuildTable(Str(m_source), &table));
    ASSERT_EQ(1, writer.CompressContents(Str(m_source), &table, Str(stream)));
    ASSERT_EQ(1, writer.WritePackage(Str(WinePath(CARTON_EXE)), KwString("Setup.exe"), &table, Str(stream),
                                     Str(installer)));
    std::string temp = MakePrivateTemp();
    ScopedVariable tmp("TMP", temp);
    ScopedVariable tempVariable("TEMP", temp);

    EXPECT_EQ(0, RunInstaller(installer, "", Report("report.properties")));
    EXPECT_FALSE(Exists(Report("report.properties")));
    // The tree was extracted and removed again.
    KwParam left = ListingOfFolder(temp);
    EXPECT_EQ("(empty)\n", Describe(left));
}

TEST_F(CartonEndToEnd, CorruptArchivesStartNothing)
{
    std::string packed = Pack("setup.exe");
    std::string bytes;
    {
        KwFileStream stream;
        ASSERT_EQ(1, stream.Open(Str(packed), KW_MODE_READ));
        char chunk[8192];
        int got;
        while ((got = stream.Read(chunk, sizeof chunk)) > 0)
            bytes.append(chunk, static_cast<size_t>(got));
        KwPackageReader reader;
        ASSERT_EQ(1, reader.ReadHeader(&stream));
        ASSERT_LT(reader.GetDataOffset() + 4, bytes.size());
        ASSERT_EQ("BZh9", bytes.substr(reader.GetDataOffset(), 4));
        // A damaged stream header: nothing can be decompressed.
        std::string damaged = bytes;
        damaged.replace(reader.GetDataOffset(), 4, "XXXX");
        ASSERT_TRUE(WriteFile(m_work + "\\damaged.exe", damaged));
    }
    // A download cut short: the trailing offset is gone.
    ASSERT_TRUE(WriteFile(m_work + "\\truncated.exe", bytes.substr(0, bytes.size() / 2 + 1)));
    // The bare launcher carries no archive at all.
    ASSERT_TRUE(CopyFileA(WinePath(CARTON_EXE).c_str(), (m_work + "\\bare.exe").c_str(), FALSE));

    std::string temp = MakePrivateTemp();
    ScopedVariable tmp("TMP", temp);
    ScopedVariable tempVariable("TEMP", temp);
    for (const char* name : { "damaged.exe", "truncated.exe", "bare.exe" }) {
        SCOPED_TRACE(name);
        EXPECT_EQ(0, RunInstaller(m_work + "\\" + name, "", Report("report.properties")));
        EXPECT_FALSE(Exists(Report("report.properties")));
        KwParam left = ListingOfFolder(temp);
        EXPECT_EQ("(empty)\n", Describe(left));
    }
}

TEST_F(CartonEndToEnd, MissingTemporaryFolderStartsNothing)
{
    std::string installer = Pack("setup.exe");
    std::string absent = m_work + "\\absent";
    ScopedVariable tmp("TMP", absent);
    ScopedVariable tempVariable("TEMP", absent);
    EXPECT_EQ(0, RunInstaller(installer, "", Report("report.properties")));
    EXPECT_FALSE(Exists(Report("report.properties")));
    EXPECT_FALSE(Exists(absent));
}

// A folder with the launcher's time stamp that is already there belongs to
// someone else: it is neither used nor removed.
TEST_F(CartonEndToEnd, ExistingTimeStampedFolderIsLeftAlone)
{
    std::string installer = Pack("setup.exe");
    std::string temp = MakePrivateTemp();
    unsigned long long now = LocalNow();
    std::vector<std::string> taken;
    for (int second = -2; second <= 30; ++second) {
        std::string folder = temp + "\\" + StampAt(now + second * kTicksPerSecond);
        ASSERT_EQ(1, KwFile(Str(folder)).MakeFolder());
        ASSERT_TRUE(WriteFile(folder + "\\marker.txt", "another launcher"));
        taken.push_back(folder);
    }
    ScopedVariable tmp("TMP", temp);
    ScopedVariable tempVariable("TEMP", temp);
    ASSERT_EQ(0, RunInstaller(installer, "", Report("report.properties")));

    KwProperties report = LoadReport(Report("report.properties"));
    std::string folder = Collapsed(ProbeFolder(report));
    std::string name = LastName(folder);
    ASSERT_EQ(16u, name.size()) << folder;
    EXPECT_TRUE(IsStamp(name.substr(0, 14))) << folder;
    EXPECT_EQ("_1", name.substr(14));
    EXPECT_TRUE(Exists(temp + "\\" + name.substr(0, 14)));
    ExpectPackedTree(report, ProbeReport::kEntryPrefix);
    EXPECT_FALSE(Exists(folder));
    for (const std::string& other : taken) {
        KwParam listing = ListingOfFolder(other);
        EXPECT_EQ("\\marker.txt = file 16\n", Describe(listing)) << other;
    }
}

// Two installers started at once, most often within the same second: each
// program runs from its own folder, keeps its files while the other launcher
// cleans up, and both folders are gone at the end.
TEST_F(CartonEndToEnd, TwoLaunchersStartedTogether)
{
    std::string installer = Pack("setup.exe");
    std::string temp = MakePrivateTemp();
    ScopedVariable tmp("TMP", temp);
    ScopedVariable tempVariable("TEMP", temp);
    // Start right after a second begins, so that both stamps usually agree.
    unsigned long long start = LocalNow();
    while (LocalNow() == start)
        Sleep(5);

    HANDLE first;
    HANDLE second;
    {
        ScopedVariable report(ProbeReport::kReportVariable, Report("first.properties"));
        ScopedVariable hold(ProbeReport::kHoldVariable, "4000");
        first = Start("\"" + installer + "\"", m_work);
    }
    {
        ScopedVariable report(ProbeReport::kReportVariable, Report("second.properties"));
        ScopedVariable hold(ProbeReport::kHoldVariable, "1000");
        second = Start("\"" + installer + "\"", m_work);
    }
    EXPECT_EQ(0, Finish(second));
    EXPECT_EQ(0, Finish(first));

    KwProperties firstReport = LoadReport(Report("first.properties"));
    KwProperties secondReport = LoadReport(Report("second.properties"));
    std::string firstFolder = Collapsed(ProbeFolder(firstReport));
    std::string secondFolder = Collapsed(ProbeFolder(secondReport));
    EXPECT_NE(firstFolder, secondFolder);
    EXPECT_EQ(Collapsed(temp), firstFolder.substr(0, firstFolder.rfind('\\')));
    EXPECT_EQ(Collapsed(temp), secondFolder.substr(0, secondFolder.rfind('\\')));
    for (KwProperties* report : { &firstReport, &secondReport }) {
        EXPECT_EQ("1", Std(report->GetString(ProbeReport::kHeld, "")));
        ExpectPackedTree(*report, ProbeReport::kEntryPrefix);
        ExpectPackedTree(*report, ProbeReport::kLaterPrefix);
    }
    KwParam left = ListingOfFolder(temp);
    EXPECT_EQ("(empty)\n", Describe(left));
}

#endif
