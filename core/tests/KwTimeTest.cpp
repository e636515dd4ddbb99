// Tests of the calendar time: field rules, text form, parsing, and file-time
// conversion, with the same expected values on Windows and on the host.
#include "KwTime.h"

#include <gtest/gtest.h>

#include <cstdio>

using namespace KwSDK;

namespace {

const unsigned long long kTicksPerDay = 864000000000ULL;

unsigned int Low(unsigned long long fileTime)
{
    return static_cast<unsigned int>(fileTime & 0xFFFFFFFFu);
}

unsigned int High(unsigned long long fileTime)
{
    return static_cast<unsigned int>(fileTime >> 32);
}

KwTime MakeTime(int year, int month, int day, int hour, int minute, int second, int millisecond)
{
    KwTime time(year, month, day, hour, minute, second);
    time.SetMillisecond(millisecond);
    return time;
}

void ExpectFields(const KwTime& time, int year, int month, int day, int hour, int minute, int second,
                  int millisecond)
{
    EXPECT_EQ(year, time.GetYear());
    EXPECT_EQ(month, time.GetMonth());
    EXPECT_EQ(day, time.GetDay());
    EXPECT_EQ(hour, time.GetHour());
    EXPECT_EQ(minute, time.GetMinute());
    EXPECT_EQ(second, time.GetSecond());
    EXPECT_EQ(millisecond, time.GetMillisecond());
}

} // namespace

TEST(KwTime, DefaultAndReset)
{
    KwTime time;
    EXPECT_STREQ("KwObject.KwTime", time.GetTypeName());
    ExpectFields(time, 1900, 0, 0, 0, 0, 0, 0);
    EXPECT_STREQ("1900-00-00 00:00:00", time.ToString().GetText());
    EXPECT_STREQ("1900-00-00", time.ToDateString().GetText());
    // Month 0 is no date: nothing to convert.
    EXPECT_EQ(-1, time.GetDayOfYear());
    EXPECT_EQ(-1, time.GetDayOfWeek());
    EXPECT_EQ(0ULL, time.ToFileTime());

    KwTime set(2008, 3, 7, 9, 5, 1);
    set.SetMillisecond(250);
    set.Reset();
    ExpectFields(set, 1900, 0, 0, 0, 0, 0, 0);
}

TEST(KwTime, SettersCheckTheirRange)
{
    KwTime time(2001, 4, 30, 1, 2, 3);
    EXPECT_EQ(0, time.SetDay(31));
    EXPECT_EQ(30, time.GetDay());
    EXPECT_EQ(0, time.SetDay(0));
    EXPECT_EQ(1, time.SetDay(1));
    EXPECT_EQ(0, time.SetMonth(0));
    EXPECT_EQ(0, time.SetMonth(13));
    EXPECT_EQ(1, time.SetMonth(2));
    EXPECT_EQ(0, time.SetDay(29));
    EXPECT_EQ(1, time.SetYear(2000));
    EXPECT_EQ(1, time.SetDay(29));
    EXPECT_EQ(0, time.SetYear(1899));
    EXPECT_EQ(2000, time.GetYear());
    EXPECT_EQ(0, time.SetHour(24));
    EXPECT_EQ(0, time.SetHour(-1));
    EXPECT_EQ(1, time.SetHour(23));
    EXPECT_EQ(0, time.SetMinute(60));
    EXPECT_EQ(1, time.SetMinute(59));
    EXPECT_EQ(0, time.SetSecond(60));
    EXPECT_EQ(1, time.SetSecond(0));
    EXPECT_EQ(1, time.SetMillisecond(5000));
    ExpectFields(time, 2000, 2, 29, 23, 59, 0, 5000);
}

TEST(KwTime, CalendarRules)
{
    KwTime time;
    EXPECT_EQ(28, time.DaysInMonth(1900, 2));
    EXPECT_EQ(29, time.DaysInMonth(2000, 2));
    EXPECT_EQ(29, time.DaysInMonth(2004, 2));
    EXPECT_EQ(28, time.DaysInMonth(2100, 2));
    EXPECT_EQ(30, time.DaysInMonth(2001, 4));
    EXPECT_EQ(30, time.DaysInMonth(2001, 6));
    EXPECT_EQ(30, time.DaysInMonth(2001, 9));
    EXPECT_EQ(30, time.DaysInMonth(2001, 11));
    EXPECT_EQ(31, time.DaysInMonth(2001, 1));
    EXPECT_EQ(31, time.DaysInMonth(2001, 12));
    EXPECT_EQ(0, time.DaysInMonth(2001, 0));
    EXPECT_EQ(0, time.DaysInMonth(2001, 13));
    EXPECT_EQ(1, time.IsLeapYear(1600));
    EXPECT_EQ(0, time.IsLeapYear(1700));
    EXPECT_EQ(1, time.IsLeapYear(1996));
    EXPECT_EQ(0, time.IsLeapYear(1999));
    EXPECT_EQ(1, time.IsValidDay(2000, 2, 29));
    EXPECT_EQ(0, time.IsValidDay(1900, 2, 29));
    EXPECT_EQ(0, time.IsValidDay(2000, 13, 1));
    EXPECT_EQ(0, time.IsValidDay(2000, 1, 0));
    EXPECT_EQ(0, time.IsValidDay(2000, 1, -3));
}

TEST(KwTime, TextForms)
{
    KwTime time(2008, 3, 7, 9, 5, 1);
    EXPECT_STREQ("2008-03-07 09:05:01", time.ToString().GetText());
    EXPECT_STREQ("2008-03-07", time.ToDateString().GetText());
    EXPECT_STREQ("20080307090501", time.ToStampString().GetText());
    KwTime wide(123456, 12, 31, 23, 59, 59);
    EXPECT_STREQ("123456-12-31 23:59:59", wide.ToString().GetText());
}

// The constructor and Parse store any numbers, so the text forms must pad
// them as "%04d" and "%02d" would, sign included.
TEST(KwTime, TextFormsOfUncheckedFields)
{
    KwTime time(-5, 0, 0, -12, 2147483647, -2147483647 - 1);
    char expected[64];
    snprintf(expected, sizeof expected, "%04d-%02d-%02d %02d:%02d:%02d", -5, 0, 0, -12, 2147483647,
             -2147483647 - 1);
    EXPECT_STREQ(expected, time.ToString().GetText());
    EXPECT_STREQ("-005-00-00", time.ToDateString().GetText());
    snprintf(expected, sizeof expected, "%04d%02d%02d%02d%02d%02d", -5, 0, 0, -12, 2147483647, -2147483647 - 1);
    EXPECT_STREQ(expected, time.ToStampString().GetText());
    KwTime small(7, 1, 2, 3, 4, 5);
    EXPECT_STREQ("0007-01-02 03:04:05", small.ToString().GetText());
}

TEST(KwTime, ParseReadsEachNumberBeforeItsSeparator)
{
    KwTime time;
    time.SetMillisecond(7);
    EXPECT_EQ(1, time.Parse(KwString("2008-3-7 9:5:1")));
    ExpectFields(time, 2008, 3, 7, 9, 5, 1, 7);
    EXPECT_STREQ("2008-03-07 09:05:01", time.ToString().GetText());

    // No range checks: the numbers are stored as read.
    EXPECT_EQ(1, time.Parse(KwString("1999-14-40 25:61:99")));
    ExpectFields(time, 1999, 14, 40, 25, 61, 99, 7);
    EXPECT_EQ(-1, time.GetDayOfWeek());

    // Each piece is read with atoi rules; an empty piece is 0.
    EXPECT_EQ(1, time.Parse(KwString("2010-x- 7:8:9tail")));
    ExpectFields(time, 2010, 0, 0, 7, 8, 9, 7);
}

TEST(KwTime, ParseFailureResets)
{
    const char* bad[] = { "", "2008", "2008-3", "2008-3-7", "2008-3-7 9", "2008-3-7 9:5", "2008/3/7 9:5:1",
                          "2008-3-7T9:5:1" };
    for (const char* text : bad) {
        KwTime time(2008, 3, 7, 9, 5, 1);
        EXPECT_EQ(0, time.Parse(KwString(text))) << text;
        ExpectFields(time, 1900, 0, 0, 0, 0, 0, 0);
    }
    KwTime time(2008, 3, 7, 9, 5, 1);
    EXPECT_EQ(0, time.Parse(KwString()));
    EXPECT_EQ(1900, time.GetYear());
}

TEST(KwTime, KnownFileTimes)
{
    struct Case {
        int year, month, day, hour, minute, second, millisecond;
        unsigned long long fileTime;
        int dayOfWeek;
        int dayOfYear;
    };
    const Case cases[] = {
        { 1601, 1, 1, 0, 0, 0, 0, 0ULL, 1, 0 },
        { 1970, 1, 1, 0, 0, 0, 0, 116444736000000000ULL, 4, 0 },
        { 2000, 2, 29, 12, 34, 56, 789, 125963012967890000ULL, 2, 59 },
        { 2008, 3, 7, 9, 5, 1, 0, 128493543010000000ULL, 5, 66 },
        { 9999, 12, 31, 23, 59, 59, 999, 2650467743999990000ULL, 5, 364 },
        { 30827, 12, 31, 23, 59, 59, 999, 9223149887999990000ULL, 5, 364 },
    };
    for (const Case& c : cases) {
        KwTime time = MakeTime(c.year, c.month, c.day, c.hour, c.minute, c.second, c.millisecond);
        SCOPED_TRACE(time.ToString().GetText());
        EXPECT_EQ(c.fileTime, time.ToFileTime());
        EXPECT_EQ(c.fileTime, time.GetFileTime());
        EXPECT_EQ(c.dayOfWeek, time.GetDayOfWeek());
        EXPECT_EQ(c.dayOfYear, time.GetDayOfYear());

        KwTime back(Low(c.fileTime), High(c.fileTime));
        ExpectFields(back, c.year, c.month, c.day, c.hour, c.minute, c.second, c.millisecond);
    }
}

TEST(KwTime, FieldsTheSystemRefuses)
{
    struct Case {
        int year, month, day, hour, minute, second, millisecond;
    };
    const Case cases[] = {
        { 1600, 12, 31, 23, 59, 59, 999 }, { 30828, 1, 1, 0, 0, 0, 0 }, { 1900, 2, 29, 0, 0, 0, 0 },
        { 2001, 2, 29, 0, 0, 0, 0 },       { 2001, 4, 31, 0, 0, 0, 0 },  { 2001, 13, 1, 0, 0, 0, 0 },
        { 2001, 0, 1, 0, 0, 0, 0 },        { 2001, 1, 0, 0, 0, 0, 0 },   { 2001, 1, 1, 24, 0, 0, 0 },
        { 2001, 1, 1, 0, 60, 0, 0 },       { 2001, 1, 1, 0, 0, 60, 0 },  { 2001, 1, 1, 0, 0, 0, 1000 },
        { 2001, 1, 1, 0, 0, 0, -1 },       { 2001, 1, 1, -1, 0, 0, 0 },
        // Values that a 16-bit field would wrap into a valid date.
        { 67537, 1, 1, 0, 0, 0, 0 },       { 2001, 65537, 1, 0, 0, 0, 0 }, { 2001, 1, 65537, 0, 0, 0, 0 },
    };
    for (const Case& c : cases) {
        KwTime time = MakeTime(c.year, c.month, c.day, c.hour, c.minute, c.second, c.millisecond);
        SCOPED_TRACE(time.ToString().GetText());
        EXPECT_EQ(0ULL, time.ToFileTime());
    }
    // Only the date matters for the day of the week and of the year.
    KwTime lateHour = MakeTime(2008, 3, 7, 99, 0, 0, 5000);
    EXPECT_EQ(5, lateHour.GetDayOfWeek());
    EXPECT_EQ(66, lateHour.GetDayOfYear());
}

TEST(KwTime, FromFileTimeLimits)
{
    KwTime time(2008, 3, 7, 9, 5, 1);
    EXPECT_EQ(1, time.FromFileTime(0xFFFFFFFFu, 0x7FFFFFFFu));
    ExpectFields(time, 30828, 9, 14, 2, 48, 5, 477);
    // A file time with the top bit set is refused and the fields stay.
    EXPECT_EQ(0, time.SetFileTime(0, 0x80000000u));
    ExpectFields(time, 30828, 9, 14, 2, 48, 5, 477);
    EXPECT_EQ(0, time.FromFileTime(0xFFFFFFFFu, 0xFFFFFFFFu));
    KwTime refused(0u, 0x80000000u);
    ExpectFields(refused, 1900, 0, 0, 0, 0, 0, 0);
    EXPECT_EQ(1, time.SetFileTime(0, 0));
    ExpectFields(time, 1601, 1, 1, 0, 0, 0, 0);
}

// Walks the whole convertible range in steps that land on every month,
// weekday and time of day many times: each conversion is exact both ways.
TEST(KwTime, RoundTripAcrossTheRange)
{
    const unsigned long long step = 97 * kTicksPerDay + 3723004ULL * 10000ULL;
    const unsigned long long last = 9223149887999990000ULL;
    for (unsigned long long fileTime = 0; fileTime <= last; fileTime += step) {
        KwTime time(Low(fileTime), High(fileTime));
        ASSERT_EQ(fileTime, time.ToFileTime()) << time.ToString().GetText();
        unsigned long long days = fileTime / kTicksPerDay;
        unsigned long long milliseconds = fileTime % kTicksPerDay / 10000;
        // 1601-01-01 was a Monday.
        ASSERT_EQ(static_cast<int>((days + 1) % 7), time.GetDayOfWeek());
        ASSERT_EQ(static_cast<int>(milliseconds / 3600000), time.GetHour());
        ASSERT_EQ(static_cast<int>(milliseconds / 60000 % 60), time.GetMinute());
        ASSERT_EQ(static_cast<int>(milliseconds / 1000 % 60), time.GetSecond());
        ASSERT_EQ(static_cast<int>(milliseconds % 1000), time.GetMillisecond());
    }
}

TEST(KwTime, ConsecutiveDaysAndLeapDays)
{
    KwTime time(1996, 2, 28, 0, 0, 0);
    unsigned long long feb28 = time.ToFileTime();
    KwTime next(Low(feb28 + kTicksPerDay), High(feb28 + kTicksPerDay));
    ExpectFields(next, 1996, 2, 29, 0, 0, 0, 0);
    KwTime after(Low(feb28 + 2 * kTicksPerDay), High(feb28 + 2 * kTicksPerDay));
    ExpectFields(after, 1996, 3, 1, 0, 0, 0, 0);
    KwTime century(1900, 2, 28, 23, 59, 59);
    century.SetMillisecond(999);
    unsigned long long end = century.ToFileTime() + 10000;
    KwTime march(Low(end), High(end));
    ExpectFields(march, 1900, 3, 1, 0, 0, 0, 0);
    KwTime yearEnd(2000, 12, 31, 0, 0, 0);
    EXPECT_EQ(365, yearEnd.GetDayOfYear());
    KwTime plainEnd(2001, 12, 31, 0, 0, 0);
    EXPECT_EQ(364, plainEnd.GetDayOfYear());
}

TEST(KwTime, NowAndClone)
{
    KwTime* now = KwTime::Now();
    ASSERT_NE(nullptr, now);
    EXPECT_GE(now->GetYear(), 2020);
    EXPECT_EQ(1, now->IsValidDay(now->GetYear(), now->GetMonth(), now->GetDay()));
    EXPECT_EQ(0, now->GetMillisecond());
    EXPECT_NE(0ULL, now->ToFileTime());

    now->SetMillisecond(321);
    KwTime* copy = now->Clone();
    ASSERT_NE(nullptr, copy);
    EXPECT_STREQ("KwObject.KwTime", copy->GetTypeName());
    EXPECT_EQ(now->ToFileTime(), copy->ToFileTime());
    EXPECT_EQ(321, copy->GetMillisecond());
    // Each factory result carries exactly one reference.
    EXPECT_EQ(0, copy->Release());
    EXPECT_EQ(0, now->Release());
}

TEST(KwTime, CopiesKeepTheirOwnTypeName)
{
    KwTime original(2008, 3, 7, 9, 5, 1);
    KwTime copy(original);
    EXPECT_STREQ("KwObject.KwTime", copy.GetTypeName());
    KwTime assigned;
    assigned = original;
    EXPECT_STREQ("2008-03-07 09:05:01", assigned.ToString().GetText());
    EXPECT_STREQ("KwObject.KwTime", assigned.GetTypeName());
}
