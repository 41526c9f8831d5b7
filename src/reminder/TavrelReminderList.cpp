#include "reminder/TavrelReminderList.h"

#include "platform/gfx/ImageResource.h"
#include "platform/gfx/Painter.h"
#include "platform/ui/Theme.h"

#include <algorithm>

namespace {

constexpr int margin = 2;
constexpr int textGap = 4;
constexpr gfx::Colour separator = gfx::rgb(192, 192, 192);

int LineHeight() { return ui::theme::font().textExtent(u"W").height; }

} // namespace

CTavrelReminderList::CTavrelReminderList()
{
    setItemHeight(BlockHeight());
    setOwnerDraw([this](gfx::Painter& painter, const DrawItem& item) { DrawBlock(painter, item); });
}

int CTavrelReminderList::BlockHeight() { return std::max(PictureSize, 2 * LineHeight()) + 2 * margin + 1; }

int CTavrelReminderList::PictureFor(const CQoString& category)
{
    if (category.CompareNoCase(u"ToDo") == 0)
        return ToDoPicture;
    if (category.CompareNoCase(u"Call") == 0)
        return CallPicture;
    if (category.CompareNoCase(u"Meeting") == 0)
        return MeetingPicture;
    return OtherPicture;
}

CQoString CTavrelReminderList::ItemText(const CTavrelDueReminder& reminder)
{
    return reminder.FirstLine() + u"  " + reminder.SecondLine();
}

void CTavrelReminderList::SetReminders(std::vector<CTavrelDueReminder> reminders)
{
    m_reminders = std::move(reminders);
    resetContent();
    for (const CTavrelDueReminder& reminder : m_reminders)
        addString(ItemText(reminder).View());
    setCurSel(m_reminders.empty() ? -1 : 0);
    invalidate();
}

const CTavrelDueReminder* CTavrelReminderList::Selected() const
{
    const int index = curSel();
    return index >= 0 && std::size_t(index) < m_reminders.size() ? &m_reminders[std::size_t(index)] : nullptr;
}

const gfx::Surface* CTavrelReminderList::Picture(int id)
{
    auto found = m_pictures.find(id);
    if (found == m_pictures.end())
        found = m_pictures.emplace(id, gfx::loadImageResource(id)).first;
    return found->second ? &*found->second : nullptr;
}

void CTavrelReminderList::DrawBlock(gfx::Painter& painter, const DrawItem& item)
{
    if (item.index < 0 || std::size_t(item.index) >= m_reminders.size())
        return;
    const CTavrelDueReminder& reminder = m_reminders[std::size_t(item.index)];
    const gfx::Rect& block = item.rect;
    if (item.selected)
        painter.fillRect({block.left, block.top, block.right, block.bottom - 1}, ui::theme::highlight);

    const int lineHeight = LineHeight();
    const int top = block.top + margin;
    if (const gfx::Surface* picture = Picture(PictureFor(reminder.m_category)))
        painter.transparentBlt(block.left + margin, top, picture->width(), picture->height(), *picture, 0, 0,
            picture->width(), picture->height(), picture->pixel(0, 0));

    painter.selectFont(ui::theme::font());
    painter.setBackgroundMode(gfx::TRANSPARENT);
    painter.setTextColour(item.selected ? ui::theme::highlightText : ui::theme::text);
    const unsigned format = gfx::DT_LEFT | gfx::DT_TOP | gfx::DT_SINGLELINE | gfx::DT_NOPREFIX | gfx::DT_END_ELLIPSIS;
    const int left = block.left + margin + PictureSize + textGap;
    painter.drawText(
        reminder.FirstLine().View(), gfx::Rect {left, top, block.right - margin, top + lineHeight}, format);
    painter.drawText(reminder.SecondLine().View(),
        gfx::Rect {left, top + lineHeight, block.right - margin, top + 2 * lineHeight}, format);

    painter.fillRect({block.left, block.bottom - 1, block.right, block.bottom}, separator);
}
