#pragma once
// For the tests that need an event loop: a QCoreApplication (registered by
// including this header), a loop that runs until a condition holds, and a
// free port in the range of the TA ports (50000 + code).

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include <functional>
#include <memory>
#include <random>
#include <string>

#include "crypto/bignum.h"

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

/// A TA code (three hexadecimal digits) whose port `listen` could take;
/// empty when 50 random tries could not.
inline std::string FreeTaCode(const std::function<bool(quint16 port)>& listen) {
    std::mt19937 g(std::random_device{}());
    for (int i = 0; i < 50; ++i) {
        const Word c = Word(0x100 + g() % 0xE00);
        if (listen(quint16(50000 + c))) return WordToHex(c).substr(5);
    }
    return {};
}

}  // namespace quarnel::test
