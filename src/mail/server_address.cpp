// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/server_address.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace quarnel {

namespace {

struct Scheme {
    std::string_view name;
    MailProtocol protocol;
    MailSecurity security;
    std::uint16_t port;
};

constexpr std::array<Scheme, 6> kSchemes{{
    {"smtp", MailProtocol::Smtp, MailSecurity::Clear, 25},
    {"smtp+starttls", MailProtocol::Smtp, MailSecurity::StartTls, 587},
    {"smtps", MailProtocol::Smtp, MailSecurity::Tls, 465},
    {"pop3", MailProtocol::Pop3, MailSecurity::Clear, 110},
    {"pop3+stls", MailProtocol::Pop3, MailSecurity::StartTls, 110},
    {"pop3s", MailProtocol::Pop3, MailSecurity::Tls, 995},
}};

std::string_view Trimmed(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front())))
        s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back())))
        s.remove_suffix(1);
    return s;
}

bool SameLetters(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == y;
           });
}

std::optional<std::uint16_t> Port(std::string_view digits) {
    if (digits.empty() || digits.size() > 5) return std::nullopt;
    unsigned value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + unsigned(c - '0');
    }
    if (value == 0 || value > 65535) return std::nullopt;
    return std::uint16_t(value);
}

}  // namespace

std::optional<MailServerAddress> ParseMailServer(std::string_view text, MailProtocol protocol) {
    text = Trimmed(text);
    if (text.empty() || text.size() > kMaxServerAddressLength) return std::nullopt;
    MailServerAddress out;
    const Scheme* scheme = nullptr;
    if (const auto sep = text.find("://"); sep != std::string_view::npos) {
        const std::string_view name = text.substr(0, sep);
        for (const Scheme& s : kSchemes) {
            if (SameLetters(name, s.name)) scheme = &s;
        }
        if (!scheme || scheme->protocol != protocol) return std::nullopt;
        text = text.substr(sep + 3);
        if (!text.empty() && text.back() == '/') text.remove_suffix(1);
        if (text.find('/') != std::string_view::npos) return std::nullopt;
    }

    std::string_view host = text;
    std::optional<std::uint16_t> port;
    if (text.starts_with('[')) {  // [v6 address]:port
        const auto close = text.find(']');
        if (close == std::string_view::npos) return std::nullopt;
        host = text.substr(1, close - 1);
        const std::string_view rest = text.substr(close + 1);
        if (!rest.empty()) {
            if (rest.front() != ':' || !(port = Port(rest.substr(1)))) return std::nullopt;
        }
    } else if (std::count(text.begin(), text.end(), ':') == 1) {
        const auto colon = text.find(':');
        host = text.substr(0, colon);
        if (!(port = Port(text.substr(colon + 1)))) return std::nullopt;
    }
    // A bare IPv6 address keeps its colons and takes the default port.
    if (host.empty() || host.size() > 253) return std::nullopt;
    for (const char c : host) {
        const auto u = static_cast<unsigned char>(c);
        if (u <= 0x20 || u == 0x7f || c == '/' || c == '@' || c == '[' || c == ']') {
            return std::nullopt;
        }
    }
    out.host = std::string(host);

    if (scheme) {
        out.security = scheme->security;
        out.port = port.value_or(scheme->port);
        return out;
    }
    out.port = port.value_or(protocol == MailProtocol::Smtp ? 25 : 110);
    if (out.port == 587 && protocol == MailProtocol::Smtp) {
        out.security = MailSecurity::StartTls;
    } else if ((out.port == 465 && protocol == MailProtocol::Smtp) ||
               (out.port == 995 && protocol == MailProtocol::Pop3)) {
        out.security = MailSecurity::Tls;
    }
    out.securityFromPort = out.security != MailSecurity::Clear;
    return out;
}

}  // namespace quarnel
