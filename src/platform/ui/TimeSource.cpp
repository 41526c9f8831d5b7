#include "platform/ui/TimeSource.h"

#include <chrono>

namespace ui {
namespace {

class SteadyTimeSource final : public TimeSource {
public:
    SteadyTimeSource() : m_start(std::chrono::steady_clock::now()) {}
    std::uint64_t now() const override
    {
        // Starts at 1 so that 0 can keep meaning "no time recorded" for callers.
        return 1 + std::uint64_t(std::chrono::duration_cast<std::chrono::milliseconds>(
                                     std::chrono::steady_clock::now() - m_start)
                                     .count());
    }
    bool isVirtual() const override { return false; }
    void advanceTo(std::uint64_t) override {}

private:
    std::chrono::steady_clock::time_point m_start;
};

class VirtualTimeSource final : public TimeSource {
public:
    explicit VirtualTimeSource(std::uint64_t start) : m_now(start) {}
    std::uint64_t now() const override { return m_now.load(); }
    bool isVirtual() const override { return true; }
    void advanceTo(std::uint64_t time) override
    {
        std::uint64_t current = m_now.load();
        while (time > current && !m_now.compare_exchange_weak(current, time)) {
        }
    }

private:
    std::atomic<std::uint64_t> m_now;
};

} // namespace

std::unique_ptr<TimeSource> TimeSource::steady() { return std::make_unique<SteadyTimeSource>(); }
std::unique_ptr<TimeSource> TimeSource::makeVirtual(std::uint64_t start) { return std::make_unique<VirtualTimeSource>(start); }

} // namespace ui
