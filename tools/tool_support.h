// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Argument handling shared by the quarnel-tool commands.

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "crypto/types.h"

namespace quarnel::tool {

/// Bad arguments or input: main prints the message on one line, exit code 2.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

/// The arguments of one command: options (--name value, or --flag) and
/// positional arguments in order.
class Args {
  public:
    Args(std::vector<std::string> args, std::vector<std::string> flags);

    /// The value of --name, removed from the arguments; nothing when absent.
    std::optional<std::string> Option(const std::string& name);
    std::string RequiredOption(const std::string& name);
    bool Flag(const std::string& name) const;
    /// Positional arguments; refuses unknown options left over.
    std::vector<std::string> Positional(std::size_t min, std::size_t max);

  private:
    std::vector<std::string> args_;
    std::vector<std::string> flags_;
    std::vector<std::string> setFlags_;
};

/// Hexadecimal argument of at most 32 digits.
Quad ParseQuadArg(std::string_view what, std::string_view text);
/// Hexadecimal argument of any length, as words.
std::vector<unsigned> ParseWordsArg(std::string_view what, std::string_view text);
/// Bytes of a file; UsageError when it cannot be read.
std::string ReadFile(const std::filesystem::path& path);
/// Bytes of the file named by the one positional argument, or of standard
/// input for "-" or none.
std::string ReadInput(const std::vector<std::string>& positional);
/// Writes bytes to the file (atomically) or to standard output.
void WriteOutput(const std::optional<std::string>& name, std::string_view bytes);

/// UTF-8 text for the terminal: control characters (C0, DEL, C1) as \xNN or
/// \uNNNN, so that names from outside cannot send escape sequences.
std::string Escaped(std::string_view utf8);

int RunStoreCommand(const std::string& command, Args& args);
int RunCryptoCommand(const std::string& sub, Args& args);
int RunMessageCommand(const std::string& command, Args& args);
int RunRtfCommand(Args& args);
int RunSendCommand(Args& args);

/// The most attachment files one command line may name.
inline constexpr std::size_t kMaxAttachmentArgs = 1000;

}  // namespace quarnel::tool
