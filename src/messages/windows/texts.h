// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Resource numbers of the composer's texts and of the hand-over of a written
// message (French in messages/windows/texts.cpp), in the messages range.

#include "resources/texts.h"

namespace quarnel {
QUARNEL_TEXT_TABLE(ComposerTexts);
}  // namespace quarnel

namespace quarnel::txt {

inline constexpr int kRedacCaption = 73200;
inline constexpr int kSaveChanges = 73203;  // "Voulez-vous sauver les modifications dans %s?"
inline constexpr int kSaveMessage = 73204;  // "Voulez-vous enregistrer le message dans %s?"
inline constexpr int kLineColumn = 73205;   // "Ligne : %3d   Colonne : %3d"
inline constexpr int kModified = 73206;
inline constexpr int kFilterAll = 73209;
inline constexpr int kRouge = 73210;
inline constexpr int kVert = 73211;
inline constexpr int kBleu = 73212;
inline constexpr int kNoir = 73213;
inline constexpr int kLabelObjet = 73214;
inline constexpr int kAttacher = 73215;
inline constexpr int kOuvrir = 73216;
inline constexpr int kEnregistrer = 73217;
inline constexpr int kEnregistrerSous = 73218;
inline constexpr int kCouper = 73221;
inline constexpr int kColler = 73223;
inline constexpr int kDefaire = 73224;
inline constexpr int kPolice = 73225;
inline constexpr int kTaille = 73226;
inline constexpr int kCouleur = 73227;
inline constexpr int kGras = 73228;
inline constexpr int kItalique = 73229;
inline constexpr int kSouligne = 73230;
inline constexpr int kAGauche = 73231;
inline constexpr int kCentre = 73232;
inline constexpr int kADroite = 73233;
inline constexpr int kPuces = 73234;
inline constexpr int kChiffrer = 73235;
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
inline constexpr int kGrasCourt = 73248;  // the bold button's letter
inline constexpr int kItaliqueCourt = 73249;
inline constexpr int kSouligneCourt = 73250;
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
