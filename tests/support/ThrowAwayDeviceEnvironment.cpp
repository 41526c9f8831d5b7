// Every test of this program runs on a throw-away device, even one that does not ask for its own:
// the event model asks the registry for the logging switch, and that must never reach a real
// device folder.

#include "TempDevice.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class DeviceEnvironment : public ::testing::Environment {
public:
    void SetUp() override { m_device = std::make_unique<testing_support::TempDevice>(); }
    void TearDown() override { m_device.reset(); }

private:
    std::unique_ptr<testing_support::TempDevice> m_device;
};

[[maybe_unused]] ::testing::Environment* const environment = ::testing::AddGlobalTestEnvironment(new DeviceEnvironment);

} // namespace
