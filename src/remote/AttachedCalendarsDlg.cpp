#include "remote/AttachedCalendarsDlg.h"

#include "remote/CachedFile.h"
#include "remote/CategoriesDlg.h"
#include "remote/ChooseLocationDlg.h"
#include "remote/TavrelAddress.h"
#include "remote/TavrelAttachedCalendarStore.h"
#include "remote/TavrelCalendarFormat.h"
#include "remote/TavrelDocumentFormat.h"
#include "remote/TavrelDocumentText.h"
#include "remote/TavrelHostDirectory.h"
#include "remote/TavrelRecentAddresses.h"
#include "remote/TavrelRemoteCalendar.h"
#include "remote/XmlDocument.h"

#include "assets/ResourceIds.h"
#include "platform/device/FileSystem.h"
#include "platform/gfx/ImageResource.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/DialogUnits.h"
#include "platform/ui/Label.h"
#include "platform/ui/ListBox.h"
#include "platform/ui/Picture.h"
#include "platform/ui/PushButton.h"

#include <algorithm>
#include <chrono>

namespace {

constexpr int IDC_STATIC = -1;
// The link picture's size; it stands right-aligned below the address field.
constexpr int LinksWidth = 144;
constexpr int LinksHeight = 36;

} // namespace

CAttachedCalendarsDlg::CAttachedCalendarsDlg(CTavrelAttachedCalendarStore& store, const CTavrelOwnHost& ownHost)
    : Dialog(Caption), m_store(store), m_ownHost(ownHost), m_host(*this),
      m_addressBox(add<ui::ComboBox>(IDC_ADDRESS, 22, 3, 90, 64)),
      m_add(add<ui::PushButton>(IDC_ADD, 114, 3, 22, 12, u"&Add")),
      m_list(add<ui::ListBox>(IDC_CALENDARS, 4, 50, 132, 72)),
      m_categories(add<ui::PushButton>(IDC_CATEGORIES, 4, 125, 62, 14, u"Categories...")),
      m_remove(add<ui::PushButton>(IDC_REMOVE, 72, 125, 64, 14, u"&Remove Selected")),
      m_links([this]() -> ui::Picture& {
          const gfx::Rect field = ui::DialogUnits::toPixels(22, 3, 90, 12);
          const gfx::Rect below{field.right - LinksWidth, contentTop() + ui::DialogUnits::toPixels(0, 16, 0, 0).top,
                                field.right, contentTop() + ui::DialogUnits::toPixels(0, 16, 0, 0).top + LinksHeight};
          return addAt<ui::Picture>(IDC_STATIC, below);
      }())
{
    setId(IDD);
    add<ui::Label>(IDC_STATIC, 4, 6, 18, 10, u"URL");
    add<ui::Label>(IDC_STATIC, 4, 20, 24, 10, u"Links");
    add<ui::Label>(IDC_STATIC, 4, 40, 100, 10, u"Current Calendars");
    m_addressBox.setKind(ui::ComboBox::Kind::DropDown);
    m_addressBox.setSorted(true);
    m_list.setSorted(true);
    m_links.setPlacement(ui::Picture::Placement::TopLeft);
    m_links.setNotify(true);
    m_host.SetProgressHandler([this](std::uint64_t received) { ShowProgress(received); });
}

CAttachedCalendarsDlg::~CAttachedCalendarsDlg() = default;

// --- The list of calendars ---------------------------------------------------------------------------

int CAttachedCalendarsDlg::AppendEntry(std::unique_ptr<CTavrelCalendar> calendar, CTavrelRemoteCalendar* attached)
{
    const int id = m_nextId++;
    m_entries.push_back(Entry{std::move(calendar), attached, id});
    return id;
}

void CAttachedCalendarsDlg::AddCalendar(const CTavrelCalendar& calendar) { AppendEntry(calendar.Clone(), nullptr); }

std::vector<CAttachedCalendarsDlg::Entry> CAttachedCalendarsDlg::TakeEntries() { return std::move(m_entries); }

CAttachedCalendarsDlg::Entry* CAttachedCalendarsDlg::FindEntry(int id)
{
    const auto found
        = std::find_if(m_entries.begin(), m_entries.end(), [id](const Entry& entry) { return entry.id == id; });
    return found == m_entries.end() ? nullptr : &*found;
}

// --- Opening and the controls ------------------------------------------------------------------------

bool CAttachedCalendarsDlg::onInitDialog()
{
    m_addressBox.resetContent();
    for (const CQoString& address : CTavrelRecentAddresses::Offered())
        m_addressBox.addString(address.View());
    // Above the sorted addresses, outside their order.
    m_addressBox.insertString(0, CTavrelOwnHost::Word);

    m_list.resetContent();
    for (const Entry& entry : m_entries)
        m_list.addString(entry.calendar->GetName().View(), entry.id);
    m_status = nullptr;

    m_links.setPicture(gfx::loadImageResource(IDB_LINKS).value_or(gfx::Surface()));
    UpdateButtons();
    return Dialog::onInitDialog();
}

void CAttachedCalendarsDlg::UpdateButtons()
{
    m_add.enable(!m_attaching && !m_addressBox.windowText().empty());
    const bool selected = m_list.curSel() >= 0;
    m_categories.enable(selected);
    m_remove.enable(selected);
}

void CAttachedCalendarsDlg::EnableAdd() { m_add.enable(!m_addressBox.windowText().empty()); }

bool CAttachedCalendarsDlg::onCommand(int id, int code, ui::WindowHandle source)
{
    // The picture is a static control: its tap arrives with the code a button's click has.
    if (source == m_links.handle()) {
        OnLinkTapped();
        return true;
    }
    switch (id) {
    case IDC_ADDRESS:
        if (code == ui::CBN_EDITCHANGE)
            UpdateButtons();
        else if (code == ui::CBN_SELCHANGE && m_addressBox.curSel() >= 0)
            Attach(CQoString(m_addressBox.itemText(m_addressBox.curSel()).c_str()));
        return true;
    case IDC_CALENDARS:
        if (code == ui::LBN_SELCHANGE)
            UpdateButtons();
        return true;
    case IDC_ADD:
        if (code == ui::BN_CLICKED)
            Attach(CQoString(m_addressBox.windowText().c_str()));
        return true;
    case IDC_REMOVE:
        if (code == ui::BN_CLICKED)
            RemoveSelected();
        return true;
    case IDC_CATEGORIES:
        if (code == ui::BN_CLICKED)
            EditCategories();
        return true;
    default:
        return Dialog::onCommand(id, code, source);
    }
}

bool CAttachedCalendarsDlg::onOk()
{
    // The list is not final while an attach is under way.
    return !m_attaching;
}

bool CAttachedCalendarsDlg::onCancel()
{
    // Escape during an attach stops it; the dialog stays.
    if (m_attaching) {
        m_host.Cancel();
        return false;
    }
    return true;
}

void CAttachedCalendarsDlg::OnLinkTapped()
{
    const int width = std::max(1, m_links.picture().width());
    const int part = std::clamp(m_links.lastTap().x * 3 / width, 0, 2);
    const CQoString addresses[3] = {CTavrelOwnHost::Word, m_ownHost.GetSportsAddress(), m_ownHost.GetConcertsAddress()};
    Attach(addresses[part]);
}

void CAttachedCalendarsDlg::RemoveSelected()
{
    const int selection = m_list.curSel();
    if (selection < 0)
        return;
    const int id = int(m_list.itemData(selection));
    if (id <= 0) {
        Tell(CannotDelete);
        return;
    }
    std::erase_if(m_entries, [id](const Entry& entry) { return entry.id == id; });
    m_list.deleteString(selection);
    UpdateButtons();
}

void CAttachedCalendarsDlg::EditCategories()
{
    const int selection = m_list.curSel();
    if (selection < 0)
        return;
    const int id = int(m_list.itemData(selection));
    if (id <= 0) {
        Tell(NoItemCalendar);
        return;
    }
    Entry* entry = FindEntry(id);
    if (!entry) {
        Tell(NoListCalendar);
        return;
    }
    CCategoriesDlg dialog;
    for (const CTavrelEvents& category : entry->calendar->GetCategories())
        dialog.AddCategory(category.GetName(), category.IsVisible());
    if (dialog.RunModal() != ui::IDOK)
        return;
    // The entry may have gone while the dialog was open (an attach finishing beneath it cannot
    // remove one, but stay safe): look it up again.
    entry = FindEntry(id);
    if (!entry)
        return;
    std::size_t i = 0;
    for (CTavrelEvents& category : entry->calendar->GetCategories()) {
        if (i < dialog.GetFlags().size())
            category.SetVisible(dialog.GetFlags()[i++] != 0);
    }
    // A calendar attached before keeps its flags from now on; one attached in this dialog is not
    // stored yet (it has no address in the registry) and takes them along when it is saved.
    if (!entry->attached)
        m_store.SaveCategoryVisibility(*entry->calendar);
}

// --- The status line ---------------------------------------------------------------------------------

int CAttachedCalendarsDlg::StatusIndex() const
{
    for (int i = 0; i < m_list.count(); ++i) {
        if (m_list.itemData(i) == 0)
            return i;
    }
    return -1;
}

void CAttachedCalendarsDlg::ShowStatus(const char16_t* text)
{
    RemoveStatus();
    m_status = text;
    m_list.addString(text, 0);
    m_list.update();
}

void CAttachedCalendarsDlg::ShowProgress(std::uint64_t received)
{
    const int index = StatusIndex();
    if (!m_status || index < 0)
        return;
    CQoString text = m_status;
    if (received > 0) {
        // "<Contacting Host...  12345 bytes received>"
        const int dots = text.Find(u"...");
        text = text.Left(dots + 3);
        CQoString bytes;
        bytes.Format(u"  %lu bytes received>", static_cast<unsigned long>(received));
        text += bytes.GetString();
    }
    if (m_list.itemText(index) == text.View())
        return;
    const bool selected = m_list.curSel() == index;
    m_list.deleteString(index);
    const int added = m_list.addString(text.View(), 0);
    if (selected)
        m_list.setCurSel(added);
    m_list.update();
}

void CAttachedCalendarsDlg::RemoveStatus()
{
    const int index = StatusIndex();
    m_status = nullptr;
    if (index < 0)
        return;
    m_list.deleteString(index);
    UpdateButtons();
    m_list.update();
}

void CAttachedCalendarsDlg::Tell(const char16_t* text) { m_host.ShowMessage(text); }

// --- Attaching ---------------------------------------------------------------------------------------

bool CAttachedCalendarsDlg::NamesDocument(const CQoString& lowered) const
{
    return CTavrelCalendarFormats::NamesDocument(lowered);
}

bool CAttachedCalendarsDlg::Fetch(const CQoString& address, bool always, CQoString& localFile)
{
    const bool directory = CTavrelAddress::IsHostDirectory(address);
    const CTavrelCalendarFormat& format = CTavrelCalendarFormats::For(address);
    const CQoString fetched = directory ? address : format.FetchAddress(address);
    CCachedFile file;
    const bool resolved
        = always ? file.Resolve(fetched, std::chrono::seconds(0)) : file.Resolve(fetched, format.MaximumAge());
    localFile = file.GetLocalFile();
    return resolved && !m_host.WasCancelled();
}

bool CAttachedCalendarsDlg::Attach(const CQoString& typed)
{
    if (m_attaching)
        return false;
    const CQoString address = CTavrelAddress::Normalise(
        typed, m_ownHost.GetDirectoryAddress(), [this](const CQoString& lowered) { return NamesDocument(lowered); });
    if (address.IsEmpty())
        return false;

    // Every download and message of this attach goes through this dialog.
    CTavrelRemoteHost::Scope scope(m_host);
    m_host.BeginAttach();
    m_attaching = true;
    m_add.enable(false);
    ShowStatus(ContactingStatus);
    m_address = address;

    CQoString localFile;
    bool added = false;
    // A host directory document is fetched every time; a calendar's copy while it is young.
    if (!Fetch(m_address, CTavrelAddress::IsHostDirectory(m_address), localFile)) {
        RemoveStatus();
        Tell(HostNotResponding);
    } else {
        RemoveStatus();
        added = ProcessFile(localFile);
    }
    m_attaching = false;
    if (!added) {
        EnableAdd();
        return false;
    }
    std::vector<CQoString> shown;
    for (int i = 0; i < m_addressBox.count(); ++i)
        shown.emplace_back(m_addressBox.itemText(i).c_str());
    CTavrelRecentAddresses::Remember(m_address, shown);
    return true;
}

bool CAttachedCalendarsDlg::ProcessFile(const CQoString& localFile, int step)
{
    ShowStatus(ProcessingStatus);
    const std::optional<std::vector<std::uint8_t>> bytes = device::FileSystem::readAll(localFile.View());
    if (!bytes) {
        RemoveStatus();
        Tell(CannotOpenFile);
        return false;
    }
    if (CTavrelAddress::IsHostDirectory(m_address))
        return FollowDirectory(*bytes, step);

    CQoString message;
    std::unique_ptr<CTavrelRemoteCalendar> calendar
        = CTavrelCalendarFormats::For(m_address).Read(m_address, *bytes, message);
    RemoveStatus();
    if (m_host.WasCancelled()) {
        // Its pictures were cut off: as if the host had stopped answering.
        Tell(HostNotResponding);
        return false;
    }
    if (!calendar) {
        if (!message.IsEmpty())
            Tell(message);
        return false;
    }
    return AddCalendarFromDocument(std::move(calendar));
}

bool CAttachedCalendarsDlg::AddCalendarFromDocument(std::unique_ptr<CTavrelRemoteCalendar> calendar)
{
    const CQoString name = calendar->GetName();
    // The name becomes a registry key and a folder: one that cannot be either is no calendar to keep.
    if (!CTavrelAttachedCalendarStore::IsStorableName(name)) {
        Tell(CTavrelDocumentFormat::InvalidFormatMessage());
        return false;
    }
    if (m_list.findString(-1, name.View()) >= 0) {
        Tell(AlreadyAttached);
        return false;
    }
    CTavrelRemoteCalendar* attached = calendar.get();
    const int id = AppendEntry(std::move(calendar), attached);
    m_list.addString(name.View(), id);
    m_list.update();
    return true;
}

bool CAttachedCalendarsDlg::FollowDirectory(const std::vector<std::uint8_t>& bytes, int step)
{
    CXmlDocument document;
    if (!document.Parse(CTavrelDocumentText::Decode(bytes))) {
        RemoveStatus();
        Tell(CTavrelDocumentFormat::ParseErrorMessage(document.GetErrorText()));
        return false;
    }
    RemoveStatus();

    const CTavrelHostDirectory directory(document);
    CQoString next;
    switch (directory.GetKind()) {
    case CTavrelHostDirectory::Kind::NoRoot:
        Tell(ServerNotResponding);
        return false;
    case CTavrelHostDirectory::Kind::Message:
        Tell(directory.GetText());
        return false;
    case CTavrelHostDirectory::Kind::Empty:
        Tell(DirectoryHostNotResponding);
        return false;
    case CTavrelHostDirectory::Kind::Redirect:
        next = directory.GetText();
        break;
    case CTavrelHostDirectory::Kind::Links: {
        CChooseLocationDlg choose;
        for (const CTavrelHostDirectory::Link& link : directory.GetLinks())
            choose.AddLink(link.name, link.address);
        if (choose.RunModal() != ui::IDYES || choose.GetChosenAddress().IsEmpty())
            return false;
        next = CTavrelAddress::CompleteLink(choose.GetChosenAddress(),
                                            [this](const CQoString& lowered) { return NamesDocument(lowered); });
        break;
    }
    }

    CQoString localFile;
    if (step + 1 >= MaxDirectorySteps) {
        Tell(DirectoryHostNotResponding);
        return false;
    }
    m_address = next;
    ShowStatus(ContactingStatus);
    const bool fetched = Fetch(m_address, true, localFile);
    RemoveStatus();
    if (!fetched) {
        Tell(DirectoryHostNotResponding);
        return false;
    }
    return ProcessFile(localFile, step + 1);
}
