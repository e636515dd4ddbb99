// Tests of the growable pointer array.
#include "TKwVector.h"

#include <gtest/gtest.h>

using namespace KwSDK;

namespace {

int g_items[30];

} // namespace

TEST(TKwVector, IndexOutsideTheItemsGivesNull)
{
    TKwVector<void*> vector;
    EXPECT_STREQ("KwObject.TKwVector", vector.GetTypeName());
    EXPECT_EQ(nullptr, vector.GetAt(0));
    vector.Add(&g_items[0]);
    EXPECT_EQ(nullptr, vector.GetAt(-1));
    EXPECT_EQ(nullptr, vector.GetAt(1));
    EXPECT_EQ(&g_items[0], vector.GetAt(0));
}

TEST(TKwVector, GrowsAndKeepsOrder)
{
    TKwVector<void*> vector;
    for (int i = 0; i < 25; ++i)
        ASSERT_EQ(1, vector.Add(&g_items[i]));
    EXPECT_EQ(25, vector.GetCount());
    for (int i = 0; i < 25; ++i)
        EXPECT_EQ(&g_items[i], vector.GetAt(i));
}

TEST(TKwVector, RemoveTakesTheFirstOccurrence)
{
    TKwVector<void*> vector;
    vector.Add(&g_items[0]);
    vector.Add(&g_items[1]);
    vector.Add(&g_items[0]);
    vector.Add(nullptr);
    EXPECT_EQ(1, vector.Remove(&g_items[0]));
    EXPECT_EQ(3, vector.GetCount());
    EXPECT_EQ(&g_items[1], vector.GetAt(0));
    EXPECT_EQ(&g_items[0], vector.GetAt(1));
    EXPECT_EQ(0, vector.Remove(&g_items[5]));
    EXPECT_EQ(1, vector.Remove(nullptr));
    EXPECT_EQ(2, vector.GetCount());
}

TEST(TKwVector, CloneIsIndependentAndReferenced)
{
    TKwVector<void*> vector;
    for (int i = 0; i < 12; ++i)
        vector.Add(&g_items[i]);
    TKwVector<void*>* clone = vector.Clone();
    ASSERT_NE(nullptr, clone);
    EXPECT_STREQ("KwObject.TKwVector", clone->GetTypeName());
    EXPECT_EQ(12, clone->GetCount());
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(&g_items[i], clone->GetAt(i));
    clone->Remove(&g_items[0]);
    clone->Add(&g_items[20]);
    EXPECT_EQ(&g_items[0], vector.GetAt(0));
    EXPECT_EQ(12, vector.GetCount());
    EXPECT_EQ(0, clone->Release());
}

TEST(TKwVector, CopyAndAssignment)
{
    TKwVector<void*> vector;
    vector.Add(&g_items[3]);
    TKwVector<void*> copy(vector);
    TKwVector<void*> assigned;
    for (int i = 0; i < 15; ++i)
        assigned.Add(&g_items[i]);
    assigned = vector;
    vector.Add(&g_items[4]);
    EXPECT_EQ(1, copy.GetCount());
    EXPECT_EQ(1, assigned.GetCount());
    EXPECT_EQ(&g_items[3], assigned.GetAt(0));
    // The copy grows like any vector.
    for (int i = 0; i < 20; ++i)
        copy.Add(&g_items[i]);
    EXPECT_EQ(21, copy.GetCount());
}
