#pragma once
// CTavrelRemoteHost: what the remote calendars need of the program around them — telling the user
// something, and running a download. The defaults work without a window: messages go to standard
// error as headless message boxes do ("message-box: Tavrel: TEXT"), and a download runs on the
// calling thread. The program installs a host that shows message boxes; a dialog that fetches
// installs one that runs the download on a worker while its loop shows the progress.
//
// The installed host is process-wide, so the cache and the calendars reach it without every
// caller passing it down; a Scope installs one for its lifetime and puts the previous one back.

#include "common/QoString.h"
#include "platform/net/DownloadRequest.h"
#include "platform/net/DownloadResult.h"

class CTavrelRemoteHost {
public:
    static constexpr const char16_t* Caption = u"Tavrel";

    virtual ~CTavrelRemoteHost();

    virtual void ShowMessage(const CQoString& text);
    virtual net::DownloadResult Download(const net::DownloadRequest& request);
    // Whether a download is running while its dialog's loop goes on (a script's `idle` waits).
    virtual bool IsFetching() const { return false; }

    // The installed host, or the default one.
    static CTavrelRemoteHost& Current();

    class Scope {
    public:
        explicit Scope(CTavrelRemoteHost& host);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        CTavrelRemoteHost* m_previous;
    };
};
