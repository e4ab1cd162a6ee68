// SPDX-License-Identifier: GPL-3.0-or-later
// French texts of the shell.

#include "app/texts.h"

#include "resources/text_table.h"

namespace quarnel {

namespace {
constexpr TextEntry kTexts[] = {
    T(txt::kClickEightTimes, "&Cliquez 8 fois sans imposer de cadence."),
    T(txt::kClickButton, "&Cliquez"),
    T(txt::kTimesIrregularPace, "fois sans imposer de cadence."),
    T(txt::kMessagesSent, "Les messages chiffrés ont été envoyés."),
    T(txt::kInitialisationToResume, "L'initialisation doit être reprise."),
    T(txt::kMessageAltered, "Message altéré"),
    T(txt::kMessagesToSend, "Des messages chiffrés doivent encore être expédiés."),
    T(txt::kAskForKeys,
      "Il est nécessaire de demander une clef pour chacun de vos correspondants."),
    T(txt::kVersionChanged,
      "La version du programme a été modifiée; il est nécessaire d'effectuer une mise à jour de "
      "votre affiliation."),
    T(txt::kUpdateNeeded, "Il est nécessaire d'effectuer une mise à jour de votre affiliation."),
    T(txt::kNotInitialised, "Le programme n'est pas encore initialisé."),
    T(txt::kOptionsButton, "&Options"),
    T(txt::kOptionsCaption, "Options"),
    T(txt::kQuarnelSoft, "QuarnelSoft"),
    T(txt::kNotRegistered, "Non enregistré"),
    T(txt::kMainNameLabel, "Nom :"),
    T(txt::kInformationGroup, "Informations"),
    T(txt::kCorrespondentsButton, "Corres&pondants"),
    T(txt::kIncomingMailButton, "&Courrier entrant"),
    T(txt::kMailboxButton, "Co&urrier"),
    T(txt::kReplyNeedsKeys,
      "L'expéditeur n°%s n'est pas parmi vos correspondants : il vous faut d'abord ses clefs. "
      "Les demander à l'Organisme de Confiance avec « Nouvelles clefs » ?"),
    T(txt::kUpdateButton, "&Mise à jour"),
    T(txt::kDispatchButton, "&Expédition"),
    T(txt::kNewKeysButton, "&Nouvelles clefs"),
    T(txt::kCertification, "Ce&rtification"),
    T(txt::kExitButton, "&Sortie"),
    T(txt::kInitialisation, "Initialisation"),
    T(txt::kMenuEmployees, "&Employés"),
    T(txt::kMenuIndependents, "&Indépendants"),
    T(txt::kMenuPrivatePersons, "&Particuliers"),
    T(txt::kHelpContents, "Sommaire"),
    T(txt::kContextHelp, "Aide contextuelle"),
    T(txt::kAbout, "A propos"),
    T(txt::kAboutText, "QuarnelTit\nVersion : %s\nCode de l'Organisme de Confiance : %s"),
    T(txt::kClearInformation, "Remettre l'information en attente"),
    T(txt::kInitialisationButton, "&Initialisation"),
    T(txt::kLanguageChanged,
      "Vous avez changé de langue : mettez à jour votre affiliation pour continuer."),
    T(txt::kLanguageWarning,
      "Changer de langue oblige à mettre à jour votre affiliation auprès de l'Organisme de "
      "Confiance avant de pouvoir continuer.\nVoulez-vous changer de langue ?"),
    T(txt::kChangeLanguage, "&Changer de langue"),
    T(txt::kKeepLanguage, "&Garder la langue"),
    T(txt::kGeneral, "Général"),
    T(txt::kFoldersTab, "Répertoires"),
    T(txt::kNetworkTab, "Réseau"),
    T(txt::kLanguage, "Langue"),
    T(txt::kEnglish, "English"),
    T(txt::kFrench, "Français"),
    T(txt::kUserGroup, "Utilisateur"),
    T(txt::kEmployee, "employé"),
    T(txt::kIndependent, "indépendant"),
    T(txt::kPrivatePerson, "particulier"),
    T(txt::kTrustedAuthority, "Organisme de Confiance :"),
    T(txt::kIdentificationCode, "Code d'identification "),
    T(txt::kAddress, "Adresse"),
    T(txt::kPort, "Port"),
    T(txt::kPortFree, "libre"),
    T(txt::kPort80, "80"),
    T(txt::kCertificateDigest, "Certificat D-H condensé"),
    T(txt::kCheckCertificate, "Vérifiez ce certificat D-H sur le site de l'Organisme de Confiance"),
    T(txt::kMailGroup, "Messagerie"),
    T(txt::kSmtp, "Smtp"),
    T(txt::kPop3, "Pop3"),
    T(txt::kAccountNameLabel, "Nom de compte"),
    T(txt::kPasswordLabel, "Mot de passe"),
    T(txt::kKeyFolder, "Chemin de sauvegarde de la clé privée:"),
    T(txt::kOutgoingMessagesFolder, "Chemin de sauvegarde, par défaut, des messages à envoyer:"),
    T(txt::kOutgoingFilesFolder, "Chemin d'accès, par défaut, aux fichiers à envoyer:"),
    T(txt::kEncryptedFolder, "Chemin de sauvegarde des messages et des fichiers chiffrés,"),
    T(txt::kSentLabel, "envoyés:"),
    T(txt::kReceivedLabel, "reçus:"),
    T(txt::kIncomingMessagesFolder,
      "Chemin de sauvegarde, par defaut, des messages reçus et déchiffrés:"),
    T(txt::kIncomingFilesFolder, "Chemin de sauvegarde des fichiers reçus et déchiffrés:"),
    T(txt::kCertificatesFolder, "Chemin de sauvegarde des  certificats:"),
    T(txt::kChangeButton, "&Modifier"),
    T(txt::kLocalNetwork, "Réseau local"),
    T(txt::kFolderNotCreated, "Le dossier %s n'a pu être créé."),
    T(txt::kKeysNotMoved,
      "Les clefs n'ont pu être déplacées dans le dossier %s : il n'existe pas ou contient déjà "
      "un fichier QuarnelTit.kpr."),
    T(txt::kChooseFolder, "Choisissez un dossier"),
    T(txt::kFolderExposed,
      "Le dossier %s ne peut pas recevoir les messages et fichiers envoyés, reçus ou "
      "déchiffrés : %s, et un courrier pourrait y déposer un fichier que le programme "
      "prendrait pour l'un des siens. Choisissez-en un autre dans l'onglet « Répertoires » "
      "des options."),
    T(txt::kReasonDataFolder, "c'est le dossier de données du programme"),
    T(txt::kReasonKeyFolder, "c'est le dossier de la clé privée"),
    T(txt::kReasonProgramFolder, "c'est le dossier des fichiers du programme"),
    T(txt::kOkOnceDone, "Ok sera possible une fois ceci fait :"),
    T(txt::kOkCategory, "choisir la catégorie d'utilisateur"),
    T(txt::kOkClicks, "cliquer encore %s fois sur le bouton de la clef"),
    T(txt::kOkAuthorityAddress, "donner l'adresse de l'Organisme de Confiance"),
    T(txt::kOkMailField, "remplir « %s » de la messagerie"),
    T(txt::kOkFolder, "choisir chaque dossier de l'onglet « Répertoires »"),
    T(txt::kOkProxy, "donner l'adresse et le port du proxy, ou ni l'un ni l'autre"),
    T(txt::kCharacterNotAllowed,
      "Le caractère « %s » ne peut pas être utilisé : il n'appartient pas au jeu de "
      "caractères d'Europe occidentale (code page 1252)."),
    T(txt::kFolderNotRepresentable,
      "Le dossier %s ne peut pas être choisi : le caractère « %s » n'appartient pas au jeu "
      "de caractères d'Europe occidentale (code page 1252)."),
    T(txt::kMailCollection, "Relevé du courrier"),
    T(txt::kCollectEvery, "Relever le courrier sans demande toutes les"),
    T(txt::kMinutes, "minutes"),
    T(txt::kCollectionExplained,
      "Tant que le programme est inoccupé, le courrier est relevé sans ouvrir la fenêtre de "
      "réception, de 5 à 120 minutes d'intervalle ; les nouveaux messages sont comptés dans la "
      "ligne d'information et le titre de la fenêtre principale."),
    T(txt::kParametersWanted,
      "Le fichier de paramètres de l'Organisme de Confiance (QuarnelTaPr.*) n'a été trouvé ni à "
      "côté du programme ni dans le dossier de données %s. Choisissez-le dans la fenêtre qui suit "
      ": il sera copié dans le dossier de données."),
    T(txt::kChooseParameters, "Fichier de paramètres de l'Organisme de Confiance"),
    T(txt::kParametersFilter, "Paramètres de l'Organisme de Confiance (QuarnelTaPr.*)"),
    T(txt::kParametersInvalid,
      "Le fichier %s n'est pas un fichier de paramètres valide de l'Organisme de Confiance."),
    T(txt::kParametersNotCopied,
      "Le fichier %s n'a pu être copié dans le dossier de données %s (%s)."),
    T(txt::kParametersNotFound,
      "Le fichier de paramètres de l'Organisme de Confiance (QuarnelTaPr.*) n'a été trouvé ni à "
      "côté du programme ni dans le dossier de données %s : l'initialisation ne peut pas "
      "s'ouvrir."),
    T(txt::kParametersAbsent,
      "Sans le fichier de paramètres de l'Organisme de Confiance, le programme ne peut pas être "
      "initialisé : il s'arrête. Demandez ce fichier à votre Organisme de Confiance, puis relancez "
      "le programme."),
    T(txt::kAlreadyOpen,
      "Le programme du titulaire est déjà ouvert sur le dossier de données %s (processus %s "
      "sur %s). Il n'est pas ouvert une seconde fois."),
    T(txt::kLockImpossible,
      "Le dossier de données %s ne peut pas être réservé à ce programme (%s) : il s'arrête."),
    T(txt::kDataFolderRefused,
      "Le dossier de données %s ne peut pas être utilisé : les caractères %s n'appartiennent "
      "pas au jeu de caractères d'Europe occidentale (code page 1252). Lancez le programme "
      "depuis un dossier dont le nom ne les contient pas."),
    T(txt::kSmtpForms, "Smtp : hôte[:port], smtp+starttls://hôte, smtps://hôte"),
    T(txt::kPop3Forms, "Pop3 : hôte[:port], pop3+stls://hôte, pop3s://hôte"),
};
}  // namespace

std::span<const TextEntry> AppTexts() {
    return kTexts;
}

}  // namespace quarnel
