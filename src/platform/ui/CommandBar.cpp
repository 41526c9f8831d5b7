#include "platform/ui/CommandBar.h"

#include "platform/gfx/Painter.h"
#include "platform/ui/Desktop.h"
#include "platform/ui/PopupMenu.h"
#include "platform/ui/Theme.h"

namespace ui {

namespace {
constexpr int buttonSize = 22;
constexpr int buttonGap = 2;
} // namespace

CommandBar::CommandBar() { setBackground(theme::commandBar); }

void CommandBar::setMenu(device::WideView title, Menu menu)
{
    m_menuTitle = device::WideString(title);
    m_menu = std::move(menu);
    invalidate();
}

void CommandBar::removeMenu()
{
    m_menuTitle.clear();
    m_menu.clear();
    invalidate();
}

void CommandBar::addButton(int command, gfx::Surface picture, device::WideView toolTip)
{
    m_buttons.push_back({command, std::move(picture), device::WideString(toolTip)});
    invalidate();
}

void CommandBar::clearButtons()
{
    m_buttons.clear();
    invalidate();
}

void CommandBar::setToolTips(const std::vector<device::WideString>& tips)
{
    std::size_t next = 0;
    if (hasMenu() && next < tips.size())
        m_menuToolTip = tips[next++];
    for (Button& button : m_buttons)
        if (next < tips.size())
            button.toolTip = tips[next++];
}

gfx::Rect CommandBar::menuButtonRect() const
{
    if (!hasMenu())
        return {};
    int width = theme::font().textExtent(Menu::displayText(m_menuTitle)).width + 14;
    return {0, 1, width, rect().height()};
}

gfx::Rect CommandBar::buttonRect(std::size_t index) const
{
    int left = (hasMenu() ? menuButtonRect().right : 0) + 4;
    int top = (rect().height() - buttonSize) / 2 + 1;
    int x = left + int(index) * (buttonSize + buttonGap);
    return {x, top, x + buttonSize, top + buttonSize};
}

void CommandBar::updateStates(const std::function<CommandUpdate(int)>& query)
{
    for (std::size_t i = 0; i < m_buttons.size(); ++i) {
        CommandUpdate state = query(m_buttons[i].command);
        if (!state.handled)
            continue;
        bool checked = state.checkHandled ? state.checked : m_buttons[i].checked;
        if (state.enabled != m_buttons[i].enabled || checked != m_buttons[i].checked) {
            m_buttons[i].enabled = state.enabled;
            m_buttons[i].checked = checked;
            invalidate(buttonRect(i));
        }
    }
}

int CommandBar::partAt(gfx::Point point) const
{
    if (menuButtonRect().contains(point))
        return -1;
    for (std::size_t i = 0; i < m_buttons.size(); ++i)
        if (buttonRect(i).contains(point))
            return int(i);
    return -2;
}

void CommandBar::setPressed(int part)
{
    if (part == m_pressed)
        return;
    m_pressed = part;
    invalidate();
}

void CommandBar::onPaint(gfx::Painter& painter)
{
    gfx::Rect bar = clientRect();
    painter.fillRect(bar, theme::commandBar);
    painter.fillRect({0, 0, bar.right, 1}, theme::commandBarLine);
    painter.setBackgroundMode(gfx::TRANSPARENT);
    painter.selectFont(theme::font());
    if (hasMenu()) {
        gfx::Rect area = menuButtonRect();
        bool lit = m_pressed == -1 || m_menuOpen;
        if (lit)
            painter.fillRect(area, theme::highlight);
        painter.setTextColour(lit ? theme::highlightText : theme::text);
        painter.drawText(m_menuTitle, area, gfx::DT_CENTER | gfx::DT_VCENTER | gfx::DT_SINGLELINE | gfx::DT_HIDEPREFIX);
        painter.fillRect({area.right, 4, area.right + 1, bar.bottom - 3}, theme::commandBarLine);
    }
    for (std::size_t i = 0; i < m_buttons.size(); ++i) {
        const Button& button = m_buttons[i];
        gfx::Rect area = buttonRect(i);
        bool sunken = (m_pressed == int(i) && button.enabled) || button.checked;
        if (sunken) {
            painter.fillRect(area, theme::window);
            painter.selectPen(gfx::Pen::solid(theme::shadow));
            painter.selectBrush(gfx::Brush::null());
            painter.rectangle(area);
        }
        if (!button.picture.isEmpty()) {
            int x = area.left + (area.width() - 16) / 2 + (sunken ? 1 : 0);
            int y = area.top + (area.height() - 16) / 2 + (sunken ? 1 : 0);
            const gfx::Surface& picture = button.picture;
            painter.transparentBlt(x, y, 16, 16, picture, 0, 0, std::min(16, picture.width()),
                                   std::min(16, picture.height()), picture.pixel(0, 0));
            if (!button.enabled) {
                // Greyed: every other pixel washed out with the bar's colour.
                for (int row = 0; row < 16; ++row)
                    for (int column = (row & 1); column < 16; column += 2)
                        painter.setPixel(x + column, y + row, theme::commandBar);
            }
        }
    }
}

void CommandBar::onPenDown(gfx::Point point)
{
    m_tracking = partAt(point);
    if (m_tracking >= 0 && !m_buttons[std::size_t(m_tracking)].enabled)
        m_tracking = -2;
    setPressed(m_tracking);
}

void CommandBar::onPenMove(gfx::Point point)
{
    if (m_tracking != -2)
        setPressed(partAt(point) == m_tracking ? m_tracking : -2);
}

void CommandBar::onPenUp(gfx::Point point)
{
    int part = m_tracking;
    m_tracking = -2;
    setPressed(-2);
    if (part == -2 || partAt(point) != part)
        return;
    if (part == -1) {
        openMenu();
        return;
    }
    if (Window* frame = parent())
        frame->send(WM_COMMAND, MAKEWPARAM(unsigned(m_buttons[std::size_t(part)].command), BN_CLICKED), 0);
}

void CommandBar::onCancelMode()
{
    m_tracking = -2;
    setPressed(-2);
}

bool CommandBar::onContextMenu(gfx::Point screenPoint)
{
    gfx::Point point = fromScreen(screenPoint);
    int part = partAt(point);
    device::WideString tip;
    gfx::Rect anchor;
    if (part == -1) {
        tip = m_menuToolTip;
        anchor = menuButtonRect();
    } else if (part >= 0) {
        tip = m_buttons[std::size_t(part)].toolTip;
        anchor = buttonRect(std::size_t(part));
    }
    if (tip.empty())
        return part != -2;
    m_toolTip.showAbove(tip, anchor.translated(screenRect().topLeft()));
    desktop()->input().whenPenLifted([this] { m_toolTip.dismiss(); });
    return true;
}

void CommandBar::openMenu()
{
    if (m_menu.empty())
        return;
    m_menuOpen = true;
    invalidate();
    gfx::Rect bar = screenRect();
    PopupMenu::track(m_menu, TPM_LEFTALIGN | TPM_BOTTOMALIGN, {bar.left, bar.top}, parent());
    m_menuOpen = false;
    invalidate();
}

} // namespace ui
