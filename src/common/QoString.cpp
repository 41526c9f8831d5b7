#include "common/QoString.h"

#include "platform/device/DateFormatter.h"
#include "platform/device/DateParser.h"
#include "platform/device/DebugOutput.h"
#include "platform/device/LastError.h"
#include "platform/device/SystemTime.h"
#include "platform/device/VariantTime.h"

#include <cstring>
#include <new>
#include <vector>

namespace {

constexpr unsigned GrowthStep = 16;

unsigned textLength(const char16_t* text) { return unsigned(device::wideLength(text)); }

bool isAsciiLetter(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }

// Index of `text` in `haystack` at or after `start`, or -1.
int findIn(device::WideView haystack, device::WideView text, std::size_t start)
{
    if (start > haystack.size())
        return -1;
    std::size_t at = haystack.find(text, start);
    return at == device::WideView::npos ? -1 : int(at);
}

bool pointsInto(const char16_t* text, const char16_t* buffer, unsigned capacity)
{
    return buffer && text && std::less_equal<const char16_t*>()(buffer, text) &&
           std::less<const char16_t*>()(text, buffer + capacity);
}

} // namespace

CQoString::CQoString() = default;

CQoString::CQoString(const char16_t* text) { AssignText(text); }

CQoString::CQoString(const CQoString& other) { AssignText(other.m_buffer); }

CQoString::CQoString(CQoString&& other) noexcept
    : m_buffer(other.m_buffer), m_length(other.m_length), m_capacity(other.m_capacity)
{
    other.m_buffer = nullptr;
    other.m_length = 0;
    other.m_capacity = 0;
}

CQoString::~CQoString() { Release(); }

CQoString& CQoString::operator=(const char16_t* text)
{
    AssignText(text);
    return *this;
}

CQoString& CQoString::operator=(const CQoString& other)
{
    if (this != &other)
        AssignText(other.m_buffer);
    return *this;
}

CQoString& CQoString::operator=(CQoString&& other) noexcept
{
    if (this != &other) {
        Release();
        m_buffer = other.m_buffer;
        m_length = other.m_length;
        m_capacity = other.m_capacity;
        other.m_buffer = nullptr;
        other.m_length = 0;
        other.m_capacity = 0;
    }
    return *this;
}

void CQoString::Release()
{
    delete[] m_buffer;
    m_buffer = nullptr;
    m_length = 0;
    m_capacity = 0;
}

void CQoString::AssignText(const char16_t* text)
{
    if (!text) {
#ifdef QO_COMMON_LITE
        // The small programs drop the buffer along with the text.
        Release();
#else
        m_length = 0;
        if (m_buffer)
            m_buffer[0] = 0;
#endif
        return;
    }
    if (pointsInto(text, m_buffer, m_capacity)) {
        // Assigning a part of this string to itself: copy it out before the buffer can move.
        std::u16string copy(text);
        AssignText(copy.c_str());
        return;
    }
    m_length = textLength(text);
    Reserve(m_length);
    std::memcpy(m_buffer, text, (m_length + 1) * sizeof(char16_t));
}

bool CQoString::Reserve(unsigned characters)
{
    if (m_capacity >= characters + 1u)
        return true;
    unsigned capacity = characters + GrowthStep;
    auto* buffer = new char16_t[capacity](); // zero-filled; throws std::bad_alloc when out of memory
    if (m_buffer)
        std::memcpy(buffer, m_buffer, m_capacity * sizeof(char16_t));
    delete[] m_buffer;
    m_buffer = buffer;
    m_capacity = capacity;
    return true;
}

char16_t* CQoString::GetBuffer(unsigned characters)
{
    Reserve(characters + 1);
    return m_buffer;
}

unsigned CQoString::ReleaseBuffer(int length)
{
    if (!m_buffer || m_capacity == 0)
        return 0;
    if (length < 0) {
        unsigned n = 0;
        while (n < m_capacity && m_buffer[n])
            ++n;
        if (n == m_capacity) {
            // No terminator inside the buffer: keep the invariant by cutting the last character.
            n = m_capacity - 1;
            m_buffer[n] = 0;
        }
        m_length = n;
    } else {
        m_length = unsigned(length) < m_capacity - 1 ? unsigned(length) : m_capacity - 1;
        m_buffer[m_length] = 0;
    }
    return m_length;
}

void CQoString::Append(const char16_t* text)
{
    if (!m_buffer) {
        AssignText(text);
        return;
    }
    if (!text)
        return;
    if (pointsInto(text, m_buffer, m_capacity)) {
        std::u16string copy(text);
        Append(copy.c_str());
        return;
    }
    unsigned added = textLength(text);
    Reserve(m_length + added);
    std::memcpy(m_buffer + m_length, text, (added + 1) * sizeof(char16_t));
    m_length = textLength(m_buffer);
}

void CQoString::AppendChar(char16_t c)
{
    Reserve(m_length + 2);
    m_buffer[m_length] = c;
    m_buffer[m_length + 1] = 0;
    ++m_length;
}

CQoString CQoString::operator+(const char16_t* text) const
{
    CQoString result(*this);
    result.Append(text);
    return result;
}

char16_t CQoString::GetAt(int index) const
{
    if (!m_buffer || index < 0 || unsigned(index) >= m_length)
        return 0;
    return m_buffer[index];
}

CQoString CQoString::Left(int count) const
{
    if (count < 0)
        return CQoString(u"");
    if (unsigned(count) < m_length)
        return CQoString(std::u16string(m_buffer, unsigned(count)).c_str());
    return *this;
}

CQoString CQoString::Mid(int start, int count) const
{
    if (start < 0)
        start = 0;
    if (unsigned(start) > m_length)
        return CQoString(u"");
    if (count < -1)
        return CQoString(u"");
    if (count == -1 || unsigned(start) + unsigned(count) > m_length)
        return CQoString(GetString() + start);
    return CQoString(std::u16string(m_buffer + start, unsigned(count)).c_str());
}

CQoString CQoString::Right(int count) const
{
    if (count < 0)
        return CQoString(u"");
    if (m_length >= unsigned(count))
        return CQoString(GetString() + (m_length - unsigned(count)));
    return *this;
}

int CQoString::Find(const char16_t* text, int start) const
{
    if (!m_buffer || !text)
        return -1;
    return findIn(View(), text, start < 0 ? 0 : std::size_t(start));
}

int CQoString::Find(char16_t c, int start) const
{
    if (!m_buffer)
        return -1;
    const char16_t single[2] = {c, 0};
    return findIn(View(), device::WideView(single, 1), start < 0 ? 0 : std::size_t(start));
}

int CQoString::ReverseFind(const char16_t* text) const
{
    int last = -1;
    for (int at = Find(text, 0); at >= 0; at = Find(text, at + 1))
        last = at;
    return last;
}

int CQoString::FindOneOf(const char16_t* set) const
{
    if (!m_buffer || !set)
        return -1;
    std::size_t at = View().find_first_of(set);
    return at == device::WideView::npos ? -1 : int(at);
}

int CQoString::CompareNoCase(const char16_t* text) const
{
    if (!m_buffer && !text)
        return 0;
    if (!m_buffer)
        return -1;
    if (!text)
        return 1;
    return device::compareNoCase(View(), text);
}

bool CQoString::operator==(const char16_t* text) const
{
    if (!m_buffer)
        return !text || !*text;
    return device::compareNoCase(View(), text ? text : u"") == 0;
}

bool CQoString::operator==(const CQoString& other) const
{
    // Two empty strings are equal whether or not either holds a buffer.
    if (!m_buffer)
        return other.m_length == 0;
    if (!other.m_buffer)
        return m_length == 0;
    return device::compareNoCase(View(), other.View()) == 0;
}

bool CQoString::StartsWith(const char16_t* text) const
{
    if (!text)
        return false;
    return Left(int(textLength(text))).CompareNoCase(text) == 0;
}

bool CQoString::EndsWith(const char16_t* text) const
{
    if (!text)
        return false;
    return Right(int(textLength(text))).CompareNoCase(text) == 0;
}

bool CQoString::Contains(const char16_t* text, bool caseSensitive) const
{
    if (!text)
        return false;
    if (caseSensitive)
        return Find(text) >= 0;
    // Repeated searches in one text upper-case it once. The cache is per thread: the reader
    // thread matches rules while the user-interface thread searches too.
    thread_local CQoString cachedSource;
    thread_local CQoString cachedUpper;
    if (!cachedSource.HasBuffer() || cachedSource.CompareNoCase(GetString()) != 0) {
        cachedSource = GetString();
        cachedUpper = GetString();
        cachedUpper.MakeUpper();
    }
    CQoString needle(text);
    needle.MakeUpper();
    return cachedUpper.Find(needle.GetString()) >= 0;
}

void CQoString::TrimLeft()
{
    if (!m_buffer)
        return;
    unsigned skip = 0;
    while (skip < m_length && m_buffer[skip] == u' ')
        ++skip;
    if (skip) {
        std::memmove(m_buffer, m_buffer + skip, (m_length - skip + 1) * sizeof(char16_t));
        m_length -= skip;
    }
}

void CQoString::TrimRight()
{
    if (!m_buffer)
        return;
    while (m_length > 0 && m_buffer[m_length - 1] == u' ')
        m_buffer[--m_length] = 0;
}

void CQoString::Trim()
{
    TrimRight();
    TrimLeft();
}

void CQoString::MakeLower()
{
    for (unsigned i = 0; i < m_length; ++i)
        m_buffer[i] = device::foldLower(m_buffer[i]);
}

void CQoString::MakeUpper()
{
    for (unsigned i = 0; i < m_length; ++i)
        m_buffer[i] = device::foldUpper(m_buffer[i]);
}

int CQoString::Replace(const char16_t* oldText, const char16_t* newText)
{
    // An empty pattern would match between every two characters; it replaces nothing.
    if (!m_buffer || !oldText || !*oldText)
        return 0;
    if (!newText)
        newText = u"";
    std::u16string replacement(newText);
#ifdef QO_COMMON_LITE
    if (replacement.find(oldText) != std::u16string::npos)
        return 0;
#endif
    std::u16string pattern(oldText);
    std::u16string text(View());
    int count = 0;
    std::size_t at = text.find(pattern);
    while (at != std::u16string::npos) {
        text.replace(at, pattern.size(), replacement);
        ++count;
        at = text.find(pattern, at + replacement.size());
    }
    if (count)
        AssignText(text.c_str());
    return count;
}

void CQoString::MakeTitle()
{
    static const char16_t* const minorWords[] = {u"a",    u"an",   u"the", u"and", u"but",  u"or",  u"nor",
                                                 u"at",   u"by",   u"for", u"from", u"in",  u"into", u"of",
                                                 u"off",  u"on",   u"onto", u"out", u"to",  u"up",  u"with"};
    bool sentenceStart = true;
    unsigned i = 0;
    while (i < m_length) {
        char16_t c = m_buffer[i];
        if (c == u'.' || c == u'?' || c == u'!') {
            sentenceStart = true;
            ++i;
            continue;
        }
        if (!isAsciiLetter(c)) {
            ++i;
            continue;
        }
        unsigned end = i;
        while (end < m_length && isAsciiLetter(m_buffer[end])) {
            m_buffer[end] = device::foldLower(m_buffer[end]);
            ++end;
        }
        device::WideView word(m_buffer + i, end - i);
        bool capitalise = sentenceStart;
        if (sentenceStart) {
            sentenceStart = false;
        } else {
            capitalise = true;
            for (const char16_t* minor : minorWords) {
                if (device::equalsNoCase(word, minor)) {
                    capitalise = false;
                    break;
                }
            }
        }
        if (capitalise)
            m_buffer[i] = device::foldUpper(m_buffer[i]);
        i = end;
    }
}

unsigned CQoString::FormatList(const char16_t* format, std::span<const device::FormatArg> args)
{
    // The arguments may point into this string, so format into a separate buffer first.
    std::vector<char16_t> scratch(FormatLimit + 1);
    device::formatInto(scratch.data(), scratch.size(), format, args);
    Reserve(FormatLimit);
    std::memcpy(m_buffer, scratch.data(), scratch.size() * sizeof(char16_t));
    m_length = textLength(m_buffer);
    return m_length;
}

bool CQoString::LoadString(device::ModuleHandle module, std::uint32_t id)
{
    constexpr unsigned limit = 1024;
    char16_t* buffer = GetBuffer(limit);
    std::size_t n = device::StringResources::load(module, id, buffer, limit);
    ReleaseBuffer(int(n));
    return n > 0;
}

void CQoString::GetLastErrorText()
{
    std::u16string text = device::errorMessageText(device::lastError());
    AssignText(text.c_str());
}

#ifdef QO_COMMON_LITE
CQoString CQoString::Quote(const char16_t* text)
{
    const char16_t quote = u'"';
#else
CQoString CQoString::Quote(const char16_t* text, char16_t quote)
{
#endif
    CQoString inner(text ? text : u"");
    inner.Replace(u"\"", u"%22");
    CQoString result;
    result.AppendChar(quote);
    result.Append(inner.GetString());
    result.AppendChar(quote);
    return result;
}

CQoString CQoString::Unquote(const char16_t* text)
{
    CQoString result(text ? text : u"");
    if (result.m_length >= 2 && result.m_buffer[0] == u'"' && result.m_buffer[result.m_length - 1] == u'"')
        result = result.Mid(1, int(result.m_length) - 2);
    result.Replace(u"%22", u"\"");
    return result;
}

CQoString CQoString::ToHex(const char16_t* text)
{
    static constexpr char16_t digits[] = u"0123456789ABCDEF";
    CQoString result(u"");
    if (!text)
        return result;
    for (const char16_t* p = text; *p; ++p) {
        unsigned byte = *p & 0xFF;
        result.AppendChar(digits[byte >> 4]);
        result.AppendChar(digits[byte & 0xF]);
    }
    return result;
}

CQoString CQoString::FromHex(const char16_t* text)
{
    CQoString upper(text ? text : u"");
    upper.MakeUpper();
    CQoString result(u"");
    if (upper.m_length % 2 != 0)
        return result;
    auto nibble = [](char16_t c) -> unsigned {
        if (c >= u'0' && c <= u'9')
            return c - u'0';
        if (c >= u'A' && c <= u'F')
            return c - u'A' + 10;
        return 0;
    };
    for (unsigned i = 0; i < upper.m_length; i += 2) {
        char16_t c = char16_t((nibble(upper.m_buffer[i]) << 4) | nibble(upper.m_buffer[i + 1]));
        if (c == 0)
            break; // a zero byte would end the text anyway
        result.AppendChar(c);
    }
    return result;
}

bool CQoString::NextToken(CQoString& token, const char16_t* delimiters)
{
    TrimLeft();
    if (m_length == 0)
        return false;
    char16_t first = m_buffer[0];
    if (first == u'"' || first == u'\'') {
        int close = Find(first, 1);
        if (close >= 0) {
            token = Mid(1, close - 1);
            *this = Mid(close + 2);
        } else {
            token = *this;
            *this = u"";
        }
    } else {
        int at = FindOneOf(delimiters ? delimiters : u"");
        if (at >= 0) {
            token = Left(at);
            *this = Mid(at + 1);
        } else {
            token = *this;
            *this = u"";
        }
    }
    token.Trim();
    return true;
}

bool CQoString::ToSystemTime(device::SystemTime& record, std::uint32_t flags) const
{
    double date = 0;
    device::DateError error = device::varDateFromStr(View(), flags, date);
    device::SystemTime converted;
    if (error == device::DateError::None && !device::variantTimeToSystemTime(date, converted))
        error = device::DateError::InvalidArgument;
    switch (error) {
    case device::DateError::None:
        record = converted;
        return true;
    case device::DateError::TypeMismatch:
        device::debugOutput(u"CQoString::ToSystemTime() Failed - Type Mismatch\n");
        return false;
    case device::DateError::Overflow:
        device::debugOutput(u"CQoString::ToSystemTime() Failed - Overflow\n");
        return false;
    default:
        device::debugOutput(u"CQoString::ToSystemTime() Failed\n");
        return false;
    }
}

bool CQoString::FromSystemTime(const device::SystemTime& record, std::uint32_t flags)
{
    double date = 0;
    if (!device::systemTimeToVariantTime(record, date))
        return false;
    std::u16string text;
    if (device::varBstrFromDate(date, flags, text) != device::DateError::None)
        return false;
    AssignText(text.c_str());
    return true;
}
