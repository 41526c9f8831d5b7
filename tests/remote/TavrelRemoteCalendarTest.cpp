#include "remote/TavrelRemoteCalendar.h"
#include "remote/XmlDocument.h"

#include "RemoteTestSupport.h"

#include "LoopbackServer.h"
#include "PinnedClock.h"
#include "TempDevice.h"

#include "platform/device/DevicePath.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

using remote_test::readFile;
using remote_test::utf8;
using remote_test::writeFile;

struct EventText {
    std::u16string name, date, start, end, icon;
    bool counted = true; // whether its name goes into the checksum
};

struct CategoryText {
    std::u16string name;
    std::vector<EventText> events;
};

// A calendar document as a publisher writes one, with the checksum worked out from what it holds.
struct CalendarText {
    std::u16string name = u"Sports";
    std::u16string copyright = u"(c) 2026 Sports Desk";
    std::optional<std::u16string> version = u"2";
    std::optional<std::uint32_t> checksum; // none: the right one
    int months = 12;
    std::u16string fade = u"40";
    std::u16string picturePrefix;
    std::vector<CategoryText> categories;

    std::u16string image(int month) const
    {
        return picturePrefix + u"bg" + (month < 10 ? u"0" : u"") + std::u16string(device::fromUtf8(std::to_string(month))) + u".gif";
    }

    std::uint32_t rightChecksum() const
    {
        std::uint32_t sum = 0;
        for (int month = 1; month <= months; ++month)
            for (char16_t c : image(month))
                sum += c & 0xFF;
        for (const CategoryText& category : categories)
            for (const EventText& event : category.events)
                if (event.counted)
                    for (char16_t c : event.name)
                        sum += std::uint32_t(c & 0xFF) << 16;
        return sum;
    }

    std::u16string text() const
    {
        std::u16string out = u"<Tavrel>\n<Name>" + name + u"</Name>\n<Copyright>" + copyright + u"</Copyright>\n";
        if (version)
            out += u"<Version>" + *version + u"</Version>\n";
        out += u"<Backgrounds>\n";
        for (int month = 1; month <= months; ++month) {
            const std::u16string tag = u"BG" + std::u16string(month < 10 ? u"0" : u"")
                + std::u16string(device::fromUtf8(std::to_string(month)));
            out += u"<" + tag + u"><Image>" + image(month) + u"</Image><Fade>" + fade + u"</Fade><MonthTitle>" + picturePrefix
                + u"title.gif</MonthTitle><DayBar>" + picturePrefix + u"daybar.gif</DayBar></" + tag + u">\n";
        }
        out += u"</Backgrounds>\n";
        for (const CategoryText& category : categories) {
            out += u"<Events>\n<Name>" + category.name + u"</Name>\n";
            for (const EventText& event : category.events)
                out += u"<Event><Name>" + event.name + u"</Name><Date>" + event.date + u"</Date><StartTime>" + event.start
                    + u"</StartTime><EndTime>" + event.end + u"</EndTime><Icon>" + event.icon + u"</Icon></Event>\n";
            out += u"</Events>\n";
        }
        out += u"<CheckSum>" + device::fromUtf8(std::to_string(checksum.value_or(rightChecksum()))) + u"</CheckSum>\n";
        return out + u"</Tavrel>\n";
    }
};

CalendarText sports()
{
    CalendarText calendar;
    calendar.categories = {
        {u"Soccer",
         {{u"Final", u"12/20/26", u"15:30", u"17:45", u"ball.gif"}, {u"Semi-final", u"12/13/26", u"3:00 PM", u"5:00 PM", u"ball.gif"}}},
        {u"Tennis", {{u"Open day", u"7/4/2026", u"", u"", u"racket.gif"}}},
    };
    return calendar;
}

std::vector<std::string> eventsOf(const CTavrelEvents& category)
{
    std::vector<std::string> found;
    category.ForEach([&](const CTavrelEvent& event) {
        found.push_back(utf8(event.GetName()) + " " + device::toUtf8(event.GetStart().Format()) + " - "
                        + device::toUtf8(event.GetEnd().Format()) + " " + utf8(event.GetIcon()));
    });
    return found;
}

class TavrelRemoteCalendarTest : public testing::Test {
protected:
    bool load(CTavrelRemoteCalendar& calendar, const std::u16string& text, const char16_t* location = Location)
    {
        CXmlDocument document;
        document.Parse(CQoString(text.c_str()));
        return calendar.Load(location, document);
    }

    static constexpr const char16_t* Location = u"\\My Documents\\Calendars\\Sports.xml";

    testing_support::TempDevice m_device;
    testing_support::PinnedClock m_clock{testing_support::localTime(2026, 6, 1, 12, 0, 0)};
    remote_test::RecordingHost m_host;
};

TEST_F(TavrelRemoteCalendarTest, LoadsNamePicturesFadesAndEvents)
{
    CalendarText text = sports();
    text.fade = u" +75 percent";
    CTavrelRemoteCalendar calendar;
    ASSERT_TRUE(load(calendar, text.text()));

    EXPECT_EQ(utf8(calendar.GetTypeName()), "Remote");
    EXPECT_EQ(utf8(calendar.GetName()), "Sports");
    EXPECT_EQ(utf8(calendar.GetCopyright()), "(c) 2026 Sports Desk");
    EXPECT_EQ(calendar.GetVersion(), 2u);
    EXPECT_EQ(calendar.GetChecksum(), text.rightChecksum());
    EXPECT_EQ(utf8(calendar.GetLocation()), "\\My Documents\\Calendars\\Sports.xml");
    EXPECT_EQ(utf8(calendar.GetBackground(3)), "\\My Documents\\Calendars\\bg03.gif");
    EXPECT_EQ(utf8(calendar.GetBackgroundImage(12)), "\\My Documents\\Calendars\\bg12.gif");
    EXPECT_EQ(utf8(calendar.GetMonthTitle(5)), "\\My Documents\\Calendars\\title.gif");
    EXPECT_EQ(utf8(calendar.GetDayBar(5)), "\\My Documents\\Calendars\\daybar.gif");
    EXPECT_EQ(calendar.GetTransparency(7), 75);
    EXPECT_EQ(utf8(calendar.GetBackground(13)), "");

    ASSERT_EQ(calendar.GetCategories().size(), 2u);
    const CTavrelEvents& soccer = calendar.GetCategories().front();
    EXPECT_EQ(utf8(soccer.GetName()), "Soccer");
    EXPECT_TRUE(soccer.IsVisible());
    EXPECT_EQ(eventsOf(soccer), (std::vector<std::string>{
                                    "Semi-final 12/13/2026 3:00:00 PM - 12/13/2026 5:00:00 PM \\My Documents\\Calendars\\ball.gif",
                                    "Final 12/20/2026 3:30:00 PM - 12/20/2026 5:45:00 PM \\My Documents\\Calendars\\ball.gif",
                                }));
    // No times: the whole day, from midnight to midnight.
    EXPECT_EQ(eventsOf(calendar.GetCategories().back()),
              std::vector<std::string>{"Open day 7/4/2026 - 7/4/2026 \\My Documents\\Calendars\\racket.gif"});
    CTavrelEvent* final = calendar.FindCategory(u"soccer")->FindFirst(device::OleDateTime(2026, 12, 20, 0, 0, 0),
                                                                        device::OleDateTime(2026, 12, 20, 23, 59, 59));
    ASSERT_NE(final, nullptr);
    EXPECT_EQ(final->GetOID(), 0);
    EXPECT_EQ(utf8(final->GetID()), "");
    EXPECT_EQ(utf8(final->GetClass()), "Soccer");
}

TEST_F(TavrelRemoteCalendarTest, ChecksumGuardsImagesAndEventTitles)
{
    CalendarText text = sports();
    text.checksum = text.rightChecksum();
    text.categories[0].events[0].name = u"Finak"; // one letter changed, checksum not
    CTavrelRemoteCalendar calendar;
    EXPECT_FALSE(load(calendar, text.text()));

    CalendarText image = sports();
    image.checksum = image.rightChecksum() + 1;
    EXPECT_FALSE(load(calendar, image.text()));

    // Missing, the stated checksum is 0, which only an empty calendar could have.
    CalendarText missing = sports();
    std::u16string source = missing.text();
    source.erase(source.find(u"<CheckSum>"), source.find(u"</Tavrel>") - source.find(u"<CheckSum>"));
    EXPECT_FALSE(load(calendar, source));
    EXPECT_TRUE(m_host.messages.empty());
}

TEST_F(TavrelRemoteCalendarTest, NewerVersionIsRefusedWithItsMessage)
{
    CalendarText text = sports();
    text.version = u"3";
    CTavrelRemoteCalendar calendar;
    EXPECT_FALSE(load(calendar, text.text()));
    ASSERT_EQ(m_host.messages.size(), 1u);
    EXPECT_EQ(m_host.messages[0],
              "The remote calendar 'Sports' uses a calendar format that is newer than this version of Tavrel supports.  "
              "Please upgrade to the latest version of Tavrel at\rhttp://www.tavrel.com");
    EXPECT_EQ(utf8(calendar.GetName()), "");
    EXPECT_TRUE(calendar.GetCategories().empty());

    for (std::optional<std::u16string> version : {std::optional<std::u16string>(u"2"), std::optional<std::u16string>(u"1"),
                                                  std::optional<std::u16string>(u"0"), std::optional<std::u16string>()}) {
        CalendarText older = sports();
        older.version = version;
        CTavrelRemoteCalendar loaded;
        EXPECT_TRUE(load(loaded, older.text())) << device::toUtf8(version.value_or(u"missing"));
    }
    EXPECT_EQ(m_host.messages.size(), 1u);
}

TEST_F(TavrelRemoteCalendarTest, EveryMonthNeedsAllFourFields)
{
    CalendarText eleven = sports();
    eleven.months = 11;
    CTavrelRemoteCalendar calendar;
    EXPECT_FALSE(load(calendar, eleven.text()));

    CalendarText noFade = sports();
    noFade.fade = u"";
    EXPECT_FALSE(load(calendar, noFade.text()));

    std::u16string noDayBar = sports().text();
    noDayBar.replace(noDayBar.find(u"<DayBar>daybar.gif</DayBar>"), 27, u"<DayBar></DayBar>");
    EXPECT_FALSE(load(calendar, noDayBar));

    CXmlDocument empty;
    EXPECT_FALSE(calendar.Load(Location, empty));
}

TEST_F(TavrelRemoteCalendarTest, EventsWithAnEmptyFieldAreSkippedAndDoNotCount)
{
    CalendarText text = sports();
    text.categories[0].events.push_back({u"No icon", u"12/1/26", u"10:00", u"11:00", u"", false});
    text.categories[0].events.push_back({u"No date", u"", u"10:00", u"11:00", u"ball.gif", false});
    // Counted, but the locale cannot read its date, so the category refuses it.
    text.categories[0].events.push_back({u"Bad date", u"31/31/26", u"10:00", u"11:00", u"ball.gif", true});
    CTavrelRemoteCalendar calendar;
    ASSERT_TRUE(load(calendar, text.text()));
    EXPECT_EQ(calendar.GetCategories().front().GetCount(), 2);

    // Counting the skipped one makes the sum wrong.
    text.categories[0].events[2].counted = true;
    EXPECT_FALSE(load(calendar, text.text()));
}

TEST_F(TavrelRemoteCalendarTest, EventTagWithAnAttributeLosesItsCategory)
{
    CalendarText text = sports();
    text.categories[1].events.clear();
    std::u16string source = text.text();
    const std::size_t at = source.find(u"<Events>\n<Name>Tennis");
    source.insert(source.find(u"</Events>", at), u"<Event kind=\"x\"><Name>n</Name></Event>\n");
    CTavrelRemoteCalendar calendar;
    ASSERT_TRUE(load(calendar, source));
    ASSERT_EQ(calendar.GetCategories().size(), 1u);
    EXPECT_EQ(utf8(calendar.GetCategories().front().GetName()), "Soccer");

    // Deeper in the required structure, it loses the whole document.
    std::u16string broken = sports().text();
    broken.replace(broken.find(u"<BG04>"), 6, u"<BG04 id=\"4\">");
    EXPECT_FALSE(load(calendar, broken));
}

TEST_F(TavrelRemoteCalendarTest, SerializeWritesTheDocumentLineByLine)
{
    CalendarText text;
    text.version = u"0";
    text.categories = {{u"Soccer", {{u"Final", u"12/20/26", u"15:30", u"17:45", u"ball.gif"}}}, {u"Empty", {}}};
    CTavrelRemoteCalendar calendar;
    ASSERT_TRUE(load(calendar, text.text(), u"\\Cals\\Sports.xml"));
    EXPECT_EQ(calendar.GetVersion(), 0u);
    const std::string written = utf8(calendar.Serialize());
    EXPECT_EQ(calendar.GetVersion(), 2u);
    EXPECT_EQ(utf8(calendar.GetDocumentText()), written);

    std::string expected = "<Tavrel>\n\t<Name>Sports</Name>\n\t<Copyright>(c) 2026 Sports Desk</Copyright>\n"
                           "\t<Version>2</Version>\n\n\t<Backgrounds>\n";
    for (int month = 1; month <= 12; ++month) {
        char tag[16];
        std::snprintf(tag, sizeof tag, "BG%02d", month);
        expected += std::string("\t\t<") + tag + ">\n\t\t\t<Image>" + device::toUtf8(text.image(month))
            + "</Image>\n\t\t\t<Fade>40</Fade>\n\t\t\t<MonthTitle>title.gif</MonthTitle>\n"
              "\t\t\t<Daybar>daybar.gif</Daybar>\n\t\t</"
            + tag + ">\n";
    }
    expected += "\t</Backgrounds>\n\n"
                "\t<Events>\n\t\t<Name>Soccer</Name>\n"
                "\t\t<Event>\n\t\t\t<Name>Final</Name>\n\t\t\t<Date>12/20/26</Date>\n"
                "\t\t\t<StartTime>15:30</StartTime>\n\t\t\t<EndTime>17:45</EndTime>\n\t\t\t<Icon>ball.gif</Icon>\n"
                "\t\t</Event>\n\t</Events>\n\n"
                "\t<CheckSum>"
        + std::to_string(text.rightChecksum()) + "</CheckSum>\n</Tavrel>\n";
    EXPECT_EQ(written, expected);
}

TEST_F(TavrelRemoteCalendarTest, SerializedCalendarLoadsBackTheSame)
{
    CalendarText text = sports();
    // Years a two-digit year would move by a century.
    text.categories[1].events.push_back({u"Reunion", u"5/1/2035", u"18:00", u"23:00", u"racket.gif"});
    text.categories[1].events.push_back({u"Archive", u"5/1/1925", u"09:00", u"10:00", u"racket.gif"});
    CTavrelRemoteCalendar original;
    ASSERT_TRUE(load(original, text.text()));

    CTavrelRemoteCalendar again;
    ASSERT_TRUE(load(again, std::u16string(original.Serialize().View())));
    EXPECT_TRUE(again.IsSameAs(original));
    EXPECT_EQ(again.GetChecksum(), original.GetChecksum());
    ASSERT_EQ(again.GetCategories().size(), original.GetCategories().size());
    auto left = original.GetCategories().begin();
    for (const CTavrelEvents& category : again.GetCategories()) {
        EXPECT_EQ(eventsOf(category), eventsOf(*left));
        ++left;
    }
    for (int month = 1; month <= 12; ++month) {
        EXPECT_EQ(utf8(again.GetBackground(month)), utf8(original.GetBackground(month)));
        EXPECT_EQ(again.GetTransparency(month), original.GetTransparency(month));
    }
}

TEST_F(TavrelRemoteCalendarTest, ResetEqualityAndPictureSetters)
{
    CTavrelRemoteCalendar calendar;
    ASSERT_TRUE(load(calendar, sports().text()));
    CTavrelRemoteCalendar copy(calendar);
    EXPECT_TRUE(copy.IsSameAs(calendar));
    std::unique_ptr<CTavrelCalendar> clone = calendar.Clone();
    EXPECT_TRUE(clone->IsSameAs(calendar));
    EXPECT_EQ(utf8(clone->GetBackground(2)), utf8(calendar.GetBackground(2)));

    CTavrelRemoteCalendar elsewhere;
    ASSERT_TRUE(load(elsewhere, sports().text(), u"\\Other\\Sports.xml"));
    EXPECT_FALSE(elsewhere.IsSameAs(calendar));

    EXPECT_TRUE(calendar.SetDayBarImage(2, u"\\Pictures\\bar.gif"));
    EXPECT_EQ(utf8(calendar.GetDayBar(2)), "\\Pictures\\bar.gif");
    EXPECT_TRUE(calendar.SetBackground(2, u"\\Pictures\\snow.gif"));
    EXPECT_EQ(utf8(calendar.GetBackgroundImage(2)), "\\Pictures\\snow.gif");
    EXPECT_FALSE(calendar.SetMonthTitleImage(13, u"\\Pictures\\x.gif"));
    EXPECT_FALSE(calendar.SetBackground(0, u"\\Pictures\\x.gif"));
    EXPECT_EQ(utf8(calendar.GetMonthTitle(0)), "");

    calendar.SetTransparency(4, 90);
    calendar.Reset();
    EXPECT_EQ(utf8(calendar.GetName()), "");
    EXPECT_EQ(utf8(calendar.GetCopyright()), "\xC2\xA9" "2026 All Rights Reserved");
    EXPECT_EQ(utf8(calendar.GetLocation()), "");
    EXPECT_EQ(calendar.GetVersion(), 0u);
    EXPECT_EQ(calendar.GetChecksum(), 0u);
    EXPECT_TRUE(calendar.GetCategories().empty());
    EXPECT_EQ(calendar.GetTransparency(4), 50);
    EXPECT_EQ(utf8(calendar.GetDayBar(2)), "");
    EXPECT_EQ(utf8(calendar.GetBackground(1)), "");
}

// A calendar published on a server: its relative picture names are fetched from beside the
// document into the cache, and a picture the server lacks leaves its slot without a file but
// does not fail the load.
TEST_F(TavrelRemoteCalendarTest, RelativePicturesAreFetchedFromBesideTheDocument)
{
    const std::filesystem::path served = m_device.root() / "served";
    for (int month = 1; month <= 12; ++month)
        writeFile(served / "cals" / device::toUtf8(sports().image(month)), "background " + std::to_string(month));
    writeFile(served / "cals" / "title.gif", "title");
    writeFile(served / "cals" / "ball.gif", "ball");
    testing_support::LoopbackServer http(testing_support::LoopbackServer::Kind::Http, served);
    const std::u16string location = device::fromUtf8(http.url("cals/Sports.xml"));

    CTavrelRemoteCalendar calendar;
    ASSERT_TRUE(load(calendar, sports().text(), location.c_str()));
    const std::string folder = "\\TEMP\\Cached\\127.0.0.1%3A" + std::to_string(http.port()) + "\\cals\\";
    EXPECT_EQ(utf8(calendar.GetBackground(4)), folder + "bg04.gif");
    EXPECT_EQ(readFile(*device::DevicePath::toHost(calendar.GetBackground(4).View())), "background 4");
    EXPECT_EQ(readFile(*device::DevicePath::toHost(calendar.GetMonthTitle(4).View())), "title");
    EXPECT_EQ(utf8(calendar.GetDayBar(4)), folder + "daybar.gif");
    EXPECT_FALSE(std::filesystem::exists(*device::DevicePath::toHost(calendar.GetDayBar(4).View())));
    EXPECT_EQ(utf8(calendar.GetCategories().front().FindFirst(device::OleDateTime(2026, 12, 1, 0, 0, 0),
                                                              device::OleDateTime(2026, 12, 31, 0, 0, 0))
                       ->GetIcon()),
              folder + "ball.gif");
    // Each address is fetched once, however many events name it: 12 backgrounds, the title, the
    // day bar and two icons.
    EXPECT_EQ(m_host.urls.size(), 16u);
}

} // namespace
