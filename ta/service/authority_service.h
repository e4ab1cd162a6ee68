// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The reference authority's decisions: one request in, one reply (or a
// refusal with an HTTP status and its reason) out. Affiliates, pair keys,
// issued keys and certificates live in SQLite in the authority's folder or in
// a PostgreSQL database shared by several instances; every request is one
// transaction, so concurrent clients and instances keep the store consistent
// and a refused request stores nothing.

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "crypto/types.h"
#include "ta/core/issuing.h"

namespace quarnel::ta {

inline constexpr const char* kDatabaseFileName = "quarnel-ta.sqlite";
/// The private exponent beside the parameter file: 256 hexadecimal digits.
std::string PrivateExponentFileName(const std::string& code);

/// How often a request that lost a serialisation race with another instance
/// runs again before it is refused as busy.
inline constexpr int kMaxRaceRetries = 8;
/// Replies to kinds 01 and 18 remembered per affiliate and kind: the same
/// request sent again within the last this many gets the same reply.
inline constexpr long long kAnsweredKept = 1000;
/// An exponent file is 256 hexadecimal digits and a line end.
inline constexpr std::size_t kMaxExponentFileSize = 4096;

struct ServiceOptions {
    std::filesystem::path dir;               ///< the parameter file (and SQLite database)
    std::string databaseUrl;                 ///< postgresql://user@host:port/dbname; empty: SQLite
    std::string databasePassword;            ///< never from the command line
    std::filesystem::path exponentFile;      ///< empty: private-exponent-CODE.txt in dir
    long long answeredKept = kAnsweredKept;  ///< tests lower it
};

/// False (and `error`) unless `file` is a regular file of at most
/// kMaxExponentFileSize bytes that only its owner may open.
[[nodiscard]] bool CheckExponentFile(const std::filesystem::path& file, std::string& error);

struct Reply {
    int status = 200;
    std::string reason = "OK";  ///< code page 1252, shown by the client after the code
    std::string body;           ///< reply lines with CR LF, or the reason
    std::string kind;           ///< request kind, for the log
    std::string holder;         ///< requester's number, for the log
    bool replayed = false;      ///< the reply given before to the same request
};

/// Draws a private exponent, writes "QuarnelTaPr." + code and the exponent
/// file into `dir`. False (and `error`) when the code is not three upper-case
/// hexadecimal digits or a file cannot be written; existing files are kept.
[[nodiscard]] bool InitialiseAuthority(const std::filesystem::path& dir, const std::string& code,
                                       std::string& error);

class AuthorityService {
  public:
    ~AuthorityService();
    AuthorityService(const AuthorityService&) = delete;
    AuthorityService& operator=(const AuthorityService&) = delete;

    /// Reads the parameter file and exponent of `dir` and opens (creates) the
    /// database there. Nothing on failure, with `error`.
    static std::unique_ptr<AuthorityService> Open(const std::filesystem::path& dir,
                                                  std::string& error,
                                                  RandomSource random = SystemRandom());
    /// The same with a PostgreSQL database and a shared exponent file.
    static std::unique_ptr<AuthorityService> Open(const ServiceOptions& options, std::string& error,
                                                  RandomSource random = SystemRandom());

    const std::string& code() const { return code_; }
    /// 50000 + the code read as hexadecimal.
    int DefaultPort() const;

    /// Answers the request data of one POST. A request answered before (an
    /// affiliation by the digest of its data, an update or a certification by
    /// its sender and nonce) gets the same reply again and changes nothing.
    Reply Handle(std::string_view requestData);

    /// Marks an affiliate registered (or not): its next seal and the records
    /// issued about it carry the flag.
    [[nodiscard]] bool SetRegistered(const std::string& number, bool registered);

  private:
    AuthorityService() = default;
    struct Impl;
    std::unique_ptr<Impl> impl_;
    std::string code_;
};

}  // namespace quarnel::ta
