#include "platform/PowerControl.h"

#include <gtest/gtest.h>

namespace {

class CountingPowerControl final : public platform::PowerControl {
public:
    explicit CountingPowerControl(int &calls) : m_calls(calls) {}
    bool powerOff() override
    {
        ++m_calls;
        return true;
    }

private:
    int &m_calls;
};

} // namespace

TEST(PowerControl, RefusesUntilOneIsInstalled)
{
    EXPECT_FALSE(platform::powerControl().powerOff());
    int calls = 0;
    platform::setPowerControl(std::make_unique<CountingPowerControl>(calls));
    EXPECT_TRUE(platform::powerControl().powerOff());
    EXPECT_EQ(calls, 1);
    platform::setPowerControl(nullptr);
    EXPECT_FALSE(platform::powerControl().powerOff());
    EXPECT_EQ(calls, 1);
}
