#include "platform/pim/Recipients.h"

namespace pim {

device::WideView Recipients::name(std::size_t index) const
{
    return index < m_names.size() ? device::WideView(m_names[index]) : device::WideView();
}

bool Recipients::add(device::WideView name)
{
    if (name.empty())
        return false;
    m_names.emplace_back(name);
    return true;
}

bool Recipients::remove(std::size_t index)
{
    if (index >= m_names.size())
        return false;
    m_names.erase(m_names.begin() + std::ptrdiff_t(index));
    return true;
}

} // namespace pim
