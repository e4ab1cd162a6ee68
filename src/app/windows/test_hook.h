// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A command socket through which a driver runs the program as a person
// would: made by main only when QUARNEL_TEST_HOOK names a socket path.
// One JSON object per line in, one JSON object per line out. Actions that
// may open a modal window (clicks, triggers, accepting dialogs) answer
// first and act on the next turn of the event loop, so the socket keeps
// answering inside every nested loop.

#include <QJsonObject>
#include <QObject>
#include <QString>
#include <memory>

class QLocalServer;
class QLocalSocket;
class QTranslator;
class QWidget;

namespace quarnel::ui {

class TestHook : public QObject {
    Q_OBJECT
  public:
    /// A command line (its newline included) longer than this is refused
    /// and the connection closed.
    static constexpr qsizetype kMaxCommandBytes = 1 << 20;

    explicit TestHook(QObject* parent = nullptr);
    ~TestHook() override;

    /// Listens on `path` (a stale socket file there is replaced).
    [[nodiscard]] bool Listen(const QString& path);

    /// Runs one command; the answer has "ok" and, when false, "error".
    [[nodiscard]] QJsonObject Execute(const QJsonObject& command);

  private:
    void Accept();
    void Read(QLocalSocket& socket);

    [[nodiscard]] QJsonObject Windows() const;
    [[nodiscard]] QJsonObject Describe(const QString& path) const;
    [[nodiscard]] QJsonObject Set(const QString& path, const QJsonValue& value);
    [[nodiscard]] QJsonObject Click(const QString& path);
    [[nodiscard]] QJsonObject Trigger(const QString& path);
    [[nodiscard]] QJsonObject AnswerBox(const QString& button);
    [[nodiscard]] QJsonObject AnswerFileDialog(const QString& file);
    [[nodiscard]] QJsonObject Select(const QString& path, const QString& text);
    [[nodiscard]] QJsonObject Close(const QString& path);
    [[nodiscard]] QJsonObject Screenshot(const QString& path, const QString& folder,
                                         const QString& name);

    QLocalServer* server_ = nullptr;
    std::unique_ptr<QTranslator> english_;  ///< loaded for the English screenshots
};

}  // namespace quarnel::ui
