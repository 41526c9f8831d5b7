#include "remote/CachedFile.h"

#include "remote/TavrelCachePath.h"
#include "remote/TavrelRemoteHost.h"

#include "platform/device/DeviceClock.h"
#include "platform/device/DevicePath.h"
#include "platform/device/FileSystem.h"

CCachedFile::CCachedFile() = default;

CCachedFile::CCachedFile(const CQoString& address)
{
    Resolve(address);
}

CCachedFile::CCachedFile(const CCachedFile& other) = default;

CCachedFile& CCachedFile::operator=(const CCachedFile& other) = default;

CCachedFile::~CCachedFile() = default;

CCachedFile::Parts CCachedFile::Split(const CQoString& address)
{
    // The scheme is what comes before the first colon. Without one, with a drive letter, or after
    // "file:", the address is a file of the device.
    const int colon = address.Find(u':');
    if (colon < 0 || colon == 1)
        return {u"FILE", address};
    Parts parts{address.Left(colon), address.Mid(colon + 1)};
    parts.scheme.MakeUpper();
    return parts;
}

bool CCachedFile::Resolve(const CQoString& address, std::optional<std::chrono::seconds> maxAge)
{
    const auto [scheme, rest] = Split(address);
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
        CQoString url = scheme;
        url.MakeLower();
        if (!Fetch(url + u":" + rest))
            return false;
    }
    m_source = rest;
    return true;
}

bool CCachedFile::ResolveCached(const CQoString& address, const CQoString& fallbackFolder)
{
    const auto [scheme, rest] = Split(address);
    m_source = rest;
    if (scheme == u"FILE") {
        m_localFile = rest;
        return device::FileSystem::isFile(rest.View());
    }
    m_localFile = CTavrelCachePath::ForAddress(rest.View());
    if (device::FileSystem::isFile(m_localFile.View()))
        return true;
    if (fallbackFolder.IsEmpty())
        return false;
    const CQoString inFolder(
        device::DevicePath::join(fallbackFolder.View(), device::DevicePath::fileName(m_localFile.View())).c_str());
    if (!device::FileSystem::isFile(inFolder.View()))
        return false;
    m_localFile = inFolder;
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
