#pragma once
// Resource numbers of the window kit's texts (French in
// windowkit/texts.cpp): the buttons every window shares.

#include "resources/texts.h"

namespace quarnel {
QUARNEL_TEXT_TABLE(WindowKitTexts);
}  // namespace quarnel

namespace quarnel::txt {

inline constexpr int kOk = 77001;
inline constexpr int kAnnuler = 77002;
inline constexpr int kAide = 77003;
inline constexpr int kBoutonAbandonner = 77004;
inline constexpr int kBoutonReessayer = 77005;
inline constexpr int kBoutonIgnorer = 77006;
inline constexpr int kBoutonNon = 77007;
inline constexpr int kBoutonOui = 77008;
inline constexpr int kPasEncoreDisponible = 77009;
inline constexpr int kEnregistrementFichier = 77010;

}  // namespace quarnel::txt
