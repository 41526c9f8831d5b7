#include "control/TavrelNotifications.h"

#include "platform/device/DateConversion.h"
#include "protocol/TavrelControlMessage.h"

namespace {

constexpr const char16_t* ViewModeNames[] = {u"Daily", u"Weekly", u"Monthly", u"Quarterly"};

} // namespace

CQoString CTavrelNotifications::ViewModeName(int mode)
{
    if (mode < 0 || mode > 3)
        return CQoString(u"");
    return CQoString(ViewModeNames[mode]);
}

std::optional<int> CTavrelNotifications::ParseViewMode(const CQoString& name)
{
    for (int mode = 0; mode < 4; ++mode) {
        if (name.CompareNoCase(ViewModeNames[mode]) == 0)
            return mode;
    }
    return std::nullopt;
}

CQoString CTavrelNotifications::DateText(const device::OleDateTime& date)
{
    return CQoString(date.Format().c_str());
}

CQoString CTavrelNotifications::Initialized(const CQoString& calendar, int viewMode, const device::OleDateTime& viewDate)
{
    // The date alone: the view's date may carry the time it was taken at.
    const CQoString date(viewDate.Format(device::VAR_DATEVALUEONLY).c_str());
    return CTavrelControlMessage::Compose(u"OnInitialized", {calendar, ViewModeName(viewMode), date});
}

CQoString CTavrelNotifications::CalendarRegistered(const CQoString& name)
{
    return CTavrelControlMessage::Compose(u"OnCalendarRegistered", {name});
}

CQoString CTavrelNotifications::FactoryRegistered(const CQoString& factories)
{
    return CTavrelControlMessage::Compose(u"OnFactoryRegistered", {factories});
}

CQoString CTavrelNotifications::ActivityAdded(const CQoString& id)
{
    return CTavrelControlMessage::Compose(u"OnActivityAdded", {id});
}

CQoString CTavrelNotifications::ActivityUpdated(const CQoString& id)
{
    return CTavrelControlMessage::Compose(u"OnActivityUpdated", {id});
}

CQoString CTavrelNotifications::ActivityDeleted(const CQoString& id)
{
    return CTavrelControlMessage::Compose(u"OnActivityDeleted", {id});
}

CQoString CTavrelNotifications::AllActivitiesDeleted()
{
    return CQoString(u"OnAllActivitiesDeleted");
}

CQoString CTavrelNotifications::CalendarChanged(const CQoString& calendar)
{
    return CTavrelControlMessage::Compose(u"OnCalendarChanged", {calendar});
}

CQoString CTavrelNotifications::DateChanged(const device::OleDateTime& date)
{
    return CTavrelControlMessage::Compose(u"OnDateChanged", {DateText(date)});
}

CQoString CTavrelNotifications::ViewChanged(int viewMode)
{
    CQoString name = ViewModeName(viewMode);
    if (name.IsEmpty())
        return name;
    return CQoString(u"OnViewChanged:") + name.GetString();
}

CQoString CTavrelNotifications::RequestAddActivity(const device::OleDateTime& start, const device::OleDateTime& end,
                                                   const CQoString& kind)
{
    return CTavrelControlMessage::Compose(u"OnRequestAddActivity", {DateText(start), DateText(end), kind});
}

CQoString CTavrelNotifications::RequestChangeActivity(const CQoString& id, const device::OleDateTime& start,
                                                      const device::OleDateTime& end)
{
    return CTavrelControlMessage::Compose(u"OnRequestChangeActivity", {id, DateText(start), DateText(end)});
}

CQoString CTavrelNotifications::ShowClient()
{
    return CQoString(u"OnShowClient");
}

CQoString CTavrelNotifications::CalendarClose()
{
    return CQoString(u"OnCalendarClose");
}
