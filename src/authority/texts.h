// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Resource numbers of the authority subsystem's texts (French in
// authority/texts.cpp).

#include "resources/texts.h"

namespace quarnel {
QUARNEL_TEXT_TABLE(AuthorityTexts);
}  // namespace quarnel

namespace quarnel::txt {

// The information line once the affiliation is confirmed.
inline constexpr int kAffiliationConfirmed = 65268;

// Refusals to build a request.
inline constexpr int kNoSigningKey = 74001;
inline constexpr int kNoCertificationData = 74002;
inline constexpr int kKeySetupMissing = 74003;
inline constexpr int kNotARequestKind = 74004;
inline constexpr int kBadCorrespondentNumber = 74005;

// The information line after a processed reply.
inline constexpr int kPrivateKeyDelivered = 74010;
inline constexpr int kAffiliationUpdated = 74011;
inline constexpr int kAffiliationUpdatedRegistered = 74012;
inline constexpr int kKeyDelivered = 74013;
inline constexpr int kKeyUpdated = 74014;
inline constexpr int kCertificateDelivered = 74015;
inline constexpr int kCertificateTitle = 74016;

// The action log of the TA connection window.
inline constexpr int kLogCall = 74020;
inline constexpr int kLogResolved = 74021;
inline constexpr int kLogHostNotFound = 74022;
inline constexpr int kLogConnected = 74023;
inline constexpr int kLogSending = 74024;
inline constexpr int kLogConnectFailed = 74025;
inline constexpr int kLogReplyFailed = 74026;
inline constexpr int kLogErrorNumber = 74027;
inline constexpr int kLogDisconnected = 74028;
inline constexpr int kLogReplyReceived = 74029;
inline constexpr int kLogRequestFailed = 74030;
inline constexpr int kLogTimedOut = 74031;
inline constexpr int kLogTooManyRedirects = 74032;
inline constexpr int kLogNoReply = 74033;
inline constexpr int kLogBadRedirect = 74034;
inline constexpr int kLogReplyTooLong = 74035;
inline constexpr int kLogHeaderLineTooLong = 74036;
// Why an exchange failed, naming the server.
inline constexpr int kLogUnknownHost = 74037;
inline constexpr int kLogRefused = 74038;
inline constexpr int kLogUnreachable = 74039;
inline constexpr int kLogNoConnection = 74040;
inline constexpr int kLogReplyUnfinished = 74041;
inline constexpr int kLogRequestStuck = 74042;
inline constexpr int kLogConnectionLost = 74043;
inline constexpr int kLogClosedSilently = 74044;
inline constexpr int kLogReplyIncomplete = 74045;
inline constexpr int kLogChunksIncomplete = 74046;
inline constexpr int kLogBadFraming = 74047;
inline constexpr int kLogUnsupportedEncoding = 74048;

// Affiliation forms.
inline constexpr int kAffiliationCaption = 74050;
inline constexpr int kGroupFirm = 74051;
inline constexpr int kFirmField = 74052;
inline constexpr int kDepartment = 74053;
inline constexpr int kGroupProfession = 74054;
inline constexpr int kProfessionField = 74055;
inline constexpr int kRegistration = 74056;
inline constexpr int kGroupApplicant = 74057;
inline constexpr int kSurnameField = 74058;
inline constexpr int kFirstNames = 74059;
inline constexpr int kAddressField = 74060;
inline constexpr int kPostcode = 74061;
inline constexpr int kLocality = 74062;
inline constexpr int kRegion = 74063;
inline constexpr int kCountry = 74064;
inline constexpr int kTelephone = 74065;
inline constexpr int kFax = 74066;
inline constexpr int kEmail = 74067;
inline constexpr int kGroupPublicList = 74068;
inline constexpr int kYesChoice = 74069;
inline constexpr int kNoChoice = 74070;
inline constexpr int kExecuteButton = 74071;
inline constexpr int kNoDiacritics = 74072;
inline constexpr int kCharacterRefused = 74073;
inline constexpr int kFieldToFill = 74074;
inline constexpr int kChoosePublicList = 74075;

// New-correspondent dialog.
inline constexpr int kNewCorrespondent = 74080;
inline constexpr int kNewCorrespondentNumber = 74081;
inline constexpr int kInformation = 74082;
inline constexpr int kCorrespondentAlreadyRegistered = 74083;
inline constexpr int kOwnNumber = 74084;
inline constexpr int kNumberNotHexadecimal = 74085;
inline constexpr int kNumberIncomplete = 74086;

// TA connection window.
inline constexpr int kAuthorityConnection = 74090;
inline constexpr int kSendButton = 74091;
inline constexpr int kAcceptButton = 74092;
inline constexpr int kDataGroup = 74093;
inline constexpr int kActions = 74094;
inline constexpr int kProgressRequest = 74095;
inline constexpr int kProgressReply = 74096;
inline constexpr int kProgressReplyOpen = 74097;
inline constexpr int kTipSendRunning = 74098;
inline constexpr int kTipSendAnswered = 74099;
inline constexpr int kTipAccept = 74100;
inline constexpr int kTipCancelHeld = 74101;

}  // namespace quarnel::txt
