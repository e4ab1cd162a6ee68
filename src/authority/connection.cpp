// SPDX-License-Identifier: GPL-3.0-or-later
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
    if (!reply_.headerComplete) {
        ReadHeaderLines();
        if (state_ == State::Reading && reply_.headerComplete) Frame();
    }
    if (state_ == State::Reading && reply_.headerComplete) {
        if (reply_.chunked) {
            ReadChunks();
        } else if (reply_.contentLength &&
                   buffer_.size() - reply_.bodyStart >= *reply_.contentLength) {
            state_ = State::Complete;
        }
    }
    if (state_ == State::Reading && bytes.size() > room) state_ = State::ReplyTooLong;
    return state_;
}

HttpReplyReader::State HttpReplyReader::Close() {
    if (state_ == State::Reading) {
        // Without a length or chunks, the end of the connection is the end
        // of the reply; otherwise it came too early.
        const bool closeEnds = reply_.headerComplete && !reply_.chunked && !reply_.contentLength;
        state_ = closeEnds ? State::Complete : State::Incomplete;
    }
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
        if (r.status >= 100 && r.status < 200) {
            // An interim reply (100 Continue): the final one follows.
            r = HttpReply();
            statusRead_ = false;
            badLength_ = false;
            return;
        }
        r.headerComplete = true;
        r.bodyStart = lineStart_;
        return;
    }
    const auto colon = line.find(':');
    if (colon == std::string_view::npos) return;
    const std::string name = Lower(Trim(line.substr(0, colon)));
    const std::string value = Trim(line.substr(colon + 1));
    if (name == "content-length") {
        const bool digits = !value.empty() && value.size() <= 18 &&
                            std::all_of(value.begin(), value.end(),
                                        [](unsigned char c) { return std::isdigit(c); });
        // A length that cannot be read, or two that disagree, leaves the
        // body's end unknown.
        if (!digits) {
            badLength_ = true;
        } else {
            const std::size_t n = std::stoull(value);
            if (r.contentLength && *r.contentLength != n) badLength_ = true;
            r.contentLength = n;
        }
    } else if (name == "transfer-encoding") {
        r.transferEncoding += (r.transferEncoding.empty() ? "" : ", ") + value;
    } else if (name == "location") {
        r.location = value;
    }
}

void HttpReplyReader::Frame() {
    HttpReply& r = reply_;
    if (!r.transferEncoding.empty()) {
        // It overrides Content-Length; of its codings only chunked is read.
        std::string codings = Lower(r.transferEncoding);
        std::erase_if(codings, [](char c) { return c == ' ' || c == '\t'; });
        if (codings == "chunked") {
            r.chunked = true;
            pos_ = scanned_ = r.bodyStart;
        } else {
            state_ = State::UnsupportedEncoding;
        }
    } else if (badLength_) {
        state_ = State::BadFraming;
    } else if (r.status == 204 || r.status == 304) {
        state_ = State::Complete;  // never a body
    } else if (r.contentLength && *r.contentLength > kMaxReplyBytes - r.bodyStart) {
        state_ = State::ReplyTooLong;  // announced: no need to wait for it
    }
    // Refused at its header: none of its body is read, however it came.
    if (state_ != State::Reading) buffer_.resize(r.bodyStart);
}

std::optional<std::string_view> HttpReplyReader::NextLine() {
    const std::size_t nl = buffer_.find('\n', std::max(scanned_, pos_));
    if (nl == std::string::npos) {
        scanned_ = buffer_.size();
        if (scanned_ - pos_ > kMaxHeaderLineBytes + 1) state_ = State::HeaderLineTooLong;
        return std::nullopt;
    }
    std::string_view line(buffer_.data() + pos_, nl - pos_);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.size() > kMaxHeaderLineBytes) {
        state_ = State::HeaderLineTooLong;
        return std::nullopt;
    }
    pos_ = scanned_ = nl + 1;
    return line;
}

void HttpReplyReader::ReadChunks() {
    while (state_ == State::Reading) {
        if (chunk_ == Chunk::Data) {
            const std::size_t n = std::min(chunkLeft_, buffer_.size() - pos_);
            if (n == 0) return;
            chunks_.append(buffer_, pos_, n);
            pos_ += n;
            chunkLeft_ -= n;
            if (chunkLeft_ == 0) chunk_ = Chunk::DataEnd;
            continue;
        }
        const auto line = NextLine();
        if (!line) return;
        if (chunk_ == Chunk::DataEnd) {
            if (!line->empty()) state_ = State::BadFraming;
            chunk_ = Chunk::Size;
        } else if (chunk_ == Chunk::Trailer) {
            if (line->empty()) state_ = State::Complete;  // trailer fields are not used
        } else {
            // The size in hexadecimal, then perhaps ";" and extensions.
            const std::string size = Trim(line->substr(0, line->find(';')));
            if (size.empty() || size.size() > 8 ||
                !std::all_of(size.begin(), size.end(),
                             [](unsigned char c) { return std::isxdigit(c); })) {
                state_ = State::BadFraming;
                return;
            }
            chunkLeft_ = std::stoul(size, nullptr, 16);
            if (chunkLeft_ > kMaxReplyBytes - chunks_.size()) {
                state_ = State::ReplyTooLong;
            } else {
                chunk_ = chunkLeft_ == 0 ? Chunk::Trailer : Chunk::Data;
            }
        }
    }
}

std::string_view HttpReplyReader::Body() const {
    if (!reply_.headerComplete) return {};
    if (reply_.chunked) return chunks_;
    std::string_view body(buffer_);
    body.remove_prefix(reply_.bodyStart);
    if (reply_.contentLength && body.size() > *reply_.contentLength) {
        body = body.substr(0, *reply_.contentLength);
    }
    return body;
}

std::string_view HttpReplyReader::Arrived() const {
    return reply_.headerComplete ? Body() : std::string_view(buffer_);
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
