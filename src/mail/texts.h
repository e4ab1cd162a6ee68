// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Resource numbers of the mail subsystem's texts (French in mail/texts.cpp).
// Sub-ranges: 75000-75199 sending, 75200-75399 receiving, 75400-75599 windows.

#include "resources/texts.h"

namespace quarnel {
QUARNEL_TEXT_TABLE(MailTexts);
}  // namespace quarnel

namespace quarnel::txt {

// ---- Sending (SMTP client) ----
inline constexpr int kSmtpCall = 75000;            // "Appel"
inline constexpr int kSmtpConnected = 75001;       // "Connexion au transmetteur SMTP"
inline constexpr int kSmtpTransmitting = 75002;    // "Transmission du message chiffré en cours"
inline constexpr int kSmtpSent = 75003;            // "Message bien transmis"
inline constexpr int kSmtpTransferFailed = 75004;  // "Echec de la transmission du message chiffré"
inline constexpr int kSmtpConnectFailed = 75005;   // "Echec de la connexion au transmetteur SMTP"
inline constexpr int kSmtpDisconnected = 75006;    // "Déconnexion du transmetteur SMTP"
inline constexpr int kSmtpServerReply = 75008;     // the relay's refusal
inline constexpr int kSmtpLineTooLong = 75009;     // the limit
inline constexpr int kSmtpAddressRefused = 75010;  // address
inline constexpr int kSmtpAttachmentUnreadable = 75012;  // file
inline constexpr int kSmtpReplyTooLong = 75013;          // the limit
inline constexpr int kSmtpNo8BitMime = 75014;            // the relay does not announce 8BITMIME
inline constexpr int kSmtpCancelled = 75015;             // Annuler during the dialogue

// ---- TLS and authentication (both clients; %s is the host unless said) ----
inline constexpr int kTlsPortChoseStartTls = 75100;  // the port
inline constexpr int kTlsPortChoseTls = 75101;       // the port
inline constexpr int kTlsEncrypted = 75102;          // the protocol
inline constexpr int kTlsUnknownAuthority = 75103;
inline constexpr int kTlsExpired = 75104;
inline constexpr int kTlsWrongHost = 75105;
inline constexpr int kTlsFailed = 75106;            // the reason
inline constexpr int kTlsNotOffered = 75107;        // STARTTLS or STLS
inline constexpr int kTlsAuthorityFileBad = 75108;  // the file name
inline constexpr int kSmtpAuthRefused = 75110;      // the relay's reply
inline constexpr int kSmtpAuthenticated = 75111;    // the mechanism
inline constexpr int kPop3AuthRefused = 75112;      // the server's reply

// ---- Connections (both clients; the first %s is the server "host:port") ----
inline constexpr int kNetUnknownHost = 75120;
inline constexpr int kNetRefused = 75121;
inline constexpr int kNetUnreachable = 75122;        // server, the system's reason
inline constexpr int kNetConnectTimedOut = 75123;    // server, seconds
inline constexpr int kNetGreetingTimedOut = 75124;   // server, seconds
inline constexpr int kNetTlsTimedOut = 75125;        // server, seconds
inline constexpr int kNetCommandTimedOut = 75126;    // server, seconds, command
inline constexpr int kNetTransferIdle = 75127;       // server, seconds
inline constexpr int kNetTransferCeiling = 75128;    // server, seconds, bytes per second
inline constexpr int kNetClosed = 75129;             // server, command
inline constexpr int kNetClosedInTransfer = 75130;   // server
inline constexpr int kNetEndOfDataTimedOut = 75131;  // server, seconds
inline constexpr int kNetClosedEarly = 75132;        // server

// ---- Receiving (POP3 client, sorting) ----

// ---- Windows ----

}  // namespace quarnel::txt
