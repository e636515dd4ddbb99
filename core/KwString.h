// The toolkit's owned byte string in the ANSI code page.
#ifndef KWSDK_KWSTRING_H
#define KWSDK_KWSTRING_H

#include "KwObject.h"

#include <cstdarg>
#include <cstdio>

// Lets the compiler check Format's arguments against the format text. The
// MinGW runtime names the printf flavour its vsnprintf follows.
#if defined(__MINGW_PRINTF_FORMAT)
#define KW_FORMAT_CHECK(formatIndex, firstArgument) \
    __attribute__((format(__MINGW_PRINTF_FORMAT, formatIndex, firstArgument)))
#elif defined(__GNUC__)
#define KW_FORMAT_CHECK(formatIndex, firstArgument) \
    __attribute__((format(printf, formatIndex, firstArgument)))
#else
#define KW_FORMAT_CHECK(formatIndex, firstArgument)
#endif

namespace KwSDK {

// Positions and lengths are byte offsets: no operation interprets multi-byte
// characters. The text may be absent (GetText answers null) after trimming
// to nothing or formatting with a null format; every other empty string holds
// a one-byte buffer with the terminator.
class KwString : public virtual KwObject {
public:
    KwString();
    // A null text gives an empty string.
    KwString(const char* text);
    // Copies length bytes; null bytes give an empty string.
    KwString(const char* bytes, int length);
    KwString(const KwString& other);
    explicit KwString(int value);
    explicit KwString(float value);
    ~KwString() override;

    KwString& operator=(const KwString& other);
    KwString& operator=(const char* text);

    // Replaces the text by length bytes; 0 (old value kept) on a negative length
    // or when memory runs out.
    int Assign(const char* bytes, int length);
    // Appends a zero-terminated text; null appends nothing.
    int Append(const char* text);
    KwString operator+(const char* text) const;
    KwString operator+(const KwString& other) const;
    // printf-style formatting; a null format empties the string (text absent).
    int Format(const char* format, ...) KW_FORMAT_CHECK(2, 3);
    // First position of a byte or of a text; -1 if absent, if the string is
    // empty or the text is null.
    int Find(char ch) const;
    int Find(const char* text) const;
    // Last position of a byte; -1 if absent or empty.
    int ReverseFind(char ch) const;
    // Bytes from start to end, both inclusive; end -1 means the length. Empty
    // unless 0 <= start <= end <= length.
    KwString Mid(int start, int end) const;
    // Replaces every occurrence, left to right, never searching inside an
    // inserted replacement. 0 if a text is null, from is empty or memory runs out.
    int Replace(const char* from, const char* to);
    // Remove leading or trailing tab, line feed, carriage return and space; a
    // string of nothing else becomes empty with its text absent.
    int TrimLeft();
    int TrimRight();
    // Exact byte comparison: 0 only when lengths and all bytes match, otherwise
    // negative or positive in unsigned byte order.
    int Compare(const char* text) const;
    int Compare(const KwString& other) const;
    // An empty side sorts first (two empty sides are equal); otherwise an ASCII
    // case-insensitive comparison.
    int CompareNoCase(const char* text) const;
    int CompareNoCase(const KwString& other) const;
    // Leading decimal digits as with atoi, clamped to the int range; 0 when empty.
    int ToInt() const;
    // The text as wide characters, owned by the string and replaced by the next
    // call; null for an empty string or a failed conversion.
    const wchar_t* ToWide();
    // Replaces the text by the ANSI form of a wide text; null gives an empty
    // string. 0 (old value kept) when the conversion fails.
    int FromWide(const wchar_t* text);
    int GetLength() const;
    const char* GetText() const;

    bool operator==(const KwString& other) const { return Compare(other) == 0; }
    bool operator!=(const KwString& other) const { return Compare(other) != 0; }
    bool operator==(const char* text) const { return Compare(text) == 0; }
    bool operator!=(const char* text) const { return Compare(text) != 0; }

private:
    void CopyFrom(const KwString& other);
    int FormatArguments(const char* format, va_list arguments);
    void TakeBuffer(char* buffer, int length);
    void MakeAbsent();
    int KeepRange(int start, int count);
    int CountOccurrences(const char* from, int fromLength) const;

    char* m_pText;
    int m_nLength;
    wchar_t* m_pWide;
};

} // namespace KwSDK

#endif
