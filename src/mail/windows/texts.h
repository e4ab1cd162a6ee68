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
inline constexpr int kTransferProgress = 75426;  // "%s sur %s"
inline constexpr int kTipAnnulerStops = 75431;   // Annuler while a server is spoken to
inline constexpr int kPop3DecryptionStopped = 75433;
inline constexpr int kSmtpKeepQuestion = 75434;  // Annuler with a message not sent
inline constexpr int kSmtpQueueIt = 75435;
// Mail retrieved without asking, while the program is idle.
inline constexpr int kReleveEnCours = 75480;
inline constexpr int kReleveImpossible = 75481;  // the reason in the note
inline constexpr int kUnNouveauMessage = 75482;
inline constexpr int kNouveauxMessages = 75483;  // their count

// The mailbox window.
inline constexpr int kCourrierCaption = 75440;
inline constexpr int kOngletRecus = 75441;
inline constexpr int kOngletEnvoyes = 75442;
inline constexpr int kColDate = 75443;
inline constexpr int kColCorrespondant = 75444;
inline constexpr int kColObjet = 75445;
inline constexpr int kColPieces = 75446;
inline constexpr int kColEtat = 75447;
inline constexpr int kEtatNonLu = 75448;
inline constexpr int kEtatConfirme = 75449;
inline constexpr int kEtatNonConfirme = 75450;
inline constexpr int kEtatEnAttente = 75451;
inline constexpr int kEtatEnvoye = 75452;
inline constexpr int kIllisible = 75453;  // "Illisible (enregistrement n°%s)"
inline constexpr int kFiltrer = 75454;
inline constexpr int kOuvrirMessage = 75455;
inline constexpr int kSupprimerMessage = 75456;
inline constexpr int kTipOuvrirOff = 75457;
inline constexpr int kTipAttendre = 75458;
inline constexpr int kSupprimerQuestion = 75459;  // subject, sender, date
inline constexpr int kSupprimerEchec = 75460;
inline constexpr int kCompteMessages = 75461;
inline constexpr int kNonListes = 75462;
inline constexpr int kJournalEndommage = 75463;  // file, line
inline constexpr int kJournalIllisible = 75464;
inline constexpr int kTipSupprimerOff = 75465;
inline constexpr int kRechercher = 75466;
inline constexpr int kTipRechercherOff = 75467;
inline constexpr int kRechercheCaption = 75468;
inline constexpr int kTrouves = 75469;  // count, words
inline constexpr int kNonDechiffres = 75470;
inline constexpr int kEtatLu = 75471;  // read before the mailbox kept marks

}  // namespace quarnel::txt
