// Tests of the ordered map: insertion rules, byte order and removal during a walk.
#include "KwString.h"
#include "TKwMap.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

using namespace KwSDK;

namespace {

typedef TKwMap<KwString, KwString> StringMap;

std::vector<std::string> Keys(StringMap& map)
{
    std::vector<std::string> keys;
    if (!map.MoveFirst())
        return keys;
    do {
        KwString key = map.GetKey();
        keys.push_back(key.GetText() ? key.GetText() : "<absent>");
    } while (map.MoveNext());
    return keys;
}

KwString AbsentText()
{
    KwString s(" ");
    s.TrimRight();
    return s;
}

KwString Numbered(int n)
{
    char text[16];
    snprintf(text, sizeof text, "k%05d", n);
    return KwString(text);
}

// A fixed scramble of 0 .. count - 1, so insertions do not arrive in order.
int Scrambled(int i, int count)
{
    return static_cast<int>((static_cast<long long>(i) * 7919) % count);
}

} // namespace

TEST(TKwMap, SetAtKeepsTheFirstValue)
{
    StringMap map;
    EXPECT_STREQ("KwObject.TKwMap", map.GetTypeName());
    EXPECT_EQ(1, map.SetAt("key", "first"));
    EXPECT_EQ(0, map.SetAt("key", "second"));
    KwString value;
    EXPECT_EQ(1, map.Lookup("key", value));
    EXPECT_STREQ("first", value.GetText());
    EXPECT_EQ(1, map.GetCount());
    EXPECT_EQ(0, map.Lookup("other", value));
    EXPECT_STREQ("first", value.GetText());
}

TEST(TKwMap, OrdersByUnsignedBytesCaseSensitive)
{
    StringMap map;
    for (const char* key : {"b", "\xC0", "key", "a", "Key", "ab", ""})
        map.SetAt(key, "v");
    EXPECT_EQ((std::vector<std::string>{"", "Key", "a", "ab", "b", "key", "\xC0"}), Keys(map));
    EXPECT_EQ(1, map.ContainsKey("Key"));
    EXPECT_EQ(0, map.ContainsKey("KEY"));
}

TEST(TKwMap, AbsentTextSortsFirstAndIsItsOwnKey)
{
    StringMap map;
    map.SetAt("a", "1");
    map.SetAt("", "empty");
    EXPECT_EQ(1, map.SetAt(AbsentText(), "absent"));
    EXPECT_EQ((std::vector<std::string>{"<absent>", "", "a"}), Keys(map));
    KwString value;
    EXPECT_EQ(1, map.Lookup(AbsentText(), value));
    EXPECT_STREQ("absent", value.GetText());
}

TEST(TKwMap, ContainsValueAndCursorReads)
{
    StringMap map;
    map.SetAt("a", "one");
    map.SetAt("b", "two");
    EXPECT_EQ(1, map.ContainsValue("two"));
    EXPECT_EQ(0, map.ContainsValue("TWO"));
    EXPECT_EQ(1, map.MoveFirst());
    EXPECT_STREQ("a", map.GetKey().GetText());
    EXPECT_STREQ("one", map.GetValue().GetText());
    EXPECT_EQ(1, map.MoveNext());
    EXPECT_EQ(0, map.MoveNext());
    EXPECT_EQ(0, map.MoveNext());
    EXPECT_EQ(0, map.GetKey().GetLength());
    EXPECT_EQ(0, map.GetValue().GetLength());
}

TEST(TKwMap, EmptyMap)
{
    StringMap map;
    EXPECT_EQ(1, map.IsEmpty());
    EXPECT_EQ(0, map.MoveFirst());
    EXPECT_EQ(0, map.MoveNext());
    EXPECT_EQ(0, map.RemoveKey("x").GetLength());
    map.SetAt("x", "y");
    EXPECT_EQ(0, map.IsEmpty());
    map.RemoveAll();
    EXPECT_EQ(1, map.IsEmpty());
    EXPECT_EQ(0, map.ContainsKey("x"));
}

TEST(TKwMap, RemoveKeyAnswersTheValue)
{
    StringMap map;
    map.SetAt("a", "1");
    map.SetAt("b", "2");
    EXPECT_STREQ("2", map.RemoveKey("b").GetText());
    EXPECT_EQ(0, map.RemoveKey("b").GetLength());
    EXPECT_EQ(1, map.GetCount());

    TKwMap<KwString, int*> pointers;
    int target = 5;
    pointers.SetAt("p", &target);
    EXPECT_EQ(nullptr, pointers.RemoveKey("q"));
    EXPECT_EQ(&target, pointers.RemoveKey("p"));
}

TEST(TKwMap, RemovingEveryEntryDuringAWalkVisitsEachOnce)
{
    const int count = 300;
    StringMap map;
    for (int i = 0; i < count; ++i)
        map.SetAt(Numbered(Scrambled(i, count)), "v");
    std::vector<std::string> visited;
    ASSERT_EQ(1, map.MoveFirst());
    do {
        KwString key = map.GetKey();
        visited.push_back(key.GetText());
        map.RemoveKey(key);
    } while (map.MoveNext());
    ASSERT_EQ(static_cast<size_t>(count), visited.size());
    for (int i = 0; i < count; ++i)
        EXPECT_EQ(std::string(Numbered(i).GetText()), visited[static_cast<size_t>(i)]);
    EXPECT_EQ(1, map.IsEmpty());
}

TEST(TKwMap, RemovingSomeEntriesDuringAWalk)
{
    StringMap map;
    for (int i = 0; i < 50; ++i)
        map.SetAt(Numbered(i), (i % 3 == 0) ? "drop" : "keep");
    int visits = 0;
    map.MoveFirst();
    do {
        ++visits;
        if (map.GetValue() == "drop")
            map.RemoveKey(map.GetKey());
    } while (map.MoveNext());
    EXPECT_EQ(50, visits);
    EXPECT_EQ(33, map.GetCount());
    EXPECT_EQ(0, map.ContainsValue("drop"));
}

TEST(TKwMap, StaysOrderedThroughManyChanges)
{
    StringMap map;
    std::map<std::string, std::string> reference;
    const int count = 2000;
    for (int i = 0; i < count; ++i) {
        KwString key = Numbered(Scrambled(i, count));
        map.SetAt(key, key);
        reference[key.GetText()] = key.GetText();
    }
    for (int i = 0; i < count; i += 3) {
        KwString key = Numbered(Scrambled(i, count) / 2 * 2);
        EXPECT_EQ(reference.erase(key.GetText()) ? key : KwString(), map.RemoveKey(key));
    }
    ASSERT_EQ(static_cast<int>(reference.size()), map.GetCount());
    std::vector<std::string> expected;
    for (const auto& entry : reference)
        expected.push_back(entry.first);
    EXPECT_EQ(expected, Keys(map));
    for (const auto& entry : reference)
        ASSERT_EQ(1, map.ContainsKey(entry.first.c_str()));
}

TEST(TKwMap, CopiesAreIndependent)
{
    StringMap map;
    for (int i = 0; i < 20; ++i)
        map.SetAt(Numbered(i), "v");
    StringMap copy(map);
    StringMap assigned;
    assigned.SetAt("old", "x");
    assigned = map;
    map.RemoveAll();
    EXPECT_EQ(20, copy.GetCount());
    EXPECT_EQ(20, assigned.GetCount());
    EXPECT_EQ(0, assigned.ContainsKey("old"));
    EXPECT_EQ(Keys(copy), Keys(assigned));
    EXPECT_EQ(1, copy.SetAt("zzz", "v"));
    EXPECT_EQ("zzz", Keys(copy).back());
    EXPECT_STREQ("KwObject.TKwMap", copy.GetTypeName());
}
