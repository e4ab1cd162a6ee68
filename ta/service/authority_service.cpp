#include "ta/service/authority_service.h"

#include <sqlite3.h>

#include <optional>
#include <variant>

#include "crypto/bignum.h"
#include "crypto/datetime.h"
#include "crypto/dh_constants.h"
#include "crypto/hextext.h"
#include "crypto/secret.h"
#include "protocol/body.h"
#include "protocol/identity.h"
#include "store/atomic_file.h"
#include "store/ta_parameters.h"
#include "ta/core/requests.h"

namespace quarnel::ta {
namespace {

// A prepared statement that finalises itself.
class Statement {
  public:
    Statement(sqlite3* db, const char* sql) {
        ok_ = sqlite3_prepare_v2(db, sql, -1, &s_, nullptr) == SQLITE_OK;
    }
    ~Statement() { sqlite3_finalize(s_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& Bind(int i, std::string_view text) {
        ok_ = ok_ && sqlite3_bind_blob(s_, i, text.data(), int(text.size()), SQLITE_TRANSIENT) ==
                         SQLITE_OK;
        return *this;
    }
    Statement& Bind(int i, double v) {
        ok_ = ok_ && sqlite3_bind_double(s_, i, v) == SQLITE_OK;
        return *this;
    }
    /// True while a row is there.
    bool Step() {
        if (!ok_) return false;
        const int rc = sqlite3_step(s_);
        if (rc == SQLITE_ROW) return true;
        ok_ = rc == SQLITE_DONE;
        return false;
    }
    bool ok() const { return ok_; }
    std::string Text(int col) const {
        const void* p = sqlite3_column_blob(s_, col);
        const int n = sqlite3_column_bytes(s_, col);
        return p ? std::string(static_cast<const char*>(p), std::size_t(n)) : std::string();
    }
    double Real(int col) const { return sqlite3_column_double(s_, col); }

  private:
    sqlite3_stmt* s_ = nullptr;
    bool ok_ = false;
};

// A refusal: nothing of the request is stored.
struct Refusal {
    int status;
    std::string reason;
};

Refusal Malformed(std::string_view why) {
    return {400, Cp1252Text("Demande mal formée : ") + std::string(why)};
}

bool IdentityFits(char category, const std::vector<std::string>& identity) {
    return !SenderIdentityFields(category, identity).empty();
}

// The section of a kind 01 or 18 request, which must open with the sender's
// signing key.
std::optional<Refusal> OpenSigned(const Lines& lines, const Affiliate& holder,
                                  DecipheredText& section) {
    std::string why;
    if (OpenSignedRequest(lines, holder.signingKey, section, why)) return std::nullopt;
    return Refusal{403, Cp1252Text("Clef erronée : la demande n'est pas chiffrée par la clef de ") +
                            holder.number};
}

}  // namespace

std::string PrivateExponentFileName(const std::string& code) {
    return "private-exponent-" + code + ".txt";
}

bool InitialiseAuthority(const std::filesystem::path& dir, const std::string& code,
                         std::string& error) {
    if (!IsHexText(code, 3)) {
        error = "the TA code must be three upper-case hexadecimal digits";
        return false;
    }
    const auto params = dir / (std::string(kTaParameterPrefix) + code);
    const auto secret = dir / PrivateExponentFileName(code);
    std::error_code ec;
    if (std::filesystem::exists(params, ec) || std::filesystem::exists(secret, ec)) {
        error = "an authority with code " + code + " already exists in " + dir.string();
        return false;
    }
    std::filesystem::create_directories(dir, ec);
    const RandomSource random = SystemRandom();
    SecretBig t;
    for (std::size_t i = 0; i < 32; i += 4) {
        const Quad q = random();
        for (std::size_t j = 0; j < 4; ++j)
            (*t)[i + j] = q[j];
    }
    (*t)[31] &= 0x3FFFFFFFu;  // below the modulus
    const Big y = ModPowBigSecret(SystemBase(), *t, SystemModulus());
    SecretString exponentText(BigToHex(*t));
    if (!WriteFileAtomically(secret, *exponentText + "\r\n", &error)) return false;
    std::filesystem::permissions(
        secret, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write, ec);
    return WriteFileAtomically(params, JoinLinesCrLf(TaParameterLines(y)), &error);
}

struct AuthorityService::Impl {
    sqlite3* db = nullptr;
    Big exponent{};
    RandomSource random;
    std::string code;

    ~Impl() {
        WipeBig(exponent);
        sqlite3_close(db);
    }

    bool Exec(const char* sql) {
        return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
    }

    std::optional<Affiliate> Load(const std::string& number) {
        Statement s(db,
                    "SELECT category, digit, identity, version, flag, affiliated, signing_key, "
                    "ta_key FROM affiliates WHERE number = ?");
        s.Bind(1, number);
        if (!s.Step()) return std::nullopt;
        Affiliate a;
        a.number = number;
        a.category = s.Text(0).empty() ? '?' : s.Text(0)[0];
        a.digit = s.Text(1).empty() ? '0' : s.Text(1)[0];
        a.identity = SplitAtLineBreaks(s.Text(2));
        a.versionCode = s.Text(3);
        a.registrationFlag = s.Text(4).empty() ? '0' : s.Text(4)[0];
        a.affiliationDate = s.Real(5);
        a.signingKey = HexToQuad(s.Text(6));
        a.taKey = HexToQuad(s.Text(7));
        return a;
    }

    bool Save(const Affiliate& a) {
        Statement s(db,
                    "INSERT OR REPLACE INTO affiliates (number, category, digit, identity, "
                    "version, flag, affiliated, signing_key, ta_key, updated) "
                    "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
        s.Bind(1, a.number)
            .Bind(2, std::string(1, a.category))
            .Bind(3, std::string(1, a.digit))
            .Bind(4, JoinWithCarriageReturns(a.identity))
            .Bind(5, a.versionCode)
            .Bind(6, std::string(1, a.registrationFlag))
            .Bind(7, a.affiliationDate)
            .Bind(8, QuadToHex(a.signingKey))
            .Bind(9, QuadToHex(a.taKey))
            .Bind(10, OleNow());
        s.Step();
        return s.ok();
    }

    std::optional<std::string> NextNumber(char category) {
        Statement s(db, "SELECT MAX(number) FROM affiliates WHERE category = ?");
        s.Bind(1, std::string(1, category));
        const auto [first, end] = NumbersOf(category);
        std::uint32_t next = first;
        if (s.Step() && s.Text(0).size() == 11) {
            next = std::max(next, HexToWord(s.Text(0).substr(3)) + 1);
        }
        if (!s.ok() || next >= end) return std::nullopt;
        return code + WordToHex(next);
    }

    // The pair key the lower number writes with; a fresh one when asked or
    // when none exists yet.
    std::optional<Quad> PairKey(const std::string& x, const std::string& y, bool renew) {
        const std::string& low = std::min(x, y);
        const std::string& high = std::max(x, y);
        if (!renew) {
            Statement s(db, "SELECT key FROM pair_keys WHERE low = ? AND high = ?");
            s.Bind(1, low).Bind(2, high);
            if (s.Step()) return HexToQuad(s.Text(0));
            if (!s.ok()) return std::nullopt;
        }
        const Quad k = RandomKey(random);
        Statement s(
            db, "INSERT OR REPLACE INTO pair_keys (low, high, key, issued) VALUES (?, ?, ?, ?)");
        s.Bind(1, low).Bind(2, high).Bind(3, QuadToHex(k)).Bind(4, OleNow());
        s.Step();
        if (!s.ok()) return std::nullopt;
        return k;
    }

    // --- request kinds; a Refusal leaves the transaction to be rolled back.

    std::variant<Reply, Refusal> Affiliation(const Lines& lines, const AddressFields& a) {
        if (a.senderNumber != code + "00000000") {
            return Refusal{
                403, Cp1252Text("Cette demande est adressée à un autre Organisme de Confiance")};
        }
        AffiliationRequest request;
        std::string why;
        if (!OpenAffiliationRequest(lines, exponent, request, why)) return Malformed(why);
        Affiliate holder;
        holder.category = request.identity.field2;
        holder.identity = SplitAtLineBreaks(request.identity.text);
        if (!IdentityFits(holder.category, holder.identity)) {
            return Malformed("identity of " + std::to_string(holder.identity.size()) +
                             " lines for category " + std::string(1, holder.category));
        }
        const auto number = NextNumber(holder.category);
        if (!number) return Refusal{503, Cp1252Text("Plus aucun numéro d'affiliation disponible")};
        holder.number = *number;
        holder.digit = a.senderDigit;
        holder.versionCode = request.identity.code;
        holder.registrationFlag = '0';
        holder.affiliationDate = OleNow();
        holder.signingKey = RandomKey(random);
        holder.taKey = request.taKey;
        if (!Save(holder)) return Refusal{500, "Erreur interne"};
        return Answer(Kind::PrivateKey, holder, kNoNumber, PrivateKeyLines(holder));
    }

    std::variant<Affiliate, Refusal> Sender(const AddressFields& a) {
        auto sender = Load(a.senderNumber);
        if (!sender) return Refusal{403, Cp1252Text("Expéditeur inconnu : ") + a.senderNumber};
        if (sender->digit != a.senderDigit) {
            return Refusal{403, Cp1252Text("Génération de clef inconnue pour ") + a.senderNumber};
        }
        return *sender;
    }

    std::variant<Reply, Refusal> Update(const Lines& lines, Affiliate holder) {
        DecipheredText section;
        if (auto refusal = OpenSigned(lines, holder, section)) return *refusal;
        auto identity = SplitAtLineBreaks(section.text);
        if (section.field2 != holder.category || !IdentityFits(holder.category, identity)) {
            return Malformed("the identity does not fit the category of " + holder.number);
        }
        holder.identity = std::move(identity);
        holder.versionCode = section.code;
        if (!Save(holder)) return Refusal{500, "Erreur interne"};
        return Answer(Kind::Updated, holder, kNoNumber, SealLines(holder));
    }

    std::variant<Reply, Refusal> Key(const Lines& lines, const AddressFields& a,
                                     const Affiliate& holder) {
        if (lines.size() != 3 || lines[2] != kEndMarkerLine) {
            return Malformed("a key request has no lines after the address line");
        }
        if (a.recipientNumber == holder.number) {
            return Refusal{400,
                           Cp1252Text("Une clef ne peut être demandée pour son propre numéro")};
        }
        const auto subject = Load(a.recipientNumber);
        if (!subject)
            return Refusal{404, Cp1252Text("Correspondant inconnu : ") + a.recipientNumber};
        const auto k = PairKey(holder.number, subject->number, a.kind == Kind::KeyUpdate);
        if (!k) return Refusal{500, "Erreur interne"};
        const Quad mine = holder.number < subject->number ? *k : InverseKey(*k);
        const KeyIssue issue = IssueKey(holder, *subject, mine, random);
        Statement s(db,
                    "INSERT INTO issued_keys (holder, subject, kind, issued) VALUES (?, ?, ?, ?)");
        s.Bind(1, holder.number).Bind(2, subject->number).Bind(3, a.kindText).Bind(4, OleNow());
        s.Step();
        if (!s.ok()) return Refusal{500, "Erreur interne"};
        Lines out{issue.w, issue.a, issue.k3, issue.k4, issue.q};
        out.insert(out.end(), issue.section.begin(), issue.section.end());
        return Answer(a.kind == Kind::Key ? Kind::KeyDelivered : Kind::KeyUpdated, holder,
                      subject->number, out);
    }

    std::variant<Reply, Refusal> Certification(const Lines& lines, const Affiliate& holder) {
        DecipheredText section;
        if (auto refusal = OpenSigned(lines, holder, section)) return *refusal;
        CertificationData data;
        if (!ParseCertificationData(section.text, data)) {
            return Malformed("the certification data is not address, digest, signature, date");
        }
        AddressFields certified;
        (void)ParseAddressLine(data.addressLine, certified);
        const auto sender = Load(certified.senderNumber);
        const double now = OleNow();
        const std::string text = CertificateText(data, sender ? &*sender : nullptr, code, now);
        Statement s(db,
                    "INSERT INTO certificates (requester, sender, data, certified, text, issued) "
                    "VALUES (?, ?, ?, ?, ?, ?)");
        s.Bind(1, holder.number)
            .Bind(2, certified.senderNumber)
            .Bind(3, section.text)
            .Bind(4, std::string(sender && SignatureIsSenders(data, *sender) ? "1" : "0"))
            .Bind(5, text)
            .Bind(6, now);
        s.Step();
        if (!s.ok()) return Refusal{500, "Erreur interne"};
        return Answer(Kind::Certificate, holder, kNoNumber,
                      CertificateLines(holder, text, now, random));
    }

    Reply Answer(Kind replyKind, const Affiliate& holder, const std::string& other,
                 const Lines& lines) {
        Reply r;
        r.body = JoinLinesCrLf(ReplyBody(
            AddressLine(replyKind, DateCode(), holder.digit, holder.digit, other, holder.number),
            lines));
        r.holder = holder.number;
        return r;
    }
};

AuthorityService::~AuthorityService() = default;

std::unique_ptr<AuthorityService> AuthorityService::Open(const std::filesystem::path& dir,
                                                         std::string& error, RandomSource random) {
    const auto file = FindTaParameterFile(dir);
    if (!file) {
        error = "no " + std::string(kTaParameterPrefix) + "* file in " + dir.string() +
                " (run quarnel-ta init first)";
        return nullptr;
    }
    TaParameters params;
    if (!ReadTaParameterFile(*file, params, &error)) return nullptr;
    const auto secretFile = dir / PrivateExponentFileName(params.code);
    auto secret = ReadWholeFile(secretFile);
    if (!secret) {
        error = "cannot read " + secretFile.string();
        return nullptr;
    }
    auto lines = SplitLines(*secret);
    WipeString(*secret);
    if (lines.empty() || !IsHexText(lines[0], 256)) {
        error = secretFile.string() + " does not hold 256 hexadecimal digits";
        return nullptr;
    }
    std::unique_ptr<AuthorityService> service(new AuthorityService);
    service->code_ = params.code;
    service->impl_ = std::make_unique<Impl>();
    Impl& impl = *service->impl_;
    impl.exponent = HexToBig(lines[0]);
    WipeLines(lines);
    impl.random = std::move(random);
    impl.code = params.code;
    if (ModPowBigSecret(SystemBase(), impl.exponent, SystemModulus()) != params.publicValue) {
        error = secretFile.string() + " does not belong to " + file->string();
        return nullptr;
    }
    const auto dbPath = dir / kDatabaseFileName;
    if (sqlite3_open(dbPath.string().c_str(), &impl.db) != SQLITE_OK) {
        error = "cannot open " + dbPath.string();
        return nullptr;
    }
    // It holds the affiliates' signing keys.
    std::error_code ec;
    std::filesystem::permissions(
        dbPath, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write, ec);
    sqlite3_busy_timeout(impl.db, 10000);
    if (!impl.Exec("PRAGMA journal_mode = WAL") ||
        !impl.Exec("CREATE TABLE IF NOT EXISTS affiliates (number TEXT PRIMARY KEY, category TEXT, "
                   "digit TEXT, identity BLOB, version TEXT, flag TEXT, affiliated REAL, "
                   "signing_key TEXT, ta_key TEXT, updated REAL);"
                   "CREATE TABLE IF NOT EXISTS pair_keys (low TEXT, high TEXT, key TEXT, "
                   "issued REAL, PRIMARY KEY (low, high));"
                   "CREATE TABLE IF NOT EXISTS issued_keys (id INTEGER PRIMARY KEY, holder TEXT, "
                   "subject TEXT, kind TEXT, issued REAL);"
                   "CREATE TABLE IF NOT EXISTS certificates (id INTEGER PRIMARY KEY, "
                   "requester TEXT, sender TEXT, data BLOB, certified TEXT, text BLOB, "
                   "issued REAL);")) {
        error = std::string("cannot prepare the database: ") + sqlite3_errmsg(impl.db);
        return nullptr;
    }
    return service;
}

int AuthorityService::DefaultPort() const {
    return 50000 + int(HexToWord(code_));
}

Reply AuthorityService::Handle(std::string_view requestData) {
    Impl& impl = *impl_;
    Lines lines;
    AddressFields a;
    auto refuse = [](const Refusal& r, const std::string& kind, const std::string& holder) {
        Reply reply{r.status, r.reason, r.reason + "\r\n", kind, holder};
        return reply;
    };
    if (!SplitRequestData(requestData, lines) || !ParseAddressLine(lines[1], a) ||
        !IsHexText(lines[1], 32)) {
        return refuse(Malformed("the data is not lines of 32 digits each followed by Z"), "", "");
    }
    if (!impl.Exec("BEGIN IMMEDIATE"))
        return refuse({503, Cp1252Text("Serveur occupé")}, a.kindText, "");
    std::variant<Reply, Refusal> outcome = Refusal{400, ""};
    if (a.kind == Kind::Affiliation) {
        outcome = impl.Affiliation(lines, a);
    } else if (IsTaRequestKind(a.kind)) {
        auto sender = impl.Sender(a);
        if (auto* refusal = std::get_if<Refusal>(&sender)) {
            outcome = *refusal;
        } else {
            const Affiliate& holder = std::get<Affiliate>(sender);
            if (a.kind == Kind::Update) {
                outcome = impl.Update(lines, holder);
            } else if (a.kind == Kind::Certification) {
                outcome = impl.Certification(lines, holder);
            } else {
                outcome = impl.Key(lines, a, holder);
            }
        }
    } else {
        outcome = Refusal{400, "Type de demande inconnu : " + a.kindText};
    }
    if (auto* refusal = std::get_if<Refusal>(&outcome)) {
        (void)impl.Exec("ROLLBACK");
        return refuse(*refusal, a.kindText, a.senderNumber);
    }
    if (!impl.Exec("COMMIT")) {
        (void)impl.Exec("ROLLBACK");
        return refuse({500, "Erreur interne"}, a.kindText, a.senderNumber);
    }
    Reply reply = std::get<Reply>(std::move(outcome));
    reply.kind = a.kindText;
    return reply;
}

bool AuthorityService::SetRegistered(const std::string& number, bool registered) {
    auto a = impl_->Load(number);
    if (!a) return false;
    a->registrationFlag = registered ? '1' : '0';
    return impl_->Save(*a);
}

}  // namespace quarnel::ta
