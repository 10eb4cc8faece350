// Waiting for a condition in a GoogleTest test of widgets: events are
// processed until the condition holds or the time is up, and the caller
// asserts the result (ASSERT_TRUE(waitUntil(...))), so a condition that never
// comes true fails the test.
#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

namespace proposals_testing {

inline ::testing::AssertionResult waitUntil(const std::function<bool()>& condition, int timeoutMs = 5000) {
  QDeadlineTimer deadline(timeoutMs);
  while (!condition()) {
    if (deadline.hasExpired()) {
      return ::testing::AssertionFailure() << "still false after " << timeoutMs << " ms";
    }
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QTest::qWait(5);
  }
  return ::testing::AssertionSuccess();
}

}  // namespace proposals_testing
