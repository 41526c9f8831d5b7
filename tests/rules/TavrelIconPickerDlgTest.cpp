// The icon picker: which files it lists and with which pictures, the folder list and moving
// through folders, what it returns, and folders it must fill without hanging.

#include "RulesDialogHarness.h"

#include "platform/device/FileSystem.h"
#include "platform/gfx/GifCodec.h"
#include "platform/gfx/PngWriter.h"
#include "rules/TavrelIconFolder.h"
#include "rules/TavrelIconPickerDlg.h"
#include "rules/TavrelIconThumbnail.h"
#include "rules/TavrelRuleDetailsDlg.h"

#include <fstream>

namespace {

using namespace rules_test;
using Picker = CTavrelIconPickerDlg;
using Details = CTavrelRuleDetailsDlg;

constexpr gfx::Colour white = gfx::RGB(255, 255, 255);
constexpr gfx::Colour red = gfx::RGB(200, 0, 0);
constexpr gfx::Colour blue = gfx::RGB(0, 0, 200);

// A square of `background` with a block of `ink` in its middle.
gfx::Surface Picture(int width, int height, gfx::Colour background = white, gfx::Colour ink = red)
{
    gfx::Surface picture(width, height, background);
    picture.fillRect({width / 4, height / 4, width - width / 4, height - height / 4}, ink);
    return picture;
}

class TavrelIconPickerDlgTest : public RulesDialogHarness {
protected:
    void Write(const std::string& relative, const std::vector<std::uint8_t>& bytes)
    {
        std::filesystem::create_directories(device.host(relative).parent_path());
        std::ofstream(device.host(relative), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    void Folder(const std::string& relative) { std::filesystem::create_directories(device.host(relative)); }

    int RunPicker(Picker& picker, std::function<void(Picker&)> act)
    {
        When<Picker>(Picker::IDD, std::move(act));
        return picker.RunModal();
    }

    static std::vector<std::string> Items(ui::ListView& view)
    {
        std::vector<std::string> items;
        for (int i = 0; i < view.count(); ++i)
            items.push_back(Utf8(view.itemText(i)) + "@" + std::to_string(view.itemImage(i)));
        return items;
    }
    std::vector<std::string> FolderEntries(Picker& picker)
    {
        ui::ComboBox* list = Find<ui::ComboBox>(picker, Picker::IDC_FOLDER);
        std::vector<std::string> entries;
        for (int i = 0; i < list->count(); ++i)
            entries.push_back(Utf8(list->itemText(i)) + "|" + std::to_string(list->itemData(i))
                              + (i == list->curSel() ? "|selected" : ""));
        return entries;
    }
    ui::ListView& Icons(Picker& picker) { return *Find<ui::ListView>(picker, Picker::IDC_ICONS); }
    // Taps the item of this text; false when there is none. (A folder's tap fills the list anew.)
    bool TapItem(Picker& picker, std::u16string_view text)
    {
        ui::ListView& view = Icons(picker);
        const int index = view.findItem(text);
        if (index < 0)
            return false;
        automation.selectItem(&view, index);
        return true;
    }
};

TEST_F(TavrelIconPickerDlgTest, OnlyPictureFilesAreListedWithTheirPicturesThenTheSubfoldersBehindABlank)
{
    Write("Pictures/a.gif", gfx::GifCodec::encode(Picture(16, 16)));
    Write("Pictures/B.PNG", gfx::PngWriter::encode(Picture(32, 32, white, blue)));
    Write("Pictures/notes.txt", {'h', 'i'});
    Write("Pictures/.hidden.gif", gfx::GifCodec::encode(Picture(16, 16)));
    Folder("Pictures/zeta");
    Folder("Pictures/Alpha");
    settings.iconPath = u"\\Pictures";
    Picker picker(settings);
    std::vector<std::string> items;
    const int result = RunPicker(picker, [&](Picker& dialog) {
        items = Items(Icons(dialog));
        automation.cancel();
    });
    EXPECT_EQ(result, ui::IDCANCEL);
    EXPECT_EQ(items, (std::vector<std::string>{"a.gif@1", "B.PNG@2", " Alpha@0", " zeta@0"}));
    // Picture 0 is the program's folder picture; both icons decoded, the PNG scaled to 16 × 16.
    const ui::ImageList& images = picker.GetImages();
    ASSERT_EQ(images.count(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(images.picture(i).size(), gfx::Size(16, 16)) << i;
    EXPECT_EQ(images.picture(2).pixel(8, 8), blue);
    EXPECT_TRUE(picker.GetFileName().IsEmpty());
}

TEST_F(TavrelIconPickerDlgTest, PicturesShowAtSixteenPixelsWithTheirBackgroundLeftOut)
{
    // Smaller pictures keep their size at the top-left; larger ones are scaled down.
    const gfx::Surface small = CTavrelIconThumbnail::FromPicture(Picture(8, 8));
    ASSERT_EQ(small.size(), gfx::Size(16, 16));
    EXPECT_EQ(small.pixel(4, 4), red);
    EXPECT_EQ(small.pixel(0, 0), CTavrelIconThumbnail::TransparentColour);
    EXPECT_EQ(small.pixel(12, 12), CTavrelIconThumbnail::TransparentColour) << "beyond the picture: background";
    const gfx::Surface large = CTavrelIconThumbnail::FromPicture(Picture(64, 48, white, blue));
    ASSERT_EQ(large.size(), gfx::Size(16, 16));
    EXPECT_EQ(large.pixel(8, 8), blue);
    EXPECT_EQ(large.pixel(1, 1), CTavrelIconThumbnail::TransparentColour);
    // A picture pixel of the key's own colour is still shown.
    const gfx::Surface keyed
        = CTavrelIconThumbnail::FromPicture(Picture(16, 16, white, CTavrelIconThumbnail::TransparentColour));
    EXPECT_NE(keyed.pixel(8, 8), CTavrelIconThumbnail::TransparentColour);
    EXPECT_TRUE(CTavrelIconThumbnail::FromPicture(gfx::Surface()).isEmpty());

    // The picker draws them so: its image list leaves the key out, over the list's white.
    Write("Icons/Stop.gif", gfx::GifCodec::encode(Picture(12, 12, gfx::RGB(0, 128, 0), red)));
    settings.iconPath = u"\\Icons";
    Picker picker(settings);
    int redPixels = 0;
    gfx::Colour corner = 0;
    int count = 0;
    RunPicker(picker, [&](Picker& dialog) {
        ui::ListView& view = Icons(dialog);
        const gfx::Rect row = view.itemRect(0).translated(view.screenRect().left, view.screenRect().top);
        desktop.runUntilIdle();
        // The picture sits at the row's left, 2 pixels in: its red block, and its corner.
        const gfx::Surface& screen = desktop.screen();
        for (int x = row.left; x < row.left + 24; ++x)
            for (int y = row.top; y < row.bottom; ++y)
                redPixels += screen.pixel(x, y) == red;
        corner = screen.pixel(row.left + 3, row.top + 1);
        count = view.count();
        automation.cancel();
    });
    EXPECT_EQ(redPixels, 36) << "the 6 × 6 block, at its own size";
    EXPECT_EQ(corner, white) << "the icon's green background is left out";
    EXPECT_EQ(count, 1);
}

TEST_F(TavrelIconPickerDlgTest, TheFolderListLeadsFromTheRootAndChoosingAnEntryClimbsTappingAFolderDescends)
{
    Write("Program Files/Tavrel/Icons/Cake.gif", gfx::GifCodec::encode(Picture(16, 16)));
    Write("Program Files/Tavrel/Tavrel.gif", gfx::GifCodec::encode(Picture(16, 16)));
    settings.iconPath = u"\\Program Files\\Tavrel\\Icons";
    Picker picker(settings);
    std::vector<std::vector<std::string>> folderLists;
    std::vector<std::string> remembered;
    std::vector<std::string> afterClimb;
    const int result = RunPicker(picker, [&](Picker& dialog) {
        folderLists.push_back(FolderEntries(dialog));
        // Choosing the folder shown changes nothing; "Program Files" lies two levels up.
        Select(dialog, Picker::IDC_FOLDER, u"   *Icons");
        Select(dialog, Picker::IDC_FOLDER, u" Program Files");
        folderLists.push_back(FolderEntries(dialog));
        remembered.push_back(Utf8(settings.iconPath.View()));
        EXPECT_TRUE(TapItem(dialog, u" Tavrel"));
        afterClimb = Items(Icons(dialog));
        remembered.push_back(Utf8(settings.iconPath.View()));
        EXPECT_TRUE(TapItem(dialog, u" Icons"));
        EXPECT_TRUE(TapItem(dialog, u"Cake.gif")); // a file: the picker ends with it
    });
    EXPECT_EQ(folderLists[0],
              (std::vector<std::string>{"\\My Device|3", " Program Files|2", "  Tavrel|1", "   *Icons|0|selected"}));
    EXPECT_EQ(folderLists[1], (std::vector<std::string>{"\\My Device|1", " *Program Files|0|selected"}));
    EXPECT_EQ(afterClimb, (std::vector<std::string>{"Tavrel.gif@1", " Icons@0"}));
    EXPECT_EQ(remembered, (std::vector<std::string>{"\\Program Files", "\\Program Files\\Tavrel"}));
    EXPECT_EQ(result, ui::IDOK);
    EXPECT_EQ(Utf8(picker.GetFolder().View()), "\\Program Files\\Tavrel\\Icons");
    EXPECT_EQ(Utf8(picker.GetFileName().View()), "Cake.gif");
    EXPECT_EQ(Utf8(settings.iconPath.View()), "\\Program Files\\Tavrel\\Icons") << "the picker opens here next";
}

TEST_F(TavrelIconPickerDlgTest, AFolderOfThousandsOfFilesThatDoNotDecodeStillFillsWithEmptySlots)
{
    // Junk with picture names, a picture whose header claims 5000 × 5000 pixels, one that is too
    // large a file to read, and one good picture.
    for (int i = 0; i < 2000; ++i)
        Write("Many/junk" + std::to_string(i) + (i % 2 ? ".gif" : ".JPG"), {'G', 'I', 'F', '8', '9', 'a', 0x88, 0x13});
    std::vector<std::uint8_t> claims = gfx::GifCodec::encode(Picture(8, 8));
    claims[6] = 0x88; // logical screen 5000 × 5000
    claims[7] = 0x13;
    claims[8] = 0x88;
    claims[9] = 0x13;
    Write("Many/claims.gif", claims);
    std::vector<std::uint8_t> huge = gfx::PngWriter::encode(Picture(16, 16));
    huge.resize(CTavrelIconThumbnail::MaxFileSize + 1, 0);
    Write("Many/huge.png", huge);
    Write("Many/zz-good.bmp", {}); // empty files decode to nothing either
    Write("Many/zz-real.gif", gfx::GifCodec::encode(Picture(16, 16)));
    settings.iconPath = u"\\Many";
    Picker picker(settings);
    int count = 0;
    int emptySlots = 0;
    int pictures = 0;
    RunPicker(picker, [&](Picker& dialog) {
        ui::ListView& view = Icons(dialog);
        count = view.count();
        emptySlots = pictures = 0;
        for (int i = 0; i < view.count(); ++i)
            (dialog.GetImages().picture(view.itemImage(i)).isEmpty() ? emptySlots : pictures)++;
        EXPECT_TRUE(TapItem(dialog, u"zz-real.gif"));
    });
    EXPECT_EQ(count, 2004);
    EXPECT_EQ(emptySlots, 2003);
    EXPECT_EQ(pictures, 1);
    EXPECT_EQ(picker.GetImages().count(), 2005) << "one slot per file and the folder picture";
    EXPECT_EQ(Utf8(picker.GetFileName().View()), "zz-real.gif");
}

TEST_F(TavrelIconPickerDlgTest, TheBrowseButtonStartsInTheInstallFoldersIconsAndPutsTheChosenFileIntoTheRule)
{
    settings.installFolder = u"\\Program Files\\Tavrel";
    Write("Program Files/Tavrel/Icons/Cake.gif", gfx::GifCodec::encode(Picture(16, 16)));
    Details details(CTavrelRuleTerms(u"Subject", u"Contains", u"Birthday"), CQoString(u"\\old.gif"), settings);
    std::string openedAt;
    When<Picker>(Picker::IDD, [&](Picker& picker) {
        openedAt = Utf8(picker.GetShownFolder().View());
        EXPECT_TRUE(TapItem(picker, u"Cake.gif"));
    });
    // Cancel leaves the icon as it was.
    When<Picker>(Picker::IDD, [&](Picker& picker) { Press(picker, Picker::IDC_CANCEL); });
    std::vector<std::string> icons;
    When<Details>(Details::IDD, [&](Details& dialog) {
        Press(dialog, Details::IDC_BROWSE);
        icons.push_back(Utf8(Find<ui::EditBox>(dialog, Details::IDC_ICON)->text()));
        SetText(dialog, Details::IDC_ICON, u"\\other.gif");
        Press(dialog, Details::IDC_BROWSE);
        icons.push_back(Utf8(Find<ui::EditBox>(dialog, Details::IDC_ICON)->text()));
        automation.confirm();
    });
    EXPECT_EQ(details.RunModal(), ui::IDOK);
    EXPECT_EQ(openedAt, "\\Program Files\\Tavrel\\Icons");
    EXPECT_EQ(icons, (std::vector<std::string>{"\\Program Files\\Tavrel\\Icons\\Cake.gif", "\\other.gif"}));
    CTavrelRule rule;
    ASSERT_TRUE(details.GetRule(rule));
    EXPECT_EQ(rule.GetPattern().View(), u"*Birthday*");
    EXPECT_EQ(rule.GetIcon().View(), u"\\other.gif");
}

TEST_F(TavrelIconPickerDlgTest, ARememberedFolderThatIsGoneOpensItsNearestParentAndTheRootHasNoParent)
{
    Folder("My Documents/Art");
    EXPECT_EQ(Utf8(CTavrelIconFolder::NearestExisting(u"\\My Documents\\Art\\Gone\\Deeper").View()),
              "\\My Documents\\Art");
    EXPECT_EQ(Utf8(CTavrelIconFolder::NearestExisting(u"").View()), "\\");
    EXPECT_EQ(Utf8(CTavrelIconFolder::NearestExisting(u"\\..\\..\\etc").View()), "\\") << "nothing outside the device";
    EXPECT_EQ(Utf8(CTavrelIconFolder::Up(u"\\A\\B", 5).View()), "\\");
    EXPECT_EQ(Utf8(CTavrelIconFolder::Down(u"\\", u"  Art ").View()), "\\Art");

    settings.iconPath = u"\\My Documents\\Art\\Gone";
    Picker picker(settings);
    std::vector<std::string> entries;
    RunPicker(picker, [&](Picker& dialog) {
        entries = FolderEntries(dialog);
        Select(dialog, Picker::IDC_FOLDER, u"\\My Device");
        entries.push_back(Utf8(dialog.GetShownFolder().View()));
        automation.cancel();
    });
    EXPECT_EQ(entries, (std::vector<std::string>{"\\My Device|2", " My Documents|1", "  *Art|0|selected", "\\"}));
    EXPECT_EQ(Utf8(settings.iconPath.View()), "\\");
}

} // namespace
