#pragma once
// The reference authority as a real server on loopback: `quarnel-ta serve` on
// a copy of tests/data/ta, on a port the system picks, stopped by its PID.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

namespace quarnel::test {

class TaServer {
  public:
    /// Starts the server in `dir` (created); port() is 0 when it did not come up.
    explicit TaServer(const std::filesystem::path& dir) {
        std::filesystem::create_directories(dir);
        const std::filesystem::path data = std::filesystem::path(QUARNEL_TEST_DATA_DIR) / "ta";
        for (const auto& e : std::filesystem::directory_iterator(data)) {
            if (e.path().filename() != "README.md") {
                std::filesystem::copy_file(e.path(), dir / e.path().filename());
            }
        }
        log_ = dir / "server.log";
        const std::string binary = std::string(QUARNEL_BIN_DIR) + "/quarnel-ta";
        pid_ = fork();
        if (pid_ == 0) {
            if (!std::freopen(log_.c_str(), "w", stdout) ||
                !std::freopen(log_.c_str(), "a", stderr)) {
                _exit(127);
            }
            execl(binary.c_str(), "quarnel-ta", "serve", "--dir", dir.c_str(), "--port", "0",
                  static_cast<char*>(nullptr));
            _exit(127);
        }
        // "listening on 127.0.0.1:PORT (TA code 0FF)" once ready.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
        while (pid_ > 0 && port_ == 0 && std::chrono::steady_clock::now() < deadline) {
            std::ifstream in(log_);
            std::stringstream text;
            text << in.rdbuf();
            const std::string s = text.str();
            const std::size_t at = s.find("listening on 127.0.0.1:");
            if (at != std::string::npos) {
                port_ = std::atoi(s.c_str() + at + 23);
            } else if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
                pid_ = -1;
            } else {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
        }
    }
    ~TaServer() {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        int status = 0;
        waitpid(pid_, &status, 0);
    }
    TaServer(const TaServer&) = delete;
    TaServer& operator=(const TaServer&) = delete;

    int port() const { return port_; }
    std::string Log() const {
        std::ifstream in(log_);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

  private:
    std::filesystem::path log_;
    pid_t pid_ = -1;
    int port_ = 0;
};

}  // namespace quarnel::test
