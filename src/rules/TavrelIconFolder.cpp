#include "rules/TavrelIconFolder.h"

#include "platform/device/DevicePath.h"
#include "platform/device/FileSystem.h"

#include <algorithm>
#include <optional>

namespace {

CQoString textOf(device::WideView view) { return CQoString(device::WideString(view).c_str()); }

bool lessIgnoringCase(const CQoString& a, const CQoString& b) { return device::compareNoCase(a.View(), b.View()) < 0; }

bool endsWithIgnoringCase(device::WideView name, device::WideView ending)
{
    return name.size() >= ending.size() && device::equalsNoCase(name.substr(name.size() - ending.size()), ending);
}

} // namespace

bool CTavrelIconFolder::Read(const CQoString& folder)
{
    m_folder = folder;
    m_files.clear();
    m_subfolders.clear();
    const std::optional<std::vector<device::DirectoryEntry>> entries = device::FileSystem::list(folder.View());
    if (!entries)
        return false;
    for (const device::DirectoryEntry& entry : *entries) {
        if (entry.info.hidden)
            continue;
        if (entry.info.directory)
            m_subfolders.push_back(textOf(entry.name));
        else if (IsIconFileName(entry.name))
            m_files.push_back({textOf(entry.name), entry.info.size});
    }
    std::stable_sort(m_files.begin(), m_files.end(),
                     [](const IconFile& a, const IconFile& b) { return lessIgnoringCase(a.name, b.name); });
    std::stable_sort(m_subfolders.begin(), m_subfolders.end(), lessIgnoringCase);
    return true;
}

std::vector<CTavrelIconFolder::PathEntry> CTavrelIconFolder::GetPathEntries() const
{
    const std::vector<device::WideString> names
        = device::DevicePath::split(m_folder.View()).value_or(std::vector<device::WideString>{});
    const int levels = int(names.size());
    std::vector<PathEntry> entries;
    entries.push_back({CQoString(RootName), levels});
    for (int i = 0; i < levels; ++i) {
        device::WideString text(std::size_t(i) + 1, u' ');
        if (i == levels - 1)
            text += u'*';
        text += names[std::size_t(i)];
        entries.push_back({textOf(text), levels - i - 1});
    }
    return entries;
}

CQoString CTavrelIconFolder::GetPath(const CQoString& name) const
{
    return textOf(device::DevicePath::join(m_folder.View(), name.View()));
}

bool CTavrelIconFolder::IsIconFileName(device::WideView name)
{
    for (const char16_t* ending : {u".BMP", u".GIF", u".JPG", u".PNG"}) {
        if (endsWithIgnoringCase(name, ending))
            return true;
    }
    return false;
}

CQoString CTavrelIconFolder::Up(const CQoString& folder, int levels)
{
    device::WideString path = device::DevicePath::normalise(folder.View());
    if (path.empty())
        return CQoString(u"\\");
    // The parent of a path in its normal form is always a beginning of it.
    for (int i = 0; i < levels; ++i)
        path.resize(device::DevicePath::parent(path).size());
    return textOf(path);
}

CQoString CTavrelIconFolder::Down(const CQoString& folder, device::WideView name)
{
    while (!name.empty() && name.front() == u' ')
        name.remove_prefix(1);
    while (!name.empty() && name.back() == u' ')
        name.remove_suffix(1);
    return textOf(device::DevicePath::join(folder.View(), name));
}

CQoString CTavrelIconFolder::NearestExisting(const CQoString& folder)
{
    device::WideString path = device::DevicePath::normalise(folder.View());
    if (path.empty())
        return CQoString(u"\\");
    while (path != u"\\" && !device::FileSystem::isDirectory(path))
        path.resize(device::DevicePath::parent(path).size());
    return textOf(path);
}
