#pragma once
// What the control socket's receive thread hands to the user-interface thread for one message: a
// private copy of the payload bytes and the sender's IPv4 address.

#include "protocol/TavrelDatagram.h"

#include <cstdint>

struct CTavrelControlRecord {
    CTavrelDatagram::Bytes payload;
    std::uint32_t senderAddress = 0; // host order
};
