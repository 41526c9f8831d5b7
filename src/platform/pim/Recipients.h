#pragma once
// The people an appointment is with, by name. The calendar reads only their number; the admin
// tool and the editor list and change them.

#include "platform/device/WideText.h"

#include <cstddef>
#include <vector>

namespace pim {

class Recipients {
public:
    int count() const { return int(m_names.size()); }
    // Index from 0; empty text past the end.
    device::WideView name(std::size_t index) const;
    const std::vector<device::WideString>& names() const { return m_names; }

    // False for an empty name.
    bool add(device::WideView name);
    // False past the end.
    bool remove(std::size_t index);
    void clear() { m_names.clear(); }

    friend bool operator==(const Recipients&, const Recipients&) = default;

private:
    std::vector<device::WideString> m_names;
};

} // namespace pim
