// The entry point and the driver object, called as a host calls them.
#include <gtest/gtest.h>

#include "host_fixture.h"

using namespace quovex;

namespace {

using DriverObject = HostTest;

TEST_F(DriverObject, EntryPointHandsOutACountedDriver) {
  EXPECT_EQ(host::getDriver("a", "b", nullptr), RESULT_NO_MEMORY);

  host::Driver second;
  ASSERT_EQ(host::getDriver(nullptr, nullptr, &second.self), RESULT_OK);
  ASSERT_NE(second.self, nullptr);
  EXPECT_NE(second.self, driver_.self);
  EXPECT_EQ(second.addRef(), 2);
  EXPECT_EQ(second.release(), 1);
  EXPECT_EQ(second.release(), 0);
}

TEST_F(DriverObject, QueryAnswersZeroAndWritesNothing) {
  int first = 5;
  void* second = &first;
  EXPECT_EQ(driver_.query(&first, &second), RESULT_OK);
  EXPECT_EQ(first, 5);
  EXPECT_EQ(second, &first);
}

TEST_F(DriverObject, SizeSettingGoesToNewConnectionsOnly) {
  std::int32_t size = 0;
  std::int16_t length = -3;
  EXPECT_EQ(driver_.getOption(0, &size, sizeof size, &length), RESULT_OK);
  EXPECT_EQ(size, 1024);
  EXPECT_EQ(length, -3) << "the out length is left untouched";

  host::Connection before = connection();
  EXPECT_EQ(driver_.setOption(0, 4096), RESULT_OK);
  host::Connection after = connection();
  EXPECT_EQ(before.numberOption(2), 1024);
  EXPECT_EQ(after.numberOption(2), 4096);
  EXPECT_EQ(driver_.getOption(256, &size, sizeof size, &length), RESULT_OK) << "256 is option 0 in 8 bits";
  EXPECT_EQ(size, 4096);
}

TEST_F(DriverObject, OtherOptions) {
  std::int32_t value = 0;
  std::int16_t length = 0;
  EXPECT_EQ(driver_.setOption(1, 7), RESULT_OK);
  EXPECT_EQ(driver_.setOption(2, 8), RESULT_OK);
  EXPECT_EQ(driver_.getOption(1, &value, sizeof value, &length), RESULT_NOT_SUPPORTED);
  EXPECT_EQ(driver_.getOption(2, &value, sizeof value, &length), RESULT_NOT_SUPPORTED);
  EXPECT_EQ(driver_.setOption(3, 1), RESULT_NOT_SUPPORTED);
  EXPECT_EQ(driver_.setOption(300, 1), RESULT_NOT_SUPPORTED) << "300 is option 44";
  EXPECT_EQ(driver_.setOption(258, 9), RESULT_OK) << "258 is option 2";
  EXPECT_EQ(driver_.getOption(0, nullptr, 4, &length), RESULT_INVALID_PARAMETER);
}

TEST_F(DriverObject, CreateConnectionCountsAndOutlivesTheDriver) {
  EXPECT_EQ(driver_.createConnection(nullptr), RESULT_OK) << "no place: nothing made, nothing leaks";

  host::Connection made;
  ASSERT_EQ(driver_.createConnection(&made.self), RESULT_OK);
  EXPECT_EQ(made.addRef(), 2);
  EXPECT_EQ(made.release(), 1);

  EXPECT_EQ(driver_.release(), 0);
  driver_.self = nullptr;
  EXPECT_EQ(made.numberOption(2), 1024) << "the connection lives on after the driver";
  EXPECT_EQ(made.release(), 0);
}

}  // namespace
