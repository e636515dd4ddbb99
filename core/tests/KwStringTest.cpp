// Tests of the byte string: construction, editing, searching, comparing and conversion.
#include "KwString.h"
#include "KwTestSupport.h"

#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <string>

#ifdef _WIN32
#include <windows.h>
#endif

using namespace KwSDK;

namespace {

std::string Text(const KwString& s)
{
    return s.GetText() ? std::string(s.GetText(), static_cast<size_t>(s.GetLength())) : std::string("<absent>");
}

} // namespace

TEST(KwStringConstruct, EmptyFormsHoldATerminator)
{
    KwString empty;
    KwString fromNull(static_cast<const char*>(nullptr));
    KwString fromNullBytes(nullptr, 5);
    for (const KwString* s : {&empty, &fromNull, &fromNullBytes}) {
        ASSERT_NE(nullptr, s->GetText());
        EXPECT_STREQ("", s->GetText());
        EXPECT_EQ(0, s->GetLength());
    }
    EXPECT_STREQ("KwObject.KwString", empty.GetTypeName());
}

TEST(KwStringConstruct, TextBytesAndCopy)
{
    KwString text("hello");
    KwString bytes("hello world", 5);
    KwString copy(text);
    EXPECT_EQ("hello", Text(text));
    EXPECT_EQ("hello", Text(bytes));
    EXPECT_EQ("hello", Text(copy));
    EXPECT_NE(text.GetText(), copy.GetText());
    EXPECT_STREQ("KwObject.KwString", copy.GetTypeName());
    EXPECT_EQ("", Text(KwString("abc", -1)));
}

TEST(KwStringConstruct, Numbers)
{
    EXPECT_EQ("-42", Text(KwString(-42)));
    EXPECT_EQ("-2147483648", Text(KwString(INT_MIN)));
    EXPECT_EQ("1.500000", Text(KwString(1.5f)));
}

TEST(KwStringConstruct, FloatOfAnyMagnitude)
{
    // "%f" of these is far longer than the usual 20-byte area.
    for (float value : {1e12f, -3.0e38f, 123456789012345.0f}) {
        char expected[64];
        snprintf(expected, sizeof expected, "%f", static_cast<double>(value));
        KwString s(value);
        EXPECT_EQ(std::string(expected), Text(s));
        EXPECT_EQ(static_cast<int>(strlen(expected)), s.GetLength());
    }
}

TEST(KwStringAssign, OwnBufferAndParts)
{
    KwString s("abcdef");
    EXPECT_EQ(1, s.Assign(s.GetText(), s.GetLength()));
    EXPECT_EQ("abcdef", Text(s));
    EXPECT_EQ(1, s.Assign(s.GetText() + 2, 3));
    EXPECT_EQ("cde", Text(s));
    EXPECT_EQ(1, s.Assign(s.GetText(), 2));
    EXPECT_EQ("cd", Text(s));
    EXPECT_EQ(0, s.Assign("xyz", -1));
    EXPECT_EQ("cd", Text(s));
    EXPECT_EQ(1, s.Assign(nullptr, 3));
    EXPECT_EQ("", Text(s));
}

TEST(KwStringAssign, OperatorsKeepValues)
{
    KwString a("one");
    KwString b;
    b = a;
    a = "two";
    EXPECT_EQ("one", Text(b));
    EXPECT_EQ("two", Text(a));
    a = a;
    EXPECT_EQ("two", Text(a));
    KwString absent(" ");
    absent.TrimRight();
    b = absent;
    EXPECT_EQ(nullptr, b.GetText());
}

TEST(KwStringAppend, TextsAndSelf)
{
    KwString s("ab");
    EXPECT_EQ(1, s.Append(nullptr));
    EXPECT_EQ("ab", Text(s));
    EXPECT_EQ(1, s.Append("cd"));
    EXPECT_EQ(1, s.Append(s.GetText()));
    EXPECT_EQ("abcdabcd", Text(s));
    KwString absent("\t");
    absent.TrimLeft();
    EXPECT_EQ(1, absent.Append("x"));
    EXPECT_EQ("x", Text(absent));
}

TEST(KwStringAppend, PlusMakesNewStrings)
{
    KwString folder("C:\\Temp");
    KwString path = folder + "\\" + KwString("a.txt");
    EXPECT_EQ("C:\\Temp\\a.txt", Text(path));
    EXPECT_EQ("C:\\Temp", Text(folder));
}

TEST(KwStringFormat, GrowsPastTheFirstBuffer)
{
    std::string longText(2500, 'x');
    KwString s;
    EXPECT_EQ(1, s.Format("[%s]", longText.c_str()));
    EXPECT_EQ(2502, s.GetLength());
    EXPECT_EQ("[" + longText + "]", Text(s));
    EXPECT_EQ(1, s.Format("%d-%s", 7, "z"));
    EXPECT_EQ("7-z", Text(s));
}

TEST(KwStringFormat, OwnTextAsArgumentAndNullFormat)
{
    KwString s("abc");
    s.Format("%s%s", s.GetText(), s.GetText());
    EXPECT_EQ("abcabc", Text(s));
    EXPECT_EQ(1, s.Format(nullptr));
    EXPECT_EQ(nullptr, s.GetText());
    EXPECT_EQ(0, s.GetLength());
}

TEST(KwStringFind, BytesAndTexts)
{
    KwString path("C:\\Program Files\\Carton\\Setup.exe");
    EXPECT_EQ(2, path.Find('\\'));
    EXPECT_EQ(23, path.ReverseFind('\\'));
    EXPECT_EQ("Setup.exe", Text(path.Mid(path.ReverseFind('\\') + 1, -1)));
    EXPECT_EQ(17, path.Find("Carton"));
    EXPECT_EQ(-1, path.Find("carton"));
    EXPECT_EQ(-1, path.Find('/'));
    EXPECT_EQ(-1, path.Find(static_cast<const char*>(nullptr)));
    KwString empty;
    EXPECT_EQ(-1, empty.Find('a'));
    EXPECT_EQ(-1, empty.Find("a"));
    EXPECT_EQ(-1, empty.ReverseFind('a'));
}

TEST(KwStringMid, InclusiveRange)
{
    KwString s("abcdef");
    EXPECT_EQ("cdef", Text(s.Mid(2, -1)));
    EXPECT_EQ("", Text(s.Mid(4, 2)));
    EXPECT_EQ("abcdef", Text(s.Mid(0, 6)));
    EXPECT_EQ("bcd", Text(s.Mid(1, 3)));
    EXPECT_EQ("a", Text(s.Mid(0, 0)));
    EXPECT_EQ("", Text(s.Mid(6, 6)));
    EXPECT_EQ("", Text(s.Mid(-1, 3)));
    EXPECT_EQ("", Text(s.Mid(0, 7)));
}

TEST(KwStringReplace, ScansPastInsertedText)
{
    KwString s("aXa");
    EXPECT_EQ(1, s.Replace("a", "aa"));
    EXPECT_EQ("aaXaa", Text(s));
    KwString t("aaa");
    EXPECT_EQ(1, t.Replace("aa", "b"));
    EXPECT_EQ("ba", Text(t));
    KwString path("%INSTALLDIR%\\bin;%INSTALLDIR%");
    EXPECT_EQ(1, path.Replace("%INSTALLDIR%", "D:\\App"));
    EXPECT_EQ("D:\\App\\bin;D:\\App", Text(path));
    EXPECT_EQ(1, path.Replace("\\", ""));
    EXPECT_EQ("D:Appbin;D:App", Text(path));
}

TEST(KwStringReplace, RefusesMissingTexts)
{
    KwString s("abc");
    EXPECT_EQ(0, s.Replace(nullptr, "x"));
    EXPECT_EQ(0, s.Replace("a", nullptr));
    EXPECT_EQ(0, s.Replace("", "x"));
    EXPECT_EQ(1, s.Replace("z", "x"));
    EXPECT_EQ("abc", Text(s));
}

TEST(KwStringTrim, RemovesBlanksOnOneSide)
{
    KwString s(" \t x y\r\n");
    KwString left(s);
    KwString right(s);
    left.TrimLeft();
    right.TrimRight();
    EXPECT_EQ("x y\r\n", Text(left));
    EXPECT_EQ(" \t x y", Text(right));
}

TEST(KwStringTrim, OnlyBlanksLeaveTheTextAbsent)
{
    KwString right("\t \r\n");
    right.TrimRight();
    EXPECT_EQ(nullptr, right.GetText());
    EXPECT_EQ(0, right.GetLength());
    KwString left("\t \r\n");
    left.TrimLeft();
    EXPECT_EQ(nullptr, left.GetText());
    // An absent text still behaves as an empty string.
    EXPECT_EQ(-1, right.Find('a'));
    EXPECT_EQ(0, right.ToInt());
    EXPECT_EQ(0, right.Compare(""));
    EXPECT_EQ("", Text(right.Mid(0, -1)));
    EXPECT_EQ(1, right.Replace("a", "b"));
    EXPECT_EQ(1, right.TrimLeft());
}

TEST(KwStringCompare, ExactBytes)
{
    KwString s("abc");
    EXPECT_EQ(0, s.Compare("abc"));
    EXPECT_NE(0, s.Compare("ab"));
    EXPECT_NE(0, s.Compare("abcd"));
    EXPECT_NE(0, s.Compare("ABC"));
    EXPECT_LT(KwString("a").Compare("\xC0"), 0);
    EXPECT_TRUE(s == KwString("abc"));
    EXPECT_TRUE(s != KwString("abd"));
    EXPECT_EQ(0, KwString().Compare(static_cast<const char*>(nullptr)));
    KwString embedded("a\0b", 3);
    EXPECT_NE(0, embedded.Compare(KwString("a\0c", 3)));
}

TEST(KwStringCompare, NoCaseWithEmptySides)
{
    KwString empty;
    EXPECT_EQ(-1, empty.CompareNoCase("x"));
    EXPECT_EQ(1, KwString("x").CompareNoCase(empty));
    EXPECT_EQ(0, empty.CompareNoCase(static_cast<const char*>(nullptr)));
    EXPECT_EQ(0, KwString("ABC").CompareNoCase("abc"));
    EXPECT_LT(KwString("abc").CompareNoCase("ABD"), 0);
    EXPECT_GT(KwString("abcd").CompareNoCase("ABC"), 0);
    // Only ASCII letters fold; other bytes compare as they are.
    EXPECT_NE(0, KwString("\xC0").CompareNoCase("\xE0"));
}

TEST(KwStringConvert, ToInt)
{
    EXPECT_EQ(123, KwString("123abc").ToInt());
    EXPECT_EQ(-7, KwString("  -7").ToInt());
    EXPECT_EQ(0, KwString("abc").ToInt());
    EXPECT_EQ(0, KwString().ToInt());
    EXPECT_EQ(INT_MAX, KwString("99999999999").ToInt());
    EXPECT_EQ(INT_MIN, KwString("-99999999999").ToInt());
}

TEST(KwStringConvert, WideAscii)
{
    KwString s("Setup");
    const wchar_t* wide = s.ToWide();
    ASSERT_NE(nullptr, wide);
    EXPECT_EQ(0, wcscmp(L"Setup", wide));
    EXPECT_EQ(nullptr, KwString().ToWide());

    KwString back("old");
    EXPECT_EQ(1, back.FromWide(L"xyz"));
    EXPECT_EQ("xyz", Text(back));
    EXPECT_EQ(1, back.FromWide(nullptr));
    EXPECT_EQ("", Text(back));
}

// Runs in its own process under the Chinese code page (GBK).
class KwStringCp936 : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(KwTest::UsesChineseCodePage());
    }
    void TearDown() override
    {
#ifndef _WIN32
        setlocale(LC_ALL, "C");
#endif
    }
};

TEST_F(KwStringCp936, ChineseBytesBecomeUtf16AndBack)
{
    KwString s("\xD6\xD0\xCE\xC4");
    const wchar_t* wide = s.ToWide();
    ASSERT_NE(nullptr, wide);
    EXPECT_EQ(0x4E2Du, static_cast<unsigned>(wide[0]));
    EXPECT_EQ(0x6587u, static_cast<unsigned>(wide[1]));
    EXPECT_EQ(0u, static_cast<unsigned>(wide[2]));

    KwString back;
    ASSERT_EQ(1, back.FromWide(wide));
    EXPECT_EQ(4, back.GetLength());
    EXPECT_STREQ("\xD6\xD0\xCE\xC4", back.GetText());
}

TEST_F(KwStringCp936, TrailByteThatLooksLikeABackslash)
{
    // 0x95 0x5C is one character although its second byte is the backslash.
    KwString s("a\x95\x5C");
    const wchar_t* wide = s.ToWide();
    ASSERT_NE(nullptr, wide);
    EXPECT_EQ(L'a', wide[0]);
    EXPECT_NE(0u, static_cast<unsigned>(wide[1]));
    EXPECT_EQ(0u, static_cast<unsigned>(wide[2]));
    KwString back;
    ASSERT_EQ(1, back.FromWide(wide));
    EXPECT_STREQ("a\x95\x5C", back.GetText());
}

TEST_F(KwStringCp936, WideCopyIsReplacedByTheNextCall)
{
    KwString s("\xD6\xD0");
    ASSERT_NE(nullptr, s.ToWide());
    s = "\xCE\xC4";
    const wchar_t* wide = s.ToWide();
    ASSERT_NE(nullptr, wide);
    EXPECT_EQ(0x6587u, static_cast<unsigned>(wide[0]));
    EXPECT_EQ(0u, static_cast<unsigned>(wide[1]));
}
