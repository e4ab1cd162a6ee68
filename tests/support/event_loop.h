// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A QCoreApplication for tests that need Qt's event loop without windows, and
// a loop that runs until a condition holds.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include <functional>
#include <memory>

namespace quarnel::test {

class QtEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        if (!QCoreApplication::instance()) app_ = std::make_unique<QCoreApplication>(argc_, argv_);
    }
    // Before exit: Qt's own statics are gone by the time gtest frees this.
    void TearDown() override { app_.reset(); }

  private:
    int argc_ = 1;
    char name_[8] = "tests";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QCoreApplication> app_;
};
inline auto* const kQtEnvironment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

/// Processes events until `done` or `guardMs`; returns `done()`.
inline bool RunUntil(const std::function<bool()>& done, int guardMs = 5000) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < guardMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return done();
}

}  // namespace quarnel::test
