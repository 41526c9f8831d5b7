#pragma once
// CMainFrame: the calendar program's main window. It holds the calendar view, the command bar with
// the "Calendar" menu and the tool buttons, and routes the commands: the calendar items (500-599)
// and the "New" items (35000-35099) by range first, then the view, then the frame itself. A command
// whose update query says it is disabled is not carried out, whichever way it arrives (menu, tool
// button, script or control application).
//
// The menu, as the frame builds it: "Personal" (32774), one item per registered calendar and then
// per remote calendar (500, 501, ...), the resource's "Combined" and the rest of the menu
// (TavrelMainMenu.h). "Attached..." edits the remote calendars (CTavrelAttachedCalendarsCommand). One "Combined" item
// stands for the combined calendar, whether or not remote calendars exist. The check mark is on the item of the current
// calendar.
//
// In control mode the frame is created hidden (a control application shows it) and has a sixth
// tool button, "Switch to Varnow!". The frame owns the control socket (CTavrelControl): it opens
// with the frame on the application's ports ("Error initializing external control socket" when it
// cannot, and the program carries on without control applications), its datagrams arrive as
// WM_CONTROL_DATAGRAM (0x702) and are dispatched here, and every notification of the frame and
// the view leaves through SendNotification. It closes with the frame.
//
// The frame implements what the application and the reader need of it (CTavrelMainWindow) and what
// the view needs of its host (CTavrelViewHost); what the control commands need of it is carried out
// by CTavrelFrameControlHost.

#include "control/TavrelNotifier.h"
#include "data/TavrelMainWindow.h"
#include "platform/ui/FrameWindow.h"
#include "views/TavrelViewHost.h"

#include <functional>
#include <memory>

class CTavrelApp;
class CTavrelControl;
class CTavrelFrameControlHost;
class CTavrelNewCommand;
class CTavrelReaderPassWatch;
class CTavrelView;

class CMainFrame : public ui::FrameWindow, public CTavrelMainWindow, public CTavrelViewHost, public CTavrelNotifier {
public:
    static constexpr const char16_t* Title = u"Tavrel";
    static constexpr const char16_t* PictureFilter = u"Image Files|*.BMP;*.GIF;*.JPG;*.PNG;*.TIF|All Files (*.*)|*.*||";
    static constexpr const char16_t* SkinFilter = u"Skin Files (*.TavrelSkin)|*.TavrelSkin|All Files (*.*)|*.*||";
    static constexpr const char16_t* HelpProgram = u"PegHelp.exe";
    static constexpr const char16_t* HelpPage = u"Tavrel.htm#Main_Contents";
    static constexpr const char16_t* SocketFailed = u"Error initializing external control socket";
    static constexpr const char16_t* PictureUnreadable = u"The picture cannot be read; the background stays as it was.";
    static constexpr const char16_t* BackgroundNotChangeable
        = u"This calendar's backgrounds come from its own document and cannot be changed here.";

    // Where notifications for control applications go instead of the control socket (tests
    // record them).
    using NotificationSink = std::function<void(const CQoString& text)>;

    explicit CMainFrame(CTavrelApp& app);
    ~CMainFrame() override;

    // Creates the frame (hidden in control mode), the view and the command bar, and sends
    // "OnInitialized:". The caller holds the calendar list lock.
    bool Create();

    CTavrelView* GetView() const { return m_view.get(); }

    // Builds the command bar: the menu with "Personal" and the calendar items, the tool buttons
    // (five, six in control mode) and their tool tips. Run again whenever the calendars change.
    void BuildCommandBar();
    // Makes calendar number n (registered calendars first, then remote ones) the current one.
    void SelectCalendarItem(int n);

    // --- CTavrelMainWindow ---------------------------------------------------------------------
    CTavrelReaderView* GetReaderView() override;
    void RefreshCalendarChecks() override;
    void ReloadViewEvents() override;

    // --- CTavrelViewHost ------------------------------------------------------------------------
    void SendNotification(const CQoString& text) override;
    bool OpenNonStoreEvent(const CTavrelEvent& event) override;

    // --- CTavrelNotifier: every notification, the control commands' replies included --------------
    bool Send(const CQoString& text) override;

    void SetNotificationSink(NotificationSink sink) { m_notify = std::move(sink); }
    // The control socket's part of the frame (its socket may have failed to open).
    CTavrelControl* GetControl() const { return m_control.get(); }

    // Whether the reader's latest pass has been drawn for the date and mode the view shows now, and
    // started after every refresh request. A script's `idle` and the snapshot wait for it.
    bool IsReaderPassDrawn() const;
    unsigned GetReaderPassCount() const;

    ui::LResult handleMessage(std::uint32_t message, ui::WParam wParam, ui::LParam lParam) override;

protected:
    bool onHelp() override;
    void onDestroy() override;

private:
    // The frame's own commands, each with its update (ui::CommandTable).
    void DefineCommands();
    void OnCalendarPersonal();
    void OnCalendarCombined();
    // "Attached...": the Attached Calendars dialog, then the menu rebuilt and the first calendar
    // attached made current.
    void OnCalendarAttached();
    void OnChooseSkin();
    void OnRules();
    void OnChooseBackground();
    void OnOnlineHelp();
    void OnAbout();
    void OpenControlSocket();
    bool LoadSkin(const CQoString& file);

    CTavrelApp& m_app;
    std::unique_ptr<CTavrelView> m_view;
    std::unique_ptr<CTavrelReaderPassWatch> m_readerView;
    std::unique_ptr<CTavrelFrameControlHost> m_controlHost;
    std::unique_ptr<CTavrelControl> m_control;
    std::unique_ptr<CTavrelNewCommand> m_newCommand;
    NotificationSink m_notify;
};
