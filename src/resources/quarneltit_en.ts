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
        <source>Cliquez 8 fois sans imposer de cadence.</source>
        <translation>Click 8 times at an irregular pace.</translation>
    </message>
    <message>
        <source>Cliquez</source>
        <translation>Click</translation>
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
        <source>Rejet du message en clair n°%s</source>
        <translation>Plain message no. %s rejected</translation>
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
        <source>Dépassement du temps imparti : %s</source>
        <translation>Time limit exceeded: %s</translation>
    </message>
    <message>
        <source>Erreur du serveur : %s</source>
        <translation>Server error: %s</translation>
    </message>
    <message>
        <source>Message n°%s trop volumineux, laissé sur le serveur</source>
        <translation>Message no. %s is too large, left on the server</translation>
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
        <source>Connexion perdue : %s</source>
        <translation>Connection lost: %s</translation>
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
        <source>Correspondants</source>
        <translation>Correspondents</translation>
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
        <source>Maintenant</source>
        <translation>Now</translation>
    </message>
    <message>
        <source>Plus tard</source>
        <translation>Later</translation>
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
        <source>Retirer</source>
        <translation>Collect</translation>
    </message>
    <message>
        <source>Déchiffrer</source>
        <translation>Decrypt</translation>
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
        <source>Correspondre</source>
        <translation>Write</translation>
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
        <source>Quitter</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Remarque</source>
        <translation>Remark</translation>
    </message>
    <message>
        <source>Sauver</source>
        <translation>Save</translation>
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
        <source>Enregistrement du fichier</source>
        <translation>Saving the file</translation>
    </message>
    <message>
        <source>Remettre l'information en attente</source>
        <translation>Set the information back to waiting</translation>
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
        <source>Modifier</source>
        <translation>Change</translation>
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
        <source>Exécuter</source>
        <translation>Execute</translation>
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
        <source>Envoyer</source>
        <translation>Send</translation>
    </message>
    <message>
        <source>Accepter</source>
        <translation>Accept</translation>
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
        <source>Réponse du serveur de TA non reçue dans le temps imparti</source>
        <translation>Reply from the TA server not received in time</translation>
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
        <source>&amp;Fichiers attachés...</source>
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
        <source>La pièce jointe %s n'a pu être ouverte.</source>
        <translation>The attachment %s could not be opened.</translation>
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
        <source>Le fichier %s est un fichier du programme : il ne peut être remplacé par un message.</source>
        <translation>The file %s is one of the program's files: it cannot be replaced by a message.</translation>
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
        <source>Ces caractères ne peuvent pas être transmis dans un message simple : %s
Voulez-vous revenir au message pour les remplacer ? (Non : le message n'est pas chiffré.)</source>
        <translation>These characters cannot travel in a plain message: %s
Do you want to go back to the message to replace them? (No: the message is not encrypted.)</translation>
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
        <source>Dépassement du temps imparti à l'étape %s</source>
        <translation>Time limit exceeded at step %s</translation>
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
        <source>La connexion au transmetteur SMTP a été coupée à l'étape %s</source>
        <translation>The connection to the SMTP relay was cut at step %s</translation>
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
</context>
</TS>
