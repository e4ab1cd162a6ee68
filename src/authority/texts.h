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
inline constexpr int kGroupSociete = 74051;
inline constexpr int kSocieteField = 74052;
inline constexpr int kDepartement = 74053;
inline constexpr int kGroupProfession = 74054;
inline constexpr int kProfessionField = 74055;
inline constexpr int kEnregistrement = 74056;
inline constexpr int kGroupDemandeur = 74057;
inline constexpr int kNomField = 74058;
inline constexpr int kPrenoms = 74059;
inline constexpr int kAdresseField = 74060;
inline constexpr int kCodePostal = 74061;
inline constexpr int kLocalite = 74062;
inline constexpr int kEntiteTerritoriale = 74063;
inline constexpr int kPays = 74064;
inline constexpr int kTelephone = 74065;
inline constexpr int kFax = 74066;
inline constexpr int kEmail = 74067;
inline constexpr int kGroupListePublique = 74068;
inline constexpr int kOui = 74069;
inline constexpr int kNon = 74070;
inline constexpr int kExecuter = 74071;
inline constexpr int kPasDeDiacritiques = 74072;
inline constexpr int kCaractereRefuse = 74073;
inline constexpr int kChampARemplir = 74074;
inline constexpr int kChoisirListe = 74075;

// New-correspondent dialog.
inline constexpr int kNouveauCorrespondant = 74080;
inline constexpr int kNumeroNouveauCorrespondant = 74081;
inline constexpr int kInformation = 74082;
inline constexpr int kCorrespondantDejaEnregistre = 74083;
inline constexpr int kPropreNumero = 74084;
inline constexpr int kNumeroNonHexadecimal = 74085;
inline constexpr int kNumeroIncomplet = 74086;

// TA connection window.
inline constexpr int kConnexionTa = 74090;
inline constexpr int kEnvoyer = 74091;
inline constexpr int kAccepter = 74092;
inline constexpr int kDonnees = 74093;
inline constexpr int kActions = 74094;
inline constexpr int kProgressRequest = 74095;
inline constexpr int kProgressReply = 74096;
inline constexpr int kProgressReplyOpen = 74097;
inline constexpr int kTipEnvoyerRunning = 74098;
inline constexpr int kTipEnvoyerAnswered = 74099;
inline constexpr int kTipAccepter = 74100;
inline constexpr int kTipAnnulerHeld = 74101;

}  // namespace quarnel::txt
