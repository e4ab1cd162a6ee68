#pragma once
// Runs a command line through the shell and collects its output.

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

namespace quarnel::test {

struct CommandResult {
    int exitCode = -1;
    std::string out;  ///< standard output, and standard error when merged
};

/// Runs `command` with /bin/sh; standard error is kept apart unless the
/// command redirects it.
inline CommandResult RunCommand(const std::string& command) {
    CommandResult r;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return r;
    std::array<char, 4096> buf{};
    std::size_t n;
    while ((n = fread(buf.data(), 1, buf.size(), pipe)) > 0)
        r.out.append(buf.data(), n);
    const int status = pclose(pipe);
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

inline std::string Quote(const std::string& s) {
    std::string q = "'";
    for (char c : s) {
        if (c == '\'') {
            q += "'\\''";
        } else {
            q += c;
        }
    }
    return q + "'";
}

}  // namespace quarnel::test
