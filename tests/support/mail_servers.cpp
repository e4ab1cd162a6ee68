// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail_servers.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace quarnel::test {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

constexpr uid_t kMailUser = 65534;

bool Accepts(unsigned short port) {
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    if (s < 0) return false;
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool ok = ::connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    ::close(s);
    return ok;
}

// Whether `pid` has exited (reaped here) or is a zombie.
bool Gone(pid_t pid) {
    int status = 0;
    return ::waitpid(pid, &status, WNOHANG) == pid;
}

// `text` as one word of a shell command.
std::string Quote(const std::string& text) {
    std::string out = "'";
    for (const char c : text)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

std::string ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace

unsigned short FreePort() {
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    unsigned short port = 0;
    if (::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
        ::getsockname(s, reinterpret_cast<sockaddr*>(&a), &len) == 0) {
        port = ntohs(a.sin_port);
    }
    ::close(s);
    return port;
}

bool ServerProcess::Start(const std::vector<std::string>& argv, bool asMailUser,
                          const fs::path& log, unsigned short port,
                          std::chrono::milliseconds limit) {
    std::vector<std::string> args;
    if (asMailUser && ::geteuid() == 0) {
        args = {"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "--"};
    }
    args.insert(args.end(), argv.begin(), argv.end());
    std::vector<char*> cargs;
    for (auto& a : args)
        cargs.push_back(a.data());
    cargs.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    const int rc = posix_spawn(&pid_, cargs[0], &actions, nullptr, cargs.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) {
        pid_ = -1;
        return false;
    }
    const auto until = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < until) {
        if (Accepts(port)) return true;
        if (Gone(pid_)) {
            pid_ = -1;
            return false;
        }
        std::this_thread::sleep_for(20ms);
    }
    Stop();
    return false;
}

void ServerProcess::Stop() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    const auto until = std::chrono::steady_clock::now() + 5s;
    while (!Gone(pid_)) {
        if (std::chrono::steady_clock::now() > until) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
            break;
        }
        std::this_thread::sleep_for(10ms);
    }
    pid_ = -1;
}

ServerDir::ServerDir() {
    fs::permissions(path(), fs::perms(0755));
    if (::geteuid() == 0) (void)::chown(path().c_str(), kMailUser, kMailUser);
}

std::string SmtpServer::MissingReason() {
    if (!fs::exists("/usr/bin/python3")) return "/usr/bin/python3 is not installed";
    if (std::system("/usr/bin/python3 -c 'import aiosmtpd' >/dev/null 2>&1") != 0) {
        return "the SMTP test server is missing (Debian package python3-aiosmtpd)";
    }
    return {};
}

SmtpServer::SmtpServer() {
    // A port freed just now may be taken by someone else before the server
    // binds it: a few tries.
    for (int attempt = 0; attempt < 3 && !running_; ++attempt) {
        port_ = FreePort();
        running_ = process_.Start(
            {"/usr/bin/python3", "-m", "aiosmtpd", "-n", "-l", "127.0.0.1:" + std::to_string(port_),
             "-c", "aiosmtpd.handlers.Mailbox", Maildir().string()},
            true, dir_.path() / "smtpd.log", port_);
    }
}

std::string TestCertificates::MissingReason() {
    if (std::system("openssl version >/dev/null 2>&1") != 0) {
        return "openssl is not installed (Debian package openssl)";
    }
    return {};
}

const TestCertificates& TestCertificates::Get() {
    static const TestCertificates certificates;
    return certificates;
}

TestCertificates::TestCertificates() {
    const std::string command = "sh '" QUARNEL_TEST_SUPPORT_DIR "/make_test_certs.sh' '" +
                                dir_.path().string() + "' >'" +
                                (dir_.path() / "openssl.log").string() + "' 2>&1";
    made_ = std::system(command.c_str()) == 0 && fs::exists(Certificate("unknown"));
}

SmtpServer::SmtpServer(const TlsSetup& tls) {
    const TestCertificates& certs = TestCertificates::Get();
    for (int attempt = 0; attempt < 3 && !running_ && certs.Made(); ++attempt) {
        port_ = FreePort();
        std::vector<std::string> argv{"/usr/bin/python3",
                                      QUARNEL_TEST_SUPPORT_DIR "/tls_smtpd.py",
                                      "--listen",
                                      "127.0.0.1:" + std::to_string(port_),
                                      "--maildir",
                                      Maildir().string(),
                                      "--mode",
                                      tls.mode,
                                      "--cert",
                                      certs.Certificate(tls.certificate).string(),
                                      "--key",
                                      certs.Key().string()};
        if (!tls.user.empty()) {
            argv.insert(argv.end(), {"--user", tls.user, "--password", tls.password});
        }
        if (tls.loginOnly) argv.emplace_back("--login-only");
        running_ = process_.Start(argv, true, dir_.path() / "smtpd.log", port_);
    }
}

std::string SmtpServer::Log() const {
    return ReadAll(dir_.path() / "smtpd.log");
}

std::vector<std::string> SmtpServer::Delivered(std::size_t atLeast,
                                               std::chrono::milliseconds wait) const {
    const auto until = std::chrono::steady_clock::now() + wait;
    for (;;) {
        std::vector<std::pair<fs::file_time_type, fs::path>> files;
        std::error_code ec;
        for (const auto& e : fs::directory_iterator(Maildir() / "new", ec)) {
            files.emplace_back(e.last_write_time(), e.path());
        }
        if (files.size() >= atLeast || std::chrono::steady_clock::now() > until) {
            std::sort(files.begin(), files.end());
            std::vector<std::string> out;
            for (const auto& f : files)
                out.push_back(ReadAll(f.second));
            return out;
        }
        std::this_thread::sleep_for(20ms);
    }
}

// ---- Pop3Server ----

namespace {

void MakeMailFolder(const fs::path& p) {
    fs::create_directories(p);
    if (::geteuid() == 0) (void)::chown(p.c_str(), kMailUser, kMailUser);
}

}  // namespace

std::string Pop3Server::MissingReason() {
    if (!fs::exists("/usr/sbin/dovecot") || !fs::exists("/usr/lib/dovecot/pop3")) {
        return "the POP3 test server is missing (Debian package dovecot-pop3d)";
    }
    return {};
}

Pop3Server::Pop3Server(fs::path maildir, const std::string& user, const std::string& password,
                       const TlsSetup* tls)
    : maildir_(std::move(maildir)) {
    for (const char* sub : {"", "/new", "/cur", "/tmp"})
        MakeMailFolder(maildir_.string() + sub);
    const fs::path d = dir_.path();
    std::string options = " --mail-location " + Quote("maildir:" + maildir_.string()) + " --user " +
                          Quote(user) + " --password " + Quote(password);
    if (tls) {
        const TestCertificates& certs = TestCertificates::Get();
        options += " --tls " + Quote(tls->mode) + " --cert " +
                   Quote(certs.Certificate(tls->certificate).string()) + " --key " +
                   Quote(certs.Key().string());
    }
    for (int attempt = 0; attempt < 3 && !running_; ++attempt) {
        port_ = FreePort();
        const std::string write = "/usr/bin/python3 " QUARNEL_TEST_SUPPORT_DIR "/dovecot_conf.py " +
                                  Quote(d.string()) + " --port " + std::to_string(port_) + options +
                                  " >>" + Quote((d / "dovecot.out").string()) + " 2>&1";
        running_ = std::system(write.c_str()) == 0 &&
                   process_.Start({"/usr/sbin/dovecot", "-F", "-c", (d / "dovecot.conf").string()},
                                  false, d / "dovecot.out", port_);
    }
}

std::string Pop3Server::Log() const {
    return ReadAll(dir_.path() / "dovecot.out") + ReadAll(dir_.path() / "dovecot.log");
}

void Pop3Server::Drop(const std::string& mail) const {
    DropWritten([&](std::ostream& out) { out << mail; });
}

void Pop3Server::DropWritten(const std::function<void(std::ostream&)>& write) const {
    static int serial = 0;
    const std::string name = std::to_string(::getpid()) + "." + std::to_string(++serial) + ".test";
    const fs::path tmp = maildir_ / "tmp" / name;
    {
        std::ofstream out(tmp, std::ios::binary);
        write(out);
    }
    if (::geteuid() == 0) (void)::chown(tmp.c_str(), kMailUser, kMailUser);
    fs::rename(tmp, maildir_ / "new" / name);
}

std::size_t Pop3Server::Count() const {
    std::size_t n = 0;
    std::error_code ec;
    for (const char* sub : {"new", "cur"}) {
        for (const auto& e : fs::directory_iterator(maildir_ / sub, ec)) {
            (void)e;
            ++n;
        }
    }
    return n;
}

}  // namespace quarnel::test
