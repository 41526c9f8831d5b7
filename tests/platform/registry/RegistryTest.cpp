#include "RegistryTestHelpers.h"
#include "TempDevice.h"

#include <cstring>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <thread>

using namespace registry_test;
using testing_support::TempDevice;
using ::testing::ElementsAre;

TEST(Registry, NamesIgnoreCaseAndKeepTheSpellingFirstGiven)
{
    TempDevice device;
    ScopedKey tavrel;
    std::uint32_t disposition = 0;
    ASSERT_EQ(ScopedKey::create(HKEY_CURRENT_USER, u"Software\\Orvix\\Tavrel", tavrel, &disposition), ERROR_SUCCESS);
    EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);

    ScopedKey again;
    ASSERT_EQ(ScopedKey::create(HKEY_CURRENT_USER, u"SOFTWARE\\orvix\\TAVREL", again, &disposition), ERROR_SUCCESS);
    EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
    ScopedKey software;
    ASSERT_EQ(ScopedKey::open(HKEY_CURRENT_USER, u"software", software), ERROR_SUCCESS);
    EXPECT_THAT(subkeyNames(software.get()), ElementsAre(u"Orvix"));

    ASSERT_EQ(setDword(tavrel.get(), u"FontSizeDays", 8), ERROR_SUCCESS);
    EXPECT_EQ(readDword(again.get(), u"fontsizedays"), 8u);
    // Writing through another spelling replaces the value but keeps its first name.
    ASSERT_EQ(setDword(again.get(), u"FONTSIZEDAYS", 9), ERROR_SUCCESS);
    EXPECT_EQ(readDword(tavrel.get(), u"FontSizeDays"), 9u);
    EXPECT_THAT(valueNames(tavrel.get()), ElementsAre(u"FontSizeDays"));

    // Only ASCII letters fold: a different non-ASCII letter is a different name.
    ASSERT_EQ(setDword(tavrel.get(), u"\u00C9t\u00E9", 1), ERROR_SUCCESS);
    EXPECT_EQ(readDword(tavrel.get(), u"\u00E9T\u00E9"), std::nullopt);
    EXPECT_EQ(readDword(tavrel.get(), u"\u00C9T\u00E9"), 1u);

    // The hives are separate stores.
    ScopedKey machine;
    EXPECT_EQ(ScopedKey::open(HKEY_LOCAL_MACHINE, u"Software\\Orvix\\Tavrel", machine), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(machine);
}

TEST(Registry, ValuesKeepTheirTypeAndExactBytes)
{
    TempDevice device;
    ScopedKey key;
    ASSERT_EQ(ScopedKey::create(HKEY_LOCAL_MACHINE, u"Software\\Apps\\Orvix Tavrel", key), ERROR_SUCCESS);

    ASSERT_EQ(setText(key.get(), u"InstallDir", u"\\Program Files\\Tavrel"), ERROR_SUCCESS);
    const unsigned char bytes[] = {0x00, 0xFF, 0x10, 0x00, 0x7F};
    ASSERT_EQ(setValue(key.get(), u"Blob", REG_BINARY, bytes, sizeof bytes), ERROR_SUCCESS);
    ASSERT_EQ(setDword(key.get(), u"Number", 0xDEADBEEF), ERROR_SUCCESS);
    // Text is stored as given, even without its terminator; the registry does not interpret it.
    ASSERT_EQ(setValue(key.get(), u"Raw", REG_SZ, u"ab", 4), ERROR_SUCCESS);
    ASSERT_EQ(setValue(key.get(), u"Empty", REG_BINARY, nullptr, 0), ERROR_SUCCESS);

    std::uint32_t type = 0, size = 0;
    WChar text[64] = {};
    size = sizeof text;
    ASSERT_EQ(queryValue(key.get(), u"InstallDir", &type, text, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(size, (std::char_traits<char16_t>::length(u"\\Program Files\\Tavrel") + 1) * 2);
    EXPECT_EQ(WideString(text), u"\\Program Files\\Tavrel");

    unsigned char read[16] = {};
    size = sizeof read;
    ASSERT_EQ(queryValue(key.get(), u"Blob", &type, read, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_BINARY);
    ASSERT_EQ(size, sizeof bytes);
    EXPECT_EQ(std::memcmp(read, bytes, sizeof bytes), 0);

    EXPECT_EQ(readDword(key.get(), u"Number"), 0xDEADBEEFu);

    size = sizeof read;
    ASSERT_EQ(queryValue(key.get(), u"Raw", &type, read, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 4u);
    ASSERT_EQ(queryValue(key.get(), u"Empty", &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_BINARY);
    EXPECT_EQ(size, 0u);

    // Replacing a value may change its type.
    ASSERT_EQ(setText(key.get(), u"Number", u"50"), ERROR_SUCCESS);
    EXPECT_EQ(readDword(key.get(), u"Number"), std::nullopt);
    EXPECT_EQ(setValue(key.get(), u"Bad", REG_BINARY, nullptr, 4), ERROR_INVALID_PARAMETER);
}

TEST(Registry, QueryTellsTheSizeAndRefusesSmallBuffersUntouched)
{
    TempDevice device;
    ScopedKey key;
    ASSERT_EQ(ScopedKey::create(HKEY_CURRENT_USER, u"Software\\Orvix\\Tavrel", key), ERROR_SUCCESS);
    ASSERT_EQ(setText(key.get(), u"CurrentCalendar", u"<Personal>"), ERROR_SUCCESS);

    std::uint32_t type = 0, size = 0;
    ASSERT_EQ(queryValue(key.get(), u"CurrentCalendar", &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(size, 22u);
    ASSERT_EQ(queryValue(key.get(), u"CurrentCalendar", nullptr, nullptr, nullptr), ERROR_SUCCESS);

    WChar small[4] = {u'x', u'x', u'x', u'x'};
    size = sizeof small;
    EXPECT_EQ(queryValue(key.get(), u"CurrentCalendar", &type, small, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 22u);
    EXPECT_EQ(small[0], u'x');
    EXPECT_EQ(queryValue(key.get(), u"CurrentCalendar", &type, small, nullptr), ERROR_INVALID_PARAMETER);

    // A 4-byte read of a longer value is "more data", which is how a number read spots a value
    // that does not fit.
    std::uint32_t number = 0;
    size = sizeof number;
    EXPECT_EQ(queryValue(key.get(), u"CurrentCalendar", &type, &number, &size), ERROR_MORE_DATA);
    EXPECT_EQ(queryValue(key.get(), u"Missing", &type, nullptr, &size), ERROR_FILE_NOT_FOUND);
}

TEST(Registry, ValuesEnumerateInCreationOrderWithTheirData)
{
    TempDevice device;
    ScopedKey key;
    ASSERT_EQ(ScopedKey::create(HKEY_CURRENT_USER, u"Order", key), ERROR_SUCCESS);
    for (const char16_t* name : {u"Zulu", u"alpha", u"Mike", u"Bravo"})
        ASSERT_EQ(setDword(key.get(), name, 1), ERROR_SUCCESS);
    ASSERT_EQ(setDword(key.get(), u"ALPHA", 2), ERROR_SUCCESS); // replaced in place
    ASSERT_EQ(deleteValue(key.get(), u"mike"), ERROR_SUCCESS);
    ASSERT_EQ(setDword(key.get(), u"Mike", 3), ERROR_SUCCESS); // deleted and made again: last
    EXPECT_THAT(valueNames(key.get()), ElementsAre(u"Zulu", u"alpha", u"Bravo", u"Mike"));
    EXPECT_EQ(deleteValue(key.get(), u"mike-not"), ERROR_FILE_NOT_FOUND);

    WChar name[260];
    std::uint32_t length = 260, type = 0, value = 0, size = sizeof value;
    ASSERT_EQ(enumValue(key.get(), 1, name, &length, &type, &value, &size), ERROR_SUCCESS);
    EXPECT_EQ(WideString(name, length), u"alpha");
    EXPECT_EQ(type, REG_DWORD);
    EXPECT_EQ(value, 2u);
    length = 5; // "Bravo" needs six characters with its terminator
    EXPECT_EQ(enumValue(key.get(), 2, name, &length, nullptr, nullptr, nullptr), ERROR_MORE_DATA);
    length = 260;
    EXPECT_EQ(enumValue(key.get(), 4, name, &length, nullptr, nullptr, nullptr), ERROR_NO_MORE_ITEMS);
}

TEST(Registry, SubkeysEnumerateAlphabeticallyIgnoringCase)
{
    TempDevice device;
    ScopedKey calendars;
    ASSERT_EQ(ScopedKey::create(HKEY_CURRENT_USER, u"Software\\Orvix\\Tavrel\\Calendars", calendars), ERROR_SUCCESS);
    for (const char16_t* name : {u"beta", u"Gamma", u"Alpha", u"alpha2", u"_under", u"Zeta\\Deep"}) {
        ScopedKey child;
        ASSERT_EQ(ScopedKey::create(calendars.get(), name, child), ERROR_SUCCESS);
    }
    EXPECT_THAT(subkeyNames(calendars.get()), ElementsAre(u"_under", u"Alpha", u"alpha2", u"beta", u"Gamma", u"Zeta"));

    WChar name[8];
    std::uint32_t length = 5; // "Alpha" needs six characters with its terminator
    EXPECT_EQ(enumKey(calendars.get(), 1, name, &length), ERROR_MORE_DATA);
    length = 6;
    ASSERT_EQ(enumKey(calendars.get(), 1, name, &length), ERROR_SUCCESS);
    EXPECT_EQ(length, 5u);
    EXPECT_EQ(WideString(name), u"Alpha");
    length = 8;
    EXPECT_EQ(enumKey(calendars.get(), 6, name, &length), ERROR_NO_MORE_ITEMS);
}

TEST(Registry, PathsOpenAndCreateEveryLevel)
{
    TempDevice device;
    ScopedKey leaf;
    ASSERT_EQ(ScopedKey::create(HKEY_CURRENT_USER, u"A\\B\\C\\D", leaf), ERROR_SUCCESS);
    ASSERT_EQ(setDword(leaf.get(), u"Depth", 4), ERROR_SUCCESS);

    ScopedKey b, viaB, viaSlashes, missing;
    ASSERT_EQ(ScopedKey::open(HKEY_CURRENT_USER, u"a\\b", b), ERROR_SUCCESS);
    ASSERT_EQ(ScopedKey::open(b.get(), u"c\\d", viaB), ERROR_SUCCESS);
    EXPECT_EQ(readDword(viaB.get(), u"Depth"), 4u);
    // A leading, doubled or trailing backslash adds no level.
    ASSERT_EQ(ScopedKey::open(HKEY_CURRENT_USER, u"\\A\\\\B\\C\\D\\", viaSlashes), ERROR_SUCCESS);
    EXPECT_EQ(readDword(viaSlashes.get(), u"Depth"), 4u);
    EXPECT_EQ(ScopedKey::open(HKEY_CURRENT_USER, u"A\\X\\C", missing), ERROR_FILE_NOT_FOUND);

    // An empty path gives a second, independent handle to the same key.
    ScopedKey same;
    std::uint32_t disposition = 0;
    ASSERT_EQ(ScopedKey::create(leaf.get(), u"", same, &disposition), ERROR_SUCCESS);
    EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
    EXPECT_NE(same.get(), leaf.get());
    leaf.reset();
    EXPECT_EQ(readDword(same.get(), u"Depth"), 4u);

    // The last level decides the disposition.
    ASSERT_EQ(ScopedKey::create(HKEY_CURRENT_USER, u"A\\B\\New", leaf, &disposition), ERROR_SUCCESS);
    EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);

    std::u16string longest(MaxNameLength, u'k');
    EXPECT_EQ(ScopedKey::create(HKEY_CURRENT_USER, longest, leaf), ERROR_SUCCESS);
    EXPECT_EQ(ScopedKey::create(HKEY_CURRENT_USER, longest + u"k", leaf), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(setDword(HKEY_CURRENT_USER, longest + u"k", 1), ERROR_INVALID_PARAMETER);
}

TEST(Registry, DefaultValueAndBackslashesInValueNames)
{
    TempDevice device;
    ScopedKey key;
    ASSERT_EQ(ScopedKey::create(HKEY_CURRENT_USER, u"Software\\Orvix\\Tavrel", key), ERROR_SUCCESS);
    ASSERT_EQ(setDword(key.get(), u"\\Colors\\Busy", 0xCC88FF), ERROR_SUCCESS);
    ASSERT_EQ(setText(key.get(), u"", u"default"), ERROR_SUCCESS);

    EXPECT_EQ(readDword(key.get(), u"\\colors\\BUSY"), 0xCC88FFu);
    EXPECT_TRUE(subkeyNames(key.get()).empty()); // the value name made no keys
    ScopedKey colors;
    EXPECT_EQ(ScopedKey::open(key.get(), u"Colors", colors), ERROR_FILE_NOT_FOUND);
    EXPECT_THAT(valueNames(key.get()), ElementsAre(u"\\Colors\\Busy", u""));
    std::uint32_t type = 0;
    ASSERT_EQ(queryValue(key.get(), u"", &type, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_SZ);
    ASSERT_EQ(deleteValue(key.get(), u""), ERROR_SUCCESS);
    EXPECT_EQ(queryValue(key.get(), u"", &type, nullptr, nullptr), ERROR_FILE_NOT_FOUND);
}

TEST(Registry, DeleteKeyOnlyRemovesKeysWithoutSubkeys)
{
    TempDevice device;
    ScopedKey tavrel, leaf;
    ASSERT_EQ(ScopedKey::create(HKEY_CURRENT_USER, u"Software\\Orvix\\Tavrel", tavrel), ERROR_SUCCESS);
    ASSERT_EQ(ScopedKey::create(tavrel.get(), u"Remote\\Cal", leaf), ERROR_SUCCESS);
    ASSERT_EQ(setText(leaf.get(), u"URL", u"http://127.0.0.1/cal.xml"), ERROR_SUCCESS);
    leaf.reset();

    EXPECT_EQ(deleteKey(tavrel.get(), u"Remote"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(deleteKey(tavrel.get(), u"Missing"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(deleteKey(tavrel.get(), u""), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(deleteKey(HKEY_CURRENT_USER, u"\\"), ERROR_INVALID_PARAMETER);
    ASSERT_EQ(deleteKey(tavrel.get(), u"REMOTE\\cal"), ERROR_SUCCESS);
    ASSERT_EQ(deleteKey(tavrel.get(), u"Remote"), ERROR_SUCCESS);
    EXPECT_TRUE(subkeyNames(tavrel.get()).empty());

    // A key made again under the old name starts without the old values.
    ASSERT_EQ(ScopedKey::create(tavrel.get(), u"Remote\\Cal", leaf), ERROR_SUCCESS);
    EXPECT_TRUE(valueNames(leaf.get()).empty());
}

TEST(Registry, HandlesOfDeletedKeysFailCleanly)
{
    TempDevice device;
    ScopedKey parent, doomed;
    ASSERT_EQ(ScopedKey::create(HKEY_CURRENT_USER, u"Parent", parent), ERROR_SUCCESS);
    ASSERT_EQ(ScopedKey::create(parent.get(), u"Doomed", doomed), ERROR_SUCCESS);
    ASSERT_EQ(setDword(doomed.get(), u"Value", 1), ERROR_SUCCESS);
    ASSERT_EQ(deleteKey(parent.get(), u"Doomed"), ERROR_SUCCESS);

    EXPECT_EQ(readDword(doomed.get(), u"Value"), std::nullopt);
    std::uint32_t size = 0;
    EXPECT_EQ(queryValue(doomed.get(), u"Value", nullptr, nullptr, &size), ERROR_KEY_DELETED);
    EXPECT_EQ(setDword(doomed.get(), u"Value", 2), ERROR_KEY_DELETED);
    EXPECT_EQ(deleteValue(doomed.get(), u"Value"), ERROR_KEY_DELETED);
    WChar name[260];
    std::uint32_t length = 260;
    EXPECT_EQ(enumKey(doomed.get(), 0, name, &length), ERROR_KEY_DELETED);
    EXPECT_EQ(enumValue(doomed.get(), 0, name, &length, nullptr, nullptr, nullptr), ERROR_KEY_DELETED);
    ScopedKey child;
    EXPECT_EQ(ScopedKey::create(doomed.get(), u"Child", child), ERROR_KEY_DELETED);
    EXPECT_EQ(ScopedKey::open(doomed.get(), u"", child), ERROR_KEY_DELETED);

    // Making a key of the same name does not bring the old handle back to life.
    ScopedKey reborn;
    ASSERT_EQ(ScopedKey::create(parent.get(), u"Doomed", reborn), ERROR_SUCCESS);
    EXPECT_EQ(setDword(doomed.get(), u"Value", 3), ERROR_KEY_DELETED);
    EXPECT_EQ(closeKey(doomed.release()), ERROR_SUCCESS);
}

TEST(Registry, ClosedAndForeignHandlesAreRefused)
{
    HKEY stale = nullptr;
    {
        TempDevice first;
        ASSERT_EQ(createKey(HKEY_CURRENT_USER, u"Key", &stale), ERROR_SUCCESS);
    }
    TempDevice second;
    ScopedKey key;
    ASSERT_EQ(ScopedKey::create(HKEY_CURRENT_USER, u"Key", key), ERROR_SUCCESS);
    // A handle of the earlier device never reaches a key of this one.
    EXPECT_EQ(setDword(stale, u"Value", 1), ERROR_INVALID_HANDLE);
    EXPECT_EQ(closeKey(stale), ERROR_SUCCESS);
    EXPECT_EQ(closeKey(stale), ERROR_INVALID_HANDLE);

    HKEY made = reinterpret_cast<HKEY>(std::uintptr_t(0x1234));
    EXPECT_EQ(setDword(made, u"Value", 1), ERROR_INVALID_HANDLE);
    EXPECT_EQ(setDword(nullptr, u"Value", 1), ERROR_INVALID_HANDLE);
    HKEY closed = key.release();
    ASSERT_EQ(closeKey(closed), ERROR_SUCCESS);
    EXPECT_EQ(readDword(closed, u"Value"), std::nullopt);
    EXPECT_EQ(closeKey(HKEY_CURRENT_USER), ERROR_SUCCESS); // the hives are always open
    EXPECT_EQ(setDword(HKEY_CURRENT_USER, u"Root", 1), ERROR_SUCCESS);
    EXPECT_EQ(openKey(HKEY_CURRENT_USER, u"Key", nullptr), ERROR_INVALID_PARAMETER);
}

TEST(Registry, ThreadsShareTheStoreSafely)
{
    TempDevice device;
    constexpr int threadCount = 4, perThread = 100;
    std::vector<std::thread> threads;
    for (int t = 0; t < threadCount; ++t) {
        threads.emplace_back([t] {
            for (int i = 0; i < perThread; ++i) {
                ScopedKey key;
                if (ScopedKey::create(HKEY_CURRENT_USER, u"Software\\Shared", key) != ERROR_SUCCESS)
                    return;
                WideString name = u"t" + WideString(1, char16_t(u'0' + t)) + u"-" + device::fromUtf8(std::to_string(i));
                setDword(key.get(), name, std::uint32_t(t * 1000 + i));
            }
        });
    }
    for (auto& thread : threads)
        thread.join();
    ScopedKey key;
    ASSERT_EQ(ScopedKey::open(HKEY_CURRENT_USER, u"Software\\Shared", key), ERROR_SUCCESS);
    EXPECT_EQ(valueNames(key.get()).size(), std::size_t(threadCount * perThread));
    EXPECT_EQ(readDword(key.get(), u"t3-99"), 3099u);
}

TEST(Registry, AnExplicitDatabaseFileCanBeChosen)
{
    TempDevice device;
    std::filesystem::path other = device.root() / "other.db";
    registry::useDatabase(other);
    ASSERT_EQ(setDword(HKEY_LOCAL_MACHINE, u"Where", 1), ERROR_SUCCESS);
    registry::useDatabase({});
    EXPECT_EQ(readDword(HKEY_LOCAL_MACHINE, u"Where"), std::nullopt);
    EXPECT_TRUE(std::filesystem::exists(other));
    registry::useDatabase(other);
    EXPECT_EQ(readDword(HKEY_LOCAL_MACHINE, u"Where"), 1u);
    registry::useDatabase({});
}
