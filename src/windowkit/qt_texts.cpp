// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowkit/qt_texts.h"

#include <QLibraryInfo>

namespace quarnel::ui {

namespace {

class QtTexts : public QTranslator {
  public:
    QString translate(const char* context, const char* source, const char* disambiguation,
                      int n) const override {
        QString text = QTranslator::translate(context, source, disambiguation, n);
        // Qt 6 names the file types here; the catalogues still hold them under
        // the file dialog.
        if (text.isEmpty() && context && qstrcmp(context, "QAbstractFileIconProvider") == 0) {
            text = QTranslator::translate("QFileDialog", source, nullptr, n);
        }
        return text;
    }
};

}  // namespace

std::unique_ptr<QTranslator> LoadQtTexts(const QLocale& locale) {
    auto texts = std::make_unique<QtTexts>();
    if (!texts->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        return nullptr;
    }
    return texts;
}

}  // namespace quarnel::ui
