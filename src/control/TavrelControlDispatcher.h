#pragma once
// CTavrelControlDispatcher: runs the commands that control applications send, on the
// user-interface thread, one at a time in arrival order, and answers them.
//
// A message names a command (ignoring case) and carries its arguments (CTavrelControlMessage). A
// command given fewer arguments than it needs does nothing; an unknown name is shown to the user
// as "Unknown Control Message: '" followed by the whole text. Message boxes go through the host,
// which shows them with the caption "Tavrel", top-most.
//
// Commands and their replies:
//   SetCurrentCalendar name                 (the change notifies "OnCalendarChanged:")
//   SetCurrentDate date                     (the view notifies "OnDateChanged:")
//   SetCurrentView Daily|Weekly|Monthly|Quarterly   (the view notifies "OnViewChanged:…")
//   ShowCalendar calendar view [date]
//   Initialize                              "OnInitialized:" calendar;view;date
//   RegisterCalendar name                   "OnCalendarRegistered:" name
//   RegisterFactory kinds                   "OnFactoryRegistered:" kinds
//   AddActivity id category name start end icon changeable extra   "OnActivityAdded:" id
//   UpdateActivity (the same eight)         "OnActivityUpdated:" id
//   DeleteActivity id                       "OnActivityDeleted:" id
//   DeleteAllActivities                     "OnAllActivitiesDeleted"
//   CloseCalendar                           (the program's exit notifies "OnCalendarClose")
//   Uninitialize
//
// A message box runs a nested message loop; no command holds a lock while it shows one. The
// datagrams that loop delivers wait for the command to end (CTavrelControl), so commands never
// run inside one another.

#include "control/TavrelActivity.h"
#include "control/TavrelActivityCommands.h"
#include "protocol/TavrelControlMessage.h"
#include "protocol/TavrelDatagram.h"

class CTavrelControlTarget;
class CTavrelControlHost;
class CTavrelNotifier;

class CTavrelControlDispatcher {
public:
    CTavrelControlDispatcher(CTavrelControlTarget& target, CTavrelControlHost& host, CTavrelNotifier& notifier);

    // The payload of one datagram; an empty payload or text is ignored.
    void DispatchPayload(const CTavrelDatagram::Bytes& payload);
    void Dispatch(const CQoString& text);

    // "OnInitialized:" with the current calendar, the view's mode and its date.
    bool SendInitialized();

private:
    using Handler = void (CTavrelControlDispatcher::*)(const CTavrelControlMessage&);
    struct Command {
        const char16_t* name;
        int minimumArguments;
        Handler run;
    };
    static const Command Commands[];

    void SetCurrentCalendar(const CTavrelControlMessage& message);
    void SetCurrentDate(const CTavrelControlMessage& message);
    void SetCurrentView(const CTavrelControlMessage& message);
    void ShowCalendar(const CTavrelControlMessage& message);
    void Initialize(const CTavrelControlMessage& message);
    void RegisterCalendar(const CTavrelControlMessage& message);
    void RegisterFactory(const CTavrelControlMessage& message);
    void AddActivity(const CTavrelControlMessage& message);
    void UpdateActivity(const CTavrelControlMessage& message);
    void DeleteActivity(const CTavrelControlMessage& message);
    void DeleteAllActivities(const CTavrelControlMessage& message);
    void CloseCalendar(const CTavrelControlMessage& message);
    void Uninitialize(const CTavrelControlMessage& message);

    void ApplyView(const CQoString& view);
    void ApplyDate(const CQoString& date);
    // The eight arguments of AddActivity and UpdateActivity, dates not yet read.
    static CTavrelActivity ReadActivity(const CTavrelControlMessage& message);
    static bool ReadFlag(const CQoString& argument);
    void ReplyToUpdate(CTavrelActivityCommands::Result result, const CQoString& id);
    // Shows the message box that tells the control application to register first; true when it
    // did (no calendar is registered).
    bool RequireRegisteredCalendar(const char16_t* beforeWhat);

    CTavrelControlTarget& m_target;
    CTavrelControlHost& m_host;
    CTavrelNotifier& m_notifier;
    CTavrelActivityCommands m_activities;
};
