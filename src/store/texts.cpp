// SPDX-License-Identifier: GPL-3.0-or-later
// French texts of the local stores.

#include "store/texts.h"

#include "resources/text_table.h"

namespace quarnel {

namespace {
constexpr TextEntry kTexts[] = {
    T(txt::kCorrespondentDeletion, "Les données du correspondant sélectionné vont être effacées."),
    T(txt::kListEmployees, "Liste des correspondants employés"),
    T(txt::kListIndependents, "Liste des correspondants indépendants"),
    T(txt::kListPrivatePersons, "Liste des correspondants particuliers"),
    T(txt::kColumnsPrivatePersons,
      "Nom\nPrénoms\nLocalité\nEntité territoriale\nPays\nE-mail\nAffiliation"),
    T(txt::kColumnsIndependents,
      "Profession\nEnregistrement\nNom\nPrénoms\nLocalité\nEntité "
      "territ.\nPays\nE-mail\nAffiliation"),
    T(txt::kColumnsEmployees,
      "Société\nDépartement\nNom\nPrénoms\nLocalité\nEntité "
      "territ.\nPays\nE-mail\nAffiliation"),
    T(txt::kFilter, "Filtre"),
    T(txt::kListsButton, "&Listes"),
    T(txt::kWriteButton, "&Correspondre"),
    T(txt::kDeleteButton, "&Supprimer"),
    T(txt::kUpdateKeyButton, "&Mettre à jour"),
    T(txt::kQuitButton, "&Quitter"),
    T(txt::kRemark, "Remarque"),
    T(txt::kSaveButton, "Sau&ver"),
    T(txt::kPlainMessage, "message simple (txt)"),
    T(txt::kFormattedMessage, "message formaté (rtf)"),
    T(txt::kAffiliationDate, "Date d'affiliation"),
    T(txt::kAllListsShown, "Tous les correspondants sont déjà affichés."),
    T(txt::kRemarkNotSaved, "Sauvez la remarque, ou quittez-la pour l'abandonner."),
    T(txt::kNoCorrespondentShown, "Aucun correspondant n'est affiché."),
    T(txt::kRemarkUnchanged, "La remarque n'a pas été modifiée."),
    T(txt::kRemarkTooLong, "Une remarque tient en %s caractères."),
    T(txt::kNamedDeletion, "Les données du correspondant %s (affiliation %s) vont être effacées."),
};
}  // namespace

std::span<const TextEntry> StoreTexts() {
    return kTexts;
}

}  // namespace quarnel
