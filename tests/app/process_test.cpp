// SPDX-License-Identifier: GPL-3.0-or-later
// The program and the tool as processes: one run per data folder, and no
// core file whatever the limit the shell gave.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalSocket>
#include <fstream>
#include <sstream>

#include "event_loop.h"
#include "holder_files.h"
#include "run_command.h"
#include "store/program_files.h"

namespace quarnel {
namespace {

namespace fs = std::filesystem;

const std::string kProgram = QUARNEL_BIN_DIR "/quarneltit";
const std::string kTool = QUARNEL_BIN_DIR "/quarnel-tool";

// A process started in `cwd` with `env` added; its standard input a pipe
// kept open until it is waited for.
class Process {
  public:
    Process(std::vector<std::string> argv, const fs::path& cwd,
            const std::vector<std::string>& env = {}, bool coreUnlimited = false) {
        std::vector<std::string> environment = env;
        for (char** e = environ; *e; ++e)
            environment.emplace_back(*e);
        std::vector<char*> args, envp;
        for (std::string& a : argv)
            args.push_back(a.data());
        args.push_back(nullptr);
        for (std::string& e : environment)
            envp.push_back(e.data());
        envp.push_back(nullptr);
        int in[2];
        if (::pipe(in) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(in[0], 0);
            ::close(in[1]);
            if (::chdir(cwd.c_str()) != 0) ::_exit(127);
            if (coreUnlimited) {
                const rlimit all{RLIM_INFINITY, RLIM_INFINITY};
                ::setrlimit(RLIMIT_CORE, &all);
            }
            ::execve(args[0], args.data(), envp.data());
            ::_exit(127);
        }
        ::close(in[0]);
        input_ = in[1];
    }
    ~Process() {
        if (input_ >= 0) ::close(input_);
        if (pid_ > 0 && !status_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    pid_t pid() const { return pid_; }
    /// The wait status once it ended, within `ms`.
    std::optional<int> Ended(int ms = 20000) {
        test::RunUntil(
            [&] {
                int st = 0;
                if (!status_ && ::waitpid(pid_, &st, WNOHANG) == pid_) status_ = st;
                return status_.has_value();
            },
            ms);
        return status_;
    }

  private:
    pid_t pid_ = -1;
    int input_ = -1;
    std::optional<int> status_;
};

// One command of the test hook; its answer.
QJsonObject Hook(QLocalSocket& socket, const QJsonObject& command) {
    socket.write(QJsonDocument(command).toJson(QJsonDocument::Compact) + '\n');
    socket.flush();
    if (!test::RunUntil([&] { return socket.canReadLine(); }, 20000)) return {};
    return QJsonDocument::fromJson(socket.readLine()).object();
}

TEST(Processes, ASecondRunOnADataFolderWritesNothingNorDoesTheToolWhileTheProgramIsOpen) {
    test::HolderFiles files;
    files.WriteSettings();
    files.WriteKeyStore(files.SealedStore());
    test::TempDir sockets;
    Process first({kProgram}, files.Data());
    const fs::path lock = files / kLockFileName;
    ASSERT_TRUE(test::RunUntil(
        [&] {
            std::error_code ec;
            const auto size = fs::file_size(lock, ec);
            return !ec && size > 0;
        },
        30000))
        << "the first run takes the folder";
    const auto before = test::FilesUnder(files.Data());

    const std::string hook = (sockets / "second.sock").string();
    Process second({kProgram}, files.Data(), {"QUARNEL_TEST_HOOK=" + hook});
    QLocalSocket socket;
    ASSERT_TRUE(test::RunUntil(
        [&] {
            socket.connectToServer(QString::fromStdString(hook));
            return socket.waitForConnected(100);
        },
        30000));
    QString box;
    ASSERT_TRUE(test::RunUntil(
        [&] {
            return !(box = Hook(socket, {{"cmd", "windows"}})["box"].toString()).isEmpty();
        },
        30000));
    const QString pid = QString::number(first.pid());
    EXPECT_TRUE(box.contains("déjà ouvert") && box.contains("already open") && box.contains(pid))
        << box.toStdString();
    EXPECT_TRUE(Hook(socket, {{"cmd", "box"}, {"button", "Ok"}})["ok"].toBool());
    const auto status = second.Ended();
    ASSERT_TRUE(status);
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 1) << *status;
    EXPECT_EQ(test::FilesUnder(files.Data()), before);

    // The commands that write the holder's files wait for no one either.
    const std::string any = test::Quote((files / "QuarnelTit.ini").string());
    for (const auto& [command, args] : std::vector<std::pair<std::string, std::string>>{
             {"receive", ""}, {"decrypt", any}, {"send", "--to a@b.org " + any}}) {
        const test::CommandResult r = test::RunTool(command, files.Data(), args);
        EXPECT_EQ(r.exitCode, 2) << command << ": " << r.out;
        EXPECT_NE(r.out.find("already open"), std::string::npos) << r.out;
        EXPECT_NE(r.out.find("process " + pid.toStdString()), std::string::npos) << r.out;
    }
    EXPECT_EQ(test::FilesUnder(files.Data()), before);

    // Killed, the first run leaves its lock file but no lock.
    ::kill(first.pid(), SIGKILL);
    ASSERT_TRUE(first.Ended());
    ASSERT_TRUE(fs::exists(lock));
    const test::CommandResult after = test::RunTool("receive", files.Data(), "");
    EXPECT_EQ(after.out.find("already open"), std::string::npos) << after.out;
    EXPECT_NE(after.out.find("accepted: 0"), std::string::npos) << after.out;
    EXPECT_FALSE(fs::exists(lock)) << "let go at the end";
}

TEST(Processes, NeitherTheProgramNorTheToolLeavesACoreFile) {
    for (const std::vector<std::string>& argv :
         {std::vector<std::string>{kProgram}, {kTool, "crypto", "condense-text", "-"}}) {
        SCOPED_TRACE(argv[0]);
        test::TempDir dir;
        Process p(argv, dir.path(), {}, true);
        // Once the process has set its own limit it is past the point where
        // it makes itself undumpable. Until its exec the child shows the
        // limit it inherited, which may be 0 already.
        const std::string proc = "/proc/" + std::to_string(p.pid());
        const std::string limits = proc + "/limits";
        ASSERT_TRUE(test::RunUntil(
            [&] {
                std::error_code ec;
                if (fs::read_symlink(proc + "/exe", ec) != fs::path(argv[0])) return false;
                std::ifstream in(limits);
                std::stringstream text;
                text << in.rdbuf();
                const std::string all = text.str();
                const auto at = all.find("Max core file size");
                return at != std::string::npos &&
                       all.substr(at, all.find('\n', at) - at).find(" 0 ") != std::string::npos;
            },
            30000));
        ::kill(p.pid(), SIGQUIT);
        const auto status = p.Ended();
        ASSERT_TRUE(status);
        EXPECT_TRUE(WIFSIGNALED(*status));
        EXPECT_FALSE(WCOREDUMP(*status));
        for (const auto& e : fs::directory_iterator(dir.path()))
            EXPECT_EQ(e.path().filename().string().rfind("core", 0), std::string::npos) << e.path();
    }
}

}  // namespace
}  // namespace quarnel
