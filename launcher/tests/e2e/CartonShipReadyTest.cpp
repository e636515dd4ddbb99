// What a vendor ships: the programs' manifests as the system reads them, and
// an installer made with the vendor's icon and version, read back through
// the resource and version interfaces and then run.
#ifdef _WIN32

#include "../probe/ProbeReport.h"

#include "CartonPackCommands.h"
#include "KwFile.h"
#include "KwProperties.h"
#include "KwTestSupport.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

using namespace KwSDK;

namespace {

using KwTest::ScopedVariable;
using KwTest::Str;
using KwTest::WinePath;
using KwTest::WriteFile;

const char* const kSupportedSystems[] = {
    "{e2011457-1546-43c5-a5fe-008deee3d3f0}", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
    "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",
    "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"};

// A program file's resource, read as the system reads it; empty when absent.
std::string LoadResourceBytes(const std::string& path, LPCSTR type, LPCSTR name)
{
    HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module)
        return std::string();
    std::string bytes;
    HRSRC found = FindResourceA(module, name, type);
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    if (loaded)
        bytes.assign(static_cast<const char*>(LockResource(loaded)), SizeofResource(module, found));
    FreeLibrary(module);
    return bytes;
}

// 1 when every element is closed in order, quotes inside tags pair up and
// there is one root element: enough to catch a manifest the loader refuses.
bool IsWellFormed(const std::string& xml)
{
    std::vector<std::string> open;
    int roots = 0;
    size_t at = 0;
    while ((at = xml.find('<', at)) != std::string::npos) {
        size_t end = std::string::npos;
        if (xml.compare(at, 4, "<!--") == 0) {
            end = xml.find("-->", at);
            at = end == std::string::npos ? end : end + 3;
            if (end == std::string::npos)
                return false;
            continue;
        }
        char quote = 0;
        for (end = at + 1; end < xml.size() && (quote || xml[end] != '>'); ++end) {
            if (xml[end] == '"' || xml[end] == '\'')
                quote = quote == xml[end] ? 0 : (quote ? quote : xml[end]);
        }
        if (end >= xml.size())
            return false;
        std::string tag = xml.substr(at + 1, end - at - 1);
        at = end + 1;
        if (tag[0] == '?')
            continue;
        std::string name = tag.substr(tag[0] == '/' ? 1 : 0, tag.find_first_of(" \t\r\n/", 1) - (tag[0] == '/' ? 1 : 0));
        if (tag[0] == '/') {
            if (open.empty() || open.back() != name)
                return false;
            open.pop_back();
        } else if (tag.back() != '/') {
            roots += open.empty() ? 1 : 0;
            open.push_back(name);
        }
    }
    return open.empty() && roots == 1;
}

std::string ManifestOf(const std::string& path)
{
    return LoadResourceBytes(path, MAKEINTRESOURCEA(24), MAKEINTRESOURCEA(1));
}

void ExpectManifest(const std::string& manifest, const char* level, const std::string& what)
{
    ASSERT_FALSE(manifest.empty()) << what << " has no manifest";
    EXPECT_EQ(0u, manifest.find("<?xml")) << what;
    EXPECT_TRUE(IsWellFormed(manifest)) << what << "\n" << manifest;
    EXPECT_NE(std::string::npos, manifest.find(std::string("level=\"") + level + "\"")) << what;
    for (const char* system : kSupportedSystems)
        EXPECT_NE(std::string::npos, manifest.find(system)) << what << " lacks " << system;
}

// The vendor's test icon: a 32x32 image whose colours change with x and y
// and a plain 16x16 one, both 32-bit and fully opaque.
unsigned int PatternPixel(int x, int y)
{
    return 0xFF000000u | static_cast<unsigned int>(x * 8) << 16 | static_cast<unsigned int>(y * 8) << 8 | 0x40;
}

void AppendU32(std::string* out, unsigned int value)
{
    for (int i = 0; i < 4; ++i)
        *out += static_cast<char>(value >> (8 * i));
}

void AppendU16(std::string* out, unsigned int value)
{
    *out += static_cast<char>(value);
    *out += static_cast<char>(value >> 8);
}

std::string IconImage(int size, bool pattern)
{
    std::string image;
    AppendU32(&image, 40);
    AppendU32(&image, static_cast<unsigned int>(size));
    AppendU32(&image, static_cast<unsigned int>(size * 2));
    AppendU16(&image, 1);
    AppendU16(&image, 32);
    for (int i = 0; i < 6; ++i)
        AppendU32(&image, 0);
    for (int row = size - 1; row >= 0; --row) {
        for (int x = 0; x < size; ++x)
            AppendU32(&image, pattern ? PatternPixel(x, row) : 0xFF2040C0u);
    }
    image.append(static_cast<size_t>(size * size / 8), '\0');
    return image;
}

std::string IconFile()
{
    std::string images[2] = {IconImage(32, true), IconImage(16, false)};
    std::string file;
    AppendU16(&file, 0);
    AppendU16(&file, 1);
    AppendU16(&file, 2);
    unsigned int offset = 6 + 2 * 16;
    for (int i = 0; i < 2; ++i) {
        int size = i == 0 ? 32 : 16;
        file += static_cast<char>(size);
        file += static_cast<char>(size);
        AppendU16(&file, 0);
        AppendU16(&file, 1);
        AppendU16(&file, 32);
        AppendU32(&file, static_cast<unsigned int>(images[i].size()));
        AppendU32(&file, offset);
        offset += static_cast<unsigned int>(images[i].size());
    }
    return file + images[0] + images[1];
}

// Draws the program's 32x32 icon as the shell would pick it from the group
// and answers its pixels, top row first, as 0xAARRGGBB on black.
std::vector<unsigned int> DrawProgramIcon(const std::string& path, int* imageCount)
{
    std::string group = LoadResourceBytes(path, MAKEINTRESOURCEA(14), MAKEINTRESOURCEA(1));
    std::vector<unsigned int> pixels;
    if (group.size() < 6)
        return pixels;
    *imageCount = static_cast<unsigned char>(group[4]) | static_cast<unsigned char>(group[5]) << 8;
    int id = LookupIconIdFromDirectoryEx(reinterpret_cast<PBYTE>(&group[0]), TRUE, 32, 32, LR_DEFAULTCOLOR);
    std::string image = LoadResourceBytes(path, MAKEINTRESOURCEA(3), MAKEINTRESOURCEA(id));
    if (image.empty())
        return pixels;
    HICON icon = CreateIconFromResourceEx(reinterpret_cast<PBYTE>(&image[0]), static_cast<DWORD>(image.size()),
                                          TRUE, 0x00030000, 32, 32, LR_DEFAULTCOLOR);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = 32;
    info.bmiHeader.biHeight = -32;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (icon && bitmap) {
        HGDIOBJ old = SelectObject(dc, bitmap);
        memset(bits, 0, 32 * 32 * 4);
        DrawIconEx(dc, 0, 0, icon, 32, 32, 0, nullptr, DI_NORMAL);
        GdiFlush();
        const unsigned int* p = static_cast<const unsigned int*>(bits);
        pixels.assign(p, p + 32 * 32);
        SelectObject(dc, old);
    }
    if (bitmap)
        DeleteObject(bitmap);
    if (icon)
        DestroyIcon(icon);
    DeleteDC(dc);
    return pixels;
}

// A version text of a program file as Explorer's properties show it.
std::string VersionText(const std::string& path, const char* name, std::string* numbers)
{
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (size == 0)
        return "(no version resource)";
    std::vector<char> block(size);
    if (!GetFileVersionInfoA(path.c_str(), 0, size, block.data()))
        return "(unreadable version resource)";
    void* value = nullptr;
    UINT length = 0;
    VS_FIXEDFILEINFO* fixed = nullptr;
    if (numbers && VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length) && fixed) {
        char text[64];
        snprintf(text, sizeof text, "%lu.%lu.%lu.%lu", fixed->dwFileVersionMS >> 16, fixed->dwFileVersionMS & 0xFFFF,
                 fixed->dwFileVersionLS >> 16, fixed->dwFileVersionLS & 0xFFFF);
        *numbers = text;
    }
    std::string query = std::string("\\StringFileInfo\\040904B0\\") + name;
    if (!VerQueryValueA(block.data(), query.c_str(), &value, &length) || !value)
        return "(none)";
    return std::string(static_cast<const char*>(value));
}

class CartonShipReady : public ::testing::Test {
protected:
    void SetUp() override
    {
        char folder[MAX_PATH];
        GetCurrentDirectoryA(MAX_PATH, folder);
        m_work = std::string(folder) + "\\shipready_" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name();
        KwFile(Str(m_work)).DeleteTree();
        ASSERT_EQ(1, KwFile(Str(m_work)).MakeFolder());
        m_source = m_work + "\\source";
        ASSERT_EQ(1, KwFile(Str(m_source)).MakeFolder());
        ASSERT_TRUE(CopyFileA(WinePath(CARTON_PROBE_EXE).c_str(), (m_source + "\\carton_probe.exe").c_str(), FALSE));
        ASSERT_TRUE(WriteFile(m_source + "\\readme.txt", "vendor's readme\r\n"));
    }

    void TearDown() override { KwFile(Str(m_work)).DeleteTree(); }

    // carton-pack create with the extra arguments; answers its exit code.
    int Pack(const std::string& output, std::vector<std::string> extra)
    {
        // The probe folder is no wizard package: the package check is skipped.
        std::vector<std::string> arguments = {"--stub", WinePath(CARTON_EXE), "--run", "carton_probe.exe",
                                              "-o",     output,              "--no-check"};
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        arguments.push_back(m_source);
        std::vector<char*> argv;
        for (std::string& argument : arguments)
            argv.push_back(&argument[0]);
        CartonPackCommands commands(stdout, stderr);
        return commands.Create(static_cast<int>(argv.size()), argv.data());
    }

    // Runs the installer; answers 1 when the probe inside it ran from the
    // unpacked folder and saw the readme beside it.
    bool RunsProbe(const std::string& installer)
    {
        std::string report = m_work + "\\report.txt";
        DeleteFileA(report.c_str());
        ScopedVariable reportPath(ProbeReport::kReportVariable, report);
        long code = KwTest::FinishProgram(KwTest::StartProgram("\"" + installer + "\"", m_work.c_str()), 60000);
        KwProperties loaded;
        return code == 0 && loaded.LoadFile(Str(report)) &&
               loaded.GetString("Entry:\\readme.txt", "").GetLength() > 0;
    }

    std::string m_work;
    std::string m_source;
};

TEST_F(CartonShipReady, ProgramsCarryManifestsThatRequestTheirLevel)
{
    ExpectManifest(ManifestOf(WinePath(CARTON_EXE)), "requireAdministrator", "Carton.exe");
#ifdef SETUP_EXE
    ExpectManifest(ManifestOf(WinePath(SETUP_EXE)), "asInvoker", "Setup.exe");
#endif
    std::string uninstall;
    ASSERT_TRUE(KwTest::ReadFile(WinePath(CARTON_UNINSTALL_MANIFEST), &uninstall));
    ExpectManifest(uninstall, "asInvoker", "uninstall.manifest");
    // An installer keeps the launcher's manifest whatever marks it gets.
    std::string installer = m_work + "\\branded.exe";
    ASSERT_EQ(0, Pack(installer, {"--version", "2.0"}));
    EXPECT_EQ(ManifestOf(WinePath(CARTON_EXE)), ManifestOf(installer));
}

TEST_F(CartonShipReady, InstallerShowsTheVendorsIconAndVersionAndStillRuns)
{
    std::string icon = m_work + "\\vendor.ico";
    ASSERT_TRUE(WriteFile(icon, IconFile()));
    std::string installer = m_work + "\\LumoSetup.exe";
    ASSERT_EQ(0, Pack(installer, {"--icon", icon, "--version", "1.2.3.4", "--product", "Lumo Viewer", "--company",
                                  "Brindle Soft", "--description=Lumo Viewer installer"}));
    int images = 0;
    std::vector<unsigned int> pixels = DrawProgramIcon(installer, &images);
    EXPECT_EQ(2, images);
    ASSERT_EQ(32u * 32u, pixels.size());
    int wrong = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            wrong += (pixels[static_cast<size_t>(y * 32 + x)] & 0xFFFFFF) != (PatternPixel(x, y) & 0xFFFFFF);
    EXPECT_EQ(0, wrong) << "pixel 5,9 is " << std::hex << pixels[9 * 32 + 5];

    std::string numbers;
    EXPECT_EQ("Lumo Viewer", VersionText(installer, "ProductName", &numbers));
    EXPECT_EQ("1.2.3.4", numbers);
    EXPECT_EQ("Brindle Soft", VersionText(installer, "CompanyName", nullptr));
    EXPECT_EQ("Lumo Viewer installer", VersionText(installer, "FileDescription", nullptr));
    EXPECT_EQ("1.2.3.4", VersionText(installer, "FileVersion", nullptr));
    EXPECT_TRUE(RunsProbe(installer));

    // Without marks the installer shows the launcher's own.
    std::string plain = m_work + "\\plain.exe";
    ASSERT_EQ(0, Pack(plain, {}));
    EXPECT_EQ(VersionText(WinePath(CARTON_EXE), "ProductName", nullptr), VersionText(plain, "ProductName", nullptr));
    EXPECT_EQ("Carton", VersionText(plain, "ProductName", nullptr));
    EXPECT_EQ(LoadResourceBytes(WinePath(CARTON_EXE), MAKEINTRESOURCEA(14), MAKEINTRESOURCEA(1)),
              LoadResourceBytes(plain, MAKEINTRESOURCEA(14), MAKEINTRESOURCEA(1)));
    EXPECT_TRUE(RunsProbe(plain));
}

TEST_F(CartonShipReady, BadMarksAreRefusedBeforeAnythingIsWritten)
{
    std::string installer = m_work + "\\out.exe";
    std::string notIcon = m_work + "\\not.ico";
    ASSERT_TRUE(WriteFile(notIcon, "GIF89a"));
    EXPECT_EQ(1, Pack(installer, {"--icon", notIcon}));
    EXPECT_EQ(1, Pack(installer, {"--version", "1.2.x"}));
    EXPECT_EQ(1, Pack(installer, {"--product", "No version"}));
    EXPECT_FALSE(KwTest::Exists(installer));
}

// Under the Chinese code page a GBK product name on the command line is
// stored as the Chinese text it is.
class CartonShipReadyCp936 : public CartonShipReady {};

TEST_F(CartonShipReadyCp936, GbkProductNameReadsBackAsChinese)
{
    ASSERT_EQ(936u, GetACP());
    std::string installer = m_work + "\\branded.exe";
    ASSERT_EQ(0, Pack(installer, {"--version", "3.1", "--product", "\xD6\xD0\xCE\xC4 Lumo"}));
    std::wstring path(installer.begin(), installer.end());
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, block.data()));
    wchar_t* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\StringFileInfo\\040904B0\\ProductName",
                               reinterpret_cast<void**>(&value), &length));
    EXPECT_EQ(std::wstring(L"\x4E2D\x6587 Lumo"), std::wstring(value));
}

} // namespace

#endif
