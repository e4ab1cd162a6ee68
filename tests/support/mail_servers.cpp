// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail_servers.h"

#include <arpa/inet.h>
#include <grp.h>
#include <netinet/in.h>
#include <pwd.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <random>
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

std::string ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace

std::string PythonMailReport(const std::string& mail) {
    char name[] = "/tmp/quarnel-mail-XXXXXX";
    const int fd = ::mkstemp(name);
    if (fd < 0) return {};
    ::close(fd);
    { std::ofstream(name, std::ios::binary) << mail; }
    const std::string command =
        "/usr/bin/python3 " QUARNEL_TEST_SUPPORT_DIR "/mail_report.py " + std::string(name);
    std::string out;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        std::size_t n = 0;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
            out.append(buffer, n);
        if (::pclose(pipe) != 0) out.clear();
    }
    ::unlink(name);
    return out;
}

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
    std::random_device rd;
    path_ = fs::temp_directory_path() /
            ("quarnel-server-" + std::to_string(rd()) + std::to_string(rd()));
    fs::create_directories(path_);
    fs::permissions(path_, fs::perms(0755));
    if (::geteuid() == 0) (void)::chown(path_.c_str(), kMailUser, kMailUser);
}

ServerDir::~ServerDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
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
    fs::create_directories(d / "run");
    fs::create_directories(d / "state");
    MakeMailFolder(d / "home");
    {
        std::ofstream pw(d / "passwd");
        pw << user << ":{PLAIN}" << password << "\n";
    }
    fs::permissions(d / "passwd", fs::perms(0644));
    // As root the mail is served as the mail user; otherwise as ourselves.
    const bool root = ::geteuid() == 0;
    const uid_t uid = root ? kMailUser : ::geteuid();
    const gid_t gid = root ? kMailUser : ::getegid();
    const passwd* account = ::getpwuid(uid);
    const group* grp = ::getgrgid(gid);
    const std::string userName = account ? account->pw_name : std::to_string(uid);
    const std::string groupName = grp ? grp->gr_name : std::to_string(gid);
    for (int attempt = 0; attempt < 3 && !running_; ++attempt) {
        port_ = FreePort();
        std::ofstream conf(d / "dovecot.conf", std::ios::trunc);
        conf << "protocols = pop3\n"
             << "listen = 127.0.0.1\n"
             << "base_dir = " << (d / "run").string() << "\n"
             << "state_dir = " << (d / "state").string() << "\n"
             << "log_path = " << (d / "dovecot.log").string() << "\n"
             << "auth_mechanisms = plain login\n"
             << "mail_location = maildir:" << maildir_.string() << "\n"
             << "pop3_uidl_format = %08Xu%08Xv\n";
        const bool implicit = tls && tls->mode == "tls";
        if (tls && tls->mode != "clear") {
            const TestCertificates& certs = TestCertificates::Get();
            conf << "ssl = required\n"
                 << "disable_plaintext_auth = yes\n"
                 << "ssl_cert = <" << certs.Certificate(tls->certificate).string() << "\n"
                 << "ssl_key = <" << certs.Key().string() << "\n";
        } else {
            conf << "ssl = no\n"
                 << "disable_plaintext_auth = no\n";
        }
        conf << "service pop3-login {\n"
             << "  inet_listener pop3 {\n    address = 127.0.0.1\n    port = "
             << (implicit ? 0 : port_) << "\n  }\n"
             << "  inet_listener pop3s {\n    address = 127.0.0.1\n    port = "
             << (implicit ? port_ : 0) << "\n  }\n}\n"
             << "service imap-login {\n  inet_listener imap {\n    port = 0\n  }\n"
             << "  inet_listener imaps {\n    port = 0\n  }\n}\n"
             << "passdb {\n  driver = passwd-file\n  args = " << (d / "passwd").string() << "\n}\n"
             << "userdb {\n  driver = static\n  args = uid=" << uid << " gid=" << gid
             << " home=" << (d / "home").string() << "\n}\n";
        if (!root) {
            // Everything as the user running the tests, without chroots.
            conf << "default_internal_user = " << userName << "\n"
                 << "default_internal_group = " << groupName << "\n"
                 << "default_login_user = " << userName << "\n"
                 << "service anvil {\n  chroot =\n}\n"
                 << "service pop3-login {\n  chroot =\n}\n"
                 << "service imap-login {\n  chroot =\n}\n";
        }
        conf.close();
        running_ = process_.Start({"/usr/sbin/dovecot", "-F", "-c", (d / "dovecot.conf").string()},
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
