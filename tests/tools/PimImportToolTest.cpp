// tavrel-device pim import and export, run as the real program: the summary line and every event
// left out with its reason, bad files refused whole with the store unchanged, big files showing
// progress, and exports that libical and Python's icalendar package both read.

#include "TempDevice.h"
#include "ToolRunner.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>

using namespace testing_support;

namespace {

const std::string kZone = "TZ=Europe/Berlin";

class PimImportTool : public ::testing::Test {
protected:
    ToolRun tool(std::vector<std::string> args)
    {
        args.insert(args.begin(), {"--device", device.root().string()});
        return runProgram("tavrel-device", args, {kZone, "TAVREL_CLOCK=2026-12-08T10:00:00"});
    }

    std::filesystem::path write(const std::string& name, const std::string& text)
    {
        const std::filesystem::path path = device.root() / name;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

    std::string listing() { return tool({"pim", "list", "--from", "1/1/2026", "--to", "12/31/2027"}).out; }

    TempDevice device;
};

std::string calendar(const std::string& events)
{
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Tavrel tests//EN\r\n" + events + "END:VCALENDAR\r\n";
}

std::string event(const std::string& uid, const std::string& lines)
{
    return "BEGIN:VEVENT\r\nUID:" + uid + "\r\nDTSTAMP:20261201T000000Z\r\n" + lines + "END:VEVENT\r\n";
}

const std::string kSample = calendar(
    event("standup", "DTSTART;TZID=Europe/Berlin:20261201T090000\r\nDURATION:PT15M\r\n"
                     "RRULE:FREQ=WEEKLY;BYDAY=TU,TH;COUNT=8\r\nEXDATE;TZID=Europe/Berlin:20261203T090000\r\n"
                     "SUMMARY:Standup\r\nCATEGORIES:Work\r\nATTENDEE;CN=Ann:mailto:ann@example.com\r\n") +
    event("holidays", "DTSTART;VALUE=DATE:20261224\r\nDTEND;VALUE=DATE:20261227\r\nSUMMARY:Holidays\r\n") +
    event("pill", "DTSTART:20261210T080000Z\r\nDURATION:PT10M\r\nRRULE:FREQ=HOURLY;INTERVAL=4;COUNT=3\r\nSUMMARY:Pill\r\n") +
    event("every-second", "DTSTART:20261201T000000Z\r\nRRULE:FREQ=SECONDLY\r\nSUMMARY:Ticker\r\n") +
    event("lost", "SUMMARY:No start\r\n") +
    "BEGIN:VTODO\r\nUID:todo\r\nSUMMARY:Task\r\nEND:VTODO\r\n");

TEST_F(PimImportTool, ImportSaysWhatItBroughtAndNamesWhatItLeftOut)
{
    const auto started = std::chrono::steady_clock::now();
    const ToolRun imported = tool({"pim", "import", write("sample.ics", kSample).string()});
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(60)); // the ticker is bounded
    ASSERT_EQ(imported.exitCode, 0) << imported.err;
    EXPECT_EQ(imported.out, "imported 3 events: 1 single, 1 as series, 1 expanded into 3 occurrences between 12/8/2025 "
                            "and 12/8/2028; 2 skipped (store: 5 added, 0 updated, 0 removed)\n");
    EXPECT_NE(imported.err.find("left out the event on line 30 \"Ticker\" (UID every-second): the store cannot repeat it "
                                "(it repeats within a day) and it has more than 10000 occurrences between 12/8/2025 "
                                "and 12/8/2028"),
              std::string::npos)
        << imported.err;
    EXPECT_NE(imported.err.find("left out the event on line 37 \"No start\" (UID lost): it has no DTSTART"), std::string::npos);
    EXPECT_NE(imported.err.find("left out 1 VTODO (not an event)"), std::string::npos);
    const std::string december = tool({"pim", "list", "--from", "12/1/2026", "--to", "12/31/2026"}).out;
    EXPECT_NE(december.find("\t12/8/2026 9:00:00 AM\t12/8/2026 9:15:00 AM\tStandup\tWork\tAnn\toccurrence\n"), std::string::npos);
    EXPECT_EQ(december.find("12/3/2026 9:00:00 AM"), std::string::npos); // the EXDATE
    EXPECT_NE(december.find("\t12/24/2026\t12/26/2026\tHolidays\t"), std::string::npos);
    EXPECT_NE(december.find("\t12/10/2026 5:00:00 PM\t12/10/2026 5:10:00 PM\tPill\t"), std::string::npos);

    // Once more, from standard input: nothing new.
    const std::filesystem::path out = device.root() / "out.txt";
    const std::string command = "TZ=Europe/Berlin TAVREL_CLOCK=2026-12-08T10:00:00 '" +
        programPath("tavrel-device").string() + "' --device '" + device.root().string() + "' pim import - < '" +
        (device.root() / "sample.ics").string() + "' > '" + out.string() + "' 2>/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    std::stringstream again;
    again << std::ifstream(out).rdbuf();
    EXPECT_NE(again.str().find("(store: 0 added, 5 updated, 0 removed)"), std::string::npos) << again.str();
}

TEST_F(PimImportTool, BadFilesAreRefusedWholeAndTheStoreStaysAsItWas)
{
    ASSERT_EQ(tool({"pim", "import", write("good.ics", calendar(event("a", "DTSTART:20261201T090000\r\nSUMMARY:A\r\n"))).string()})
                  .exitCode,
              0);
    const std::string before = listing();
    const auto refused = [&](const std::string& name, const std::string& bytes) {
        const ToolRun run = tool({"pim", "import", write(name, bytes).string()});
        EXPECT_EQ(run.exitCode, 1) << name;
        EXPECT_EQ(listing(), before) << name;
        return run.err;
    };
    const std::string cut = calendar(event("b", "DTSTART:20261202T090000\r\nSUMMARY:B\r\n") +
                                     event("c", "DTSTART:20261203T090000\r\nSUMMARY:C\r\n"));
    EXPECT_EQ(refused("cut.ics", cut.substr(0, cut.size() - 40)),
              "tavrel-device pim import: the file ends inside the VEVENT begun on line 10: it is cut short; nothing was "
              "imported\n");
    EXPECT_EQ(refused("latin1.ics", calendar(event("d", "DTSTART:20261204T090000\r\nSUMMARY:Caf\xE9\r\n"))),
              "tavrel-device pim import: line 8 is not UTF-8 text (iCalendar files are UTF-8; convert it first, e.g. "
              "with iconv); nothing was imported\n");
    EXPECT_EQ(refused("notes.csv", "Subject,Start\r\nDentist,12/8/2026\r\n"),
              "tavrel-device pim import: this is not an iCalendar file (it does not begin with BEGIN:VCALENDAR); "
              "nothing was imported\n");
    // 100 MB: refused before it is read.
    const std::filesystem::path huge = device.root() / "huge.ics";
    std::ofstream(huge).close();
    std::filesystem::resize_file(huge, 100u * 1024 * 1024);
    const auto started = std::chrono::steady_clock::now();
    const ToolRun big = tool({"pim", "import", huge.string()});
    EXPECT_EQ(big.exitCode, 1);
    EXPECT_EQ(big.err, "tavrel-device pim import: '" + huge.string() + "' is 100.0 MB; pim import reads files of up to 64.0 MB\n");
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));

    EXPECT_EQ(tool({"pim", "import", (device.root() / "missing.ics").string()}).exitCode, 1);
    EXPECT_EQ(tool({"pim", "import"}).exitCode, 2);
    EXPECT_EQ(tool({"pim", "import", "a.ics", "b.ics"}).exitCode, 2);
    EXPECT_EQ(tool({"pim", "import", "--from", "1/1/2026", "a.ics"}).exitCode, 2);
    EXPECT_EQ(tool({"pim", "export", "--window", "x"}).exitCode, 2);
}

TEST_F(PimImportTool, AFileOfThousandsOfEventsShowsItsProgress)
{
    std::string events;
    for (int i = 0; i < 6000; ++i) {
        char start[32];
        std::snprintf(start, sizeof start, "2026%02d%02dT%02d0000", 1 + i % 12, 1 + i % 28, 8 + i % 10);
        events += event("bulk-" + std::to_string(i), std::string("DTSTART:") + start + "\r\nDURATION:PT30M\r\nSUMMARY:Bulk\r\n");
    }
    const ToolRun run = tool({"pim", "import", write("bulk.ics", calendar(events)).string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.err.find("tavrel-device pim import: read 5000 of 6000\n"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("tavrel-device pim import: wrote 6000 of 6000\n"), std::string::npos) << run.err;
    EXPECT_NE(run.out.find("imported 6000 events: 6000 single"), std::string::npos);
}

TEST_F(PimImportTool, ExportsAreReadByPythonsIcalendarToo)
{
    ASSERT_EQ(tool({"pim", "import", write("sample.ics", kSample).string()}).exitCode, 0);
    const std::filesystem::path exported = device.root() / "export.ics";
    const ToolRun run = tool({"pim", "export", exported.string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "exported 5 events to " + exported.string() + "\n");
    // Only what touches the period: the holidays alone.
    const ToolRun period = tool({"pim", "export", "--from", "12/25/2026", "--to", "12/25/2026"});
    EXPECT_NE(period.out.find("SUMMARY:Holidays"), std::string::npos);
    EXPECT_EQ(period.out.find("SUMMARY:Standup"), std::string::npos);

    // An independent reader: every event, the series with its rule and deleted day, zones named.
    const std::string script = R"py(
import sys, icalendar
cal = icalendar.Calendar.from_ical(open(sys.argv[1], 'rb').read())
for e in cal.walk('VEVENT'):
    start = e.decoded('DTSTART')
    rule = e.get('RRULE')
    ex = e.get('EXDATE')
    print(str(e.get('SUMMARY')), start.isoformat(), getattr(getattr(start, 'tzinfo', None), 'zone', '-'),
          rule.to_ical().decode() if rule else '-', ex.to_ical().decode() if ex is not None else '-', sep='|')
)py";
    const std::filesystem::path scriptFile = write("read.py", script);
    const std::filesystem::path out = device.root() / "python.txt";
    const std::string command = "/usr/bin/python3 '" + scriptFile.string() + "' '" + exported.string() + "' > '" +
        out.string() + "' 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << "python3-icalendar could not read the export";
    std::stringstream python;
    python << std::ifstream(out).rdbuf();
    const std::string lines = python.str();
    EXPECT_NE(lines.find("Standup|2026-12-01T09:00:00+01:00|Europe/Berlin|FREQ=WEEKLY;COUNT=8;BYDAY=TU,TH;WKST=SU|20261203T090000"),
              std::string::npos)
        << lines;
    EXPECT_NE(lines.find("Holidays|2026-12-24|-|-|-"), std::string::npos) << lines;
    EXPECT_NE(lines.find("Pill|2026-12-10T09:00:00+01:00|Europe/Berlin|-|-"), std::string::npos) << lines;
}

} // namespace
