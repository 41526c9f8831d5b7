#include "UiTestSupport.h"

#include "TempDevice.h"
#include "platform/device/FileSystem.h"
#include "platform/ui/Automation.h"
#include "platform/ui/FileFilter.h"
#include "platform/ui/FileOpenDialog.h"
#include "platform/ui/MessageBox.h"

namespace ui {
namespace {

constexpr const char16_t* pictureFilter = u"Image Files|*.BMP;*.GIF;*.JPG;*.PNG;*.TIF|All Files (*.*)|*.*||";

TEST(FileFilter, ReadsTheFilterStringForm)
{
    auto filters = FileFilter::parse(pictureFilter);
    ASSERT_EQ(filters.size(), 2u);
    EXPECT_EQ(filters[0].name, u"Image Files");
    EXPECT_EQ(filters[0].patterns.size(), 5u);
    EXPECT_TRUE(filters[0].matches(u"sunset.jpg"));
    EXPECT_FALSE(filters[0].matches(u"notes.txt"));
    EXPECT_TRUE(filters[1].matches(u"notes.txt"));
    EXPECT_EQ(FileFilter::parse(u"").front().patterns.front(), u"*.*"); // nothing given: every file
    EXPECT_EQ(FileFilter::parse(u"Broken|").size(), 1u);               // a name without patterns is dropped
}

class FileOpen : public testing::DesktopTest {
protected:
    FileOpen()
    {
        device::FileSystem::createDirectories(u"\\My Documents\\Skins\\Winter");
        for (const char16_t* file : {u"\\My Documents\\Sunset.JPG", u"\\My Documents\\notes.txt",
                                     u"\\My Documents\\Skins\\Winter\\Snow.png"})
            device::FileSystem::writeAll(file, "x", 1);
    }

    std::vector<device::WideString> listed(FileOpenDialog& dialog)
    {
        auto* list = dialog.controlAs<ListView>(FileOpenDialog::fileListId);
        std::vector<device::WideString> names;
        for (int i = 0; i < list->count(); ++i)
            names.push_back(list->itemText(i));
        return names;
    }

    testing_support::TempDevice device;
    Automation automation{desktop};
};

TEST_F(FileOpen, ListsFoldersAndMatchingFilesAndNavigatesDownAndUp)
{
    FileOpenDialog dialog(pictureFilter);
    automation.onModal([&](Window& window) {
        if (&window != &dialog)
            return;
        EXPECT_EQ(listed(dialog), (std::vector<device::WideString>{u"Skins", u"Sunset.JPG"}));
        auto* list = dialog.controlAs<ListView>(FileOpenDialog::fileListId);
        automation.selectItem(list, 0); // into "Skins"
        EXPECT_EQ(dialog.folder(), u"\\My Documents\\Skins");
        automation.selectItem(list, 0); // into "Winter"
        EXPECT_EQ(listed(dialog), (std::vector<device::WideString>{u"Snow.png"}));
        auto* folders = dialog.controlAs<ComboBox>(FileOpenDialog::folderListId);
        EXPECT_EQ(folders->itemText(0), u"My Device");
        EXPECT_EQ(folders->curSel(), 3);
        automation.selectItem(folders, 1); // back up to "My Documents"
        EXPECT_EQ(dialog.folder(), u"\\My Documents");
        automation.selectItem(dialog.controlAs<ComboBox>(FileOpenDialog::typeListId), 1); // All Files
        EXPECT_EQ(listed(dialog), (std::vector<device::WideString>{u"Skins", u"notes.txt", u"Sunset.JPG"}));
        automation.selectItem(list, 1);
        automation.confirm();
    });
    EXPECT_EQ(dialog.RunModal(), IDOK);
    EXPECT_EQ(dialog.path(), u"\\My Documents\\notes.txt");
}

TEST_F(FileOpen, ANameThatNamesNoFileIsRefusedWithAMessage)
{
    FileOpenDialog dialog(pictureFilter);
    std::string told;
    automation.onModal([&](Window& window) {
        if (auto* box = dynamic_cast<MessageBoxDialog*>(&window)) {
            told = device::toUtf8(box->message());
            automation.confirm();
            return;
        }
        automation.tap(dialog.control(FileOpenDialog::nameFieldId));
        automation.typeText(u"Missing.jpg");
        automation.confirm();
        EXPECT_TRUE(dialog.isRunning());
        automation.tapText(u"Cancel");
    });
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(dialog.RunModal(), IDCANCEL);
    ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(told.rfind("Missing.jpg\nFile not found.", 0), 0u);
    EXPECT_TRUE(dialog.path().empty());
}

TEST_F(FileOpen, TypedNamesIgnoreCaseAndAMissingStartFolderFallsBackToTheRoot)
{
    FileOpenDialog dialog(pictureFilter, u"\\No Such Folder");
    automation.onModal([&](Window&) {
        EXPECT_EQ(dialog.folder(), u"\\");
        automation.tap(dialog.control(FileOpenDialog::nameFieldId));
        automation.typeText(u"\\my documents\\SUNSET.jpg");
        automation.confirm();
    });
    EXPECT_EQ(dialog.RunModal(), IDOK);
    EXPECT_TRUE(device::FileSystem::isFile(dialog.path()));
}

} // namespace
} // namespace ui
