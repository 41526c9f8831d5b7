#include "remote/TavrelAttachedCalendarStore.h"

#include "remote/CachedFile.h"
#include "remote/TavrelCachePath.h"
#include "remote/TavrelDocumentText.h"
#include "remote/XmlDocument.h"

#include "common/QoRegistry.h"
#include "data/TavrelSettings.h"
#include "platform/device/AtomicFileWrite.h"
#include "platform/device/DevicePath.h"
#include "platform/device/FileSystem.h"

#include <set>

namespace {

CQoString formatted(const char16_t* format, const CQoString& name)
{
    CQoString text;
    text.Format(format, name.GetString());
    return text;
}

CQoString savingFailed(const CQoString& name) { return formatted(u"Error saving Calendar '%s'", name); }

CQoString readingFailed(const CQoString& name) { return formatted(u"Error reading Calendar '%s'", name); }

// 16-bit little-endian characters, no byte-order mark.
std::vector<std::uint8_t> littleEndian(const CQoString& text)
{
    std::vector<std::uint8_t> bytes;
    bytes.reserve(text.GetLength() * 2);
    for (char16_t c : text.View()) {
        bytes.push_back(std::uint8_t(c & 0xFF));
        bytes.push_back(std::uint8_t(c >> 8));
    }
    return bytes;
}

bool writeWhole(const CQoString& devicePath, const std::vector<std::uint8_t>& bytes)
{
    const auto host = device::DevicePath::toHost(devicePath.View());
    return host && device::writeFileAtomically(*host, bytes).succeeded();
}

// Copies every distinct picture of the calendar — month backgrounds, titles and day bars, and event
// icons — into the folder under its own name. The local copy names each by its file name alone, so
// a picture that does not stand beside the document (a subfolder, another host) is found here at
// the next start, as is one the download cache has lost.
void copyPictures(const CTavrelRemoteCalendar& calendar, const CQoString& folder)
{
    std::set<device::WideString> copied;
    auto copy = [&](const CQoString& file) {
        const device::WideString picture(file.View());
        if (picture.empty() || !copied.insert(picture).second || !device::FileSystem::isFile(picture))
            return;
        const device::WideString target
            = device::DevicePath::join(folder.View(), device::DevicePath::fileName(picture));
        if (device::DevicePath::normalise(target) != device::DevicePath::normalise(picture))
            (void)device::FileSystem::copy(picture, target, false);
    };
    for (int month = 1; month <= 12; ++month) {
        copy(calendar.GetBackgroundImage(month));
        copy(calendar.GetMonthTitleImage(month));
        copy(calendar.GetDayBarImage(month));
    }
    for (const CTavrelEvents& category : calendar.GetCategories())
        category.ForEach([&](const CTavrelEvent& event) { copy(event.GetIcon()); });
}

void removeFolder(const CQoString& folder)
{
    if (const auto entries = device::FileSystem::list(folder.View())) {
        for (const device::DirectoryEntry& entry : *entries) {
            if (!entry.info.directory)
                (void)device::FileSystem::removeFile(device::DevicePath::join(folder.View(), entry.name));
        }
    }
    (void)device::FileSystem::removeDirectory(folder.View());
}

} // namespace

CTavrelAttachedCalendarStore::CTavrelAttachedCalendarStore(CTavrelSettings& settings) : m_settings(settings) {}

bool CTavrelAttachedCalendarStore::IsStorableName(const CQoString& name)
{
    if (name.IsEmpty() || name.GetLength() > MaxNameLength)
        return false;
    for (char16_t c : name.View()) {
        if (c == u'\\' || c < 0x20 || c == 0x7F)
            return false;
    }
    return true;
}

CQoString CTavrelAttachedCalendarStore::LocalCopyFolder(const CQoString& name)
{
    const device::WideString folder
        = device::WideString(LocalCopiesFolder) + u'\\' + CTavrelCachePath::SafeName(name.View());
    return CQoString(folder.c_str());
}

CQoString CTavrelAttachedCalendarStore::LocalCopyFile(const CQoString& name)
{
    const device::WideString file = device::WideString(LocalCopyFolder(name).View()) + u'\\'
        + CTavrelCachePath::SafeName((device::WideString(name.View()) + u".XML"));
    return CQoString(file.c_str());
}

bool CTavrelAttachedCalendarStore::Save(CTavrelRemoteCalendar& calendar, CQoString& message)
{
    const CQoString name = calendar.GetName();
    const CQoString folder = LocalCopyFolder(name);
    if (!IsStorableName(name) || !CCachedFile::CreateDirectories(folder)) {
        message = savingFailed(name);
        return false;
    }
    copyPictures(calendar, folder);
    if (!writeWhole(LocalCopyFile(name), littleEndian(calendar.Serialize()))) {
        message = savingFailed(name);
        return false;
    }
    bool stored;
    {
        CQoRegistry key(m_settings.GetCalendarsKey().GetKey(), name, true);
        stored = key.IsOpen() && key.SetString(UrlValue, calendar.GetLocation());
    }
    if (!stored || !SaveCategoryVisibility(calendar)) {
        Delete(name);
        message = savingFailed(name);
        return false;
    }
    return true;
}

bool CTavrelAttachedCalendarStore::Delete(const CQoString& name)
{
    if (!IsStorableName(name))
        return false;
    const bool forgotten = m_settings.GetCalendarsKey().DeleteSubKey(name);
    (void)device::FileSystem::removeFile(LocalCopyFile(name).View());
    removeFolder(LocalCopyFolder(name));
    return forgotten;
}

bool CTavrelAttachedCalendarStore::SaveCategoryVisibility(const CTavrelCalendar& calendar)
{
    if (!IsStorableName(calendar.GetName()))
        return false;
    return m_settings.SaveCalendarVisibility(calendar);
}

void CTavrelAttachedCalendarStore::LoadCategoryVisibility(CTavrelCalendar& calendar)
{
    if (IsStorableName(calendar.GetName()))
        m_settings.LoadCalendarVisibility(calendar);
}

CTavrelAttachedCalendarStore::Loaded CTavrelAttachedCalendarStore::LoadAll()
{
    CQoRegistry& calendars = m_settings.GetCalendarsKey();
    // The names first: forgetting a calendar while enumerating would move the others.
    std::vector<CQoString> names;
    CQoString name;
    for (bool more = calendars.GetFirstSubKey(name); more; more = calendars.GetNextSubKey(name))
        names.push_back(name);

    Loaded loaded;
    for (const CQoString& keyName : names) {
        CQoString url;
        {
            CQoRegistry key(calendars.GetKey(), keyName, false);
            url = key.GetString(UrlValue, nullptr);
        }
        auto calendar = std::make_unique<CTavrelRemoteCalendar>();
        bool read = false;
        if (IsStorableName(keyName) && !url.IsEmpty()) {
            const std::optional<CQoString> text = CTavrelDocumentText::Read(LocalCopyFile(keyName));
            CXmlDocument document;
            CTavrelRemoteLoadOptions options;
            options.fetch = false;
            options.fallbackFolder = LocalCopyFolder(keyName);
            read = text && !text->IsEmpty() && document.Parse(*text) && calendar->Load(url, document, options)
                && calendar->GetName().CompareNoCase(keyName) == 0;
        }
        if (!read) {
            loaded.messages.push_back(readingFailed(keyName));
            calendars.DeleteSubKey(keyName);
            continue;
        }
        LoadCategoryVisibility(*calendar);
        loaded.calendars.push_back(std::move(calendar));
    }
    return loaded;
}
