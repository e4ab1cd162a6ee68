// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The wire of the exchange with the TA, without sockets: where to connect,
// the request data and bytes, and the reading of the reply.

#include <optional>
#include <string>
#include <string_view>

#include "crypto/text_cipher.h"
#include "holder/holder_context.h"
#include "protocol/kinds.h"

namespace quarnel {

struct TaConnection {
    std::string host;       ///< TaAddress
    int port = 80;          ///< 50000 + TA code (choice A) or 80
    std::string proxyHost;  ///< empty: no proxy
    int proxyPort = 0;
    int replyTimeoutMs = 120000;
};

/// From the settings: port 50000 + TaCode (hexadecimal) for choice A, else
/// 80; the proxy when ProxyAddress has at least 2 characters (its port in
/// decimal); reply time-out 120000 ms.
TaConnection ConfigureTaConnection(const Settings& settings);

/// Every body line from the separator line on, each followed by "Z"; the
/// title line is not sent.
std::string RequestData(const Lines& body);

/// Deadline of the exchange from its first connection: 120000 ms for an
/// affiliation request (kind 00), 30000 ms for the others.
int ConnectedTimeoutMs(std::optional<Kind> requestKind);

/// Where a request goes: host, port and the request target.
struct HttpTarget {
    std::string host;
    int port = 80;
    std::string path = "/QuarnelSys/";
    std::string Url() const;
};
HttpTarget TargetOf(const TaConnection& c);

/// A LOCATION value resolved against the current target ("http://h[:p]/x"
/// or "/x"); nothing when it cannot be followed.
std::optional<HttpTarget> ResolveLocation(const HttpTarget& current, std::string_view location);

/// The request bytes: request line (the path directly, the whole URL through a
/// proxy), headers, "Pragma:no-cache" and "Connection:keep-alive", an empty
/// line and the data.
std::string HttpRequestBytes(const HttpTarget& target, bool viaProxy, std::string_view data);

/// The reply read so far.
struct HttpReply {
    bool headerComplete = false;
    std::string statusLine;
    int status = 0;  ///< 0 when the status line has no numeric second word
    std::optional<std::size_t> contentLength;
    bool chunked = false;          ///< Transfer-Encoding: chunked (it overrides Content-Length)
    std::string transferEncoding;  ///< the Transfer-Encoding value as sent
    std::string location;
    std::size_t bodyStart = 0;
};

/// Reads a reply as it arrives, each byte looked at once: interim (1xx)
/// replies skipped, the header lines up to the empty line, then the body,
/// framed by Content-Length, by chunks, or by the end of the connection. What
/// the server sends is bounded.
class HttpReplyReader {
  public:
    /// The whole reply: status line, header lines and body.
    static constexpr std::size_t kMaxReplyBytes = std::size_t(1) << 20;
    /// One header line, chunk-size line or trailer line, without its line end.
    static constexpr std::size_t kMaxHeaderLineBytes = std::size_t(8) << 10;

    enum class State {
        Reading,
        Complete,
        ReplyTooLong,
        HeaderLineTooLong,
        BadFraming,           ///< Content-Length unreadable or twice with two values, bad chunks
        UnsupportedEncoding,  ///< a Transfer-Encoding other than chunked
        Incomplete,           ///< closed before the announced end
    };

    /// Takes the next bytes. Complete when the body reached Content-Length or
    /// its last chunk; once no longer Reading, further bytes are ignored.
    [[nodiscard]] State Feed(std::string_view bytes);
    /// The connection ended: a reply without length or chunks is complete; one
    /// that announced more is Incomplete (so is one whose header never ended).
    [[nodiscard]] State Close();
    [[nodiscard]] State state() const { return state_; }
    [[nodiscard]] const HttpReply& reply() const { return reply_; }
    /// Bytes received, interim replies and header included.
    [[nodiscard]] std::size_t received() const { return buffer_.size(); }
    /// The body read so far (chunks decoded, cut at Content-Length); empty
    /// before the header ends.
    [[nodiscard]] std::string_view Body() const;
    /// What arrived, for the person to see: the body once the header ended,
    /// else every byte received.
    [[nodiscard]] std::string_view Arrived() const;

  private:
    void ReadHeaderLines();
    void TakeHeaderLine(std::string_view line);
    void Frame();
    void ReadChunks();
    /// The next line from `pos_`, without its line end; nothing while it has
    /// not ended (HeaderLineTooLong past the limit).
    std::optional<std::string_view> NextLine();

    enum class Chunk { Size, Data, DataEnd, Trailer };

    HttpReply reply_;
    std::string buffer_;
    std::string chunks_;         ///< the decoded body of a chunked reply
    std::size_t lineStart_ = 0;  ///< the header line being read
    std::size_t scanned_ = 0;    ///< searched for a line end up to here
    std::size_t pos_ = 0;        ///< chunked: the next byte to decode
    std::size_t chunkLeft_ = 0;
    Chunk chunk_ = Chunk::Size;
    bool statusRead_ = false;
    bool badLength_ = false;
    State state_ = State::Reading;
};

/// The reply in `bytes` (at most HttpReplyReader::kMaxReplyBytes are read).
HttpReply ParseHttpReply(std::string_view bytes);

/// The status line from its 9th character on (the "Erreur n°%s" detail).
std::string StatusDetail(const std::string& statusLine);

/// A reply can be accepted when it has lines and the last is the end marker.
bool ReplyCanBeAccepted(const Lines& replyLines);

}  // namespace quarnel
