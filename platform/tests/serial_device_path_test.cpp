#include "platform/serial/device_path.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <optional>
#include <string>

namespace korv::platform::serial {
namespace {

// Sets an environment variable for one test and puts the old value back.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value) : name_(name) {
        if (const char* old = getenv(name)) previous_ = old;
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedVariable() {
        if (previous_)
            setenv(name_.c_str(), previous_->c_str(), 1);
        else
            unsetenv(name_.c_str());
    }

private:
    std::string name_;
    std::optional<std::string> previous_;
};

TEST(DevicePath, SlotNamesComPortOneHigher) {
    EXPECT_EQ(com_port_variable(0), "KORVIO_COM1");
    EXPECT_EQ(com_port_variable(3), "KORVIO_COM4");
}

TEST(DevicePath, VariableWinsUnlessUnsetOrEmpty) {
    {
        ScopedVariable unset("KORVIO_COM2", nullptr);
        EXPECT_EQ(device_path(1), "/dev/ttyS1");
    }
    {
        ScopedVariable empty("KORVIO_COM2", "");
        EXPECT_EQ(device_path(1), "/dev/ttyS1");
    }
    ScopedVariable set("KORVIO_COM2", "/dev/pts/7");
    EXPECT_EQ(device_path(1), "/dev/pts/7");
    // Looked up at each call, and only for its own slot.
    setenv("KORVIO_COM2", "/dev/pts/8", 1);
    EXPECT_EQ(device_path(1), "/dev/pts/8");
    EXPECT_NE(device_path(0), "/dev/pts/8");
}

}  // namespace
}  // namespace korv::platform::serial
