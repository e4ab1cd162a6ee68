// SPDX-License-Identifier: GPL-3.0-or-later
// French texts of the authority subsystem.

#include "authority/texts.h"
#include "resources/text_table.h"

namespace quarnel {

namespace {
constexpr TextEntry kTexts[] = {
    T(txt::kAffiliationConfirmed,
      "Votre affiliation est confirmée. Il est maintenant nécessaire de demander une clef pour "
      "chacun de vos correspondants."),
    T(txt::kNoSigningKey,
      "Votre clef privée n'est pas disponible : la demande ne peut être préparée. Effectuez "
      "d'abord votre affiliation."),
    T(txt::kNoCertificationData,
      "Aucun message n'a été choisi pour la certification : la demande ne peut être préparée."),
    T(txt::kKeySetupMissing,
      "L'initialisation des clefs n'est pas terminée : la demande d'affiliation ne peut être "
      "préparée."),
    T(txt::kNotARequestKind, "Cette demande n'est pas adressée à l'Organisme de Confiance."),
    T(txt::kBadCorrespondentNumber,
      "Le n° d'affiliation du correspondant doit avoir 11 caractères."),
    T(txt::kPrivateKeyDelivered, "Une clef privée vous a été fournie."),
    T(txt::kAffiliationUpdated,
      "Votre affiliation est mise à jour. Il est nécessaire de renouveler les clefs pour "
      "correspondre."),
    T(txt::kAffiliationUpdatedRegistered,
      "Votre affiliation est mise à jour et enregistrée. Il est nécessaire de renouveler les "
      "clefs pour correspondre."),
    T(txt::kKeyDelivered, "La clef demandée a été fournie."),
    T(txt::kKeyUpdated, "Une clef pour correspondre a été mise à jour."),
    T(txt::kCertificateDelivered, "Un certificat vous a été délivré."),
    T(txt::kCertificateTitle, "Certificat"),
    T(txt::kLogCall, "Appel"),
    T(txt::kLogResolved, "Localisation du serveur de TA"),
    T(txt::kLogHostNotFound, "Echec de la localisation du serveur de TA"),
    T(txt::kLogConnected, "Connexion au serveur de TA"),
    T(txt::kLogSending, "Transmission de la demande au serveur de TA"),
    T(txt::kLogConnectFailed, "Echec de la connexion au serveur de TA"),
    T(txt::kLogReplyFailed, "Echec de la transmission de la réponse ou adresse erronée"),
    T(txt::kLogErrorNumber, "Erreur n°%s"),
    T(txt::kLogDisconnected, "Déconnexion du serveur de TA"),
    T(txt::kLogReplyReceived, "Réception de la réponse du serveur de TA"),
    T(txt::kLogRequestFailed, "Echec de la transmission de la demande au serveur de TA"),
    T(txt::kLogTimedOut, "Dépassement du temps imparti"),
    T(txt::kLogTooManyRedirects, "Trop de redirections : la demande est abandonnée"),
    T(txt::kLogNoReply, "Le serveur %s n'a pas répondu dans les %s s après la connexion"),
    T(txt::kLogBadRedirect, "Redirection sans adresse utilisable : la demande est abandonnée"),
    T(txt::kLogReplyTooLong,
      "Réponse du serveur de TA trop longue (plus de %s octets) : elle est abandonnée"),
    T(txt::kLogHeaderLineTooLong,
      "Ligne d'en-tête de la réponse du serveur de TA trop longue (plus de %s octets) : la "
      "réponse est abandonnée"),
    T(txt::kLogUnknownHost,
      "Le serveur %s est inconnu : ce nom ne correspond à aucune adresse (vérifiez l'adresse "
      "dans les options)"),
    T(txt::kLogRefused,
      "Le serveur %s refuse la connexion : aucun service n'attend de demande sur ce port"),
    T(txt::kLogUnreachable, "Le serveur %s est injoignable : %s"),
    T(txt::kLogNoConnection, "Le serveur %s n'a pas accepté la connexion dans les %s s"),
    T(txt::kLogReplyUnfinished,
      "Le serveur %s n'a pas achevé sa réponse dans les %s s après la connexion (%s octets "
      "reçus)"),
    T(txt::kLogRequestStuck,
      "Le serveur %s n'a pas reçu toute la demande dans les %s s après la connexion"),
    T(txt::kLogConnectionLost, "La connexion au serveur %s a été coupée : %s"),
    T(txt::kLogClosedSilently, "Le serveur %s a fermé la connexion sans répondre"),
    T(txt::kLogReplyIncomplete,
      "Réponse incomplète du serveur %s : %s octets reçus sur les %s annoncés ; elle est "
      "abandonnée"),
    T(txt::kLogChunksIncomplete,
      "Réponse incomplète du serveur %s : la connexion a été fermée avant le dernier morceau "
      "(%s octets reçus) ; elle est abandonnée"),
    T(txt::kLogBadFraming,
      "Réponse du serveur %s mal délimitée (longueur illisible ou contradictoire, ou morceaux "
      "mal formés) : elle est abandonnée"),
    T(txt::kLogUnsupportedEncoding,
      "Réponse du serveur %s dans un codage non pris en charge (Transfer-Encoding: %s) : elle "
      "est abandonnée"),
    T(txt::kAffiliationCaption, "Affiliation"),
    T(txt::kGroupFirm, "Renseignements concernant la société"),
    T(txt::kFirmField, "Société"),
    T(txt::kDepartment, "Département"),
    T(txt::kGroupProfession, "Renseignements concernant la profession"),
    T(txt::kProfessionField, "Profession"),
    T(txt::kRegistration, "Enregistrement"),
    T(txt::kGroupApplicant, "Renseignements concernant le demandeur"),
    T(txt::kSurnameField, "Nom"),
    T(txt::kFirstNames, "Prénoms"),
    T(txt::kAddressField, "Adresse"),
    T(txt::kPostcode, "Code postal"),
    T(txt::kLocality, "Localité"),
    T(txt::kRegion, "Entité territoriale"),
    T(txt::kCountry, "Pays"),
    T(txt::kTelephone, "Téléphone,        n° international"),
    T(txt::kFax, "Fax"),
    T(txt::kEmail, "E-mail"),
    T(txt::kGroupPublicList, "Acceptation de figurer sur la liste publique des affiliés"),
    T(txt::kYesChoice, "oui"),
    T(txt::kNoChoice, "non"),
    T(txt::kExecuteButton, "&Exécuter"),
    T(txt::kNoDiacritics, "N'utilisez pas de caractères diacritiques"),
    T(txt::kCharacterRefused,
      "Le caractère « %s » ne peut pas être transmis : il n'appartient pas au jeu de "
      "caractères d'Europe occidentale (code page 1252)."),
    T(txt::kFieldToFill, "Reste à remplir : %s"),
    T(txt::kChoosePublicList, "Choisissez « oui » ou « non » pour la liste publique des affiliés."),
    T(txt::kNewCorrespondent, "Nouveau correspondant"),
    T(txt::kNewCorrespondentNumber, "N° d'affiliation du nouveau correspondant"),
    T(txt::kInformation, "Information"),
    T(txt::kCorrespondentAlreadyRegistered, "Ce correspondant est déjà enregistré !"),
    T(txt::kOwnNumber, "C'est votre propre n° d'affiliation !"),
    T(txt::kNumberNotHexadecimal,
      "Un n° d'affiliation ne comprend que des chiffres hexadécimaux (0-9, A-F) !"),
    T(txt::kNumberIncomplete, "Tapez les 11 caractères du n° d'affiliation."),
    T(txt::kAuthorityConnection, "Connexion à TA par internet"),
    T(txt::kSendButton, "&Envoyer"),
    T(txt::kAcceptButton, "A&ccepter"),
    T(txt::kDataGroup, "Données"),
    T(txt::kActions, "Actions"),
    T(txt::kProgressRequest, "Demande : %s octets envoyés sur %s"),
    T(txt::kProgressReply, "Réponse : %s octets reçus sur %s"),
    T(txt::kProgressReplyOpen, "Réponse : %s octets reçus"),
    T(txt::kTipSendRunning, "La demande est en cours : attendez la réponse ou annulez"),
    T(txt::kTipSendAnswered, "La réponse est arrivée : acceptez-la ou annulez"),
    T(txt::kTipAccept, "Possible quand une réponse complète du serveur de TA est arrivée"),
    T(txt::kTipCancelHeld,
      "Après la réponse à une demande d'affiliation, Annuler attend 15 s : acceptez d'abord la "
      "réponse"),
};
}  // namespace

std::span<const TextEntry> AuthorityTexts() {
    return kTexts;
}

}  // namespace quarnel
