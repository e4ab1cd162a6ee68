// SPDX-License-Identifier: GPL-3.0-or-later
// What every window shares: fields of a file of lines, and the box of a save
// that failed.

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>

#include "resources/texts.h"
#include "scripted_windows.h"
#include "store/record_list.h"
#include "temp_dir.h"
#include "windowkit/save_failure.h"
#include "windowkit/texts.h"
#include "windowkit/window_kit.h"

namespace quarnel::ui {
namespace {

TEST(WindowKit, AFieldOfAFileOfLinesRefusesAControlCharacterTypedOrPastedAndSaysWhy) {
    QLineEdit edit;
    RefuseControlCharacters(edit);
    edit.insert(QStringLiteral("Paris"));
    EXPECT_EQ(edit.text(), "Paris");
    EXPECT_TRUE(edit.toolTip().isEmpty());
    for (const QString& bad : {QStringLiteral("\tCEDEX"), QStringLiteral("\n75001"),
                               QStringLiteral("a\rb"), QString(QChar(0x85))}) {
        edit.insert(bad);
        EXPECT_EQ(edit.text(), "Paris");
    }
    QGuiApplication::clipboard()->setText(QStringLiteral("75\t001"));
    edit.paste();
    EXPECT_EQ(edit.text(), "Paris");
    EXPECT_EQ(edit.toolTip(), Tr(txt::kControlRefused));
    edit.insert(QStringLiteral(" 8e"));
    EXPECT_EQ(edit.text(), "Paris 8e");
}

TEST(WindowKit, TheSaveFailureBoxGivesTheSystemsReason) {
    test::TempDir dir;
    ScriptedMessageBoxes boxes;
    boxes.Answer(kIgnore);
    const std::filesystem::path file = dir / "absent" / "QuarnelTit.kpr";
    EXPECT_EQ(SaveBytesWithRetry(file, "x", SaveFailureBox(nullptr)), SaveResult::Ignored);
    ASSERT_EQ(boxes.Texts().size(), 1);
    const QString text = boxes.Texts()[0];
    EXPECT_TRUE(text.startsWith(Tr(txt::kFileSaveFailed, {QString::fromStdString(file.string())})));
    EXPECT_TRUE(text.contains("No such file or directory")) << text.toStdString();
}

}  // namespace
}  // namespace quarnel::ui
