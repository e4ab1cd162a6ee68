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
// Sizes of files and mails (SI units) and the decimal mark of the language.
inline constexpr int kSizeBytes = 77010;
inline constexpr int kSizeKilo = 77011;
inline constexpr int kSizeMega = 77012;
inline constexpr int kSizeGiga = 77013;
inline constexpr int kDecimalMark = 77014;

}  // namespace quarnel::txt
