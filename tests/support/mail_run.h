// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A mail client session run to its end on the test's event loop,
// with everything it said: its log (text ids and French lines), the bytes
// handed over, and how it ended.

#include <QCoreApplication>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "event_loop.h"
#include "mail/mail_limits.h"
#include "mail/smtp_client.h"

namespace quarnel::test {

struct MailRun {
    std::vector<int> log;
    std::vector<std::string> lines;  ///< the log as the window shows it
    SessionResult result;
    int finishedCount = 0;
    qint64 progressDone = 0;

    [[nodiscard]] bool Has(const std::string& line) const {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }
    [[nodiscard]] bool Mentions(const std::string& text) const {
        return std::any_of(lines.begin(), lines.end(),
                           [&](const std::string& l) { return l.find(text) != l.npos; });
    }
    [[nodiscard]] std::string All() const {
        std::string out;
        for (const auto& l : lines)
            out += l + '\n';
        return out;
    }
};

/// Runs `job`; with `account`, authenticates with `password`; `trust` is the
/// holder's extra authority file.
inline MailRun RunSmtp(SmtpJob job, MailLimits limits = {}, const std::string& account = {},
                       const std::string& password = {}, const std::filesystem::path& trust = {}) {
    SmtpClient client(nullptr, limits);
    if (!account.empty()) client.SetCredentials(account, SecretString(password));
    client.SetExtraAuthorities(trust);
    MailRun run;
    QObject::connect(&client, &SmtpClient::logged, [&](int id, const QString& detail) {
        run.log.push_back(id);
        run.lines.push_back(FrenchLogLine(id, detail).toStdString());
    });
    QObject::connect(&client, &SmtpClient::progress,
                     [&](qint64 done, qint64) { run.progressDone = done; });
    QObject::connect(&client, &SmtpClient::finished, [&](const SessionResult& r) {
        run.result = r;
        ++run.finishedCount;
    });
    client.Start(std::move(job));
    EXPECT_TRUE(RunUntil([&] { return run.finishedCount > 0; }, 20000)) << run.All();
    QCoreApplication::processEvents();  // a second finished would show here
    return run;
}

}  // namespace quarnel::test
