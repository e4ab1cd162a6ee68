// SPDX-License-Identifier: GPL-3.0-or-later
// French texts of the sending and receiving windows.

#include "mail/windows/texts.h"

#include "resources/text_table.h"

namespace quarnel {

namespace {
constexpr TextEntry kTexts[] = {
    T(txt::kSmtpCaption, "Envoi du courrier chiffré"),
    T(txt::kSmtpReady, "Message chiffré prêt à être envoyé"),
    T(txt::kSmtpSubjectLine, "Objet : %s"),
    T(txt::kSmtpSentInfo, "Le message chiffré a été envoyé."),
    T(txt::kSmtpCopiedInfo, "Le message chiffré est placé dans le presse-papiers."),
    T(txt::kSmtpMessageLabel, "Message chiffré :"),
    T(txt::kMaintenant, "&Maintenant"),
    T(txt::kPlusTard, "&Plus tard"),
    T(txt::kActionLabel, "Déroulement :"),
    T(txt::kTipMaintenantOff, "Attendez la fin de l'envoi en cours."),
    T(txt::kTipAnnulerOff, "Attendez la fin de la transmission en cours."),
    T(txt::kSmtpNoServer,
      "Aucun transmetteur SMTP n'est indiqué : donnez-le dans les options, rubrique messagerie."),
    T(txt::kSmtpBuildFailed, "Le message n'a pu être préparé : %s"),
    T(txt::kSmtpBackInQueue, "Le message reste dans la file d'attente."),
    T(txt::kPop3Caption, "Réception du courrier chiffré"),
    T(txt::kRetirer, "&Retirer"),
    T(txt::kDechiffrer, "&Déchiffrer"),
    T(txt::kTipRetirerOff,
      "Une réception est en cours, ou des messages attendent d'être déchiffrés."),
    T(txt::kTipDechiffrerOff, "Aucun message reçu n'attend d'être déchiffré."),
    T(txt::kPop3NoServer,
      "Aucun serveur POP3 n'est indiqué : donnez-le dans les options, rubrique messagerie."),
    T(txt::kTransferProgress, "%s sur %s"),
    T(txt::kTipAnnulerStops,
      "Interrompt l'échange avec le serveur ; rien n'est perdu, vous pourrez réessayer."),
    T(txt::kTipAnnulerWaiting, "Déchiffrez d'abord les messages reçus."),
    T(txt::kSmtpKeepQuestion,
      "Le message chiffré n'a pas été envoyé. Voulez-vous le mettre dans la file d'attente, "
      "pour l'envoyer plus tard avec « Expédition » ?"),
    T(txt::kSmtpQueueIt, "&Mettre dans la file d'attente"),
    T(txt::kPop3DecryptionStopped,
      "Déchiffrement annulé : le message reste le premier de la liste d'attente."),
    T(txt::kReleveEnCours, "Relevé automatique du courrier en cours"),
    T(txt::kReleveImpossible,
      "Le relevé automatique du courrier a échoué ; il sera tenté de nouveau à la prochaine "
      "échéance."),
    T(txt::kUnNouveauMessage, "Un nouveau message attend dans « Courrier entrant »."),
    T(txt::kNouveauxMessages, "%s nouveaux messages attendent dans « Courrier entrant »."),
};
}  // namespace

std::span<const TextEntry> MailWindowTexts() {
    return kTexts;
}

}  // namespace quarnel
