// SPDX-License-Identifier: GPL-3.0-or-later
// main() of the window tests: a QApplication on the offscreen platform
// unless QT_QPA_PLATFORM says otherwise, on a desktop's 1920x1080 screen
// unless a screen is given (offscreen's own is 800x600), and a private
// runtime folder so that Qt does not complain.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <string>

int main(int argc, char** argv) {
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform.isEmpty() || platform == "offscreen") {
        qputenv("QT_QPA_PLATFORM",
                "offscreen:configfile=" QUARNEL_TEST_SUPPORT_DIR "/screen_desktop.json");
    }
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const std::string dir = "/tmp/quarnel-xdg-" + std::to_string(getuid());
        mkdir(dir.c_str(), 0700);
        chmod(dir.c_str(), 0700);
        qputenv("XDG_RUNTIME_DIR", dir.c_str());
    }
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
