// The count of components per window class name and the native classes it
// registers and unregisters.
#include "ComponentTestSupport.h"

#include "KwClassRegistry.h"
#include "KwCursor.h"
#include "KwIcon.h"
#include "MaskIcon.h"

#include <gtest/gtest.h>

#include <vector>

using namespace KwSDK;
using namespace KwSDK::Testing;

namespace {

bool ClassExists(const char* name)
{
    WNDCLASSEXA description;
    description.cbSize = sizeof description;
    return GetClassInfoExA(Instance(), name, &description) != FALSE;
}

KwComponent* MakeProbe(const char* className)
{
    KwComponent* probe = MakeCounted<KwComponent>();
    probe->SetClassName(className);
    probe->SetWindowType(KW_WINDOW_POPUP);
    probe->SetBounds(0, 0, 10, 10, 0);
    probe->Hide();
    return probe;
}

TEST(KwClassRegistryTest, OneClassNameIsRegisteredOnceAndGivenBackByTheLastUser)
{
    const char* name = "KwRegistryProbe";
    KwComponent* first = MakeProbe(name);
    KwComponent* second = MakeProbe(name);
    ASSERT_EQ(first->Create(Instance(), nullptr), 1);
    ASSERT_EQ(second->Create(Instance(), nullptr), 1);
    EXPECT_EQ(KwClassRegistry::QueryCount(name), 2);
    EXPECT_TRUE(ClassExists(name));
    first->DestroyNative();
    EXPECT_TRUE(ClassExists(name));
    EXPECT_EQ(KwClassRegistry::QueryCount(name), 1);
    second->DestroyNative();
    EXPECT_FALSE(ClassExists(name));
    EXPECT_EQ(KwClassRegistry::QueryCount(name), 0);

    // Created again, and this time given back by destruction.
    ASSERT_EQ(first->Create(Instance(), nullptr), 1);
    ASSERT_EQ(second->Create(Instance(), nullptr), 1);
    EXPECT_EQ(KwClassRegistry::QueryCount(name), 2);
    first->Release();
    EXPECT_TRUE(ClassExists(name));
    second->Release();
    EXPECT_FALSE(ClassExists(name));
}

TEST(KwClassRegistryTest, WindowClosedByTheSystemKeepsItsRegistrationUntilTheComponentGoes)
{
    const char* name = "KwRegistryClosed";
    KwComponent* probe = MakeProbe(name);
    ASSERT_EQ(probe->Create(Instance(), nullptr), 1);
    SendMessageA(WindowOf(probe), WM_CLOSE, 0, 0);
    EXPECT_EQ(WindowOf(probe), nullptr);
    EXPECT_TRUE(ClassExists(name));
    ASSERT_EQ(probe->Create(Instance(), nullptr), 1);
    EXPECT_EQ(KwClassRegistry::QueryCount(name), 1);
    probe->Release();
    EXPECT_FALSE(ClassExists(name));
    EXPECT_EQ(KwClassRegistry::QueryCount(name), 0);
}

class MaskCursor : public KwCursor {
public:
    MaskCursor() : m_and(128, 0x3C), m_xor(128, 0x00) {}
    int GetWidth() const override { return 32; }
    int GetHeight() const override { return 32; }
    const unsigned char* GetAndPlane() const override { return m_and.data(); }
    const unsigned char* GetXorPlane() const override { return m_xor.data(); }

private:
    std::vector<unsigned char> m_and;
    std::vector<unsigned char> m_xor;
};

bool Alive(HANDLE icon)
{
    ICONINFO info;
    if (icon == nullptr || !GetIconInfo(static_cast<HICON>(icon), &info)) {
        return false;
    }
    DeleteObject(info.hbmMask);
    if (info.hbmColor != nullptr) {
        DeleteObject(info.hbmColor);
    }
    return true;
}

HANDLE ClassHandle(KwComponent* component, int index)
{
    return reinterpret_cast<HANDLE>(GetClassLongPtrA(WindowOf(component), index));
}

// Made icons and cursors are shared by every window of the class name: they
// stay while any component of the name holds the class, whichever
// component made them, and go with the class.
TEST(KwClassRegistryTest, MadeClassHandlesLiveAsLongAsTheClass)
{
    const char* name = "KwRegistryHandles";
    KwComponent* registrar = MakeProbe(name);
    KwComponent* keeper = MakeProbe(name);
    KwComponent* applier = MakeProbe(name);
    MaskIcon* icon = MakeCounted<MaskIcon>();
    MaskCursor* cursor = MakeCounted<MaskCursor>();
    registrar->SetIcon(icon);
    registrar->SetSmallIcon(icon);
    registrar->SetCursor(cursor);
    for (KwComponent* component : {registrar, keeper, applier}) {
        ASSERT_EQ(component->Create(Instance(), nullptr), 1);
    }
    HANDLE large = ClassHandle(keeper, GCLP_HICON);
    HANDLE small = ClassHandle(keeper, GCLP_HICONSM);
    HANDLE registered = ClassHandle(keeper, GCLP_HCURSOR);
    ASSERT_TRUE(Alive(large) && Alive(small) && Alive(registered));

    registrar->Release();
    EXPECT_TRUE(Alive(large));
    EXPECT_TRUE(Alive(small));
    EXPECT_TRUE(Alive(registered));

    // Applied to a live window, then the component that applied it goes.
    applier->SetCursor(cursor);
    HANDLE applied = ClassHandle(keeper, GCLP_HCURSOR);
    ASSERT_NE(applied, registered);
    EXPECT_FALSE(Alive(registered));
    applier->Release();
    EXPECT_EQ(ClassHandle(keeper, GCLP_HCURSOR), applied);
    EXPECT_TRUE(Alive(applied));

    keeper->Release();
    EXPECT_FALSE(ClassExists(name));
    EXPECT_FALSE(Alive(large));
    EXPECT_FALSE(Alive(applied));
    icon->Release();
    cursor->Release();
}

} // namespace
