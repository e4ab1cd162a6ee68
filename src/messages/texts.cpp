// SPDX-License-Identifier: GPL-3.0-or-later
// French texts of the messages subsystem.

#include "messages/texts.h"
#include "resources/text_table.h"

namespace quarnel {

namespace {
constexpr TextEntry kTexts[] = {
    T(txt::kNoOwnKeyForMessage,
      "Votre clef privée n'est pas disponible : le message ne peut être chiffré. Effectuez "
      "d'abord votre affiliation."),
    T(txt::kCannotOpenFile, "Impossible d'ouvrir le fichier %s"),
    T(txt::kNotADate, "'%s' n'est pas une date correcte"),
    T(txt::kTextNotCondensable,
      "Le message contient une suite de caractères qui ne peut être condensée : il ne peut être "
      "chiffré."),
    T(txt::kNoRecipient, "Aucun correspondant n'a été choisi : le message ne peut être chiffré."),
    T(txt::kAttachmentNameRefused, "Le nom de pièce jointe \"%s\" est refusé."),
    T(txt::kNoFreeName,
      "Aucun nom libre n'a été trouvé pour le fichier %s : il n'est pas enregistré."),
    T(txt::kAddresseeRegistered, "Message destiné au correspondant, %s"),
    T(txt::kAddresseeUnregistered, "Message destiné au correspondant non enregistré, %s"),
    T(txt::kAddresseeFirmDepartment, "%s, %s, à l'attention de %s %s"),
    T(txt::kAddresseeFirm, "%s, à l'attention de %s %s"),
    T(txt::kMessageBeingDecrypted, "Un message a été reçu, son déchiffrement est en cours."),
    T(txt::kMessageBeingEncrypted, "Le chiffrement du message est en cours."),
    T(txt::kAttachmentMissing,
      "La pièce jointe %s n'a pas été reçue : un fichier vide la remplace."),
    T(txt::kAttachmentUndecipherable,
      "La pièce jointe %s n'a pu être déchiffrée : un fichier vide la remplace."),
    T(txt::kAttachmentNotSaved, "La pièce jointe %s n'a pu être enregistrée."),
    T(txt::kAttachmentHeaderDiffers,
      "La pièce jointe %s n'appartient pas à ce message (son en-tête diffère de celui du "
      "message) : un fichier vide la remplace."),
    T(txt::kRecipientNotHolder,
      "Le destinataire inscrit dans ce message ne correspond pas à votre identité : le "
      "correspondant détient peut-être une version ancienne de vos données."),
    T(txt::kAttachmentRenamed,
      "Un fichier de même nom existait déjà : la pièce jointe est enregistrée sous le nom %s."),
    T(txt::kSenderRegistered, "Expéditeur enregistré"),
    T(txt::kSenderUnregistered, "Expéditeur non enregistré"),
    T(txt::kIdentityConfirmed, "Les informations ci-dessus sont confirmées."),
    T(txt::kIdentityNotConfirmed, "Attention! Les informations ci-dessus ne sont pas confirmées."),
    T(txt::kEncryptedOn, "Chiffré le %s à %s"),
    T(txt::kLabelOrganisation, "Organisme :"),
    T(txt::kHeaderTitle, "En-tête :"),
    T(txt::kHeaderDigestAndSignature, "Message condensé et signature :"),
    T(txt::kHeaderInformation, "Informations et date du message :"),
    T(txt::kHeaderSender, "Expéditeur :"),
    T(txt::kHeaderMessage, "Message :"),
    T(txt::kDigestConfirmed, "Le message condensé ci-dessous est confirmé."),
    T(txt::kDigestNotConfirmed, "Attention! Le message condensé ci-dessous n'est pas confirmé."),
    T(txt::kNotASavedMessage, "Le fichier %s n'est pas un message déchiffré enregistré."),
    T(txt::kNothingToCertify,
      "Le message condensé n'est pas confirmé : la demande de certification n'est pas "
      "envoyée."),
    T(txt::kCaptionReading, "Lecture d'un message reçu et déchiffré"),
    T(txt::kGroupSender, "Expéditeur"),
    T(txt::kLabelAffiliationNumber, "Numéro d'affiliation :"),
    T(txt::kLabelName, "Nom :"),
    T(txt::kLabelLocality, "Localité :"),
    T(txt::kLabelEmail, "E-mail :"),
    T(txt::kLabelDigest, "Message condensé :"),
    T(txt::kLabelSignature, "Signature :"),
    T(txt::kLabelSubject, "objet :"),
    T(txt::kMessageCopied, "Le message déchiffré est placé dans le presse-papiers."),
    T(txt::kCertificateCopied, "Le certificat est placé dans le presse-papiers."),
    T(txt::kCaptionCertificate, "Certificat"),
    T(txt::kCertificatePrintTitle, "certificat"),
    T(txt::kCaptionCertification, "Certification"),
    T(txt::kLabelAffiliationShort, "N° d'affiliation :"),
    T(txt::kLabelReducedDigest, "Message réduit :"),
    T(txt::kMessageDecrypted, "Message déchiffré"),
    T(txt::kButtonAttachments, "Pièces jointes"),
    T(txt::kButtonBack, "Retour"),
    T(txt::kButtonCertify, "Certifier"),
    T(txt::kButtonSaveAs, "Enregistrer"),
    T(txt::kTipAttachments, "Ouvrir une des pièces jointes déchiffrées"),
    T(txt::kSaveMessageCaption, "Enregistrer le message déchiffré"),
    T(txt::kSaveCertificateCaption, "Enregistrer le certificat"),
    T(txt::kOpenSavedCaption, "Message déchiffré à certifier"),
    T(txt::kAttachmentNotOpened,
      "Aucun programme n'a pu ouvrir la pièce jointe %s. Elle est enregistrée dans le dossier %s."),
    T(txt::kSavedMessageTooLarge,
      "Le fichier %s dépasse %s Mo : ce n'est pas un message déchiffré enregistré."),
    T(txt::kAttachmentNotices, "Pièces jointes :"),
    T(txt::kAttachmentsNotSigned,
      "Les pièces jointes ne sont pas couvertes par la signature : leur contenu n'est pas prouvé."),
    T(txt::kTipCertify, "Demander à l'Organisme de Confiance de certifier la signature"),
    T(txt::kTipSaveAs, "Enregistrer avec son en-tête"),
    T(txt::kTipBack, "Fermer la fenêtre"),
    T(txt::kDecryptionCaption, "Déchiffrement du message"),
};
}  // namespace

std::span<const TextEntry> MessagesTexts() {
    return kTexts;
}

}  // namespace quarnel
