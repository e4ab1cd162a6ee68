#include "windowkit/window_kit.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QToolTip>
#include <QValidator>
#include <QWidget>
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
                const QString why = Tr(txt::kControleRefuse);
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
    std::string out;
    for (const char32_t c : text.toUcs4()) {
        std::string one;
        const QString piece = QString::fromUcs4(&c, 1);
        out += Utf8ToCp1252(piece.toStdString(), one) ? one : std::string("?");
    }
    return out;
}

void PlaceDialog(QWidget& dialog, const QWidget& mainWindow) {
    const QRect frame = mainWindow.frameGeometry();
    dialog.move(frame.left(), frame.top() + 30);
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
