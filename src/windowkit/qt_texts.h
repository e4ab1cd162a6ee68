// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Qt's own texts (file and folder dialogs, standard buttons) in the user's
// language, from Qt's translation catalogue "qtbase" of that language.

#include <QLocale>
#include <QTranslator>
#include <memory>

namespace quarnel::ui {

/// Qt's catalogue of `locale`'s language, ready to install; nothing when the
/// catalogue is not installed. It also answers the texts that Qt 6 moved to
/// contexts the catalogue does not have yet (the folder type "Folder" of the
/// file dialogs).
std::unique_ptr<QTranslator> LoadQtTexts(const QLocale& locale);

}  // namespace quarnel::ui
