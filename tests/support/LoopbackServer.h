#pragma once
// A real HTTP, HTTPS or FTP server on 127.0.0.1 for the download tests: Python's http.server or
// pyftpdlib (servers/loopback_server.py, run with /usr/bin/python3), serving a folder the test
// writes, on a free port the server picks itself. The HTTP servers also answer the special
// addresses below "/_/" that the script lists (redirect chains, a stalling server, one that dies
// half-way, ...). The server ends with this object, or with the test process however it ends.

#include <cstdint>
#include <filesystem>
#include <string>

namespace testing_support {

class LoopbackServer {
public:
    enum class Kind { Http, Https, Ftp };

    // Starts the server over `root`; throws std::runtime_error when it does not come up.
    LoopbackServer(Kind kind, const std::filesystem::path& root);
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    std::uint16_t port() const { return m_port; }
    // "http://127.0.0.1:PORT/" + path (path without its leading "/").
    std::string url(const std::string& path) const;
    // Ends the server now; later connections are refused.
    void stop();

    // The HTTPS server's self-signed certificate, to be trusted in place of the system's.
    static std::filesystem::path certificateFile();

private:
    Kind m_kind;
    int m_pid = -1;
    int m_stdin = -1;
    std::uint16_t m_port = 0;
};

} // namespace testing_support
