// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Resource numbers of the composer's texts and of the hand-over of a written
// message (French in messages/windows/texts.cpp), in the messages range.

#include "resources/texts.h"

namespace quarnel {
QUARNEL_TEXT_TABLE(ComposerTexts);
}  // namespace quarnel

namespace quarnel::txt {

inline constexpr int kComposerCaption = 73200;
inline constexpr int kSaveChanges = 73203;  // "Voulez-vous sauver les modifications dans %s?"
inline constexpr int kSaveMessage = 73204;  // "Voulez-vous enregistrer le message dans %s?"
inline constexpr int kLineColumn = 73205;   // "Ligne : %3d   Colonne : %3d"
inline constexpr int kModified = 73206;
inline constexpr int kFilterAll = 73209;
inline constexpr int kRed = 73210;
inline constexpr int kGreen = 73211;
inline constexpr int kBlue = 73212;
inline constexpr int kBlack = 73213;
inline constexpr int kSubjectLabel = 73214;
inline constexpr int kAttachButton = 73215;
inline constexpr int kOpenTextAction = 73216;
inline constexpr int kSaveTextAction = 73217;
inline constexpr int kSaveTextAsAction = 73218;
inline constexpr int kCut = 73221;
inline constexpr int kPaste = 73223;
inline constexpr int kUndo = 73224;
inline constexpr int kFont = 73225;
inline constexpr int kFontSize = 73226;
inline constexpr int kColour = 73227;
inline constexpr int kBold = 73228;
inline constexpr int kItalic = 73229;
inline constexpr int kUnderline = 73230;
inline constexpr int kAlignLeft = 73231;
inline constexpr int kAlignCentre = 73232;
inline constexpr int kAlignRight = 73233;
inline constexpr int kBullets = 73234;
inline constexpr int kEncryptButton = 73235;
inline constexpr int kNothingSelected = 73237;  // why Couper and Copier are greyed
inline constexpr int kNothingToUndo = 73238;
inline constexpr int kNothingToPaste = 73239;
inline constexpr int kFileTooLarge = 73240;  // %s file, %s bytes
inline constexpr int kNotReadableRtf = 73241;
inline constexpr int kTooManyAttachments = 73242;
inline constexpr int kNotInCp1252 = 73243;      // %s the characters
inline constexpr int kNotInCp1252File = 73244;  // %s the characters
inline constexpr int kEncryptionCaption = 73245;
inline constexpr int kNoFile = 73247;
inline constexpr int kBoldShort = 73248;  // the bold button's letter
inline constexpr int kItalicShort = 73249;
inline constexpr int kUnderlineShort = 73250;
// What the buttons of the composer's questions do.
inline constexpr int kSaveText = 73251;
inline constexpr int kCloseWithoutSaving = 73252;
inline constexpr int kEncryptWithoutSaving = 73254;
inline constexpr int kSaveThenEncrypt = 73255;
inline constexpr int kOpenWithoutSaving = 73256;
inline constexpr int kCloseUnencrypted = 73258;  // subject or attachments, no text
// Attachments' sizes and the mail's.
inline constexpr int kRemoveAttachment = 73259;
inline constexpr int kTipRemoveNothing = 73260;
inline constexpr int kMailSize = 73261;      // %s the size
inline constexpr int kMailTooLarge = 73262;  // %s the size, %s the providers' limit
inline constexpr int kEncryptAnyway = 73263;
inline constexpr int kAttachmentSize = 73264;         // %s name, %s size
inline constexpr int kAttachmentMissingSize = 73265;  // %s name
inline constexpr int kButtonReply = 73266;
inline constexpr int kTipReply = 73267;

}  // namespace quarnel::txt
