#pragma once
// printf-style formatting in the handheld's wsprintf dialect (%c %d %i %u %x %X %s %S %p, the
// flags "-", "0", "#" and "+", width, precision, the size prefixes l, h and I64) for wide and 8-bit
// text. Arguments are typed, so a conversion can never read an argument that was not passed, and
// output is written into a fixed buffer that is never overrun: a longer result is cut and reported.

#include "platform/device/WideText.h"

#include <cstdint>
#include <span>
#include <string>
#include <type_traits>

namespace device {

class FormatArg {
public:
    enum class Kind { Signed, Unsigned, Wide, Narrow, Real };

    template <typename T>
        requires(std::is_integral_v<T> && !std::is_same_v<T, bool>)
    FormatArg(T value)
    {
        if constexpr (std::is_signed_v<T>) {
            m_kind = Kind::Signed;
            m_signed = value;
        } else {
            m_kind = Kind::Unsigned;
            m_unsigned = value;
        }
    }
    FormatArg(bool value) : m_kind(Kind::Signed), m_signed(value ? 1 : 0) {}
    FormatArg(double value) : m_kind(Kind::Real), m_real(value) {}
    FormatArg(const WChar* text) : m_kind(Kind::Wide), m_wide(text) {}
    FormatArg(const WideString& text) : m_kind(Kind::Wide), m_wide(text.c_str()) {}
    FormatArg(const char* text) : m_kind(Kind::Narrow), m_narrow(text) {}
    FormatArg(const std::string& text) : m_kind(Kind::Narrow), m_narrow(text.c_str()) {}
    FormatArg(const void* pointer) : m_kind(Kind::Unsigned), m_unsigned(reinterpret_cast<std::uintptr_t>(pointer)) {}

    Kind kind() const { return m_kind; }
    std::int64_t asSigned() const;
    std::uint64_t asUnsigned() const;
    const WChar* wide() const { return m_kind == Kind::Wide ? m_wide : nullptr; }
    const char* narrow() const { return m_kind == Kind::Narrow ? m_narrow : nullptr; }
    double real() const { return m_kind == Kind::Real ? m_real : double(asSigned()); }

private:
    Kind m_kind;
    union {
        std::int64_t m_signed;
        std::uint64_t m_unsigned;
        const WChar* m_wide;
        const char* m_narrow;
        double m_real;
    };
};

struct FormatResult {
    std::size_t length = 0; // characters written, terminator excluded
    bool truncated = false; // the full result did not fit and was cut
};

// Formats into out[0 .. capacity-1] and always writes a terminator (capacity 0 writes nothing).
FormatResult formatInto(WChar* out, std::size_t capacity, const WChar* format, std::span<const FormatArg> args);
FormatResult formatInto(char* out, std::size_t capacity, const char* format, std::span<const FormatArg> args);

// Convenience for host-side code: the whole result as a string, without a length limit.
WideString formatWide(const WChar* format, std::span<const FormatArg> args);
std::string formatNarrow(const char* format, std::span<const FormatArg> args);

template <typename... Args>
WideString wformat(const WChar* format, const Args&... args)
{
    const FormatArg list[] = {FormatArg(args)..., FormatArg(0)};
    return formatWide(format, std::span<const FormatArg>(list, sizeof...(Args)));
}

template <typename... Args>
std::string nformat(const char* format, const Args&... args)
{
    const FormatArg list[] = {FormatArg(args)..., FormatArg(0)};
    return formatNarrow(format, std::span<const FormatArg>(list, sizeof...(Args)));
}

} // namespace device
