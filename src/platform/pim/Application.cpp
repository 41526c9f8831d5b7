#include "platform/pim/Application.h"

#include "platform/device/DeviceFolder.h"
#include "platform/pim/Store.h"

namespace pim {

Application::Application(std::shared_ptr<Store> store, std::filesystem::path file)
    : m_store(std::move(store)), m_file(std::move(file))
{
}

Application::~Application() = default;

std::unique_ptr<Application> Application::create(Error* error)
{
    return create(device::DeviceFolder::current().pimFile(), Options(), error);
}

std::unique_ptr<Application> Application::create(const std::filesystem::path& file, Error* error)
{
    return create(file, Options(), error);
}

std::unique_ptr<Application> Application::create(const std::filesystem::path& file, const Options& options,
                                                 Error* error)
{
    Error result = Error::None;
    std::shared_ptr<Store> store = Store::open(file, options.busyTimeout, result);
    if (!store) {
        fail(error, result);
        return nullptr;
    }
    succeed(error);
    return std::unique_ptr<Application>(new Application(std::move(store), file));
}

bool Application::logon(Error* error)
{
    if (Error result = m_store->logon(); result != Error::None)
        return fail(error, result);
    succeed(error);
    return true;
}

void Application::logoff() { m_store->logoff(); }

bool Application::checkLoggedOn(Error* error) const
{
    if (!m_store->isLoggedOn())
        return fail(error, Error::NotLoggedOn);
    return true;
}

std::unique_ptr<Folder> Application::getDefaultFolder(int folderKind, Error* error)
{
    if (!checkLoggedOn(error))
        return nullptr;
    if (folderKind != olFolderCalendar) {
        fail(error, Error::InvalidArgument);
        return nullptr;
    }
    succeed(error);
    return std::make_unique<Folder>(m_store, folderKind);
}

std::unique_ptr<Appointment> Application::createItem(int itemKind, Error* error)
{
    if (!checkLoggedOn(error))
        return nullptr;
    if (itemKind != olAppointmentItem) {
        fail(error, Error::InvalidArgument);
        return nullptr;
    }
    succeed(error);
    return std::make_unique<Appointment>(m_store, AppointmentRecord());
}

std::unique_ptr<Appointment> Application::getItemFromOid(std::uint32_t oid, Error* error)
{
    if (oid == kNoOid || oid == kInvalidOid) {
        fail(error, Error::InvalidArgument);
        return nullptr;
    }
    AppointmentRecord record;
    if (Error result = m_store->fetch(oid, record); result != Error::None) {
        fail(error, result);
        return nullptr;
    }
    succeed(error);
    return std::make_unique<Appointment>(m_store, std::move(record));
}

} // namespace pim

namespace pim {

std::vector<std::unique_ptr<Appointment>> Application::getItemsFromUid(std::string_view uid, Error* error)
{
    std::vector<std::unique_ptr<Appointment>> items;
    std::vector<AppointmentRecord> records;
    if (Error result = m_store->withUid(uid, records); result != Error::None) {
        fail(error, result);
        return items;
    }
    for (AppointmentRecord& record : records)
        items.push_back(std::make_unique<Appointment>(m_store, std::move(record)));
    succeed(error);
    return items;
}

bool Application::runInTransaction(const std::function<bool(Error* error)>& changes, Error* error)
{
    const Error result = m_store->transact([&] {
        Error reason = Error::None;
        if (changes(&reason))
            return Error::None;
        // A change that failed without saying why still must not land.
        return reason == Error::None ? Error::InvalidArgument : reason;
    });
    if (result != Error::None)
        return fail(error, result);
    succeed(error);
    return true;
}

} // namespace pim
