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
    T(txt::kNowButton, "&Maintenant"),
    T(txt::kLaterButton, "&Plus tard"),
    T(txt::kActionLabel, "Déroulement :"),
    T(txt::kTipNowOff, "Attendez la fin de l'envoi en cours."),
    T(txt::kTipCancelOff, "Attendez la fin de la transmission en cours."),
    T(txt::kSmtpNoServer,
      "Aucun transmetteur SMTP n'est indiqué : donnez-le dans les options, rubrique messagerie."),
    T(txt::kSmtpBuildFailed, "Le message n'a pu être préparé : %s"),
    T(txt::kSmtpBackInQueue, "Le message reste dans la file d'attente."),
    T(txt::kPop3Caption, "Réception du courrier chiffré"),
    T(txt::kCollectButton, "&Retirer"),
    T(txt::kDecryptButton, "&Déchiffrer"),
    T(txt::kTipCollectOff,
      "Une réception est en cours, ou des messages attendent d'être déchiffrés."),
    T(txt::kTipDecryptOff, "Aucun message reçu n'attend d'être déchiffré."),
    T(txt::kPop3NoServer,
      "Aucun serveur POP3 n'est indiqué : donnez-le dans les options, rubrique messagerie."),
    T(txt::kTransferProgress, "%s sur %s"),
    T(txt::kTipCancelStops,
      "Interrompt l'échange avec le serveur ; rien n'est perdu, vous pourrez réessayer."),
    T(txt::kSmtpKeepQuestion,
      "Le message chiffré n'a pas été envoyé. Voulez-vous le mettre dans la file d'attente, "
      "pour l'envoyer plus tard avec « Expédition » ?"),
    T(txt::kSmtpQueueIt, "&Mettre dans la file d'attente"),
    T(txt::kPop3DecryptionStopped,
      "Déchiffrement annulé : le message reste le premier de la liste d'attente."),
    T(txt::kMailboxCaption, "Courrier"),
    T(txt::kReceivedTab, "Reçus"),
    T(txt::kSentTab, "Envoyés"),
    T(txt::kColDate, "Date"),
    T(txt::kColCorrespondent, "Correspondant"),
    T(txt::kColSubject, "Objet"),
    T(txt::kColAttachments, "Pièces jointes"),
    T(txt::kColState, "État"),
    T(txt::kStateUnread, "Non lu"),
    T(txt::kStateConfirmed, "Lu, expéditeur confirmé"),
    T(txt::kStateNotConfirmed, "Lu, expéditeur non confirmé"),
    T(txt::kStateWaiting, "En attente"),
    T(txt::kStateSent, "Envoyé"),
    T(txt::kUnreadableRecord, "Illisible (enregistrement n°%s)"),
    T(txt::kFilterLabel, "Fi&ltrer :"),
    T(txt::kOpenMessageButton, "&Ouvrir"),
    T(txt::kDeleteMessageButton, "&Supprimer"),
    T(txt::kTipOpenOff, "Choisissez un message reçu lisible."),
    T(txt::kTipWait, "Attendez la fin de l'opération en cours."),
    T(txt::kDeleteQuestion,
      "Supprimer définitivement le message « %s » de %s, reçu le %s ? Le message chiffré et "
      "ses pièces jointes chiffrées seront effacés du disque."),
    T(txt::kDeleteFailed, "Le message n'a pu être supprimé : %s"),
    T(txt::kMessageCount, "Reçus : %s ; envoyés et en attente : %s"),
    T(txt::kNotListed, "%s messages plus anciens ne sont pas listés."),
    T(txt::kLogDamaged,
      "Le journal %s est endommagé à partir de la ligne %s : la suite n'est pas lue, et le "
      "fichier n'est pas modifié."),
    T(txt::kLogUnreadable, "Le journal %s ne peut être lu."),
    T(txt::kTipDeleteOff, "Choisissez un message reçu."),
    T(txt::kSearchButton, "&Rechercher dans les textes"),
    T(txt::kTipSearchOff,
      "Tapez d'abord dans « Filtrer » les mots à chercher dans les textes des messages reçus."),
    T(txt::kSearchCaption, "Recherche dans les textes"),
    T(txt::kFoundInTexts,
      "%s messages reçus contiennent « %s » dans leur texte ; effacez le filtre pour les revoir "
      "tous."),
    T(txt::kNotDecrypted, "%s messages n'ont pu être déchiffrés."),
    T(txt::kStateRead, "Lu"),
    T(txt::kCollectingMail, "Relevé automatique du courrier en cours"),
    T(txt::kCollectionFailed,
      "Le relevé automatique du courrier a échoué ; il sera tenté de nouveau à la prochaine "
      "échéance."),
    T(txt::kOneNewMessage, "Un nouveau message attend dans « Courrier entrant »."),
    T(txt::kNewMessages, "%s nouveaux messages attendent dans « Courrier entrant »."),
};
}  // namespace

std::span<const TextEntry> MailWindowTexts() {
    return kTexts;
}

}  // namespace quarnel
