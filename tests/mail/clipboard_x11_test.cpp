// SPDX-License-Identifier: GPL-3.0-or-later
// The clipboard watch across processes: another program (xclip) owns the X
// clipboard on a virtual screen, and the watch takes a message for the
// holder from it and leaves anything else there.

#include <gtest/gtest.h>

#include <QLocalSocket>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QThread>
#include <filesystem>
#include <memory>
#include <vector>

#include "protocol/body.h"

namespace quarnel {
namespace {

const std::string kOwn = "01000000017";

class XClipboard : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* tool : {"Xvfb", "xclip"}) {
            if (QStandardPaths::findExecutable(tool).isEmpty())
                GTEST_SKIP() << tool << " is not installed";
        }
        // A display number nobody uses.
        for (int n = 90; n < 200 && display_.isEmpty(); ++n) {
            if (!std::filesystem::exists("/tmp/.X11-unix/X" + std::to_string(n)) &&
                !std::filesystem::exists("/tmp/.X" + std::to_string(n) + "-lock"))
                display_ = QStringLiteral(":%1").arg(n);
        }
        ASSERT_FALSE(display_.isEmpty());
        // -noreset: by default the server resets when its last client leaves,
        // and refuses whoever connects meanwhile ("Can't open display"), so an
        // owner starting while a reader exits could lose its connection.
        xvfb_.start("Xvfb",
                    {display_, "-noreset", "-nolisten", "tcp", "-screen", "0", "640x480x24"});
        // Ready once its socket takes a connection: the file appears at bind,
        // before the server listens, and a client that early is refused.
        const QString socket = "/tmp/.X11-unix/X" + display_.mid(1);
        bool ready = false;
        for (int i = 0; i < 250 && !ready; ++i) {
            QLocalSocket probe;
            probe.connectToServer(socket);
            ready = probe.waitForConnected(100);
            if (!ready) QThread::msleep(20);
        }
        ASSERT_TRUE(ready) << "Xvfb did not start";
        env_ = QProcessEnvironment::systemEnvironment();
        env_.insert("DISPLAY", display_);
        env_.insert("QT_QPA_PLATFORM", "xcb");
    }
    void TearDown() override {
        for (auto& owner : owners_) {
            owner->kill();
            owner->waitForFinished(5000);
        }
        xvfb_.terminate();
        if (!xvfb_.waitForFinished(5000)) xvfb_.kill();
    }

    /// xclip owns the clipboard with `text` until another program takes it.
    // The owner before goes by itself once it has lost the clipboard: killing
    // it could clear the new owner's text when the server learns of it late.
    void Put(const std::string& text) {
        auto& owner = owners_.emplace_back(std::make_unique<QProcess>());
        owner->setProcessEnvironment(env_);
        owner->start("xclip", {"-quiet", "-selection", "clipboard", "-i"});
        ASSERT_TRUE(owner->waitForStarted(5000));
        owner->write(text.data(), qint64(text.size()));
        owner->waitForBytesWritten(5000);
        owner->closeWriteChannel();
        for (int i = 0; i < 250 && Clipboard() != text; ++i)
            QThread::msleep(20);
        if (Clipboard() != text) owner->waitForFinished(100);  // for its stderr
        ASSERT_EQ(Clipboard(), text) << "xclip: " << owner->readAllStandardError().toStdString();
    }
    std::string Clipboard() {
        QProcess out;
        out.setProcessEnvironment(env_);
        out.start("xclip", {"-selection", "clipboard", "-o"});
        out.waitForFinished(5000);
        return out.readAllStandardOutput().toStdString();
    }
    /// What the holder's watch says of the clipboard.
    std::string Watch() {
        QProcess probe;
        probe.setProcessEnvironment(env_);
        probe.start(QStringLiteral(QUARNEL_BUILD_DIR "/tests/clipboard_probe"), {kOwn.c_str()});
        EXPECT_TRUE(probe.waitForFinished(20000));
        return probe.readAllStandardOutput().trimmed().toStdString();
    }

    QString display_;
    QProcessEnvironment env_;
    QProcess xvfb_;
    std::vector<std::unique_ptr<QProcess>> owners_;
};

std::string Message(const std::string& to) {
    return "From: x@y.org\nSubject: z\n\n" + kSeparatorLine + "\n" +
           AddressLine(Kind::PlainMessage, "12345", '1', '1', to, "01000000023") + "\nABC\n" +
           kEndMarkerLine + "\n";
}

// Which texts are taken: ClipboardIntake's own tests.
TEST_F(XClipboard, AMessageForTheHolderIsTakenAnythingElseIsLeft) {
    Put(Message("01000000099"));
    EXPECT_EQ(Watch(), "left");
    EXPECT_EQ(Clipboard(), Message("01000000099"));
    Put(Message(kOwn));
    EXPECT_EQ(Watch(), "taken 7");
    EXPECT_EQ(Clipboard(), "");
}

}  // namespace
}  // namespace quarnel
