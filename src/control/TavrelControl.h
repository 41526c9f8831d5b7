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

#include "control/TavrelActivityRequest.h"
#include "control/TavrelControlDispatcher.h"
#include "control/TavrelControlSocket.h"
#include "control/TavrelEventOpener.h"
#include "platform/ui/Messages.h"

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

    // Takes the record behind the message and runs its command.
    void OnControlDatagram(ui::WParam wParam, ui::LParam lParam);

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
    CTavrelControlSocket m_socket;
    CTavrelNotifier& m_notifier;
    CTavrelControlDispatcher m_dispatcher;
    CTavrelEventOpener m_opener;
    CTavrelActivityRequest m_request;
};
