// SPDX-License-Identifier: GPL-3.0-or-later
// French texts of the holder core.

#include "holder/texts.h"

#include "resources/text_table.h"

namespace quarnel {

namespace {
constexpr TextEntry kTexts[] = {
    T(txt::kFolderToEncrypt, "A chiffrer"),
    T(txt::kFolderEncryptedSent, "Chiffrés envoyés"),
    T(txt::kFolderEncryptedReceived, "Chiffrés reçus"),
    T(txt::kFolderDecrypted, "Déchiffrés"),
    T(txt::kFolderCertificates, "Certificats"),
    T(txt::kAlteredListKept, "La liste altérée est conservée dans le fichier %s."),
    T(txt::kPreviousFilesKept,
      "Les fichiers précédents sont conservés avant d'être remplacés :\n%s"),
    T(txt::kFileNotSetAside,
      "Le fichier %s n'a pu être mis de côté (%s) : il n'est pas remplacé et l'affiliation "
      "n'est pas lancée."),
    T(txt::kSettingsRefused,
      "Le fichier QuarnelTit.ini n'a pu être enregistré : un réglage contient une tabulation, "
      "un saut de ligne ou un autre caractère de contrôle."),
};
}  // namespace

std::span<const TextEntry> HolderTexts() {
    return kTexts;
}

}  // namespace quarnel
