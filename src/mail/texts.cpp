// SPDX-License-Identifier: GPL-3.0-or-later
// French texts of the mail subsystem.

#include "mail/texts.h"

#include "resources/text_table.h"

namespace quarnel {

namespace {
constexpr TextEntry kTexts[] = {
    // ---- Sending ----
    T(txt::kSmtpCall, "Appel"), T(txt::kSmtpConnected, "Connexion au transmetteur SMTP"),
    T(txt::kSmtpTransmitting, "Transmission du message chiffré en cours"),
    T(txt::kSmtpSent, "Message bien transmis"),
    T(txt::kSmtpTransferFailed, "Echec de la transmission du message chiffré"),
    T(txt::kSmtpConnectFailed, "Echec de la connexion au transmetteur SMTP"),
    T(txt::kSmtpDisconnected, "Déconnexion du transmetteur SMTP"),
    T(txt::kSmtpServerReply, "Réponse du transmetteur SMTP : %s"),
    T(txt::kSmtpLineTooLong,
      "Le transmetteur SMTP a envoyé une ligne de plus de %s caractères : la transmission est "
      "interrompue."),
    T(txt::kSmtpAddressRefused, "L'adresse \"%s\" est refusée : le message n'est pas envoyé."),
    T(txt::kSmtpAttachmentUnreadable, "La pièce jointe %s n'a pu être lue."),
    T(txt::kSmtpReplyTooLong,
      "Le transmetteur SMTP a envoyé une réponse de plus de %s lignes : la transmission est "
      "interrompue."),
    T(txt::kSmtpNo8BitMime,
      "Le transmetteur SMTP n'annonce pas 8BITMIME : le message part tout de même avec ses "
      "lettres accentuées."),
    T(txt::kSmtpCancelled, "Envoi interrompu à votre demande : le message n'est pas parti."),
    // ---- TLS and authentication ----
    T(txt::kTlsPortChoseStartTls, "Port %s : la connexion sera chiffrée par STARTTLS"),
    T(txt::kTlsPortChoseTls, "Port %s : la connexion sera chiffrée par TLS dès l'ouverture"),
    T(txt::kTlsEncrypted, "Connexion chiffrée établie (%s)"),
    T(txt::kTlsUnknownAuthority,
      "Refus : le certificat du serveur %s ne vient d'aucune autorité reconnue (une autorité de "
      "plus peut être placée dans le fichier QuarnelTitCA.pem du dossier de données)"),
    T(txt::kTlsExpired, "Refus : le certificat du serveur %s a expiré"),
    T(txt::kTlsWrongHost, "Refus : le certificat présenté n'est pas celui du serveur %s"),
    T(txt::kTlsFailed, "Refus : la négociation chiffrée a échoué (%s)"),
    T(txt::kTlsNotOffered, "Refus : le serveur n'offre pas %s ; rien n'est envoyé en clair"),
    T(txt::kTlsAuthorityFileBad,
      "Le fichier %s n'est pas un certificat d'autorité lisible : il n'est pas pris en compte"),
    T(txt::kSmtpAuthRefused, "Refus : authentification refusée par le transmetteur SMTP (%s)"),
    T(txt::kSmtpAuthenticated, "Authentification acceptée (%s)"),
    T(txt::kPop3AuthRefused, "Refus : authentification refusée par le serveur POP3 (%s)"),
    // ---- Connections ----
    T(txt::kNetUnknownHost, "Le serveur %s est inconnu : vérifiez son nom dans les options."),
    T(txt::kNetRefused,
      "Le serveur %s refuse la connexion : aucun service n'y répond sur ce port."),
    T(txt::kNetUnreachable, "Le serveur %s ne peut être joint (%s)."),
    T(txt::kNetConnectTimedOut, "Le serveur %s n'a pas accepté la connexion dans les %s s."),
    T(txt::kNetGreetingTimedOut, "Le serveur %s n'a pas répondu dans les %s s après la connexion."),
    T(txt::kNetTlsTimedOut, "Le serveur %s n'a pas achevé la négociation chiffrée dans les %s s."),
    T(txt::kNetCommandTimedOut, "Le serveur %s n'a pas répondu dans les %s s à la commande %s."),
    T(txt::kNetTransferIdle,
      "Le serveur %s n'a plus rien échangé depuis %s s pendant le transfert du message : la "
      "connexion est abandonnée."),
    T(txt::kNetTransferCeiling,
      "Le transfert du message avec le serveur %s dure depuis %s s, à moins de %s octets par "
      "seconde : il est interrompu."),
    T(txt::kNetClosed, "Le serveur %s a coupé la connexion pendant la commande %s."),
    T(txt::kNetClosedInTransfer,
      "Le serveur %s a coupé la connexion pendant le transfert du message."),
    T(txt::kNetEndOfDataTimedOut,
      "Le serveur %s n'a pas confirmé dans les %s s la réception du message."),
    T(txt::kNetClosedEarly, "Le serveur %s a coupé la connexion dès son ouverture."),
    // ---- Receiving ----
    // ---- Windows ----
};
}  // namespace

std::span<const TextEntry> MailTexts() {
    return kTexts;
}

}  // namespace quarnel
