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
    T(txt::kSmtpTimedOut, "Dépassement du temps imparti à l'étape %s"),
    T(txt::kSmtpServerReply, "Réponse du transmetteur SMTP : %s"),
    T(txt::kSmtpLineTooLong,
      "Le transmetteur SMTP a envoyé une ligne de plus de %s caractères : la transmission est "
      "interrompue."),
    T(txt::kSmtpAddressRefused, "L'adresse \"%s\" est refusée : le message n'est pas envoyé."),
    T(txt::kSmtpConnectionLost, "La connexion au transmetteur SMTP a été coupée à l'étape %s"),
    T(txt::kSmtpAttachmentUnreadable, "La pièce jointe %s n'a pu être lue."),
    T(txt::kSmtpReplyTooLong,
      "Le transmetteur SMTP a envoyé une réponse de plus de %s lignes : la transmission est "
      "interrompue."),
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
    // ---- Receiving ----
    // ---- Windows ----
};
}  // namespace

std::span<const TextEntry> MailTexts() {
    return kTexts;
}

}  // namespace quarnel
