// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Resource numbers of the holder core's texts (French in holder/texts.cpp):
// the default working folders' names and the notices of files kept aside.

#include "resources/texts.h"

namespace quarnel {
QUARNEL_TEXT_TABLE(HolderTexts);
}  // namespace quarnel

namespace quarnel::txt {

inline constexpr int kFolderAChiffrer = 65193;
inline constexpr int kFolderChiffresEnvoyes = 65194;
inline constexpr int kFolderChiffresRecus = 65195;
inline constexpr int kFolderDechiffres = 65196;
inline constexpr int kFolderCertificats = 65197;
// Files kept aside before they are written over.
inline constexpr int kListeAltereeConservee = 72001;     // the kept file's path
inline constexpr int kAnciensFichiersConserves = 72002;  // the kept files' paths, one a line
inline constexpr int kFichierNonConserve = 72003;        // the file's path and the reason
// SaveSettings refused: a value holds a control character.
inline constexpr int kReglagesRefuses = 72004;

}  // namespace quarnel::txt
