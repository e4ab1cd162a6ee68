// SPDX-License-Identifier: GPL-3.0-or-later
#include "test_hook.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QLocalServer>
#include <QLocalSocket>
#include <QMenu>
#include <QMessageBox>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableView>
#include <QTextEdit>
#include <QTimer>
#include <QTranslator>
#include <algorithm>
#include <utility>

#include "app/language.h"
#include "clipped_texts.h"
#include "windowkit/modal_runner.h"

namespace quarnel::ui {

namespace {

/// Rows of a table described at most.
constexpr int kMaxRowsShown = 500;

QJsonObject Fail(const QString& error) {
    return {{"ok", false}, {"error", error}};
}

QJsonObject Done(QJsonObject answer = {}) {
    answer.insert("ok", true);
    return answer;
}

QString ClassName(const QObject& o) {
    QString name = QString::fromLatin1(o.metaObject()->className());
    return name.mid(name.lastIndexOf(u':') + 1);
}

bool Matches(const QObject& o, const QString& segment) {
    if (segment.startsWith(QStringLiteral("text="))) {
        const QString text = segment.mid(5);
        if (const auto* b = qobject_cast<const QAbstractButton*>(&o)) {
            return b->isVisible() && WithoutMnemonic(b->text()) == text;
        }
        if (const auto* a = qobject_cast<const QAction*>(&o)) {
            return WithoutMnemonic(a->text()) == text;
        }
        return false;
    }
    return o.objectName() == segment || ClassName(o) == segment;
}

/// The top-level widget named (or of the class) `name`, the visible ones
/// first, the most recently shown modal one before others.
QWidget* TopLevel(const QString& name) {
    QWidget* hidden = nullptr;
    if (QWidget* modal = QApplication::activeModalWidget(); modal && Matches(*modal, name)) {
        return modal;
    }
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!Matches(*w, name)) continue;
        if (w->isVisible()) return w;
        if (!hidden) hidden = w;
    }
    return hidden;
}

/// "Window/child/..." where each part is an object name, a class name or
/// "text=Label" (a visible button's text without its mnemonic); children
/// are searched at any depth, visible ones first.
QObject* Find(const QString& path) {
    const QStringList parts = path.split(u'/', Qt::SkipEmptyParts);
    if (parts.isEmpty()) return nullptr;
    QObject* current = TopLevel(parts.front());
    for (qsizetype i = 1; current && i < parts.size(); ++i) {
        QObject* next = nullptr;
        for (QObject* child : current->findChildren<QObject*>()) {
            if (!Matches(*child, parts[i])) continue;
            const auto* w = qobject_cast<QWidget*>(child);
            if (!w || w->isVisible()) {
                next = child;
                break;
            }
            if (!next) next = child;
        }
        current = next;
    }
    return current;
}

QString TextOf(const QObject& o) {
    if (const auto* l = qobject_cast<const QLabel*>(&o)) return l->text();
    if (const auto* b = qobject_cast<const QAbstractButton*>(&o)) return b->text();
    if (const auto* e = qobject_cast<const QLineEdit*>(&o)) return e->text();
    if (const auto* c = qobject_cast<const QComboBox*>(&o)) return c->currentText();
    if (const auto* t = qobject_cast<const QTextEdit*>(&o)) return t->toPlainText();
    if (const auto* p = qobject_cast<const QPlainTextEdit*>(&o)) return p->toPlainText();
    if (const auto* s = qobject_cast<const QSpinBox*>(&o)) return QString::number(s->value());
    if (const auto* a = qobject_cast<const QAction*>(&o)) return a->text();
    if (const auto* w = qobject_cast<const QWidget*>(&o); w && w->isWindow()) {
        return w->windowTitle();
    }
    return {};
}

QJsonObject WindowEntry(const QWidget& w) {
    return {{"class", ClassName(w)},
            {"name", w.objectName()},
            {"title", w.windowTitle()},
            {"modal", w.isModal()}};
}

/// Acts on the next turn of the event loop, after the answer is sent.
template <typename F>
void Later(QObject* guard, F action) {
    QTimer::singleShot(0, guard, std::move(action));
}

}  // namespace

TestHook::TestHook(QObject* parent) : QObject(parent), server_(new QLocalServer(this)) {
    connect(server_, &QLocalServer::newConnection, this, &TestHook::Accept);
}

TestHook::~TestHook() {
    if (english_) QCoreApplication::removeTranslator(english_.get());
}

bool TestHook::Listen(const QString& path) {
    QLocalServer::removeServer(path);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    return server_->listen(path);
}

void TestHook::Accept() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { Read(*socket); });
    }
}

void TestHook::Read(QLocalSocket& socket) {
    const auto reply = [&socket](const QJsonObject& answer) {
        socket.write(QJsonDocument(answer).toJson(QJsonDocument::Compact) + '\n');
        socket.flush();
    };
    bool tooLong = false;
    while (!tooLong && socket.canReadLine()) {
        const QByteArray line = socket.readLine();
        tooLong = line.size() > kMaxCommandBytes;
        if (tooLong) break;
        QJsonParseError error{};
        const QJsonDocument doc = QJsonDocument::fromJson(line, &error);
        reply(doc.isObject() ? Execute(doc.object())
                             : Fail(QStringLiteral("not a JSON object: ") + error.errorString()));
    }
    if (tooLong || socket.bytesAvailable() > kMaxCommandBytes) {
        reply(Fail(QStringLiteral("command longer than %1 bytes").arg(kMaxCommandBytes)));
        socket.disconnectFromServer();
    }
}

QJsonObject TestHook::Execute(const QJsonObject& command) {
    const QString cmd = command.value("cmd").toString();
    const QString path = command.value("path").toString();
    if (cmd == "windows") return Windows();
    if (cmd == "find") return Describe(path);
    if (cmd == "set") return Set(path, command.value("value"));
    if (cmd == "click") return Click(path);
    if (cmd == "trigger") return Trigger(path);
    if (cmd == "box") return AnswerBox(command.value("button").toString());
    if (cmd == "file") return AnswerFileDialog(command.value("file").toString());
    if (cmd == "close") return Close(path);
    if (cmd == "select") return Select(path, command.value("value").toString());
    if (cmd == "shot") {
        return Screenshot(path, command.value("dir").toString(), command.value("name").toString());
    }
    if (cmd == "quit") {
        Later(this, [] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (auto* d = qobject_cast<QDialog*>(w); d && d->isVisible()) d->reject();
            }
            QCoreApplication::quit();
        });
        return Done();
    }
    return Fail(QStringLiteral("unknown command: ") + cmd);
}

QJsonObject TestHook::Windows() const {
    QJsonArray shown;
    for (const QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible() && !qobject_cast<const QMenu*>(w)) shown.append(WindowEntry(*w));
    }
    QJsonObject answer{{"windows", shown}};
    if (const QWidget* modal = QApplication::activeModalWidget()) {
        answer.insert("modal", WindowEntry(*modal));
        if (const auto* box = qobject_cast<const QMessageBox*>(modal)) {
            answer.insert("box", box->text());
        }
    }
    return Done(answer);
}

QJsonObject TestHook::Describe(const QString& path) const {
    const QObject* o = Find(path);
    if (!o) return Done({{"found", false}});
    QJsonObject answer{{"found", true}, {"class", ClassName(*o)}, {"text", TextOf(*o)}};
    if (const auto* w = qobject_cast<const QWidget*>(o)) {
        answer.insert("visible", w->isVisible());
        answer.insert("enabled", w->isEnabled());
        answer.insert("tooltip", w->toolTip());
        if (const auto* b = qobject_cast<const QAbstractButton*>(w)) {
            answer.insert("checked", b->isChecked());
        }
        if (const auto* c = qobject_cast<const QComboBox*>(w)) {
            QJsonArray items;
            for (int i = 0; i < c->count(); ++i)
                items.append(c->itemText(i));
            answer.insert("items", items);
            answer.insert("index", c->currentIndex());
        }
    }
    if (const auto* t = qobject_cast<const QTableView*>(o); t && t->model()) {
        const QAbstractItemModel& m = *t->model();
        QJsonArray rows;
        for (int r = 0; r < std::min(m.rowCount(), kMaxRowsShown); ++r) {
            QJsonArray row;
            for (int c = 0; c < m.columnCount(); ++c)
                row.append(m.index(r, c).data().toString());
            rows.append(row);
        }
        answer.insert("rows", rows);
        answer.insert("current", t->currentIndex().row());
    }
    if (const auto* a = qobject_cast<const QAction*>(o)) {
        answer.insert("enabled", a->isEnabled());
        answer.insert("visible", a->isVisible());
    }
    return Done(answer);
}

QJsonObject TestHook::Set(const QString& path, const QJsonValue& value) {
    QObject* o = Find(path);
    if (!o) return Fail(QStringLiteral("no widget ") + path);
    if (auto* w = qobject_cast<QWidget*>(o); w && !w->isEnabled()) {
        return Fail(QStringLiteral("disabled: ") + path + QStringLiteral(" (") + w->toolTip() +
                    QStringLiteral(")"));
    }
    if (auto* e = qobject_cast<QLineEdit*>(o)) {
        // As typed: the edit's own checks (validator, length) apply.
        e->setFocus();
        e->selectAll();
        e->del();
        e->insert(value.toString());
        Q_EMIT e->editingFinished();
    } else if (auto* c = qobject_cast<QComboBox*>(o)) {
        const int index = value.isDouble() ? value.toInt() : c->findText(value.toString());
        if (index < 0 || index >= c->count()) return Fail(QStringLiteral("no such item"));
        c->setCurrentIndex(index);
        Q_EMIT c->activated(index);
    } else if (auto* b = qobject_cast<QAbstractButton*>(o); b && b->isCheckable()) {
        if (b->isChecked() != value.toBool()) b->click();
    } else if (auto* t = qobject_cast<QTextEdit*>(o)) {
        t->setFocus();
        t->selectAll();
        t->insertPlainText(value.toString());
    } else if (auto* p = qobject_cast<QPlainTextEdit*>(o)) {
        p->setFocus();
        p->selectAll();
        p->insertPlainText(value.toString());
    } else if (auto* s = qobject_cast<QSpinBox*>(o)) {
        s->setValue(value.toInt());
    } else {
        return Fail(QStringLiteral("cannot set a ") + ClassName(*o));
    }
    return Done({{"text", TextOf(*o)}});
}

QJsonObject TestHook::Click(const QString& path) {
    auto* b = qobject_cast<QAbstractButton*>(Find(path));
    if (!b) return Fail(QStringLiteral("no button ") + path);
    if (!b->isVisible()) return Fail(QStringLiteral("hidden: ") + path);
    if (!b->isEnabled()) {
        return Fail(QStringLiteral("disabled: ") + path + QStringLiteral(" (") + b->toolTip() +
                    QStringLiteral(")"));
    }
    Later(b, [b] { b->click(); });
    return Done();
}

QJsonObject TestHook::Trigger(const QString& path) {
    auto* a = qobject_cast<QAction*>(Find(path));
    if (!a) return Fail(QStringLiteral("no action ") + path);
    if (!a->isEnabled()) return Fail(QStringLiteral("disabled: ") + path);
    Later(a, [a] {
        for (QObject* o : a->associatedObjects()) {
            if (auto* menu = qobject_cast<QMenu*>(o)) menu->hide();
        }
        a->trigger();
    });
    return Done();
}

QJsonObject TestHook::AnswerBox(const QString& button) {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return Fail(QStringLiteral("no message box"));
    // By its text as shown, or by the standard name in either language.
    static const std::pair<const char*, QMessageBox::StandardButton> kStandard[] = {
        {"Ok", QMessageBox::Ok},         {"Cancel", QMessageBox::Cancel},
        {"Abort", QMessageBox::Abort},   {"Retry", QMessageBox::Retry},
        {"Ignore", QMessageBox::Ignore}, {"Yes", QMessageBox::Yes},
        {"No", QMessageBox::No},
    };
    QJsonArray offered;
    QJsonArray standards;  // the buttons' standard names, whatever their captions
    for (QAbstractButton* b : box->buttons()) {
        const QString text = WithoutMnemonic(b->text());
        offered.append(text);
        bool chosen = !button.isEmpty() && text == button;
        for (const auto& [name, standard] : kStandard) {
            if (box->standardButton(b) != standard) continue;
            standards.append(QLatin1String(name));
            if (button == QLatin1String(name)) chosen = true;
        }
        if (chosen) {
            Later(b, [b] { b->click(); });
            return Done({{"text", box->text()}});
        }
    }
    if (button.isEmpty()) {
        return Done({{"text", box->text()}, {"buttons", offered}, {"standard", standards}});
    }
    return Fail(QStringLiteral("no button %1 in \"%2\"").arg(button, box->text()));
}

QJsonObject TestHook::AnswerFileDialog(const QString& file) {
    QFileDialog* dialog = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* d = qobject_cast<QFileDialog*>(w); d && d->isVisible()) dialog = d;
    }
    if (!dialog) return Fail(QStringLiteral("no file dialog"));
    const QString title = dialog->windowTitle();
    if (file.isEmpty()) {
        Later(dialog, [dialog] { dialog->reject(); });
    } else {
        // Typed into the name field as a person would: selectFile() leaves
        // the name relative to a folder the dialog has not yet moved to.
        Later(dialog, [dialog, file] {
            dialog->setDirectory(QFileInfo(file).absolutePath());
            if (auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
                edit->setText(file);
                static_cast<QDialog*>(dialog)->accept();
            } else {
                AcceptFileDialog(*dialog, file);
            }
        });
    }
    return Done({{"title", title}, {"name", dialog->objectName()}});
}

QJsonObject TestHook::Select(const QString& path, const QString& text) {
    auto* t = qobject_cast<QTableView*>(Find(path));
    if (!t || !t->model()) return Fail(QStringLiteral("no table ") + path);
    const QAbstractItemModel& m = *t->model();
    for (int r = 0; r < m.rowCount(); ++r) {
        for (int c = 0; c < m.columnCount(); ++c) {
            const QModelIndex cell = m.index(r, c);
            if (cell.data().toString().contains(text)) {
                // As a click on the row: current cell, selection, signal.
                t->setCurrentIndex(cell);
                t->selectRow(r);
                Q_EMIT t->clicked(cell);
                return Done({{"row", r}});
            }
        }
    }
    return Fail(QStringLiteral("no row with ") + text);
}

QJsonObject TestHook::Close(const QString& path) {
    auto* w = qobject_cast<QWidget*>(Find(path));
    if (!w || !w->isVisible()) return Fail(QStringLiteral("no window ") + path);
    if (auto* d = qobject_cast<QDialog*>(w)) {
        Later(d, [d] { d->reject(); });
    } else {
        Later(w, [w] { w->close(); });
    }
    return Done();
}

QJsonObject TestHook::Screenshot(const QString& path, const QString& folder, const QString& name) {
    auto* w = qobject_cast<QWidget*>(Find(path));
    if (!w || !w->isVisible()) return Fail(QStringLiteral("no window ") + path);
    w = w->window();
    if (!QDir().mkpath(folder)) return Fail(QStringLiteral("cannot make ") + folder);
    QJsonObject answer;
    // As shown, then with the English texts over them; the texts the
    // program set itself (message boxes, information line) stay as they are.
    for (const char* language : {"fr", "en"}) {
        if (QString(language) == "en") {
            if (!english_) {
                const auto module = FindTextModule(
                    QCoreApplication::applicationFilePath().toStdString(), kLocaleEnglish);
                auto loaded = std::make_unique<QTranslator>();
                if (!module || !loaded->load(QString::fromStdString(module->string()))) {
                    return Fail(QStringLiteral("no English module beside the program"));
                }
                english_ = std::move(loaded);
            }
            QCoreApplication::installTranslator(english_.get());
            QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        const QString file =
            QDir(folder).filePath(QStringLiteral("%1-%2.png").arg(name, QLatin1String(language)));
        if (!w->grab().save(file, "PNG")) return Fail(QStringLiteral("cannot write ") + file);
        answer.insert(QStringLiteral("clipped_") + language,
                      QJsonArray::fromStringList(ClippedTexts(*w)));
        if (QString(language) == "en") {
            QCoreApplication::removeTranslator(english_.get());
            QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        }
    }
    return Done(answer);
}

}  // namespace quarnel::ui
