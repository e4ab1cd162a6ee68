// SPDX-License-Identifier: GPL-3.0-or-later
// main() of the tests that need a QGuiApplication (text documents, fonts)
// but no widgets: offscreen unless QT_QPA_PLATFORM says otherwise.

#include <gtest/gtest.h>

#include <QGuiApplication>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
