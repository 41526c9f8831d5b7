// The install folder's file paths: one backslash between the folder and the name, whatever the
// folder ends with.

#include "setup/TavrelInstallFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::u16string PathOf(const char16_t* folder, const char16_t* name)
{
    return CTavrelInstallFolder(folder).PathOf(name).GetString();
}

TEST(TavrelInstallFolderTest, APathGetsOneBackslashBetweenFolderAndName)
{
    EXPECT_EQ(PathOf(u"\\Program Files\\Tavrel", u"TavrelToday2002.DLL"),
              u"\\Program Files\\Tavrel\\TavrelToday2002.DLL");
    EXPECT_EQ(PathOf(u"\\Program Files\\Tavrel\\", u"TavrelToday2002.DLL"),
              u"\\Program Files\\Tavrel\\TavrelToday2002.DLL");
    EXPECT_EQ(PathOf(u"", u"TavrelReminder.Exe"), u"\\TavrelReminder.Exe");
    EXPECT_EQ(PathOf(nullptr, u"TavrelReminder.Exe"), u"\\TavrelReminder.Exe");
    EXPECT_EQ(PathOf(u"\\", u"TavrelReminder.Exe"), u"\\TavrelReminder.Exe");
}

} // namespace
