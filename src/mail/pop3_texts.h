// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Resource numbers of the receiving side's texts (French in
// mail/pop3_texts.cpp): the action log of a retrieval.

#include "resources/texts.h"

namespace quarnel {
QUARNEL_TEXT_TABLE(MailPop3Texts);
}  // namespace quarnel

namespace quarnel::txt {

// One line per step of the POP3 dialogue.
inline constexpr int kPop3Call = 75200;           // "Appel"
inline constexpr int kPop3Connected = 75201;      // "Connexion au serveur POP3"
inline constexpr int kPop3Disconnected = 75202;   // "Déconnexion du serveur Pop3"
inline constexpr int kPop3ConnectFailed = 75203;  // "Echec de la connexion au serveur POP3"
inline constexpr int kPop3NoMessage = 75204;      // "Il n'y a aucun message."
inline constexpr int kPop3OneMessage = 75205;     // "Il y a %d message."
inline constexpr int kPop3Messages = 75206;       // "Il y a %d messages."
inline constexpr int kPop3PlainRejected = 75207;  // "Message en clair n°%d laissé sur le serveur"
inline constexpr int kPop3From = 75208;           // "provenant de %s"
inline constexpr int kPop3Subject = 75209;        // "objet : %s"
inline constexpr int kPop3TransferFailed = 75210;  // "Echec de la transmission d'un message"
inline constexpr int kPop3Malformed = 75211;       // "Rejet du message mal conformé n°%d"
inline constexpr int kPop3Accepted = 75212;        // "Réception du message chiffré n°%d"
inline constexpr int kPop3OtherRejected = 75213;   // "Rejet du message chiffré n°%d"
inline constexpr int kPop3ForAffiliate = 75214;    // "destiné à l'affilié n°%s"
inline constexpr int kPop3Decrypting = 75215;      // "Déchiffrement en cours"
inline constexpr int kPop3Decrypted = 75216;       // "Message déchiffré"
inline constexpr int kPop3Altered = 75217;         // "Message altéré"
inline constexpr int kPop3LogFrom = 75218;         // "Message Chiffré de %s"
// Added: the dialogue's own steps, faults and limits.
inline constexpr int kPop3NoPassword = 75230;         // no mail password stored
inline constexpr int kPop3NoPasswordHint = 75231;     // where to set it
inline constexpr int kPop3ServerError = 75233;        // "Erreur du serveur : %s"
inline constexpr int kPop3TooLarge = 75234;           // number, bytes, the limit: left
inline constexpr int kPop3LineTooLong = 75235;        // reply line over the limit
inline constexpr int kPop3Deleted = 75236;            // "Message n°%d effacé du serveur"
inline constexpr int kPop3BadAttachmentName = 75237;  // name refused, a free one taken
inline constexpr int kPop3AttachmentSaved = 75238;    // "Pièce jointe enregistrée : %s"
inline constexpr int kPop3AttachmentFailed =
    75239;                                     // "La pièce jointe %s n'a pu être enregistrée."
inline constexpr int kPop3Unparsable = 75240;  // "Message illisible n°%d, laissé sur le serveur"
inline constexpr int kPop3LineWithoutCrLf = 75242;  // "Ligne reçue sans CR LF"
inline constexpr int kPop3PasswordInClear = 75243;  // the server
// A message left on the server, past a limit: its number first.
inline constexpr int kPop3LeftLineTooLong = 75244;      // number, the limit
inline constexpr int kPop3LeftHeadersTooLarge = 75245;  // number, the limit
inline constexpr int kPop3LeftNoSpace = 75246;          // number, bytes, bytes free, folder
inline constexpr int kPop3LeftWriteFailed = 75247;      // number, bytes, folder, reason
inline constexpr int kPop3LeftStructure = 75248;        // number, bytes, parts, depth, headers
inline constexpr int kPop3LeftTextTooLong = 75249;      // number, bytes, the limit
// Interrupted retrievals: nothing stored twice.
inline constexpr int kPop3AlreadyStored = 75250;  // number
inline constexpr int kPop3QuitRefused = 75251;    // the server's text
inline constexpr int kPop3Cancelled = 75252;

}  // namespace quarnel::txt
