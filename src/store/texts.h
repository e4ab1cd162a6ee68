// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Resource numbers of the local stores' texts (French in store/texts.cpp):
// the correspondents window.

#include "resources/texts.h"

namespace quarnel {
QUARNEL_TEXT_TABLE(StoreTexts);
}  // namespace quarnel

namespace quarnel::txt {

inline constexpr int kSuppressionCorrespondant = 65234;
inline constexpr int kListeEmployes = 65281;
inline constexpr int kListeIndependants = 65282;
inline constexpr int kListeParticuliers = 65283;
// Column titles, one a line.
inline constexpr int kColonnesParticuliers = 65284;
inline constexpr int kColonnesIndependants = 65285;
inline constexpr int kColonnesEmployes = 65286;

inline constexpr int kFiltre = 78001;
inline constexpr int kListes = 78002;
inline constexpr int kCorrespondre = 78003;
inline constexpr int kSupprimer = 78004;
inline constexpr int kMettreAJour = 78005;
inline constexpr int kQuitter = 78006;
inline constexpr int kRemarque = 78007;
inline constexpr int kSauver = 78008;
inline constexpr int kMessageSimple = 78009;
inline constexpr int kMessageFormate = 78010;
inline constexpr int kDateAffiliation = 78011;
// Why a button of the correspondents window is disabled.
inline constexpr int kToutesListesAffichees = 78020;
inline constexpr int kRemarqueNonSauvee = 78021;
inline constexpr int kAucunCorrespondantAffiche = 78022;
inline constexpr int kRemarqueNonModifiee = 78023;
inline constexpr int kRemarqueTropLongue = 78024;  // the longest length
inline constexpr int kSuppressionNommee = 78025;   // %s the correspondent, %s the number

}  // namespace quarnel::txt
