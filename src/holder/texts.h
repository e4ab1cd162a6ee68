#pragma once
// Resource numbers of the holder core's texts (French in holder/texts.cpp):
// the default working folders' names.

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

}  // namespace quarnel::txt
