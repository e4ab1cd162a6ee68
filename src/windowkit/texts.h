// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Resource numbers of the window kit's texts (French in
// windowkit/texts.cpp): the buttons every window shares, and what the
// viewers of a text share.

#include "resources/texts.h"

namespace quarnel {
QUARNEL_TEXT_TABLE(WindowKitTexts);
}  // namespace quarnel

namespace quarnel::txt {

inline constexpr int kOk = 77001;
inline constexpr int kCancelButton = 77002;
inline constexpr int kHelpButton = 77003;
inline constexpr int kAbortButton = 77004;
inline constexpr int kRetryButton = 77005;
inline constexpr int kIgnoreButton = 77006;
inline constexpr int kNoButton = 77007;
inline constexpr int kYesButton = 77008;
inline constexpr int kNotAvailableYet = 77009;
// The system's reason under "Le fichier %s n'a pu être sauvé.".
inline constexpr int kSystemCause = 77010;
// Why a field refused a typed or pasted control character (its tooltip).
inline constexpr int kControlRefused = 77011;
// Sizes of files and mails (SI units) and the decimal mark of the language.
inline constexpr int kSizeBytes = 77012;
inline constexpr int kSizeKilo = 77013;
inline constexpr int kSizeMega = 77014;
inline constexpr int kSizeGiga = 77015;
inline constexpr int kDecimalMark = 77016;
inline constexpr int kSavingFile = 77017;
// What the viewers of a text share (windowkit/viewer.h).
inline constexpr int kFilePlaceholder = 77018;  // "un fichier à désigner"
inline constexpr int kOverwrite = 77019;        // "Etes-vous d'accord d'écraser %s?"
inline constexpr int kFilterRtf = 77020;
inline constexpr int kFilterTxt = 77021;
inline constexpr int kPrint = 77022;
inline constexpr int kSelectAll = 77023;
inline constexpr int kCopy = 77024;
inline constexpr int kTipNothingSelected = 77025;
inline constexpr int kTipPrint = 77026;
inline constexpr int kOwnFileRefused = 77027;
// The buttons of the windows that hold a message on its way.
inline constexpr int kCloseButton = 77028;
inline constexpr int kBackToMessage = 77029;
inline constexpr int kDropMessage = 77030;

}  // namespace quarnel::txt
