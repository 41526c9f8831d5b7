#pragma once
// CTavrelControl: the main frame's link with control applications, in one member. It owns the
// control socket, dispatches what arrives on it, and sends the notifications of the frame and the
// view. What the frame does with it:
//
//   creation      Open(handle(), controlPort, notifyPort); on failure the frame shows "Error
//                 initializing external control socket" and carries on; then SendInitialized()
//   0x702         OnControlDatagram(wParam, lParam)              (WM_CONTROL_DATAGRAM)
//   32809         Notify(CTavrelNotifications::ShowClient())     ("Switch to Varnow!")
//   check marks   Notify(CTavrelNotifications::CalendarChanged(name))
//   the view      Notify(CTavrelNotifications::DateChanged(date)) and ViewChanged(mode)
//   opening       OpenEvent(event)                               (VM_OPEN_EVENT, event menus)
//   "New" items   RequestNewActivity(heldDate, id) in a registered calendar
//   exit          Notify(CTavrelNotifications::CalendarClose()) while the frame exists
//   destruction   Close()
//
// One command at a time: a command that shows a message box runs the box's nested message loop,
// which delivers the datagrams that arrive meanwhile. Those wait, in arrival order, until the
// command has ended, and then run one after the other; none runs inside the box. So a flood of
// unknown commands opens one box after another, never a box inside a box (each nesting costs
// stack; a few thousand crashed the program), and the records waiting stay in the inbox, which
// holds at most 256: what arrives beyond that is dropped by the receive thread.

#include "control/TavrelActivityRequest.h"
#include "control/TavrelControlDispatcher.h"
#include "control/TavrelControlSocket.h"
#include "control/TavrelEventOpener.h"
#include "platform/ui/Messages.h"

#include <cstddef>
#include <deque>

class CTavrelControl {
public:
    // Replies and requests go to `notifier` when one is given (the frame routes every
    // notification one way), else straight to the control socket.
    CTavrelControl(CTavrelControlTarget& target, CTavrelControlHost& host, CTavrelNotifier* notifier = nullptr);
    ~CTavrelControl();
    CTavrelControl(const CTavrelControl&) = delete;
    CTavrelControl& operator=(const CTavrelControl&) = delete;

    bool Open(ui::WindowHandle window, std::uint16_t controlPort = CTavrelControlSocket::DefaultControlPort,
              std::uint16_t notifyPort = CTavrelControlSocket::DefaultNotifyPort);
    // True when the receive thread ended within its wait.
    bool Close();

    // Takes the record behind the message and runs its command — or, while a command is still
    // running (its message box open), keeps the record's number to run after it.
    void OnControlDatagram(ui::WParam wParam, ui::LParam lParam);
    // Records waiting for the running command to end.
    std::size_t GetWaitingCount() const { return m_waiting.size(); }

    // Sends through the control socket.
    bool Notify(const CQoString& text) { return m_socket.Send(text); }
    bool SendInitialized() { return m_dispatcher.SendInitialized(); }
    bool OpenEvent(const CTavrelEvent& event) { return m_opener.OpenEvent(event); }
    bool RequestNewActivity(const device::OleDateTime& heldDate, int commandId)
    {
        return m_request.RequestNew(heldDate, commandId);
    }

    CTavrelControlSocket& GetSocket() { return m_socket; }
    CTavrelControlDispatcher& GetDispatcher() { return m_dispatcher; }

private:
    void Run(std::uint32_t record);

    CTavrelControlSocket m_socket;
    CTavrelNotifier& m_notifier;
    CTavrelControlDispatcher m_dispatcher;
    CTavrelEventOpener m_opener;
    CTavrelActivityRequest m_request;
    bool m_running = false;
    std::deque<std::uint32_t> m_waiting;
};
