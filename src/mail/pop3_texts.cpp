// SPDX-License-Identifier: GPL-3.0-or-later
// French texts of the receiving side.

#include "mail/pop3_texts.h"
#include "resources/text_table.h"

namespace quarnel {

namespace {
constexpr TextEntry kTexts[] = {
    T(txt::kPop3Call, "Appel"),
    T(txt::kPop3Connected, "Connexion au serveur POP3"),
    T(txt::kPop3Disconnected, "Déconnexion du serveur Pop3"),
    T(txt::kPop3ConnectFailed, "Echec de la connexion au serveur POP3"),
    T(txt::kPop3NoMessage, "Il n'y a aucun message."),
    T(txt::kPop3OneMessage, "Il y a %s message."),
    T(txt::kPop3Messages, "Il y a %s messages."),
    T(txt::kPop3PlainRejected, "Message en clair n°%s laissé sur le serveur"),
    T(txt::kPop3From, "provenant de %s"),
    T(txt::kPop3Subject, "objet : %s"),
    T(txt::kPop3TransferFailed, "Echec de la transmission d'un message"),
    T(txt::kPop3Malformed, "Rejet du message mal conformé n°%s"),
    T(txt::kPop3Accepted, "Réception du message chiffré n°%s"),
    T(txt::kPop3OtherRejected, "Rejet du message chiffré n°%s"),
    T(txt::kPop3ForAffiliate, "destiné à l'affilié n°%s"),
    T(txt::kPop3Decrypting, "Déchiffrement en cours"),
    T(txt::kPop3Decrypted, "Message déchiffré"),
    T(txt::kPop3Altered, "Message altéré"),
    T(txt::kPop3LogFrom, "Message Chiffré de %s"),
    T(txt::kPop3NoPassword, "Aucun mot de passe de messagerie n'est enregistré."),
    T(txt::kPop3NoPasswordHint,
      "Aucun mot de passe de messagerie n'est enregistré : le courrier ne peut être retiré. "
      "Indiquez-le dans les Options."),
    T(txt::kPop3ServerError, "Erreur du serveur : %s"),
    T(txt::kPop3TooLarge,
      "Message n°%s laissé sur le serveur : %s octets, au-delà de la limite de %s octets."),
    T(txt::kPop3LineTooLong, "Ligne trop longue reçue du serveur"),
    T(txt::kPop3Deleted, "Message n°%s effacé du serveur"),
    T(txt::kPop3BadAttachmentName, "Nom de pièce jointe refusé : %s"),
    T(txt::kPop3AttachmentSaved, "Pièce jointe enregistrée : %s"),
    T(txt::kPop3AttachmentFailed, "La pièce jointe %s n'a pu être enregistrée."),
    T(txt::kPop3Unparsable, "Message illisible n°%s, laissé sur le serveur"),
    T(txt::kPop3LineWithoutCrLf, "Ligne reçue sans CR LF"),
    T(txt::kPop3PasswordInClear,
      "Le serveur %s est joint sans chiffrement : le mot de passe de messagerie part en clair."),
    T(txt::kPop3LeftLineTooLong,
      "Message n°%s laissé sur le serveur : une de ses lignes dépasse %s octets."),
    T(txt::kPop3LeftHeadersTooLarge,
      "Message n°%s laissé sur le serveur : ses en-têtes dépassent %s octets."),
    T(txt::kPop3LeftNoSpace,
      "Message n°%s laissé sur le serveur : il fait %s octets, et il ne reste que %s octets "
      "libres dans %s."),
    T(txt::kPop3LeftWriteFailed,
      "Message n°%s laissé sur le serveur : ses %s octets n'ont pu être écrits dans %s (%s)."),
    T(txt::kPop3LeftStructure,
      "Message n°%s laissé sur le serveur (%s octets) : il dépasse %s parties, %s niveaux "
      "d'imbrication ou %s en-têtes."),
    T(txt::kPop3LeftTextTooLong,
      "Message n°%s laissé sur le serveur (%s octets) : son texte dépasse %s octets."),
    T(txt::kPop3AlreadyStored,
      "Message n°%s déjà enregistré lors d'un retrait précédent : effacé du serveur sans être "
      "enregistré une seconde fois."),
    T(txt::kPop3QuitRefused,
      "Le serveur a refusé la fin de session (%s) : il garde les messages retirés, qui ne seront "
      "pas enregistrés une seconde fois."),
    T(txt::kPop3Cancelled, "Réception interrompue à votre demande : rien n'est effacé du serveur."),
};
}  // namespace

std::span<const TextEntry> MailPop3Texts() {
    return kTexts;
}

}  // namespace quarnel
