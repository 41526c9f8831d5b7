#include "rules/TavrelIconPickerDlg.h"

#include "platform/gfx/ImageResource.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/Label.h"
#include "platform/ui/ListView.h"
#include "platform/ui/NotifyHeader.h"
#include "platform/ui/PushButton.h"
#include "platform/ui/WaitCursor.h"
#include "rules/TavrelIconFolderSettings.h"
#include "rules/TavrelIconThumbnail.h"

namespace {
constexpr int folderPicture = 0;
} // namespace

CTavrelIconPickerDlg::CTavrelIconPickerDlg(CTavrelIconFolderSettings& settings)
    : Dialog(Caption), m_settings(settings), m_images(CTavrelIconThumbnail::Size, CTavrelIconThumbnail::Size)
{
    setId(IDD);
    const int top = contentTop();
    addAt<ui::Label>(ui::IDSTATIC, {4, top + 4, 44, top + 24}, u"Folder:");
    m_folderList = &addAt<ui::ComboBox>(IDC_FOLDER, {46, top + 4, 236, top + 150});
    m_icons = &addAt<ui::ListView>(IDC_ICONS, {4, top + 28, 236, top + 222});
    addAt<ui::PushButton>(IDC_CANCEL, {176, top + 226, 236, top + 246}, u"Cancel");
    m_images.setTransparentColour(CTavrelIconThumbnail::TransparentColour);
    m_icons->setImageList(&m_images);
}

bool CTavrelIconPickerDlg::onInitDialog()
{
    OpenFolder(m_settings.GetIconPath());
    return Dialog::onInitDialog();
}

void CTavrelIconPickerDlg::OpenFolder(const CQoString& folder)
{
    m_folder.Read(CTavrelIconFolder::NearestExisting(folder));
    Fill();
}

void CTavrelIconPickerDlg::Fill()
{
    ui::WaitCursor busy;
    m_icons->deleteAllItems();
    m_items.clear();
    FillFolderList();
    FillImages();
    int image = folderPicture + 1;
    for (const CTavrelIconFolder::IconFile& file : m_folder.GetIconFiles()) {
        m_icons->insertItem(m_icons->count(), file.name.View(), image++, std::intptr_t(m_items.size()));
        m_items.push_back({file.name, false});
    }
    for (const CQoString& subfolder : m_folder.GetSubfolders()) {
        device::WideString text = u" ";
        text += subfolder.View();
        m_icons->insertItem(m_icons->count(), text, folderPicture, std::intptr_t(m_items.size()));
        m_items.push_back({subfolder, true});
    }
    m_settings.SetIconPath(m_folder.GetFolder());
}

void CTavrelIconPickerDlg::FillFolderList()
{
    m_folderList->resetContent();
    for (const CTavrelIconFolder::PathEntry& entry : m_folder.GetPathEntries())
        m_folderList->addString(entry.text.View(), entry.levelsUp);
    m_folderList->setCurSel(m_folderList->count() - 1);
}

void CTavrelIconPickerDlg::FillImages()
{
    m_images.clear();
    const std::optional<gfx::Surface> folder = gfx::loadImageResource(IDB_FOLDER);
    m_images.add(folder ? CTavrelIconThumbnail::FromPicture(*folder) : gfx::Surface());
    for (const CTavrelIconFolder::IconFile& file : m_folder.GetIconFiles()) {
        // The listing's size spares opening a file that is too large anyway.
        if (file.size > CTavrelIconThumbnail::MaxFileSize)
            m_images.add(gfx::Surface());
        else
            m_images.add(CTavrelIconThumbnail::FromFile(m_folder.GetPath(file.name).View()));
    }
}

void CTavrelIconPickerDlg::Open(int item)
{
    if (item < 0 || std::size_t(item) >= m_items.size())
        return;
    const Item chosen = m_items[std::size_t(item)];
    if (chosen.folder) {
        OpenFolder(CTavrelIconFolder::Down(m_folder.GetFolder(), chosen.name.View()));
        return;
    }
    m_chosenFolder = m_folder.GetFolder();
    m_chosenFile = chosen.name;
    endDialog(ui::IDOK);
}

bool CTavrelIconPickerDlg::onOk()
{
    // "ok" chooses the selected file; on a folder it opens it and the dialog stays.
    const int selected = m_icons->selection();
    if (selected < 0 || std::size_t(selected) >= m_items.size())
        return false;
    if (m_items[std::size_t(selected)].folder) {
        Open(selected);
        return false;
    }
    m_chosenFolder = m_folder.GetFolder();
    m_chosenFile = m_items[std::size_t(selected)].name;
    return true;
}

bool CTavrelIconPickerDlg::onCommand(int id, int code, ui::WindowHandle source)
{
    if (id == IDC_FOLDER && code == ui::CBN_SELCHANGE) {
        const int levels = int(m_folderList->itemData(m_folderList->curSel()));
        if (levels > 0)
            OpenFolder(CTavrelIconFolder::Up(m_folder.GetFolder(), levels));
        return true;
    }
    if (id == IDC_CANCEL && code == ui::BN_CLICKED) {
        endDialog(ui::IDCANCEL);
        return true;
    }
    return Dialog::onCommand(id, code, source);
}

ui::LResult CTavrelIconPickerDlg::onNotify(const ui::NotifyHeader& header)
{
    if (header.id == IDC_ICONS && header.code == ui::NM_CLICK)
        Open(header.item);
    return 0;
}
