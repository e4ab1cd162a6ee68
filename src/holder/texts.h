// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Resource numbers of the holder core's texts (French in holder/texts.cpp):
// the default working folders' names and the notices of files kept aside.

#include "resources/texts.h"

namespace quarnel {
QUARNEL_TEXT_TABLE(HolderTexts);
}  // namespace quarnel

namespace quarnel::txt {

inline constexpr int kFolderToEncrypt = 65193;
inline constexpr int kFolderEncryptedSent = 65194;
inline constexpr int kFolderEncryptedReceived = 65195;
inline constexpr int kFolderDecrypted = 65196;
inline constexpr int kFolderCertificates = 65197;
// Files kept aside before they are written over.
inline constexpr int kAlteredListKept = 72001;    // the kept file's path
inline constexpr int kPreviousFilesKept = 72002;  // the kept files' paths, one a line
inline constexpr int kFileNotSetAside = 72003;    // the file's path and the reason
// SaveSettings refused: a value holds a control character.
inline constexpr int kSettingsRefused = 72004;

}  // namespace quarnel::txt
