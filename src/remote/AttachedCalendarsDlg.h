#pragma once
// CAttachedCalendarsDlg: "Attached Calendars" (dialog 139) — the user's list of attached remote
// calendars, edited on copies: the caller hands in the calendars attached now, and after OK takes
// the list back with the calendars attached meanwhile marked (CTavrelAttachedCalendarsCommand in
// the shell applies it). Nothing is stored before OK except the recent addresses and the category
// flags of calendars attached before.
//
//   URL        combo box with edit field (1004): the address to attach; its list offers the word
//              of the system's own host at the top and the recent addresses below, sorted
//   &Add       (1007) attaches the field's address; enabled exactly while the field is not empty
//   Links      a picture of three parts: the system's own host, a sports and a concerts calendar
//   Current Calendars  list (1001), sorted, one item per calendar
//   Categories...      (1002) Hide/Show Categories for the selected calendar
//   &Remove Selected   (1009) drops the selected calendar
// Categories... and Remove Selected are enabled exactly while an item is selected.
//
// Attaching an address: it is normalised (CTavrelAddress), fetched through the download cache —
// on a worker, while the dialog stays alive with its status line in the list showing the bytes
// received, and Escape cancels — and read: a calendar document becomes a new item; a host
// directory document redirects, shows its message or offers its calendars in Choose Location.
// Every failure is told in a message box and leaves the dialog as it was, the address still in its
// field. While an attach runs, OK waits for it; the list may still be looked at.

#include "remote/TavrelFetchingHost.h"
#include "remote/TavrelOwnHost.h"

#include "common/QoString.h"
#include "platform/ui/Dialog.h"

#include <memory>
#include <vector>

namespace ui {
class ComboBox;
class ListBox;
class Picture;
class PushButton;
} // namespace ui

class CTavrelAttachedCalendarStore;
class CTavrelCalendar;
class CTavrelRemoteCalendar;

class CAttachedCalendarsDlg : public ui::Dialog {
public:
    static constexpr int IDD = 139;
    static constexpr const char16_t* Caption = u"Attached Calendars";
    static constexpr int IDC_ADDRESS = 1004;
    static constexpr int IDC_ADD = 1007;
    static constexpr int IDC_CALENDARS = 1001;
    static constexpr int IDC_CATEGORIES = 1002;
    static constexpr int IDC_REMOVE = 1009;

    static constexpr const char16_t* ContactingStatus = u"<Contacting Host...  Please Wait>";
    static constexpr const char16_t* ProcessingStatus = u"<Processing Calendar...  Please Wait>";
    static constexpr const char16_t* HostNotResponding = u"Host not responding";
    static constexpr const char16_t* DirectoryHostNotResponding = u"Tavrel Host not responding";
    static constexpr const char16_t* ServerNotResponding = u"Requested Tavrel server is not responding";
    static constexpr const char16_t* CannotOpenFile = u"Unable to open local XML file";
    static constexpr const char16_t* AlreadyAttached = u"You already are attached to a calendar with this name.";
    static constexpr const char16_t* CannotDelete = u"Error deleting calendar";
    static constexpr const char16_t* NoItemCalendar = u"No calendar selected";
    static constexpr const char16_t* NoListCalendar = u"No Calendar Selected";
    // Redirects and links followed from one address before the host counts as not answering (a
    // directory that leads back to itself would otherwise never end).
    static constexpr int MaxDirectorySteps = 8;

    struct Entry {
        std::unique_ptr<CTavrelCalendar> calendar;
        // The same calendar when it was attached in this dialog (it is still to be saved).
        CTavrelRemoteCalendar* attached = nullptr;
        int id = 0;
    };

    CAttachedCalendarsDlg(CTavrelAttachedCalendarStore& store, const CTavrelOwnHost& ownHost);
    ~CAttachedCalendarsDlg() override;

    // Before RunModal: a copy of an attached calendar, in the application's order.
    void AddCalendar(const CTavrelCalendar& calendar);
    // After RunModal: the list as the user left it.
    std::vector<Entry> TakeEntries();
    const std::vector<Entry>& GetEntries() const { return m_entries; }

    // Normalises the typed address, fetches and processes it; true when a calendar was added.
    bool Attach(const CQoString& typed);
    // Reads a fetched document as the dialog's address says it is; true when a calendar was added.
    bool ProcessFile(const CQoString& localFile, int step = 0);
    const CQoString& GetAddress() const { return m_address; }
    CTavrelFetchingHost& GetFetchingHost() { return m_host; }

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code, ui::WindowHandle source) override;
    bool onOk() override;
    bool onCancel() override;

private:
    bool Fetch(const CQoString& address, bool always, CQoString& localFile);
    bool AddCalendarFromDocument(std::unique_ptr<CTavrelRemoteCalendar> calendar);
    bool FollowDirectory(const std::vector<std::uint8_t>& bytes, int step);
    bool NamesDocument(const CQoString& lowered) const;
    void Tell(const char16_t* text);
    void ShowStatus(const char16_t* text);
    void ShowProgress(std::uint64_t received);
    void RemoveStatus();
    int StatusIndex() const;
    void UpdateButtons();
    void EnableAdd();
    void OnLinkTapped();
    void RemoveSelected();
    void EditCategories();
    Entry* FindEntry(int id);
    int AppendEntry(std::unique_ptr<CTavrelCalendar> calendar, CTavrelRemoteCalendar* attached);

    CTavrelAttachedCalendarStore& m_store;
    const CTavrelOwnHost& m_ownHost;
    CTavrelFetchingHost m_host;
    ui::ComboBox& m_addressBox;
    ui::PushButton& m_add;
    ui::ListBox& m_list;
    ui::PushButton& m_categories;
    ui::PushButton& m_remove;
    ui::Picture& m_links;
    std::vector<Entry> m_entries;
    int m_nextId = 1;
    CQoString m_address;
    const char16_t* m_status = nullptr;
    bool m_attaching = false;
};
