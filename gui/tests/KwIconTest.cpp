// Icon descriptions, the native icons made from them and class icons.
#include "ComponentTestSupport.h"

#include "KwIcon.h"
#include "MaskIcon.h"
#include "KwNativeHandles.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

using namespace KwSDK;
using namespace KwSDK::Testing;

namespace {

TEST(KwIconTest, FileNameSwitchesToTheFileType)
{
    KwIcon icon;
    EXPECT_EQ(icon.GetType(), KW_ICON_APPLICATION);
    EXPECT_EQ(icon.GetPlanes(), 1);
    EXPECT_EQ(icon.GetBitsPerPixel(), 24);
    icon.SetFileName("C:\\icons\\product.ico");
    EXPECT_EQ(icon.GetType(), KW_ICON_FILE);
    EXPECT_STREQ(icon.GetResource(), "C:\\icons\\product.ico");
}

TEST(KwIconTest, SystemTypesNameTheirSystemIcons)
{
    const WORD expected[] = {32512, 32516, 32513, 32515, 32513, 32516, 32514, 32515, 32517};
    KwIcon icon;
    for (int type = 0; type <= 8; ++type) {
        icon.SetType(type);
        EXPECT_EQ(icon.GetResource(), MAKEINTRESOURCEA(expected[type])) << "type " << type;
        int made = -1;
        EXPECT_NE(MakeIconHandle(&icon, Instance(), &made), nullptr) << "type " << type;
        EXPECT_EQ(made, 0);
    }
    for (int type : {11, -1, KW_ICON_CUSTOM}) {
        icon.SetType(type);
        int made = -1;
        EXPECT_EQ(MakeIconHandle(&icon, Instance(), &made), nullptr) << "type " << type;
        EXPECT_EQ(made, 0);
    }
}

// A 16 x 16 icon file of one 32-bit image.
std::string WriteIconFile()
{
    char folder[MAX_PATH] = {0};
    GetTempPathA(MAX_PATH, folder);
    std::string path = std::string(folder) + "kwicontest.ico";
    std::vector<unsigned char> file;
    auto put16 = [&file](int v) {
        file.push_back(static_cast<unsigned char>(v));
        file.push_back(static_cast<unsigned char>(v >> 8));
    };
    auto put32 = [&](int v) {
        put16(v & 0xFFFF);
        put16(v >> 16 & 0xFFFF);
    };
    const int pixelBytes = 16 * 16 * 4;
    const int maskBytes = 16 * 4;
    put16(0);
    put16(1);
    put16(1);
    file.push_back(16);
    file.push_back(16);
    file.push_back(0);
    file.push_back(0);
    put16(1);
    put16(32);
    put32(40 + pixelBytes + maskBytes);
    put32(6 + 16);
    put32(40);
    put32(16);
    put32(32);
    put16(1);
    put16(32);
    for (int i = 0; i < 6; ++i) {
        put32(0);
    }
    for (int i = 0; i < 16 * 16; ++i) {
        put32(static_cast<int>(0xFF2040C0u));
    }
    file.insert(file.end(), static_cast<size_t>(maskBytes), 0);
    FILE* out = std::fopen(path.c_str(), "wb");
    if (out != nullptr) {
        std::fwrite(file.data(), 1, file.size(), out);
        std::fclose(out);
    }
    return path;
}

TEST(KwIconTest, IconFileIsLoadedAtSixtyFourPixels)
{
    std::string path = WriteIconFile();
    KwIcon icon;
    icon.SetFileName(path.c_str());
    int made = 0;
    HICON handle = MakeIconHandle(&icon, Instance(), &made);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(made, 1);
    ICONINFO info;
    ASSERT_TRUE(GetIconInfo(handle, &info));
    BITMAP mask;
    GetObjectA(info.hbmMask, sizeof mask, &mask);
    EXPECT_EQ(mask.bmWidth, 64);
    DeleteObject(info.hbmMask);
    if (info.hbmColor != nullptr) {
        DeleteObject(info.hbmColor);
    }
    DestroyIconHandle(handle, made);
    DeleteFileA(path.c_str());

    icon.SetFileName("C:\\no such folder\\missing.ico");
    EXPECT_EQ(MakeIconHandle(&icon, Instance(), &made), nullptr);
    EXPECT_EQ(made, 0);
}

TEST(KwIconTest, CustomIconIsMadeFromItsMasks)
{
    MaskIcon icon;
    int made = 0;
    HICON handle = MakeIconHandle(&icon, Instance(), &made);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(made, 1);
    ICONINFO info;
    ASSERT_TRUE(GetIconInfo(handle, &info));
    EXPECT_TRUE(info.fIcon);
    DeleteObject(info.hbmMask);
    if (info.hbmColor != nullptr) {
        DeleteObject(info.hbmColor);
    }
    DestroyIconHandle(handle, made);
}

TEST(KwIconTest, IconSetOnAWindowReplacesTheClassIcon)
{
    KwComponent* component = MakeCounted<KwComponent>();
    component->SetClassName("KwIconProbe");
    component->SetWindowType(KW_WINDOW_POPUP);
    ASSERT_EQ(CreateShown(component), 1);
    HWND window = WindowOf(component);
    EXPECT_EQ(reinterpret_cast<HICON>(GetClassLongPtrA(window, GCLP_HICON)),
              LoadIconA(nullptr, MAKEINTRESOURCEA(32512)));
    KwIcon* icon = MakeCounted<KwIcon>();
    icon->SetType(KW_ICON_QUESTION);
    component->SetIcon(icon);
    component->SetSmallIcon(icon);
    HICON question = LoadIconA(nullptr, MAKEINTRESOURCEA(32514));
    EXPECT_EQ(reinterpret_cast<HICON>(GetClassLongPtrA(window, GCLP_HICON)), question);
    EXPECT_EQ(reinterpret_cast<HICON>(GetClassLongPtrA(window, GCLP_HICONSM)), question);
    icon->Release();
    component->Release();
}

} // namespace
