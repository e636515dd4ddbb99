// Host side of the time seam: the proleptic Gregorian calendar computed
// directly, giving the answers of the Windows file-time conversions, and
// the C library's local clock.
#include "KwPlatformTime.h"

#include <time.h>

namespace KwSDK {
namespace Platform {

static const long long kTicksPerMillisecond = 10000;
static const long long kTicksPerSecond = 10000000;
static const long long kSecondsPerDay = 86400;
// Days from 0000-03-01 (the start of the shifted calendar below) to 1601-01-01.
static const long long kDaysTo1601 = 584694;

static int IsLeap(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

static int MonthLength(int year, int month)
{
    static const int kLengths[12] = { 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31 };
    return month == 2 && IsLeap(year) ? 29 : kLengths[month - 1];
}

static int FieldsInRange(const CalendarFields& f)
{
    if (f.year < 1601 || f.year > 30827 || f.month < 1 || f.month > 12)
        return 0;
    if (f.day < 1 || f.day > MonthLength(f.year, f.month))
        return 0;
    return f.hour >= 0 && f.hour <= 23 && f.minute >= 0 && f.minute <= 59
        && f.second >= 0 && f.second <= 59 && f.millisecond >= 0 && f.millisecond <= 999;
}

// Days since 1601-01-01. The year is counted from March so that the leap day
// falls at its end; eras of 400 years repeat exactly.
static long long DaysSince1601(int year, int month, int day)
{
    long long y = month <= 2 ? year - 1 : year;
    long long era = y / 400;
    long long yearOfEra = y - era * 400;
    long long shiftedMonth = month > 2 ? month - 3 : month + 9;
    long long dayOfYear = (153 * shiftedMonth + 2) / 5 + day - 1;
    long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - kDaysTo1601;
}

// The reverse of DaysSince1601 for a non-negative day count.
static void DateFromDays(long long days, CalendarFields* fields)
{
    long long z = days + kDaysTo1601;
    long long era = z / 146097;
    long long dayOfEra = z - era * 146097;
    long long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    long long shiftedMonth = (5 * dayOfYear + 2) / 153;
    fields->day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    fields->month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    fields->year = static_cast<int>(yearOfEra + era * 400 + (fields->month <= 2 ? 1 : 0));
}

int CalendarToFileTime(const CalendarFields& fields, unsigned long long* fileTime)
{
    if (!fileTime || !FieldsInRange(fields))
        return 0;
    long long days = DaysSince1601(fields.year, fields.month, fields.day);
    long long seconds = days * kSecondsPerDay + fields.hour * 3600LL + fields.minute * 60LL + fields.second;
    *fileTime = static_cast<unsigned long long>(seconds * kTicksPerSecond
                                                + fields.millisecond * kTicksPerMillisecond);
    return 1;
}

int FileTimeToCalendar(unsigned long long fileTime, CalendarFields* fields)
{
    // The system reads a file time as a signed count and refuses negative ones.
    if (!fields || fileTime > 0x7FFFFFFFFFFFFFFFULL)
        return 0;
    long long ticks = static_cast<long long>(fileTime);
    long long seconds = ticks / kTicksPerSecond;
    long long days = seconds / kSecondsPerDay;
    long long secondOfDay = seconds % kSecondsPerDay;
    DateFromDays(days, fields);
    // 1601-01-01 was a Monday.
    fields->dayOfWeek = static_cast<int>((days + 1) % 7);
    fields->hour = static_cast<int>(secondOfDay / 3600);
    fields->minute = static_cast<int>(secondOfDay / 60 % 60);
    fields->second = static_cast<int>(secondOfDay % 60);
    fields->millisecond = static_cast<int>(ticks % kTicksPerSecond / kTicksPerMillisecond);
    return 1;
}

int LocalCalendarNow(CalendarFields* fields)
{
    time_t now = time(nullptr);
    struct tm local;
    if (!fields || now == static_cast<time_t>(-1) || !localtime_r(&now, &local))
        return 0;
    fields->year = local.tm_year + 1900;
    fields->month = local.tm_mon + 1;
    fields->dayOfWeek = local.tm_wday;
    fields->day = local.tm_mday;
    fields->hour = local.tm_hour;
    fields->minute = local.tm_min;
    // A leap second reads as the second before it, as on Windows.
    fields->second = local.tm_sec > 59 ? 59 : local.tm_sec;
    fields->millisecond = 0;
    return 1;
}

} // namespace Platform
} // namespace KwSDK
