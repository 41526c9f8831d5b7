#pragma once
// Installs a value into a process-wide replaceable hook (a handler, a mode, an installed service)
// for the life of a scope, and puts back what was installed before on every way out of the scope:
// the end of the block, an early return or an exception. Hooks installed one after the other are
// put back in the reverse order, so nested installations unwind as they were made.
//
//     device::ScopedHook<DocumentOpener::Mode> reporting(&DocumentOpener::mode, &DocumentOpener::setMode,
//                                                        DocumentOpener::Mode::Report);

#include <functional>
#include <utility>

namespace device {

template <typename Value>
class ScopedHook {
public:
    // `current` reads what is installed now; `install` replaces it (its result, if any, is not used).
    ScopedHook(std::function<Value()> current, std::function<void(Value)> install, Value value)
        : m_install(std::move(install)), m_previous(current())
    {
        m_install(std::move(value));
    }
    ~ScopedHook() { m_install(std::move(m_previous)); }

    ScopedHook(const ScopedHook&) = delete;
    ScopedHook& operator=(const ScopedHook&) = delete;

    // What comes back when the scope ends.
    const Value& previous() const { return m_previous; }

private:
    std::function<void(Value)> m_install;
    Value m_previous;
};

} // namespace device
