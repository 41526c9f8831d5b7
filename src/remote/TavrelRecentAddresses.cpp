#include "remote/TavrelRecentAddresses.h"

#include "remote/TavrelOwnHost.h"

#include "common/QoRegistry.h"

namespace {

bool beginsWithNoCase(const CQoString& text, const CQoString& start)
{
    return text.GetLength() >= start.GetLength() && text.Left(int(start.GetLength())).CompareNoCase(start) == 0;
}

} // namespace

CQoString CTavrelRecentAddresses::ValueName(int index)
{
    CQoString name;
    name.Format(u"Recent%ld", long(index));
    return name;
}

std::vector<CQoString> CTavrelRecentAddresses::Offered()
{
    CQoRegistry remote(HKEY_CURRENT_USER, CTavrelOwnHost::RemoteKeyPath, true);
    std::vector<CQoString> offered;
    for (int i = 0; i < OfferedCount; ++i) {
        CQoString address = remote.GetString(ValueName(i), nullptr);
        if (!address.IsEmpty())
            offered.push_back(address);
    }
    return offered;
}

bool CTavrelRecentAddresses::Remember(const CQoString& address, const std::vector<CQoString>& shown)
{
    if (address.IsEmpty())
        return false;
    CQoRegistry remote(HKEY_CURRENT_USER, CTavrelOwnHost::RemoteKeyPath, true);
    std::vector<CQoString> stored;
    for (int i = 0; i < StoredCount; ++i)
        stored.push_back(remote.GetString(ValueName(i), nullptr));
    for (const std::vector<CQoString>* list : {&shown, static_cast<const std::vector<CQoString>*>(&stored)}) {
        for (const CQoString& entry : *list) {
            if (beginsWithNoCase(entry, address))
                return false;
        }
    }
    bool stores = true;
    for (int i = StoredCount - 1; i > 0; --i)
        stores = remote.SetString(ValueName(i), stored[std::size_t(i - 1)]) && stores;
    return remote.SetString(ValueName(0), address) && stores;
}
