// Tests of the image group: references, index operations and canvas size.
#include "KwImageGroup.h"

#include <gtest/gtest.h>

using namespace KwSDK;

namespace {

KwImage* NewImage(int width, int height)
{
    KwImage* image = new KwImage(KW_FORMAT_BGRA, nullptr, 0, 0, 0, width, height, 0);
    image->AddRef();
    return image;
}

// The reference count without changing it.
int Count(KwObject* object)
{
    object->AddRef();
    return object->Release();
}

} // namespace

TEST(KwImageGroup, HoldsAndReleasesItsImages)
{
    KwImage* a = NewImage(1, 1);
    KwImage* b = NewImage(1, 1);
    KwImageGroup* group = new KwImageGroup();
    group->AddRef();
    EXPECT_EQ(0, group->Add(nullptr));
    EXPECT_EQ(1, group->Add(a));
    EXPECT_EQ(1, group->Add(b));
    EXPECT_EQ(2, Count(a));
    KwImage* got = group->GetAt(1);
    EXPECT_EQ(b, got);
    got->Release();
    EXPECT_EQ(nullptr, group->GetAt(2));
    EXPECT_EQ(nullptr, group->GetAt(-1));
    group->Release();
    EXPECT_EQ(1, Count(a));
    EXPECT_EQ(1, Count(b));
    a->Release();
    b->Release();
}

TEST(KwImageGroup, RemoveAndSetWorkByIndexEvenForRepeatedImages)
{
    KwImage* a = NewImage(1, 1);
    KwImage* b = NewImage(2, 2);
    KwImage* c = NewImage(3, 3);
    KwImageGroup group;
    group.Add(a);
    group.Add(b);
    group.Add(a);
    // Removing index 2 must drop the second copy of a, not the first.
    EXPECT_EQ(1, group.RemoveAt(2));
    ASSERT_EQ(2, group.GetCount());
    KwImage* first = group.GetAt(0);
    KwImage* second = group.GetAt(1);
    EXPECT_EQ(a, first);
    EXPECT_EQ(b, second);
    first->Release();
    second->Release();
    EXPECT_EQ(0, group.RemoveAt(5));
    EXPECT_EQ(0, group.SetAt(0, nullptr));
    EXPECT_EQ(1, group.SetAt(0, c));
    EXPECT_EQ(1, Count(a));
    EXPECT_EQ(2, Count(c));
    KwImage* replaced = group.GetAt(0);
    EXPECT_EQ(c, replaced);
    replaced->Release();
    group.RemoveAt(0);
    group.RemoveAt(0);
    EXPECT_EQ(0, group.GetCount());
    EXPECT_EQ(1, Count(b));
    a->Release();
    b->Release();
    c->Release();
}

TEST(KwImageGroup, SizeIsTheLargestImageUnlessACanvasWasSet)
{
    KwImageGroup group;
    KwImage* wide = NewImage(30, 5);
    KwImage* tall = NewImage(10, 40);
    group.Add(wide);
    group.Add(tall);
    EXPECT_EQ(30, group.GetWidth());
    EXPECT_EQ(40, group.GetHeight());
    // Setting either side switches both to the explicit canvas.
    group.SetHeight(12);
    EXPECT_EQ(0, group.GetWidth());
    EXPECT_EQ(12, group.GetHeight());
    group.SetWidth(20);
    EXPECT_EQ(20, group.GetWidth());
    wide->Release();
    tall->Release();
    EXPECT_STREQ("KwObject.KwImageGroup", group.GetTypeName());
}
