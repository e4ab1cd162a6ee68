// SPDX-License-Identifier: GPL-3.0-or-later
#include "ta/service/storage.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QUrl>
#include <QUrlQuery>
#include <QVariant>

#include <atomic>
#include <vector>

#include "crypto/bignum.h"
#include "crypto/hextext.h"

namespace quarnel::ta {
namespace {

// Each schema step, in order; step N brings a database from version N-1 to N.
// SQLite keeps today's column types; PostgreSQL stores the texts as bytes too,
// since identities and certificates are code page 1252, not UTF-8.
struct Step {
    std::vector<const char*> sqlite, postgres;
};

const std::vector<Step>& Steps() {
    static const std::vector<Step> steps{
        {{"CREATE TABLE IF NOT EXISTS affiliates (number TEXT PRIMARY KEY, category TEXT, "
          "digit TEXT, identity BLOB, version TEXT, flag TEXT, affiliated REAL, "
          "signing_key TEXT, ta_key TEXT, updated REAL)",
          "CREATE TABLE IF NOT EXISTS pair_keys (low TEXT, high TEXT, key TEXT, "
          "issued REAL, PRIMARY KEY (low, high))",
          "CREATE TABLE IF NOT EXISTS issued_keys (id INTEGER PRIMARY KEY, holder TEXT, "
          "subject TEXT, kind TEXT, issued REAL)",
          "CREATE TABLE IF NOT EXISTS certificates (id INTEGER PRIMARY KEY, "
          "requester TEXT, sender TEXT, data BLOB, certified TEXT, text BLOB, issued REAL)"},
         {"CREATE TABLE IF NOT EXISTS affiliates (number BYTEA PRIMARY KEY, category BYTEA, "
          "digit BYTEA, identity BYTEA, version BYTEA, flag BYTEA, affiliated DOUBLE PRECISION, "
          "signing_key BYTEA, ta_key BYTEA, updated DOUBLE PRECISION)",
          "CREATE TABLE IF NOT EXISTS pair_keys (low BYTEA, high BYTEA, key BYTEA, "
          "issued DOUBLE PRECISION, PRIMARY KEY (low, high))",
          "CREATE TABLE IF NOT EXISTS issued_keys (id BIGSERIAL PRIMARY KEY, holder BYTEA, "
          "subject BYTEA, kind BYTEA, issued DOUBLE PRECISION)",
          "CREATE TABLE IF NOT EXISTS certificates (id BIGSERIAL PRIMARY KEY, "
          "requester BYTEA, sender BYTEA, data BYTEA, certified BYTEA, text BYTEA, "
          "issued DOUBLE PRECISION)"}},
        // Affiliation numbers from a counter row per category, so that
        // concurrent instances never hand out one number twice.
        {{"CREATE TABLE number_counters (category TEXT PRIMARY KEY, next INTEGER NOT NULL)"},
         {"CREATE TABLE number_counters (category BYTEA PRIMARY KEY, next BIGINT NOT NULL)"}},
        // The replies already given, so that a request sent again (a lost
        // reply, or a replay) gets the same reply and changes nothing: kinds
        // 01 and 18 by the affiliate and the enciphered nonce, kind 00 by the
        // digest of the request.
        {{"CREATE TABLE answered_requests (id INTEGER PRIMARY KEY, holder TEXT NOT NULL, "
          "kind TEXT NOT NULL, nonce TEXT NOT NULL, reply BLOB NOT NULL, "
          "UNIQUE (holder, kind, nonce))",
          "CREATE TABLE answered_affiliations (digest TEXT PRIMARY KEY, number TEXT NOT NULL, "
          "reply BLOB NOT NULL)"},
         {"CREATE TABLE answered_requests (id BIGSERIAL PRIMARY KEY, holder BYTEA NOT NULL, "
          "kind BYTEA NOT NULL, nonce BYTEA NOT NULL, reply BYTEA NOT NULL, "
          "UNIQUE (holder, kind, nonce))",
          "CREATE TABLE answered_affiliations (digest BYTEA PRIMARY KEY, number BYTEA NOT NULL, "
          "reply BYTEA NOT NULL)"}},
    };
    return steps;
}

std::string NewConnectionName() {
    static std::atomic<int> n{0};
    return "quarnel-ta-" + std::to_string(++n);
}

QVariant ToVariant(const SqlValue& v) {
    if (const auto* s = std::get_if<std::string>(&v)) {
        // Never a null array: an empty text is stored empty, not NULL.
        return QByteArray(s->data(), qsizetype(s->size()));
    }
    if (const auto* d = std::get_if<double>(&v)) return *d;
    return qlonglong(std::get<long long>(v));
}

}  // namespace

bool ParseDatabaseUrl(const std::string& url, DatabaseAddress& out, std::string& error) {
    if (url.size() > kMaxDatabaseUrlLength) {
        error = "the database address is longer than " + std::to_string(kMaxDatabaseUrlLength) +
                " characters";
        return false;
    }
    const QUrl u(QString::fromStdString(url), QUrl::StrictMode);
    if (!u.isValid() || (u.scheme() != "postgresql" && u.scheme() != "postgres") ||
        u.host().isEmpty() || u.path().size() < 2 || u.path().indexOf('/', 1) >= 0) {
        error = "not a database address postgresql://user@host:port/dbname: " + url;
        return false;
    }
    if (!u.password().isEmpty()) {
        error =
            "the database address carries a password: give it in QUARNEL_TA_DB_PASSWORD or "
            "--db-password-file instead (a command line is visible to every user)";
        return false;
    }
    out.user = u.userName().toStdString();
    out.host = u.host().toStdString();
    out.port = u.port(5432);
    out.name = u.path().mid(1).toStdString();
    // Libpq options such as sslmode=require, as Qt passes them on.
    QStringList options;
    for (const auto& [k, v] : QUrlQuery(u).queryItems(QUrl::FullyDecoded)) {
        if (k.contains(';') || v.contains(';') || k == "password") {
            error = "unsupported database option: " + k.toStdString();
            return false;
        }
        options << k + "=" + v;
    }
    out.options = options.join(';').toStdString();
    return true;
}

Storage::Storage(bool postgres) : connection_(NewConnectionName()), postgres_(postgres) {}

Storage::~Storage() {
    prepared_.clear();
    if (db_.isValid()) db_.close();
    db_ = QSqlDatabase();
    QSqlDatabase::removeDatabase(QString::fromStdString(connection_));
}

std::unique_ptr<Storage> Storage::OpenSqlite(const std::filesystem::path& file, bool readOnly,
                                             std::string& error) {
    if (!QSqlDatabase::isDriverAvailable("QSQLITE")) {
        error = "the SQLite driver of Qt SQL is missing (Debian package libqt6sql6-sqlite)";
        return nullptr;
    }
    std::error_code ec;
    if (readOnly && !std::filesystem::is_regular_file(file, ec)) {
        error = "no database " + file.string();
        return nullptr;
    }
    std::unique_ptr<Storage> s(new Storage(false));
    s->db_ = QSqlDatabase::addDatabase("QSQLITE", QString::fromStdString(s->connection_));
    s->db_.setDatabaseName(QString::fromStdString(file.string()));
    s->db_.setConnectOptions(readOnly ? "QSQLITE_BUSY_TIMEOUT=10000;QSQLITE_OPEN_READONLY"
                                      : "QSQLITE_BUSY_TIMEOUT=10000");
    if (!s->Open(error)) return nullptr;
    if (readOnly) return s;
    // It holds the affiliates' signing keys.
    std::filesystem::permissions(
        file, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write, ec);
    if (!s->Exec("PRAGMA journal_mode = WAL") || !s->Migrate(error)) {
        if (error.empty()) error = "cannot prepare the database: " + s->lastError_;
        return nullptr;
    }
    return s;
}

std::unique_ptr<Storage> Storage::OpenPostgres(const std::string& url, const std::string& password,
                                               std::string& error) {
    DatabaseAddress address;
    if (!ParseDatabaseUrl(url, address, error)) return nullptr;
    address.password = password;
    if (!QSqlDatabase::isDriverAvailable("QPSQL")) {
        error = "the PostgreSQL driver of Qt SQL is missing (Debian package libqt6sql6-psql)";
        return nullptr;
    }
    std::unique_ptr<Storage> s(new Storage(true));
    s->db_ = QSqlDatabase::addDatabase("QPSQL", QString::fromStdString(s->connection_));
    s->db_.setHostName(QString::fromStdString(address.host));
    s->db_.setPort(address.port);
    s->db_.setDatabaseName(QString::fromStdString(address.name));
    s->db_.setUserName(QString::fromStdString(address.user));
    s->db_.setPassword(QString::fromStdString(address.password));
    std::string options = "connect_timeout=10";
    if (!address.options.empty()) options += ";" + address.options;
    s->db_.setConnectOptions(QString::fromStdString(options));
    if (!s->Open(error) || !s->Migrate(error)) return nullptr;
    return s;
}

bool Storage::Open(std::string& error) {
    if (db_.open()) return true;
    error = "cannot open the database: " + db_.lastError().text().toStdString();
    return false;
}

bool Storage::Exec(const QString& sql) {
    QSqlQuery q(db_);
    if (q.exec(sql)) return true;
    NoteError(q.lastError());
    return false;
}

void Storage::NoteError(const QSqlError& e) {
    lastError_ = e.text().toStdString();
    failed_ = true;
    const QString code = e.nativeErrorCode();
    // A serialisation failure, a deadlock, or a row another instance has just
    // written first (unique violation): run again, and find it there.
    lostRace_ = postgres_ && (code == "40001" || code == "40P01" || code == "23505");
}

bool Storage::Migrate(std::string& error) {
    // Instances starting together: the first brings the schema up to date,
    // the others wait for it and find nothing left to do.
    const bool begun = postgres_
                           ? Exec("BEGIN") && Exec("SET LOCAL client_min_messages = warning") &&
                                 Exec("SELECT pg_advisory_xact_lock(7317)")
                           : Exec("BEGIN IMMEDIATE");
    if (!begun || !Exec("CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL)")) {
        error = "cannot prepare the database: " + lastError_;
        Rollback();
        return false;
    }
    const int version = SchemaVersion();
    if (version < 0 || version > kSchemaVersion) {
        error = version < 0 ? "cannot read the schema version: " + lastError_
                            : "the database has schema version " + std::to_string(version) +
                                  ", newer than this program's " + std::to_string(kSchemaVersion);
        Rollback();
        return false;
    }
    for (int v = version + 1; v <= kSchemaVersion; ++v) {
        const Step& step = Steps()[std::size_t(v - 1)];
        for (const char* sql : postgres_ ? step.postgres : step.sqlite) {
            if (!Exec(sql)) {
                error = "schema step " + std::to_string(v) + " failed: " + lastError_;
                Rollback();
                return false;
            }
        }
        if ((v == 2 && !SeedNumberCounters(*this)) ||
            !Run("INSERT INTO schema_version (version) VALUES (?)", {(long long)v})) {
            error = "schema step " + std::to_string(v) + " failed: " + lastError_;
            Rollback();
            return false;
        }
    }
    if (Commit() != Outcome::Ok) {
        error = "cannot bring the schema up to date: " + lastError_;
        return false;
    }
    return true;
}

int Storage::SchemaVersion() {
    bool failed = false;
    const auto v = Single("SELECT MAX(version) FROM schema_version", {}, &failed);
    if (failed) return -1;
    return v && !v->empty() ? std::stoi(*v) : 0;
}

Storage::Outcome Storage::Begin() {
    lostRace_ = false;
    failed_ = false;
    // PostgreSQL: rows are locked where a request reads what it rewrites
    // (the number counter, the affiliate it updates); SQLite: one writer.
    const QString sql = postgres_ ? "BEGIN ISOLATION LEVEL READ COMMITTED" : "BEGIN IMMEDIATE";
    if (Exec(sql)) return Outcome::Ok;
    if (!postgres_) return Outcome::Busy;
    // The server restarted or the connection dropped: one fresh connection.
    prepared_.clear();
    db_.close();
    std::string error;
    failed_ = false;
    if (Open(error) && Exec(sql)) return Outcome::Ok;
    return Outcome::Busy;
}

Storage::Outcome Storage::Commit() {
    FinishAll();
    if (Exec("COMMIT")) return Outcome::Ok;
    Rollback();
    return Outcome::Failed;
}

// No statement left open across transactions (on SQLite it would hold its
// snapshot).
void Storage::FinishAll() {
    for (auto& [sql, q] : prepared_)
        q.finish();
}

void Storage::Rollback() {
    const bool race = lostRace_;
    const std::string error = lastError_;
    FinishAll();
    QSqlQuery q(db_);
    (void)q.exec("ROLLBACK");
    lostRace_ = race;
    lastError_ = error;
}

std::optional<QSqlQuery> Storage::Run(const char* sql, std::initializer_list<SqlValue> values) {
    auto it = prepared_.find(sql);
    if (it == prepared_.end()) {
        QSqlQuery q(db_);
        q.setForwardOnly(true);
        if (!q.prepare(QString::fromUtf8(sql))) {
            NoteError(q.lastError());
            return std::nullopt;
        }
        it = prepared_.emplace(sql, std::move(q)).first;
    }
    QSqlQuery& q = it->second;
    q.finish();
    int i = 0;
    for (const SqlValue& v : values)
        q.bindValue(i++, ToVariant(v));
    if (!q.exec()) {
        NoteError(q.lastError());
        return std::nullopt;
    }
    return q;
}

std::optional<std::string> Storage::Single(const char* sql, std::initializer_list<SqlValue> values,
                                           bool* failed) {
    auto q = Run(sql, values);
    if (failed) *failed = !q;
    if (!q || !q->next()) return std::nullopt;
    return Bytes(*q, 0);
}

std::string Storage::Bytes(const QSqlQuery& q, int column) {
    const QVariant v = q.value(column);
    if (v.isNull()) return {};
    const QByteArray b = v.toByteArray();
    return std::string(b.constData(), std::size_t(b.size()));
}

namespace {

struct Table {
    const char* name;
    const char* columns;
    int count;
};

// What an authority holds, in the order it is copied.
constexpr Table kTables[] = {
    {"affiliates",
     "number, category, digit, identity, version, flag, affiliated, signing_key, ta_key, updated",
     10},
    {"pair_keys", "low, high, key, issued", 4},
    {"issued_keys", "id, holder, subject, kind, issued", 5},
    {"certificates", "id, requester, sender, data, certified, text, issued", 7},
    {"answered_requests", "id, holder, kind, nonce, reply", 5},
    {"answered_affiliations", "digest, number, reply", 3},
};

}  // namespace

bool Storage::CopyFrom(Storage& source, std::string& summary, std::string& error) {
    const auto fail = [&](const std::string& what, Storage& where) {
        error = what + ": " + where.lastError_;
        Rollback();
        return false;
    };
    if (Begin() != Outcome::Ok) return fail("cannot begin the copy", *this);
    const auto held = Single("SELECT COUNT(*) FROM affiliates");
    if (!held) return fail("cannot count the affiliates already there", *this);
    if (*held != "0") {
        error = "the database already holds " + *held + " affiliates: copy only into a new one";
        Rollback();
        return false;
    }
    summary.clear();
    for (const Table& t : kTables) {
        auto rows = source.Run((std::string("SELECT ") + t.columns + " FROM " + t.name).c_str());
        if (!rows) return fail(std::string("cannot read ") + t.name, source);
        QString marks = "?";
        for (int i = 1; i < t.count; ++i)
            marks += ", ?";
        QSqlQuery insert(db_);
        if (!insert.prepare(
                QString("INSERT INTO %1 (%2) VALUES (%3)").arg(t.name, t.columns, marks))) {
            NoteError(insert.lastError());
            return fail(std::string("cannot write ") + t.name, *this);
        }
        long long copied = 0;
        while (rows->next()) {
            for (int i = 0; i < t.count; ++i) {
                QVariant v = rows->value(i);
                // Texts go as the bytes they are.
                if (v.typeId() == QMetaType::QString) v = v.toString().toUtf8();
                insert.bindValue(i, v);
            }
            if (!insert.exec()) {
                NoteError(insert.lastError());
                return fail(std::string("cannot write ") + t.name, *this);
            }
            ++copied;
        }
        const std::string count = std::string("SELECT COUNT(*) FROM ") + t.name;
        const auto there = source.Single(count.c_str());
        const auto here = Single(count.c_str());
        if (!there || !here || *there != *here || *here != std::to_string(copied)) {
            error = std::string("the counts of ") + t.name +
                    " differ after the copy: " + (there ? *there : "?") + " read, " +
                    (here ? *here : "?") + " written";
            Rollback();
            return false;
        }
        summary += std::string(summary.empty() ? "" : ", ") + *here + " " + t.name;
    }
    if (!SeedNumberCounters(*this)) return fail("cannot set the number counters", *this);
    if (postgres_) {
        for (const char* table : {"issued_keys", "certificates", "answered_requests"}) {
            const std::string sql = std::string("SELECT setval(pg_get_serial_sequence('") + table +
                                    "', 'id'), COALESCE(MAX(id), 0) + 1, false) FROM " + table;
            if (!Run(sql.c_str())) return fail("cannot set the row numbers", *this);
        }
    }
    if (Commit() != Outcome::Ok) return fail("cannot commit the copy", *this);
    return true;
}

bool SeedNumberCounters(Storage& storage) {
    // Highest number by category; ordered rather than MAX, which PostgreSQL
    // has no form of for bytes.
    auto q = storage.Run("SELECT DISTINCT category FROM affiliates");
    if (!q) return false;
    std::vector<std::string> categories;
    while (q->next())
        categories.push_back(Storage::Bytes(*q, 0));
    std::vector<std::pair<std::string, long long>> next;
    for (const std::string& category : categories) {
        bool failed = false;
        const auto number = storage.Single(
            "SELECT number FROM affiliates WHERE category = ? ORDER BY number DESC LIMIT 1",
            {category}, &failed);
        if (failed) return false;
        if (!number || number->size() != 11 || !IsHexText(number->substr(3), 8)) continue;
        next.emplace_back(category, (long long)HexToWord(number->substr(3)) + 1);
    }
    for (const auto& [category, n] : next) {
        if (!storage.Run("INSERT INTO number_counters (category, next) VALUES (?, ?) "
                         "ON CONFLICT (category) DO UPDATE SET next = excluded.next",
                         {category, n})) {
            return false;
        }
    }
    return true;
}

}  // namespace quarnel::ta
