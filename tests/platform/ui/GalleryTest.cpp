#include "UiTestSupport.h"

#include "platform/gfx/ImageDecoder.h"
#include "platform/gfx/PngWriter.h"
#include "platform/ui/Automation.h"
#include "platform/ui/CheckBox.h"
#include "platform/ui/ControlGallery.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/PopupMenu.h"
#include "platform/ui/Theme.h"

#include <cstdlib>
#include <filesystem>

namespace ui {
namespace {

using Gallery = testing::DesktopTest;

// Keeps a copy of a snapshot where a person can look at it, when asked to.
void keepForPeople(const gfx::Surface& screen, const char* name)
{
    if (const char* folder = std::getenv("TAVREL_UI_SNAPSHOTS"))
        gfx::PngWriter::write(screen, std::filesystem::path(folder) / name);
}

int countPixels(const gfx::Surface& screen, const gfx::Rect& area, gfx::Colour colour)
{
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            count += screen.pixel(x, y) == colour;
    return count;
}

TEST_F(Gallery, SnapshotShowsTheTitleRowTheNavigationBarAndACheckMark)
{
    ControlGallery gallery;
    Automation automation(desktop);
    gfx::Surface shot;
    automation.onModal([&](Window& window) {
        if (&window != &gallery)
            return;
        shot = desktop.screen();
        // The snapshot goes through the PNG writer and reads back the same.
        auto file = std::filesystem::temp_directory_path() / "tavrel-gallery-test.png";
        ASSERT_TRUE(gfx::PngWriter::write(desktop.screen(), file));
        auto decoded = gfx::ImageDecoder::decodeFile(file);
        std::filesystem::remove(file);
        ASSERT_TRUE(decoded);
        EXPECT_EQ(*decoded, desktop.screen());
        automation.confirm();
    });
    EXPECT_EQ(gallery.RunModal(), IDOK);
    ASSERT_FALSE(shot.isEmpty());
    keepForPeople(shot, "gallery.png");

    // The navigation bar: its blue, the title's white text and "ok" at the right.
    EXPECT_EQ(shot.pixel(120, 1), theme::navigationBar);
    EXPECT_GT(countPixels(shot, {4, 4, 80, 22}, theme::navigationBarText), 20);
    EXPECT_GT(countPixels(shot, {210, 4, 236, 22}, theme::navigationBarText), 40);
    // The dialog's title row: bold title text over white, and the grey line under it.
    EXPECT_GT(countPixels(shot, {4, 26, 100, 26 + Dialog::titleRowHeight - 1}, theme::titleText), 30);
    EXPECT_EQ(shot.pixel(120, 26 + Dialog::titleRowHeight - 1), theme::titleLine);
    // The checked "Remind me" box draws its check mark in black inside a white box.
    auto* remind = gallery.controlAs<CheckBox>(ControlGallery::idRemind);
    ASSERT_TRUE(remind);
    gfx::Rect box = remind->boxRect().translated(remind->screenRect().topLeft());
    EXPECT_GT(countPixels(shot, box.inflated(-2, -2), theme::text), 8);
}

TEST_F(Gallery, OpensItsPopupMenuAndMessageBox)
{
    ControlGallery gallery;
    Automation automation(desktop);
    bool sawMenu = false, sawBox = false;
    automation.onModal([&](Window& window) {
        if (&window == &gallery) {
            automation.tap(gallery.control(ControlGallery::idMenuButton));
            automation.tap(gallery.control(ControlGallery::idMessageButton));
            automation.confirm();
        } else if (PopupMenu::active() && &window == PopupMenu::active()->levels().front().get()) {
            sawMenu = true;
            keepForPeople(desktop.screen(), "gallery-menu.png");
            EXPECT_TRUE(automation.chooseMenuItem(u"Next")); // through the "Go To" submenu
        } else if (auto* box = dynamic_cast<MessageBoxDialog*>(&window)) {
            sawBox = true;
            keepForPeople(desktop.screen(), "gallery-message.png");
            EXPECT_EQ(box->defaultResult(), IDNO);
            automation.tapText(u"Yes");
        }
    });
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(gallery.RunModal(), IDOK);
    std::string written = ::testing::internal::GetCapturedStderr();
    EXPECT_TRUE(sawMenu);
    EXPECT_TRUE(sawBox);
    EXPECT_NE(written.find("message-box: Gallery: Every control"), std::string::npos);
}

} // namespace
} // namespace ui
