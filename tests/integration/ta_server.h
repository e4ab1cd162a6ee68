#pragma once
// A real quarnel-ta for the tests: initialised with a fresh code whose port
// (50000 + code) is free, served by the built executable, stopped (and never
// left behind, even when the test process dies) by the test itself.

#include <sys/prctl.h>

#include <QProcess>
#include <QTcpServer>

#include <csignal>
#include <filesystem>
#include <random>
#include <string>

#include "crypto/bignum.h"
#include "qt_test_support.h"
#include "temp_dir.h"

namespace quarnel::test {

class TaServer {
  public:
    TaServer() {
        std::mt19937 g(std::random_device{}());
        for (int i = 0; i < 50 && code_.empty(); ++i) {
            const Word c = Word(0x100 + g() % 0xE00);
            QTcpServer probe;
            if (probe.listen(QHostAddress::LocalHost, quint16(50000 + c))) {
                code_ = WordToHex(c).substr(5);
            }
        }
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
    const std::filesystem::path& dir() const { return dir_.path(); }
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

}  // namespace quarnel::test
