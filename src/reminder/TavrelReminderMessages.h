#pragma once
// CTavrelReminderMessages: what the reminder program tells the user, in message boxes with an OK
// button, above every other window as the reminder dialog is.

namespace ui {
class Window;
}

class CTavrelReminderMessages {
public:
    static constexpr const char16_t* Caption = u"TavrelReminder";
    static constexpr const char16_t* SocketsFailed = u"Windows CE sockets initialization failed.";
    static constexpr const char16_t* RescheduleFailed = u"Unable to reschedule Tavrel Reminder for next run";

    static void Show(ui::Window* owner, const char16_t* text);
};
