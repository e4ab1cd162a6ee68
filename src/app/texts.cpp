// SPDX-License-Identifier: GPL-3.0-or-later
// French texts of the shell.

#include "app/texts.h"

#include "resources/text_table.h"

namespace quarnel {

namespace {
constexpr TextEntry kTexts[] = {
    T(txt::kCliquez8Fois, "&Cliquez 8 fois sans imposer de cadence."),
    T(txt::kCliquez, "&Cliquez"),
    T(txt::kFoisSansCadence, "fois sans imposer de cadence."),
    T(txt::kMessagesEnvoyes, "Les messages chiffrés ont été envoyés."),
    T(txt::kInitialisationAReprendre, "L'initialisation doit être reprise."),
    T(txt::kMessageAltere, "Message altéré"),
    T(txt::kMessagesAExpedier, "Des messages chiffrés doivent encore être expédiés."),
    T(txt::kDemanderClefs,
      "Il est nécessaire de demander une clef pour chacun de vos correspondants."),
    T(txt::kVersionModifiee,
      "La version du programme a été modifiée; il est nécessaire d'effectuer une mise à jour de "
      "votre affiliation."),
    T(txt::kMiseAJourNecessaire,
      "Il est nécessaire d'effectuer une mise à jour de votre affiliation."),
    T(txt::kPasInitialise, "Le programme n'est pas encore initialisé."),
    T(txt::kOptionsButton, "&Options"),
    T(txt::kOptionsCaption, "Options"),
    T(txt::kQuarnelSoft, "QuarnelSoft"),
    T(txt::kNonEnregistre, "Non enregistré"),
    T(txt::kNom, "Nom :"),
    T(txt::kInformations, "Informations"),
    T(txt::kCorrespondants, "Corres&pondants"),
    T(txt::kCourrierEntrant, "&Courrier entrant"),
    T(txt::kCourrier, "Co&urrier"),
    T(txt::kReplyNeedsKeys,
      "L'expéditeur n°%s n'est pas parmi vos correspondants : il vous faut d'abord ses clefs. "
      "Les demander à l'Organisme de Confiance avec « Nouvelles clefs » ?"),
    T(txt::kMiseAJour, "&Mise à jour"),
    T(txt::kExpedition, "&Expédition"),
    T(txt::kNouvellesClefs, "&Nouvelles clefs"),
    T(txt::kCertification, "Ce&rtification"),
    T(txt::kSortie, "&Sortie"),
    T(txt::kInitialisation, "Initialisation"),
    T(txt::kMenuEmployes, "&Employés"),
    T(txt::kMenuIndependants, "&Indépendants"),
    T(txt::kMenuParticuliers, "&Particuliers"),
    T(txt::kSommaire, "Sommaire"),
    T(txt::kAideContextuelle, "Aide contextuelle"),
    T(txt::kAPropos, "A propos"),
    T(txt::kAProposTexte, "QuarnelTit\nVersion : %s\nCode de l'Organisme de Confiance : %s"),
    T(txt::kEffacerInformation, "Remettre l'information en attente"),
    T(txt::kBoutonInitialisation, "&Initialisation"),
    T(txt::kLangueChangee,
      "Vous avez changé de langue : mettez à jour votre affiliation pour continuer."),
    T(txt::kAvertissementLangue,
      "Changer de langue oblige à mettre à jour votre affiliation auprès de l'Organisme de "
      "Confiance avant de pouvoir continuer.\nVoulez-vous changer de langue ?"),
    T(txt::kChangerLangue, "&Changer de langue"),
    T(txt::kGarderLangue, "&Garder la langue"),
    T(txt::kGeneral, "Général"),
    T(txt::kRepertoires, "Répertoires"),
    T(txt::kReseau, "Réseau"),
    T(txt::kLangue, "Langue"),
    T(txt::kEnglish, "English"),
    T(txt::kFrancais, "Français"),
    T(txt::kUtilisateur, "Utilisateur"),
    T(txt::kEmploye, "employé"),
    T(txt::kIndependant, "indépendant"),
    T(txt::kParticulier, "particulier"),
    T(txt::kOrganismeDeConfiance, "Organisme de Confiance :"),
    T(txt::kCodeIdentification, "Code d'identification "),
    T(txt::kAdresse, "Adresse"),
    T(txt::kPort, "Port"),
    T(txt::kPortLibre, "libre"),
    T(txt::kPort80, "80"),
    T(txt::kCertificatCondense, "Certificat D-H condensé"),
    T(txt::kVerifiezCertificat,
      "Vérifiez ce certificat D-H sur le site de l'Organisme de Confiance"),
    T(txt::kMessagerie, "Messagerie"),
    T(txt::kSmtp, "Smtp"),
    T(txt::kPop3, "Pop3"),
    T(txt::kNomDeCompte, "Nom de compte"),
    T(txt::kMotDePasse, "Mot de passe"),
    T(txt::kCheminClef, "Chemin de sauvegarde de la clé privée:"),
    T(txt::kCheminMsgS, "Chemin de sauvegarde, par défaut, des messages à envoyer:"),
    T(txt::kCheminFichS, "Chemin d'accès, par défaut, aux fichiers à envoyer:"),
    T(txt::kCheminChiffres, "Chemin de sauvegarde des messages et des fichiers chiffrés,"),
    T(txt::kEnvoyes, "envoyés:"),
    T(txt::kRecus, "reçus:"),
    T(txt::kCheminMsgE, "Chemin de sauvegarde, par defaut, des messages reçus et déchiffrés:"),
    T(txt::kCheminFichE, "Chemin de sauvegarde des fichiers reçus et déchiffrés:"),
    T(txt::kCheminCerti, "Chemin de sauvegarde des  certificats:"),
    T(txt::kModifier, "&Modifier"),
    T(txt::kReseauLocal, "Réseau local"),
    T(txt::kDossierNonCree, "Le dossier %s n'a pu être créé."),
    T(txt::kClefsNonDeplacees,
      "Les clefs n'ont pu être déplacées dans le dossier %s : il n'existe pas ou contient déjà "
      "un fichier QuarnelTit.kpr."),
    T(txt::kChoisirDossier, "Choisissez un dossier"),
    T(txt::kDossierExpose,
      "Le dossier %s ne peut pas recevoir les messages et fichiers envoyés, reçus ou "
      "déchiffrés : %s, et un courrier pourrait y déposer un fichier que le programme "
      "prendrait pour l'un des siens. Choisissez-en un autre dans l'onglet « Répertoires » "
      "des options."),
    T(txt::kRaisonDossierDonnees, "c'est le dossier de données du programme"),
    T(txt::kRaisonDossierClef, "c'est le dossier de la clé privée"),
    T(txt::kRaisonDossierProgramme, "c'est le dossier des fichiers du programme"),
    T(txt::kOkQuandFait, "Ok sera possible une fois ceci fait :"),
    T(txt::kOkCategorie, "choisir la catégorie d'utilisateur"),
    T(txt::kOkClics, "cliquer encore %s fois sur le bouton de la clef"),
    T(txt::kOkAdresseTa, "donner l'adresse de l'Organisme de Confiance"),
    T(txt::kOkChampMessagerie, "remplir « %s » de la messagerie"),
    T(txt::kOkDossier, "choisir chaque dossier de l'onglet « Répertoires »"),
    T(txt::kOkProxy, "donner l'adresse et le port du proxy, ou ni l'un ni l'autre"),
    T(txt::kCaractereNonPermis,
      "Le caractère « %s » ne peut pas être utilisé : il n'appartient pas au jeu de "
      "caractères d'Europe occidentale (code page 1252)."),
    T(txt::kDossierNonRepresentable,
      "Le dossier %s ne peut pas être choisi : le caractère « %s » n'appartient pas au jeu "
      "de caractères d'Europe occidentale (code page 1252)."),
    T(txt::kReleveCourrier, "Relevé du courrier"),
    T(txt::kReleverToutesLes, "Relever le courrier sans demande toutes les"),
    T(txt::kMinutes, "minutes"),
    T(txt::kReleveExplication,
      "Tant que le programme est inoccupé, le courrier est relevé sans ouvrir la fenêtre de "
      "réception, de 5 à 120 minutes d'intervalle ; les nouveaux messages sont comptés dans la "
      "ligne d'information et le titre de la fenêtre principale."),
    T(txt::kParametresDemandes,
      "Le fichier de paramètres de l'Organisme de Confiance (QuarnelTaPr.*) n'a été trouvé ni à "
      "côté du programme ni dans le dossier de données %s. Choisissez-le dans la fenêtre qui suit "
      ": il sera copié dans le dossier de données."),
    T(txt::kChoisirParametres, "Fichier de paramètres de l'Organisme de Confiance"),
    T(txt::kFiltreParametres, "Paramètres de l'Organisme de Confiance (QuarnelTaPr.*)"),
    T(txt::kParametresInvalides,
      "Le fichier %s n'est pas un fichier de paramètres valide de l'Organisme de Confiance."),
    T(txt::kParametresNonCopies,
      "Le fichier %s n'a pu être copié dans le dossier de données %s (%s)."),
    T(txt::kParametresIntrouvables,
      "Le fichier de paramètres de l'Organisme de Confiance (QuarnelTaPr.*) n'a été trouvé ni à "
      "côté du programme ni dans le dossier de données %s : l'initialisation ne peut pas "
      "s'ouvrir."),
    T(txt::kParametresAbsents,
      "Sans le fichier de paramètres de l'Organisme de Confiance, le programme ne peut pas être "
      "initialisé : il s'arrête. Demandez ce fichier à votre Organisme de Confiance, puis relancez "
      "le programme."),
    T(txt::kDejaOuvert,
      "Le programme du titulaire est déjà ouvert sur le dossier de données %s (processus %s "
      "sur %s). Il n'est pas ouvert une seconde fois."),
    T(txt::kVerrouImpossible,
      "Le dossier de données %s ne peut pas être réservé à ce programme (%s) : il s'arrête."),
    T(txt::kDossierDonneesRefuse,
      "Le dossier de données %s ne peut pas être utilisé : les caractères %s n'appartiennent "
      "pas au jeu de caractères d'Europe occidentale (code page 1252). Lancez le programme "
      "depuis un dossier dont le nom ne les contient pas."),
    T(txt::kFormesSmtp, "Smtp : hôte[:port], smtp+starttls://hôte, smtps://hôte"),
    T(txt::kFormesPop3, "Pop3 : hôte[:port], pop3+stls://hôte, pop3s://hôte"),
};
}  // namespace

std::span<const TextEntry> AppTexts() {
    return kTexts;
}

}  // namespace quarnel
