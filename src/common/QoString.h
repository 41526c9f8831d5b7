#pragma once
// CQoString: the maker's wide (UTF-16) string. It keeps its own raw buffer that grows in steps of
// 16 characters, reads as empty text while it has no buffer, and offers the quoting, tokenising,
// hex and date conversions the programs exchange texts with.

#include "platform/device/Printf.h"
#include "platform/device/StringResources.h"

#include <cstdint>

namespace device {
struct SystemTime;
}

class CQoString {
public:
    CQoString();
    CQoString(const char16_t* text);
    CQoString(const CQoString& other);
    CQoString(CQoString&& other) noexcept;
    virtual ~CQoString();

    CQoString& operator=(const char16_t* text);
    CQoString& operator=(const CQoString& other);
    CQoString& operator=(CQoString&& other) noexcept;

    // Storage.
    bool Reserve(unsigned characters);
    char16_t* GetBuffer(unsigned characters);
    unsigned ReleaseBuffer(int length = -1);
    void Append(const char16_t* text);
    void AppendChar(char16_t c);
    CQoString operator+(const char16_t* text) const;
    CQoString& operator+=(const char16_t* text)
    {
        Append(text);
        return *this;
    }
    char16_t GetAt(int index) const;
    unsigned GetLength() const { return m_length; }
    unsigned GetCapacity() const { return m_capacity; }
    bool IsEmpty() const { return m_length == 0; }
    bool HasBuffer() const { return m_buffer != nullptr; }
    // The text; a string without a buffer reads as empty text.
    const char16_t* GetString() const { return m_buffer ? m_buffer : u""; }
    operator const char16_t*() const { return GetString(); }
    device::WideView View() const { return device::WideView(GetString(), m_length); }

    // Substrings.
    CQoString Left(int count) const;
    CQoString Mid(int start, int count = -1) const;
    CQoString Right(int count) const;

    // Searching: character indexes, -1 when nothing is found.
    int Find(const char16_t* text, int start = 0) const;
    int Find(char16_t c, int start = 0) const;
    int ReverseFind(const char16_t* text) const;
    int FindOneOf(const char16_t* set) const;

    // Comparison, all without regard to case.
    int CompareNoCase(const char16_t* text) const;
    bool operator==(const char16_t* text) const;
    bool operator==(const CQoString& other) const;
    bool operator!=(const char16_t* text) const { return !(*this == text); }
    bool operator!=(const CQoString& other) const { return !(*this == other); }
    bool StartsWith(const char16_t* text) const;
    bool EndsWith(const char16_t* text) const;
    bool Contains(const char16_t* text, bool caseSensitive) const;

    // Editing in place.
    void TrimLeft();
    void TrimRight();
    void Trim();
    void MakeLower();
    void MakeUpper();
    int Replace(const char16_t* oldText, const char16_t* newText);
    void MakeTitle();

    // printf-style formatting of at most 2,048 characters; a longer result is cut there.
    template <typename... Args>
    unsigned Format(const char16_t* format, const Args&... args)
    {
        const device::FormatArg list[] = {device::FormatArg(args)..., device::FormatArg(0)};
        return FormatList(format, std::span<const device::FormatArg>(list, sizeof...(Args)));
    }
    unsigned FormatList(const char16_t* format, std::span<const device::FormatArg> args);
    static constexpr unsigned FormatLimit = 2048;

    bool LoadString(device::ModuleHandle module, std::uint32_t id);
    void GetLastErrorText();

#ifdef QO_COMMON_LITE
    static CQoString Quote(const char16_t* text);
#else
    static CQoString Quote(const char16_t* text, char16_t quote = u'"');
#endif
    static CQoString Unquote(const char16_t* text);
    static CQoString ToHex(const char16_t* text);
    static CQoString FromHex(const char16_t* text);

    // Takes the next token off the front of this string (the remaining text).
    bool NextToken(CQoString& token, const char16_t* delimiters);

    // Date conversion through the device's locale (English, United States).
    bool ToSystemTime(device::SystemTime& record, std::uint32_t flags = 0) const;
    bool FromSystemTime(const device::SystemTime& record, std::uint32_t flags = 0);

private:
    void AssignText(const char16_t* text);
    void Release();

    char16_t* m_buffer = nullptr;
    unsigned m_length = 0;
    unsigned m_capacity = 0;
};
