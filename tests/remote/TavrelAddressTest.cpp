// Normalising typed addresses, the system's own host and its word, host directory addresses, and the
// recent addresses.

#include "remote/TavrelAddress.h"
#include "remote/TavrelCalendarFormat.h"
#include "remote/TavrelOwnHost.h"
#include "remote/TavrelRecentAddresses.h"

#include "RemoteTestSupport.h"

#include "TempDevice.h"

#include "common/QoRegistry.h"

#include <gtest/gtest.h>

namespace {

using remote_test::utf8;

std::string normalised(const char16_t* typed, const char16_t* ownHost = u"http://own.test/Tavrel.xml")
{
    return utf8(CTavrelAddress::Normalise(typed, ownHost, &CTavrelCalendarFormats::NamesDocument));
}

TEST(TavrelAddressTest, NormalisingFollowsTheThreeSteps)
{
    // A single word: a host directory on www.WORD.com.
    EXPECT_EQ(normalised(u"sports"), "http://www.sports.com/Tavrel.xml");
    // A dotted host and a path without scheme.
    EXPECT_EQ(normalised(u"example.org/cal"), "http://www.example.org/cal/Tavrel.xml");
    // "www." and ".xml": only the scheme is missing — a calendar document.
    EXPECT_EQ(normalised(u"www.example.org/Sports.xml"), "http://www.example.org/Sports.xml");
    // Complete but for the document.
    EXPECT_EQ(normalised(u"http://www.example.org/cals/"), "http://www.example.org/cals/Tavrel.xml");
    EXPECT_EQ(normalised(u"ftp://127.0.0.1:2121/cals"), "ftp://127.0.0.1:2121/cals/Tavrel.xml");
    // A complete address without any dot gains ".com" at its very end.
    EXPECT_EQ(normalised(u"http://localhost"), "http://localhost.com/Tavrel.xml");
    // The tests look at the text as typed: a typed ".XML" is a document however it is written.
    EXPECT_EQ(normalised(u"HTTP://Host.Example/Cal.XML"), "HTTP://Host.Example/Cal.XML");
    // Blanks around are dropped; blanks alone are no address.
    EXPECT_EQ(normalised(u"  www.example.org/a.xml \t"), "http://www.example.org/a.xml");
    EXPECT_EQ(normalised(u"   "), "");
}

TEST(TavrelAddressTest, TheWordTavrelStandsForTheOwnHost)
{
    EXPECT_EQ(normalised(u"tavrel"), "http://own.test/Tavrel.xml");
    EXPECT_EQ(normalised(u" TAVREL "), "http://own.test/Tavrel.xml");
    // Only the word itself.
    EXPECT_EQ(normalised(u"tavrels"), "http://www.tavrels.com/Tavrel.xml");

    EXPECT_EQ(utf8(CTavrelOwnHost(u"www.tavrel.com").GetDirectoryAddress()), "http://www.tavrel.com/Tavrel.xml");
    EXPECT_EQ(utf8(CTavrelOwnHost(u"127.0.0.1:8000/").GetDirectoryAddress()), "http://127.0.0.1:8000/Tavrel.xml");
    const CTavrelOwnHost https(u"https://cal.example.org/tavrel");
    EXPECT_EQ(utf8(https.GetDirectoryAddress()), "https://cal.example.org/tavrel/Tavrel.xml");
    EXPECT_EQ(utf8(https.GetSportsAddress()), "https://cal.example.org/tavrel/calendars/Sports.xml");
    EXPECT_EQ(utf8(https.GetConcertsAddress()), "https://cal.example.org/tavrel/calendars/Concerts.xml");
    // The example calendars are calendar documents, the word's address a host directory.
    EXPECT_FALSE(CTavrelAddress::IsHostDirectory(https.GetSportsAddress()));
    EXPECT_TRUE(CTavrelAddress::IsHostDirectory(https.GetDirectoryAddress()));
}

TEST(TavrelAddressTest, OwnHostIsReadFromTheRegistryWithItsDefault)
{
    testing_support::TempDevice device;
    EXPECT_EQ(utf8(CTavrelOwnHost().GetDirectoryAddress()), "http://www.tavrel.com/Tavrel.xml");
    CQoRegistry remote(HKEY_CURRENT_USER, CTavrelOwnHost::RemoteKeyPath, false);
    EXPECT_EQ(utf8(remote.GetString(u"Host", nullptr)), "www.tavrel.com"); // written back
    remote.SetString(u"Host", u"127.0.0.1:8123");
    EXPECT_EQ(utf8(CTavrelOwnHost().GetDirectoryAddress()), "http://127.0.0.1:8123/Tavrel.xml");
}

TEST(TavrelAddressTest, LinksAndDirectoryDocuments)
{
    const auto complete = [](const char16_t* link) {
        return utf8(CTavrelAddress::CompleteLink(link, &CTavrelCalendarFormats::NamesDocument));
    };
    EXPECT_EQ(complete(u"http://a.example/music"), "http://a.example/music/Tavrel.xml");
    EXPECT_EQ(complete(u"http://a.example/music/"), "http://a.example/music/Tavrel.xml");
    EXPECT_EQ(complete(u"http://a.example/Jazz.xml"), "http://a.example/Jazz.xml");

    EXPECT_TRUE(CTavrelAddress::IsHostDirectory(u"http://x.example/TAVREL.XML"));
    EXPECT_FALSE(CTavrelAddress::IsHostDirectory(u"http://x.example/Sports.xml"));
}

TEST(TavrelAddressTest, RecentAddressesShiftAndSkipWhatIsOffered)
{
    testing_support::TempDevice device;
    EXPECT_TRUE(CTavrelRecentAddresses::Offered().empty());
    for (int i = 0; i < 7; ++i) {
        const CQoString address(device::fromUtf8("http://h" + std::to_string(i) + ".example/c.xml").c_str());
        EXPECT_TRUE(CTavrelRecentAddresses::Remember(address, {}));
    }
    // Newest first; five offered, six kept.
    std::vector<std::string> offered;
    for (const CQoString& address : CTavrelRecentAddresses::Offered())
        offered.push_back(utf8(address));
    EXPECT_EQ(offered,
              (std::vector<std::string>{"http://h6.example/c.xml", "http://h5.example/c.xml", "http://h4.example/c.xml",
                                        "http://h3.example/c.xml", "http://h2.example/c.xml"}));
    CQoRegistry remote(HKEY_CURRENT_USER, CTavrelOwnHost::RemoteKeyPath, false);
    EXPECT_EQ(utf8(remote.GetString(u"Recent5", nullptr)), "http://h1.example/c.xml");

    // Remembered once: an entry that begins with the address (ignoring case), in the list shown or
    // stored, counts as present.
    EXPECT_FALSE(CTavrelRecentAddresses::Remember(u"HTTP://H6.example/c.xml", {}));
    EXPECT_FALSE(CTavrelRecentAddresses::Remember(u"http://h1.example/c", {}));
    EXPECT_FALSE(CTavrelRecentAddresses::Remember(u"tavrel", {u"tavrel", u"http://h6.example/c.xml"}));
    EXPECT_EQ(utf8(CTavrelRecentAddresses::Offered().front()), "http://h6.example/c.xml");
    // One that merely begins with an entry is another address.
    EXPECT_TRUE(CTavrelRecentAddresses::Remember(u"http://h6.example/c.xml2", {}));
    EXPECT_EQ(utf8(CTavrelRecentAddresses::Offered().front()), "http://h6.example/c.xml2");
}

} // namespace
