#include "LoopbackServer.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace testing_support {

namespace {

constexpr char Interpreter[] = "/usr/bin/python3";
constexpr auto StartTimeout = std::chrono::seconds(20);

std::filesystem::path serversFolder() { return TAVREL_TEST_SERVERS_DIR; }

const char* kindName(LoopbackServer::Kind kind)
{
    switch (kind) {
    case LoopbackServer::Kind::Http:
        return "http";
    case LoopbackServer::Kind::Https:
        return "https";
    case LoopbackServer::Kind::Ftp:
        return "ftp";
    }
    return "http";
}

// Reads the server's first line ("PORT n") within the time; empty when none came.
std::string readFirstLine(int descriptor)
{
    std::string line;
    const auto deadline = std::chrono::steady_clock::now() + StartTimeout;
    while (line.find('\n') == std::string::npos) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return {};
        pollfd waiting{descriptor, POLLIN, 0};
        const int ready = ::poll(&waiting, 1, int(left.count()));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return {};
        char buffer[64];
        const ssize_t got = ::read(descriptor, buffer, sizeof buffer);
        if (got <= 0)
            return {};
        line.append(buffer, std::size_t(got));
    }
    return line.substr(0, line.find('\n'));
}

} // namespace

LoopbackServer::LoopbackServer(Kind kind, const std::filesystem::path& root) : m_kind(kind)
{
    int input[2], output[2];
    if (::pipe2(input, O_CLOEXEC) != 0)
        throw std::runtime_error("cannot make a pipe for the test server");
    if (::pipe2(output, O_CLOEXEC) != 0) {
        ::close(input[0]);
        ::close(input[1]);
        throw std::runtime_error("cannot make a pipe for the test server");
    }
    std::vector<std::string> argv = {Interpreter, (serversFolder() / "loopback_server.py").string(), kindName(kind),
                                     root.string()};
    std::vector<char*> pointers;
    for (std::string& arg : argv)
        pointers.push_back(arg.data());
    pointers.push_back(nullptr);

    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(input[0], 0);
        ::dup2(output[1], 1);
        ::execv(Interpreter, pointers.data());
        ::_exit(127);
    }
    ::close(input[0]);
    ::close(output[1]);
    m_stdin = input[1];
    m_pid = pid;
    if (pid < 0) {
        ::close(output[0]);
        stop();
        throw std::runtime_error("cannot start the test server");
    }
    const std::string line = readFirstLine(output[0]);
    ::close(output[0]);
    if (line.rfind("PORT ", 0) != 0) {
        stop();
        throw std::runtime_error(std::string("the ") + kindName(kind) + " test server did not start (is "
                                 + Interpreter + " with python3-pyftpdlib installed?)");
    }
    m_port = std::uint16_t(std::stoi(line.substr(5)));
}

LoopbackServer::~LoopbackServer()
{
    stop();
}

std::string LoopbackServer::url(const std::string& path) const
{
    return std::string(kindName(m_kind)) + "://127.0.0.1:" + std::to_string(m_port) + "/" + path;
}

void LoopbackServer::stop()
{
    if (m_stdin >= 0) {
        ::close(m_stdin);
        m_stdin = -1;
    }
    if (m_pid > 0) {
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, nullptr, 0);
        m_pid = -1;
    }
}

std::filesystem::path LoopbackServer::certificateFile()
{
    return serversFolder() / "loopback-test-cert.pem";
}

} // namespace testing_support
