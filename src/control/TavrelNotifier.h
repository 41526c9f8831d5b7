#pragma once
// Where notifications for control applications go. The control socket sends them to the notify
// port of 127.0.0.1; tests collect them.

#include "common/QoString.h"

class CTavrelNotifier {
public:
    virtual ~CTavrelNotifier() = default;
    // False when the text could not be sent (too long for one datagram, no socket, a host error).
    virtual bool Send(const CQoString& text) = 0;
};
