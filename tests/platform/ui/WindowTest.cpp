#include "UiTestSupport.h"

#include "platform/gfx/Painter.h"
#include "platform/ui/Window.h"

namespace ui {
namespace {

using Windows = testing::DesktopTest;

class Filled : public Window {
public:
    explicit Filled(gfx::Colour colour) : m_colour(colour) {}
    int paints = 0;

protected:
    void onPaint(gfx::Painter& painter) override
    {
        ++paints;
        painter.fillRect(clientRect(), m_colour);
    }

private:
    gfx::Colour m_colour;
};

TEST_F(Windows, ChildrenLiveInTheirParentsCoordinatesAndAreFoundByIdAndText)
{
    Window frame, panel, button;
    frame.createTopLevel({0, 26, 240, 320}, u"Frame");
    panel.create(&frame, {10, 20, 110, 120}, u"Panel", 7);
    button.create(&panel, {5, 5, 50, 25}, u"&Delete", 1003);
    EXPECT_EQ(button.screenRect(), (gfx::Rect{15, 51, 60, 71}));
    EXPECT_EQ(button.toScreen({1, 2}), (gfx::Point{16, 53}));
    EXPECT_EQ(button.fromScreen({16, 53}), (gfx::Point{1, 2}));
    EXPECT_EQ(frame.findDescendant(1003), &button);
    EXPECT_EQ(frame.findDescendantByText(u"delete"), &button);
    EXPECT_EQ(frame.childAt({20, 30}), &button);
    EXPECT_EQ(button.topLevel(), &frame);
    panel.destroy(); // takes its children with it
    EXPECT_FALSE(button.exists());
    EXPECT_TRUE(frame.children().empty());
    EXPECT_FALSE(button.setTimer(1, 10));
    EXPECT_FALSE(button.post(WM_USER));
}

TEST_F(Windows, PaintingIsClippedToWhatWasInvalidAndStacksTopLevelsInTheirBands)
{
    Filled frame(gfx::colours::red), menu(gfx::colours::blue), dialog(gfx::colours::green);
    frame.createTopLevel({0, 26, 240, 320}, u"Frame");
    menu.createTopLevel({0, 100, 100, 200}, u"Menu", Layer::Popup);
    dialog.createTopLevel({0, 26, 240, 294}, u"Dialog"); // created later, yet below the popup
    desktop.runUntilIdle();
    EXPECT_EQ(desktop.screen().pixel(50, 150), gfx::colours::blue);
    EXPECT_EQ(desktop.screen().pixel(150, 150), gfx::colours::green);
    EXPECT_EQ(desktop.screen().pixel(150, 300), gfx::colours::red);
    EXPECT_EQ(desktop.foreground(), &dialog); // popups are never the foreground window

    int before = frame.paints;
    dialog.invalidate({0, 0, 10, 10});
    desktop.runUntilIdle();
    EXPECT_EQ(frame.paints, before + 1); // what lies below the invalid area repaints too
    menu.hide();
    desktop.runUntilIdle();
    EXPECT_EQ(desktop.screen().pixel(50, 150), gfx::colours::green);
    dialog.destroy();
    desktop.runUntilIdle();
    EXPECT_EQ(desktop.screen().pixel(150, 150), gfx::colours::red);
    EXPECT_EQ(desktop.foreground(), &frame);
}

TEST_F(Windows, AWindowThatRepaintsItselfForeverCannotHangRunUntilIdle)
{
    Window restless;
    restless.setMessageHook([&](std::uint32_t message, WParam, LParam) -> std::optional<LResult> {
        if (message == WM_PAINT)
            restless.invalidate();
        return std::nullopt;
    });
    restless.createTopLevel({0, 26, 240, 320}, u"Restless");
    desktop.runUntilIdle(); // returns
    SUCCEED();
}

TEST_F(Windows, MessageHooksSeeMessagesFirstAndCanTakeThem)
{
    Window window;
    int closes = 0;
    window.setMessageHook([&](std::uint32_t message, WParam, LParam) -> std::optional<LResult> {
        if (message != WM_CLOSE)
            return std::nullopt;
        ++closes;
        return 0; // refuses the default close
    });
    window.createTopLevel({0, 26, 240, 320}, u"Stays");
    window.send(WM_CLOSE);
    EXPECT_EQ(closes, 1);
    EXPECT_TRUE(window.exists());
}

} // namespace
} // namespace ui
