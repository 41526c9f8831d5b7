#include "remote/TavrelAddress.h"

#include "remote/TavrelOwnHost.h"

namespace {

bool isBlank(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }

CQoString trimmed(const CQoString& text)
{
    device::WideView view = text.View();
    while (!view.empty() && isBlank(view.front()))
        view.remove_prefix(1);
    while (!view.empty() && isBlank(view.back()))
        view.remove_suffix(1);
    return CQoString(device::WideString(view).c_str());
}

CQoString withDirectoryDocument(CQoString address)
{
    if (!address.EndsWith(u"/"))
        address += u"/";
    address += CTavrelAddress::DirectoryDocument;
    return address;
}

} // namespace

CQoString CTavrelAddress::Lowered(const CQoString& text)
{
    CQoString lowered = text;
    lowered.MakeLower();
    return lowered;
}

CQoString CTavrelAddress::Normalise(const CQoString& typed, const CQoString& ownHost, const DocumentTest& namesDocument)
{
    CQoString address = trimmed(typed);
    if (address.IsEmpty())
        return address;
    const CQoString lowered = Lowered(address);
    if (lowered == CTavrelOwnHost::Word)
        return ownHost;

    if (!lowered.Contains(u".", true))
        address += u".com";
    if (!lowered.Contains(u"www.", true) && !lowered.Contains(u"\\\\", true) && !lowered.Contains(u"//", true))
        address = CQoString(u"http://www.") + address.GetString();
    else if (!lowered.Contains(u":", true))
        address = CQoString(u"http://") + address.GetString();
    if (!namesDocument(lowered))
        address = withDirectoryDocument(address);
    return address;
}

CQoString CTavrelAddress::CompleteLink(const CQoString& address, const DocumentTest& namesDocument)
{
    return namesDocument(Lowered(address)) ? address : withDirectoryDocument(address);
}

bool CTavrelAddress::IsHostDirectory(const CQoString& address)
{
    return Lowered(address).Contains(u"tavrel.xml", true);
}
