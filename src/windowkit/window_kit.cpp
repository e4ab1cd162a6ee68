// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowkit/window_kit.h"

#include <QAbstractButton>
#include <QBoxLayout>
#include <QCoreApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QScreen>
#include <QScrollArea>
#include <QToolTip>
#include <QValidator>
#include <QWidget>
#include <algorithm>
#include <vector>

#include "crypto/cp1252.h"
#include "resources/texts.h"
#include "windowkit/texts.h"

namespace quarnel::ui {

QString Tr(int id) {
    return QCoreApplication::translate(kTextContext, FrenchText(id));
}

QString Tr(int id, std::initializer_list<QString> args) {
    return Tr(id, QStringList(args));
}

QString Tr(int id, const QStringList& args) {
    std::vector<std::string> utf8;
    for (const QString& a : args)
        utf8.push_back(a.toStdString());
    const std::vector<std::string_view> views(utf8.begin(), utf8.end());
    return QString::fromStdString(FillPlaceholders(Tr(id).toStdString(), views));
}

namespace {

class NoControlCharacters : public QValidator {
  public:
    NoControlCharacters(QLineEdit& edit) : QValidator(&edit), edit_(edit) {}
    State validate(QString& input, int&) const override {
        for (const QChar c : input) {
            const char16_t u = c.unicode();
            if (u < 0x20 || (u >= 0x7F && u <= 0x9F)) {
                const QString why = Tr(txt::kControlRefused);
                edit_.setToolTip(why);
                QToolTip::showText(edit_.mapToGlobal(QPoint(0, edit_.height())), why, &edit_);
                return Invalid;
            }
        }
        return Acceptable;
    }

  private:
    QLineEdit& edit_;
};

}  // namespace

void RefuseControlCharacters(QLineEdit& edit) {
    edit.setValidator(new NoControlCharacters(edit));
}

QString SizeText(std::uint64_t bytes) {
    if (bytes < 1000) return Tr(txt::kSizeBytes, {QString::number(bytes)});
    static constexpr int kUnits[] = {txt::kSizeKilo, txt::kSizeMega, txt::kSizeGiga};
    double value = double(bytes) / 1000;
    std::size_t unit = 0;
    while (value >= 999.5 && unit + 1 < std::size(kUnits)) {
        value /= 1000;
        ++unit;
    }
    QString number = value < 9.95 ? QString::number(value, 'f', 1) : QString::number(qRound(value));
    number.replace(u'.', Tr(txt::kDecimalMark));
    return Tr(kUnits[unit], {number});
}

void FitToLength(QLineEdit& edit, int length, QChar sample) {
    const QFontMetrics fm(edit.font());
    // The size hint is room for 17 "x" plus the frame and margins.
    const int chrome = edit.sizeHint().width() - fm.horizontalAdvance(u'x') * 17;
    edit.setMinimumWidth(fm.horizontalAdvance(QString(length, sample)) + chrome);
}

QString FromCp1252(std::string_view text) {
    return QString::fromStdString(Cp1252ToUtf8(text));
}

std::string ToCp1252(const QString& text) {
    return Utf8ToCp1252Lossy(text.toStdString());
}

void PlaceDialog(QWidget& dialog, const QWidget& mainWindow) {
    const QRect frame = mainWindow.frameGeometry();
    dialog.move(frame.left(), frame.top() + 30);
}

namespace {

constexpr const char* kScrolled = "quarnelScrolled";

// A row of buttons (and spacers) only: it stays reachable below the scroll area.
bool IsButtonRow(QLayoutItem* item) {
    QLayout* row = item ? item->layout() : nullptr;
    if (!row || row->count() == 0) return false;
    for (int i = 0; i < row->count(); ++i) {
        QLayoutItem* part = row->itemAt(i);
        if (part->spacerItem()) continue;
        if (!qobject_cast<QAbstractButton*>(part->widget())) return false;
    }
    return true;
}

void ScrollContent(QWidget& window) {
    QLayout* content = window.layout();
    if (!content || window.property(kScrolled).toBool()) return;
    window.setProperty(kScrolled, true);
    QLayout* buttons = nullptr;
    auto* box = qobject_cast<QBoxLayout*>(content);
    if (box && box->direction() == QBoxLayout::TopToBottom && box->count() > 1 &&
        IsButtonRow(box->itemAt(box->count() - 1))) {
        buttons = box->takeAt(box->count() - 1)->layout();
    }
    const QMargins margins = content->contentsMargins();
    auto* inner = new QWidget;
    inner->setObjectName("ContenuDefilant");
    // What the window demanded of its own size now belongs to its content.
    inner->setMinimumSize(window.minimumSize());
    inner->setLayout(content);  // takes it, and its widgets, from the window
    auto* area = new QScrollArea;
    area->setObjectName("Defilement");
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setWidget(inner);
    auto* outer = new QVBoxLayout(&window);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(area, 1);
    if (buttons) {
        buttons->setContentsMargins(margins.left(), 0, margins.right(), margins.bottom());
        outer->addLayout(buttons);
    }
    window.setMinimumSize(0, 0);
    window.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
}

}  // namespace

void FitToScreen(QWidget& window) {
    QScreen* screen = QGuiApplication::screenAt(window.frameGeometry().center());
    if (!screen) screen = window.screen();
    if (!screen) return;
    const QRect available = screen->availableGeometry();
    // The frame the window manager adds, as the window (or its owner) has it.
    const QWidget* framed =
        window.isVisible() || !window.parentWidget() ? &window : window.parentWidget()->window();
    const QSize frame = framed->frameGeometry().size() - framed->geometry().size();
    const QSize room = available.size() - frame;
    if (QLayout* layout = window.layout()) layout->activate();
    const QSize needed = window.minimumSizeHint().expandedTo(window.minimumSize());
    if (needed.width() > room.width() || needed.height() > room.height()) {
        ScrollContent(window);
        if (QLayout* layout = window.layout()) layout->activate();
    }
    const QSize minimum = window.minimumSize().boundedTo(room);
    if (minimum != window.minimumSize()) window.setMinimumSize(minimum);
    if (window.width() > room.width() || window.height() > room.height()) {
        // As Qt's own fitting does, a window never resized by hand stays free
        // to follow its content the next time it is shown.
        const bool resized = window.testAttribute(Qt::WA_Resized);
        window.resize(window.size().boundedTo(room).expandedTo(window.minimumSize()));
        if (!resized) window.setAttribute(Qt::WA_Resized, false);
    }
    const QSize outside = window.size() + frame;
    const QPoint at = window.pos();
    const int x = std::clamp(at.x(), available.left(),
                             std::max(available.left(), available.right() + 1 - outside.width()));
    const int y = std::clamp(at.y(), available.top(),
                             std::max(available.top(), available.bottom() + 1 - outside.height()));
    if (QPoint(x, y) != at) window.move(x, y);
}

namespace {
class OnScreen : public QObject {
  public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) FitToScreen(*static_cast<QWidget*>(watched));
        return false;
    }
};
}  // namespace

void KeepOnScreen(QWidget& window) {
    window.installEventFilter(new OnScreen(&window));
}

QColor VerdictColour(bool positive) {
    return positive ? QColor(0x00, 0x80, 0x80) : QColor(0x80, 0x00, 0x00);
}

namespace {
void Colour(QWidget& w, bool positive) {
    QPalette p = w.palette();
    p.setColor(QPalette::WindowText, VerdictColour(positive));
    w.setPalette(p);
}
}  // namespace

void ShowVerdict(QLabel& label, const Verdict& verdict) {
    label.setText(Tr(verdict.text));
    Colour(label, verdict.positive);
}

void ShowVerdict(QGroupBox& box, const Verdict& verdict) {
    box.setTitle(Tr(verdict.text));
    Colour(box, verdict.positive);
}

}  // namespace quarnel::ui
