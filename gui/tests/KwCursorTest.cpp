// Cursor descriptions, the native cursors made from them and class cursors.
#include "ComponentTestSupport.h"

#include "KwCursor.h"
#include "KwNativeHandles.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using namespace KwSDK;
using namespace KwSDK::Testing;

namespace {

HCURSOR SystemCursor(WORD id)
{
    return LoadCursorA(nullptr, MAKEINTRESOURCEA(id));
}

HCURSOR ClassCursorOf(KwComponent* component)
{
    return reinterpret_cast<HCURSOR>(GetClassLongPtrA(WindowOf(component), GCLP_HCURSOR));
}

TEST(KwCursorTest, FreshCursorIsCustomAndAComponentStartsWithTheArrow)
{
    KwCursor cursor;
    EXPECT_EQ(cursor.GetType(), KW_CURSOR_CUSTOM);
    EXPECT_EQ(cursor.QueryFirst(), 1);
    EXPECT_EQ(cursor.GetAndPlane(), nullptr);
    KwComponent* component = MakeCounted<KwComponent>();
    component->SetClassName("KwCursorArrowProbe");
    component->SetWindowType(KW_WINDOW_POPUP);
    ASSERT_EQ(CreateShown(component), 1);
    EXPECT_EQ(ClassCursorOf(component), SystemCursor(32512));
    component->Release();
}

TEST(KwCursorTest, CursorSetOnOneComponentChangesEveryWindowOfItsClass)
{
    KwComponent* first = MakeCounted<KwComponent>();
    KwComponent* second = MakeCounted<KwComponent>();
    for (KwComponent* component : {first, second}) {
        component->SetClassName("KwCursorProbe");
        component->SetWindowType(KW_WINDOW_POPUP);
        component->SetBounds(0, 0, 10, 10, 0);
        ASSERT_EQ(CreateShown(component), 1);
    }
    KwCursor* cursor = MakeCounted<KwCursor>();
    cursor->SetType(KW_CURSOR_SIZE_NWSE);
    first->SetCursor(cursor);
    EXPECT_EQ(ClassCursorOf(second), SystemCursor(32642));
    EXPECT_EQ(ClassCursorOf(first), SystemCursor(32642));
    cursor->Release();
    first->Release();
    second->Release();
}

TEST(KwCursorTest, TypesMapToSystemCursorsAndUnknownTypesToNone)
{
    const std::pair<int, WORD> known[] = {
        {0, 32648}, {12, 32643}, {14, 32642}, {16, 32645}, {22, 32516}, {30, 32515},
        {31, 32649}, {52, 32646}, {68, 32512}, {70, 32644}, {92, 32651}, {150, 32650},
        {152, 32513},
    };
    KwCursor cursor;
    for (const std::pair<int, WORD>& entry : known) {
        cursor.SetType(entry.first);
        int made = -1;
        EXPECT_EQ(MakeCursorHandle(&cursor, Instance(), &made), SystemCursor(entry.second))
            << "type " << entry.first;
        EXPECT_EQ(made, 0);
    }
    for (int type : {78, 1, 999, KW_CURSOR_CUSTOM}) {
        cursor.SetType(type);
        int made = -1;
        EXPECT_EQ(MakeCursorHandle(&cursor, Instance(), &made), nullptr) << "type " << type;
        EXPECT_EQ(made, 0);
    }
}

// A 32 x 32 cross with its hot spot at (3, 4).
class CrossCursor : public KwCursor {
public:
    CrossCursor() : m_and(128, 0xFF), m_xor(128, 0x00)
    {
        for (int i = 0; i < 32; ++i) {
            m_and[static_cast<size_t>(i * 4 + 2)] = 0x7F;
        }
    }
    int GetWidth() const override { return 32; }
    int GetHeight() const override { return 32; }
    int GetHotX() const override { return 3; }
    int GetHotY() const override { return 4; }
    const unsigned char* GetAndPlane() const override { return m_and.data(); }
    const unsigned char* GetXorPlane() const override { return m_xor.data(); }

private:
    std::vector<unsigned char> m_and;
    std::vector<unsigned char> m_xor;
};

TEST(KwCursorTest, CustomCursorIsMadeFromItsPlanesAndHotSpot)
{
    CrossCursor cursor;
    int made = 0;
    HCURSOR handle = MakeCursorHandle(&cursor, Instance(), &made);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(made, 1);
    ICONINFO info;
    ASSERT_TRUE(GetIconInfo(handle, &info));
    EXPECT_EQ(info.xHotspot, 3u);
    EXPECT_EQ(info.yHotspot, 4u);
    DeleteObject(info.hbmMask);
    if (info.hbmColor != nullptr) {
        DeleteObject(info.hbmColor);
    }
    DestroyCursorHandle(handle, made);
}

} // namespace
