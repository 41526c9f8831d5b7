#include "platform/ui/FileOpenDialog.h"

#include "platform/device/DevicePath.h"
#include "platform/device/FileSystem.h"
#include "platform/ui/BuiltinPictures.h"
#include "platform/ui/Label.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/PushButton.h"
#include "platform/ui/WaitCursor.h"

#include <algorithm>

namespace ui {

namespace {
constexpr int folderPicture = 0;
constexpr int documentPicture = 1;
} // namespace

FileOpenDialog::FileOpenDialog(device::WideView filter, device::WideView initialFolder)
    : Dialog(u"Open"), m_filters(FileFilter::parse(filter)), m_folder(initialFolder)
{
    int top = contentTop();
    addAt<Label>(IDSTATIC, {4, top + 4, 44, top + 24}, u"Folder:");
    m_folderList = &addAt<ComboBox>(folderListId, {46, top + 4, 236, top + 150});
    addAt<Label>(IDSTATIC, {4, top + 28, 44, top + 48}, u"Type:");
    m_typeList = &addAt<ComboBox>(typeListId, {46, top + 28, 236, top + 110});
    m_fileList = &addAt<ListView>(fileListId, {4, top + 52, 236, top + 196});
    addAt<Label>(IDSTATIC, {4, top + 202, 44, top + 222}, u"Name:");
    m_nameField = &addAt<EditBox>(nameFieldId, {46, top + 202, 236, top + 222});
    addAt<PushButton>(IDCANCEL, {176, top + 226, 236, top + 246}, u"Cancel");
    m_images.setTransparentColour(gfx::colours::white);
    m_images.add(BuiltinPictures::folder());
    m_images.add(BuiltinPictures::document());
    m_fileList->setImageList(&m_images);
}

bool FileOpenDialog::onInitDialog()
{
    m_typeList->resetContent();
    for (const FileFilter& filter : m_filters)
        m_typeList->addString(filter.name);
    m_filterIndex = std::clamp(m_filterIndex, 0, int(m_filters.size()) - 1);
    m_typeList->setCurSel(m_filterIndex);
    openFolder(m_folder);
    return true;
}

void FileOpenDialog::openFolder(device::WideView folder)
{
    device::WideString normal = device::DevicePath::normalise(folder);
    if (normal.empty() || !device::FileSystem::isDirectory(normal))
        normal.assign(1, u'\\'); // the root
    m_folder = normal;
    fill();
}

void FileOpenDialog::fillFolderList()
{
    m_folderList->resetContent();
    auto names = device::DevicePath::split(m_folder).value_or(std::vector<device::WideString>{});
    int levels = int(names.size());
    m_folderList->addString(u"My Device", levels);
    for (int i = 0; i < levels; ++i) {
        device::WideString entry(std::size_t(i + 1) * 2, u' '); // deeper levels indented further
        entry += names[std::size_t(i)];
        m_folderList->addString(entry, levels - i - 1);
    }
    m_folderList->setCurSel(levels);
}

void FileOpenDialog::fill()
{
    WaitCursor busy;
    fillFolderList();
    m_entries.clear();
    m_fileList->deleteAllItems();
    const FileFilter& filter = m_filters[std::size_t(std::clamp(m_filterIndex, 0, int(m_filters.size()) - 1))];
    std::vector<Entry> folders, files;
    for (const device::DirectoryEntry& entry : device::FileSystem::list(m_folder).value_or(std::vector<device::DirectoryEntry>{})) {
        if (entry.info.hidden)
            continue;
        if (entry.info.directory)
            folders.push_back({entry.name, true});
        else if (filter.matches(entry.name))
            files.push_back({entry.name, false});
    }
    m_entries = folders;
    m_entries.insert(m_entries.end(), files.begin(), files.end());
    for (const Entry& entry : m_entries)
        m_fileList->insertItem(m_fileList->count(), entry.name, entry.folder ? folderPicture : documentPicture);
    m_nameField->setText(u"");
}

bool FileOpenDialog::onOk()
{
    device::WideString name = m_nameField->text();
    while (!name.empty() && name.back() == u' ')
        name.pop_back();
    if (name.empty()) {
        int selected = m_fileList->selection();
        if (selected < 0 || m_entries[std::size_t(selected)].folder)
            return false;
        name = m_entries[std::size_t(selected)].name;
    }
    device::WideString path = name.front() == u'\\' ? device::DevicePath::normalise(name)
                                                    : device::DevicePath::normalise(device::DevicePath::join(m_folder, name));
    if (!path.empty() && device::FileSystem::isDirectory(path)) {
        openFolder(path);
        return false;
    }
    if (path.empty() || (m_mustExist && !device::FileSystem::isFile(path))) {
        device::WideString message = name;
        message += u"\nFile not found.\nPlease verify the correct file name was given.";
        messageBox(this, message, u"Open", MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    m_path = path;
    return true;
}

bool FileOpenDialog::onCommand(int id, int code, WindowHandle source)
{
    if (id == folderListId && code == CBN_SELCHANGE) {
        int up = int(m_folderList->itemData(m_folderList->curSel()));
        device::WideString folder = m_folder;
        for (int i = 0; i < up; ++i)
            folder = device::DevicePath::parent(folder);
        openFolder(folder);
        return true;
    }
    if (id == typeListId && code == CBN_SELCHANGE) {
        m_filterIndex = std::max(0, m_typeList->curSel());
        fill();
        return true;
    }
    return Dialog::onCommand(id, code, source);
}

LResult FileOpenDialog::onNotify(const NotifyHeader& header)
{
    if (header.id != fileListId)
        return 0;
    if (header.code == LVN_ITEMCHANGED) {
        m_selectionJustChanged = true;
        return 0;
    }
    if (header.code != NM_CLICK || header.item < 0 || std::size_t(header.item) >= m_entries.size())
        return 0;
    bool secondTap = !m_selectionJustChanged;
    m_selectionJustChanged = false;
    Entry entry = m_entries[std::size_t(header.item)];
    if (entry.folder) {
        openFolder(device::DevicePath::join(m_folder, entry.name));
        return 0;
    }
    m_nameField->setText(entry.name);
    if (secondTap)
        send(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    return 0;
}

} // namespace ui
