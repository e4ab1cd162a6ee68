// French texts of the window kit.

#include "windowkit/texts.h"

#include "resources/text_table.h"

namespace quarnel {

namespace {
constexpr TextEntry kTexts[] = {
    T(txt::kAide, "&Aide"),
    T(txt::kBoutonAbandonner, "&Abandonner"),
    T(txt::kBoutonReessayer, "&Réessayer"),
    T(txt::kBoutonIgnorer, "&Ignorer"),
    T(txt::kBoutonOui, "&Oui"),
    T(txt::kBoutonNon, "&Non"),
    T(txt::kOk, "Ok"),
    T(txt::kAnnuler, "Annuler"),
    T(txt::kPasEncoreDisponible, "Cette fonction n'est pas encore disponible dans cette version."),
    T(txt::kCauseSysteme, "Cause : %s"),
    T(txt::kControleRefuse,
      "Ce champ n'accepte ni tabulation, ni saut de ligne, ni autre caractère de contrôle."),
    T(txt::kSizeBytes, "%s octets"),
    T(txt::kSizeKilo, "%s Ko"),
    T(txt::kSizeMega, "%s Mo"),
    T(txt::kSizeGiga, "%s Go"),
    T(txt::kDecimalMark, ","),
    T(txt::kEnregistrementFichier, "Enregistrement du fichier"),
};
}  // namespace

std::span<const TextEntry> WindowKitTexts() {
    return kTexts;
}

}  // namespace quarnel
