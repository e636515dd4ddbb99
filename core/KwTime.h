// Calendar date and time of day with file-time conversion, formatting and parsing.
#ifndef KWSDK_KWTIME_H
#define KWSDK_KWTIME_H

#include "KwObject.h"
#include "KwString.h"

namespace KwSDK {
namespace Platform {
struct CalendarFields;
}
}

namespace KwSDK {

// A plain calendar reading with no time zone: Now fills local time, and the
// file-time conversions take the fields as they stand, so the caller decides
// which zone they mean. File times count 100-nanosecond intervals since
// 1601-01-01 00:00 and are passed as two 32-bit halves or one 64-bit value.
class KwTime : public virtual KwObject {
public:
    // Year 1900, every other field 0.
    KwTime();
    // As FromFileTime; a time the system cannot convert leaves the default.
    KwTime(unsigned int lowPart, unsigned int highPart);
    // Stores the fields as given, millisecond 0.
    KwTime(int year, int month, int day, int hour, int minute, int second);
    KwTime(const KwTime& other);
    KwTime& operator=(const KwTime& other);
    ~KwTime() override;

    // The current local time to the second, millisecond 0, carrying one
    // reference; null when the clock cannot be read or memory runs out.
    static KwTime* Now();
    // A copy of all seven fields carrying one reference, or null.
    KwTime* Clone() const override;

    virtual int GetDay() const;
    // 0 for 1 January; -1 when the stored date is not a convertible date.
    virtual int GetDayOfYear() const;
    // 0 for Sunday; -1 when the stored date is not a convertible date.
    virtual int GetDayOfWeek() const;
    virtual int GetHour() const;
    virtual int GetMinute() const;
    virtual int GetMonth() const;
    virtual int GetSecond() const;
    // Same as ToFileTime.
    virtual unsigned long long GetFileTime() const;
    virtual int GetYear() const;
    // Setters answer 1 when the value is in range for the field, else 0 and
    // the field is unchanged. A day must exist in the stored year and month.
    virtual int SetDay(int day);
    virtual int SetHour(int hour);
    virtual int SetMinute(int minute);
    virtual int SetMonth(int month);
    virtual int SetSecond(int second);
    // Same as FromFileTime.
    virtual int SetFileTime(unsigned int lowPart, unsigned int highPart);
    // 1900 or later.
    virtual int SetYear(int year);
    // "YYYY-MM-DD hh:mm:ss".
    virtual KwString ToString() const;
    // "YYYY-MM-DD".
    virtual KwString ToDateString() const;
    // Stored unchecked; answers 1.
    virtual int SetMillisecond(int millisecond);
    virtual int GetMillisecond() const;
    // Back to year 1900 with every other field 0.
    virtual void Reset();
    // Reads text in the form of ToString, storing the six numbers without
    // range checks. Empty text or a missing separator resets and answers 0.
    virtual int Parse(const KwString& text);
    // Stores all seven fields of a file time; 0 (fields unchanged) when the
    // system cannot convert it.
    virtual int FromFileTime(unsigned int lowPart, unsigned int highPart);
    virtual int IsValidDay(int year, int month, int day) const;
    // 0 for a month outside 1-12.
    virtual int DaysInMonth(int year, int month) const;
    virtual int IsLeapYear(int year) const;
    // The fields as a file time; 0 when they do not form a time the system
    // can convert (year 1601-30827, real day, hour 0-23, millisecond 0-999).
    virtual unsigned long long ToFileTime() const;

    // "YYYYMMDDhhmmss", the time stamp that names extraction folders.
    KwString ToStampString() const;

private:
    KwString JoinFields(int count, const char* separators) const;
    void CopyFields(const KwTime& other);
    void StoreFields(int year, int month, int day, int hour, int minute, int second, int millisecond);
    // Fields to a file time after checking the system's documented ranges.
    int ConvertFields(const Platform::CalendarFields& fields, unsigned long long* fileTime) const;
    // The stored date at midnight as a file time; 0 when it cannot be converted.
    int DateToFileTime(int year, int month, int day, unsigned long long* fileTime) const;

    int m_nYear;
    int m_nMonth;
    int m_nDay;
    int m_nHour;
    int m_nMinute;
    int m_nSecond;
    int m_nMillisecond;
};

} // namespace KwSDK

#endif
