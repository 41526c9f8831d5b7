#pragma once
// The name of the zone the device keeps its local time in (the host's: $TZ, else
// /etc/timezone, else where /etc/localtime points into the zone database), when the zone
// database knows it; empty otherwise (a POSIX rule in $TZ, an unusual host).

#include <string>

namespace ical {

std::string hostZoneName();

} // namespace ical
