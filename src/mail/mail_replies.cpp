// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/mail_replies.h"

#include <QList>

#include <cctype>

namespace quarnel {

std::optional<SmtpReply> SmtpReplyReader::Next() {
    while (fault_ == Fault::None) {
        const std::size_t lf = inbox_.find('\n');
        if (lf == std::string::npos) {
            if (inbox_.size() > kMaxReplyLine) fault_ = Fault::LineTooLong;
            return std::nullopt;
        }
        if (lf + 1 > kMaxReplyLine) {
            fault_ = Fault::LineTooLong;
            return std::nullopt;
        }
        std::string line = inbox_.substr(0, lf);
        inbox_.erase(0, lf + 1);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (++lines_ > kMaxReplyLines) {
            fault_ = Fault::TooManyLines;
            return std::nullopt;
        }
        if (!text_.empty()) text_ += '\n';
        text_ += line;
        const bool shaped = line.size() >= 3 && std::isdigit((unsigned char)line[0]) &&
                            std::isdigit((unsigned char)line[1]) &&
                            std::isdigit((unsigned char)line[2]);
        if (shaped && line.size() > 3 && line[3] == '-') continue;  // more lines follow
        SmtpReply reply;
        reply.code = shaped ? (line[0] - '0') * 100 + (line[1] - '0') * 10 + (line[2] - '0') : 0;
        reply.text.swap(text_);
        lines_ = 0;
        return reply;
    }
    return std::nullopt;
}

void SmtpReplyReader::Clear() {
    inbox_.clear();
    text_.clear();
    lines_ = 0;
    fault_ = Fault::None;
}

Pop3LineReader::Result Pop3LineReader::Next(std::size_t limit, QByteArray& line, bool bareLf) {
    if (discarding_) {
        const qsizetype end = pending_.indexOf('\n', from_);
        if (end < 0) {
            pending_.clear();
            from_ = 0;
            return Result::More;
        }
        from_ = end + 1;
        discarding_ = false;
    }
    const qsizetype lf = pending_.indexOf('\n', from_);
    if (lf < 0) {
        if (std::size_t(pending_.size() - from_) > limit) return Result::TooLong;
        pending_.remove(0, from_);
        from_ = 0;
        return Result::More;
    }
    if (std::size_t(lf + 1 - from_) > limit) return Result::TooLong;
    const bool crlf = lf > from_ && pending_[lf - 1] == '\r';
    if (!crlf && !bareLf) return Result::NoCrLf;
    line = pending_.mid(from_, lf - (crlf ? 1 : 0) - from_);
    from_ = lf + 1;
    return Result::Line;
}

void Pop3LineReader::Clear() {
    pending_.clear();
    from_ = 0;
    discarding_ = false;
}

std::optional<bool> Pop3Verdict(const QByteArray& line) {
    if (line.startsWith("+OK")) return true;
    if (line.startsWith("-ERR")) return false;
    return std::nullopt;
}

Pop3Numbers ParsePop3Numbers(const QByteArray& line) {
    const QList<QByteArray> parts = line.mid(4).trimmed().split(' ');
    Pop3Numbers n;
    bool ok = false;
    const qint64 first = parts.value(0).toLongLong(&ok);
    if (ok) n.first = first;
    const qint64 second = parts.value(1).toLongLong(&ok);
    if (ok) n.second = second;
    return n;
}

}  // namespace quarnel
