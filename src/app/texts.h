// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Resource numbers of the shell's texts (French in app/texts.cpp).

#include "resources/texts.h"

namespace quarnel {
QUARNEL_TEXT_TABLE(AppTexts);
}  // namespace quarnel

namespace quarnel::txt {

// Key button of the options dialog.
inline constexpr int kCliquez8Fois = 65172;  // "Cliquez 8 fois sans imposer de cadence."
inline constexpr int kCliquez = 65173;       // "Cliquez"
inline constexpr int kFoisSansCadence = 65174;
// Information lines.
inline constexpr int kMessagesEnvoyes = 65251;
inline constexpr int kInitialisationAReprendre = 65264;
inline constexpr int kMessageAltere = 65279;
inline constexpr int kMessagesAExpedier = 65291;
inline constexpr int kDemanderClefs = 65292;
inline constexpr int kVersionModifiee = 65293;
inline constexpr int kMiseAJourNecessaire = 65294;
inline constexpr int kPasInitialise = 65295;
// Captions.
inline constexpr int kOptionsButton = 65287;  // "&Options"
inline constexpr int kOptionsCaption = 65303;
// Main window.
inline constexpr int kQuarnelSoft = 71001;
inline constexpr int kNonEnregistre = 71002;
inline constexpr int kNom = 71003;
inline constexpr int kInformations = 71004;
inline constexpr int kCorrespondants = 71005;
inline constexpr int kCourrierEntrant = 71006;
inline constexpr int kMiseAJour = 71007;
inline constexpr int kExpedition = 71008;
inline constexpr int kNouvellesClefs = 71009;
inline constexpr int kCertification = 71010;
inline constexpr int kSortie = 71011;
inline constexpr int kInitialisation = 71012;
inline constexpr int kMenuEmployes = 71014;
inline constexpr int kMenuIndependants = 71015;
inline constexpr int kMenuParticuliers = 71016;
inline constexpr int kSommaire = 71017;
inline constexpr int kAideContextuelle = 71018;
inline constexpr int kAPropos = 71019;
inline constexpr int kAProposTexte = 71020;  // program, version code, TA code
inline constexpr int kEffacerInformation = 71023;
inline constexpr int kBoutonInitialisation = 71024;  // the button; kInitialisation the dialog
// The language switched while affiliated: the affiliation must be updated.
inline constexpr int kLangueChangee = 71025;
inline constexpr int kAvertissementLangue = 71026;
inline constexpr int kChangerLangue = 71027;
inline constexpr int kGarderLangue = 71028;
inline constexpr int kCourrier = 71029;        // the mailbox
inline constexpr int kReplyNeedsKeys = 71030;  // the sender's number

// Options dialog.
inline constexpr int kGeneral = 71101;
inline constexpr int kRepertoires = 71102;
inline constexpr int kReseau = 71103;
inline constexpr int kLangue = 71104;
inline constexpr int kEnglish = 71105;
inline constexpr int kFrancais = 71106;
inline constexpr int kUtilisateur = 71107;
inline constexpr int kEmploye = 71108;
inline constexpr int kIndependant = 71109;
inline constexpr int kParticulier = 71110;
inline constexpr int kOrganismeDeConfiance = 71111;
inline constexpr int kCodeIdentification = 71112;
inline constexpr int kAdresse = 71113;
inline constexpr int kPort = 71114;
inline constexpr int kPortLibre = 71115;
inline constexpr int kPort80 = 71116;
inline constexpr int kCertificatCondense = 71117;
inline constexpr int kVerifiezCertificat = 71118;
inline constexpr int kMessagerie = 71119;
inline constexpr int kSmtp = 71120;
inline constexpr int kPop3 = 71121;
inline constexpr int kNomDeCompte = 71122;
inline constexpr int kMotDePasse = 71123;
inline constexpr int kCheminClef = 71124;
inline constexpr int kCheminMsgS = 71125;
inline constexpr int kCheminFichS = 71126;
inline constexpr int kCheminChiffres = 71127;
inline constexpr int kEnvoyes = 71128;
inline constexpr int kRecus = 71129;
inline constexpr int kCheminMsgE = 71130;
inline constexpr int kCheminFichE = 71131;
inline constexpr int kCheminCerti = 71132;
inline constexpr int kModifier = 71133;
inline constexpr int kReseauLocal = 71134;
inline constexpr int kDossierNonCree = 71137;
inline constexpr int kClefsNonDeplacees = 71138;
inline constexpr int kChoisirDossier = 71139;
// A working folder that would let a mail plant a file the program reads.
inline constexpr int kDossierExpose = 71140;  // folder, reason
inline constexpr int kRaisonDossierDonnees = 71141;
inline constexpr int kRaisonDossierClef = 71142;
inline constexpr int kRaisonDossierProgramme = 71143;
// Why "Ok" of the options dialog is disabled, and refused characters.
inline constexpr int kOkQuandFait = 71160;
inline constexpr int kOkCategorie = 71161;
inline constexpr int kOkClics = 71162;
inline constexpr int kOkAdresseTa = 71163;
inline constexpr int kOkChampMessagerie = 71164;
inline constexpr int kOkDossier = 71165;
inline constexpr int kOkProxy = 71166;
inline constexpr int kCaractereNonPermis = 71167;
inline constexpr int kDossierNonRepresentable = 71168;
// Mail collected without asking (the preferences file).
inline constexpr int kReleveCourrier = 71170;
inline constexpr int kReleverToutesLes = 71171;
inline constexpr int kMinutes = 71172;
inline constexpr int kReleveExplication = 71173;
// The TA parameter file asked for on a first start.
inline constexpr int kParametresDemandes = 71201;  // data folder
inline constexpr int kChoisirParametres = 71202;
inline constexpr int kFiltreParametres = 71203;
inline constexpr int kParametresInvalides = 71204;  // file
inline constexpr int kParametresNonCopies = 71205;  // file, data folder, reason
inline constexpr int kParametresAbsents = 71206;
inline constexpr int kParametresIntrouvables = 71207;  // data folder
// Before anything is read or written: the data folder itself.
inline constexpr int kDejaOuvert = 71208;            // data folder, process, host
inline constexpr int kVerrouImpossible = 71209;      // data folder, reason
inline constexpr int kDossierDonneesRefuse = 71210;  // data folder, characters
// The forms a mail server field takes (hint under the fields).
inline constexpr int kFormesSmtp = 71190;
inline constexpr int kFormesPop3 = 71191;

}  // namespace quarnel::txt
