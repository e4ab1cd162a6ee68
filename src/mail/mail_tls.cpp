// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/mail_tls.h"

#include <QFile>
#include <QSslCertificate>
#include <QSslSocket>

#include <algorithm>

#include "mail/texts.h"

namespace quarnel {

MailTrust LoadMailTrust(const std::filesystem::path& extraFile) {
    MailTrust trust;
    trust.configuration = QSslConfiguration::defaultConfiguration();
    trust.configuration.setPeerVerifyMode(QSslSocket::VerifyPeer);
    trust.configuration.setProtocol(QSsl::TlsV1_2OrLater);
    std::error_code ec;
    if (extraFile.empty() || !std::filesystem::exists(extraFile, ec)) return trust;
    const QString name = QString::fromStdString(extraFile.filename().string());
    QFile file(QString::fromStdString(extraFile.string()));
    if (file.size() > kMaxAuthorityFileBytes || !file.open(QIODevice::ReadOnly)) {
        trust.noteTextId = txt::kTlsAuthorityFileBad;
        trust.noteDetail = name;
        return trust;
    }
    QList<QSslCertificate> extra = QSslCertificate::fromData(file.read(kMaxAuthorityFileBytes));
    if (extra.isEmpty() || extra.size() > kMaxExtraAuthorities ||
        std::any_of(extra.begin(), extra.end(),
                    [](const QSslCertificate& c) { return c.isNull(); })) {
        trust.noteTextId = txt::kTlsAuthorityFileBad;
        trust.noteDetail = name;
        return trust;
    }
    QList<QSslCertificate> all = trust.configuration.caCertificates();
    all += extra;
    trust.configuration.setCaCertificates(all);
    return trust;
}

std::unique_ptr<QSslSocket> MakeMailSocket(const MailTrust& trust, const QString& host) {
    auto socket = std::make_unique<QSslSocket>();
    socket->setSslConfiguration(trust.configuration);
    socket->setPeerVerifyName(host);
    return socket;
}

int TlsRefusalTextId(const QList<QSslError>& errors) {
    const auto has = [&](std::initializer_list<QSslError::SslError> kinds) {
        return std::any_of(errors.begin(), errors.end(), [&](const QSslError& e) {
            return std::find(kinds.begin(), kinds.end(), e.error()) != kinds.end();
        });
    };
    if (has({QSslError::UnableToGetLocalIssuerCertificate, QSslError::UnableToGetIssuerCertificate,
             QSslError::SelfSignedCertificate, QSslError::SelfSignedCertificateInChain,
             QSslError::UnableToVerifyFirstCertificate, QSslError::CertificateUntrusted})) {
        return txt::kTlsUnknownAuthority;
    }
    if (has({QSslError::CertificateExpired, QSslError::CertificateNotYetValid})) {
        return txt::kTlsExpired;
    }
    if (has({QSslError::HostNameMismatch})) return txt::kTlsWrongHost;
    return txt::kTlsFailed;
}

QString ServerName(const MailServerAddress& address) {
    const QString host = QString::fromStdString(address.host);
    return (host.contains(':') ? '[' + host + ']' : host) + ':' + QString::number(address.port);
}

int ConnectFailureTextId(QAbstractSocket::SocketError error) {
    switch (error) {
        case QAbstractSocket::HostNotFoundError:
            return txt::kNetUnknownHost;
        case QAbstractSocket::ConnectionRefusedError:
            return txt::kNetRefused;
        default:
            return txt::kNetUnreachable;
    }
}

QString Seconds(std::chrono::milliseconds limit) {
    return QString::number((limit.count() + 999) / 1000);
}

}  // namespace quarnel
