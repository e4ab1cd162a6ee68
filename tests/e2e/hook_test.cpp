// SPDX-License-Identifier: GPL-3.0-or-later
// The test hook's commands on a small window, and its socket at the limit
// of a command's length.

#include <gtest/gtest.h>

#include <QDialog>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QLocalSocket>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "app/windows/test_hook.h"
#include "event_loop.h"
#include "temp_dir.h"

namespace quarnel::ui {
namespace {

struct Window {
    Window() {
        dialog.setObjectName("Fenetre");
        auto* layout = new QVBoxLayout(&dialog);
        edit = new QLineEdit(&dialog);
        edit->setObjectName("Nom");
        edit->setMaxLength(8);
        off = new QPushButton(QStringLiteral("&Envoyer"), &dialog);
        off->setObjectName("Envoyer");
        off->setEnabled(false);
        off->setToolTip(QStringLiteral("Rien à envoyer"));
        on = new QPushButton(QStringLiteral("&Accepter"), &dialog);
        layout->addWidget(edit);
        layout->addWidget(off);
        layout->addWidget(on);
        QObject::connect(on, &QPushButton::clicked, [this] { ++clicks; });
        dialog.show();
    }
    QDialog dialog;
    QLineEdit* edit = nullptr;
    QPushButton* off = nullptr;
    QPushButton* on = nullptr;
    int clicks = 0;
};

TEST(TestHook, FindsSetsAndClicksAsAPersonWould) {
    Window w;
    TestHook hook;
    const QJsonArray shown = hook.Execute({{"cmd", "windows"}})["windows"].toArray();
    EXPECT_TRUE(std::any_of(shown.begin(), shown.end(),
                            [](const QJsonValue& v) { return v["name"] == "Fenetre"; }));

    // Typed text goes through the edit's own limit.
    EXPECT_EQ(
        hook.Execute({{"cmd", "set"}, {"path", "Fenetre/Nom"}, {"value", "Martin-Durand"}})["text"],
        "Martin-D");
    // A disabled button is not clicked, and the answer says why.
    const QJsonObject refused = hook.Execute({{"cmd", "click"}, {"path", "Fenetre/Envoyer"}});
    EXPECT_FALSE(refused["ok"].toBool());
    EXPECT_TRUE(refused["error"].toString().contains("Rien à envoyer"));
    // By the visible text, mnemonic left out; the click comes after the answer.
    EXPECT_TRUE(hook.Execute({{"cmd", "click"}, {"path", "Fenetre/text=Accepter"}})["ok"].toBool());
    EXPECT_EQ(w.clicks, 0);
    EXPECT_TRUE(test::RunUntil([&] { return w.clicks == 1; }, 2000));

    EXPECT_FALSE(hook.Execute({{"cmd", "find"}, {"path", "Fenetre/Absent"}})["found"].toBool());
    EXPECT_FALSE(
        hook.Execute({{"cmd", "set"}, {"path", "Autre/Nom"}, {"value", "x"}})["ok"].toBool());
    EXPECT_FALSE(hook.Execute({{"cmd", "box"}})["ok"].toBool());
    EXPECT_FALSE(hook.Execute({{"cmd", "effacer"}})["ok"].toBool());
}

TEST(TestHook, AnswersEachLineAndRefusesALineOverTheLimit) {
    Window w;
    test::TempDir dir;
    TestHook hook;
    const QString path = QString::fromStdString((dir.path() / "hook.sock").string());
    ASSERT_TRUE(hook.Listen(path));
    QLocalSocket socket;
    socket.connectToServer(path);
    ASSERT_TRUE(socket.waitForConnected(2000));
    const auto send = [&](const QByteArray& line) {
        socket.write(line);
        socket.flush();
        EXPECT_TRUE(test::RunUntil([&] { return socket.canReadLine(); }, 5000));
        return QJsonDocument::fromJson(socket.readLine()).object();
    };
    // A set command padded to exactly the limit, newline included.
    const QByteArray head = R"({"cmd":"set","path":"Fenetre/Nom","value":")";
    const QByteArray tail = "\"}\n";
    const QByteArray atLimit =
        head + QByteArray(TestHook::kMaxCommandBytes - head.size() - tail.size(), 'a') + tail;
    ASSERT_EQ(atLimit.size(), TestHook::kMaxCommandBytes);
    EXPECT_EQ(send(atLimit)["text"], "aaaaaaaa");
    EXPECT_FALSE(send("pas du json\n")["ok"].toBool());

    const QByteArray over = head + "a" + atLimit.mid(head.size());
    const QJsonObject refused = send(over);
    EXPECT_FALSE(refused["ok"].toBool());
    EXPECT_TRUE(refused["error"].toString().contains("longer"));
    EXPECT_TRUE(
        test::RunUntil([&] { return socket.state() == QLocalSocket::UnconnectedState; }, 5000));
}

}  // namespace
}  // namespace quarnel::ui
