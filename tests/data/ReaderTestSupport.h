#pragma once
// Stand-ins for what the reader talks to: a main window with a view that records what the reader
// posts, a sleeper that lets no time pass, and a store on a throw-away device.

#include "data/TavrelCalendarData.h"
#include "data/TavrelMainWindow.h"
#include "data/TavrelReader.h"
#include "data/TavrelReaderView.h"
#include "data/TavrelSettings.h"
#include "data/TavrelSleeper.h"
#include "platform/pim/Application.h"
#include "rules/TavrelRules.h"

#include "TempDevice.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace reader_test {

// A frame with a view. The view's date is `date`; `onGetDate` runs on each read of it, on the
// reader's thread, so a test can move the date or set a flag in the middle of a pass.
class StandInWindow : public CTavrelMainWindow, public CTavrelReaderView {
public:
    CTavrelReaderView* GetReaderView() override { return hasView ? this : nullptr; }
    void RefreshCalendarChecks() override { ++checkRefreshes; }
    void ReloadViewEvents() override { ++reloads; }

    device::OleDateTime GetCurrentDate() override
    {
        ++dateReads;
        if (onGetDate)
            onGetDate(*this);
        std::lock_guard guard(mutex);
        return date;
    }
    int GetViewMode() override { return mode.load(); }
    void PostRefreshEvents() override { ++posts; }

    void SetDate(const device::OleDateTime& value)
    {
        std::lock_guard guard(mutex);
        date = value;
    }

    std::mutex mutex;
    device::OleDateTime date{2026, 3, 4, 10, 0, 0};
    std::atomic<int> mode{CTavrelReaderView::Monthly};
    bool hasView = true;
    std::function<void(StandInWindow&)> onGetDate;
    std::atomic<int> dateReads{0};
    std::atomic<int> posts{0};
    int checkRefreshes = 0;
    int reloads = 0;
};

// Counts the sleeps instead of sleeping; `onSleep` sees the number of the sleep, from 1.
class CountingSleeper : public CTavrelSleeper {
public:
    void Sleep(std::chrono::milliseconds duration) override
    {
        total += duration;
        const int number = ++sleeps;
        if (onSleep)
            onSleep(number);
        if (realPause.count() > 0)
            std::this_thread::sleep_for(realPause);
    }
    std::atomic<int> sleeps{0};
    std::chrono::milliseconds total{0};
    std::chrono::milliseconds realPause{0};
    std::function<void(int)> onSleep;
};

struct Appointment {
    const char16_t* subject;
    device::OleDateTime start;
    device::OleDateTime end;
    const char16_t* categories = u"";
    int recipients = 0;
    int recurrence = -1; // a pim::olRecurs... type, or none
};

// Saves the appointment and returns its identifier (0 when the store refused it).
std::uint32_t addAppointment(pim::Application& store, const Appointment& appointment);

// A throw-away device with a logged-on store, settings, rules and the calendar data, wired to a
// stand-in frame.
class ReaderWorld {
public:
    ReaderWorld();
    ~ReaderWorld();

    CTavrelReader& Reader();
    std::uint32_t Add(const Appointment& appointment) { return addAppointment(*outlook, appointment); }
    // The names of the window collection's events, in order.
    std::vector<std::u16string> WindowNames();

    testing_support::TempDevice device;
    std::shared_ptr<pim::Application> outlook;
    std::shared_ptr<CTavrelSettings> settings;
    std::shared_ptr<CTavrelRules> rules;
    std::shared_ptr<CTavrelCalendarData> data;
    std::shared_ptr<CountingSleeper> sleeper;
    StandInWindow window;

private:
    std::unique_ptr<CTavrelReader> m_reader;
};

} // namespace reader_test
