#pragma once
// CTavrelOwnHost: the system's own calendar host. The user reaches it by the single word "tavrel"
// (typed, chosen from the address list, or the first part of the link picture), and the link
// picture offers two example calendars on it. Its address is the registry value "Host" under
// HKEY_CURRENT_USER "Software\Orvix\Tavrel\Remote" (default "www.tavrel.com", written back when
// missing), so a user or a test can point it at a server of their own: "127.0.0.1:8000" and
// "https://cal.example.org/tavrel" both do.

#include "common/QoString.h"

class CTavrelOwnHost {
public:
    static constexpr const char16_t* Word = u"tavrel";
    static constexpr const char16_t* RemoteKeyPath = u"Software\\Orvix\\Tavrel\\Remote";
    static constexpr const char16_t* HostValue = u"Host";
    static constexpr const char16_t* DefaultHost = u"www.tavrel.com";
    static constexpr const char16_t* SportsPath = u"/calendars/Sports.xml";
    static constexpr const char16_t* ConcertsPath = u"/calendars/Concerts.xml";

    // Reads the host from the registry.
    CTavrelOwnHost();
    // A host given directly ("www.tavrel.com", "127.0.0.1:8000", "http://host/path").
    explicit CTavrelOwnHost(const CQoString& host);

    // The host directory document: "http://www.tavrel.com/Tavrel.xml".
    CQoString GetDirectoryAddress() const;
    CQoString GetSportsAddress() const { return m_base + SportsPath; }
    CQoString GetConcertsAddress() const { return m_base + ConcertsPath; }

private:
    // The host with its scheme and without a trailing "/".
    CQoString m_base;
};
