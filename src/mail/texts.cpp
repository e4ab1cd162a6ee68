// French texts of the mail subsystem.

#include "mail/texts.h"

#include "resources/text_table.h"

namespace quarnel {

namespace {
constexpr TextEntry kTexts[] = {
    // ---- Sending ----
    T(txt::kSmtpCall, "Appel"),
    T(txt::kSmtpConnected, "Connexion au transmetteur SMTP"),
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
    // ---- Receiving ----
    // ---- Windows ----
};
}  // namespace

std::span<const TextEntry> MailTexts() {
    return kTexts;
}

}  // namespace quarnel
