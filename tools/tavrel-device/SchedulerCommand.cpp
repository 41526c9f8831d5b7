#include "SchedulerCommand.h"

#include "platform/device/DeviceClock.h"
#include "platform/device/OleDateTime.h"
#include "platform/device/WideText.h"
#include "platform/scheduler/DueStarts.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <iostream>
#include <poll.h>
#include <unistd.h>

namespace {

constexpr const char* kUsage = "usage: tavrel-device scheduler [--watch | --list]\n"
                               "  (nothing)  start every program whose time has come, then end\n"
                               "  --watch    keep starting programs as their times come, until interrupted\n"
                               "  --list     the pending starts, earliest first: PROGRAM<TAB>TIME\n";

std::string TimeText(const device::SystemTime& time) { return device::toUtf8(device::OleDateTime(time).Format()); }

// Runs one pass; false when a start failed or the pending starts could not be taken.
bool StartDue(std::ostream& out, std::ostream& err)
{
    std::string error;
    bool allStarted = true;
    for (const scheduler::StartOutcome& outcome : scheduler::DueStarts::run(device::DeviceClock::localNow(), &error)) {
        const std::string program = device::toUtf8(outcome.start.program);
        if (outcome.started) {
            out << "started " << program << " (due " << TimeText(outcome.start.time) << ")" << std::endl;
        } else {
            err << "tavrel-device scheduler: cannot start " << program << ": " << outcome.error << std::endl;
            allStarted = false;
        }
    }
    if (!error.empty()) {
        err << "tavrel-device scheduler: " << error << std::endl;
        allStarted = false;
    }
    return allStarted;
}

// The write end of the pipe that a stop signal wakes the watch loop through.
int stopPipe = -1;

extern "C" void OnStopSignal(int)
{
    const char byte = 1;
    const int saved = errno;
    ssize_t ignored = ::write(stopPipe, &byte, 1);
    (void)ignored;
    errno = saved;
}

int Watch(std::ostream& out, std::ostream& err)
{
    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0) {
        err << "tavrel-device scheduler: cannot wait for signals" << std::endl;
        return 1;
    }
    stopPipe = pipeEnds[1];
    struct sigaction action { };
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    struct sigaction previousInterrupt {
    }, previousTerminate {};
    ::sigaction(SIGINT, &action, &previousInterrupt);
    ::sigaction(SIGTERM, &action, &previousTerminate);

    out << "watching the pending starts (interrupt to end)" << std::endl;
    for (;;) {
        const bool passed = StartDue(out, err);
        // Until the next start falls due, but often enough to notice starts registered meanwhile.
        // After a failure (a start the registry would not let go stays due) a whole interval
        // passes before the next try, so a broken registry does not fill the log.
        const auto longest = std::chrono::duration_cast<std::chrono::milliseconds>(SchedulerPollInterval);
        auto sleep = passed ? scheduler::DueStarts::sleepBefore(device::DeviceClock::localNow(), longest) : longest;
        sleep = std::max(sleep + std::chrono::milliseconds(10), std::chrono::milliseconds(200));
        pollfd wake {pipeEnds[0], POLLIN, 0};
        const int ready = ::poll(&wake, 1, int(sleep.count()));
        if (ready > 0)
            break;
    }
    ::sigaction(SIGINT, &previousInterrupt, nullptr);
    ::sigaction(SIGTERM, &previousTerminate, nullptr);
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);
    stopPipe = -1;
    out << "stopped" << std::endl;
    return 0;
}

int List(std::ostream& out)
{
    for (const scheduler::PendingStart& start : scheduler::PendingStarts::list())
        out << device::toUtf8(start.program) << '\t' << TimeText(start.time) << '\n';
    return 0;
}

} // namespace

int runSchedulerCommand(const std::vector<std::string>& args)
{
    return runSchedulerCommand(args, std::cout, std::cerr);
}

int runSchedulerCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.empty())
        return StartDue(out, err) ? 0 : 1;
    if (args.size() == 1) {
        if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
            out << kUsage;
            return 0;
        }
        if (args[0] == "--watch")
            return Watch(out, err);
        if (args[0] == "--list")
            return List(out);
    }
    // The first word that does not belong: an unknown one, or any after --watch or --list.
    const bool knownFirst = args[0] == "--watch" || args[0] == "--list";
    const std::string& culprit = knownFirst ? args[1] : args[0];
    err << "tavrel-device scheduler: " << (culprit.rfind("--", 0) == 0 && !knownFirst ? "unknown option " : "unexpected argument ")
        << "'" << culprit << "' (try --help)\n";
    return 2;
}

const char* schedulerCommandUsage() { return kUsage; }
