// SPDX-License-Identifier: GPL-3.0-or-later
// French texts shared by several subsystems.

#include "resources/text_table.h"

namespace quarnel {

namespace {
constexpr TextEntry kTexts[] = {
    T(txt::kFileUnreadable, "Le fichier %s n'a pu être lu."),
    T(txt::kFileSaveFailed, "Le fichier %s n'a pu être sauvé."),
    T(txt::kFileAltered, "Le fichier %s est altéré."),
    T(txt::kIdle, "En attente"),
    T(txt::kEncrypting, "Chiffrement en cours"),
    T(txt::kVersionCode, "D400F"),
    T(txt::kHelpFile, "QuarnelTit_F.hlp"),
    T(txt::kAffiliated, "Affilié %s"),
    T(txt::kTransmission, "Transmission"),
    T(txt::kDecrypting, "Déchiffrement en cours"),
    T(txt::kFirmLabel, "Société :"),
    T(txt::kProfession, "Profession :"),
};
}  // namespace

std::span<const TextEntry> SharedTexts() {
    return kTexts;
}

}  // namespace quarnel
