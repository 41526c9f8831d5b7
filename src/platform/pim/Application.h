#pragma once
// The appointment store's application object: the entry to the store, shaped like the handheld
// object model's application.
//
//   auto app = pim::Application::create();            // the device's pim.db
//   if (!app || !app->logon()) ...                    // start-up ends
//   auto folder = app->getDefaultFolder(pim::olFolderCalendar);
//   auto items = folder->items();
//   items->setIncludeRecurrences(true);
//   for (auto item = items->find(restriction); item; item = items->findNext()) ...
//
// create() opens (creating when missing) the store file and fails when it cannot: a missing or
// unwritable folder, a folder in the file's place, a write-protected file. logon() reads it and
// fails when another program keeps it locked beyond the busy time-out, when it is damaged or no
// appointment store, or when a newer program wrote it. Every other call needs a logon first.
//
// Ownership is plain: every object returned is the caller's. Folders, item collections and
// appointments keep the store open for as long as they live, so none of them dangles when the
// Application goes first. One Application may be used from several threads (the calendar's user
// interface and its reader); each Items object belongs to one thread.

#include "platform/pim/Appointment.h"
#include "platform/pim/Constants.h"
#include "platform/pim/Error.h"
#include "platform/pim/Folder.h"
#include "platform/pim/Items.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

namespace pim {

class Store;

class Application {
public:
    struct Options {
        // How long a call waits for another program's lock before it fails with Busy.
        std::chrono::milliseconds busyTimeout = std::chrono::seconds(5);
    };

    // The store of the selected device (device::DeviceFolder::current().pimFile()).
    static std::unique_ptr<Application> create(Error* error = nullptr);
    static std::unique_ptr<Application> create(const std::filesystem::path& file, Error* error = nullptr);
    static std::unique_ptr<Application> create(const std::filesystem::path& file, const Options& options,
                                               Error* error = nullptr);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    bool logon(Error* error = nullptr);
    // Ends the session: later calls on this application and on everything it gave fail with
    // NotLoggedOn until the next logon.
    void logoff();

    // The calendar folder for olFolderCalendar; null (InvalidArgument) for any other kind.
    std::unique_ptr<Folder> getDefaultFolder(int folderKind, Error* error = nullptr);
    // A new, unsaved appointment for olAppointmentItem (every field empty, start and end at
    // 12/30/1899 00:00); null (InvalidArgument) for any other kind.
    std::unique_ptr<Appointment> createItem(int itemKind, Error* error = nullptr);
    // The appointment (for a series, the series itself); null with NotFound when no appointment
    // has the identifier, InvalidArgument for 0 and 0xFFFFFFFF.
    std::unique_ptr<Appointment> getItemFromOid(std::uint32_t oid, Error* error = nullptr);

    // Every appointment whose uid is `uid`: the single appointment or series, and the appointments
    // that stand for single occurrences of it; empty (error None) when there is none.
    std::vector<std::unique_ptr<Appointment>> getItemsFromUid(std::string_view uid, Error* error = nullptr);

    // Runs `changes` — saves and removals through this application's items, from this thread —
    // in one transaction: they all land when it returns true, and none does when it returns false
    // (with its reason in `error`) or the commit fails. Other programs keep seeing the store as it
    // was until then.
    bool runInTransaction(const std::function<bool(Error* error)>& changes, Error* error = nullptr);

    const std::filesystem::path& file() const { return m_file; }

private:
    Application(std::shared_ptr<Store> store, std::filesystem::path file);
    bool checkLoggedOn(Error* error) const;

    std::shared_ptr<Store> m_store;
    std::filesystem::path m_file;
};

} // namespace pim
