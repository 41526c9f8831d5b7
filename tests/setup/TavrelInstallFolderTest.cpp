// The install folder's file paths: one backslash between the folder and the name, whatever the
// folder ends with.

#include "setup/TavrelInstallFolder.h"

#include <gtest/gtest.h>

namespace {

TEST(TavrelInstallFolderTest, APathGetsOneBackslashBetweenFolderAndName)
{
    EXPECT_STREQ(CTavrelInstallFolder(u"\\Program Files\\Tavrel").PathOf(u"TavrelToday2002.DLL").GetString(),
                 u"\\Program Files\\Tavrel\\TavrelToday2002.DLL");
    EXPECT_STREQ(CTavrelInstallFolder(u"\\Program Files\\Tavrel\\").PathOf(u"TavrelToday2002.DLL").GetString(),
                 u"\\Program Files\\Tavrel\\TavrelToday2002.DLL");
    EXPECT_STREQ(CTavrelInstallFolder(u"").PathOf(u"TavrelReminder.Exe").GetString(), u"\\TavrelReminder.Exe");
    EXPECT_STREQ(CTavrelInstallFolder(nullptr).PathOf(u"TavrelReminder.Exe").GetString(), u"\\TavrelReminder.Exe");
    EXPECT_STREQ(CTavrelInstallFolder(u"\\").PathOf(u"TavrelReminder.Exe").GetString(), u"\\TavrelReminder.Exe");
}

} // namespace
