// Seeded random datagrams through the decoder and the dispatcher, for a bounded time. Each run
// uses the same seeds (TAVREL_FUZZ_SEED replaces the first), so a failure repeats; the seed and
// the round are in the failure message.
//
// What must hold for any input: decoding never reads past the bytes given (AddressSanitizer
// watches a buffer of exactly that size), nothing crashes or hangs, the registered calendar
// stays sound — every category in start order, valid times only, one place per activity ID — and
// no control character of a datagram (terminal escape sequences) reaches a message-box line.

#include "control/TavrelControlDispatcher.h"

#include "ControlTestSupport.h"

#include "data/TavrelRegisteredCalendar.h"
#include "platform/ui/MessageBox.h"
#include "protocol/TavrelDatagram.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <random>
#include <set>

namespace {

using Bytes = CTavrelDatagram::Bytes;

constexpr auto TimeBudget = std::chrono::seconds(3);
constexpr int MaxRounds = 40000;

std::uint32_t firstSeed()
{
    const char* text = std::getenv("TAVREL_FUZZ_SEED");
    return text && *text ? std::uint32_t(std::strtoul(text, nullptr, 10)) : 20260304u;
}

class Generator {
public:
    explicit Generator(std::uint32_t seed) : m_random(seed) {}

    int Below(int limit) { return std::uniform_int_distribution<int>(0, limit - 1)(m_random); }
    bool Chance(int percent) { return Below(100) < percent; }

    Bytes RandomBytes(std::size_t size)
    {
        Bytes out(size);
        for (auto& byte : out)
            byte = std::uint8_t(Below(256));
        return out;
    }

    // Mostly well-formed commands with hostile arguments.
    std::u16string Message()
    {
        static const char16_t* names[] = {u"SetCurrentCalendar", u"SetCurrentDate", u"SetCurrentView",
                                          u"ShowCalendar", u"Initialize", u"RegisterCalendar", u"RegisterFactory",
                                          u"AddActivity", u"updateactivity", u"DeleteActivity",
                                          u"DeleteAllActivities", u"Uninitialize", u"Bogus", u""};
        static const char16_t* values[] = {u"Projects", u"<Combined>", u"<personal>", u"Work", u"Home", u"A1", u"a1",
                                           u"A2", u"3/4/2026 9:00:00 AM", u"3/4/2026", u"12/31/9999 11:59:59 PM",
                                           u"1/1/100", u"2/30/2026", u"25:00", u"Daily", u"weekly", u"Quarterly",
                                           u"1", u"TRUE", u"0", u"", u"\"", u"%22", u";", u":", u"\u00E9\U0001F600",
                                           u"\xD800", u"Task,,Call", u"\x1B]0;owned\x07", u"\x1B[2J\r\n",
                                           u"\u009B31m", u"\x7F\x08\t"};
        std::u16string text = names[Below(int(std::size(names)))];
        const int count = Below(10);
        if (count > 0 || Chance(20))
            text += u':';
        for (int i = 0; i < count; ++i) {
            if (i > 0)
                text += Chance(95) ? u";" : u";;";
            std::u16string value = values[Below(int(std::size(values)))];
            if (Chance(10))
                value += values[Below(int(std::size(values)))];
            if (Chance(90))
                text += u'"' + value + u'"';
            else
                text += value;
        }
        return text;
    }

    // A datagram: a message, then perhaps damaged (cut, stretched, wrong length field).
    Bytes Datagram()
    {
        std::u16string text = Message();
        if (text.size() > CTavrelDatagram::MaxMessageLength)
            text.resize(CTavrelDatagram::MaxMessageLength);
        Bytes datagram = *CTavrelDatagram::Encode(text);
        switch (Below(8)) {
        case 0:
            datagram.resize(std::size_t(Below(int(datagram.size()) + 1)));
            break;
        case 1: {
            const std::uint32_t claimed = std::uint32_t(m_random());
            for (int i = 0; i < 4; ++i)
                datagram[4 + std::size_t(i)] = std::uint8_t(claimed >> (8 * i));
            break;
        }
        case 2:
            datagram[std::size_t(Below(int(datagram.size())))] = std::uint8_t(Below(256));
            break;
        case 3: {
            Bytes tail = RandomBytes(std::size_t(Below(40)));
            datagram.insert(datagram.end(), tail.begin(), tail.end());
            break;
        }
        default:
            break;
        }
        return datagram;
    }

private:
    std::mt19937 m_random;
};

class ControlFuzzTest : public control_test::ControlFixture {
protected:
    ControlFuzzTest() : dispatcher(*app, *host, notifier) {}

    // Decodes from a heap block of exactly `bytes.size()` bytes, so a read past it is caught.
    void Feed(const Bytes& bytes)
    {
        std::unique_ptr<std::uint8_t[]> exact(new std::uint8_t[bytes.size() ? bytes.size() : 1]);
        std::copy(bytes.begin(), bytes.end(), exact.get());
        CTavrelDatagram::Decoded decoded = CTavrelDatagram::Decode(exact.get(), bytes.size());
        const std::size_t available = bytes.size() > CTavrelDatagram::HeadSize ? bytes.size() - CTavrelDatagram::HeadSize : 0;
        ASSERT_LE(decoded.payload.size(), available);
        if (decoded.kind == CTavrelDatagram::Kind::Message)
            dispatcher.DispatchPayload(decoded.payload);
    }

    // The registered calendar's categories are sound.
    void CheckCalendar(std::uint32_t seed, int round)
    {
        std::lock_guard calendars(app->GetCalendarListLock());
        std::set<std::string> ids;
        for (const auto& calendar : app->GetCalendarData().GetRegisteredCalendars()) {
            ids.clear();
            for (CTavrelEvents& category : calendar->GetCategories()) {
                std::optional<device::OleDateTime> previous;
                category.ForEach([&](const CTavrelEvent& event) {
                    // The index by ID finds every activity.
                    const CTavrelEvent* found = category.FindByID(event.GetID());
                    ASSERT_TRUE(found && found->GetID().CompareNoCase(event.GetID()) == 0)
                        << control_test::utf8(event.GetID()) << ", seed " << seed << " round " << round;
                    ASSERT_EQ(event.GetStart().GetStatus(), device::DateTimeStatus::Valid) << seed << "/" << round;
                    ASSERT_EQ(event.GetEnd().GetStatus(), device::DateTimeStatus::Valid) << seed << "/" << round;
                    if (previous) {
                        ASSERT_FALSE(event.GetStart() < *previous) << "start order, seed " << seed << " round " << round;
                    }
                    previous = event.GetStart();
                    CQoString folded = event.GetID();
                    folded.MakeLower();
                    ASSERT_TRUE(ids.insert(control_test::utf8(folded)).second)
                        << "ID twice: " << control_test::utf8(event.GetID()) << ", seed " << seed << " round " << round;
                });
            }
        }
    }

    CTavrelControlDispatcher dispatcher;
};

TEST_F(ControlFuzzTest, AnyDatagramLeavesTheProgramAndItsCalendarSound)
{
    const auto deadline = std::chrono::steady_clock::now() + TimeBudget;
    int rounds = 0;
    for (std::uint32_t seed = firstSeed(); rounds < MaxRounds && std::chrono::steady_clock::now() < deadline; ++seed) {
        Generator generator(seed);
        for (int step = 0; step < 200 && rounds < MaxRounds; ++step, ++rounds) {
            if (generator.Chance(15))
                Feed(generator.RandomBytes(std::size_t(generator.Below(1100))));
            else
                Feed(generator.Datagram());
            if (HasFatalFailure())
                return;
            if (step % 20 == 0) {
                CheckCalendar(seed, step);
                if (HasFatalFailure())
                    return;
            }
            // What a headless run writes of a box never carries a control character of the text.
            for (const std::string& box : host->boxes) {
                for (unsigned char c : ui::MessageBoxDialog::headlessLine(u"Tavrel", device::fromUtf8(box)))
                    ASSERT_FALSE(c < 0x20 || c == 0x7F) << "control byte " << int(c) << " seed " << seed;
            }
            notifier.sent.clear();
            host->boxes.clear();
        }
        CheckCalendar(seed, 200);
    }
    RecordProperty("rounds", rounds);
    EXPECT_GT(rounds, 1000);
}

TEST_F(ControlFuzzTest, RandomTextsThroughTheArgumentSplitter)
{
    Generator generator(firstSeed() + 7);
    static const char16_t alphabet[] = u"\";:%2a ;\"\"";
    for (int round = 0; round < 20000; ++round) {
        std::u16string text;
        const int length = generator.Below(30);
        for (int i = 0; i < length; ++i)
            text += alphabet[generator.Below(int(std::size(alphabet)) - 1)];
        CTavrelControlMessage message(CQoString(text.c_str()));
        // Every argument's characters come from the text: nothing is invented.
        std::size_t total = 0;
        for (const CQoString& argument : message.GetArguments())
            total += argument.GetLength();
        ASSERT_LE(total + message.GetName().GetLength(), text.size()) << device::toUtf8(text);
    }
}

} // namespace
