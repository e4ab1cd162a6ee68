// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the authority keeps its affiliates: SQLite in its folder, or one
// PostgreSQL database shared by every instance of the authority. Both go
// through Qt SQL; the schema is created and brought up to date here.

#include <QSqlDatabase>
#include <QSqlQuery>

#include <filesystem>
#include <initializer_list>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <variant>

namespace quarnel::ta {

/// Schema versions this program knows; a database beyond it is refused.
inline constexpr int kSchemaVersion = 3;
/// Where the database password may be given instead of a file.
inline constexpr const char* kDatabasePasswordVariable = "QUARNEL_TA_DB_PASSWORD";
/// Longest database address taken from the command line.
inline constexpr std::size_t kMaxDatabaseUrlLength = 1024;

/// "postgresql://user@host:port/dbname" taken apart; the password comes from
/// the environment or a file, never from the address.
struct DatabaseAddress {
    std::string user, host, name, options;
    int port = 5432;
    std::string password;
};

/// False (and `error`) when `url` is not such an address or carries a password.
[[nodiscard]] bool ParseDatabaseUrl(const std::string& url, DatabaseAddress& out,
                                    std::string& error);

/// A value bound to a statement: bytes (stored as they are) or a number.
using SqlValue = std::variant<std::string, double, long long>;

class Storage {
  public:
    ~Storage();
    Storage(const Storage&) = delete;
    Storage& operator=(const Storage&) = delete;

    /// The SQLite file, created when missing; `readOnly` opens it as it is,
    /// without bringing its schema up to date.
    static std::unique_ptr<Storage> OpenSqlite(const std::filesystem::path& file, bool readOnly,
                                               std::string& error);
    /// The database at `url` (ParseDatabaseUrl) with `password`.
    static std::unique_ptr<Storage> OpenPostgres(const std::string& url,
                                                 const std::string& password, std::string& error);

    bool postgres() const { return postgres_; }

    enum class Outcome { Ok, Busy, Failed };
    /// One transaction: row locks on PostgreSQL, the write lock on SQLite.
    [[nodiscard]] Outcome Begin();
    [[nodiscard]] Outcome Commit();
    void Rollback();
    /// Whether the last failure was a lost serialisation race, a deadlock or a
    /// key another transaction has just committed:
    /// the whole request may run again.
    bool lostRace() const { return lostRace_; }
    /// Whether a statement failed since Begin.
    bool failed() const { return failed_; }

    /// Runs `sql` with `?` placeholders; nothing when it fails.
    std::optional<QSqlQuery> Run(const char* sql, std::initializer_list<SqlValue> values = {});
    /// The first column of the first row as bytes; nothing when there is no row.
    std::optional<std::string> Single(const char* sql, std::initializer_list<SqlValue> values = {},
                                      bool* failed = nullptr);
    static std::string Bytes(const QSqlQuery& q, int column);

    /// Copies every row of `source` into this database, which must hold no
    /// affiliate yet, in one transaction that commits only when the counts of
    /// both agree; `summary` gives them.
    [[nodiscard]] bool CopyFrom(Storage& source, std::string& summary, std::string& error);

    const std::string& lastError() const { return lastError_; }
    int SchemaVersion();

  private:
    explicit Storage(bool postgres);
    bool Open(std::string& error);
    bool Migrate(std::string& error);
    bool Exec(const QString& sql);
    void FinishAll();
    void NoteError(const QSqlError& e);

    std::string connection_;
    QSqlDatabase db_;
    // Statements prepared once per connection (a round trip each on
    // PostgreSQL otherwise), by their text.
    std::map<std::string, QSqlQuery> prepared_;
    bool postgres_ = false;
    bool lostRace_ = false;
    bool failed_ = false;
    std::string lastError_;
};

/// The next counter value for affiliation numbers of each category present in
/// `affiliates`, written into number_counters (when bringing a database up to
/// date and after a copy).
[[nodiscard]] bool SeedNumberCounters(Storage& storage);

}  // namespace quarnel::ta
