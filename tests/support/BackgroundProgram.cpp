#include "BackgroundProgram.h"

#include "ToolRunner.h"

#include <atomic>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace testing_support {

namespace {

std::string readWhole(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace

BackgroundProgram::BackgroundProgram(const std::string& name, const std::vector<std::string>& args,
                                     const std::vector<std::string>& environment)
{
    std::vector<std::string> argv = {programPath(name).string()};
    argv.insert(argv.end(), args.begin(), args.end());
    static std::atomic<int> counter{0};
    const std::string tag = std::to_string(::getpid()) + "-bg-" + std::to_string(++counter);
    const std::filesystem::path temp = std::filesystem::temp_directory_path();
    m_outFile = temp / ("tavrel-out-" + tag);
    m_errFile = temp / ("tavrel-err-" + tag);

    // Everything the child needs is prepared before fork: only async-signal-safe calls follow.
    std::vector<char*> pointers;
    for (auto& arg : argv)
        pointers.push_back(arg.data());
    pointers.push_back(nullptr);
    std::vector<std::string> settings = environment;
    const int in = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    const int out = ::open(m_outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    const int err = ::open(m_errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(in, 0);
        ::dup2(out, 1);
        ::dup2(err, 2);
        for (std::string& setting : settings)
            ::putenv(setting.data());
        ::execv(pointers[0], pointers.data());
        ::_exit(127);
    }
    for (int descriptor : {in, out, err})
        if (descriptor >= 0)
            ::close(descriptor);
    m_pid = pid;
}

BackgroundProgram::~BackgroundProgram()
{
    stop();
    std::error_code ignored;
    std::filesystem::remove(m_outFile, ignored);
    std::filesystem::remove(m_errFile, ignored);
}

bool BackgroundProgram::running()
{
    if (m_pid <= 0 || m_reaped)
        return false;
    int status = 0;
    const pid_t got = ::waitpid(m_pid, &status, WNOHANG);
    if (got == 0)
        return true;
    m_reaped = true;
    if (got == m_pid && WIFEXITED(status))
        m_exitCode = WEXITSTATUS(status);
    return false;
}

std::optional<int> BackgroundProgram::waitFor(std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (running()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return m_exitCode;
}

void BackgroundProgram::stop()
{
    if (!running())
        return;
    ::kill(m_pid, SIGTERM);
    if (waitFor(std::chrono::seconds(1)) || !running())
        return;
    ::kill(m_pid, SIGKILL);
    waitFor(std::chrono::seconds(5));
}

std::string BackgroundProgram::out() const
{
    return readWhole(m_outFile);
}

std::string BackgroundProgram::err() const
{
    return readWhole(m_errFile);
}

} // namespace testing_support
