#include "TestApplication.h"

#include <gtest/gtest.h>

namespace {

// The SMTP client runs event loops while it waits, so the tests need an application object.
class ApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override { testapp::application(); }
};

[[maybe_unused]] const auto *const applicationEnvironment
    = ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);

} // namespace
