#pragma once
// CTavrelApp: the calendar program's application object. It owns the settings store, the icon
// rules, the connection to the appointment store, the calendar data (calendar lists, current
// calendar, window collection, the three locks and the reader's flags) and the reader thread.
//
// InitInstance runs the program's start-up in its order, each failure told in a message box:
//   1. the socket layer ("Windows sockets initialization failed.", string 104; ends start-up)
//   2. the command line ("TavrelControl" in any letter case selects control mode)
//   3. the appointment store ("Unable to attach to Pocket Outlook Object Manager"; ends start-up)
//   4. the icon rules from "\My Documents\Tavrel.Rules"
//   5. the attached remote calendars from their local copies ("Error reading Calendar '%s'" for
//      each that cannot be read, which is forgotten; the others load)
//   6. under the calendar list lock: the current calendar ("CurrentCalendar", "<Personal>" when
//      no calendar of that name exists), the main frame (CMainFrame), the logon to the store
//      ("Unable to Log on to Pocket Outlook Object Manager"; ends start-up) and the reader thread
//      at below-normal priority ("Unable to start thread to read Pocket Outlook calendar"; the
//      program carries on without it).
// ExitInstance, after the message loop: "OnCalendarClose" to control applications while the main
// frame still exists (after "Exit", not after the frame was closed), then the frame goes.
//
// Each step is also a method of its own, so a test builds the object on a throw-away device
// without any window and drives the steps directly; the frame attaches itself with SetMainWindow.
//
// The folders below the shell see the object only through the narrow interfaces they declare:
// the view (CTavrelViewSource), the skin loader (CTavrelSkinTarget), the control commands
// (CTavrelControlTarget) and the appearance of the current calendar (CTavrelCalendarAppearance).
//
// The object holds the named mutex "Tavrel", owned from construction to destruction. Destruction
// closes it, asks the reader to stop, waits up to 500 ms for it and stores the current calendar's
// name as "CurrentCalendar".

#include "common/QoString.h"
#include "control/TavrelControlTarget.h"
#include "data/TavrelCalendarAppearance.h"
#include "data/TavrelCalendarData.h"
#include "data/TavrelReaderThread.h"
#include "data/TavrelSleeper.h"
#include "platform/pim/Error.h"
#include "skins/TavrelSkinTarget.h"
#include "views/TavrelViewSource.h"

#include <functional>
#include <memory>
#include <vector>

class CMainFrame;
class CTavrelAttachedCalendarStore;
class CTavrelMainWindow;
class CTavrelWakeableSleeper;
class CTavrelRegisteredCalendar;
class CTavrelRules;
class CTavrelSettings;

namespace device {
class NamedMutex;
}

namespace pim {
class Application;
}

class CTavrelApp : public CTavrelCalendarAppearance,
                   public CTavrelViewSource,
                   public CTavrelSkinTarget,
                   public CTavrelControlTarget {
public:
    static constexpr const char16_t* ControlModeParameter = u"TavrelControl";
    static constexpr const char16_t* MutexName = u"Tavrel";
    static constexpr const char16_t* MessageCaption = u"Tavrel";
    static constexpr const char16_t* AttachFailed = u"Unable to attach to Pocket Outlook Object Manager";
    static constexpr const char16_t* LogonFailed = u"Unable to Log on to Pocket Outlook Object Manager";
    static constexpr const char16_t* ReaderFailed = u"Unable to start thread to read Pocket Outlook calendar";
    static constexpr int DefaultControlPort = 22137;
    static constexpr int DefaultNotifyPort = 22138;

    CTavrelApp();
    CTavrelApp(const CTavrelApp&) = delete;
    CTavrelApp& operator=(const CTavrelApp&) = delete;
    ~CTavrelApp() override;

    // --- Start-up and shut-down of the program ----------------------------------------------------
    // The whole start-up (above); false when the program must end. Needs a running desktop.
    bool InitInstance(const std::vector<CQoString>& parameters);
    // After the message loop has ended.
    void ExitInstance();
    CMainFrame* GetMainFrame() const { return m_mainFrame.get(); }
    // The ports of the control socket: commands arrive on the first, notifications go to the second.
    void SetControlPorts(int controlPort, int notifyPort);
    int GetControlPort() const { return m_controlPort; }
    int GetNotifyPort() const { return m_notifyPort; }
    // Whether this program holds the named mutex "Tavrel" (no other instance on the device had it).
    bool OwnsMutex() const;
    // Where the frame sends its notifications for control applications (before InitInstance; the
    // frame keeps it). Tests record them here; the control socket takes them in the frame.
    void SetNotificationSink(std::function<void(const CQoString& text)> sink) { m_notificationSink = std::move(sink); }
    const std::function<void(const CQoString& text)>& GetNotificationSink() const { return m_notificationSink; }

    // --- Start-up steps -----------------------------------------------------------------------
    // Sockets need no start-up of their own on this platform beyond the check that they work.
    bool InitializeSockets();
    // Any parameter equal to "TavrelControl", ignoring case, selects control mode.
    void ParseCommandLine(const std::vector<CQoString>& parameters);
    bool IsControlMode() const { return m_controlMode; }
    // Opens the appointment store of the device.
    bool CreateOutlook(pim::Error* error = nullptr);
    bool LogonOutlook(pim::Error* error = nullptr);
    pim::Application* GetOutlook() const override { return m_outlook.get(); }
    // Loads "\My Documents\Tavrel.Rules" (or the given file) under the rules lock.
    bool LoadRules(const char16_t* path = nullptr);
    // Loads the attached remote calendars from their local copies, with their category flags, and
    // appends them to the remote calendars. Returns what the user is to be told about calendars
    // that could not be read (each of them is forgotten); the others load all the same.
    std::vector<CQoString> LoadRemoteCalendars();
    // Reads "CurrentCalendar" and falls back to "<Personal>" when no calendar of that name exists
    // (so does a stored "<Combined>", which is no calendar object). Run after the remote
    // calendars are loaded, under the calendar list lock.
    void RestoreCurrentCalendar();
    // Starts the reader thread at below-normal priority; tests may hand it a sleeper. Without one
    // it sleeps on the application's, which RequestRefresh and StopReader wake.
    bool StartReader(std::shared_ptr<CTavrelSleeper> sleeper = nullptr);
    // Asks the reader to stop and waits the bounded time; true when it ended.
    bool StopReader();
    bool IsReaderRunning() const { return m_reader.IsRunning(); }

    // The frame, when it exists (null before it is destroyed).
    void SetMainWindow(CTavrelMainWindow* window);
    CTavrelMainWindow* GetMainWindow() const override;

    // --- Calendars ----------------------------------------------------------------------------
    // Remote calendars first, then registered ones, ignoring case; under the calendar list lock.
    CTavrelCalendar* FindCalendar(const CQoString& name);
    // "<Personal>" and "<Combined>" in any letter case, or the name of a calendar as the calendar
    // writes it. False, and nothing changes, for a name no calendar has. On success the name is
    // stored as "CurrentCalendar", the frame refreshes its calendar menu and notifies control
    // applications, the view reloads, and the reader is asked for a fresh pass.
    bool SetCurrentCalendar(const CQoString& name) override;
    CQoString GetCurrentCalendarName();
    // Creates a registered calendar of that name (its pictures falling back to the settings) and
    // appends it to the registered calendars.
    CTavrelRegisteredCalendar& AddRegisteredCalendar(const CQoString& name) override;

    // The appointment templates' names in the registry's order (the day menu's "New" items).
    std::vector<CQoString> GetAppointmentTemplateNames() override;

    // A deep copy of the window collection, taken under the event lock.
    CTavrelEvents GetWindowEventsSnapshot();
    // Makes the reader start a fresh pass now.
    void RequestRefresh() override;

    // --- Icon rules ---------------------------------------------------------------------------
    // A copy of the rules, and replacing them by an edited copy, each under the rules lock.
    CTavrelRules GetRulesCopy();
    void ReplaceRules(const CTavrelRules& rules);

    // --- Appearance of the current calendar ---------------------------------------------------
    // The settings' values for "<Personal>", "<Combined>" and the calendars without an appearance
    // of their own (registered ones); a calendar's own values otherwise (a remote one): where it
    // names no background the settings' background of the month shows, where it names no month
    // title or day bar the built-in picture does (empty text). With no calendar of the current
    // name: fade 50 and no pictures. Each holds the calendar list lock.
    int GetTransparency(int month) override;
    CQoString GetBackground(int month) override;
    CQoString GetMonthTitle(int month) override;
    CQoString GetDayBar(int month) override;
    // Written to the settings for "<Personal>", "<Combined>" and the calendars without an
    // appearance of their own; a calendar with its own takes the values itself, for this run (its
    // document is what it shows at the next start).
    bool SetTransparency(int month, int level) override;
    bool SetBackground(int month, const CQoString& path) override;
    bool SetMonthTitle(int month, const CQoString& path) override;
    bool SetDayBar(int month, const CQoString& path) override;
    CTavrelCalendarAppearance& GetAppearance() override { return *this; }

    // --- Parts --------------------------------------------------------------------------------
    CTavrelSettings& GetSettings() override { return *m_settings; }
    // The attached calendars' registry keys and local copies.
    CTavrelAttachedCalendarStore& GetAttachedCalendarStore() { return *m_attachedStore; }
    CTavrelCalendarData& GetCalendarData() override { return *m_data; }
    CTavrelOrderedLock& GetEventLock() { return m_data->GetEventLock(); }
    CTavrelOrderedLock& GetCalendarListLock() { return m_data->GetCalendarListLock(); }
    CTavrelOrderedLock& GetRulesLock() { return m_data->GetRulesLock(); }

private:
    enum class AppearanceSource { Global, Own, Missing };
    // Which values the current calendar shows; `own` is the calendar when they are its own.
    AppearanceSource CurrentAppearance(CTavrelCalendar*& own);
    // An own picture that is empty shows the settings' one, or (without the fallback) the built-in one.
    CQoString Picture(int month, CQoString (CTavrelCalendar::*own)(int) const,
                      CQoString (CTavrelSettings::*global)(int) const, bool ownFallsBackToGlobal);
    bool SetPicture(int month, const CQoString& path, bool (CTavrelCalendar::*own)(int, const CQoString&),
                    bool (CTavrelSettings::*global)(int, const CQoString&));
    static void ShowMessage(const char16_t* text);

    std::unique_ptr<device::NamedMutex> m_mutex;
    std::shared_ptr<CTavrelSettings> m_settings;
    std::unique_ptr<CTavrelAttachedCalendarStore> m_attachedStore;
    std::shared_ptr<CTavrelRules> m_rules;
    std::shared_ptr<CTavrelCalendarData> m_data;
    std::shared_ptr<pim::Application> m_outlook;
    std::shared_ptr<CTavrelWakeableSleeper> m_sleeper;
    CTavrelReaderThread m_reader;
    std::unique_ptr<CMainFrame> m_mainFrame;
    std::function<void(const CQoString& text)> m_notificationSink;
    bool m_controlMode = false;
    bool m_socketsStarted = false;
    int m_controlPort = DefaultControlPort;
    int m_notifyPort = DefaultNotifyPort;
};
