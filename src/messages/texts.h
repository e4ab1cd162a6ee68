// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Resource numbers of the messages subsystem's texts (French in
// messages/texts.cpp).

#include "resources/texts.h"

namespace quarnel {
QUARNEL_TEXT_TABLE(MessagesTexts);
}  // namespace quarnel

namespace quarnel::txt {

// Encryption refused.
inline constexpr int kNoOwnKeyForMessage = 73001;
inline constexpr int kCannotOpenFile = 73002;  // "Impossible d'ouvrir le fichier %s"
inline constexpr int kNotADate = 73003;        // "'%s' n'est pas une date correcte"
inline constexpr int kTextNotCondensable = 73004;
inline constexpr int kNoRecipient = 73005;
inline constexpr int kAttachmentNameRefused = 73006;
inline constexpr int kNoFreeName = 73007;

// The correspondent a message is written to (composer label, addressee line).
inline constexpr int kAddresseeRegistered = 73060;
inline constexpr int kAddresseeUnregistered = 73061;
inline constexpr int kAddresseeFirmDepartment = 73062;  // firm, department, surname, first names
inline constexpr int kAddresseeFirm = 73063;            // firm, surname, first names

// Decryption: the information line and the notices of the attachments.
inline constexpr int kMessageBeingDecrypted = 73010;
// The information line while a message is encrypted.
inline constexpr int kMessageBeingEncrypted = 65248;
inline constexpr int kAttachmentMissing = 73011;
inline constexpr int kAttachmentUndecipherable = 73012;
inline constexpr int kAttachmentNotSaved = 73013;
inline constexpr int kAttachmentHeaderDiffers = 73014;
inline constexpr int kAttachmentRenamed = 73015;
// Section 3 does not name the holder as their settings do (not an attachment's).
inline constexpr int kRecipientNotHolder = 73016;

// The sender's data in the viewers.
inline constexpr int kSenderRegistered = 73020;
inline constexpr int kSenderUnregistered = 73021;
inline constexpr int kIdentityConfirmed = 73022;
inline constexpr int kIdentityNotConfirmed = 73023;
inline constexpr int kEncryptedOn = 73024;  // "Chiffré le %s à %s"
// "Profession :" and "Société :" are the main window's (texts_app.h).
inline constexpr int kLabelOrganisation = 73027;

// The header text before a decrypted message (saved and printed with it).
inline constexpr int kHeaderTitle = 73030;
inline constexpr int kHeaderDigestAndSignature = 73031;
inline constexpr int kHeaderInformation = 73032;
inline constexpr int kHeaderSender = 73033;
inline constexpr int kHeaderMessage = 73034;

// Certification of a saved message.
inline constexpr int kDigestConfirmed = 73040;
inline constexpr int kDigestNotConfirmed = 73041;
inline constexpr int kNotASavedMessage = 73042;
inline constexpr int kNothingToCertify = 73043;

// The viewers: the message viewer, the message to certify, the certificate.
inline constexpr int kCaptionReading = 73100;
inline constexpr int kGroupSender = 73101;
inline constexpr int kLabelAffiliationNumber = 73102;
inline constexpr int kLabelName = 73103;
inline constexpr int kLabelLocality = 73104;
inline constexpr int kLabelEmail = 73105;
inline constexpr int kLabelDigest = 73106;
inline constexpr int kLabelSignature = 73107;
inline constexpr int kLabelSubject = 73108;
inline constexpr int kMessageCopied = 73113;
inline constexpr int kCertificateCopied = 73114;
inline constexpr int kCaptionCertificate = 73115;
inline constexpr int kCertificatePrintTitle = 73116;
inline constexpr int kCaptionCertification = 73117;
inline constexpr int kLabelAffiliationShort = 73118;
inline constexpr int kLabelReducedDigest = 73119;
inline constexpr int kMessageDecrypted = 73120;
inline constexpr int kButtonAttachments = 73121;
inline constexpr int kButtonBack = 73122;
inline constexpr int kButtonCertify = 73123;
inline constexpr int kButtonSaveAs = 73124;
inline constexpr int kTipAttachments = 73128;
inline constexpr int kSaveMessageCaption = 73130;
inline constexpr int kSaveCertificateCaption = 73131;
inline constexpr int kOpenSavedCaption = 73132;
inline constexpr int kAttachmentNotOpened = 73133;  // %s name, %s folder
inline constexpr int kSavedMessageTooLarge = 73134;
inline constexpr int kAttachmentNotices = 73135;
inline constexpr int kAttachmentsNotSigned = 73142;
inline constexpr int kTipCertify = 73136;
inline constexpr int kTipSaveAs = 73137;
inline constexpr int kTipBack = 73139;
inline constexpr int kDecryptionCaption = 73141;

}  // namespace quarnel::txt
