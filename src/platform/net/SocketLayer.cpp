#include "platform/net/SocketLayer.h"

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace net {

bool startupSocketLayer()
{
    // A peer that goes away must not end the program through SIGPIPE; every send reports its
    // failure instead.
    std::signal(SIGPIPE, SIG_IGN);
    int probe = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (probe < 0)
        return false;
    ::close(probe);
    return true;
}

void cleanupSocketLayer() {}

} // namespace net
