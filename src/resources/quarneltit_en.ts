<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_GB" sourcelanguage="fr_FR">
<context>
    <name>QuarnelTit</name>
    <message>
        <source>Le fichier %s n'a pu être lu.</source>
        <translation>The file %s could not be read.</translation>
    </message>
    <message>
        <source>Le fichier %s n'a pu être sauvé.</source>
        <translation>The file %s could not be saved.</translation>
    </message>
    <message>
        <source>Le fichier %s est altéré.</source>
        <translation>The file %s is altered.</translation>
    </message>
    <message>
        <source>En attente</source>
        <translation>Waiting</translation>
    </message>
    <message>
        <source>Chiffrement en cours</source>
        <translation>Encryption in progress</translation>
    </message>
    <message>
        <source>D400F</source>
        <translation>D400E</translation>
    </message>
    <message>
        <source>QuarnelTit_F.hlp</source>
        <translation>QuarnelTit_E.hlp</translation>
    </message>
    <message>
        <source>Affilié %s</source>
        <translation>Affiliated %s</translation>
    </message>
    <message>
        <source>Transmission</source>
        <translation>Transmission</translation>
    </message>
    <message>
        <source>Déchiffrement en cours</source>
        <translation>Decryption in progress</translation>
    </message>
    <message>
        <source>Demande d'affiliation au système cryptographique "QuarnelSys"</source>
        <translation>Affiliation request to the "QuarnelSys" cryptographic system</translation>
    </message>
    <message>
        <source>Demande de mise à jour d'affiliation au système cryptographique "QuarnelSys".</source>
        <translation>Affiliation update request to the "QuarnelSys" cryptographic system.</translation>
    </message>
    <message>
        <source>Accusé de réception de la clef privée</source>
        <translation>Acknowledgement of receipt of the private key</translation>
    </message>
    <message>
        <source>Demande d'une clef pour correspondre suivant le système cryptographique "QuarnelSys"</source>
        <translation>Request for a key to correspond under the "QuarnelSys" cryptographic system</translation>
    </message>
    <message>
        <source>Demande de mise à jour d'une clef pour correspondre suivant le système cryptographique "QuarnelSys"</source>
        <translation>Request for an update of a key to correspond under the "QuarnelSys" cryptographic system</translation>
    </message>
    <message>
        <source>Demande de certification d'une signature</source>
        <translation>Request for certification of a signature</translation>
    </message>
    <message>
        <source>Message chiffré par "QuarnelSys"</source>
        <translation>Message encrypted by "QuarnelSys"</translation>
    </message>
    <message>
        <source>Message chiffré par "QuarnelSys" provenant d'un utilisateur non enregistré</source>
        <translation>Message encrypted by "QuarnelSys" from an unregistered user</translation>
    </message>
    <message>
        <source>&amp;Cliquez 8 fois sans imposer de cadence.</source>
        <translation>&amp;Click 8 times at an irregular pace.</translation>
    </message>
    <message>
        <source>&amp;Cliquez</source>
        <translation>&amp;Click</translation>
    </message>
    <message>
        <source>fois sans imposer de cadence.</source>
        <translation>times at an irregular pace.</translation>
    </message>
    <message>
        <source>A chiffrer</source>
        <translation>To encrypt</translation>
    </message>
    <message>
        <source>Chiffrés envoyés</source>
        <translation>Encrypted sent</translation>
    </message>
    <message>
        <source>Chiffrés reçus</source>
        <translation>Encrypted received</translation>
    </message>
    <message>
        <source>Déchiffrés</source>
        <translation>Decrypted</translation>
    </message>
    <message>
        <source>Certificats</source>
        <translation>Certificates</translation>
    </message>
    <message>
        <source>Les messages chiffrés ont été envoyés.</source>
        <translation>The encrypted messages have been sent.</translation>
    </message>
    <message>
        <source>L'initialisation doit être reprise.</source>
        <translation>The initialisation must be resumed.</translation>
    </message>
    <message>
        <source>Message altéré</source>
        <translation>Message altered</translation>
    </message>
    <message>
        <source>Connexion au serveur POP3</source>
        <translation>Connected to the POP3 server</translation>
    </message>
    <message>
        <source>Déconnexion du serveur Pop3</source>
        <translation>Disconnected from the POP3 server</translation>
    </message>
    <message>
        <source>Echec de la connexion au serveur POP3</source>
        <translation>Connection to the POP3 server failed</translation>
    </message>
    <message>
        <source>Il n'y a aucun message.</source>
        <translation>There is no message.</translation>
    </message>
    <message>
        <source>Il y a %s message.</source>
        <translation>There is %s message.</translation>
    </message>
    <message>
        <source>Il y a %s messages.</source>
        <translation>There are %s messages.</translation>
    </message>
    <message>
        <source>Message en clair n°%s laissé sur le serveur</source>
        <translation>Plain message no. %s left on the server</translation>
    </message>
    <message>
        <source>provenant de %s</source>
        <translation>from %s</translation>
    </message>
    <message>
        <source>objet : %s</source>
        <translation>subject: %s</translation>
    </message>
    <message>
        <source>Echec de la transmission d'un message</source>
        <translation>A message could not be transferred</translation>
    </message>
    <message>
        <source>Rejet du message mal conformé n°%s</source>
        <translation>Malformed message no. %s rejected</translation>
    </message>
    <message>
        <source>Réception du message chiffré n°%s</source>
        <translation>Encrypted message no. %s received</translation>
    </message>
    <message>
        <source>Rejet du message chiffré n°%s</source>
        <translation>Encrypted message no. %s rejected</translation>
    </message>
    <message>
        <source>destiné à l'affilié n°%s</source>
        <translation>addressed to affiliate no. %s</translation>
    </message>
    <message>
        <source>Message Chiffré de %s</source>
        <translation>Encrypted message from %s</translation>
    </message>
    <message>
        <source>Aucun mot de passe de messagerie n'est enregistré.</source>
        <translation>No mail password is stored.</translation>
    </message>
    <message>
        <source>Aucun mot de passe de messagerie n'est enregistré : le courrier ne peut être retiré. Indiquez-le dans les Options.</source>
        <translation>No mail password is stored: the mail cannot be collected. Enter it in the Options.</translation>
    </message>
    <message>
        <source>Erreur du serveur : %s</source>
        <translation>Server error: %s</translation>
    </message>
    <message>
        <source>Message n°%s laissé sur le serveur : %s octets, au-delà de la limite de %s octets.</source>
        <translation>Message no. %s left on the server: %s bytes, beyond the limit of %s bytes.</translation>
    </message>
    <message>
        <source>Ligne trop longue reçue du serveur</source>
        <translation>Overlong line received from the server</translation>
    </message>
    <message>
        <source>Message n°%s effacé du serveur</source>
        <translation>Message no. %s deleted from the server</translation>
    </message>
    <message>
        <source>Nom de pièce jointe refusé : %s</source>
        <translation>Attachment name refused: %s</translation>
    </message>
    <message>
        <source>Pièce jointe enregistrée : %s</source>
        <translation>Attachment saved: %s</translation>
    </message>
    <message>
        <source>La pièce jointe %s n'a pu être enregistrée.</source>
        <translation>The attachment %s could not be saved.</translation>
    </message>
    <message>
        <source>Message illisible n°%s, laissé sur le serveur</source>
        <translation>Unreadable message no. %s, left on the server</translation>
    </message>
    <message>
        <source>Ligne reçue sans CR LF</source>
        <translation>Line received without CR LF</translation>
    </message>
    <message>
        <source>Des messages chiffrés doivent encore être expédiés.</source>
        <translation>Encrypted messages still have to be sent.</translation>
    </message>
    <message>
        <source>Il est nécessaire de demander une clef pour chacun de vos correspondants.</source>
        <translation>You need to request a key for each of your correspondents.</translation>
    </message>
    <message>
        <source>La version du programme a été modifiée; il est nécessaire d'effectuer une mise à jour de votre affiliation.</source>
        <translation>The program version has changed; you need to update your affiliation.</translation>
    </message>
    <message>
        <source>Il est nécessaire d'effectuer une mise à jour de votre affiliation.</source>
        <translation>You need to update your affiliation.</translation>
    </message>
    <message>
        <source>Le programme n'est pas encore initialisé.</source>
        <translation>The program is not initialised yet.</translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation>&amp;Options</translation>
    </message>
    <message>
        <source>Société :</source>
        <translation>Company:</translation>
    </message>
    <message>
        <source>Profession :</source>
        <translation>Profession:</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>QuarnelSoft</source>
        <translation>QuarnelSoft</translation>
    </message>
    <message>
        <source>Non enregistré</source>
        <translation>Not registered</translation>
    </message>
    <message>
        <source>Nom :</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>Informations</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>Corres&amp;pondants</source>
        <translation>&amp;Correspondents</translation>
    </message>
    <message>
        <source>&amp;Courrier entrant</source>
        <translation>&amp;Incoming mail</translation>
    </message>
    <message>
        <source>&amp;Mise à jour</source>
        <translation>&amp;Update</translation>
    </message>
    <message>
        <source>&amp;Expédition</source>
        <translation>&amp;Dispatch</translation>
    </message>
    <message>
        <source>Envoi du courrier chiffré</source>
        <translation>Sending encrypted mail</translation>
    </message>
    <message>
        <source>Message chiffré prêt à être envoyé</source>
        <translation>Encrypted message ready to be sent</translation>
    </message>
    <message>
        <source>Objet : %s</source>
        <translation>Subject: %s</translation>
    </message>
    <message>
        <source>Le message chiffré a été envoyé.</source>
        <translation>The encrypted message has been sent.</translation>
    </message>
    <message>
        <source>Le message chiffré est placé dans le presse-papiers.</source>
        <translation>The encrypted message is on the clipboard.</translation>
    </message>
    <message>
        <source>Message chiffré :</source>
        <translation>Encrypted message:</translation>
    </message>
    <message>
        <source>&amp;Maintenant</source>
        <translation>&amp;Now</translation>
    </message>
    <message>
        <source>&amp;Plus tard</source>
        <translation>&amp;Later</translation>
    </message>
    <message>
        <source>Déroulement :</source>
        <translation>Progress:</translation>
    </message>
    <message>
        <source>Attendez la fin de l'envoi en cours.</source>
        <translation>Wait until the current sending ends.</translation>
    </message>
    <message>
        <source>Attendez la fin de la transmission en cours.</source>
        <translation>Wait until the current transfer ends.</translation>
    </message>
    <message>
        <source>Aucun transmetteur SMTP n'est indiqué : donnez-le dans les options, rubrique messagerie.</source>
        <translation>No SMTP relay is given: enter it in the options, under mail.</translation>
    </message>
    <message>
        <source>Le message n'a pu être préparé : %s</source>
        <translation>The message could not be prepared: %s</translation>
    </message>
    <message>
        <source>Le message reste dans la file d'attente.</source>
        <translation>The message stays in the outgoing queue.</translation>
    </message>
    <message>
        <source>Réception du courrier chiffré</source>
        <translation>Receiving encrypted mail</translation>
    </message>
    <message>
        <source>&amp;Retirer</source>
        <translation>&amp;Collect</translation>
    </message>
    <message>
        <source>&amp;Déchiffrer</source>
        <translation>&amp;Decrypt</translation>
    </message>
    <message>
        <source>Une réception est en cours, ou des messages attendent d'être déchiffrés.</source>
        <translation>A collection is running, or messages are waiting to be decrypted.</translation>
    </message>
    <message>
        <source>Aucun message reçu n'attend d'être déchiffré.</source>
        <translation>No received message is waiting to be decrypted.</translation>
    </message>
    <message>
        <source>Aucun serveur POP3 n'est indiqué : donnez-le dans les options, rubrique messagerie.</source>
        <translation>No POP3 server is given: enter it in the options, under mail.</translation>
    </message>
    <message>
        <source>Déchiffrement annulé : le message reste le premier de la liste d'attente.</source>
        <translation>Decryption cancelled: the message stays first in the waiting list.</translation>
    </message>
    <message>
        <source>Le message chiffré n'a pas été envoyé. Voulez-vous le mettre dans la file d'attente, pour l'envoyer plus tard avec « Expédition » ?</source>
        <translation>The encrypted message was not sent. Do you want to put it in the outgoing queue, to send it later with “Dispatch”?</translation>
    </message>
    <message>
        <source>&amp;Mettre dans la file d'attente</source>
        <translation>&amp;Put it in the outgoing queue</translation>
    </message>
    <message>
        <source>&amp;Nouvelles clefs</source>
        <translation>&amp;New keys</translation>
    </message>
    <message>
        <source>Ce&amp;rtification</source>
        <translation>Ce&amp;rtification</translation>
    </message>
    <message>
        <source>&amp;Sortie</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>Initialisation</source>
        <translation>Initialisation</translation>
    </message>
    <message>
        <source>&amp;Aide</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>&amp;Employés</source>
        <translation>&amp;Employees</translation>
    </message>
    <message>
        <source>&amp;Indépendants</source>
        <translation>&amp;Independents</translation>
    </message>
    <message>
        <source>&amp;Particuliers</source>
        <translation>&amp;Private persons</translation>
    </message>
    <message>
        <source>Les données du correspondant sélectionné vont être effacées.</source>
        <translation>The data of the selected correspondent will be erased.</translation>
    </message>
    <message>
        <source>Liste des correspondants employés</source>
        <translation>List of employed correspondents</translation>
    </message>
    <message>
        <source>Liste des correspondants indépendants</source>
        <translation>List of independent correspondents</translation>
    </message>
    <message>
        <source>Liste des correspondants particuliers</source>
        <translation>List of private correspondents</translation>
    </message>
    <message>
        <source>Nom
Prénoms
Localité
Entité territoriale
Pays
E-mail
Affiliation</source>
        <translation>Surname
First names
Locality
Territorial entity
Country
E-mail
Affiliation</translation>
    </message>
    <message>
        <source>Profession
Enregistrement
Nom
Prénoms
Localité
Entité territ.
Pays
E-mail
Affiliation</source>
        <translation>Profession
Registration
Surname
First names
Locality
Territ. entity
Country
E-mail
Affiliation</translation>
    </message>
    <message>
        <source>Société
Département
Nom
Prénoms
Localité
Entité territ.
Pays
E-mail
Affiliation</source>
        <translation>Company
Department
Surname
First names
Locality
Territ. entity
Country
E-mail
Affiliation</translation>
    </message>
    <message>
        <source>Filtre</source>
        <translation>Filter</translation>
    </message>
    <message>
        <source>&amp;Listes</source>
        <translation>&amp;Lists</translation>
    </message>
    <message>
        <source>&amp;Correspondre</source>
        <translation>&amp;Write</translation>
    </message>
    <message>
        <source>&amp;Supprimer</source>
        <translation>&amp;Delete</translation>
    </message>
    <message>
        <source>&amp;Mettre à jour</source>
        <translation>&amp;Update key</translation>
    </message>
    <message>
        <source>&amp;Quitter</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>Remarque</source>
        <translation>Remark</translation>
    </message>
    <message>
        <source>Sau&amp;ver</source>
        <translation>Sa&amp;ve</translation>
    </message>
    <message>
        <source>message simple (txt)</source>
        <translation>plain message (txt)</translation>
    </message>
    <message>
        <source>message formaté (rtf)</source>
        <translation>formatted message (rtf)</translation>
    </message>
    <message>
        <source>Date d'affiliation</source>
        <translation>Affiliation date</translation>
    </message>
    <message>
        <source>Tous les correspondants sont déjà affichés.</source>
        <translation>All correspondents are already shown.</translation>
    </message>
    <message>
        <source>Sauvez la remarque, ou quittez-la pour l'abandonner.</source>
        <translation>Save the remark, or leave it to discard it.</translation>
    </message>
    <message>
        <source>Aucun correspondant n'est affiché.</source>
        <translation>No correspondent is shown.</translation>
    </message>
    <message>
        <source>La remarque n'a pas été modifiée.</source>
        <translation>The remark has not been changed.</translation>
    </message>
    <message>
        <source>Une remarque tient en %s caractères.</source>
        <translation>A remark holds up to %s characters.</translation>
    </message>
    <message>
        <source>Les données du correspondant %s (affiliation %s) vont être effacées.</source>
        <translation>The data of the correspondent %s (affiliation %s) will be erased.</translation>
    </message>
    <message>
        <source>Sommaire</source>
        <translation>Contents</translation>
    </message>
    <message>
        <source>Aide contextuelle</source>
        <translation>Context help</translation>
    </message>
    <message>
        <source>A propos</source>
        <translation>About</translation>
    </message>
    <message>
        <source>QuarnelTit
Version : %s
Code de l'Organisme de Confiance : %s</source>
        <translation>QuarnelTit
Version: %s
Trusted Authority code: %s</translation>
    </message>
    <message>
        <source>Cette fonction n'est pas encore disponible dans cette version.</source>
        <translation>This function is not available yet in this version.</translation>
    </message>
    <message>
        <source>%s octets</source>
        <translation>%s bytes</translation>
    </message>
    <message>
        <source>%s Ko</source>
        <translation>%s kB</translation>
    </message>
    <message>
        <source>%s Mo</source>
        <translation>%s MB</translation>
    </message>
    <message>
        <source>%s Go</source>
        <translation>%s GB</translation>
    </message>
    <message>
        <source>,</source>
        <translation>.</translation>
    </message>
    <message>
        <source>Enregistrement du fichier</source>
        <translation>Saving the file</translation>
    </message>
    <message>
        <source>Remettre l'information en attente</source>
        <translation>Set the information back to waiting</translation>
    </message>
    <message>
        <source>&amp;Initialisation</source>
        <translation>Ini&amp;tialisation</translation>
    </message>
    <message>
        <source>Vous avez changé de langue : mettez à jour votre affiliation pour continuer.</source>
        <translation>You changed the language: update your affiliation to go on.</translation>
    </message>
    <message>
        <source>Changer de langue oblige à mettre à jour votre affiliation auprès de l'Organisme de Confiance avant de pouvoir continuer.
Voulez-vous changer de langue ?</source>
        <translation>Changing the language means updating your affiliation with the Trusted Authority before you can go on.
Do you want to change the language?</translation>
    </message>
    <message>
        <source>&amp;Changer de langue</source>
        <translation>&amp;Change the language</translation>
    </message>
    <message>
        <source>&amp;Garder la langue</source>
        <translation>&amp;Keep the language</translation>
    </message>
    <message>
        <source>&amp;Abandonner</source>
        <translation>&amp;Abort</translation>
    </message>
    <message>
        <source>&amp;Réessayer</source>
        <translation>&amp;Retry</translation>
    </message>
    <message>
        <source>&amp;Ignorer</source>
        <translation>&amp;Ignore</translation>
    </message>
    <message>
        <source>&amp;Oui</source>
        <translation>&amp;Yes</translation>
    </message>
    <message>
        <source>&amp;Non</source>
        <translation>&amp;No</translation>
    </message>
    <message>
        <source>Général</source>
        <translation>General</translation>
    </message>
    <message>
        <source>Répertoires</source>
        <translation>Folders</translation>
    </message>
    <message>
        <source>Réseau</source>
        <translation>Network</translation>
    </message>
    <message>
        <source>Langue</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>English</source>
        <translation>English</translation>
    </message>
    <message>
        <source>Français</source>
        <translation>Français</translation>
    </message>
    <message>
        <source>Utilisateur</source>
        <translation>User</translation>
    </message>
    <message>
        <source>employé</source>
        <translation>employee</translation>
    </message>
    <message>
        <source>indépendant</source>
        <translation>independent</translation>
    </message>
    <message>
        <source>particulier</source>
        <translation>private person</translation>
    </message>
    <message>
        <source>Organisme de Confiance :</source>
        <translation>Trusted Authority:</translation>
    </message>
    <message>
        <source>Code d'identification </source>
        <translation>Identification code </translation>
    </message>
    <message>
        <source>Adresse</source>
        <translation>Address</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>libre</source>
        <translation>free</translation>
    </message>
    <message>
        <source>80</source>
        <translation>80</translation>
    </message>
    <message>
        <source>Certificat D-H condensé</source>
        <translation>D-H certificate digest</translation>
    </message>
    <message>
        <source>Vérifiez ce certificat D-H sur le site de l'Organisme de Confiance</source>
        <translation>Check this D-H certificate on the Trusted Authority's web site</translation>
    </message>
    <message>
        <source>Messagerie</source>
        <translation>Mail</translation>
    </message>
    <message>
        <source>Smtp</source>
        <translation>SMTP</translation>
    </message>
    <message>
        <source>Pop3</source>
        <translation>POP3</translation>
    </message>
    <message>
        <source>Nom de compte</source>
        <translation>Account name</translation>
    </message>
    <message>
        <source>Mot de passe</source>
        <translation>Password</translation>
    </message>
    <message>
        <source>Chemin de sauvegarde de la clé privée:</source>
        <translation>Folder of the private key:</translation>
    </message>
    <message>
        <source>Chemin de sauvegarde, par défaut, des messages à envoyer:</source>
        <translation>Default folder of the messages to send:</translation>
    </message>
    <message>
        <source>Chemin d'accès, par défaut, aux fichiers à envoyer:</source>
        <translation>Default folder of the files to send:</translation>
    </message>
    <message>
        <source>Chemin de sauvegarde des messages et des fichiers chiffrés,</source>
        <translation>Folder of the encrypted messages and files,</translation>
    </message>
    <message>
        <source>envoyés:</source>
        <translation>sent:</translation>
    </message>
    <message>
        <source>reçus:</source>
        <translation>received:</translation>
    </message>
    <message>
        <source>Chemin de sauvegarde, par defaut, des messages reçus et déchiffrés:</source>
        <translation>Default folder of the received and decrypted messages:</translation>
    </message>
    <message>
        <source>Chemin de sauvegarde des fichiers reçus et déchiffrés:</source>
        <translation>Folder of the received and decrypted files:</translation>
    </message>
    <message>
        <source>Chemin de sauvegarde des  certificats:</source>
        <translation>Folder of the certificates:</translation>
    </message>
    <message>
        <source>&amp;Modifier</source>
        <translation>&amp;Change</translation>
    </message>
    <message>
        <source>Réseau local</source>
        <translation>Local network</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Annuler</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Le dossier %s n'a pu être créé.</source>
        <translation>The folder %s could not be created.</translation>
    </message>
    <message>
        <source>Les clefs n'ont pu être déplacées dans le dossier %s : il n'existe pas ou contient déjà un fichier QuarnelTit.kpr.</source>
        <translation>The keys could not be moved to the folder %s: it does not exist or already holds a QuarnelTit.kpr file.</translation>
    </message>
    <message>
        <source>Choisissez un dossier</source>
        <translation>Choose a folder</translation>
    </message>
    <message>
        <source>Votre affiliation est confirmée. Il est maintenant nécessaire de demander une clef pour chacun de vos correspondants.</source>
        <translation>Your affiliation is confirmed. You now need to request a key for each of your correspondents.</translation>
    </message>
    <message>
        <source>Votre clef privée n'est pas disponible : la demande ne peut être préparée. Effectuez d'abord votre affiliation.</source>
        <translation>Your private key is not available: the request cannot be prepared. Complete your affiliation first.</translation>
    </message>
    <message>
        <source>Aucun message n'a été choisi pour la certification : la demande ne peut être préparée.</source>
        <translation>No message was chosen for certification: the request cannot be prepared.</translation>
    </message>
    <message>
        <source>L'initialisation des clefs n'est pas terminée : la demande d'affiliation ne peut être préparée.</source>
        <translation>The key initialisation is not complete: the affiliation request cannot be prepared.</translation>
    </message>
    <message>
        <source>Cette demande n'est pas adressée à l'Organisme de Confiance.</source>
        <translation>This request is not addressed to the Trusted Authority.</translation>
    </message>
    <message>
        <source>Le n° d'affiliation du correspondant doit avoir 11 caractères.</source>
        <translation>The correspondent's affiliation number must have 11 characters.</translation>
    </message>
    <message>
        <source>Une clef privée vous a été fournie.</source>
        <translation>A private key has been delivered to you.</translation>
    </message>
    <message>
        <source>Votre affiliation est mise à jour. Il est nécessaire de renouveler les clefs pour correspondre.</source>
        <translation>Your affiliation is updated. The keys to correspond must be renewed.</translation>
    </message>
    <message>
        <source>Votre affiliation est mise à jour et enregistrée. Il est nécessaire de renouveler les clefs pour correspondre.</source>
        <translation>Your affiliation is updated and registered. The keys to correspond must be renewed.</translation>
    </message>
    <message>
        <source>La clef demandée a été fournie.</source>
        <translation>The requested key has been delivered.</translation>
    </message>
    <message>
        <source>Une clef pour correspondre a été mise à jour.</source>
        <translation>A key to correspond has been updated.</translation>
    </message>
    <message>
        <source>Un certificat vous a été délivré.</source>
        <translation>A certificate has been issued to you.</translation>
    </message>
    <message>
        <source>Certificat</source>
        <translation>Certificate</translation>
    </message>
    <message>
        <source>Appel</source>
        <translation>Call</translation>
    </message>
    <message>
        <source>Localisation du serveur de TA</source>
        <translation>Locating the TA server</translation>
    </message>
    <message>
        <source>Echec de la localisation du serveur de TA</source>
        <translation>The TA server could not be located</translation>
    </message>
    <message>
        <source>Connexion au serveur de TA</source>
        <translation>Connected to the TA server</translation>
    </message>
    <message>
        <source>Transmission de la demande au serveur de TA</source>
        <translation>Sending the request to the TA server</translation>
    </message>
    <message>
        <source>Echec de la connexion au serveur de TA</source>
        <translation>Could not connect to the TA server</translation>
    </message>
    <message>
        <source>Echec de la transmission de la réponse ou adresse erronée</source>
        <translation>The reply could not be received, or the address is wrong</translation>
    </message>
    <message>
        <source>Erreur n°%s</source>
        <translation>Error no.%s</translation>
    </message>
    <message>
        <source>Déconnexion du serveur de TA</source>
        <translation>Disconnected from the TA server</translation>
    </message>
    <message>
        <source>Réception de la réponse du serveur de TA</source>
        <translation>Reply received from the TA server</translation>
    </message>
    <message>
        <source>Echec de la transmission de la demande au serveur de TA</source>
        <translation>The request could not be sent to the TA server</translation>
    </message>
    <message>
        <source>Dépassement du temps imparti</source>
        <translation>Time limit exceeded</translation>
    </message>
    <message>
        <source>Trop de redirections : la demande est abandonnée</source>
        <translation>Too many redirections: the request is abandoned</translation>
    </message>
    <message>
        <source>Affiliation</source>
        <translation>Affiliation</translation>
    </message>
    <message>
        <source>Renseignements concernant la société</source>
        <translation>About the company</translation>
    </message>
    <message>
        <source>Société</source>
        <translation>Company</translation>
    </message>
    <message>
        <source>Département</source>
        <translation>Department</translation>
    </message>
    <message>
        <source>Renseignements concernant la profession</source>
        <translation>About the profession</translation>
    </message>
    <message>
        <source>Profession</source>
        <translation>Profession</translation>
    </message>
    <message>
        <source>Enregistrement</source>
        <translation>Registration</translation>
    </message>
    <message>
        <source>Renseignements concernant le demandeur</source>
        <translation>About the applicant</translation>
    </message>
    <message>
        <source>Nom</source>
        <translation>Surname</translation>
    </message>
    <message>
        <source>Prénoms</source>
        <translation>First names</translation>
    </message>
    <message>
        <source>Code postal</source>
        <translation>Postcode</translation>
    </message>
    <message>
        <source>Localité</source>
        <translation>Town</translation>
    </message>
    <message>
        <source>Entité territoriale</source>
        <translation>Region</translation>
    </message>
    <message>
        <source>Pays</source>
        <translation>Country</translation>
    </message>
    <message>
        <source>Téléphone,        n° international</source>
        <translation>Telephone,        international no.</translation>
    </message>
    <message>
        <source>Fax</source>
        <translation>Fax</translation>
    </message>
    <message>
        <source>E-mail</source>
        <translation>E-mail</translation>
    </message>
    <message>
        <source>Acceptation de figurer sur la liste publique des affiliés</source>
        <translation>Agree to appear on the public list of affiliates</translation>
    </message>
    <message>
        <source>oui</source>
        <translation>yes</translation>
    </message>
    <message>
        <source>non</source>
        <translation>no</translation>
    </message>
    <message>
        <source>&amp;Exécuter</source>
        <translation>&amp;Execute</translation>
    </message>
    <message>
        <source>N'utilisez pas de caractères diacritiques</source>
        <translation>Do not use diacritical characters</translation>
    </message>
    <message>
        <source>Nouveau correspondant</source>
        <translation>New correspondent</translation>
    </message>
    <message>
        <source>N° d'affiliation du nouveau correspondant</source>
        <translation>Affiliation no. of the new correspondent</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>Ce correspondant est déjà enregistré !</source>
        <translation>This correspondent is already registered!</translation>
    </message>
    <message>
        <source>C'est votre propre n° d'affiliation !</source>
        <translation>This is your own affiliation no.!</translation>
    </message>
    <message>
        <source>Connexion à TA par internet</source>
        <translation>Connection to the TA over the internet</translation>
    </message>
    <message>
        <source>&amp;Envoyer</source>
        <translation>&amp;Send</translation>
    </message>
    <message>
        <source>A&amp;ccepter</source>
        <translation>&amp;Accept</translation>
    </message>
    <message>
        <source>Données</source>
        <translation>Data</translation>
    </message>
    <message>
        <source>Actions</source>
        <translation>Actions</translation>
    </message>
    <message>
        <source>Votre clef privée n'est pas disponible : le message ne peut être chiffré. Effectuez d'abord votre affiliation.</source>
        <translation>Your private key is not available: the message cannot be encrypted. Complete your affiliation first.</translation>
    </message>
    <message>
        <source>Impossible d'ouvrir le fichier %s</source>
        <translation>Cannot open the file %s</translation>
    </message>
    <message>
        <source>'%s' n'est pas une date correcte</source>
        <translation>'%s' is not a valid date</translation>
    </message>
    <message>
        <source>Le message contient une suite de caractères qui ne peut être condensée : il ne peut être chiffré.</source>
        <translation>The message contains a run of characters that cannot be condensed: it cannot be encrypted.</translation>
    </message>
    <message>
        <source>Aucun correspondant n'a été choisi : le message ne peut être chiffré.</source>
        <translation>No correspondent was chosen: the message cannot be encrypted.</translation>
    </message>
    <message>
        <source>Le nom de pièce jointe "%s" est refusé.</source>
        <translation>The attachment name "%s" is refused.</translation>
    </message>
    <message>
        <source>Un message a été reçu, son déchiffrement est en cours.</source>
        <translation>A message was received; it is being decrypted.</translation>
    </message>
    <message>
        <source>La pièce jointe %s n'a pas été reçue : un fichier vide la remplace.</source>
        <translation>The attachment %s was not received: an empty file replaces it.</translation>
    </message>
    <message>
        <source>La pièce jointe %s n'a pu être déchiffrée : un fichier vide la remplace.</source>
        <translation>The attachment %s could not be decrypted: an empty file replaces it.</translation>
    </message>
    <message>
        <source>La pièce jointe %s n'a pu être enregistrée.</source>
        <translation>The attachment %s could not be saved.</translation>
    </message>
    <message>
        <source>La pièce jointe %s n'appartient pas à ce message (son en-tête diffère de celui du message) : un fichier vide la remplace.</source>
        <translation>The attachment %s does not belong to this message (its header differs from the message's): an empty file replaces it.</translation>
    </message>
    <message>
        <source>Le destinataire inscrit dans ce message ne correspond pas à votre identité : le correspondant détient peut-être une version ancienne de vos données.</source>
        <translation>The recipient written in this message does not match your identity: the correspondent may hold an older version of your data.</translation>
    </message>
    <message>
        <source>Expéditeur enregistré</source>
        <translation>Registered sender</translation>
    </message>
    <message>
        <source>Expéditeur non enregistré</source>
        <translation>Unregistered sender</translation>
    </message>
    <message>
        <source>Les informations ci-dessus sont confirmées.</source>
        <translation>The information above is confirmed.</translation>
    </message>
    <message>
        <source>Attention! Les informations ci-dessus ne sont pas confirmées.</source>
        <translation>Warning! The information above is not confirmed.</translation>
    </message>
    <message>
        <source>Chiffré le %s à %s</source>
        <translation>Encrypted on %s at %s</translation>
    </message>
    <message>
        <source>Organisme :</source>
        <translation>Organisation:</translation>
    </message>
    <message>
        <source>En-tête :</source>
        <translation>Header:</translation>
    </message>
    <message>
        <source>Message condensé et signature :</source>
        <translation>Message digest and signature:</translation>
    </message>
    <message>
        <source>Informations et date du message :</source>
        <translation>Message information and date:</translation>
    </message>
    <message>
        <source>Expéditeur :</source>
        <translation>Sender:</translation>
    </message>
    <message>
        <source>Message :</source>
        <translation>Message:</translation>
    </message>
    <message>
        <source>Le message condensé ci-dessous est confirmé.</source>
        <translation>The message digest below is confirmed.</translation>
    </message>
    <message>
        <source>Attention! Le message condensé ci-dessous n'est pas confirmé.</source>
        <translation>Warning! The message digest below is not confirmed.</translation>
    </message>
    <message>
        <source>Message destiné au correspondant, %s</source>
        <translation>Message for the correspondent %s</translation>
    </message>
    <message>
        <source>Message destiné au correspondant non enregistré, %s</source>
        <translation>Message for the unregistered correspondent %s</translation>
    </message>
    <message>
        <source>%s, %s, à l'attention de %s %s</source>
        <translation>%s, %s, for the attention of %s %s</translation>
    </message>
    <message>
        <source>%s, à l'attention de %s %s</source>
        <translation>%s, for the attention of %s %s</translation>
    </message>
    <message>
        <source>Le fichier %s n'est pas un message déchiffré enregistré.</source>
        <translation>The file %s is not a saved decrypted message.</translation>
    </message>
    <message>
        <source>Le message condensé n'est pas confirmé : la demande de certification n'est pas envoyée.</source>
        <translation>The message digest is not confirmed: the certification request is not sent.</translation>
    </message>
    <message>
        <source>Le caractère « %s » ne peut pas être transmis : il n'appartient pas au jeu de caractères d'Europe occidentale (code page 1252).</source>
        <translation>The character “%s” cannot be sent: it is not in the Western European character set (code page 1252).</translation>
    </message>
    <message>
        <source>Reste à remplir : %s</source>
        <translation>Still to fill in: %s</translation>
    </message>
    <message>
        <source>Choisissez « oui » ou « non » pour la liste publique des affiliés.</source>
        <translation>Choose “yes” or “no” for the public list of affiliates.</translation>
    </message>
    <message>
        <source>Un n° d'affiliation ne comprend que des chiffres hexadécimaux (0-9, A-F) !</source>
        <translation>An affiliation number holds hexadecimal digits only (0-9, A-F)!</translation>
    </message>
    <message>
        <source>Tapez les 11 caractères du n° d'affiliation.</source>
        <translation>Type the 11 characters of the affiliation number.</translation>
    </message>
    <message>
        <source>Ok sera possible une fois ceci fait :</source>
        <translation>Ok becomes possible once this is done:</translation>
    </message>
    <message>
        <source>choisir la catégorie d'utilisateur</source>
        <translation>choose the user category</translation>
    </message>
    <message>
        <source>cliquer encore %s fois sur le bouton de la clef</source>
        <translation>click the key button %s more times</translation>
    </message>
    <message>
        <source>donner l'adresse de l'Organisme de Confiance</source>
        <translation>give the address of the Trusted Authority</translation>
    </message>
    <message>
        <source>remplir « %s » de la messagerie</source>
        <translation>fill in the mail field “%s”</translation>
    </message>
    <message>
        <source>choisir chaque dossier de l'onglet « Répertoires »</source>
        <translation>choose every folder of the “Folders” tab</translation>
    </message>
    <message>
        <source>donner l'adresse et le port du proxy, ou ni l'un ni l'autre</source>
        <translation>give both the address and the port of the proxy, or neither</translation>
    </message>
    <message>
        <source>Le caractère « %s » ne peut pas être utilisé : il n'appartient pas au jeu de caractères d'Europe occidentale (code page 1252).</source>
        <translation>The character “%s” cannot be used: it is not in the Western European character set (code page 1252).</translation>
    </message>
    <message>
        <source>Le dossier %s ne peut pas être choisi : le caractère « %s » n'appartient pas au jeu de caractères d'Europe occidentale (code page 1252).</source>
        <translation>The folder %s cannot be chosen: the character “%s” is not in the Western European character set (code page 1252).</translation>
    </message>
    <message>
        <source>Aucun nom libre n'a été trouvé pour le fichier %s : il n'est pas enregistré.</source>
        <translation>No free name was found for the file %s: it is not saved.</translation>
    </message>
    <message>
        <source>Un fichier de même nom existait déjà : la pièce jointe est enregistrée sous le nom %s.</source>
        <translation>A file of the same name already existed: the attachment is saved under the name %s.</translation>
    </message>
    <message>
        <source>Le serveur %s n'a pas répondu dans les %s s après la connexion</source>
        <translation>The server %s did not answer within %s s after connecting</translation>
    </message>
    <message>
        <source>Redirection sans adresse utilisable : la demande est abandonnée</source>
        <translation>Redirection without a usable address: the request is abandoned</translation>
    </message>
    <message>
        <source>Réponse du serveur de TA trop longue (plus de %s octets) : elle est abandonnée</source>
        <translation>Reply from the TA server too long (more than %s bytes): it is abandoned</translation>
    </message>
    <message>
        <source>Ligne d'en-tête de la réponse du serveur de TA trop longue (plus de %s octets) : la réponse est abandonnée</source>
        <translation>Header line of the TA server's reply too long (more than %s bytes): the reply is abandoned</translation>
    </message>
    <message>
        <source>Le serveur %s est inconnu : ce nom ne correspond à aucune adresse (vérifiez l'adresse dans les options)</source>
        <translation>The server %s is unknown: no address has this name (check the address in the options)</translation>
    </message>
    <message>
        <source>Le serveur %s refuse la connexion : aucun service n'attend de demande sur ce port</source>
        <translation>The server %s refuses the connection: no service waits for requests on this port</translation>
    </message>
    <message>
        <source>Le serveur %s est injoignable : %s</source>
        <translation>The server %s cannot be reached: %s</translation>
    </message>
    <message>
        <source>Le serveur %s n'a pas accepté la connexion dans les %s s</source>
        <translation>The server %s did not accept the connection within %s s</translation>
    </message>
    <message>
        <source>Le serveur %s n'a pas achevé sa réponse dans les %s s après la connexion (%s octets reçus)</source>
        <translation>The server %s did not finish its reply within %s s after connecting (%s bytes received)</translation>
    </message>
    <message>
        <source>Le serveur %s n'a pas reçu toute la demande dans les %s s après la connexion</source>
        <translation>The server %s did not take the whole request within %s s after connecting</translation>
    </message>
    <message>
        <source>La connexion au serveur %s a été coupée : %s</source>
        <translation>The connection to the server %s was cut: %s</translation>
    </message>
    <message>
        <source>Le serveur %s a fermé la connexion sans répondre</source>
        <translation>The server %s closed the connection without answering</translation>
    </message>
    <message>
        <source>Réponse incomplète du serveur %s : %s octets reçus sur les %s annoncés ; elle est abandonnée</source>
        <translation>Incomplete reply from the server %s: %s bytes received of the %s announced; it is abandoned</translation>
    </message>
    <message>
        <source>Réponse incomplète du serveur %s : la connexion a été fermée avant le dernier morceau (%s octets reçus) ; elle est abandonnée</source>
        <translation>Incomplete reply from the server %s: the connection was closed before the last chunk (%s bytes received); it is abandoned</translation>
    </message>
    <message>
        <source>Réponse du serveur %s mal délimitée (longueur illisible ou contradictoire, ou morceaux mal formés) : elle est abandonnée</source>
        <translation>Reply from the server %s with a wrong frame (unreadable or contradictory length, or malformed chunks): it is abandoned</translation>
    </message>
    <message>
        <source>Réponse du serveur %s dans un codage non pris en charge (Transfer-Encoding: %s) : elle est abandonnée</source>
        <translation>Reply from the server %s in an unsupported coding (Transfer-Encoding: %s): it is abandoned</translation>
    </message>
    <message>
        <source>Demande : %s octets envoyés sur %s</source>
        <translation>Request: %s bytes sent of %s</translation>
    </message>
    <message>
        <source>Réponse : %s octets reçus sur %s</source>
        <translation>Reply: %s bytes received of %s</translation>
    </message>
    <message>
        <source>Réponse : %s octets reçus</source>
        <translation>Reply: %s bytes received</translation>
    </message>
    <message>
        <source>La demande est en cours : attendez la réponse ou annulez</source>
        <translation>The request is under way: wait for the reply or cancel</translation>
    </message>
    <message>
        <source>La réponse est arrivée : acceptez-la ou annulez</source>
        <translation>The reply has arrived: accept it or cancel</translation>
    </message>
    <message>
        <source>Possible quand une réponse complète du serveur de TA est arrivée</source>
        <translation>Possible once a complete reply from the TA server has arrived</translation>
    </message>
    <message>
        <source>Après la réponse à une demande d'affiliation, Annuler attend 15 s : acceptez d'abord la réponse</source>
        <translation>After the reply to an affiliation request, Cancel waits 15 s: accept the reply first</translation>
    </message>
    <message>
        <source>La liste altérée est conservée dans le fichier %s.</source>
        <translation>The altered list is kept in the file %s.</translation>
    </message>
    <message>
        <source>Les fichiers précédents sont conservés avant d'être remplacés :
%s</source>
        <translation>The previous files are kept before being replaced:
%s</translation>
    </message>
    <message>
        <source>Le fichier %s n'a pu être mis de côté (%s) : il n'est pas remplacé et l'affiliation n'est pas lancée.</source>
        <translation>The file %s could not be set aside (%s): it is not replaced and the affiliation is not started.</translation>
    </message>
    <message>
        <source>Lecture d'un message reçu et déchiffré</source>
        <translation>Reading a received and decrypted message</translation>
    </message>
    <message>
        <source>Expéditeur</source>
        <translation>Sender</translation>
    </message>
    <message>
        <source>Numéro d'affiliation :</source>
        <translation>Affiliation number:</translation>
    </message>
    <message>
        <source>Localité :</source>
        <translation>Locality:</translation>
    </message>
    <message>
        <source>E-mail :</source>
        <translation>E-mail:</translation>
    </message>
    <message>
        <source>Message condensé :</source>
        <translation>Message digest:</translation>
    </message>
    <message>
        <source>Signature :</source>
        <translation>Signature:</translation>
    </message>
    <message>
        <source>objet :</source>
        <translation>subject:</translation>
    </message>
    <message>
        <source>Rédaction d'un message chiffré</source>
        <translation>Writing an encrypted message</translation>
    </message>
    <message>
        <source>un fichier à désigner</source>
        <translation>a file to be named</translation>
    </message>
    <message>
        <source>Etes-vous d'accord d'écraser %s?</source>
        <translation>Do you agree to overwrite %s?</translation>
    </message>
    <message>
        <source>Voulez-vous sauver les modifications dans %s?</source>
        <translation>Do you want to save the changes in %s?</translation>
    </message>
    <message>
        <source>Voulez-vous enregistrer le message dans %s?</source>
        <translation>Do you want to save the message in %s?</translation>
    </message>
    <message>
        <source>Ligne : %3d   Colonne : %3d</source>
        <translation>Line : %3d   Column : %3d</translation>
    </message>
    <message>
        <source>Modifié</source>
        <translation>Modified</translation>
    </message>
    <message>
        <source>Fichiers formatés (*.rtf)</source>
        <translation>Formatted files (*.rtf)</translation>
    </message>
    <message>
        <source>Fichiers texte (*.txt)</source>
        <translation>Text files (*.txt)</translation>
    </message>
    <message>
        <source>Le message déchiffré est placé dans le presse-papiers.</source>
        <translation>The decrypted message is placed on the clipboard.</translation>
    </message>
    <message>
        <source>Le certificat est placé dans le presse-papiers.</source>
        <translation>The certificate is placed on the clipboard.</translation>
    </message>
    <message>
        <source>certificat</source>
        <translation>certificate</translation>
    </message>
    <message>
        <source>Certification</source>
        <translation>Certification</translation>
    </message>
    <message>
        <source>N° d'affiliation :</source>
        <translation>Affiliation no.:</translation>
    </message>
    <message>
        <source>Message réduit :</source>
        <translation>Reduced message:</translation>
    </message>
    <message>
        <source>Message déchiffré</source>
        <translation>Message decrypted</translation>
    </message>
    <message>
        <source>Pièces jointes</source>
        <translation>Attachments</translation>
    </message>
    <message>
        <source>Retour</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>Certifier</source>
        <translation>Certify</translation>
    </message>
    <message>
        <source>Enregistrer</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Tout sélectionner</source>
        <translation>Select all</translation>
    </message>
    <message>
        <source>Copier</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>Tous les fichiers (*.*)</source>
        <translation>All files (*.*)</translation>
    </message>
    <message>
        <source>rouge</source>
        <translation>red</translation>
    </message>
    <message>
        <source>vert</source>
        <translation>green</translation>
    </message>
    <message>
        <source>bleu</source>
        <translation>blue</translation>
    </message>
    <message>
        <source>noir</source>
        <translation>black</translation>
    </message>
    <message>
        <source>&amp;Objet :</source>
        <translation>&amp;Subject:</translation>
    </message>
    <message>
        <source>Fichiers a&amp;ttachés...</source>
        <translation>Attached &amp;files...</translation>
    </message>
    <message>
        <source>Ouvrir un texte</source>
        <translation>Open a text</translation>
    </message>
    <message>
        <source>Enregistrer le texte</source>
        <translation>Save the text</translation>
    </message>
    <message>
        <source>Enregistrer le texte sous</source>
        <translation>Save the text as</translation>
    </message>
    <message>
        <source>Imprimer</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>Ouvrir une des pièces jointes déchiffrées</source>
        <translation>Open one of the decrypted attachments</translation>
    </message>
    <message>
        <source>Sélectionnez d'abord le texte à copier.</source>
        <translation>Select the text to copy first.</translation>
    </message>
    <message>
        <source>Enregistrer le message déchiffré</source>
        <translation>Save the decrypted message</translation>
    </message>
    <message>
        <source>Enregistrer le certificat</source>
        <translation>Save the certificate</translation>
    </message>
    <message>
        <source>Message déchiffré à certifier</source>
        <translation>Decrypted message to certify</translation>
    </message>
    <message>
        <source>Aucun programme n'a pu ouvrir la pièce jointe %s. Elle est enregistrée dans le dossier %s.</source>
        <translation>No program could open the attachment %s. It is saved in the folder %s.</translation>
    </message>
    <message>
        <source>Le fichier %s dépasse %s Mo : ce n'est pas un message déchiffré enregistré.</source>
        <translation>The file %s exceeds %s MB: it is not a saved decrypted message.</translation>
    </message>
    <message>
        <source>Pièces jointes :</source>
        <translation>Attachments:</translation>
    </message>
    <message>
        <source>Les pièces jointes ne sont pas couvertes par la signature : leur contenu n'est pas prouvé.</source>
        <translation>The attachments are not covered by the signature: their content is not proven.</translation>
    </message>
    <message>
        <source>Demander à l'Organisme de Confiance de certifier la signature</source>
        <translation>Ask the Trusted Authority to certify the signature</translation>
    </message>
    <message>
        <source>Enregistrer avec son en-tête</source>
        <translation>Save with its header</translation>
    </message>
    <message>
        <source>Imprimer (la sélection seule quand du texte est sélectionné)</source>
        <translation>Print (only the selection when text is selected)</translation>
    </message>
    <message>
        <source>Fermer la fenêtre</source>
        <translation>Close the window</translation>
    </message>
    <message>
        <source>Le nom %s est réservé aux fichiers du programme : choisissez un autre nom.</source>
        <translation>The name %s is kept for the program's own files: choose another name.</translation>
    </message>
    <message>
        <source>Le dossier %s ne peut pas recevoir les messages et fichiers envoyés, reçus ou déchiffrés : %s, et un courrier pourrait y déposer un fichier que le programme prendrait pour l'un des siens. Choisissez-en un autre dans l'onglet « Répertoires » des options.</source>
        <translation>The folder %s cannot take the messages and files sent, received or decrypted: %s, and a mail could leave a file there that the program would take for one of its own. Choose another one on the “Folders” tab of the options.</translation>
    </message>
    <message>
        <source>c'est le dossier de données du programme</source>
        <translation>it is the program's data folder</translation>
    </message>
    <message>
        <source>c'est le dossier de la clé privée</source>
        <translation>it is the private key's folder</translation>
    </message>
    <message>
        <source>c'est le dossier des fichiers du programme</source>
        <translation>it is the folder of the program's files</translation>
    </message>
    <message>
        <source>Le programme du titulaire est déjà ouvert sur le dossier de données %s (processus %s sur %s). Il n'est pas ouvert une seconde fois.</source>
        <translation>The holder's program is already open on the data folder %s (process %s on %s). It is not opened a second time.</translation>
    </message>
    <message>
        <source>Le dossier de données %s ne peut pas être réservé à ce programme (%s) : il s'arrête.</source>
        <translation>The data folder %s cannot be reserved for this program (%s): it stops.</translation>
    </message>
    <message>
        <source>Le dossier de données %s ne peut pas être utilisé : les caractères %s n'appartiennent pas au jeu de caractères d'Europe occidentale (code page 1252). Lancez le programme depuis un dossier dont le nom ne les contient pas.</source>
        <translation>The data folder %s cannot be used: the characters %s are not in the Western European character set (code page 1252). Start the program from a folder whose name does not hold them.</translation>
    </message>
    <message>
        <source>Le fichier QuarnelTit.ini n'a pu être enregistré : un réglage contient une tabulation, un saut de ligne ou un autre caractère de contrôle.</source>
        <translation>The file QuarnelTit.ini could not be saved: a setting holds a tab, a line break or another control character.</translation>
    </message>
    <message>
        <source>Cause : %s</source>
        <translation>Reason: %s</translation>
    </message>
    <message>
        <source>Ce champ n'accepte ni tabulation, ni saut de ligne, ni autre caractère de contrôle.</source>
        <translation>This field takes no tab, no line break and no other control character.</translation>
    </message>
    <message>
        <source>Le chiffrement du message est en cours.</source>
        <translation>The message is being encrypted.</translation>
    </message>
    <message>
        <source>Déchiffrement du message</source>
        <translation>Decrypting the message</translation>
    </message>
    <message>
        <source>Couper</source>
        <translation>Cut</translation>
    </message>
    <message>
        <source>Coller</source>
        <translation>Paste</translation>
    </message>
    <message>
        <source>Annuler la dernière modification</source>
        <translation>Undo the last change</translation>
    </message>
    <message>
        <source>Police</source>
        <translation>Font</translation>
    </message>
    <message>
        <source>Taille</source>
        <translation>Size</translation>
    </message>
    <message>
        <source>Couleur</source>
        <translation>Colour</translation>
    </message>
    <message>
        <source>Gras (Ctrl+B)</source>
        <translation>Bold (Ctrl+B)</translation>
    </message>
    <message>
        <source>Italique (Ctrl+I)</source>
        <translation>Italic (Ctrl+I)</translation>
    </message>
    <message>
        <source>Souligné (Ctrl+U)</source>
        <translation>Underlined (Ctrl+U)</translation>
    </message>
    <message>
        <source>Aligné à gauche (Ctrl+L)</source>
        <translation>Left aligned (Ctrl+L)</translation>
    </message>
    <message>
        <source>Centré (Ctrl+E)</source>
        <translation>Centred (Ctrl+E)</translation>
    </message>
    <message>
        <source>Aligné à droite (Ctrl+R)</source>
        <translation>Right aligned (Ctrl+R)</translation>
    </message>
    <message>
        <source>Puces</source>
        <translation>Bullets</translation>
    </message>
    <message>
        <source>&amp;Chiffrer</source>
        <translation>&amp;Encrypt</translation>
    </message>
    <message>
        <source>&amp;Fermer</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>%s : aucun texte n'est sélectionné.</source>
        <translation>%s: no text is selected.</translation>
    </message>
    <message>
        <source>%s : il n'y a rien à annuler.</source>
        <translation>%s: there is nothing to undo.</translation>
    </message>
    <message>
        <source>%s : le presse-papiers ne contient pas de texte.</source>
        <translation>%s: the clipboard holds no text.</translation>
    </message>
    <message>
        <source>Le fichier %s est trop grand pour être ouvert (plus de %s octets).</source>
        <translation>The file %s is too large to be opened (more than %s bytes).</translation>
    </message>
    <message>
        <source>Le fichier %s n'est pas un texte formaté lisible : %s</source>
        <translation>The file %s is not a readable formatted text: %s</translation>
    </message>
    <message>
        <source>Un message ne peut porter plus de %s fichiers attachés.</source>
        <translation>A message cannot carry more than %s attached files.</translation>
    </message>
    <message>
        <source>&amp;Enregistrer le texte</source>
        <translation>&amp;Save the text</translation>
    </message>
    <message>
        <source>&amp;Fermer sans enregistrer</source>
        <translation>&amp;Close without saving</translation>
    </message>
    <message>
        <source>&amp;Revenir au message</source>
        <translation>&amp;Back to the message</translation>
    </message>
    <message>
        <source>&amp;Chiffrer sans enregistrer</source>
        <translation>&amp;Encrypt without saving</translation>
    </message>
    <message>
        <source>&amp;Enregistrer puis chiffrer</source>
        <translation>&amp;Save, then encrypt</translation>
    </message>
    <message>
        <source>&amp;Ouvrir sans enregistrer</source>
        <translation>&amp;Open without saving</translation>
    </message>
    <message>
        <source>&amp;Abandonner le message</source>
        <translation>&amp;Drop the message</translation>
    </message>
    <message>
        <source>Fermer sans chiffrer ? L'objet et les fichiers attachés de ce message seront perdus.</source>
        <translation>Close without encrypting? The subject and the attached files of this message will be lost.</translation>
    </message>
    <message>
        <source>&amp;Retirer une pièce</source>
        <translation>&amp;Remove a file</translation>
    </message>
    <message>
        <source>Aucun fichier n'est attaché.</source>
        <translation>No file is attached.</translation>
    </message>
    <message>
        <source>Courrier : environ %s</source>
        <translation>Mail: about %s</translation>
    </message>
    <message>
        <source>Ce courrier fera environ %s, plus que les %s que beaucoup de fournisseurs de messagerie acceptent : il risque d'être refusé.
Voulez-vous le chiffrer quand même ?</source>
        <translation>This mail will be about %s, more than the %s many mail providers accept: it may be refused.
Do you want to encrypt it all the same?</translation>
    </message>
    <message>
        <source>&amp;Chiffrer quand même</source>
        <translation>&amp;Encrypt all the same</translation>
    </message>
    <message>
        <source>%s (%s)</source>
        <translation>%s (%s)</translation>
    </message>
    <message>
        <source>%s (introuvable)</source>
        <translation>%s (not found)</translation>
    </message>
    <message>
        <source>Ces caractères ne peuvent pas être transmis dans un message simple : %s
Revenez au message pour les remplacer, ou abandonnez le message (il n'est pas chiffré).</source>
        <translation>These characters cannot travel in a plain message: %s
Go back to the message to replace them, or drop the message (it is not encrypted).</translation>
    </message>
    <message>
        <source>Ces caractères ne peuvent pas être enregistrés dans un fichier texte : %s
Le fichier n'est pas enregistré.</source>
        <translation>These characters cannot be saved in a text file: %s
The file is not saved.</translation>
    </message>
    <message>
        <source>Chiffrement du message</source>
        <translation>Encrypting the message</translation>
    </message>
    <message>
        <source>Aucun fichier attaché</source>
        <translation>No attached file</translation>
    </message>
    <message>
        <source>G</source>
        <translation>B</translation>
    </message>
    <message>
        <source>I</source>
        <translation>I</translation>
    </message>
    <message>
        <source>S</source>
        <translation>U</translation>
    </message>
    <message>
        <source>Connexion au transmetteur SMTP</source>
        <translation>Connection to the SMTP relay</translation>
    </message>
    <message>
        <source>Transmission du message chiffré en cours</source>
        <translation>Encrypted message being sent</translation>
    </message>
    <message>
        <source>Message bien transmis</source>
        <translation>Message sent</translation>
    </message>
    <message>
        <source>Echec de la transmission du message chiffré</source>
        <translation>The encrypted message could not be sent</translation>
    </message>
    <message>
        <source>Echec de la connexion au transmetteur SMTP</source>
        <translation>Could not connect to the SMTP relay</translation>
    </message>
    <message>
        <source>Déconnexion du transmetteur SMTP</source>
        <translation>Disconnected from the SMTP relay</translation>
    </message>
    <message>
        <source>Réponse du transmetteur SMTP : %s</source>
        <translation>SMTP relay reply: %s</translation>
    </message>
    <message>
        <source>Le transmetteur SMTP a envoyé une ligne de plus de %s caractères : la transmission est interrompue.</source>
        <translation>The SMTP relay sent a line longer than %s characters: sending stopped.</translation>
    </message>
    <message>
        <source>L'adresse "%s" est refusée : le message n'est pas envoyé.</source>
        <translation>The address "%s" is refused: the message is not sent.</translation>
    </message>
    <message>
        <source>La pièce jointe %s n'a pu être lue.</source>
        <translation>The attachment %s could not be read.</translation>
    </message>
    <message>
        <source>Le transmetteur SMTP a envoyé une réponse de plus de %s lignes : la transmission est interrompue.</source>
        <translation>The SMTP relay sent a reply of more than %s lines: sending stopped.</translation>
    </message>
    <message>
        <source>Le fichier de paramètres de l'Organisme de Confiance (QuarnelTaPr.*) n'a été trouvé ni à côté du programme ni dans le dossier de données %s. Choisissez-le dans la fenêtre qui suit : il sera copié dans le dossier de données.</source>
        <translation>The Trusted Authority's parameter file (QuarnelTaPr.*) was found neither beside the program nor in the data folder %s. Choose it in the next window: it will be copied into the data folder.</translation>
    </message>
    <message>
        <source>Fichier de paramètres de l'Organisme de Confiance</source>
        <translation>Trusted Authority's parameter file</translation>
    </message>
    <message>
        <source>Paramètres de l'Organisme de Confiance (QuarnelTaPr.*)</source>
        <translation>Trusted Authority's parameters (QuarnelTaPr.*)</translation>
    </message>
    <message>
        <source>Le fichier %s n'est pas un fichier de paramètres valide de l'Organisme de Confiance.</source>
        <translation>The file %s is not a valid parameter file of a Trusted Authority.</translation>
    </message>
    <message>
        <source>Le fichier %s n'a pu être copié dans le dossier de données %s (%s).</source>
        <translation>The file %s could not be copied into the data folder %s (%s).</translation>
    </message>
    <message>
        <source>Sans le fichier de paramètres de l'Organisme de Confiance, le programme ne peut pas être initialisé : il s'arrête. Demandez ce fichier à votre Organisme de Confiance, puis relancez le programme.</source>
        <translation>Without the Trusted Authority's parameter file the program cannot be initialised: it stops. Ask your Trusted Authority for this file, then start the program again.</translation>
    </message>
    <message>
        <source>Le fichier de paramètres de l'Organisme de Confiance (QuarnelTaPr.*) n'a été trouvé ni à côté du programme ni dans le dossier de données %s : l'initialisation ne peut pas s'ouvrir.</source>
        <translation>The Trusted Authority's parameter file (QuarnelTaPr.*) was found neither beside the program nor in the data folder %s: the initialisation cannot open.</translation>
    </message>
    <message>
        <source>Smtp : hôte[:port], smtp+starttls://hôte, smtps://hôte</source>
        <translation>SMTP: host[:port], smtp+starttls://host, smtps://host</translation>
    </message>
    <message>
        <source>Pop3 : hôte[:port], pop3+stls://hôte, pop3s://hôte</source>
        <translation>POP3: host[:port], pop3+stls://host, pop3s://host</translation>
    </message>
    <message>
        <source>Port %s : la connexion sera chiffrée par STARTTLS</source>
        <translation>Port %s: the connection will be encrypted with STARTTLS</translation>
    </message>
    <message>
        <source>Port %s : la connexion sera chiffrée par TLS dès l'ouverture</source>
        <translation>Port %s: the connection will be encrypted with TLS from the start</translation>
    </message>
    <message>
        <source>Connexion chiffrée établie (%s)</source>
        <translation>Encrypted connection established (%s)</translation>
    </message>
    <message>
        <source>Refus : le certificat du serveur %s ne vient d'aucune autorité reconnue (une autorité de plus peut être placée dans le fichier QuarnelTitCA.pem du dossier de données)</source>
        <translation>Refused: the certificate of server %s comes from no trusted authority (one more authority can be put in the file QuarnelTitCA.pem of the data folder)</translation>
    </message>
    <message>
        <source>Refus : le certificat du serveur %s a expiré</source>
        <translation>Refused: the certificate of server %s has expired</translation>
    </message>
    <message>
        <source>Refus : le certificat présenté n'est pas celui du serveur %s</source>
        <translation>Refused: the certificate presented is not that of server %s</translation>
    </message>
    <message>
        <source>Refus : la négociation chiffrée a échoué (%s)</source>
        <translation>Refused: the encryption handshake failed (%s)</translation>
    </message>
    <message>
        <source>Refus : le serveur n'offre pas %s ; rien n'est envoyé en clair</source>
        <translation>Refused: the server does not offer %s; nothing is sent in clear</translation>
    </message>
    <message>
        <source>Le fichier %s n'est pas un certificat d'autorité lisible : il n'est pas pris en compte</source>
        <translation>The file %s is not a readable authority certificate: it is not used</translation>
    </message>
    <message>
        <source>Refus : authentification refusée par le transmetteur SMTP (%s)</source>
        <translation>Refused: authentication refused by the SMTP relay (%s)</translation>
    </message>
    <message>
        <source>Authentification acceptée (%s)</source>
        <translation>Authentication accepted (%s)</translation>
    </message>
    <message>
        <source>Refus : authentification refusée par le serveur POP3 (%s)</source>
        <translation>Refused: authentication refused by the POP3 server (%s)</translation>
    </message>
    <message>
        <source>Le transmetteur SMTP n'annonce pas 8BITMIME : le message part tout de même avec ses lettres accentuées.</source>
        <translation>The SMTP relay does not announce 8BITMIME: the message goes all the same, with its accented letters.</translation>
    </message>
    <message>
        <source>Envoi interrompu à votre demande : le message n'est pas parti.</source>
        <translation>Sending stopped at your request: the message has not gone.</translation>
    </message>
    <message>
        <source>Le serveur %s est inconnu : vérifiez son nom dans les options.</source>
        <translation>The server %s is unknown: check its name in the options.</translation>
    </message>
    <message>
        <source>Le serveur %s refuse la connexion : aucun service n'y répond sur ce port.</source>
        <translation>The server %s refuses the connection: no service answers on that port.</translation>
    </message>
    <message>
        <source>Le serveur %s ne peut être joint (%s).</source>
        <translation>The server %s cannot be reached (%s).</translation>
    </message>
    <message>
        <source>Le serveur %s n'a pas accepté la connexion dans les %s s.</source>
        <translation>The server %s did not accept the connection within %s s.</translation>
    </message>
    <message>
        <source>Le serveur %s n'a pas répondu dans les %s s après la connexion.</source>
        <translation>The server %s did not answer within %s s after the connection.</translation>
    </message>
    <message>
        <source>Le serveur %s n'a pas achevé la négociation chiffrée dans les %s s.</source>
        <translation>The server %s did not complete the encrypted handshake within %s s.</translation>
    </message>
    <message>
        <source>Le serveur %s n'a pas répondu dans les %s s à la commande %s.</source>
        <translation>The server %s did not answer within %s s to the %s command.</translation>
    </message>
    <message>
        <source>Le serveur %s n'a plus rien échangé depuis %s s pendant le transfert du message : la connexion est abandonnée.</source>
        <translation>The server %s has exchanged nothing for %s s during the transfer of the message: the connection is given up.</translation>
    </message>
    <message>
        <source>Le transfert du message avec le serveur %s dure depuis %s s, à moins de %s octets par seconde : il est interrompu.</source>
        <translation>The transfer of the message with the server %s has lasted %s s, at less than %s bytes a second: it is stopped.</translation>
    </message>
    <message>
        <source>Le serveur %s a coupé la connexion pendant la commande %s.</source>
        <translation>The server %s cut the connection during the %s command.</translation>
    </message>
    <message>
        <source>Le serveur %s a coupé la connexion pendant le transfert du message.</source>
        <translation>The server %s cut the connection during the transfer of the message.</translation>
    </message>
    <message>
        <source>Le serveur %s n'a pas confirmé dans les %s s la réception du message.</source>
        <translation>The server %s did not confirm the reception of the message within %s s.</translation>
    </message>
    <message>
        <source>Le serveur %s a coupé la connexion dès son ouverture.</source>
        <translation>The server %s cut the connection as soon as it was open.</translation>
    </message>
    <message>
        <source>Le serveur %s est joint sans chiffrement : le mot de passe de messagerie part en clair.</source>
        <translation>The server %s is reached without encryption: the mail password goes in clear.</translation>
    </message>
    <message>
        <source>Message n°%s laissé sur le serveur : une de ses lignes dépasse %s octets.</source>
        <translation>Message no. %s left on the server: one of its lines is over %s bytes.</translation>
    </message>
    <message>
        <source>Message n°%s laissé sur le serveur : ses en-têtes dépassent %s octets.</source>
        <translation>Message no. %s left on the server: its headers are over %s bytes.</translation>
    </message>
    <message>
        <source>Message n°%s laissé sur le serveur : il fait %s octets, et il ne reste que %s octets libres dans %s.</source>
        <translation>Message no. %s left on the server: it is %s bytes, and only %s bytes are free in %s.</translation>
    </message>
    <message>
        <source>Message n°%s laissé sur le serveur : ses %s octets n'ont pu être écrits dans %s (%s).</source>
        <translation>Message no. %s left on the server: its %s bytes could not be written in %s (%s).</translation>
    </message>
    <message>
        <source>Message n°%s laissé sur le serveur (%s octets) : il dépasse %s parties, %s niveaux d'imbrication ou %s en-têtes.</source>
        <translation>Message no. %s left on the server (%s bytes): it has more than %s parts, %s levels of nesting or %s headers.</translation>
    </message>
    <message>
        <source>Message n°%s laissé sur le serveur (%s octets) : son texte dépasse %s octets.</source>
        <translation>Message no. %s left on the server (%s bytes): its text is over %s bytes.</translation>
    </message>
    <message>
        <source>Message n°%s déjà enregistré lors d'un retrait précédent : effacé du serveur sans être enregistré une seconde fois.</source>
        <translation>Message no. %s already stored by an earlier retrieval: deleted from the server without being stored a second time.</translation>
    </message>
    <message>
        <source>Le serveur a refusé la fin de session (%s) : il garde les messages retirés, qui ne seront pas enregistrés une seconde fois.</source>
        <translation>The server refused the end of the session (%s): it keeps the messages retrieved, which will not be stored a second time.</translation>
    </message>
    <message>
        <source>Réception interrompue à votre demande : rien n'est effacé du serveur.</source>
        <translation>Reception stopped at your request: nothing is deleted from the server.</translation>
    </message>
    <message>
        <source>%s sur %s</source>
        <translation>%s of %s</translation>
    </message>
    <message>
        <source>Interrompt l'échange avec le serveur ; rien n'est perdu, vous pourrez réessayer.</source>
        <translation>Stops the exchange with the server; nothing is lost, you may try again.</translation>
    </message>
    <message>
        <source>Co&amp;urrier</source>
        <translation>Mail&amp;box</translation>
    </message>
    <message>
        <source>Courrier</source>
        <translation>Mailbox</translation>
    </message>
    <message>
        <source>Reçus</source>
        <translation>Received</translation>
    </message>
    <message>
        <source>Envoyés</source>
        <translation>Sent</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>Correspondant</source>
        <translation>Correspondent</translation>
    </message>
    <message>
        <source>Objet</source>
        <translation>Subject</translation>
    </message>
    <message>
        <source>État</source>
        <translation>State</translation>
    </message>
    <message>
        <source>Non lu</source>
        <translation>Not read</translation>
    </message>
    <message>
        <source>Lu, expéditeur confirmé</source>
        <translation>Read, sender confirmed</translation>
    </message>
    <message>
        <source>Lu, expéditeur non confirmé</source>
        <translation>Read, sender not confirmed</translation>
    </message>
    <message>
        <source>Envoyé</source>
        <translation>Sent</translation>
    </message>
    <message>
        <source>Illisible (enregistrement n°%s)</source>
        <translation>Unreadable (record no. %s)</translation>
    </message>
    <message>
        <source>Fi&amp;ltrer :</source>
        <translation>Fi&amp;lter:</translation>
    </message>
    <message>
        <source>&amp;Ouvrir</source>
        <translation>&amp;Open</translation>
    </message>
    <message>
        <source>Choisissez un message reçu lisible.</source>
        <translation>Choose a readable received message.</translation>
    </message>
    <message>
        <source>Attendez la fin de l'opération en cours.</source>
        <translation>Wait for the current operation to end.</translation>
    </message>
    <message>
        <source>Supprimer définitivement le message « %s » de %s, reçu le %s ? Le message chiffré et ses pièces jointes chiffrées seront effacés du disque.</source>
        <translation>Delete the message “%s” from %s, received on %s, for good? The encrypted message and its encrypted attachments will be erased from the disk.</translation>
    </message>
    <message>
        <source>Le message n'a pu être supprimé : %s</source>
        <translation>The message could not be deleted: %s</translation>
    </message>
    <message>
        <source>Reçus : %s ; envoyés et en attente : %s</source>
        <translation>Received: %s; sent and waiting: %s</translation>
    </message>
    <message>
        <source>%s messages plus anciens ne sont pas listés.</source>
        <translation>%s older messages are not listed.</translation>
    </message>
    <message>
        <source>Le journal %s est endommagé à partir de la ligne %s : la suite n'est pas lue, et le fichier n'est pas modifié.</source>
        <translation>The log %s is damaged from line %s on: what follows is not read, and the file is not changed.</translation>
    </message>
    <message>
        <source>Le journal %s ne peut être lu.</source>
        <translation>The log %s cannot be read.</translation>
    </message>
    <message>
        <source>Choisissez un message reçu.</source>
        <translation>Choose a received message.</translation>
    </message>
    <message>
        <source>Ré&amp;pondre</source>
        <translation>Re&amp;ply</translation>
    </message>
    <message>
        <source>Écrire la réponse à l'expéditeur de ce message.</source>
        <translation>Write the answer to the sender of this message.</translation>
    </message>
    <message>
        <source>L'expéditeur n°%s n'est pas parmi vos correspondants : il vous faut d'abord ses clefs. Les demander à l'Organisme de Confiance avec « Nouvelles clefs » ?</source>
        <translation>Sender no. %s is not one of your correspondents: you need their keys first. Ask the Trusted Authority for them with “New keys”?</translation>
    </message>
    <message>
        <source>&amp;Rechercher dans les textes</source>
        <translation>Search the &amp;texts</translation>
    </message>
    <message>
        <source>Tapez d'abord dans « Filtrer » les mots à chercher dans les textes des messages reçus.</source>
        <translation>First type in “Filter” the words to look for in the texts of the received messages.</translation>
    </message>
    <message>
        <source>Recherche dans les textes</source>
        <translation>Searching the texts</translation>
    </message>
    <message>
        <source>%s messages reçus contiennent « %s » dans leur texte ; effacez le filtre pour les revoir tous.</source>
        <translation>%s received messages hold “%s” in their text; clear the filter to see them all again.</translation>
    </message>
    <message>
        <source>%s messages n'ont pu être déchiffrés.</source>
        <translation>%s messages could not be decrypted.</translation>
    </message>
    <message>
        <source>Relevé automatique du courrier en cours</source>
        <translation>Collecting mail automatically</translation>
    </message>
    <message>
        <source>Le relevé automatique du courrier a échoué ; il sera tenté de nouveau à la prochaine échéance.</source>
        <translation>Collecting mail automatically failed; it will be tried again when the next interval is over.</translation>
    </message>
    <message>
        <source>Un nouveau message attend dans « Courrier entrant ».</source>
        <translation>One new message waits in “Incoming mail”.</translation>
    </message>
    <message>
        <source>%s nouveaux messages attendent dans « Courrier entrant ».</source>
        <translation>%s new messages wait in “Incoming mail”.</translation>
    </message>
    <message>
        <source>Relevé du courrier</source>
        <translation>Mail collection</translation>
    </message>
    <message>
        <source>Relever le courrier sans demande toutes les</source>
        <translation>Collect mail without asking every</translation>
    </message>
    <message>
        <source>minutes</source>
        <translation>minutes</translation>
    </message>
    <message>
        <source>Tant que le programme est inoccupé, le courrier est relevé sans ouvrir la fenêtre de réception, de 5 à 120 minutes d'intervalle ; les nouveaux messages sont comptés dans la ligne d'information et le titre de la fenêtre principale.</source>
        <translation>While the program is idle, mail is collected without opening the receiving window, every 5 to 120 minutes; the new messages are counted in the information line and in the main window's title.</translation>
    </message>
    <message>
        <source>Lu</source>
        <translation>Read</translation>
    </message>
</context>
</TS>
