#include "ReaderTestSupport.h"

#include <stdexcept>

namespace reader_test {

std::uint32_t addAppointment(pim::Application& store, const Appointment& appointment)
{
    auto item = store.createItem(pim::olAppointmentItem);
    if (!item)
        return 0;
    item->setSubject(appointment.subject);
    item->setStart(appointment.start);
    item->setEnd(appointment.end);
    item->setCategories(appointment.categories);
    for (int i = 0; i < appointment.recipients; ++i)
        item->recipients().add(u"Someone");
    if (appointment.recurrence >= 0)
        item->getRecurrencePattern().setRecurrenceType(appointment.recurrence);
    return item->save() ? item->oid() : 0;
}

ReaderWorld::ReaderWorld()
    : outlook(pim::Application::create()), settings(std::make_shared<CTavrelSettings>()),
      rules(std::make_shared<CTavrelRules>()), data(std::make_shared<CTavrelCalendarData>()),
      sleeper(std::make_shared<CountingSleeper>())
{
    if (!outlook || !outlook->logon())
        throw std::runtime_error("no appointment store on the test device");
    rules->AddTail(CTavrelRule(u"Subject", u"*Meeting*", u"meeting.gif"));
    rules->AddTail(CTavrelRule(u"Category", u"Holiday", u"holiday.gif"));
    rules->AddTail(CTavrelRule(u"# Recipients", u">= 3", u"crowd.gif"));
    data->GetMainWindowLink().Set(&window);
}

ReaderWorld::~ReaderWorld()
{
    data->GetMainWindowLink().Set(nullptr);
}

CTavrelReader& ReaderWorld::Reader()
{
    if (!m_reader)
        m_reader = std::make_unique<CTavrelReader>(CTavrelReader::Sources{data, settings, rules, outlook}, sleeper);
    return *m_reader;
}

std::vector<std::u16string> ReaderWorld::WindowNames()
{
    std::vector<std::u16string> names;
    data->GetWindowEventsSnapshot().ForEach([&](const CTavrelEvent& e) { names.emplace_back(e.GetName().View()); });
    return names;
}

} // namespace reader_test
