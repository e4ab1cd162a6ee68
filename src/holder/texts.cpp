// French texts of the holder core.

#include "holder/texts.h"

#include "resources/text_table.h"

namespace quarnel {

namespace {
constexpr TextEntry kTexts[] = {
    T(txt::kFolderAChiffrer, "A chiffrer"),
    T(txt::kFolderChiffresEnvoyes, "Chiffrés envoyés"),
    T(txt::kFolderChiffresRecus, "Chiffrés reçus"),
    T(txt::kFolderDechiffres, "Déchiffrés"),
    T(txt::kFolderCertificats, "Certificats"),
};
}  // namespace

std::span<const TextEntry> HolderTexts() {
    return kTexts;
}

}  // namespace quarnel
