// Tests of the cursor-driven linked list.
#include "KwString.h"
#include "TKwList.h"

#include <gtest/gtest.h>

#include <vector>

using namespace KwSDK;

namespace {

// Reads the list the way the programs iterate it.
std::vector<int> Walk(TKwList<int>& list)
{
    std::vector<int> items;
    if (!list.MoveFirst())
        return items;
    do {
        items.push_back(*list.GetAt());
    } while (list.MoveNext());
    return items;
}

void Filled(TKwList<int>& list, const std::vector<int>& items)
{
    for (int item : items)
        list.AddTail(item);
}

} // namespace

TEST(TKwList, EmptyListRefusesCursorWork)
{
    TKwList<int> list;
    EXPECT_STREQ("KwObject.TKwList", list.GetTypeName());
    EXPECT_EQ(0, list.GetCount());
    EXPECT_EQ(0, list.MoveFirst());
    EXPECT_EQ(0, list.MoveLast());
    EXPECT_EQ(0, list.MovePrev());
    EXPECT_EQ(0, list.MoveNext());
    EXPECT_EQ(0, list.IsFirst());
    EXPECT_EQ(0, list.IsLast());
    EXPECT_EQ(nullptr, list.GetAt());
    EXPECT_EQ(0, list.Insert(1, 1));
    EXPECT_EQ(0, list.SetAt(1));
    EXPECT_EQ(0, list.RemoveAt());
}

TEST(TKwList, FirstAddPlacesTheCursorLaterAddsKeepIt)
{
    TKwList<int> list;
    list.AddTail(2);
    EXPECT_EQ(2, *list.GetAt());
    EXPECT_EQ(1, list.IsFirst());
    EXPECT_EQ(1, list.IsLast());
    list.AddTail(3);
    list.AddHead(1);
    EXPECT_EQ(2, *list.GetAt());
    EXPECT_EQ(0, list.IsFirst());
    EXPECT_EQ(3, list.GetCount());
    EXPECT_EQ((std::vector<int>{1, 2, 3}), Walk(list));

    TKwList<int> headFirst;
    headFirst.AddHead(5);
    EXPECT_EQ(1, headFirst.IsLast());
    headFirst.AddTail(6);
    EXPECT_EQ(1, headFirst.MoveLast());
    EXPECT_EQ(6, *headFirst.GetAt());
}

TEST(TKwList, MovesStopAtTheEnds)
{
    TKwList<int> list;
    Filled(list, {1, 2});
    list.MoveLast();
    EXPECT_EQ(0, list.MoveNext());
    EXPECT_EQ(2, *list.GetAt());
    EXPECT_EQ(1, list.MovePrev());
    EXPECT_EQ(0, list.MovePrev());
    EXPECT_EQ(1, *list.GetAt());
    EXPECT_EQ(1, list.IsFirst());
}

TEST(TKwList, InsertNextToTheCursor)
{
    TKwList<int> list;
    Filled(list, {2});
    EXPECT_EQ(1, list.Insert(1, 0));
    EXPECT_EQ(1, list.Insert(3, 1));
    EXPECT_EQ(2, *list.GetAt());
    EXPECT_EQ((std::vector<int>{1, 2, 3}), Walk(list));
    // The inserted nodes became the new head and tail.
    list.MoveFirst();
    EXPECT_EQ(1, *list.GetAt());
    list.MoveLast();
    EXPECT_EQ(3, *list.GetAt());
    list.MovePrev();
    EXPECT_EQ(1, list.Insert(9, 1));
    EXPECT_EQ((std::vector<int>{1, 2, 9, 3}), Walk(list));
}

TEST(TKwList, RemoveAtMovesTheCursor)
{
    TKwList<int> list;
    Filled(list, {1, 2, 3, 4});
    list.MoveFirst();
    list.MoveNext();
    EXPECT_EQ(1, list.RemoveAt());
    EXPECT_EQ(3, *list.GetAt());
    list.MoveLast();
    EXPECT_EQ(1, list.RemoveAt());
    EXPECT_EQ(3, *list.GetAt());
    EXPECT_EQ(1, list.IsLast());
    list.MoveFirst();
    EXPECT_EQ(1, list.RemoveAt());
    EXPECT_EQ(3, *list.GetAt());
    EXPECT_EQ(1, list.IsFirst());
    EXPECT_EQ(1, list.RemoveAt());
    EXPECT_EQ(0, list.GetCount());
    EXPECT_EQ(nullptr, list.GetAt());
    EXPECT_EQ(0, list.MoveFirst());
    EXPECT_EQ(1, list.AddTail(7));
    EXPECT_EQ((std::vector<int>{7}), Walk(list));
}

TEST(TKwList, SetAtAndGetAtReachTheNode)
{
    TKwList<int> list;
    Filled(list, {1, 2});
    list.MoveLast();
    EXPECT_EQ(1, list.SetAt(5));
    *list.GetAt() += 1;
    EXPECT_EQ((std::vector<int>{1, 6}), Walk(list));
}

TEST(TKwList, RemoveAllEmptiesEverything)
{
    TKwList<int> list;
    Filled(list, {1, 2, 3});
    list.RemoveAll();
    EXPECT_EQ(0, list.GetCount());
    EXPECT_EQ(nullptr, list.GetAt());
    EXPECT_EQ(0, list.MoveLast());
}

TEST(TKwList, AssignmentCopiesInOrder)
{
    TKwList<int> source;
    Filled(source, {1, 2, 3});
    source.MoveLast();
    TKwList<int> target;
    Filled(target, {9});
    target = source;
    EXPECT_EQ((std::vector<int>{1, 2, 3}), Walk(target));
    EXPECT_EQ(3, *source.GetAt());
    target = target;
    EXPECT_EQ(3, target.GetCount());
    TKwList<int> copy(source);
    EXPECT_STREQ("KwObject.TKwList", copy.GetTypeName());
    EXPECT_EQ((std::vector<int>{1, 2, 3}), Walk(copy));
}

TEST(TKwList, HoldsIndependentCopiesOfStrings)
{
    KwString name("a.txt");
    TKwList<KwString> list;
    list.AddTail(name);
    name = "changed";
    list.MoveFirst();
    EXPECT_STREQ("a.txt", list.GetAt()->GetText());
    TKwList<KwString> copy(list);
    copy.MoveFirst();
    copy.SetAt(KwString("b.txt"));
    EXPECT_STREQ("a.txt", list.GetAt()->GetText());
}
