// Reading a remote calendar document of 10,000 events (about 1.5 MB) as the program does when it
// attaches one or loads its local copy at start: parse the text into the tag tree, then load the
// calendar from it — 36 month pictures and an icon per event resolved through the download cache
// (all of them cached and young, so nothing is fetched), every date and time read in the locale,
// every event added to its start-ordered category, and the checksum checked. Target: under 50 ms.
//
// Beside it: the parse alone, writing the calendar back out (the local copy), and what attached
// calendars add to the program's start: three of 1,000 events each read back from their local
// copies with their category flags, and the peak memory that takes; and an iCalendar feed of
// about 8,000 occurrences read into a calendar, as attaching one does.

#include "data/TavrelSettings.h"
#include "platform/device/DeviceFolder.h"
#include "platform/device/FileSystem.h"
#include "platform/device/OleDateTime.h"
#include "remote/TavrelAttachedCalendarStore.h"
#include "remote/TavrelCachePath.h"
#include "remote/TavrelCalendarFormat.h"
#include "remote/TavrelRemoteCalendar.h"
#include "remote/TavrelRemoteHost.h"
#include "remote/XmlDocument.h"

#include "support/ScratchDevice.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <string>
#include <vector>

namespace {

constexpr int kEvents = 10'000;
constexpr int kCategories = 8;
// Never contacted: every picture is in the cache already; were one not, the fetch would go to a
// closed port of this machine and the benchmark stops.
constexpr char16_t kLocation[] = u"http://127.0.0.1:9/calendars/Sports.xml";
constexpr const char16_t* kIcons[] = {u"ball.gif", u"racket.gif", u"trophy.gif", u"whistle.gif", u"flag.gif"};
constexpr const char16_t* kTeams[] = {u"Rovers", u"Harbour", u"United", u"Athletic", u"Wanderers", u"Rangers"};


// Fails the run instead of fetching anything.
class NoFetchHost : public CTavrelRemoteHost {
public:
    net::DownloadResult Download(const net::DownloadRequest& request) override
    {
        std::fprintf(stderr, "bench_remote: a picture was not in the cache: %s\n", request.url.c_str());
        std::abort();
    }
};

void cachePicture(const std::u16string& name)
{
    // The location without "http:" and its file name: "//127.0.0.1:9/calendars/".
    const std::u16string folder(kLocation + 5, std::u16string_view(kLocation).rfind(u'/') + 1 - 5);
    const std::u16string address = folder + name;
    const CQoString path = CTavrelCachePath::ForAddress(address);
    const device::WideString cacheFolder(path.View().substr(0, path.View().rfind(u'\\')));
    if (!device::FileSystem::createDirectories(cacheFolder) || !device::FileSystem::writeAll(path.View(), "GIF89a", 6))
        std::abort();
}

std::u16string number(int value, int digits = 1)
{
    std::string text = std::to_string(value);
    while (int(text.size()) < digits)
        text.insert(text.begin(), '0');
    return device::fromUtf8(text);
}

// The document, with the checksum worked out the way the format defines it.
std::u16string makeDocument(const std::u16string& calendar = u"Sports", int events = kEvents)
{
    std::u16string text = u"<Tavrel>\n\t<Name>" + calendar
        + u"</Name>\n\t<Copyright>\u00A92026 Sports Desk</Copyright>\n"
          u"\t<Version>2</Version>\n\n\t<Backgrounds>\n";
    std::uint32_t sum = 0;
    for (int month = 1; month <= 12; ++month) {
        const std::u16string image = u"bg" + number(month, 2) + u".gif";
        for (char16_t c : image)
            sum += c & 0xFF;
        text += u"\t\t<BG" + number(month, 2) + u">\n\t\t\t<Image>" + image + u"</Image>\n\t\t\t<Fade>50</Fade>\n"
            + u"\t\t\t<MonthTitle>title" + number(month, 2) + u".gif</MonthTitle>\n\t\t\t<Daybar>daybar.gif</Daybar>\n"
            + u"\t\t</BG" + number(month, 2) + u">\n";
    }
    text += u"\t</Backgrounds>\n\n";
    const int perCategory = events / kCategories;
    for (int category = 0; category < kCategories; ++category) {
        text += u"\t<Events>\n\t\t<Name>League " + number(category + 1) + u"</Name>\n";
        for (int i = 0; i < perCategory; ++i) {
            const int serial = category * perCategory + i;
            const std::u16string name = std::u16string(kTeams[serial % 6]) + u" v " + kTeams[(serial + 1 + serial / 6) % 6];
            for (char16_t c : name)
                sum += std::uint32_t(c & 0xFF) << 16;
            // Events in date order through 2026 and 2027, a few a day.
            const int day = serial / 4;
            const int month = 1 + (day / 28) % 12;
            const int year = 26 + day / (28 * 12);
            const int hour = 9 + 3 * (serial % 4);
            text += u"\t\t<Event>\n\t\t\t<Name>" + name + u"</Name>\n\t\t\t<Date>" + number(month, 2) + u"/"
                + number(1 + day % 28, 2) + u"/" + number(year, 2) + u"</Date>\n\t\t\t<StartTime>" + number(hour, 2)
                + u":30</StartTime>\n\t\t\t<EndTime>" + number(hour + 2, 2) + u":15</EndTime>\n\t\t\t<Icon>"
                + kIcons[serial % 5] + u"</Icon>\n\t\t</Event>\n";
        }
        text += u"\t</Events>\n\n";
    }
    text += u"\t<CheckSum>" + device::fromUtf8(std::to_string(sum)) + u"</CheckSum>\n</Tavrel>\n";
    return text;
}

struct Fixture {
    Fixture()
    {
        for (int month = 1; month <= 12; ++month) {
            cachePicture(u"bg" + number(month, 2) + u".gif");
            cachePicture(u"title" + number(month, 2) + u".gif");
        }
        cachePicture(u"daybar.gif");
        for (const char16_t* icon : kIcons)
            cachePicture(icon);
        document = CQoString(makeDocument().c_str());
    }

    ScratchDevice device{"tavrel-bench-remote"};
    NoFetchHost host;
    CTavrelRemoteHost::Scope scope{host};
    CQoString document;
};

Fixture& fixture()
{
    static Fixture instance;
    return instance;
}

void BM_ParseDocument(benchmark::State& state)
{
    const CQoString& text = fixture().document;
    for (auto _ : state) {
        CXmlDocument document;
        benchmark::DoNotOptimize(document.Parse(text));
    }
    state.counters["chars"] = double(text.GetLength());
}
BENCHMARK(BM_ParseDocument)->Unit(benchmark::kMillisecond);

void BM_ParseAndLoadCalendar(benchmark::State& state)
{
    const CQoString& text = fixture().document;
    int events = 0;
    for (auto _ : state) {
        CXmlDocument document;
        document.Parse(text);
        CTavrelRemoteCalendar calendar;
        if (!calendar.Load(kLocation, document)) {
            state.SkipWithError("the document did not load");
            return;
        }
        events = 0;
        for (const CTavrelEvents& category : calendar.GetCategories())
            events += category.GetCount();
    }
    if (events != kEvents)
        state.SkipWithError("not every event was loaded");
    state.counters["events"] = events;
    state.counters["chars"] = double(text.GetLength());
}
BENCHMARK(BM_ParseAndLoadCalendar)->Unit(benchmark::kMillisecond);

void BM_SerializeCalendar(benchmark::State& state)
{
    CXmlDocument document;
    document.Parse(fixture().document);
    CTavrelRemoteCalendar calendar;
    if (!calendar.Load(kLocation, document)) {
        state.SkipWithError("the document did not load");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(calendar.Serialize());
}
BENCHMARK(BM_SerializeCalendar)->Unit(benchmark::kMillisecond);

// An iCalendar feed as a remote calendar: 2,000 one-off events and 100 weekly series around today,
// read, expanded over the window and made into a calendar (about 8,000 events in 10 categories).
std::string feedText()
{
    const device::OleDateTime today = device::OleDateTime::GetCurrentTime();
    std::string text = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Tavrel bench//EN\r\nX-WR-CALNAME:Bench\r\n";
    char line[256];
    for (int i = 0; i < 2'100; ++i) {
        // One-off events over the window, series from its first week on.
        const bool series = i >= 2'000;
        const device::OleDateTime day(today.GetValue() - 60 + (series ? i % 7 : i % 420));
        std::snprintf(line, sizeof line,
                      "BEGIN:VEVENT\r\nUID:%d\r\nSUMMARY:Event %d\r\nCATEGORIES:Group %d\r\n"
                      "DTSTART:%04d%02d%02dT%02d0000\r\nDTEND:%04d%02d%02dT%02d3000\r\n%sEND:VEVENT\r\n",
                      i, i, i % 10, day.GetYear(), day.GetMonth(), day.GetDay(), 8 + i % 10, day.GetYear(),
                      day.GetMonth(), day.GetDay(), 8 + i % 10, series ? "RRULE:FREQ=WEEKLY\r\n" : "");
        text += line;
    }
    return text + "END:VCALENDAR\r\n";
}

void BM_ReadICalendarFeed(benchmark::State& state)
{
    const std::string text = feedText();
    const std::vector<std::uint8_t> bytes(text.begin(), text.end());
    const CQoString address = u"http://127.0.0.1:9/feeds/bench.ics";
    const CTavrelCalendarFormat& format = CTavrelCalendarFormats::For(address);
    int events = 0;
    for (auto _ : state) {
        CQoString message;
        const std::unique_ptr<CTavrelRemoteCalendar> calendar = format.Read(address, bytes, message);
        if (!calendar) {
            state.SkipWithError("the feed was not read");
            return;
        }
        events = 0;
        for (const CTavrelEvents& category : calendar->GetCategories())
            events += category.GetCount();
    }
    state.counters["events"] = events;
    state.counters["bytes"] = double(bytes.size());
}
BENCHMARK(BM_ReadICalendarFeed)->Unit(benchmark::kMillisecond);

// Kilobytes of a line of /proc/self/status ("VmRSS", "VmHWM").
long statusKilobytes(const std::string& field)
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind(field + ":", 0) == 0)
            return std::stol(line.substr(field.size() + 1));
    }
    return -1;
}

// The three attached calendars, saved once into the fixture's device as attaching saves them.
bool saveAttachedCalendars()
{
    fixture();
    CTavrelSettings settings;
    CTavrelAttachedCalendarStore store(settings);
    for (int i = 1; i <= 3; ++i) {
        CXmlDocument document;
        CTavrelRemoteCalendar calendar;
        CQoString message;
        const std::u16string name = u"League " + number(i);
        if (!document.Parse(CQoString(makeDocument(name, 1'000).c_str())) || !calendar.Load(kLocation, document)
            || !store.Save(calendar, message))
            return false;
    }
    return true;
}

void BM_LoadThreeAttachedCalendars(benchmark::State& state)
{
    static const bool saved = saveAttachedCalendars();
    if (!saved) {
        state.SkipWithError("the attached calendars could not be saved");
        return;
    }
    CTavrelSettings settings;
    CTavrelAttachedCalendarStore store(settings);

    // The peak of the resident memory while they load, above what the process held before: free
    // memory goes back to the host first, and the host forgets its earlier peak when told "5"
    // through clear_refs.
    ::malloc_trim(0);
    const bool reset = bool(std::ofstream("/proc/self/clear_refs") << "5");
    const long before = statusKilobytes("VmRSS");
    {
        CTavrelAttachedCalendarStore::Loaded loaded = store.LoadAll();
        benchmark::DoNotOptimize(loaded);
    }
    if (reset && before > 0)
        state.counters["peak_MiB"] = double(statusKilobytes("VmHWM") - before) / 1024.0;

    int events = 0;
    for (auto _ : state) {
        CTavrelAttachedCalendarStore::Loaded loaded = store.LoadAll();
        events = 0;
        for (const auto& calendar : loaded.calendars)
            for (const CTavrelEvents& category : calendar->GetCategories())
                events += category.GetCount();
        benchmark::DoNotOptimize(loaded);
    }
    if (events != 3'000)
        state.SkipWithError("not every event was loaded");
    state.counters["events"] = events;
}
BENCHMARK(BM_LoadThreeAttachedCalendars)->Unit(benchmark::kMillisecond);

} // namespace
