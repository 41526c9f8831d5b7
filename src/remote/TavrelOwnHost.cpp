#include "remote/TavrelOwnHost.h"

#include "remote/TavrelAddress.h"

#include "common/QoRegistry.h"

namespace {

CQoString readHost()
{
    CQoRegistry remote(HKEY_CURRENT_USER, CTavrelOwnHost::RemoteKeyPath, true);
    return remote.GetString(CTavrelOwnHost::HostValue, CTavrelOwnHost::DefaultHost);
}

} // namespace

CTavrelOwnHost::CTavrelOwnHost() : CTavrelOwnHost(readHost()) {}

CTavrelOwnHost::CTavrelOwnHost(const CQoString& host)
{
    CQoString base = host;
    base.Trim();
    if (base.IsEmpty())
        base = DefaultHost;
    if (!base.Contains(u"://", true))
        base = CQoString(u"http://") + base.GetString();
    while (base.EndsWith(u"/"))
        base = base.Left(int(base.GetLength()) - 1);
    m_base = base;
}

CQoString CTavrelOwnHost::GetDirectoryAddress() const { return m_base + u"/" + CTavrelAddress::DirectoryDocument; }
