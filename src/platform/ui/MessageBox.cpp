#include "platform/ui/MessageBox.h"

#include "platform/device/TerminalText.h"
#include "platform/gfx/Painter.h"
#include "platform/ui/Desktop.h"
#include "platform/ui/PushButton.h"
#include "platform/ui/Theme.h"

#include <algorithm>
#include <cstdio>

namespace ui {

namespace {
constexpr int boxWidth = 216;
constexpr int captionHeight = 20;
constexpr int margin = 8;
constexpr int buttonWidth = 52;
constexpr int buttonHeight = 22;
constexpr int buttonGap = 8;

const char16_t* buttonText(int result)
{
    switch (result) {
    case IDOK:
        return u"OK";
    case IDCANCEL:
        return u"Cancel";
    case IDYES:
        return u"Yes";
    case IDNO:
        return u"No";
    default:
        return u"";
    }
}
} // namespace

int messageBox(Window* owner, device::WideView text, device::WideView caption, unsigned type)
{
    device::WideString shownCaption = caption.empty() ? device::WideString(u"Error") : device::WideString(caption);
    Desktop* desktop = Desktop::instance();
    if (desktop && desktop->isHeadless()) {
        std::string line = MessageBoxDialog::headlessLine(shownCaption, text);
        std::fprintf(stderr, "%s\n", line.c_str());
        std::fflush(stderr);
    }
    if (!desktop)
        return IDCANCEL;
    MessageBoxDialog box(text, shownCaption, type);
    return box.RunModal();
}

std::string MessageBoxDialog::headlessLine(device::WideView caption, device::WideView text)
{
    // The text may come from another program (a control datagram): no control character of it
    // reaches the terminal as such.
    return "message-box: " + device::terminalText(caption) + ": " + device::terminalText(text);
}

MessageBoxDialog::MessageBoxDialog(device::WideView text, device::WideView caption, unsigned type)
    : Dialog(caption), m_message(text), m_type(type)
{
    setTitleRow(false);
    setTopMost((type & MB_TOPMOST) != 0);
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
        m_buttons = {IDOK, IDCANCEL};
        break;
    case MB_YESNOCANCEL:
        m_buttons = {IDYES, IDNO, IDCANCEL};
        break;
    case MB_YESNO:
        m_buttons = {IDYES, IDNO};
        break;
    default:
        m_buttons = {IDOK};
        break;
    }
    // A box with only OK takes "ok" in the navigation bar, as the handheld's does.
    setTakesNavigationOk(m_buttons.size() == 1);
}

int MessageBoxDialog::defaultResult() const
{
    std::size_t index = (m_type & MB_DEFMASK) >> 8;
    return m_buttons[std::min(index, m_buttons.size() - 1)];
}

int MessageBoxDialog::escapeResult() const
{
    if (std::find(m_buttons.begin(), m_buttons.end(), IDCANCEL) != m_buttons.end())
        return IDCANCEL;
    if (std::find(m_buttons.begin(), m_buttons.end(), IDNO) != m_buttons.end())
        return IDNO;
    return IDOK;
}

int MessageBoxDialog::textHeight() const
{
    gfx::Surface scratch(1, 1);
    gfx::Painter measure(scratch);
    measure.selectFont(theme::font());
    gfx::Rect area{0, 0, boxWidth - 2 * margin, 0};
    measure.drawText(m_message, area, gfx::DT_WORDBREAK | gfx::DT_CALCRECT | gfx::DT_NOPREFIX);
    return std::clamp(area.height(), theme::font().height(), 200);
}

gfx::Rect MessageBoxDialog::placement() const
{
    int height = captionHeight + margin + textHeight() + margin + buttonHeight + margin;
    int top = theme::navigationBarHeight + (theme::workArea.height() - height) / 2;
    return gfx::Rect::fromPositionAndSize((theme::screenWidth - boxWidth) / 2, std::max(0, top), boxWidth, height);
}

gfx::Rect MessageBoxDialog::textRect() const
{
    return {margin, captionHeight + margin, boxWidth - margin, captionHeight + margin + textHeight()};
}

bool MessageBoxDialog::onInitDialog()
{
    int count = int(m_buttons.size());
    int total = count * buttonWidth + (count - 1) * buttonGap;
    int left = (boxWidth - total) / 2;
    int top = rect().height() - margin - buttonHeight;
    for (int i = 0; i < count; ++i) {
        int result = m_buttons[std::size_t(i)];
        auto& button = addAt<PushButton>(result, gfx::Rect::fromPositionAndSize(left + i * (buttonWidth + buttonGap), top,
                                                                             buttonWidth, buttonHeight),
                                         buttonText(result));
        button.setDefault(result == defaultResult());
    }
    return false;
}

bool MessageBoxDialog::onCommand(int id, int code, WindowHandle source)
{
    if (code == BN_CLICKED && (id == IDOK || id == IDCANCEL || id == IDYES || id == IDNO)) {
        endDialog(id);
        return true;
    }
    return false;
}

bool MessageBoxDialog::onKeyDown(int virtualKey)
{
    if (virtualKey == VK_RETURN) {
        endDialog(defaultResult());
        return true;
    }
    if (virtualKey == VK_ESCAPE) {
        endDialog(escapeResult());
        return true;
    }
    return Dialog::onKeyDown(virtualKey);
}

void MessageBoxDialog::onPaint(gfx::Painter& painter)
{
    gfx::Rect box = clientRect();
    painter.selectPen(gfx::Pen::solid(theme::frameLine));
    painter.selectBrush(gfx::Brush::solid(theme::window));
    painter.rectangle(box);
    gfx::Rect caption{1, 1, box.right - 1, captionHeight};
    painter.fillRect(caption, theme::caption);
    painter.selectFont(theme::boldFont());
    painter.setBackgroundMode(gfx::TRANSPARENT);
    painter.setTextColour(theme::highlightText);
    caption.left += margin;
    painter.drawText(text(), caption, gfx::DT_LEFT | gfx::DT_VCENTER | gfx::DT_SINGLELINE | gfx::DT_NOPREFIX | gfx::DT_END_ELLIPSIS);
    painter.selectFont(theme::font());
    painter.setTextColour(theme::text);
    painter.drawText(m_message, textRect(), gfx::DT_WORDBREAK | gfx::DT_NOPREFIX);
}

} // namespace ui
