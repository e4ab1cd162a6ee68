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
    T(txt::kLogNoReply, "Réponse du serveur de TA non reçue dans le temps imparti"),
    T(txt::kLogBadRedirect, "Redirection sans adresse utilisable : la demande est abandonnée"),
    T(txt::kLogReplyTooLong,
      "Réponse du serveur de TA trop longue (plus de %s octets) : elle est abandonnée"),
    T(txt::kLogHeaderLineTooLong,
      "Ligne d'en-tête de la réponse du serveur de TA trop longue (plus de %s octets) : la "
      "réponse est abandonnée"),
    T(txt::kAffiliationCaption, "Affiliation"),
    T(txt::kGroupSociete, "Renseignements concernant la société"),
    T(txt::kSocieteField, "Société"),
    T(txt::kDepartement, "Département"),
    T(txt::kGroupProfession, "Renseignements concernant la profession"),
    T(txt::kProfessionField, "Profession"),
    T(txt::kEnregistrement, "Enregistrement"),
    T(txt::kGroupDemandeur, "Renseignements concernant le demandeur"),
    T(txt::kNomField, "Nom"),
    T(txt::kPrenoms, "Prénoms"),
    T(txt::kAdresseField, "Adresse"),
    T(txt::kCodePostal, "Code postal"),
    T(txt::kLocalite, "Localité"),
    T(txt::kEntiteTerritoriale, "Entité territoriale"),
    T(txt::kPays, "Pays"),
    T(txt::kTelephone, "Téléphone,        n° international"),
    T(txt::kFax, "Fax"),
    T(txt::kEmail, "E-mail"),
    T(txt::kGroupListePublique, "Acceptation de figurer sur la liste publique des affiliés"),
    T(txt::kOui, "oui"),
    T(txt::kNon, "non"),
    T(txt::kExecuter, "&Exécuter"),
    T(txt::kPasDeDiacritiques, "N'utilisez pas de caractères diacritiques"),
    T(txt::kCaractereRefuse,
      "Le caractère « %s » ne peut pas être transmis : il n'appartient pas au jeu de "
      "caractères d'Europe occidentale (code page 1252)."),
    T(txt::kChampARemplir, "Reste à remplir : %s"),
    T(txt::kChoisirListe, "Choisissez « oui » ou « non » pour la liste publique des affiliés."),
    T(txt::kNouveauCorrespondant, "Nouveau correspondant"),
    T(txt::kNumeroNouveauCorrespondant, "N° d'affiliation du nouveau correspondant"),
    T(txt::kInformation, "Information"),
    T(txt::kCorrespondantDejaEnregistre, "Ce correspondant est déjà enregistré !"),
    T(txt::kPropreNumero, "C'est votre propre n° d'affiliation !"),
    T(txt::kNumeroNonHexadecimal,
      "Un n° d'affiliation ne comprend que des chiffres hexadécimaux (0-9, A-F) !"),
    T(txt::kNumeroIncomplet, "Tapez les 11 caractères du n° d'affiliation."),
    T(txt::kConnexionTa, "Connexion à TA par internet"),
    T(txt::kEnvoyer, "&Envoyer"),
    T(txt::kAccepter, "A&ccepter"),
    T(txt::kDonnees, "Données"),
    T(txt::kActions, "Actions"),
};
}  // namespace

std::span<const TextEntry> AuthorityTexts() {
    return kTexts;
}

}  // namespace quarnel
