// SPDX-License-Identifier: GPL-3.0-or-later
// French texts of the window kit.

#include "windowkit/texts.h"

#include "resources/text_table.h"

namespace quarnel {

namespace {
constexpr TextEntry kTexts[] = {
    T(txt::kHelpButton, "&Aide"),
    T(txt::kAbortButton, "&Abandonner"),
    T(txt::kRetryButton, "&Réessayer"),
    T(txt::kIgnoreButton, "&Ignorer"),
    T(txt::kYesButton, "&Oui"),
    T(txt::kNoButton, "&Non"),
    T(txt::kOk, "Ok"),
    T(txt::kCancelButton, "Annuler"),
    T(txt::kNotAvailableYet, "Cette fonction n'est pas encore disponible dans cette version."),
    T(txt::kSystemCause, "Cause : %s"),
    T(txt::kControlRefused,
      "Ce champ n'accepte ni tabulation, ni saut de ligne, ni autre caractère de contrôle."),
    T(txt::kSizeBytes, "%s octets"),
    T(txt::kSizeKilo, "%s Ko"),
    T(txt::kSizeMega, "%s Mo"),
    T(txt::kSizeGiga, "%s Go"),
    T(txt::kDecimalMark, ","),
    T(txt::kSavingFile, "Enregistrement du fichier"),
    T(txt::kFilePlaceholder, "un fichier à désigner"),
    T(txt::kOverwrite, "Etes-vous d'accord d'écraser %s?"),
    T(txt::kFilterRtf, "Fichiers formatés (*.rtf)"),
    T(txt::kFilterTxt, "Fichiers texte (*.txt)"),
    T(txt::kPrint, "Imprimer"),
    T(txt::kSelectAll, "Tout sélectionner"),
    T(txt::kCopy, "Copier"),
    T(txt::kTipNothingSelected, "Sélectionnez d'abord le texte à copier."),
    T(txt::kTipPrint, "Imprimer (la sélection seule quand du texte est sélectionné)"),
    T(txt::kCloseButton, "&Fermer"),
    T(txt::kBackToMessage, "&Revenir au message"),
    T(txt::kDropMessage, "&Abandonner le message"),
    T(txt::kOwnFileRefused,
      "Le nom %s est réservé aux fichiers du programme : choisissez un autre nom."),
};
}  // namespace

std::span<const TextEntry> WindowKitTexts() {
    return kTexts;
}

}  // namespace quarnel
