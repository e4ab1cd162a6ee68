// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Resource numbers of the sending and receiving windows' texts (French in
// mail/windows/texts.cpp), in the mail range.

#include "resources/texts.h"

namespace quarnel {
QUARNEL_TEXT_TABLE(MailWindowTexts);
}  // namespace quarnel

namespace quarnel::txt {

inline constexpr int kSmtpCaption = 75400;      // "Envoi du courrier chiffré"
inline constexpr int kSmtpReady = 75401;        // "Message chiffré prêt à être envoyé"
inline constexpr int kSmtpSubjectLine = 75402;  // "Objet : %s"
inline constexpr int kSmtpSentInfo = 75403;     // "Le message chiffré a été envoyé."
inline constexpr int kSmtpCopiedInfo = 75404;
inline constexpr int kSmtpMessageLabel = 75405;  // "Message chiffré :"
inline constexpr int kNowButton = 75406;
inline constexpr int kLaterButton = 75407;
inline constexpr int kActionLabel = 75408;
inline constexpr int kTipNowOff = 75409;
inline constexpr int kTipCancelOff = 75411;
inline constexpr int kSmtpNoServer = 75412;
inline constexpr int kSmtpBuildFailed = 75413;
inline constexpr int kSmtpBackInQueue = 75414;
inline constexpr int kPop3Caption = 75420;  // "Réception du courrier chiffré"
inline constexpr int kCollectButton = 75421;
inline constexpr int kDecryptButton = 75422;
inline constexpr int kTipCollectOff = 75423;
inline constexpr int kTipDecryptOff = 75424;
inline constexpr int kPop3NoServer = 75425;
inline constexpr int kTransferProgress = 75426;  // "%s sur %s"
inline constexpr int kTipCancelStops = 75431;    // Annuler while a server is spoken to
inline constexpr int kPop3DecryptionStopped = 75433;
inline constexpr int kSmtpKeepQuestion = 75434;  // Annuler with a message not sent
inline constexpr int kSmtpQueueIt = 75435;
// Mail retrieved without asking, while the program is idle.
inline constexpr int kCollectingMail = 75480;
inline constexpr int kCollectionFailed = 75481;  // the reason in the note
inline constexpr int kOneNewMessage = 75482;
inline constexpr int kNewMessages = 75483;  // their count

// The mailbox window.
inline constexpr int kMailboxCaption = 75440;
inline constexpr int kReceivedTab = 75441;
inline constexpr int kSentTab = 75442;
inline constexpr int kColDate = 75443;
inline constexpr int kColCorrespondent = 75444;
inline constexpr int kColSubject = 75445;
inline constexpr int kColAttachments = 75446;
inline constexpr int kColState = 75447;
inline constexpr int kStateUnread = 75448;
inline constexpr int kStateConfirmed = 75449;
inline constexpr int kStateNotConfirmed = 75450;
inline constexpr int kStateWaiting = 75451;
inline constexpr int kStateSent = 75452;
inline constexpr int kUnreadableRecord = 75453;  // "Illisible (enregistrement n°%s)"
inline constexpr int kFilterLabel = 75454;
inline constexpr int kOpenMessageButton = 75455;
inline constexpr int kDeleteMessageButton = 75456;
inline constexpr int kTipOpenOff = 75457;
inline constexpr int kTipWait = 75458;
inline constexpr int kDeleteQuestion = 75459;  // subject, sender, date
inline constexpr int kDeleteFailed = 75460;
inline constexpr int kMessageCount = 75461;
inline constexpr int kNotListed = 75462;
inline constexpr int kLogDamaged = 75463;  // file, line
inline constexpr int kLogUnreadable = 75464;
inline constexpr int kTipDeleteOff = 75465;
inline constexpr int kSearchButton = 75466;
inline constexpr int kTipSearchOff = 75467;
inline constexpr int kSearchCaption = 75468;
inline constexpr int kFoundInTexts = 75469;  // count, words
inline constexpr int kNotDecrypted = 75470;
inline constexpr int kStateRead = 75471;  // read before the mailbox kept marks

}  // namespace quarnel::txt
