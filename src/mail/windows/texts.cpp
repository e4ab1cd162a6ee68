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
    T(txt::kSmtpKeepQuestion,
      "Le message chiffré n'a pas été envoyé. Voulez-vous le mettre dans la file d'attente, "
      "pour l'envoyer plus tard avec « Expédition » ?"),
    T(txt::kSmtpQueueIt, "&Mettre dans la file d'attente"),
    T(txt::kPop3DecryptionStopped,
      "Déchiffrement annulé : le message reste le premier de la liste d'attente."),
    T(txt::kCourrierCaption, "Courrier"),
    T(txt::kOngletRecus, "Reçus"),
    T(txt::kOngletEnvoyes, "Envoyés"),
    T(txt::kColDate, "Date"),
    T(txt::kColCorrespondant, "Correspondant"),
    T(txt::kColObjet, "Objet"),
    T(txt::kColPieces, "Pièces jointes"),
    T(txt::kColEtat, "État"),
    T(txt::kEtatNonLu, "Non lu"),
    T(txt::kEtatConfirme, "Lu, expéditeur confirmé"),
    T(txt::kEtatNonConfirme, "Lu, expéditeur non confirmé"),
    T(txt::kEtatEnAttente, "En attente"),
    T(txt::kEtatEnvoye, "Envoyé"),
    T(txt::kIllisible, "Illisible (enregistrement n°%s)"),
    T(txt::kFiltrer, "Fi&ltrer :"),
    T(txt::kOuvrirMessage, "&Ouvrir"),
    T(txt::kSupprimerMessage, "&Supprimer"),
    T(txt::kTipOuvrirOff, "Choisissez un message reçu lisible."),
    T(txt::kTipAttendre, "Attendez la fin de l'opération en cours."),
    T(txt::kSupprimerQuestion,
      "Supprimer définitivement le message « %s » de %s, reçu le %s ? Le message chiffré et "
      "ses pièces jointes chiffrées seront effacés du disque."),
    T(txt::kSupprimerEchec, "Le message n'a pu être supprimé : %s"),
    T(txt::kCompteMessages, "Reçus : %s ; envoyés et en attente : %s"),
    T(txt::kNonListes, "%s messages plus anciens ne sont pas listés."),
    T(txt::kJournalEndommage,
      "Le journal %s est endommagé à partir de la ligne %s : la suite n'est pas lue, et le "
      "fichier n'est pas modifié."),
    T(txt::kJournalIllisible, "Le journal %s ne peut être lu."),
    T(txt::kTipSupprimerOff, "Choisissez un message reçu."),
    T(txt::kRechercher, "&Rechercher dans les textes"),
    T(txt::kTipRechercherOff,
      "Tapez d'abord dans « Filtrer » les mots à chercher dans les textes des messages reçus."),
    T(txt::kRechercheCaption, "Recherche dans les textes"),
    T(txt::kTrouves,
      "%s messages reçus contiennent « %s » dans leur texte ; effacez le filtre pour les revoir "
      "tous."),
    T(txt::kNonDechiffres, "%s messages n'ont pu être déchiffrés."),
    T(txt::kEtatLu, "Lu"),
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
