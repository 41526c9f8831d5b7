#include "common/QoRegistry.h"

#include "TempDevice.h"
#include "platform/device/DebugOutput.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using testing_support::TempDevice;

namespace {

constexpr const char16_t* tavrelKey = u"Software\\Orvix\\Tavrel";

// The stored type of a value, or REG_NONE with size 0 when it is missing.
struct Stored {
    std::uint32_t type = registry::REG_NONE;
    std::uint32_t size = 0;
    bool exists = false;
};

Stored stored(const CQoRegistry& key, const char16_t* name)
{
    Stored result;
    result.exists = registry::queryValue(key.GetKey(), name, &result.type, nullptr, &result.size) == registry::ERROR_SUCCESS;
    return result;
}

// Collects the debugger output written while it lives.
class DebugCapture {
public:
    DebugCapture()
    {
        device::setDebugOutputObserver([this](device::WideView text) { m_lines.emplace_back(text); });
    }
    ~DebugCapture() { device::setDebugOutputObserver(nullptr); }
    const std::vector<std::u16string>& lines() const { return m_lines; }

private:
    std::vector<std::u16string> m_lines;
};

} // namespace

TEST(QoRegistry, ConstructionOpensOrCreatesAndTellsWhich)
{
    TempDevice device;
    {
        CQoRegistry missing(HKEY_CURRENT_USER, tavrelKey, false);
        EXPECT_FALSE(missing.IsOpen());
        EXPECT_EQ(missing.GetDisposition(), 0u);
    }
    CQoRegistry created(HKEY_CURRENT_USER, tavrelKey, true);
    ASSERT_TRUE(created.IsOpen());
    EXPECT_EQ(created.GetDisposition(), registry::REG_CREATED_NEW_KEY);
    CQoRegistry opened(HKEY_CURRENT_USER, u"software\\orvix\\tavrel", true);
    EXPECT_EQ(opened.GetDisposition(), registry::REG_OPENED_EXISTING_KEY);
    CQoRegistry plain(HKEY_CURRENT_USER, tavrelKey, false);
    EXPECT_TRUE(plain.IsOpen());
    EXPECT_EQ(plain.GetDisposition(), 0u);

    EXPECT_TRUE(plain.Close());
    EXPECT_FALSE(plain.IsOpen());
    EXPECT_FALSE(plain.Close());
}

TEST(QoRegistry, NumberReadsWriteTheirDefaultBackUnlessItIsDEF0)
{
    TempDevice device;
    CQoRegistry key(HKEY_CURRENT_USER, tavrelKey, true);
    EXPECT_EQ(key.GetDWORD(u"LastView", 5), 5u);
    Stored lastView = stored(key, u"LastView");
    EXPECT_TRUE(lastView.exists);
    EXPECT_EQ(lastView.type, registry::REG_DWORD);
    EXPECT_EQ(key.GetDWORD(u"LastView", 7), 5u); // now read, not defaulted

    EXPECT_EQ(key.GetDWORD(u"Probe", CQoRegistry::NoWriteBack), 0xDEF0u);
    EXPECT_FALSE(stored(key, u"Probe").exists);

    ASSERT_TRUE(key.SetDWORD(u"\\Colors\\Busy", 0xCC88FF));
    EXPECT_EQ(key.GetDWORD(u"\\COLORS\\busy", 0), 0xCC88FFu);

    // A value longer than four bytes cannot be read as a number: the default replaces it.
    ASSERT_TRUE(key.SetString(u"Wide", u"not a number"));
    EXPECT_EQ(key.GetDWORD(u"Wide", 9), 9u);
    EXPECT_EQ(stored(key, u"Wide").type, registry::REG_DWORD);

    // The calendar's copy reads a null name as the key's default value.
    EXPECT_EQ(key.GetDWORD(nullptr, 3), 3u);
    EXPECT_EQ(key.GetDWORD(u"", 0), 3u);
}

TEST(QoRegistry, TextReadsWriteOnlyANonNullDefaultAndLeaveOtherTypesAlone)
{
    TempDevice device;
    CQoRegistry key(HKEY_CURRENT_USER, tavrelKey, true);
    EXPECT_EQ(key.GetString(u"Background", nullptr), u"");
    EXPECT_FALSE(stored(key, u"Background").exists);

    EXPECT_EQ(key.GetString(u"Initialized", u"1"), u"1");
    Stored initialized = stored(key, u"Initialized");
    EXPECT_EQ(initialized.type, registry::REG_SZ);
    EXPECT_EQ(initialized.size, 4u); // "1" and its terminator
    EXPECT_EQ(key.GetString(u"initialized", u"other"), u"1");

    ASSERT_TRUE(key.SetDWORD(u"FontSizeDays", 8));
    EXPECT_EQ(key.GetString(u"FontSizeDays", u"Tahoma"), u"Tahoma");
    EXPECT_EQ(key.GetString(u"FontSizeDays", nullptr), u"");
    EXPECT_EQ(stored(key, u"FontSizeDays").type, registry::REG_DWORD);
    EXPECT_EQ(key.GetDWORD(u"FontSizeDays", 0), 8u);

    // Long text, empty text, and text stored without its terminator all read back whole.
    std::u16string longText(1000, u'a');
    longText += u"\u00E9nd";
    ASSERT_TRUE(key.SetString(u"Long", longText.c_str()));
    EXPECT_EQ(key.GetString(u"Long", nullptr).View(), longText);
    ASSERT_TRUE(key.SetString(u"Empty", u""));
    EXPECT_EQ(key.GetString(u"Empty", u"default"), u"");
    ASSERT_EQ(registry::setValue(key.GetKey(), u"Bare", registry::REG_SZ, u"abc", 6), registry::ERROR_SUCCESS);
    EXPECT_EQ(key.GetString(u"Bare", nullptr), u"abc");

    EXPECT_FALSE(key.SetString(u"Null", nullptr));
    EXPECT_FALSE(stored(key, u"Null").exists);
}

TEST(QoRegistry, BinaryValuesAndValueQueries)
{
    TempDevice device;
    CQoRegistry key(HKEY_CURRENT_USER, u"Software\\Orvix\\Tavrel\\Reminder", true);
    const unsigned char bytes[6] = {1, 0, 2, 0, 0xFF, 3};
    ASSERT_TRUE(key.SetBinary(u"Due", bytes, sizeof bytes));
    EXPECT_EQ(stored(key, u"Due").type, registry::REG_BINARY);

    unsigned char read[16] = {};
    std::uint32_t size = sizeof read;
    ASSERT_TRUE(key.GetBinary(u"Due", read, &size));
    EXPECT_EQ(size, sizeof bytes);
    EXPECT_EQ(std::vector<unsigned char>(read, read + size), std::vector<unsigned char>(bytes, bytes + 6));

    size = 0;
    EXPECT_TRUE(key.GetBinary(u"Due", nullptr, &size)); // the size alone
    EXPECT_EQ(size, sizeof bytes);
    size = 2;
    EXPECT_FALSE(key.GetBinary(u"Due", read, &size)); // too small: the size needed comes back
    EXPECT_EQ(size, sizeof bytes);
    EXPECT_FALSE(key.GetBinary(u"Due", read, nullptr));
    EXPECT_FALSE(key.GetBinary(u"Missing", read, &size));

    EXPECT_FALSE(key.SetBinary(u"Bad", nullptr, 4));
    EXPECT_TRUE(key.SetBinary(u"Nothing", nullptr, 0));

    EXPECT_TRUE(key.ValueExists(u"due"));
    EXPECT_FALSE(key.ValueExists(u"Missing"));
    EXPECT_FALSE(key.ValueExists(nullptr));
    EXPECT_TRUE(key.DeleteValue(u"DUE"));
    EXPECT_FALSE(key.ValueExists(u"Due"));
    EXPECT_FALSE(key.DeleteValue(u"Due"));
}

TEST(QoRegistry, DeleteSubKeyRemovesAWholeSubtree)
{
    TempDevice device;
    CQoRegistry tavrel(HKEY_CURRENT_USER, tavrelKey, true);
    for (const char16_t* path : {u"Calendars\\Work\\Meetings", u"Calendars\\Work\\Travel\\Trains",
                                 u"Calendars\\Home\\Family", u"Calendars\\Holidays"}) {
        CQoRegistry leaf(tavrel.GetKey(), path, true);
        ASSERT_TRUE(leaf.SetDWORD(u"Visible", 1));
    }
    CQoRegistry remote(tavrel.GetKey(), u"Remote", true);
    ASSERT_TRUE(remote.IsOpen());

    EXPECT_TRUE(tavrel.SubKeyExists(u"calendars\\work\\travel"));
    EXPECT_TRUE(tavrel.DeleteSubKey(u"Calendars"));
    EXPECT_FALSE(tavrel.SubKeyExists(u"Calendars"));
    EXPECT_TRUE(tavrel.SubKeyExists(u"Remote")); // its sibling stays
    EXPECT_FALSE(tavrel.DeleteSubKey(u"Calendars"));
    EXPECT_FALSE(tavrel.DeleteSubKey(nullptr));

    // An empty path names no subkey: nothing below the key is touched.
    EXPECT_FALSE(tavrel.DeleteSubKey(u""));
    EXPECT_FALSE(tavrel.DeleteSubKey(u"\\"));
    EXPECT_TRUE(tavrel.SubKeyExists(u"Remote"));

    CQoRegistry closed(HKEY_CURRENT_USER, u"Nowhere", false);
    EXPECT_FALSE(closed.SubKeyExists(u"Remote"));
    EXPECT_FALSE(closed.DeleteSubKey(u"Remote"));
}

TEST(QoRegistry, EnumerationWalksSubkeysAndValueNames)
{
    TempDevice device;
    CQoRegistry calendars(HKEY_CURRENT_USER, u"Software\\Orvix\\Tavrel\\Calendars", true);
    CQoString name(u"stale");
    EXPECT_FALSE(calendars.GetFirstSubKey(name));
    EXPECT_EQ(name, u"");

    std::u16string longest(registry::MaxNameLength, u'z');
    for (const char16_t* child : {u"work", u"Holidays", longest.c_str()})
        CQoRegistry(calendars.GetKey(), child, true);
    std::vector<std::u16string> seen;
    for (bool more = calendars.GetFirstSubKey(name); more; more = calendars.GetNextSubKey(name))
        seen.emplace_back(name.View());
    EXPECT_EQ(seen, (std::vector<std::u16string> {u"Holidays", u"work", longest}));
    EXPECT_EQ(name, u"");
    ASSERT_TRUE(calendars.GetSubKeyAt(name, 1));
    EXPECT_EQ(name, u"work");
    EXPECT_TRUE(calendars.GetNextSubKey(name));
    EXPECT_EQ(name.View(), longest);

    ASSERT_TRUE(calendars.SetDWORD(u"Zeta", 1));
    ASSERT_TRUE(calendars.SetString(u"Alpha", u"a"));
    seen.clear();
    for (bool more = calendars.GetFirstValueName(name); more; more = calendars.GetNextValueName(name))
        seen.emplace_back(name.View());
    EXPECT_EQ(seen, (std::vector<std::u16string> {u"Zeta", u"Alpha"}));
}

TEST(QoRegistry, CopiesHoldTheirOwnHandle)
{
    TempDevice device;
    DebugCapture debug;
    auto original = std::make_unique<CQoRegistry>(HKEY_CURRENT_USER, tavrelKey, true);
    ASSERT_TRUE(original->SetDWORD(u"LastView", 1));
    CQoRegistry copy(*original);
    ASSERT_TRUE(copy.IsOpen());
    EXPECT_NE(copy.GetKey(), original->GetKey());
    original.reset();
    EXPECT_EQ(copy.GetDWORD(u"LastView", 0), 1u);

    CQoRegistry none(HKEY_CURRENT_USER, u"Missing", false);
    CQoRegistry noneCopy(none);
    EXPECT_FALSE(noneCopy.IsOpen());
    EXPECT_TRUE(debug.lines().empty());

    // A copy of a key deleted meanwhile cannot get a handle, and says so on the debugger output.
    CQoRegistry doomed(HKEY_CURRENT_USER, u"Doomed", true);
    ASSERT_TRUE(CQoRegistry(HKEY_CURRENT_USER, nullptr, false).DeleteSubKey(u"Doomed"));
    CQoRegistry failed(doomed);
    EXPECT_FALSE(failed.IsOpen());
    EXPECT_EQ(debug.lines(), (std::vector<std::u16string> {u"CQoRegistry() Copy Constructor: Unable to create subkey: ",
                                                           u"", u"\n"}));
}

TEST(QoRegistry, AKeyThatDidNotOpenAnswersWithDefaults)
{
    TempDevice device;
    CQoRegistry none(HKEY_CURRENT_USER, tavrelKey, false);
    ASSERT_FALSE(none.IsOpen());
    EXPECT_EQ(none.GetDWORD(u"LastView", 2), 2u);
    EXPECT_EQ(none.GetString(u"CurrentCalendar", u"<Personal>"), u"<Personal>");
    EXPECT_FALSE(none.SetDWORD(u"LastView", 2));
    EXPECT_FALSE(none.SetString(u"CurrentCalendar", u"x"));
    EXPECT_FALSE(none.ValueExists(u"LastView"));
    CQoString name;
    EXPECT_FALSE(none.GetFirstValueName(name));
    // Nothing was written anywhere.
    EXPECT_FALSE(CQoRegistry(HKEY_CURRENT_USER, tavrelKey, false).IsOpen());
}

TEST(QoRegistry, ADamagedStoreGivesDefaults)
{
    TempDevice device;
    {
        std::FILE* file = std::fopen((device.root() / "registry.db").c_str(), "wb");
        ASSERT_NE(file, nullptr);
        std::string junk(4096, '\x5A');
        std::fwrite(junk.data(), 1, junk.size(), file);
        std::fclose(file);
    }
    CQoRegistry key(HKEY_CURRENT_USER, tavrelKey, true);
    EXPECT_FALSE(key.IsOpen());
    EXPECT_EQ(key.GetDWORD(u"Transparency01", 50), 50u);
    EXPECT_EQ(key.GetString(u"FontNameDays", u"Tahoma"), u"Tahoma");
    EXPECT_FALSE(CQoRegistry(HKEY_LOCAL_MACHINE, nullptr, false).SetDWORD(u"x", 1));
}
