#include "remote/CachedFile.h"

#include "remote/TavrelCachePath.h"
#include "remote/TavrelRemoteHost.h"

#include "platform/device/DeviceClock.h"
#include "platform/device/FileSystem.h"

CCachedFile::CCachedFile() = default;

CCachedFile::CCachedFile(const CQoString& address)
{
    Resolve(address);
}

CCachedFile::CCachedFile(const CCachedFile& other) = default;

CCachedFile& CCachedFile::operator=(const CCachedFile& other) = default;

CCachedFile::~CCachedFile() = default;

bool CCachedFile::Resolve(const CQoString& address, std::optional<std::chrono::seconds> maxAge)
{
    // The scheme is what comes before the first colon. Without one, with a drive letter, or after
    // "file:", the address is a file of the device.
    const int colon = address.Find(u':');
    if (colon < 0 || colon == 1) {
        m_localFile = address;
        m_source = address;
        return true;
    }
    CQoString scheme = address.Left(colon);
    scheme.MakeUpper();
    const CQoString rest = address.Mid(colon + 1);
    if (scheme == u"FILE") {
        m_localFile = rest;
        m_source = rest;
        return true;
    }

    m_localFile = CTavrelCachePath::ForAddress(rest.View());
    const std::chrono::seconds age = maxAge.value_or(std::chrono::duration_cast<std::chrono::seconds>(DefaultMaxAge));
    if (age.count() > 0) {
        const auto copy = device::FileSystem::info(m_localFile.View());
        if (copy && !copy->directory && copy->lastWrite > device::DeviceClock::instantNow() - age) {
            m_source = rest;
            return true;
        }
    }

    const device::WideString folder(m_localFile.View().substr(0, m_localFile.View().rfind(u'\\')));
    if (!CreateDirectories(folder.c_str())) {
        CTavrelRemoteHost::Current().ShowMessage(u"Error creating directory for local copy of cached file");
        return false;
    }

    if (scheme == u"HTTP" || scheme == u"HTTPS" || scheme == u"FTP") {
        scheme.MakeLower();
        if (!Fetch(scheme + u":" + rest))
            return false;
    }
    m_source = rest;
    return true;
}

bool CCachedFile::Fetch(const CQoString& url)
{
    net::DownloadRequest request;
    request.url = device::toUtf8(url.View());
    request.target = device::WideString(m_localFile.View());
    if (!CTavrelRemoteHost::Current().Download(request).succeeded())
        return false;
    // Stamped in device time, so that ages compare with the device clock however it is set.
    device::FileSystem::setLastWrite(m_localFile.View(), device::DeviceClock::instantNow());
    return true;
}

bool CCachedFile::CreateDirectories(const CQoString& path)
{
    const device::WideView text = path.View();
    auto ensure = [](device::WideView folder) {
        return device::FileSystem::isDirectory(folder) || device::FileSystem::createDirectory(folder);
    };
    for (std::size_t i = 1; i < text.size(); ++i) {
        if (text[i] == u'\\' && !ensure(text.substr(0, i)))
            return false;
    }
    return text.empty() || ensure(text);
}
