// The time side of the platform seam: calendar <-> file-time conversion and
// the run-time library's local clock, one source file per platform.
#ifndef KWSDK_KWPLATFORMTIME_H
#define KWSDK_KWPLATFORMTIME_H

namespace KwSDK {
namespace Platform {

// A calendar reading with no time zone attached: year, month 1-12, day of
// week 0 (Sunday) to 6, day of month, hour, minute, second, millisecond.
struct CalendarFields {
    int year;
    int month;
    int dayOfWeek;
    int day;
    int hour;
    int minute;
    int second;
    int millisecond;
};

// Fields to a file time (100-nanosecond intervals since 1601-01-01 00:00),
// without zone conversion; the day of week is ignored. Answers 0 when a
// field is out of range: year 1601-30827, month 1-12, day within the month,
// hour 0-23, minute and second 0-59, millisecond 0-999.
int CalendarToFileTime(const CalendarFields& fields, unsigned long long* fileTime);

// A file time to fields, without zone conversion; the day of week is filled.
// Answers 0 for a time with the top bit set, which the system refuses.
int FileTimeToCalendar(unsigned long long fileTime, CalendarFields* fields);

// The current local time from the run-time library clock, to the second
// (millisecond 0). Answers 0 when the clock cannot be read.
int LocalCalendarNow(CalendarFields* fields);

} // namespace Platform
} // namespace KwSDK

#endif
