// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Resource numbers of the shell's texts (French in app/texts.cpp).

#include "resources/texts.h"

namespace quarnel {
QUARNEL_TEXT_TABLE(AppTexts);
}  // namespace quarnel

namespace quarnel::txt {

// Key button of the options dialog.
inline constexpr int kClickEightTimes = 65172;  // "Cliquez 8 fois sans imposer de cadence."
inline constexpr int kClickButton = 65173;      // "Cliquez"
inline constexpr int kTimesIrregularPace = 65174;
// Information lines.
inline constexpr int kMessagesSent = 65251;
inline constexpr int kInitialisationToResume = 65264;
inline constexpr int kMessageAltered = 65279;
inline constexpr int kMessagesToSend = 65291;
inline constexpr int kAskForKeys = 65292;
inline constexpr int kVersionChanged = 65293;
inline constexpr int kUpdateNeeded = 65294;
inline constexpr int kNotInitialised = 65295;
// Captions.
inline constexpr int kOptionsButton = 65287;  // "&Options"
inline constexpr int kOptionsCaption = 65303;
// Main window.
inline constexpr int kQuarnelSoft = 71001;
inline constexpr int kNotRegistered = 71002;
inline constexpr int kMainNameLabel = 71003;
inline constexpr int kInformationGroup = 71004;
inline constexpr int kCorrespondentsButton = 71005;
inline constexpr int kIncomingMailButton = 71006;
inline constexpr int kUpdateButton = 71007;
inline constexpr int kDispatchButton = 71008;
inline constexpr int kNewKeysButton = 71009;
inline constexpr int kCertification = 71010;
inline constexpr int kExitButton = 71011;
inline constexpr int kInitialisation = 71012;
inline constexpr int kMenuEmployees = 71014;
inline constexpr int kMenuIndependents = 71015;
inline constexpr int kMenuPrivatePersons = 71016;
inline constexpr int kHelpContents = 71017;
inline constexpr int kContextHelp = 71018;
inline constexpr int kAbout = 71019;
inline constexpr int kAboutText = 71020;  // program, version code, TA code
inline constexpr int kClearInformation = 71023;
inline constexpr int kInitialisationButton = 71024;  // the button; kInitialisation the dialog
// The language switched while affiliated: the affiliation must be updated.
inline constexpr int kLanguageChanged = 71025;
inline constexpr int kLanguageWarning = 71026;
inline constexpr int kChangeLanguage = 71027;
inline constexpr int kKeepLanguage = 71028;
inline constexpr int kMailboxButton = 71029;   // the mailbox
inline constexpr int kReplyNeedsKeys = 71030;  // the sender's number

// Options dialog.
inline constexpr int kGeneral = 71101;
inline constexpr int kFoldersTab = 71102;
inline constexpr int kNetworkTab = 71103;
inline constexpr int kLanguage = 71104;
inline constexpr int kEnglish = 71105;
inline constexpr int kFrench = 71106;
inline constexpr int kUserGroup = 71107;
inline constexpr int kEmployee = 71108;
inline constexpr int kIndependent = 71109;
inline constexpr int kPrivatePerson = 71110;
inline constexpr int kTrustedAuthority = 71111;
inline constexpr int kIdentificationCode = 71112;
inline constexpr int kAddress = 71113;
inline constexpr int kPort = 71114;
inline constexpr int kPortFree = 71115;
inline constexpr int kPort80 = 71116;
inline constexpr int kCertificateDigest = 71117;
inline constexpr int kCheckCertificate = 71118;
inline constexpr int kMailGroup = 71119;
inline constexpr int kSmtp = 71120;
inline constexpr int kPop3 = 71121;
inline constexpr int kAccountNameLabel = 71122;
inline constexpr int kPasswordLabel = 71123;
inline constexpr int kKeyFolder = 71124;
inline constexpr int kOutgoingMessagesFolder = 71125;
inline constexpr int kOutgoingFilesFolder = 71126;
inline constexpr int kEncryptedFolder = 71127;
inline constexpr int kSentLabel = 71128;
inline constexpr int kReceivedLabel = 71129;
inline constexpr int kIncomingMessagesFolder = 71130;
inline constexpr int kIncomingFilesFolder = 71131;
inline constexpr int kCertificatesFolder = 71132;
inline constexpr int kChangeButton = 71133;
inline constexpr int kLocalNetwork = 71134;
inline constexpr int kFolderNotCreated = 71137;
inline constexpr int kKeysNotMoved = 71138;
inline constexpr int kChooseFolder = 71139;
// A working folder that would let a mail plant a file the program reads.
inline constexpr int kFolderExposed = 71140;  // folder, reason
inline constexpr int kReasonDataFolder = 71141;
inline constexpr int kReasonKeyFolder = 71142;
inline constexpr int kReasonProgramFolder = 71143;
// Why "Ok" of the options dialog is disabled, and refused characters.
inline constexpr int kOkOnceDone = 71160;
inline constexpr int kOkCategory = 71161;
inline constexpr int kOkClicks = 71162;
inline constexpr int kOkAuthorityAddress = 71163;
inline constexpr int kOkMailField = 71164;
inline constexpr int kOkFolder = 71165;
inline constexpr int kOkProxy = 71166;
inline constexpr int kCharacterNotAllowed = 71167;
inline constexpr int kFolderNotRepresentable = 71168;
// Mail collected without asking (the preferences file).
inline constexpr int kMailCollection = 71170;
inline constexpr int kCollectEvery = 71171;
inline constexpr int kMinutes = 71172;
inline constexpr int kCollectionExplained = 71173;
// The TA parameter file asked for on a first start.
inline constexpr int kParametersWanted = 71201;  // data folder
inline constexpr int kChooseParameters = 71202;
inline constexpr int kParametersFilter = 71203;
inline constexpr int kParametersInvalid = 71204;    // file
inline constexpr int kParametersNotCopied = 71205;  // file, data folder, reason
inline constexpr int kParametersAbsent = 71206;
inline constexpr int kParametersNotFound = 71207;  // data folder
// Before anything is read or written: the data folder itself.
inline constexpr int kAlreadyOpen = 71208;        // data folder, process, host
inline constexpr int kLockImpossible = 71209;     // data folder, reason
inline constexpr int kDataFolderRefused = 71210;  // data folder, characters
// The forms a mail server field takes (hint under the fields).
inline constexpr int kSmtpForms = 71190;
inline constexpr int kPop3Forms = 71191;

}  // namespace quarnel::txt
