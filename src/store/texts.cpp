// SPDX-License-Identifier: GPL-3.0-or-later
// French texts of the local stores.

#include "store/texts.h"

#include "resources/text_table.h"

namespace quarnel {

namespace {
constexpr TextEntry kTexts[] = {
    T(txt::kSuppressionCorrespondant,
      "Les données du correspondant sélectionné vont être effacées."),
    T(txt::kListeEmployes, "Liste des correspondants employés"),
    T(txt::kListeIndependants, "Liste des correspondants indépendants"),
    T(txt::kListeParticuliers, "Liste des correspondants particuliers"),
    T(txt::kColonnesParticuliers,
      "Nom\nPrénoms\nLocalité\nEntité territoriale\nPays\nE-mail\nAffiliation"),
    T(txt::kColonnesIndependants,
      "Profession\nEnregistrement\nNom\nPrénoms\nLocalité\nEntité "
      "territ.\nPays\nE-mail\nAffiliation"),
    T(txt::kColonnesEmployes,
      "Société\nDépartement\nNom\nPrénoms\nLocalité\nEntité "
      "territ.\nPays\nE-mail\nAffiliation"),
    T(txt::kFiltre, "Filtre"),
    T(txt::kListes, "&Listes"),
    T(txt::kCorrespondre, "&Correspondre"),
    T(txt::kSupprimer, "&Supprimer"),
    T(txt::kMettreAJour, "&Mettre à jour"),
    T(txt::kQuitter, "&Quitter"),
    T(txt::kRemarque, "Remarque"),
    T(txt::kSauver, "Sau&ver"),
    T(txt::kMessageSimple, "message simple (txt)"),
    T(txt::kMessageFormate, "message formaté (rtf)"),
    T(txt::kDateAffiliation, "Date d'affiliation"),
    T(txt::kToutesListesAffichees, "Tous les correspondants sont déjà affichés."),
    T(txt::kRemarqueNonSauvee, "Sauvez la remarque, ou quittez-la pour l'abandonner."),
    T(txt::kAucunCorrespondantAffiche, "Aucun correspondant n'est affiché."),
    T(txt::kRemarqueNonModifiee, "La remarque n'a pas été modifiée."),
    T(txt::kRemarqueTropLongue, "Une remarque tient en %s caractères."),
    T(txt::kSuppressionNommee,
      "Les données du correspondant %s (affiliation %s) vont être effacées."),
};
}  // namespace

std::span<const TextEntry> StoreTexts() {
    return kTexts;
}

}  // namespace quarnel
