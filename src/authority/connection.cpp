#include "authority/connection.h"

#include <algorithm>
#include <cctype>

#include "crypto/bignum.h"
#include "protocol/body.h"

namespace quarnel {
namespace {

std::string Lower(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return out;
}

std::string Trim(std::string_view s) {
    const auto b = s.find_first_not_of(" \t");
    if (b == std::string_view::npos) return {};
    const auto e = s.find_last_not_of(" \t\r");
    return std::string(s.substr(b, e - b + 1));
}

std::optional<int> Decimal(std::string_view s) {
    if (s.empty() || s.size() > 9 || !std::all_of(s.begin(), s.end(), ::isdigit)) {
        return std::nullopt;
    }
    return std::stoi(std::string(s));
}

}  // namespace

TaConnection ConfigureTaConnection(const Settings& settings) {
    TaConnection c;
    c.host = settings.taAddress;
    c.port = settings.taPortChoice == 'A' ? 50000 + int(HexToWord(settings.taCode)) : 80;
    if (settings.proxyAddress.size() >= 2) {
        c.proxyHost = settings.proxyAddress;
        c.proxyPort = Decimal(settings.proxyPort).value_or(0);
        if (c.proxyPort > 65535) c.proxyPort = 0;
    }
    return c;
}

std::string RequestData(const Lines& body) {
    std::string data;
    for (std::size_t i = 1; i < body.size(); ++i) {
        data += body[i];
        data += 'Z';
    }
    return data;
}

int ConnectedTimeoutMs(std::optional<Kind> requestKind) {
    return requestKind == Kind::Affiliation ? 120000 : 30000;
}

std::string HttpTarget::Url() const {
    return "http://" + host + (port != 80 ? ":" + std::to_string(port) : "") + path;
}

HttpTarget TargetOf(const TaConnection& c) {
    return {c.host, c.port, "/QuarnelSys/"};
}

std::optional<HttpTarget> ResolveLocation(const HttpTarget& current, std::string_view location) {
    const std::string value = Trim(location);
    if (value.empty()) return std::nullopt;
    if (value[0] == '/') return HttpTarget{current.host, current.port, value};
    if (Lower(value).rfind("http://", 0) != 0) return std::nullopt;
    const std::string rest = value.substr(7);
    const auto slash = rest.find('/');
    const std::string authority = rest.substr(0, slash);
    HttpTarget t{authority, 80, slash == std::string::npos ? "/" : rest.substr(slash)};
    const auto colon = authority.rfind(':');
    if (colon != std::string::npos) {
        const auto port = Decimal(authority.substr(colon + 1));
        if (!port || *port > 65535) return std::nullopt;
        t.host = authority.substr(0, colon);
        t.port = *port;
    }
    if (t.host.empty()) return std::nullopt;
    return t;
}

std::string HttpRequestBytes(const HttpTarget& target, bool viaProxy, std::string_view data) {
    std::string r = "POST " + (viaProxy ? target.Url() : target.path) + " HTTP/1.0\r\n";
    if (viaProxy) r += "Proxy-Connection: Keep-Alive\r\n";
    r += "Host: " + target.host + "\r\n";
    r += "Accept: www/source, text/html, video/mpeg, image/jpeg, image/x-tiff\r\n";
    r += "Accept: image/x-rgb, image/x-xbm, image/gif, */*, application/postscript\r\n";
    r += "Content-type: application/x-www-form-urlencoded\r\n";
    r += "Content-Length: " + std::to_string(data.size()) + "\r\n";
    r += "Pragma:no-cache\r\n";
    r += "Connection:keep-alive\r\n";
    r += "\r\n";
    r += data;
    return r;
}

HttpReplyReader::State HttpReplyReader::Feed(std::string_view bytes) {
    if (state_ != State::Reading) return state_;
    const std::size_t room = kMaxReplyBytes - buffer_.size();
    buffer_.append(bytes.substr(0, room));
    if (!reply_.headerComplete) ReadHeaderLines();
    if (state_ == State::Reading && reply_.headerComplete && reply_.contentLength) {
        if (*reply_.contentLength > kMaxReplyBytes - reply_.bodyStart) {
            state_ = State::ReplyTooLong;  // announced: no need to wait for it
        } else if (reply_.BodyComplete(buffer_.size())) {
            state_ = State::Complete;
        }
    }
    if (state_ == State::Reading && bytes.size() > room) state_ = State::ReplyTooLong;
    return state_;
}

void HttpReplyReader::ReadHeaderLines() {
    while (!reply_.headerComplete) {
        const std::size_t nl = buffer_.find('\n', scanned_);
        if (nl == std::string::npos) {
            scanned_ = buffer_.size();
            // One more byte may be the CR of the line end.
            if (scanned_ - lineStart_ > kMaxHeaderLineBytes + 1) state_ = State::HeaderLineTooLong;
            return;
        }
        std::string_view line(buffer_.data() + lineStart_, nl - lineStart_);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.size() > kMaxHeaderLineBytes) {
            state_ = State::HeaderLineTooLong;
            return;
        }
        lineStart_ = scanned_ = nl + 1;
        TakeHeaderLine(line);
    }
}

void HttpReplyReader::TakeHeaderLine(std::string_view line) {
    HttpReply& r = reply_;
    if (!statusRead_) {
        statusRead_ = true;
        r.statusLine = std::string(line);
        const auto sp = line.find(' ');
        if (sp != std::string_view::npos) {
            const auto end = line.find(' ', sp + 1);
            r.status =
                Decimal(line.substr(sp + 1, end == std::string_view::npos ? std::string_view::npos
                                                                          : end - sp - 1))
                    .value_or(0);
        }
        return;
    }
    if (line.empty()) {
        r.headerComplete = true;
        r.bodyStart = lineStart_;
        return;
    }
    const auto colon = line.find(':');
    if (colon == std::string_view::npos) return;
    const std::string name = Lower(Trim(line.substr(0, colon)));
    if (name == "content-length") {
        if (const auto n = Decimal(Trim(line.substr(colon + 1)))) r.contentLength = *n;
    } else if (name == "location") {
        r.location = Trim(line.substr(colon + 1));
    }
}

std::string_view HttpReplyReader::Body() const {
    if (!reply_.headerComplete) return {};
    std::string_view body(buffer_);
    body.remove_prefix(reply_.bodyStart);
    if (reply_.contentLength && body.size() > *reply_.contentLength) {
        body = body.substr(0, *reply_.contentLength);
    }
    return body;
}

HttpReply ParseHttpReply(std::string_view bytes) {
    HttpReplyReader reader;
    (void)reader.Feed(bytes);
    return reader.reply();
}

std::string StatusDetail(const std::string& statusLine) {
    return statusLine.size() > 8 ? statusLine.substr(8) : std::string();
}

bool ReplyCanBeAccepted(const Lines& replyLines) {
    return !replyLines.empty() && replyLines.back() == kEndMarkerLine;
}

}  // namespace quarnel
