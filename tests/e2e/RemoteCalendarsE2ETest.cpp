// Remote calendars in the real program, driven through their dialogs by scripts against loopback
// servers: attaching over HTTP and FTP, through the own host's directory and its links, the link
// picture, what the month view then shows on its own and in "<Combined>", hiding a category, a
// restart that reloads everything without the network, removing a calendar, and the messages of
// what goes wrong.

#include "CalendarDocument.h"
#include "LoopbackServer.h"
#include "TempDevice.h"
#include "ToolRunner.h"

#include "platform/gfx/ImageDecoder.h"
#include "platform/gfx/PngWriter.h"
#include "platform/gfx/Surface.h"

#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <unistd.h>

namespace {

using testing_support::CalendarDocument;
using testing_support::LoopbackServer;
using testing_support::ToolRun;

// The pictures of the served calendar, each one colour so the screen tells which is shown.
constexpr gfx::Colour Background = gfx::RGB(200, 40, 40);
constexpr gfx::Colour Title = gfx::RGB(30, 60, 200);
constexpr gfx::Colour DayBar = gfx::RGB(30, 160, 60);
constexpr gfx::Colour Ball = gfx::RGB(255, 0, 255);
constexpr gfx::Colour Racket = gfx::RGB(0, 255, 255);

CalendarDocument sports(const std::string& name = "Sports")
{
    CalendarDocument document;
    document.name = name;
    document.categories = {
        {"Soccer",
         {{"Final", "12/20/26", "15:30", "17:45", "ball.png"}, {"Derby", "12/6/26", "14:00", "16:00", "ball.png"}}},
        {"Tennis", {{"Open day", "12/12/26", "", "", "racket.png"}}},
    };
    return document;
}

class RemoteCalendarsE2ETest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(Device({"install"}).exitCode, 0);
        m_served = device.root() / "served";
        std::filesystem::create_directories(m_served / "cals");
        std::filesystem::create_directories(m_served / "calendars");
        for (const std::filesystem::path& folder : {m_served / "cals", m_served / "calendars"}) {
            for (int month = 1; month <= 12; ++month)
                Picture(folder / CalendarDocument::ofMonth("bg%02d.png", month), gfx::Surface(240, 240, Background));
            Picture(folder / "title.png", gfx::Surface(240, 28, Title));
            Picture(folder / "daybar.png", gfx::Surface(240, 12, DayBar));
            Picture(folder / "ball.png", Icon(Ball));
            Picture(folder / "racket.png", Icon(Racket));
        }
    }

    static void Picture(const std::filesystem::path& file, const gfx::Surface& picture)
    {
        ASSERT_TRUE(gfx::PngWriter::write(picture, file));
    }

    // An icon: its top-left colour (white) is left out when it is drawn.
    static gfx::Surface Icon(gfx::Colour colour)
    {
        gfx::Surface icon(16, 16, gfx::colours::white);
        icon.fillRect({2, 2, 14, 14}, colour);
        return icon;
    }

    void Serve(const std::string& path, const std::string& text) const
    {
        std::filesystem::create_directories((m_served / path).parent_path());
        std::ofstream(m_served / path, std::ios::binary) << text;
    }

    LoopbackServer& Http()
    {
        if (!m_http)
            m_http = std::make_unique<LoopbackServer>(LoopbackServer::Kind::Http, m_served);
        return *m_http;
    }

    LoopbackServer& Ftp()
    {
        if (!m_ftp)
            m_ftp = std::make_unique<LoopbackServer>(LoopbackServer::Kind::Ftp, m_served);
        return *m_ftp;
    }

    std::string File(const std::string& name) const { return (device.root() / name).string(); }

    std::string Script(const std::string& name, const std::string& text) const
    {
        std::ofstream(File(name)) << text;
        return File(name);
    }

    static std::string Read(const std::string& file)
    {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    // tavrel headless on the test's device with the clock at Tuesday 8 December 2026, 3:45 PM.
    ToolRun Calendar(const std::vector<std::string>& more) const
    {
        std::vector<std::string> arguments = {"--device",
                                              device.root().string(),
                                              "--headless",
                                              "--control-port",
                                              "0",
                                              "--notify-port",
                                              std::to_string(47000 + ::getpid() % 1000)};
        arguments.insert(arguments.end(), more.begin(), more.end());
        return testing_support::runProgram("tavrel", arguments, {"TAVREL_CLOCK=2026-12-08T15:45:00"});
    }

    // Runs a script of these lines; "$/" in a line stands for the test's device folder.
    ToolRun RunScript(const std::string& name, const std::vector<std::string>& lines) const
    {
        std::string text;
        for (std::string line : lines) {
            if (const std::size_t at = line.find("$/"); at != std::string::npos)
                line.replace(at, 2, device.root().string() + "/");
            text += line + "\n";
        }
        return Calendar({"--script", Script(name, text)});
    }

    ToolRun Device(const std::vector<std::string>& arguments) const
    {
        return testing_support::runDeviceTool(device.root(), arguments);
    }

    std::string Registry(const std::string& key, const std::string& value) const
    {
        const ToolRun run = Device({"reg", "get", "HKCU", key, value});
        return run.exitCode == 0 ? run.out : "(none)";
    }

    // How many pixels of the screenshot, within the rows given, have exactly this colour.
    static int Count(const std::string& png, gfx::Colour colour, int top = 0, int bottom = 320)
    {
        const std::optional<gfx::Surface> screen = gfx::ImageDecoder::decodeFile(png);
        EXPECT_TRUE(screen) << png;
        if (!screen)
            return -1;
        int count = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = 0; x < screen->width(); ++x)
                count += screen->pixel(x, y) == colour;
        return count;
    }

    testing_support::TempDevice device;
    std::filesystem::path m_served;
    std::unique_ptr<LoopbackServer> m_http;
    std::unique_ptr<LoopbackServer> m_ftp;
};

// Attached over HTTP: the calendar becomes current and shows its own background, month title, day
// bar and icons; "<Combined>" shows it over the program's own skin; a hidden category stays hidden
// after a restart, which reads everything from the local copy without the network — and a broken
// registry entry is told once and forgotten while the calendar still loads.
TEST_F(RemoteCalendarsE2ETest, AttachedOverHttpShownOnItsOwnAndCombinedHiddenCategoryKeptAcrossARestart)
{
    Serve("cals/Sports.xml", sports().text());
    const std::string address = Http().url("cals/Sports.xml");
    ToolRun run = RunScript("attach.script",
                            {"command 32807",
                             "idle",
                             "command 32799",
                             "dump $/open.txt",
                             "text 1004 " + address,
                             "dump $/typed.txt",
                             "press 1007",
                             "idle",
                             "dump $/attached.txt",
                             "press OK",
                             "idle",
                             "snap $/own.png",
                             "tap 20 307",
                             "dump $/menu.txt",
                             "choose Combined",
                             "idle",
                             "snap $/combined.png",
                             "tap 20 307",
                             "choose Sports",
                             "idle"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err.find("message-box:"), std::string::npos) << run.err;

    const std::string open = Read(File("open.txt"));
    EXPECT_EQ(open.rfind("window dialog id=139 ok=1 text=\"Attached Calendars\"\n", 0), 0u) << open;
    for (const char* line :
         {"control 1004 combobox shown=1 enabled=1 focused=0 checked=- selection=-1 editable=1 dropped=0 count=1 "
          "text=\"\"\n"
          "item 1004 0 selected=0 text=\"tavrel\"\n",
          "control 1007 button shown=1 enabled=0 focused=0 checked=- selection=- default=0 text=\"&Add\"\n",
          "control 1001 listbox shown=1 enabled=1 focused=0 checked=- selection=-1 count=0 text=\"\"\n",
          "control 1002 button shown=1 enabled=0 focused=0 checked=- selection=- default=0 text=\"Categories...\"\n",
          "control 1009 button shown=1 enabled=0 focused=0 checked=- selection=- default=0 text=\"&Remove Selected\"\n",
          "text=\"URL\"\n", "text=\"Links\"\n", "text=\"Current Calendars\"\n"})
        EXPECT_NE(open.find(line), std::string::npos) << line << "\n" << open;
    EXPECT_NE(Read(File("typed.txt")).find("control 1007 button shown=1 enabled=1 "), std::string::npos);
    const std::string attached = Read(File("attached.txt"));
    EXPECT_NE(
        attached.find("control 1001 listbox shown=1 enabled=1 focused=0 checked=- selection=-1 count=1 text=\"\"\n"
                      "item 1001 0 selected=0 text=\"Sports\"\n"),
        std::string::npos)
        << attached;

    // Kept: the address, the category flags, the local copy, the recent address.
    EXPECT_EQ(Registry("Software\\Orvix\\Tavrel\\Calendars\\Sports", "URL"), address + "\n");
    EXPECT_EQ(Registry("Software\\Orvix\\Tavrel\\Calendars\\Sports\\Tennis", "Visible"), "1\n");
    EXPECT_EQ(Registry("Software\\Orvix\\Tavrel\\Remote", "Recent0"), address + "\n");
    EXPECT_TRUE(std::filesystem::exists(device.host("TEMP/Cached/RemoteCalendars/Sports/Sports.XML")));

    // The menu lists it after Personal, checked: it was made current.
    const std::string menu = Read(File("menu.txt"));
    EXPECT_NE(menu.find("menu 0 1 id=500 enabled=1 checked=1 submenu=0 selected=0 text=\"Sports\"\n"
                        "menu 0 2 id=32776 enabled=1 checked=0 submenu=0 selected=0 text=\"Combined\"\n"
                        "menu 0 3 id=32799 enabled=1 checked=0 submenu=0 selected=0 text=\"Attached...\"\n"),
              std::string::npos)
        << menu;

    // On its own, over its own pictures (fade 100: the background exactly as it is).
    const std::string own = File("own.png");
    EXPECT_GT(Count(own, Background, 54), 25000);
    EXPECT_GT(Count(own, Title, 26, 54), 4000);
    EXPECT_GT(Count(own, DayBar, 54, 70), 2000);
    EXPECT_GT(Count(own, Ball), 50);
    EXPECT_GT(Count(own, Racket), 50);
    // In "<Combined>": over the program's skin, with the calendar's events.
    const std::string combined = File("combined.png");
    EXPECT_EQ(Count(combined, Background), 0);
    EXPECT_EQ(Count(combined, Title), 0);
    EXPECT_GT(Count(combined, Ball), 50);
    EXPECT_GT(Count(combined, Racket), 50);

    // Soccer hidden through Categories...: stored at once.
    run = RunScript("hide.script",
                    {"command 32799", "select 1001 Sports", "dump $/selected.txt", "press 1002",
                     "dump $/categories.txt", "check 1015 Soccer 0", "press OK", "press OK", "idle",
                     "snap $/hidden.png"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(Read(File("selected.txt")).find("control 1009 button shown=1 enabled=1 "), std::string::npos);
    EXPECT_NE(Read(File("selected.txt")).find("control 1002 button shown=1 enabled=1 "), std::string::npos);
    const std::string categories = Read(File("categories.txt"));
    EXPECT_EQ(categories.rfind("window dialog id=161 ok=1 text=\"Hide/Show Categories\"\n", 0), 0u) << categories;
    EXPECT_NE(categories.find("item 1015 0 selected=0 depth=0 expanded=0 checked=1 text=\"Soccer\"\n"
                              "item 1015 1 selected=0 depth=0 expanded=0 checked=1 text=\"Tennis\"\n"),
              std::string::npos)
        << categories;
    EXPECT_EQ(Registry("Software\\Orvix\\Tavrel\\Calendars\\Sports\\Soccer", "Visible"), "0\n");
    EXPECT_EQ(Count(File("hidden.png"), Ball), 0);
    EXPECT_GT(Count(File("hidden.png"), Racket), 50);

    // The next start: no server, and an entry in the registry that names no calendar.
    m_http->stop();
    ASSERT_EQ(Device({"reg", "set", "HKCU", "Software\\Orvix\\Tavrel\\Calendars\\Broken", "Note", "sz", "x"}).exitCode,
              0);
    run = Calendar({"--snapshot", File("restart.png")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.err.find("message-box: Tavrel: Error reading Calendar 'Broken'\n"), std::string::npos) << run.err;
    EXPECT_NE(Device({"reg", "list", "HKCU", "Software\\Orvix\\Tavrel\\Calendars\\Broken"}).exitCode, 0);
    const std::string restart = File("restart.png");
    EXPECT_EQ(Count(restart, Background), Count(File("hidden.png"), Background));
    EXPECT_GT(Count(restart, Title, 26, 54), 4000);
    EXPECT_EQ(Count(restart, Ball), 0);
    EXPECT_GT(Count(restart, Racket), 50);
}

// The own host ("tavrel" in the address list) points at an FTP server: its directory offers its
// calendars in Choose Location, the chosen one is fetched over FTP; the link picture's middle part
// attaches the sports example calendar from the same host.
TEST_F(RemoteCalendarsE2ETest, OwnHostDirectoryOverFtpLinksAndTheLinkPicture)
{
    Serve("cals/Concerts.xml", sports("Concerts").text());
    Serve("cals/Opera.xml", sports("Opera").text());
    Serve("calendars/Sports.xml", sports().text());
    const std::string base = "ftp://127.0.0.1:" + std::to_string(Ftp().port());
    Serve("Tavrel.xml",
          testing_support::hostDirectory(
              {{"Opera", base + "/cals/Opera.xml"}, {"Concerts", base + "/cals/Concerts.xml"}, {"No address", ""}}));
    ASSERT_EQ(Device({"reg", "set", "HKCU", "Software\\Orvix\\Tavrel\\Remote", "Host", "sz", base}).exitCode, 0);
    // "tap 120 90": the link picture's middle part, the sports example.
    const ToolRun run = RunScript("ftp.script",
                                  {"command 32799", "select 1004 tavrel", "idle", "dump $/choose.txt",
                                   "select 1001 Concerts", "idle", "tap 120 90", "idle", "dump $/attached.txt",
                                   "press OK", "idle", "tap 20 307", "dump $/menu.txt", "key Escape"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err.find("message-box:"), std::string::npos) << run.err;
    EXPECT_EQ(Read(File("choose.txt")),
              "window dialog id=162 ok=1 text=\"Choose Location\"\n"
              "control 1001 listbox shown=1 enabled=1 focused=1 checked=- selection=-1 count=2 text=\"\"\n"
              "item 1001 0 selected=0 text=\"Concerts\"\n"
              "item 1001 1 selected=0 text=\"Opera\"\n"
              "control -1 label shown=1 enabled=1 focused=0 checked=- selection=- text=\"Select Tavrel Link\"\n");
    const std::string attached = Read(File("attached.txt"));
    EXPECT_NE(attached.find("item 1001 0 selected=0 text=\"Concerts\"\nitem 1001 1 selected=0 text=\"Sports\"\n"),
              std::string::npos)
        << attached;
    EXPECT_EQ(Registry("Software\\Orvix\\Tavrel\\Calendars\\Concerts", "URL"), base + "/cals/Concerts.xml\n");
    EXPECT_EQ(Registry("Software\\Orvix\\Tavrel\\Calendars\\Sports", "URL"), base + "/calendars/Sports.xml\n");
    // Remembered where they were found; the cache holds the FTP host's files below its name.
    EXPECT_EQ(Registry("Software\\Orvix\\Tavrel\\Remote", "Recent0"), base + "/calendars/Sports.xml\n");
    EXPECT_EQ(Registry("Software\\Orvix\\Tavrel\\Remote", "Recent1"), base + "/cals/Concerts.xml\n");
    EXPECT_TRUE(std::filesystem::exists(
        device.host("TEMP/Cached/127.0.0.1%3A" + std::to_string(Ftp().port()) + "/cals/Concerts.xml")));
    // The first one attached became current.
    const std::string menu = Read(File("menu.txt"));
    EXPECT_NE(menu.find("menu 0 1 id=500 enabled=1 checked=1 submenu=0 selected=0 text=\"Concerts\"\n"
                        "menu 0 2 id=501 enabled=1 checked=0 submenu=0 selected=0 text=\"Sports\"\n"),
              std::string::npos)
        << menu;
}

// What goes wrong is told in a message box and the dialog stays: a tampered checksum, a newer
// format, and a server that hangs — the dialog lives on meanwhile with its status line (which is
// no calendar to remove or to show the categories of), and Escape ends it like a host that does
// not answer. Removing an attached calendar forgets it, and the program goes back to "<Personal>".
TEST_F(RemoteCalendarsE2ETest, FailuresAreToldTheDialogLivesWhileFetchingAndRemovingForgets)
{
    CalendarDocument tampered = sports("Tampered");
    tampered.checksum = tampered.rightChecksum() ^ 0x10000;
    Serve("cals/Tampered.xml", tampered.text());
    CalendarDocument newer = sports("Future");
    newer.version = "3";
    Serve("cals/Future.xml", newer.text());
    Serve("cals/Sports.xml", sports().text());
    ToolRun run = RunScript("fail.script",
                            {"command 32799",
                             "text 1004 " + Http().url("cals/Tampered.xml"),
                             "press 1007",
                             "idle",
                             "dump $/tampered.txt",
                             "press OK",
                             "dump $/after.txt",
                             "text 1004 " + Http().url("cals/Future.xml"),
                             "press 1007",
                             "idle",
                             "dump $/newer.txt",
                             "press OK",
                             "press OK",
                             "text 1004 " + Http().url("_/stall"),
                             "press 1007",
                             "select 1001 <Contacting Host...  Please Wait>",
                             "dump $/fetching.txt",
                             "press 1009",
                             "dump $/remove.txt",
                             "press OK",
                             "press 1002",
                             "dump $/categories.txt",
                             "press OK",
                             "key Escape",
                             "idle",
                             "dump $/cancelled.txt",
                             "press OK",
                             "text 1004 " + Http().url("cals/Sports.xml"),
                             "press 1007",
                             "idle",
                             "press OK",
                             "idle"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string invalid = "message text=\"Invalid calendar format.  File must be Tavrel compliant.\\nSee "
                                "http://www.tavrel.com for more information.\"\n";
    EXPECT_NE(Read(File("tampered.txt")).find(invalid), std::string::npos) << Read(File("tampered.txt"));
    // The dialog stays, its address in the field and Add enabled again.
    const std::string after = Read(File("after.txt"));
    EXPECT_EQ(after.rfind("window dialog id=139 ", 0), 0u) << after;
    EXPECT_NE(after.find("text=\"" + Http().url("cals/Tampered.xml") + "\"\n"), std::string::npos) << after;
    EXPECT_NE(after.find("control 1007 button shown=1 enabled=1 "), std::string::npos) << after;
    EXPECT_NE(Read(File("newer.txt"))
                  .find("message text=\"The remote calendar 'Future' uses a calendar format that is "
                        "newer than this version of Tavrel supports.  Please upgrade to the latest "
                        "version of Tavrel at\\rhttp://www.tavrel.com\"\n"),
              std::string::npos)
        << Read(File("newer.txt"));

    const std::string fetching = Read(File("fetching.txt"));
    EXPECT_NE(fetching.find("item 1001 0 selected=1 text=\"<Contacting Host...  Please Wait>\"\n"), std::string::npos)
        << fetching;
    EXPECT_NE(fetching.find("control 1007 button shown=1 enabled=0 "), std::string::npos) << fetching;
    EXPECT_NE(Read(File("remove.txt")).find("message text=\"Error deleting calendar\"\n"), std::string::npos);
    EXPECT_NE(Read(File("categories.txt")).find("message text=\"No calendar selected\"\n"), std::string::npos);
    EXPECT_NE(Read(File("cancelled.txt")).find("message text=\"Host not responding\"\n"), std::string::npos)
        << Read(File("cancelled.txt"));
    EXPECT_EQ(Registry("Software\\Orvix\\Tavrel\\Calendars\\Sports", "URL"), Http().url("cals/Sports.xml") + "\n");
    EXPECT_EQ(Registry("Software\\Orvix\\Tavrel\\Calendars\\Tampered", "URL"), "(none)");

    // Removed: registry key and local copy go, the menu forgets it, and "<Personal>" is shown.
    run = RunScript("remove.script",
                    {"command 32799", "select 1001 Sports", "press 1009", "dump $/removed.txt", "press OK", "idle",
                     "tap 20 307", "dump $/menu.txt", "key Escape"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string removed = Read(File("removed.txt"));
    EXPECT_NE(removed.find("selection=-1 count=0 text=\"\"\n"), std::string::npos) << removed;
    EXPECT_NE(removed.find("control 1009 button shown=1 enabled=0 "), std::string::npos) << removed;
    EXPECT_EQ(Registry("Software\\Orvix\\Tavrel\\Calendars\\Sports", "URL"), "(none)");
    EXPECT_FALSE(std::filesystem::exists(device.host("TEMP/Cached/RemoteCalendars/Sports")));
    const std::string menu = Read(File("menu.txt"));
    EXPECT_NE(menu.find("menu 0 0 id=32774 enabled=1 checked=1 submenu=0 selected=0 text=\"Personal\"\n"
                        "menu 0 1 id=32776 enabled=1 checked=0 submenu=0 selected=0 text=\"Combined\"\n"),
              std::string::npos)
        << menu;
    EXPECT_EQ(Registry("Software\\Orvix\\Tavrel", "CurrentCalendar"), "<Personal>\n");
}

// An iCalendar feed typed as a webcal address: attached under the name it gives with a category per
// CATEGORIES value, made current and listed in the menu, and there again after a restart without
// the network.
TEST_F(RemoteCalendarsE2ETest, ICalendarFeedAttachedByItsWebcalAddressAndReloadedAtStart)
{
    Serve("feeds/club.ics", "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Tavrel tests//EN\r\nX-WR-CALNAME:Club\r\n"
                            "BEGIN:VEVENT\r\nUID:m\r\nSUMMARY:Match\r\nCATEGORIES:Games\r\n"
                            "DTSTART:20261212T150000\r\nDTEND:20261212T170000\r\nEND:VEVENT\r\n"
                            "BEGIN:VEVENT\r\nUID:t\r\nSUMMARY:Training\r\nCATEGORIES:Training\r\n"
                            "DTSTART:20261201T180000\r\nDTEND:20261201T193000\r\nRRULE:FREQ=WEEKLY\r\nEND:VEVENT\r\n"
                            "END:VCALENDAR\r\n");
    std::string webcal = Http().url("feeds/club.ics");
    webcal.replace(0, 4, "webcal");
    ToolRun run = RunScript("feed.script", {"command 32799", "text 1004 " + webcal, "press 1007", "idle",
                                            "dump $/feed.txt", "select 1001 Club", "press 1002", "dump $/cats.txt",
                                            "press OK", "press OK", "idle", "snap $/feed.png", "tap 20 307",
                                            "dump $/menu.txt", "key Escape"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err.find("message-box:"), std::string::npos) << run.err;
    EXPECT_NE(Read(File("feed.txt")).find("item 1001 0 selected=0 text=\"Club\"\n"), std::string::npos)
        << Read(File("feed.txt"));
    EXPECT_NE(Read(File("cats.txt")).find("item 1015 0 selected=0 depth=0 expanded=0 checked=1 text=\"Training\"\n"
                                          "item 1015 1 selected=0 depth=0 expanded=0 checked=1 text=\"Games\"\n"),
              std::string::npos)
        << Read(File("cats.txt"));
    EXPECT_EQ(Registry("Software\\Orvix\\Tavrel\\Calendars\\Club", "URL"), webcal + "\n");
    EXPECT_EQ(Registry("Software\\Orvix\\Tavrel\\Calendars\\Club\\Games", "Visible"), "1\n");
    EXPECT_TRUE(std::filesystem::exists(device.host("TEMP/Cached/RemoteCalendars/Club/Club.XML")));
    const std::string clubItem = "menu 0 1 id=500 enabled=1 checked=1 submenu=0 selected=0 text=\"Club\"\n";
    EXPECT_NE(Read(File("menu.txt")).find(clubItem), std::string::npos) << Read(File("menu.txt"));

    // Without the server: read from the local copy, still current, nothing to tell.
    m_http->stop();
    run = RunScript("again.script", {"snap $/again.png", "tap 20 307", "dump $/again.txt", "key Escape"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err.find("message-box:"), std::string::npos) << run.err;
    EXPECT_NE(Read(File("again.txt")).find(clubItem), std::string::npos) << Read(File("again.txt"));
    EXPECT_EQ(Read(File("again.png")), Read(File("feed.png")));
}

} // namespace
