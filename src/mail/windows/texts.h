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
inline constexpr int kMaintenant = 75406;
inline constexpr int kPlusTard = 75407;
inline constexpr int kActionLabel = 75408;
inline constexpr int kTipMaintenantOff = 75409;
inline constexpr int kTipAnnulerOff = 75411;
inline constexpr int kSmtpNoServer = 75412;
inline constexpr int kSmtpBuildFailed = 75413;
inline constexpr int kSmtpBackInQueue = 75414;
inline constexpr int kPop3Caption = 75420;  // "Réception du courrier chiffré"
inline constexpr int kRetirer = 75421;
inline constexpr int kDechiffrer = 75422;
inline constexpr int kTipRetirerOff = 75423;
inline constexpr int kTipDechiffrerOff = 75424;
inline constexpr int kPop3NoServer = 75425;
inline constexpr int kTransferProgress = 75426;   // "%s sur %s"
inline constexpr int kTipAnnulerStops = 75431;    // Annuler while a server is spoken to
inline constexpr int kTipAnnulerWaiting = 75432;  // received messages wait for Déchiffrer
inline constexpr int kPop3DecryptionStopped = 75433;
inline constexpr int kSmtpKeepQuestion = 75434;  // Annuler with a message not sent
inline constexpr int kSmtpQueueIt = 75435;
// Mail retrieved without asking, while the program is idle.
inline constexpr int kReleveEnCours = 75480;
inline constexpr int kReleveImpossible = 75481;  // the reason in the note
inline constexpr int kUnNouveauMessage = 75482;
inline constexpr int kNouveauxMessages = 75483;  // their count

}  // namespace quarnel::txt
