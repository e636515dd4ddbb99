// The count of components per window class name and the native classes it
// registers and unregisters.
#include "ComponentTestSupport.h"

#include "KwClassRegistry.h"

#include <gtest/gtest.h>

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

} // namespace
