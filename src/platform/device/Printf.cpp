#include "platform/device/Printf.h"

#include <cstring>
#include <limits>

namespace device {

std::int64_t FormatArg::asSigned() const
{
    switch (m_kind) {
    case Kind::Signed:
        return m_signed;
    case Kind::Unsigned:
        return static_cast<std::int64_t>(m_unsigned);
    case Kind::Real:
        return static_cast<std::int64_t>(m_real);
    default:
        return 0;
    }
}

std::uint64_t FormatArg::asUnsigned() const
{
    switch (m_kind) {
    case Kind::Signed:
        return static_cast<std::uint64_t>(m_signed);
    case Kind::Unsigned:
        return m_unsigned;
    case Kind::Real:
        return static_cast<std::uint64_t>(static_cast<std::int64_t>(m_real));
    default:
        return 0;
    }
}

namespace {

// Collects output into a bounded buffer (or an unbounded string when the buffer is null).
template <typename Char>
class Sink {
public:
    Sink(Char* out, std::size_t capacity, std::basic_string<Char>* grow)
        : m_out(out), m_capacity(capacity), m_grow(grow) {}

    void put(Char c)
    {
        if (m_grow) {
            m_grow->push_back(c);
            return;
        }
        if (m_capacity == 0) {
            m_truncated = true;
            return;
        }
        if (m_length + 1 < m_capacity)
            m_out[m_length++] = c;
        else
            m_truncated = true;
    }
    void repeat(Char c, int count)
    {
        for (int i = 0; i < count; ++i)
            put(c);
    }
    FormatResult finish()
    {
        if (!m_grow && m_capacity > 0)
            m_out[m_length] = 0;
        return {m_grow ? m_grow->size() : m_length, m_truncated};
    }

private:
    Char* m_out;
    std::size_t m_capacity;
    std::basic_string<Char>* m_grow;
    std::size_t m_length = 0;
    bool m_truncated = false;
};

struct Conversion {
    bool left = false, zero = false, alternate = false, plus = false, space = false;
    int width = 0;
    int precision = -1;
    enum class Size { Default, Short, Long, Wide64 } size = Size::Default;
};

template <typename Char>
void emitPadded(Sink<Char>& sink, const Conversion& conversion, const char* body, std::size_t length, const char* prefix)
{
    std::size_t prefixLength = std::strlen(prefix);
    int pad = conversion.width - int(length + prefixLength);
    if (!conversion.left && !conversion.zero)
        sink.repeat(Char(' '), pad);
    for (std::size_t i = 0; i < prefixLength; ++i)
        sink.put(Char(prefix[i]));
    if (!conversion.left && conversion.zero)
        sink.repeat(Char('0'), pad);
    for (std::size_t i = 0; i < length; ++i)
        sink.put(Char(static_cast<unsigned char>(body[i])));
    if (conversion.left)
        sink.repeat(Char(' '), pad);
}

template <typename Char>
void emitInteger(Sink<Char>& sink, Conversion conversion, char type, const FormatArg& arg)
{
    bool is64 = conversion.size == Conversion::Size::Wide64;
    bool negative = false;
    std::uint64_t magnitude;
    if (type == 'd' || type == 'i') {
        std::int64_t value = arg.asSigned();
        if (!is64)
            value = conversion.size == Conversion::Size::Short ? std::int16_t(value) : std::int32_t(value);
        negative = value < 0;
        magnitude = negative ? std::uint64_t(0) - std::uint64_t(value) : std::uint64_t(value);
    } else {
        std::uint64_t value = arg.asUnsigned();
        if (!is64)
            value = conversion.size == Conversion::Size::Short ? std::uint16_t(value) : std::uint32_t(value);
        magnitude = value;
    }
    const char* digits = type == 'X' ? "0123456789ABCDEF" : "0123456789abcdef";
    unsigned base = (type == 'x' || type == 'X' || type == 'p') ? 16 : 10;
    char body[32];
    int n = 0;
    do {
        body[n++] = digits[magnitude % base];
        magnitude /= base;
    } while (magnitude && n < 30);
    if (conversion.precision == 0 && n == 1 && body[0] == '0')
        n = 0;
    while (n < conversion.precision && n < 30)
        body[n++] = '0';
    char ordered[32];
    for (int i = 0; i < n; ++i)
        ordered[i] = body[n - 1 - i];
    const char* prefix = "";
    if (negative)
        prefix = "-";
    else if (conversion.plus && base == 10 && (type == 'd' || type == 'i'))
        prefix = "+";
    else if (conversion.space && base == 10 && (type == 'd' || type == 'i'))
        prefix = " ";
    else if (conversion.alternate && base == 16 && n > 0)
        prefix = type == 'X' ? "0X" : "0x";
    if (conversion.precision >= 0)
        conversion.zero = false;
    emitPadded(sink, conversion, ordered, std::size_t(n), prefix);
}

template <typename Char>
void emitString(Sink<Char>& sink, const Conversion& conversion, const FormatArg& arg)
{
    // Either kind of text argument prints whatever the conversion letter said; the letter only
    // mattered for untyped argument lists.
    std::size_t length = 0;
    const WChar* wide = arg.wide();
    const char* narrow = arg.narrow();
    static constexpr char null[] = "(null)";
    if (!wide && !narrow)
        narrow = null;
    if (wide)
        length = wideLength(wide);
    else
        length = std::strlen(narrow);
    if (conversion.precision >= 0 && std::size_t(conversion.precision) < length)
        length = std::size_t(conversion.precision);
    int pad = conversion.width - int(length);
    if (!conversion.left)
        sink.repeat(Char(' '), pad);
    for (std::size_t i = 0; i < length; ++i) {
        if (wide) {
            WChar c = wide[i];
            if constexpr (sizeof(Char) == 1)
                sink.put(c < 0x100 ? Char(c) : Char('?'));
            else
                sink.put(Char(c));
        } else {
            sink.put(Char(static_cast<unsigned char>(narrow[i])));
        }
    }
    if (conversion.left)
        sink.repeat(Char(' '), pad);
}

template <typename Char>
FormatResult run(Sink<Char>& sink, const Char* format, std::span<const FormatArg> args)
{
    if (!format)
        return sink.finish();
    std::size_t next = 0;
    const Char* p = format;
    while (*p) {
        if (*p != Char('%')) {
            sink.put(*p++);
            continue;
        }
        ++p;
        if (*p == Char('%')) {
            sink.put(*p++);
            continue;
        }
        Conversion conversion;
        for (;; ++p) {
            if (*p == Char('-'))
                conversion.left = true;
            else if (*p == Char('0'))
                conversion.zero = true;
            else if (*p == Char('#'))
                conversion.alternate = true;
            else if (*p == Char('+'))
                conversion.plus = true;
            else if (*p == Char(' '))
                conversion.space = true;
            else
                break;
        }
        if (*p == Char('*')) {
            conversion.width = next < args.size() ? int(args[next++].asSigned()) : 0;
            ++p;
        }
        while (*p >= Char('0') && *p <= Char('9')) {
            conversion.width = conversion.width * 10 + int(*p - Char('0'));
            if (conversion.width > 4096)
                conversion.width = 4096;
            ++p;
        }
        if (*p == Char('.')) {
            ++p;
            conversion.precision = 0;
            if (*p == Char('*')) {
                conversion.precision = next < args.size() ? int(args[next++].asSigned()) : 0;
                ++p;
            }
            while (*p >= Char('0') && *p <= Char('9')) {
                conversion.precision = conversion.precision * 10 + int(*p - Char('0'));
                if (conversion.precision > 4096)
                    conversion.precision = 4096;
                ++p;
            }
        }
        if (*p == Char('l')) {
            conversion.size = Conversion::Size::Long;
            ++p;
            if (*p == Char('l')) {
                conversion.size = Conversion::Size::Wide64;
                ++p;
            }
        } else if (*p == Char('h')) {
            conversion.size = Conversion::Size::Short;
            ++p;
        } else if (*p == Char('I') && p[1] == Char('6') && p[2] == Char('4')) {
            conversion.size = Conversion::Size::Wide64;
            p += 3;
        }
        Char type = *p;
        if (!type)
            break;
        ++p;
        static const FormatArg missing(0);
        const FormatArg& arg = next < args.size() ? args[next] : missing;
        bool consumed = true;
        switch (type) {
        case 'd':
        case 'i':
        case 'u':
        case 'x':
        case 'X':
            emitInteger(sink, conversion, char(type), arg);
            break;
        case 'p': {
            Conversion pointer = conversion;
            pointer.zero = true;
            pointer.width = 8;
            pointer.size = Conversion::Size::Default;
            emitInteger(sink, pointer, 'X', arg);
            break;
        }
        case 'c':
        case 'C': {
            std::uint64_t code = arg.asUnsigned() & 0xFFFF;
            Char c = (sizeof(Char) == 1 && code > 0xFF) ? Char('?') : Char(code);
            if (!conversion.left)
                sink.repeat(Char(' '), conversion.width - 1);
            sink.put(c);
            if (conversion.left)
                sink.repeat(Char(' '), conversion.width - 1);
            break;
        }
        case 's':
        case 'S':
            emitString(sink, conversion, arg);
            break;
        default:
            // Unknown conversion: print it as it stands and keep the argument for the next one.
            sink.put(Char('%'));
            sink.put(type);
            consumed = false;
            break;
        }
        if (consumed)
            ++next;
    }
    return sink.finish();
}

} // namespace

FormatResult formatInto(WChar* out, std::size_t capacity, const WChar* format, std::span<const FormatArg> args)
{
    Sink<WChar> sink(out, capacity, nullptr);
    return run(sink, format, args);
}

FormatResult formatInto(char* out, std::size_t capacity, const char* format, std::span<const FormatArg> args)
{
    Sink<char> sink(out, capacity, nullptr);
    return run(sink, format, args);
}

WideString formatWide(const WChar* format, std::span<const FormatArg> args)
{
    WideString result;
    Sink<WChar> sink(nullptr, 0, &result);
    run(sink, format, args);
    return result;
}

std::string formatNarrow(const char* format, std::span<const FormatArg> args)
{
    std::string result;
    Sink<char> sink(nullptr, 0, &result);
    run(sink, format, args);
    return result;
}

} // namespace device
