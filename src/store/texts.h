// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Resource numbers of the local stores' texts (French in store/texts.cpp):
// the correspondents window.

#include "resources/texts.h"

namespace quarnel {
QUARNEL_TEXT_TABLE(StoreTexts);
}  // namespace quarnel

namespace quarnel::txt {

inline constexpr int kCorrespondentDeletion = 65234;
inline constexpr int kListEmployees = 65281;
inline constexpr int kListIndependents = 65282;
inline constexpr int kListPrivatePersons = 65283;
// Column titles, one a line.
inline constexpr int kColumnsPrivatePersons = 65284;
inline constexpr int kColumnsIndependents = 65285;
inline constexpr int kColumnsEmployees = 65286;

inline constexpr int kFilter = 78001;
inline constexpr int kListsButton = 78002;
inline constexpr int kWriteButton = 78003;
inline constexpr int kDeleteButton = 78004;
inline constexpr int kUpdateKeyButton = 78005;
inline constexpr int kQuitButton = 78006;
inline constexpr int kRemark = 78007;
inline constexpr int kSaveButton = 78008;
inline constexpr int kPlainMessage = 78009;
inline constexpr int kFormattedMessage = 78010;
inline constexpr int kAffiliationDate = 78011;
// Why a button of the correspondents window is disabled.
inline constexpr int kAllListsShown = 78020;
inline constexpr int kRemarkNotSaved = 78021;
inline constexpr int kNoCorrespondentShown = 78022;
inline constexpr int kRemarkUnchanged = 78023;
inline constexpr int kRemarkTooLong = 78024;  // the longest length
inline constexpr int kNamedDeletion = 78025;  // %s the correspondent, %s the number

}  // namespace quarnel::txt
