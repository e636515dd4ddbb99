// Libraries planted beside the programs under system libraries' names (the
// Downloads folder case) must never be loaded: the probe shows that such a
// planted copy is found when nothing restricts the search, and that the
// programs' restriction keeps it out.
#include "KwTestSupport.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace {

// version, uxtheme, dwmapi and cryptbase are loaded by system libraries on
// Windows; zlib1 by Wine's own.
const char* const kPlanted[] = {"version.dll", "uxtheme.dll", "dwmapi.dll", "cryptbase.dll",
                                "zlib1.dll"};

class LibraryPlanting : public ::testing::Test {
protected:
    void SetUp() override
    {
        char temp[MAX_PATH];
        ASSERT_NE(0u, GetTempPathA(MAX_PATH, temp));
        m_folder = std::string(temp) + "carton planting " +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name();
        CreateDirectoryA(m_folder.c_str(), nullptr);
        for (const char* name : kPlanted) {
            ASSERT_TRUE(CopyFileA(KwSDK::KwTest::WinePath(CARTON_PLANTED_DLL).c_str(), Path(name).c_str(), FALSE)) << name;
            DeleteFileA((Path(name) + ".loaded").c_str());
        }
    }

    void TearDown() override
    {
        for (const char* name : kPlanted) {
            DeleteFileA(Path(name).c_str());
            DeleteFileA((Path(name) + ".loaded").c_str());
        }
        for (const std::string& program : m_programs)
            DeleteFileA(program.c_str());
        RemoveDirectoryA(m_folder.c_str());
    }

    std::string Path(const std::string& name) const { return m_folder + "\\" + name; }

    // Copies the program into the folder and runs it there, with the
    // folder as its current folder too; answers its exit code.
    long RunCopy(const char* program, const std::string& name, const std::string& arguments)
    {
        std::string copy = Path(name);
        EXPECT_TRUE(CopyFileA(KwSDK::KwTest::WinePath(program).c_str(), copy.c_str(), FALSE)) << program;
        m_programs.push_back(copy);
        HANDLE process = KwSDK::KwTest::StartProgram("\"" + copy + "\" " + arguments, m_folder.c_str());
        return process ? KwSDK::KwTest::FinishProgram(process, 60000) : -2;
    }

    std::vector<std::string> Loaded() const
    {
        std::vector<std::string> loaded;
        for (const char* name : kPlanted) {
            if (GetFileAttributesA((Path(name) + ".loaded").c_str()) != INVALID_FILE_ATTRIBUTES)
                loaded.push_back(name);
        }
        return loaded;
    }

    static std::string AllNames()
    {
        std::string names;
        for (const char* name : kPlanted)
            names += std::string(" ") + name;
        return names;
    }

    std::string m_folder;
    std::vector<std::string> m_programs;
};

TEST_F(LibraryPlanting, UnrestrictedSearchFindsPlantedCopies)
{
    EXPECT_EQ(0, RunCopy(CARTON_LIBRARY_PROBE_EXE, "probe.exe", "open" + AllNames()));
    EXPECT_FALSE(Loaded().empty());
}

TEST_F(LibraryPlanting, RestrictedSearchSkipsPlantedCopies)
{
    EXPECT_EQ(0, RunCopy(CARTON_LIBRARY_PROBE_EXE, "probe.exe", "restrict" + AllNames()));
    EXPECT_EQ(std::vector<std::string>(), Loaded());
}

TEST_F(LibraryPlanting, ProgramsLoadNoPlantedCopy)
{
    EXPECT_EQ(0, RunCopy(CARTON_EXE, "Carton.exe", ""));
    EXPECT_EQ(0, RunCopy(SETUP_EXE, "Setup.exe", ""));
    EXPECT_EQ(std::vector<std::string>(), Loaded());
}

} // namespace
