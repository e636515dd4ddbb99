// Calendar date and time of day: range-checked setters, text form, and
// conversion to and from file times through the platform seam.
#include "KwTime.h"

#include "KwPlatformTime.h"

#include <cstring>
#include <new>

namespace KwSDK {

static const unsigned long long kTicksPerDay = 864000000000ULL;

static unsigned long long JoinHalves(unsigned int lowPart, unsigned int highPart)
{
    return (static_cast<unsigned long long>(highPart) << 32) | lowPart;
}

KwTime::KwTime()
{
    AppendTypeName("KwTime");
    Reset();
}

KwTime::KwTime(unsigned int lowPart, unsigned int highPart)
{
    AppendTypeName("KwTime");
    Reset();
    FromFileTime(lowPart, highPart);
}

KwTime::KwTime(int year, int month, int day, int hour, int minute, int second)
{
    AppendTypeName("KwTime");
    StoreFields(year, month, day, hour, minute, second, 0);
}

KwTime::KwTime(const KwTime& other)
    : KwObject()
{
    AppendTypeName("KwTime");
    CopyFields(other);
}

KwTime& KwTime::operator=(const KwTime& other)
{
    CopyFields(other);
    return *this;
}

KwTime::~KwTime()
{
}

void KwTime::CopyFields(const KwTime& other)
{
    StoreFields(other.m_nYear, other.m_nMonth, other.m_nDay, other.m_nHour, other.m_nMinute,
                other.m_nSecond, other.m_nMillisecond);
}

void KwTime::StoreFields(int year, int month, int day, int hour, int minute, int second, int millisecond)
{
    m_nYear = year;
    m_nMonth = month;
    m_nDay = day;
    m_nHour = hour;
    m_nMinute = minute;
    m_nSecond = second;
    m_nMillisecond = millisecond;
}

KwTime* KwTime::Now()
{
    Platform::CalendarFields now;
    if (!Platform::LocalCalendarNow(&now))
        return nullptr;
    KwTime* time = new (std::nothrow) KwTime(now.year, now.month, now.day, now.hour, now.minute, now.second);
    if (time)
        time->AddRef();
    return time;
}

KwTime* KwTime::Clone() const
{
    return KwCloneOf(*this);
}

int KwTime::GetDay() const
{
    return m_nDay;
}

// The documented range of the system conversion, checked here because some
// system versions accept days that do not exist, such as 29 February 2001,
// and answer the following day instead.
static int IsConvertible(const Platform::CalendarFields& f, int daysInMonth)
{
    return f.year >= 1601 && f.year <= 30827 && f.day >= 1 && f.day <= daysInMonth && f.hour >= 0
        && f.hour <= 23 && f.minute >= 0 && f.minute <= 59 && f.second >= 0 && f.second <= 59
        && f.millisecond >= 0 && f.millisecond <= 999;
}

int KwTime::ConvertFields(const Platform::CalendarFields& fields, unsigned long long* fileTime) const
{
    if (!IsConvertible(fields, DaysInMonth(fields.year, fields.month)))
        return 0;
    return Platform::CalendarToFileTime(fields, fileTime);
}

int KwTime::DateToFileTime(int year, int month, int day, unsigned long long* fileTime) const
{
    Platform::CalendarFields fields;
    memset(&fields, 0, sizeof fields);
    fields.year = year;
    fields.month = month;
    fields.day = day;
    return ConvertFields(fields, fileTime);
}

int KwTime::GetDayOfYear() const
{
    unsigned long long date = 0;
    unsigned long long newYear = 0;
    if (!DateToFileTime(m_nYear, m_nMonth, m_nDay, &date) || !DateToFileTime(m_nYear, 1, 1, &newYear))
        return -1;
    return static_cast<int>((date - newYear) / kTicksPerDay);
}

int KwTime::GetDayOfWeek() const
{
    unsigned long long date = 0;
    Platform::CalendarFields fields;
    if (!DateToFileTime(m_nYear, m_nMonth, m_nDay, &date) || !Platform::FileTimeToCalendar(date, &fields))
        return -1;
    return fields.dayOfWeek;
}

int KwTime::GetHour() const
{
    return m_nHour;
}

int KwTime::GetMinute() const
{
    return m_nMinute;
}

int KwTime::GetMonth() const
{
    return m_nMonth;
}

int KwTime::GetSecond() const
{
    return m_nSecond;
}

unsigned long long KwTime::GetFileTime() const
{
    return ToFileTime();
}

int KwTime::GetYear() const
{
    return m_nYear;
}

int KwTime::SetDay(int day)
{
    if (!IsValidDay(m_nYear, m_nMonth, day))
        return 0;
    m_nDay = day;
    return 1;
}

int KwTime::SetHour(int hour)
{
    if (hour < 0 || hour > 23)
        return 0;
    m_nHour = hour;
    return 1;
}

int KwTime::SetMinute(int minute)
{
    if (minute < 0 || minute > 59)
        return 0;
    m_nMinute = minute;
    return 1;
}

int KwTime::SetMonth(int month)
{
    if (month < 1 || month > 12)
        return 0;
    m_nMonth = month;
    return 1;
}

int KwTime::SetSecond(int second)
{
    if (second < 0 || second > 59)
        return 0;
    m_nSecond = second;
    return 1;
}

int KwTime::SetFileTime(unsigned int lowPart, unsigned int highPart)
{
    return FromFileTime(lowPart, highPart);
}

int KwTime::SetYear(int year)
{
    if (year < 1900)
        return 0;
    m_nYear = year;
    return 1;
}

// Writes a number as printf's "%0*d" does: a minus sign counts toward the
// width and zeros fill the rest. The text forms are built by hand so that
// the launcher, which needs nothing else of printf, does not carry it.
static char* PutPadded(char* out, int value, int width)
{
    unsigned int magnitude = value < 0 ? 0u - static_cast<unsigned int>(value) : static_cast<unsigned int>(value);
    char digits[10];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude);
    if (value < 0) {
        *out++ = '-';
        --width;
    }
    for (int pad = width - count; pad > 0; --pad)
        *out++ = '0';
    while (count)
        *out++ = digits[--count];
    return out;
}

// Joins the first count fields (year, month, day, hour, minute, second), the
// year 4 and the others 2 digits wide, with the separators between them in
// turn until they run out.
KwString KwTime::JoinFields(int count, const char* separators) const
{
    const int values[6] = { m_nYear, m_nMonth, m_nDay, m_nHour, m_nMinute, m_nSecond };
    // Six numbers of at most 11 bytes each with their separators.
    char text[6 * 12 + 1];
    char* out = text;
    for (int i = 0; i < count; ++i) {
        out = PutPadded(out, values[i], i == 0 ? 4 : 2);
        if (*separators)
            *out++ = *separators++;
    }
    return KwString(text, static_cast<int>(out - text));
}

KwString KwTime::ToString() const
{
    return JoinFields(6, "-- ::");
}

KwString KwTime::ToDateString() const
{
    return JoinFields(3, "--");
}

KwString KwTime::ToStampString() const
{
    return JoinFields(6, "");
}

int KwTime::SetMillisecond(int millisecond)
{
    m_nMillisecond = millisecond;
    return 1;
}

int KwTime::GetMillisecond() const
{
    return m_nMillisecond;
}

void KwTime::Reset()
{
    StoreFields(1900, 0, 0, 0, 0, 0, 0);
}

// Reads the number in front of the next separator and moves the cursor past
// that separator; 0 when the separator does not follow.
static int ReadNumberBefore(const char*& cursor, char separator, int* value)
{
    const char* found = strchr(cursor, separator);
    if (!found)
        return 0;
    *value = KwString(cursor, static_cast<int>(found - cursor)).ToInt();
    cursor = found + 1;
    return 1;
}

int KwTime::Parse(const KwString& text)
{
    const char* cursor = text.GetText();
    int year = 0, month = 0, day = 0, hour = 0, minute = 0;
    if (!cursor || !*cursor || !ReadNumberBefore(cursor, '-', &year) || !ReadNumberBefore(cursor, '-', &month)
        || !ReadNumberBefore(cursor, ' ', &day) || !ReadNumberBefore(cursor, ':', &hour)
        || !ReadNumberBefore(cursor, ':', &minute)) {
        Reset();
        return 0;
    }
    StoreFields(year, month, day, hour, minute, KwString(cursor).ToInt(), m_nMillisecond);
    return 1;
}

int KwTime::FromFileTime(unsigned int lowPart, unsigned int highPart)
{
    Platform::CalendarFields fields;
    if (!Platform::FileTimeToCalendar(JoinHalves(lowPart, highPart), &fields))
        return 0;
    StoreFields(fields.year, fields.month, fields.day, fields.hour, fields.minute, fields.second,
                fields.millisecond);
    return 1;
}

int KwTime::IsValidDay(int year, int month, int day) const
{
    int days = DaysInMonth(year, month);
    return days > 0 && day > 0 && day <= days;
}

int KwTime::DaysInMonth(int year, int month) const
{
    switch (month) {
    case 2:
        return IsLeapYear(year) ? 29 : 28;
    case 4:
    case 6:
    case 9:
    case 11:
        return 30;
    default:
        return month >= 1 && month <= 12 ? 31 : 0;
    }
}

int KwTime::IsLeapYear(int year) const
{
    return year % 400 == 0 || (year % 4 == 0 && year % 100 != 0);
}

unsigned long long KwTime::ToFileTime() const
{
    Platform::CalendarFields fields;
    fields.year = m_nYear;
    fields.month = m_nMonth;
    fields.dayOfWeek = 0;
    fields.day = m_nDay;
    fields.hour = m_nHour;
    fields.minute = m_nMinute;
    fields.second = m_nSecond;
    fields.millisecond = m_nMillisecond;
    unsigned long long fileTime = 0;
    if (!ConvertFields(fields, &fileTime))
        return 0;
    return fileTime;
}

} // namespace KwSDK
