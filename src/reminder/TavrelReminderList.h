#pragma once
// CTavrelReminderList: the reminder dialog's list of due reminders, drawn by the dialog's own code
// as blocks: the category's picture at the left, then two lines — the category and the start
// without seconds, and the title — with a line under each block and the selected block
// highlighted. A tap selects the block under it. The line height is the height of the letter "W"
// in the dialog font.
//
// It is an owner-drawn list box, so when more reminders are due than the dialog has room for the
// list scrolls instead of drawing them where no tap can reach, and scripts and tests read its items
// as they read any list (each item's text is the block's two lines, two blanks apart).

#include "reminder/TavrelDueReminder.h"

#include "platform/gfx/Surface.h"
#include "platform/ui/ListBox.h"

#include <map>
#include <optional>
#include <vector>

class CTavrelReminderList : public ui::ListBox {
public:
    // The picture resources by category ("ToDo", "Call", "Meeting", and any other).
    static constexpr int ToDoPicture = 131;
    static constexpr int CallPicture = 132;
    static constexpr int MeetingPicture = 133;
    static constexpr int OtherPicture = 134;
    static constexpr int PictureSize = 16;

    CTavrelReminderList();

    // Shows these reminders and selects the first.
    void SetReminders(std::vector<CTavrelDueReminder> reminders);
    const std::vector<CTavrelDueReminder>& Reminders() const { return m_reminders; }
    // The selected reminder, or null when the list is empty.
    const CTavrelDueReminder* Selected() const;

    // The picture of a category, compared without regard to case.
    static int PictureFor(const CQoString& category);
    // A block's height for the dialog font: two lines, a margin and the line under it.
    static int BlockHeight();
    // An item's text: both lines, two blanks apart.
    static CQoString ItemText(const CTavrelDueReminder& reminder);

private:
    void DrawBlock(gfx::Painter& painter, const DrawItem& item);
    const gfx::Surface* Picture(int id);

    std::vector<CTavrelDueReminder> m_reminders;
    std::map<int, std::optional<gfx::Surface>> m_pictures;
};
