// SPDX-License-Identifier: GPL-3.0-or-later
// POP3 replies as the client cuts them: status lines, and after a "+OK" to
// the command the first byte names (STAT, LIST or RETR) the numbers it reads
// or the multi-line answer up to ".". The rest of the first byte gives the
// size of the pieces the bytes arrive in.

#include <QByteArray>

#include <cstdint>
#include <cstdlib>

#include "mail/mail_replies.h"
#include "mail/pop3_client.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quarnel;
    if (size == 0) return 0;
    const int command = data[0] % 3;  // 0 STAT, 1 LIST, 2 RETR
    const qsizetype piece = qsizetype(data[0] / 3) * 8 + 1;
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    Pop3LineReader reader;
    bool multiLine = false;
    std::size_t body = 0;
    for (qsizetype at = 0; at < bytes.size(); at += piece) {
        reader.Append(bytes.mid(at, piece));
        for (;;) {
            QByteArray line;
            const auto result = reader.Next(multiLine ? kMaxPop3Line : kMaxReplyLine, line);
            if (result == Pop3LineReader::Result::More) break;
            if (result != Pop3LineReader::Result::Line) return 0;
            if (multiLine) {
                if (line == ".") {
                    multiLine = false;
                    body = 0;
                    continue;
                }
                body += std::size_t(line.size()) + 2;
                if (body > std::size_t(kMaxPop3Message)) return 0;
                continue;
            }
            const auto verdict = Pop3Verdict(line);
            if (!verdict) return 0;
            if (!*verdict) continue;
            if (command == 2) {
                multiLine = true;
            } else {
                (void)ParsePop3Numbers(line);
            }
        }
    }
    return 0;
}
