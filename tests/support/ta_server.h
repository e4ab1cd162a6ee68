#pragma once
// A real quarnel-ta for the tests: initialised with a fresh code whose port
// (50000 + code) is free, served by the built executable, stopped (and never
// left behind, even when the test process dies) by the test itself; the
// connection window's exchange with it, without the window; and what every
// test with an event loop needs: a QCoreApplication (registered by including
// this header), a loop that runs until a condition holds, a free TA port.

#include <gtest/gtest.h>
#include <sys/prctl.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTcpServer>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

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

class TaServer {
  public:
    TaServer()
        : code_(FreeTaCode([](quint16 port) {
              QTcpServer probe;
              return probe.listen(QHostAddress::LocalHost, port);
          })) {
        QProcess init;
        init.start(Executable(), {"init", "--code", QString::fromStdString(code_), "--dir",
                                  QString::fromStdString(dir_.path().string())});
        init.waitForFinished(10000);
        ok_ = init.exitCode() == 0 && Start();
    }
    ~TaServer() { Stop(); }
    TaServer(const TaServer&) = delete;
    TaServer& operator=(const TaServer&) = delete;

    bool ok() const { return ok_; }
    const std::string& code() const { return code_; }
    std::filesystem::path ParameterFile() const { return dir_.path() / ("QuarnelTaPr." + code_); }
    /// The server's log lines so far (one per request, after the first line).
    const std::vector<std::string>& log() const { return log_; }

    bool Start() {
        process_ = std::make_unique<QProcess>();
        process_->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
        QObject::connect(process_.get(), &QProcess::readyReadStandardOutput, [this] {
            while (process_->canReadLine()) {
                log_.push_back(process_->readLine().trimmed().toStdString());
            }
        });
        process_->start(Executable(),
                        {"serve", "--dir", QString::fromStdString(dir_.path().string())});
        return RunUntil(
                   [this] {
                       return (!log_.empty() && log_[0].rfind("listening on", 0) == 0) ||
                              process_->state() == QProcess::NotRunning;
                   },
                   10000) &&
               process_->state() == QProcess::Running;
    }
    void Stop() {
        if (!process_) return;
        process_->terminate();
        if (!process_->waitForFinished(5000)) process_->kill();
        process_->waitForFinished(2000);
        process_.reset();
        log_.clear();
    }

  private:
    static QString Executable() { return QStringLiteral(QUARNEL_BIN_DIR "/quarnel-ta"); }

    TempDir dir_;
    std::string code_;
    std::unique_ptr<QProcess> process_;
    std::vector<std::string> log_;
    bool ok_ = false;
};

/// Sends the outgoing body over HTTP, accepts what can be accepted and
/// processes it; `httpError` tells whether an error status was logged.
inline bool ExchangeOverHttp(ProgramData& ctx, bool* httpError = nullptr) {
    TaExchange exchange;
    std::vector<int> log;
    QObject::connect(&exchange, &TaExchange::logged,
                     [&](int id, const QString&) { log.push_back(id); });
    exchange.Prepare(ctx, ctx.authority);
    exchange.Send();
    if (!RunUntil([&] { return exchange.accepterEnabled() || exchange.annulerEnabled(); }, 20000)) {
        return false;
    }
    if (httpError) *httpError = std::count(log.begin(), log.end(), txt::kLogErrorNumber) > 0;
    if (!exchange.accepterEnabled()) return false;
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
