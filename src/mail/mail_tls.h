// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Connection set-up shared by the SMTP and POP3 clients: whom to trust, how a
// refused handshake or a failed connection is named in the action log.

#include <QAbstractSocket>
#include <QList>
#include <QSslConfiguration>
#include <QSslError>
#include <QString>

#include <chrono>
#include <filesystem>
#include <memory>

#include "mail/server_address.h"

class QSslSocket;

namespace quarnel {

/// The one extra authority a holder may trust, a PEM file in the data folder.
inline constexpr char kExtraAuthorityFile[] = "QuarnelTitCA.pem";
/// The biggest extra authority file read, and the most certificates taken from it.
inline constexpr qint64 kMaxAuthorityFileBytes = qint64(1) << 20;
inline constexpr int kMaxExtraAuthorities = 50;

/// What the client trusts, and what went wrong reading the extra file.
struct MailTrust {
    QSslConfiguration configuration;
    /// A text of mail/texts.h to log before connecting (0: nothing to say) and its %s.
    int noteTextId = 0;
    QString noteDetail;
};

/// The system's authorities plus those of `extraFile` when it exists; the
/// peer is always verified.
[[nodiscard]] MailTrust LoadMailTrust(const std::filesystem::path& extraFile);

/// A socket ready to speak clear or TLS to `host` with that trust.
[[nodiscard]] std::unique_ptr<QSslSocket> MakeMailSocket(const MailTrust& trust,
                                                         const QString& host);

/// The refusal line (a text of mail/texts.h, %s = the host) for what the
/// handshake found; certificate faults first, in the order a holder would
/// look for them: unknown authority, expired, another host.
[[nodiscard]] int TlsRefusalTextId(const QList<QSslError>& errors);

/// The server as the action log names it: "host:port".
[[nodiscard]] QString ServerName(const MailServerAddress& address);

/// The line (a text of mail/texts.h; %s the server, then the system's
/// reason) for a connection that could not be opened: an unknown host and a
/// refused connection each have their own.
[[nodiscard]] int ConnectFailureTextId(QAbstractSocket::SocketError error);

/// Whole seconds of a time limit, as the log lines give them.
[[nodiscard]] QString Seconds(std::chrono::milliseconds limit);

}  // namespace quarnel
