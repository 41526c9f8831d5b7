#pragma once
// Downloads over HTTP, HTTPS and FTP (libcurl), as the device's internet access object does them:
// into a device file that only a complete, successful transfer replaces.
//
// Only those three protocols are spoken, also when a server redirects, so an address from a
// document can never make the device read a host file or talk another protocol. Redirects are
// followed up to the request's limit; the connect and total time-outs and the size limit hold for
// the whole transfer. Secure connections check the server's certificate against the system's
// authorities. Loopback addresses never go through a proxy; others use the environment's.
//
// download() runs on the calling thread until the transfer ends; DownloadTask runs one on a
// worker thread.

#include "platform/net/DownloadRequest.h"
#include "platform/net/DownloadResult.h"

namespace net {

[[nodiscard]] DownloadResult download(const DownloadRequest& request);

} // namespace net
