#include "data/TavrelSleeper.h"

#include <thread>

namespace {

class SystemSleeper final : public CTavrelSleeper {
public:
    void Sleep(std::chrono::milliseconds duration) override { std::this_thread::sleep_for(duration); }
};

} // namespace

CTavrelSleeper& CTavrelSleeper::System()
{
    static SystemSleeper sleeper;
    return sleeper;
}
