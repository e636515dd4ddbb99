// Windows side of the time seam: the system's file-time conversions and the
// run-time library's local clock.
#include "KwPlatformTime.h"

#include <windows.h>

#include <time.h>

namespace KwSDK {
namespace Platform {

static unsigned long long FromFileTimeRecord(const FILETIME& record)
{
    return (static_cast<unsigned long long>(record.dwHighDateTime) << 32) | record.dwLowDateTime;
}

// SYSTEMTIME holds 16-bit fields: anything outside 0-65535 would wrap into a
// different, possibly valid, date.
static int FitsWord(int value)
{
    return value >= 0 && value <= 0xFFFF;
}

int CalendarToFileTime(const CalendarFields& fields, unsigned long long* fileTime)
{
    if (!fileTime || !FitsWord(fields.year) || !FitsWord(fields.month) || !FitsWord(fields.day)
        || !FitsWord(fields.hour) || !FitsWord(fields.minute) || !FitsWord(fields.second)
        || !FitsWord(fields.millisecond))
        return 0;
    // The documented upper year; some system versions accept a little more.
    if (fields.year > 30827)
        return 0;
    SYSTEMTIME system;
    system.wYear = static_cast<WORD>(fields.year);
    system.wMonth = static_cast<WORD>(fields.month);
    system.wDayOfWeek = 0;
    system.wDay = static_cast<WORD>(fields.day);
    system.wHour = static_cast<WORD>(fields.hour);
    system.wMinute = static_cast<WORD>(fields.minute);
    system.wSecond = static_cast<WORD>(fields.second);
    system.wMilliseconds = static_cast<WORD>(fields.millisecond);
    FILETIME record;
    if (!SystemTimeToFileTime(&system, &record))
        return 0;
    *fileTime = FromFileTimeRecord(record);
    return 1;
}

int FileTimeToCalendar(unsigned long long fileTime, CalendarFields* fields)
{
    if (!fields)
        return 0;
    FILETIME record;
    record.dwLowDateTime = static_cast<DWORD>(fileTime & 0xFFFFFFFFu);
    record.dwHighDateTime = static_cast<DWORD>(fileTime >> 32);
    SYSTEMTIME system;
    if (!FileTimeToSystemTime(&record, &system))
        return 0;
    fields->year = system.wYear;
    fields->month = system.wMonth;
    fields->dayOfWeek = system.wDayOfWeek;
    fields->day = system.wDay;
    fields->hour = system.wHour;
    fields->minute = system.wMinute;
    fields->second = system.wSecond;
    fields->millisecond = system.wMilliseconds;
    return 1;
}

int LocalCalendarNow(CalendarFields* fields)
{
    time_t now = time(nullptr);
    // The run-time library keeps localtime's result per thread.
    struct tm* local = now == static_cast<time_t>(-1) ? nullptr : localtime(&now);
    if (!fields || !local)
        return 0;
    fields->year = local->tm_year + 1900;
    fields->month = local->tm_mon + 1;
    fields->dayOfWeek = local->tm_wday;
    fields->day = local->tm_mday;
    fields->hour = local->tm_hour;
    fields->minute = local->tm_min;
    fields->second = local->tm_sec > 59 ? 59 : local->tm_sec;
    fields->millisecond = 0;
    return 1;
}

} // namespace Platform
} // namespace KwSDK
