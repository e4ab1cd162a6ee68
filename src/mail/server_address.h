// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A mail server setting: "host", "host:port" or "scheme://host[:port]", with
// the security the connection takes. Plain C++, no Qt: it is a text format.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quarnel {

enum class MailProtocol { Smtp, Pop3 };

/// How the connection is protected.
enum class MailSecurity {
    Clear,     ///< no encryption (smtp://, pop3://, or no scheme on the usual port)
    StartTls,  ///< clear greeting, then STARTTLS (SMTP) or STLS (POP3) before anything else
    Tls,       ///< TLS from the first byte (smtps://, pop3s://)
};

struct MailServerAddress {
    std::string host;
    std::uint16_t port = 0;
    MailSecurity security = MailSecurity::Clear;
    /// No scheme was typed and the port alone chose the security (587, 465, 995).
    bool securityFromPort = false;
};

/// The longest server setting taken (a host name is at most 253 characters).
inline constexpr std::size_t kMaxServerAddressLength = 300;

/// Reads a server setting for `protocol`. Without a scheme: port 25 (SMTP) or
/// 110 (POP3) by default and clear, except on 587 (SMTP, STARTTLS), 465 (SMTP, TLS)
/// and 995 (POP3, TLS). With a scheme the scheme decides, and its default
/// port is 25/587/465 (smtp, smtp+starttls, smtps) or 110/110/995 (pop3,
/// pop3+stls, pop3s). Nothing when the text is not an address for that
/// protocol (another protocol's scheme, a bad port, a blank in the host).
[[nodiscard]] std::optional<MailServerAddress> ParseMailServer(std::string_view text,
                                                               MailProtocol protocol);

}  // namespace quarnel
