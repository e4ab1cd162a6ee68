// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Runs a command line through the shell and collects its output.

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

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

/// quarnel-tool `command` on the holder's data folder `data`, standard error
/// merged into the output.
inline CommandResult RunTool(const std::string& command, const std::filesystem::path& data,
                             const std::string& args) {
    return RunCommand(std::string(QUARNEL_BIN_DIR) + "/quarnel-tool " + command + " --data " +
                      Quote(data.string()) + " " + args + " 2>&1");
}

/// The values of the output lines that begin with `key` + ": ".
inline std::vector<std::string> OutputValues(const std::string& out, const std::string& key) {
    std::vector<std::string> values;
    const std::string prefix = key + ": ";
    std::size_t at = 0;
    while (at < out.size()) {
        std::size_t end = out.find('\n', at);
        if (end == std::string::npos) end = out.size();
        std::string line = out.substr(at, end - at);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.rfind(prefix, 0) == 0) values.push_back(line.substr(prefix.size()));
        at = end + 1;
    }
    return values;
}

}  // namespace quarnel::test
