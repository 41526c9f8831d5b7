#include "remote/TavrelCalendarFormat.h"

#include "remote/TavrelDocumentFormat.h"
#include "remote/TavrelICalendarFormat.h"

CTavrelCalendarFormat::~CTavrelCalendarFormat() = default;

namespace {

const CTavrelDocumentFormat& documentFormat()
{
    static const CTavrelDocumentFormat format;
    return format;
}

const CTavrelICalendarFormat& iCalendarFormat()
{
    static const CTavrelICalendarFormat format;
    return format;
}

} // namespace

const std::vector<const CTavrelCalendarFormat*>& CTavrelCalendarFormats::All()
{
    // Formats that claim their addresses go before the calendar document, which takes the rest.
    static const std::vector<const CTavrelCalendarFormat*> formats{&iCalendarFormat(), &documentFormat()};
    return formats;
}

const CTavrelCalendarFormat& CTavrelCalendarFormats::For(const CQoString& address)
{
    CQoString lowered = address;
    lowered.MakeLower();
    for (const CTavrelCalendarFormat* format : All()) {
        if (format->NamesDocument(lowered))
            return *format;
    }
    return documentFormat();
}

bool CTavrelCalendarFormats::NamesDocument(const CQoString& lowered)
{
    for (const CTavrelCalendarFormat* format : All()) {
        if (format->NamesDocument(lowered))
            return true;
    }
    return false;
}
