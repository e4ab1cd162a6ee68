// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Real mail servers on loopback for the tests, started on a free high port
// and stopped (by process id) when the object goes. Each has a reason to skip
// when its package is not installed; CI installs them.

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "temp_dir.h"

namespace quarnel::test {

/// A server process of the tests: spawned, waited for until it listens,
/// stopped with TERM then KILL.
class ServerProcess {
  public:
    ServerProcess() = default;
    ~ServerProcess() { Stop(); }
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;

    /// Runs `argv` (as the mail user 65534 when `asMailUser` and we are
    /// root), output to `log`, then waits until 127.0.0.1:`port` accepts.
    [[nodiscard]] bool Start(const std::vector<std::string>& argv, bool asMailUser,
                             const std::filesystem::path& log, unsigned short port,
                             std::chrono::milliseconds limit = std::chrono::seconds(10));
    void Stop();

  private:
    pid_t pid_ = -1;
};

/// A port nobody listens on now (the system picks it).
[[nodiscard]] unsigned short FreePort();

/// A folder of its own for a server, removed afterwards; readable by every
/// user and owned by the mail user when we are root.
struct ServerDir : TempDir {
    ServerDir();
};

/// Test authorities and server certificates made with openssl by
/// make_test_certs.sh, once per test program, removed at its end.
class TestCertificates {
  public:
    /// Why they cannot be made here ("" when they can).
    [[nodiscard]] static std::string MissingReason();
    /// The one set of the test program; check Made().
    [[nodiscard]] static const TestCertificates& Get();
    [[nodiscard]] bool Made() const { return made_; }
    /// The test authority, to be trusted as the holder's extra authority.
    [[nodiscard]] std::filesystem::path Authority() const { return dir_.path() / "ca.pem"; }
    [[nodiscard]] std::filesystem::path Key() const { return dir_.path() / "server.key"; }
    /// "good", "other-host", "expired" or "unknown" (an untrusted authority's).
    [[nodiscard]] std::filesystem::path Certificate(const std::string& which) const {
        return dir_.path() / (which + ".pem");
    }

  private:
    TestCertificates();
    ServerDir dir_;
    bool made_ = false;
};

/// How a TLS test server runs: "starttls", "tls" (from the start) or
/// "clear" (offering no STARTTLS / STLS), with which certificate, and the
/// one account it accepts.
struct TlsSetup {
    std::string mode = "starttls";
    std::string certificate = "good";
    std::string user;
    std::string password;
    bool loginOnly = false;  ///< SMTP: AUTH LOGIN only
};

/// The SMTP server: accepts any mail and delivers it into a Maildir.
class SmtpServer {
  public:
    /// Why the server cannot run here ("" when it can).
    [[nodiscard]] static std::string MissingReason();

    SmtpServer();  ///< starts it; check Running()
    /// Starts the TLS server of tls_smtpd.py (authentication required when
    /// `tls.user` is set).
    explicit SmtpServer(const TlsSetup& tls);
    [[nodiscard]] bool Running() const { return running_; }
    [[nodiscard]] unsigned short port() const { return port_; }
    [[nodiscard]] std::string Address() const { return "127.0.0.1:" + std::to_string(port_); }
    [[nodiscard]] std::filesystem::path Maildir() const { return dir_.path() / "Maildir"; }
    /// The server's own log, for failure messages.
    [[nodiscard]] std::string Log() const;
    /// The delivered messages, oldest first, waiting up to `wait` for at
    /// least `atLeast` of them.
    [[nodiscard]] std::vector<std::string> Delivered(
        std::size_t atLeast = 0, std::chrono::milliseconds wait = std::chrono::seconds(5)) const;

  private:
    ServerDir dir_;
    ServerProcess process_;
    unsigned short port_ = 0;
    bool running_ = false;
};

/// The POP3 server (Dovecot with a configuration of its own) serving one
/// Maildir, shared with an SmtpServer or filled with Drop(), to one account.
class Pop3Server {
  public:
    /// Why the server cannot run here ("" when it can).
    [[nodiscard]] static std::string MissingReason();

    /// Starts it for `user` with `password` on `maildir` (made when missing);
    /// check Running(). With `tls`: `ssl = required`, STLS on the pop3
    /// listener ("starttls") or pop3s only ("tls").
    Pop3Server(std::filesystem::path maildir, const std::string& user, const std::string& password,
               const TlsSetup* tls = nullptr);
    [[nodiscard]] bool Running() const { return running_; }
    [[nodiscard]] unsigned short port() const { return port_; }
    [[nodiscard]] std::string Address() const { return "127.0.0.1:" + std::to_string(port_); }
    [[nodiscard]] std::string Log() const;
    /// Puts `mail` into the Maildir as a delivery would.
    void Drop(const std::string& mail) const;
    /// The same for a mail `write` streams out (one too big to hold).
    void DropWritten(const std::function<void(std::ostream&)>& write) const;
    /// The messages the mailbox holds now.
    [[nodiscard]] std::size_t Count() const;

  private:
    ServerDir dir_;
    ServerProcess process_;
    std::filesystem::path maildir_;
    unsigned short port_ = 0;
    bool running_ = false;
};

}  // namespace quarnel::test
