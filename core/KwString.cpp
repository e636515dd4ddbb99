// Byte-string operations; every change allocates an exact new buffer except Format.
#include "KwString.h"

#include "KwPlatform.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace KwSDK {

static const int kFormatStep = 1000;
// The float constructor's usual area; "%f" of magnitudes from about 10^12 needs more.
static const int kFloatArea = 20;

static bool IsTrimmed(char ch)
{
    return ch == '\t' || ch == '\n' || ch == '\r' || ch == ' ';
}

static unsigned char LowerAscii(unsigned char ch)
{
    return (ch >= 'A' && ch <= 'Z') ? static_cast<unsigned char>(ch - 'A' + 'a') : ch;
}

// Orders two byte runs as unsigned bytes, a shorter prefix first.
static int CompareBytes(const char* a, int lengthA, const char* b, int lengthB)
{
    int common = lengthA < lengthB ? lengthA : lengthB;
    if (common > 0) {
        int result = memcmp(a, b, static_cast<size_t>(common));
        if (result != 0)
            return result;
    }
    return lengthA == lengthB ? 0 : (lengthA < lengthB ? -1 : 1);
}

static int CompareNoCaseTexts(const char* a, int lengthA, const char* b, int lengthB)
{
    if (lengthA == 0 || lengthB == 0)
        return lengthA == lengthB ? 0 : (lengthA == 0 ? -1 : 1);
    const unsigned char* left = reinterpret_cast<const unsigned char*>(a);
    const unsigned char* right = reinterpret_cast<const unsigned char*>(b);
    while (*left && LowerAscii(*left) == LowerAscii(*right)) {
        ++left;
        ++right;
    }
    return static_cast<int>(LowerAscii(*left)) - static_cast<int>(LowerAscii(*right));
}

static int TextLength(const char* text)
{
    if (!text)
        return 0;
    size_t length = strlen(text);
    return length > static_cast<size_t>(INT_MAX) ? INT_MAX : static_cast<int>(length);
}

KwString::KwString()
    : m_pText(nullptr), m_nLength(0), m_pWide(nullptr)
{
    AppendTypeName("KwString");
    Assign(nullptr, 0);
}

KwString::KwString(const char* text)
    : m_pText(nullptr), m_nLength(0), m_pWide(nullptr)
{
    AppendTypeName("KwString");
    Assign(text, TextLength(text));
}

KwString::KwString(const char* bytes, int length)
    : m_pText(nullptr), m_nLength(0), m_pWide(nullptr)
{
    AppendTypeName("KwString");
    if (!Assign(bytes, length))
        Assign(nullptr, 0);
}

KwString::KwString(const KwString& other)
    : KwObject(), m_pText(nullptr), m_nLength(0), m_pWide(nullptr)
{
    AppendTypeName("KwString");
    CopyFrom(other);
}

KwString::KwString(int value)
    : m_pText(nullptr), m_nLength(0), m_pWide(nullptr)
{
    AppendTypeName("KwString");
    char digits[16];
    int length = snprintf(digits, sizeof digits, "%d", value);
    Assign(digits, length);
}

KwString::KwString(float value)
    : m_pText(nullptr), m_nLength(0), m_pWide(nullptr)
{
    AppendTypeName("KwString");
    char area[kFloatArea];
    int length = snprintf(area, sizeof area, "%f", static_cast<double>(value));
    if (length < 0) {
        Assign(nullptr, 0);
    } else if (length < kFloatArea) {
        Assign(area, length);
    } else {
        // Large magnitudes: format again into a buffer of the size reported.
        char* buffer = static_cast<char*>(malloc(static_cast<size_t>(length) + 1));
        if (buffer && snprintf(buffer, static_cast<size_t>(length) + 1, "%f", static_cast<double>(value)) == length)
            TakeBuffer(buffer, length);
        else
            free(buffer);
    }
}

KwString::~KwString()
{
    free(m_pText);
    free(m_pWide);
}

KwString& KwString::operator=(const KwString& other)
{
    if (this != &other)
        CopyFrom(other);
    return *this;
}

KwString& KwString::operator=(const char* text)
{
    Assign(text, TextLength(text));
    return *this;
}

// Copies keep an absent text absent, so that a copy compares and orders
// exactly like its original (map keys rely on that).
void KwString::CopyFrom(const KwString& other)
{
    if (other.m_pText)
        Assign(other.m_pText, other.m_nLength);
    else
        MakeAbsent();
}

// Replaces the text by a buffer the string now owns.
void KwString::TakeBuffer(char* buffer, int length)
{
    free(m_pText);
    m_pText = buffer;
    m_nLength = length;
}

void KwString::MakeAbsent()
{
    TakeBuffer(nullptr, 0);
}

int KwString::Assign(const char* bytes, int length)
{
    if (!bytes) {
        bytes = "";
        length = 0;
    }
    if (length < 0)
        return 0;
    if (bytes == m_pText && length == m_nLength)
        return 1;
    // The old buffer is freed only after copying, so bytes may point into it.
    char* buffer = static_cast<char*>(malloc(static_cast<size_t>(length) + 1));
    if (!buffer)
        return 0;
    if (length > 0)
        memcpy(buffer, bytes, static_cast<size_t>(length));
    buffer[length] = '\0';
    TakeBuffer(buffer, length);
    return 1;
}

int KwString::Append(const char* text)
{
    if (!text)
        return 1;
    size_t addition = strlen(text);
    if (addition > static_cast<size_t>(INT_MAX - m_nLength))
        return 0;
    int length = m_nLength + static_cast<int>(addition);
    char* buffer = static_cast<char*>(malloc(static_cast<size_t>(length) + 1));
    if (!buffer)
        return 0;
    if (m_nLength > 0)
        memcpy(buffer, m_pText, static_cast<size_t>(m_nLength));
    memcpy(buffer + m_nLength, text, addition + 1);
    TakeBuffer(buffer, length);
    return 1;
}

KwString KwString::operator+(const char* text) const
{
    KwString result(*this);
    result.Append(text);
    return result;
}

KwString KwString::operator+(const KwString& other) const
{
    return *this + other.m_pText;
}

int KwString::Format(const char* format, ...)
{
    if (!format) {
        MakeAbsent();
        return 1;
    }
    va_list arguments;
    va_start(arguments, format);
    int result = FormatArguments(format, arguments);
    va_end(arguments);
    return result;
}

// Formats into buffers growing in 1000-byte steps and keeps the one that fits;
// a formatter error leaves the old value in place.
int KwString::FormatArguments(const char* format, va_list arguments)
{
    int size = kFormatStep;
    for (;;) {
        char* buffer = static_cast<char*>(malloc(static_cast<size_t>(size)));
        if (!buffer)
            return 0;
        va_list attempt;
        va_copy(attempt, arguments);
        int written = vsnprintf(buffer, static_cast<size_t>(size), format, attempt);
        va_end(attempt);
        if (written >= 0 && written < size) {
            TakeBuffer(buffer, written);
            return 1;
        }
        free(buffer);
        if (written < 0 || written > INT_MAX - kFormatStep)
            return 0;
        // The formatter reports the size it needs: go straight to the first
        // 1000-byte step that holds it.
        size = (written / kFormatStep + 1) * kFormatStep;
    }
}

int KwString::Find(char ch) const
{
    if (m_nLength <= 0)
        return -1;
    const void* found = memchr(m_pText, ch, static_cast<size_t>(m_nLength));
    return found ? static_cast<int>(static_cast<const char*>(found) - m_pText) : -1;
}

int KwString::Find(const char* text) const
{
    if (m_nLength <= 0 || !text)
        return -1;
    const char* found = strstr(m_pText, text);
    return found ? static_cast<int>(found - m_pText) : -1;
}

int KwString::ReverseFind(char ch) const
{
    for (int position = m_nLength - 1; position >= 0; --position) {
        if (m_pText[position] == ch)
            return position;
    }
    return -1;
}

KwString KwString::Mid(int start, int end) const
{
    if (end == -1)
        end = m_nLength;
    if (!m_pText || start < 0 || start > end || end > m_nLength)
        return KwString();
    // The end may name the terminator's position, which adds no byte.
    int stop = end < m_nLength ? end + 1 : m_nLength;
    return KwString(m_pText + start, stop - start);
}

// Counts non-overlapping occurrences, scanning left to right.
int KwString::CountOccurrences(const char* from, int fromLength) const
{
    int count = 0;
    for (int position = 0; position + fromLength <= m_nLength;) {
        if (memcmp(m_pText + position, from, static_cast<size_t>(fromLength)) == 0) {
            ++count;
            position += fromLength;
        } else {
            ++position;
        }
    }
    return count;
}

int KwString::Replace(const char* from, const char* to)
{
    if (!from || !to || !*from)
        return 0;
    int fromLength = TextLength(from);
    int toLength = TextLength(to);
    int count = CountOccurrences(from, fromLength);
    if (count == 0)
        return 1;
    long long length = static_cast<long long>(m_nLength) + static_cast<long long>(count) * (toLength - fromLength);
    if (length > INT_MAX)
        return 0;
    char* buffer = static_cast<char*>(malloc(static_cast<size_t>(length) + 1));
    if (!buffer)
        return 0;
    char* out = buffer;
    for (int position = 0; position < m_nLength;) {
        if (position + fromLength <= m_nLength
            && memcmp(m_pText + position, from, static_cast<size_t>(fromLength)) == 0) {
            memcpy(out, to, static_cast<size_t>(toLength));
            out += toLength;
            position += fromLength;
        } else {
            *out++ = m_pText[position++];
        }
    }
    *out = '\0';
    TakeBuffer(buffer, static_cast<int>(length));
    return 1;
}

// Keeps count bytes from start in a new exact buffer.
int KwString::KeepRange(int start, int count)
{
    char* buffer = static_cast<char*>(malloc(static_cast<size_t>(count) + 1));
    if (!buffer)
        return 0;
    memcpy(buffer, m_pText + start, static_cast<size_t>(count));
    buffer[count] = '\0';
    TakeBuffer(buffer, count);
    return 1;
}

int KwString::TrimLeft()
{
    int first = 0;
    while (first < m_nLength && IsTrimmed(m_pText[first]))
        ++first;
    if (first == m_nLength) {
        MakeAbsent();
        return 1;
    }
    return first == 0 ? 1 : KeepRange(first, m_nLength - first);
}

int KwString::TrimRight()
{
    int last = m_nLength - 1;
    while (last >= 0 && IsTrimmed(m_pText[last]))
        --last;
    if (last < 0) {
        MakeAbsent();
        return 1;
    }
    return last == m_nLength - 1 ? 1 : KeepRange(0, last + 1);
}

int KwString::Compare(const char* text) const
{
    return CompareBytes(m_pText, m_nLength, text, TextLength(text));
}

int KwString::Compare(const KwString& other) const
{
    return CompareBytes(m_pText, m_nLength, other.m_pText, other.m_nLength);
}

int KwString::CompareNoCase(const char* text) const
{
    return CompareNoCaseTexts(m_pText, m_nLength, text, TextLength(text));
}

int KwString::CompareNoCase(const KwString& other) const
{
    return CompareNoCaseTexts(m_pText, m_nLength, other.m_pText, other.m_nLength);
}

int KwString::ToInt() const
{
    if (m_nLength <= 0)
        return 0;
    // strtol instead of atoi: atoi has no defined result past the int range.
    long value = strtol(m_pText, nullptr, 10);
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

const wchar_t* KwString::ToWide()
{
    free(m_pWide);
    m_pWide = nullptr;
    if (m_nLength <= 0)
        return nullptr;
    int needed = Platform::AnsiToWide(m_pText, nullptr, 0);
    if (needed <= 0)
        return nullptr;
    wchar_t* wide = static_cast<wchar_t*>(malloc(static_cast<size_t>(needed) * sizeof(wchar_t)));
    if (!wide)
        return nullptr;
    if (Platform::AnsiToWide(m_pText, wide, needed) <= 0) {
        free(wide);
        return nullptr;
    }
    m_pWide = wide;
    return m_pWide;
}

int KwString::FromWide(const wchar_t* text)
{
    if (!text)
        return Assign(nullptr, 0);
    int needed = Platform::WideToAnsi(text, nullptr, 0);
    if (needed <= 0)
        return 0;
    char* buffer = static_cast<char*>(malloc(static_cast<size_t>(needed)));
    if (!buffer)
        return 0;
    int written = Platform::WideToAnsi(text, buffer, needed);
    if (written <= 0) {
        free(buffer);
        return 0;
    }
    TakeBuffer(buffer, written - 1);
    return 1;
}

int KwString::GetLength() const
{
    return m_nLength;
}

const char* KwString::GetText() const
{
    return m_pText;
}

} // namespace KwSDK
