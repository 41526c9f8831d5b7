#include "platform/device/HostProcess.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace device {

namespace {

bool readAll(int descriptor, void* buffer, std::size_t size)
{
    auto* bytes = static_cast<char*>(buffer);
    std::size_t done = 0;
    while (done < size) {
        ssize_t got = ::read(descriptor, bytes + done, size - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        done += std::size_t(got);
    }
    return true;
}

} // namespace

std::optional<std::filesystem::path> HostProcess::findInPath(const std::string& name)
{
    if (name.empty() || name.find('/') != std::string::npos)
        return std::nullopt;
    const char* path = std::getenv("PATH");
    if (!path)
        return std::nullopt;
    std::string folders = path;
    std::size_t start = 0;
    while (start <= folders.size()) {
        std::size_t end = folders.find(':', start);
        if (end == std::string::npos)
            end = folders.size();
        std::filesystem::path candidate = std::filesystem::path(folders.substr(start, end - start)) / name;
        std::error_code ec;
        if (end > start && std::filesystem::is_regular_file(candidate, ec) && ::access(candidate.c_str(), X_OK) == 0)
            return candidate;
        start = end + 1;
    }
    return std::nullopt;
}

bool HostProcess::startDetached(const std::vector<std::string>& argv, std::string* error)
{
    return startDetached(argv, {}, error);
}

bool HostProcess::startDetached(const std::vector<std::string>& argv, const std::vector<std::string>& environment,
                                std::string* error)
{
    auto fail = [&](const std::string& why) {
        if (error)
            *error = why;
        return false;
    };
    if (argv.empty() || argv[0].empty())
        return fail("no program given");
    std::string program = argv[0];
    if (program.find('/') == std::string::npos) {
        std::optional<std::filesystem::path> found = findInPath(program);
        if (!found)
            return fail(program + " is not installed");
        program = found->string();
    }
    // Everything the children need is prepared here: between fork and exec only async-signal-safe
    // calls are made, since other threads of ours may hold locks at the moment of the fork.
    std::vector<char*> args;
    for (const std::string& argument : argv)
        args.push_back(const_cast<char*>(argument.c_str()));
    args[0] = program.data();
    args.push_back(nullptr);
    // Our environment, each setting given in `environment` replacing ours of the same name.
    auto nameOf = [](std::string_view setting) { return setting.substr(0, setting.find('=')); };
    std::vector<char*> settings;
    for (char** entry = environ; entry && *entry; ++entry) {
        const std::string_view name = nameOf(*entry);
        bool replaced = false;
        for (const std::string& given : environment)
            replaced = replaced || nameOf(given) == name;
        if (!replaced)
            settings.push_back(*entry);
    }
    for (const std::string& given : environment)
        settings.push_back(const_cast<char*>(given.c_str()));
    settings.push_back(nullptr);

    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0)
        return fail(std::strerror(errno));
    pid_t child = ::fork();
    if (child < 0) {
        int saved = errno;
        ::close(report[0]);
        ::close(report[1]);
        return fail(std::strerror(saved));
    }
    if (child == 0) {
        // The middle process: a new session, the program in a grandchild, and out at once, so
        // the host's init reaps the program.
        ::close(report[0]);
        ::setsid();
        pid_t grandchild = ::fork();
        if (grandchild == 0) {
            int in = ::open("/dev/null", O_RDONLY);
            if (in >= 0) {
                ::dup2(in, 0);
                if (in != 0)
                    ::close(in);
            }
            ::execve(args[0], args.data(), settings.data());
            int code = errno;
            ssize_t ignored = ::write(report[1], &code, sizeof code);
            (void)ignored;
            ::_exit(127);
        }
        if (grandchild < 0) {
            int code = errno;
            ssize_t ignored = ::write(report[1], &code, sizeof code);
            (void)ignored;
        }
        ::_exit(0);
    }
    ::close(report[1]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    // The pipe closes without a word when exec succeeded (close-on-exec); otherwise it carries the
    // reason.
    int code = 0;
    bool failed = readAll(report[0], &code, sizeof code);
    ::close(report[0]);
    if (failed)
        return fail(program + ": " + std::strerror(code));
    return true;
}

} // namespace device
