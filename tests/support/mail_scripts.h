// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The usual parts of scripted POP3 sessions: a log-in, a mail's answer and
// its fetch as the retrieval asks for it.

#include <string>

#include "scripted_server.h"

namespace quarnel::test::pop3 {

/// The greeting, USER and PASS accepted, STAT and UIDL answered.
inline Script LogIn(const std::string& user, const std::string& password, const std::string& stat,
                    const std::string& uidl = "-ERR\r\n", const std::string& greeting = "+OK\r\n") {
    return {step::Send(greeting),  step::ExpectLine("USER " + user),
            step::Send("+OK\r\n"), step::ExpectLine("PASS " + password),
            step::Send("+OK\r\n"), step::ExpectLine("STAT"),
            step::Send(stat),      step::ExpectLine("UIDL"),
            step::Send(uidl)};
}

/// A multi-line answer holding `text` (CR LF lines), dot-stuffed.
inline std::string Answer(const std::string& text) {
    std::string out = "+OK\r\n";
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(start, end - start);
        out += (line.rfind('.', 0) == 0 ? "." : "") + line + "\r\n";
        start = end + 2;
    }
    return out + ".\r\n";
}

/// TOP n 0 answered with the headers of `mail` (all of it without a CR LF
/// blank line); unless `headersOnly`, then LIST n and RETR n of the mail.
inline void Fetch(Script& s, int n, const std::string& mail, bool headersOnly = false) {
    const std::string i = std::to_string(n);
    const std::size_t blank = mail.find("\r\n\r\n");
    s.insert(s.end(),
             {step::ExpectLine("TOP " + i + " 0"),
              step::Send(Answer(blank == std::string::npos ? mail : mail.substr(0, blank + 2)))});
    if (headersOnly) return;
    s.insert(s.end(), {step::ExpectLine("LIST " + i),
                       step::Send("+OK " + i + " " + std::to_string(mail.size()) + "\r\n"),
                       step::ExpectLine("RETR " + i), step::Send(Answer(mail))});
}

/// `s` with `more` after it.
inline Script Then(Script s, std::initializer_list<Step> more) {
    s.insert(s.end(), more);
    return s;
}

}  // namespace quarnel::test::pop3
