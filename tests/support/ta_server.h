// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A real quarnel-ta for the tests: initialised with a fresh code whose port
// (50000 + code) is free, served by the built executable, stopped (and never
// left behind, even when the test process dies) by the test itself; the
// connection window's exchange with it, without the window; and what every
// test with an event loop needs: a QCoreApplication (registered by including
// this header), a loop that runs until a condition holds, a free TA port.
// With QUARNEL_TA_DB_DIR (a cluster of tests/ta/pg_cluster.sh) the authority
// keeps its affiliates in a fresh PostgreSQL database of that cluster, and
// further instances can share it.

#include <gtest/gtest.h>
#include <sys/prctl.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTcpServer>
#include <QUrl>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "app/program_data.h"
#include "authority/exchange.h"
#include "authority/flows.h"
#include "authority/replies.h"
#include "authority/texts.h"
#include "crypto/bignum.h"
#include "event_loop.h"
#include "holder/settings.h"
#include "temp_dir.h"

namespace quarnel::test {

/// A TA code (three hexadecimal digits) whose port `listen` could take;
/// empty when 50 random tries could not.
inline std::string FreeTaCode(const std::function<bool(quint16 port)>& listen) {
    std::mt19937 g(std::random_device{}());
    for (int i = 0; i < 50; ++i) {
        const Word c = Word(0x100 + g() % 0xE00);
        if (listen(quint16(50000 + c))) return WordToHex(c).substr(5);
    }
    return {};
}

/// The test cluster's admin address and password; empty without one.
struct PgCluster {
    std::string url, password;
};
inline PgCluster TestCluster() {
    const char* dir = std::getenv("QUARNEL_TA_DB_DIR");
    PgCluster c;
    if (!dir || !*dir) return c;
    std::ifstream(std::filesystem::path(dir) / "url") >> c.url;
    std::ifstream(std::filesystem::path(dir) / "password") >> c.password;
    return c;
}

/// A new database `name` in `cluster`; its address, or empty.
inline std::string NewDatabase(const PgCluster& cluster, const std::string& name) {
    QUrl u(QString::fromStdString(cluster.url));
    QProcess p;
    auto env = QProcessEnvironment::systemEnvironment();
    env.insert("PGPASSWORD", QString::fromStdString(cluster.password));
    p.setProcessEnvironment(env);
    p.start(qEnvironmentVariable("QUARNEL_PG_BIN", "/usr/lib/postgresql/15/bin") + "/createdb",
            {"-h", u.host(), "-p", QString::number(u.port()), "-U", u.userName(),
             QString::fromStdString(name)});
    if (!p.waitForFinished(20000) || p.exitCode() != 0) {
        ADD_FAILURE() << "createdb: " << p.readAllStandardError().toStdString();
        return {};
    }
    u.setPath("/" + QString::fromStdString(name));
    return u.toString().toStdString();
}

class TaServer {
  public:
    /// `serveArgs`: further arguments of `quarnel-ta serve` (its limits).
    explicit TaServer(QStringList serveArgs = {})
        : serveArgs_(std::move(serveArgs)), code_(FreeTaCode([](quint16 port) {
              QTcpServer probe;
              return probe.listen(QHostAddress::LocalHost, port);
          })) {
        QProcess init;
        init.start(Executable(), {"init", "--code", QString::fromStdString(code_), "--dir",
                                  QString::fromStdString(dir_.path().string())});
        init.waitForFinished(10000);
        const PgCluster cluster = TestCluster();
        if (!cluster.url.empty()) {
            password_ = cluster.password;
            database_ =
                NewDatabase(cluster, "ta_" + code_ + "_" + std::to_string(std::random_device{}()));
            if (database_.empty()) return;
        }
        ok_ = init.exitCode() == 0 && Start();
    }
    ~TaServer() {
        Stop();
        for (auto& e : extra_)
            if (e->process) Halt(*e->process);
    }
    TaServer(const TaServer&) = delete;
    TaServer& operator=(const TaServer&) = delete;

    bool ok() const { return ok_; }
    const std::string& code() const { return code_; }
    quint16 port() const { return quint16(50000 + HexToWord(code_)); }
    std::filesystem::path ParameterFile() const { return dir_.path() / ("QuarnelTaPr." + code_); }
    const std::filesystem::path& dir() const { return dir_.path(); }
    /// The PostgreSQL database's address; empty on SQLite.
    const std::string& database() const { return database_; }
    /// The server's log lines so far (one per request, after the first line).
    const std::vector<std::string>& log() const { return log_; }

    bool Start() {
        process_ = Launch(log_, serveArgs_);
        return process_ != nullptr;
    }
    void Stop() {
        if (!process_) return;
        Halt(*process_);
        process_.reset();
        log_.clear();
        seen_ = 0;
    }
    /// Waits for a log line holding `text` after the last one found.
    bool WaitLog(const std::string& text) {
        std::optional<std::size_t> found;
        (void)RunUntil([&] {
            for (std::size_t i = seen_; !found && i < log_.size(); ++i) {
                if (log_[i].find(text) != std::string::npos) found = i;
            }
            return found.has_value();
        });
        if (found) seen_ = *found + 1;
        return found.has_value();
    }

    /// Another instance on the same database, on a free port; its port, or 0.
    quint16 AddInstance() {
        auto e = std::make_unique<Extra>();
        e->process = Launch(e->log, {"--port", "0"});
        if (!e->process) return 0;
        const std::string& first = e->log[0];
        e->port = quint16(std::stoi(first.substr(first.find(':') + 1)));
        extra_.push_back(std::move(e));
        return extra_.back()->port;
    }
    /// Kills instance `i` (of AddInstance) without warning.
    void KillInstance(std::size_t i) {
        extra_.at(i)->process->kill();
        extra_.at(i)->process->waitForFinished(5000);
    }

  private:
    static QString Executable() { return QStringLiteral(QUARNEL_BIN_DIR "/quarnel-ta"); }

    std::unique_ptr<QProcess> Launch(std::vector<std::string>& log, QStringList extra) {
        auto process = std::make_unique<QProcess>();
        process->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
        QProcess* p = process.get();
        QObject::connect(p, &QProcess::readyReadStandardOutput, [p, &log] {
            while (p->canReadLine())
                log.push_back(p->readLine().trimmed().toStdString());
        });
        QStringList args{"serve", "--dir", QString::fromStdString(dir_.path().string())};
        if (!database_.empty()) {
            auto env = QProcessEnvironment::systemEnvironment();
            env.insert("QUARNEL_TA_DB_PASSWORD", QString::fromStdString(password_));
            process->setProcessEnvironment(env);
            args << "--db" << QString::fromStdString(database_) << "--exponent-file"
                 << QString::fromStdString(
                        (dir_.path() / ("private-exponent-" + code_ + ".txt")).string());
        }
        process->start(Executable(), args + extra);
        const bool up = RunUntil(
            [&] {
                return (!log.empty() && log[0].rfind("listening on", 0) == 0) ||
                       p->state() == QProcess::NotRunning;
            },
            20000);
        if (!up || p->state() != QProcess::Running) {
            ADD_FAILURE() << "quarnel-ta did not start: "
                          << p->readAllStandardError().toStdString();
            return nullptr;
        }
        return process;
    }
    static void Halt(QProcess& p) {
        p.terminate();
        if (!p.waitForFinished(5000)) p.kill();
        p.waitForFinished(2000);
    }

    struct Extra {
        std::unique_ptr<QProcess> process;
        std::vector<std::string> log;
        quint16 port = 0;
    };

    TempDir dir_;
    QStringList serveArgs_;
    std::string code_;
    std::string database_, password_;
    std::unique_ptr<QProcess> process_;
    std::vector<std::string> log_;
    std::size_t seen_ = 0;  ///< log lines WaitLog has passed
    std::vector<std::unique_ptr<Extra>> extra_;
    bool ok_ = false;
};

/// Sends the outgoing body over HTTP, accepts what can be accepted and
/// processes it; `httpError` tells whether an error status was logged.
inline bool ExchangeOverHttp(ProgramData& ctx, bool* httpError = nullptr) {
    TaExchange exchange;
    std::vector<int> log;
    QObject::connect(&exchange, &TaExchange::logged,
                     [&](int id, const QStringList&) { log.push_back(id); });
    exchange.Prepare(ctx, ctx.authority);
    exchange.Send();
    if (!RunUntil([&] { return exchange.acceptEnabled() || exchange.sendEnabled(); }, 20000)) {
        return false;
    }
    if (httpError) *httpError = std::count(log.begin(), log.end(), txt::kLogErrorNumber) > 0;
    if (!exchange.acceptEnabled()) return false;
    exchange.Stop();
    return ProcessTaReply(ctx, ctx.authority, exchange.MemoText()).accepted;
}

/// The hooks of the authority's sequences: the exchange over HTTP, and the
/// settings written as the shell writes them.
inline FlowHooks Http(ProgramData& ctx) {
    return {[&ctx] { return ExchangeOverHttp(ctx); },
            [&ctx] { return SaveSettings(ctx, SettingsPath(ctx)); }};
}

}  // namespace quarnel::test
