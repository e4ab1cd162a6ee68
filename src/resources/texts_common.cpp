// Texts shared by several subsystems.

#include "resources/text_table.h"

namespace quarnel {

namespace {
constexpr TextEntry kTexts[] = {
    T(txt::kFileUnreadable, "Le fichier %s n'a pu être lu."),
    T(txt::kFileSaveFailed, "Le fichier %s n'a pu être sauvé."),
    T(txt::kFileAltered, "Le fichier %s est altéré."),
    T(txt::kEnAttente, "En attente"),
    T(txt::kChiffrementEnCours, "Chiffrement en cours"),
    T(txt::kVersionCode, "D400F"),
    T(txt::kHelpFile, "QuarnelTit_F.hlp"),
    T(txt::kAffilie, "Affilié %s"),
    T(txt::kTransmission, "Transmission"),
    T(txt::kDechiffrementEnCours, "Déchiffrement en cours"),
    T(txt::kTitle00, "Demande d'affiliation au système cryptographique \"QuarnelSys\""),
    T(txt::kTitle01Update,
      "Demande de mise à jour d'affiliation au système cryptographique \"QuarnelSys\"."),
    T(txt::kTitle01Ack, "Accusé de réception de la clef privée"),
    T(txt::kTitle10,
      "Demande d'une clef pour correspondre suivant le système cryptographique \"QuarnelSys\""),
    T(txt::kTitle11,
      "Demande de mise à jour d'une clef pour correspondre suivant le système cryptographique "
      "\"QuarnelSys\""),
    T(txt::kTitle18, "Demande de certification d'une signature"),
    T(txt::kTitleMessage, "Message chiffré par \"QuarnelSys\""),
    T(txt::kTitleMessageUnregistered,
      "Message chiffré par \"QuarnelSys\" provenant d'un utilisateur non enregistré"),
};
}  // namespace

std::span<const TextEntry> CommonTexts() {
    return kTexts;
}

}  // namespace quarnel
