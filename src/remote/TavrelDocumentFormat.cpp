#include "remote/TavrelDocumentFormat.h"

#include "remote/TavrelDocumentText.h"
#include "remote/TavrelRemoteCalendar.h"
#include "remote/XmlDocument.h"

bool CTavrelDocumentFormat::NamesDocument(const CQoString& lowered) const { return lowered.Contains(u".xml", true); }

CQoString CTavrelDocumentFormat::InvalidFormatMessage()
{
    CQoString message;
    message.Format(InvalidFormat, CTavrelRemoteCalendar::ProductAddress);
    return message;
}

CQoString CTavrelDocumentFormat::ParseErrorMessage(const CQoString& errorText)
{
    CQoString message;
    message.Format(u"Error parsing XML: %s", errorText.GetString());
    return message;
}

std::unique_ptr<CTavrelRemoteCalendar>
CTavrelDocumentFormat::Read(const CQoString& address, std::span<const std::uint8_t> bytes, CQoString& message) const
{
    CXmlDocument document;
    if (!document.Parse(CTavrelDocumentText::Decode(bytes))) {
        message = ParseErrorMessage(document.GetErrorText());
        return nullptr;
    }
    auto calendar = std::make_unique<CTavrelRemoteCalendar>();
    if (!calendar->Load(address, document)) {
        message = InvalidFormatMessage();
        return nullptr;
    }
    return calendar;
}
