#pragma once
// The socket layer's start-up, which the programs call before they use any socket (the handheld's
// WSAStartup). Here the host's sockets need no set-up of their own; start-up checks that a
// datagram socket can be created at all, so a program finds out at once, with its start-up message,
// rather than later when its first socket fails.

namespace net {

// True when sockets can be used. Calls may repeat; each successful one is matched by a cleanup.
bool startupSocketLayer();
void cleanupSocketLayer();

} // namespace net
