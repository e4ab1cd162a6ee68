// SPDX-License-Identifier: GPL-3.0-or-later
#include "ta/service/authority_service.h"

#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <optional>
#include <thread>
#include <variant>

#include "crypto/bignum.h"
#include "crypto/datetime.h"
#include "crypto/dh_constants.h"
#include "crypto/hextext.h"
#include "crypto/secret.h"
#include "crypto/text_cipher.h"
#include "protocol/body.h"
#include "protocol/identity.h"
#include "protocol/lines.h"
#include "store/atomic_file.h"
#include "store/ta_parameters.h"
#include "ta/core/requests.h"
#include "ta/service/storage.h"

namespace quarnel::ta {
namespace {

// A refusal: nothing of the request is stored.
struct Refusal {
    int status;
    std::string reason;
};

Refusal Malformed(std::string_view why) {
    return {400, Cp1252Text("Demande mal formée : ") + std::string(why)};
}

// The identity of a kind 00 or 01 request: the lines of its category, each no
// longer than the form's field.
std::optional<Refusal> CheckIdentity(char category, const std::vector<std::string>& identity,
                                     const std::string& whose) {
    if (SenderIdentityFields(category, identity).empty()) {
        return Malformed("identity of " + std::to_string(identity.size()) + " lines for category " +
                         std::string(1, category) + whose);
    }
    if (const auto line = IdentityLineTooLong(category, identity)) {
        const std::size_t field = *line + (category == 'A' ? 2 : 0);
        return Malformed("identity line " + std::to_string(*line + 1) + " is longer than " +
                         std::to_string(kIdentityLineMax[field]) + " characters");
    }
    return std::nullopt;
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
    std::unique_ptr<Storage> db;
    Big exponent{};
    RandomSource random;
    std::string code;
    long long answeredKept = kAnsweredKept;

    ~Impl() { WipeBig(exponent); }

    // `forUpdate`: the row stays locked until the transaction ends, as the
    // affiliate is about to be rewritten.
    std::optional<Affiliate> Load(const std::string& number, bool forUpdate = false) {
        auto s = db->Run(forUpdate && db->postgres()
                             ? "SELECT category, digit, identity, version, flag, affiliated, "
                               "signing_key, ta_key FROM affiliates WHERE number = ? FOR UPDATE"
                             : "SELECT category, digit, identity, version, flag, affiliated, "
                               "signing_key, ta_key FROM affiliates WHERE number = ?",
                         {number});
        if (!s || !s->next()) return std::nullopt;
        const auto text = [&s](int col) { return Storage::Bytes(*s, col); };
        Affiliate a;
        a.number = number;
        a.category = text(0).empty() ? '?' : text(0)[0];
        a.digit = text(1).empty() ? '0' : text(1)[0];
        a.identity = SplitAtLineBreaks(text(2));
        a.versionCode = text(3);
        a.registrationFlag = text(4).empty() ? '0' : text(4)[0];
        a.affiliationDate = s->value(5).toDouble();
        a.signingKey = HexToQuad(text(6));
        a.taKey = HexToQuad(text(7));
        return a;
    }

    // A new affiliate never replaces one already there.
    bool Save(const Affiliate& a, bool isNew = false) {
        static const std::string insert =
            "INSERT INTO affiliates (number, category, digit, identity, version, flag, "
            "affiliated, signing_key, ta_key, updated) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)";
        static const std::string upsert =
            insert +
            " ON CONFLICT (number) DO UPDATE SET category = excluded.category, "
            "digit = excluded.digit, identity = excluded.identity, version = excluded.version, "
            "flag = excluded.flag, affiliated = excluded.affiliated, "
            "signing_key = excluded.signing_key, ta_key = excluded.ta_key, "
            "updated = excluded.updated";
        return db
            ->Run((isNew ? insert : upsert).c_str(),
                  {a.number, std::string(1, a.category), std::string(1, a.digit),
                   JoinWithCarriageReturns(a.identity), a.versionCode,
                   std::string(1, a.registrationFlag), a.affiliationDate, QuadToHex(a.signingKey),
                   QuadToHex(a.taKey), OleNow()})
            .has_value();
    }

    // The number, or a refusal (none left, or the database failed). The
    // counter row of the category stays locked until the request's
    // transaction ends, so no two instances draw the same number.
    std::variant<std::string, Refusal> NextNumber(char category) {
        const auto [first, end] = NumbersOf(category);
        const std::string c(1, category);
        if (!db->Run("INSERT INTO number_counters (category, next) VALUES (?, ?) "
                     "ON CONFLICT (category) DO NOTHING",
                     {c, (long long)first})) {
            return Refusal{500, "Erreur interne"};
        }
        const auto drawn = db->Single(
            "UPDATE number_counters SET next = next + 1 WHERE category = ? RETURNING next - 1",
            {c});
        if (!drawn || drawn->empty()) return Refusal{500, "Erreur interne"};
        const long long next = std::stoll(*drawn);
        if (next < (long long)first || next >= (long long)end) {
            return Refusal{503, Cp1252Text("Plus aucun numéro d'affiliation disponible")};
        }
        return code + WordToHex(Word(next));
    }

    // The pair key the lower number writes with; a fresh one when asked or
    // when none exists yet. Two instances drawing the first key of one pair
    // at once both end with the one that was stored first.
    std::optional<Quad> PairKey(const std::string& x, const std::string& y, bool renew) {
        const std::string& low = std::min(x, y);
        const std::string& high = std::max(x, y);
        if (!renew) {
            bool failed = false;
            const auto held = db->Single("SELECT key FROM pair_keys WHERE low = ? AND high = ?",
                                         {low, high}, &failed);
            if (held) return HexToQuad(*held);
            if (failed) return std::nullopt;
        }
        const Quad k = RandomKey(random);
        if (renew) {
            if (!db->Run("INSERT INTO pair_keys (low, high, key, issued) VALUES (?, ?, ?, ?) "
                         "ON CONFLICT (low, high) DO UPDATE SET key = excluded.key, "
                         "issued = excluded.issued",
                         {low, high, QuadToHex(k), OleNow()})) {
                return std::nullopt;
            }
            return k;
        }
        if (!db->Run("INSERT INTO pair_keys (low, high, key, issued) VALUES (?, ?, ?, ?) "
                     "ON CONFLICT (low, high) DO NOTHING",
                     {low, high, QuadToHex(k), OleNow()})) {
            return std::nullopt;
        }
        const auto stored =
            db->Single("SELECT key FROM pair_keys WHERE low = ? AND high = ?", {low, high});
        if (!stored) return std::nullopt;
        return HexToQuad(*stored);
    }

    // --- requests answered before: their reply again, nothing changed.

    static Reply Again(std::string body, std::string holder) {
        Reply r;
        r.body = std::move(body);
        r.holder = std::move(holder);
        r.replayed = true;
        return r;
    }

    std::optional<Reply> AnsweredAffiliation(const std::string& digest) {
        auto q =
            db->Run("SELECT number, reply FROM answered_affiliations WHERE digest = ?", {digest});
        if (!q || !q->next()) return std::nullopt;
        return Again(Storage::Bytes(*q, 1), Storage::Bytes(*q, 0));
    }

    std::optional<Reply> Answered(const AddressFields& a, const std::string& nonce) {
        auto body = db->Single(
            "SELECT reply FROM answered_requests WHERE holder = ? AND kind = ? AND nonce = ?",
            {a.senderNumber, a.kindText, nonce});
        if (!body) return std::nullopt;
        return Again(std::move(*body), a.senderNumber);
    }

    // Keeps the reply, and only the last kAnsweredKept of the sender's kind.
    bool Remember(const AddressFields& a, const std::string& nonce, const Reply& reply) {
        return db->Run(
                   "INSERT INTO answered_requests (holder, kind, nonce, reply) "
                   "VALUES (?, ?, ?, ?)",
                   {a.senderNumber, a.kindText, nonce, reply.body}) &&
               db->Run(
                   "DELETE FROM answered_requests WHERE holder = ? AND kind = ? AND id <= "
                   "(SELECT id FROM answered_requests WHERE holder = ? AND kind = ? "
                   "ORDER BY id DESC LIMIT 1 OFFSET ?)",
                   {a.senderNumber, a.kindText, a.senderNumber, a.kindText, answeredKept});
    }

    // --- request kinds; a Refusal leaves the transaction to be rolled back.

    std::variant<Reply, Refusal> Affiliation(const Lines& lines, const AddressFields& a,
                                             std::string_view requestData) {
        if (a.senderNumber != code + "00000000") {
            return Refusal{
                403, Cp1252Text("Cette demande est adressée à un autre Organisme de Confiance")};
        }
        Quad d{};
        if (!CondenseText(requestData, d)) return Refusal{500, "Erreur interne"};
        const std::string digest = QuadToHex(d);
        if (auto again = AnsweredAffiliation(digest)) return *again;
        AffiliationRequest request;
        std::string why;
        if (!OpenAffiliationRequest(lines, exponent, request, why)) return Malformed(why);
        Affiliate holder;
        holder.category = request.identity.field2;
        holder.identity = SplitAtLineBreaks(request.identity.text);
        if (auto refusal = CheckIdentity(holder.category, holder.identity, "")) return *refusal;
        auto number = NextNumber(holder.category);
        if (auto* refusal = std::get_if<Refusal>(&number)) return *refusal;
        holder.number = std::get<std::string>(std::move(number));
        holder.digit = a.senderDigit;
        holder.versionCode = request.identity.code;
        holder.registrationFlag = '0';
        holder.affiliationDate = OleNow();
        holder.signingKey = RandomKey(random);
        holder.taKey = request.taKey;
        if (!Save(holder, true)) return Refusal{500, "Erreur interne"};
        Reply reply = Answer(Kind::PrivateKey, holder, kNoNumber, PrivateKeyLines(holder));
        if (!db->Run("INSERT INTO answered_affiliations (digest, number, reply) VALUES (?, ?, ?)",
                     {digest, holder.number, reply.body})) {
            return Refusal{500, "Erreur interne"};
        }
        return reply;
    }

    std::variant<Affiliate, Refusal> Sender(const AddressFields& a) {
        auto sender = Load(a.senderNumber, a.kind == Kind::Update);
        if (!sender) return Refusal{403, Cp1252Text("Expéditeur inconnu : ") + a.senderNumber};
        if (sender->digit != a.senderDigit) {
            return Refusal{403, Cp1252Text("Génération de clef inconnue pour ") + a.senderNumber};
        }
        return *sender;
    }

    std::variant<Reply, Refusal> Update(const Lines& lines, const AddressFields& a,
                                        Affiliate holder) {
        DecipheredText section;
        if (auto refusal = OpenSigned(lines, holder, section)) return *refusal;
        // An old update sent again after a newer one must not bring the old
        // identity back.
        if (auto again = Answered(a, lines[2])) return *again;
        auto identity = SplitAtLineBreaks(section.text);
        if (section.field2 != holder.category) {
            return Malformed("the identity does not fit the category of " + holder.number);
        }
        if (auto refusal = CheckIdentity(holder.category, identity, " of " + holder.number)) {
            return *refusal;
        }
        holder.identity = std::move(identity);
        holder.versionCode = section.code;
        if (!Save(holder)) return Refusal{500, "Erreur interne"};
        Reply reply = Answer(Kind::Updated, holder, kNoNumber, SealLines(holder));
        if (!Remember(a, lines[2], reply)) return Refusal{500, "Erreur interne"};
        return reply;
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
        if (!db->Run("INSERT INTO issued_keys (holder, subject, kind, issued) VALUES (?, ?, ?, ?)",
                     {holder.number, subject->number, a.kindText, OleNow()})) {
            return Refusal{500, "Erreur interne"};
        }
        Lines out{issue.w, issue.a, issue.k3, issue.k4, issue.q};
        out.insert(out.end(), issue.section.begin(), issue.section.end());
        return Answer(a.kind == Kind::Key ? Kind::KeyDelivered : Kind::KeyUpdated, holder,
                      subject->number, out);
    }

    std::variant<Reply, Refusal> Certification(const Lines& lines, const AddressFields& a,
                                               const Affiliate& holder) {
        DecipheredText section;
        if (auto refusal = OpenSigned(lines, holder, section)) return *refusal;
        if (auto again = Answered(a, lines[2])) return *again;
        CertificationData data;
        if (!ParseCertificationData(section.text, data)) {
            return Malformed("the certification data is not address, digest, signature, date");
        }
        AddressFields certified;
        (void)ParseAddressLine(data.addressLine, certified);
        const auto sender = Load(certified.senderNumber);
        const double now = OleNow();
        const std::string text = CertificateText(data, sender ? &*sender : nullptr, code, now);
        if (!db->Run("INSERT INTO certificates (requester, sender, data, certified, text, issued) "
                     "VALUES (?, ?, ?, ?, ?, ?)",
                     {holder.number, certified.senderNumber, section.text,
                      std::string(sender && SignatureIsSenders(data, *sender) ? "1" : "0"), text,
                      now})) {
            return Refusal{500, "Erreur interne"};
        }
        Reply reply = Answer(Kind::Certificate, holder, kNoNumber,
                             CertificateLines(holder, text, now, random));
        if (!Remember(a, lines[2], reply)) return Refusal{500, "Erreur interne"};
        return reply;
    }

    std::variant<Reply, Refusal> Decide(const Lines& lines, const AddressFields& a,
                                        std::string_view requestData) {
        if (a.kind == Kind::Affiliation) return Affiliation(lines, a, requestData);
        if (!IsTaRequestKind(a.kind)) {
            return Refusal{400, "Type de demande inconnu : " + a.kindText};
        }
        auto sender = Sender(a);
        if (auto* refusal = std::get_if<Refusal>(&sender)) return *refusal;
        const Affiliate& holder = std::get<Affiliate>(sender);
        if (a.kind == Kind::Update) return Update(lines, a, holder);
        if (a.kind == Kind::Certification) return Certification(lines, a, holder);
        return Key(lines, a, holder);
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
    ServiceOptions options;
    options.dir = dir;
    return Open(options, error, std::move(random));
}

bool CheckExponentFile(const std::filesystem::path& file, std::string& error) {
    struct stat st {};
    if (::stat(file.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        error = "cannot read " + file.string();
        return false;
    }
    if ((st.st_mode & 077) != 0) {
        char mode[8];
        std::snprintf(mode, sizeof mode, "%04o", unsigned(st.st_mode & 07777));
        error = file.string() + " holds the private exponent but other users may open it (mode " +
                mode + "): run chmod 600 " + file.string();
        return false;
    }
    if (st.st_size > std::intmax_t(kMaxExponentFileSize)) {
        error = file.string() + " is larger than " + std::to_string(kMaxExponentFileSize) +
                " bytes: not an exponent file";
        return false;
    }
    return true;
}

std::unique_ptr<AuthorityService> AuthorityService::Open(const ServiceOptions& options,
                                                         std::string& error, RandomSource random) {
    const std::filesystem::path& dir = options.dir;
    const auto file = FindTaParameterFile(dir);
    if (!file) {
        error = "no " + std::string(kTaParameterPrefix) + "* file in " + dir.string() +
                " (run quarnel-ta init first)";
        return nullptr;
    }
    TaParameters params;
    if (!ReadTaParameterFile(*file, params, &error)) return nullptr;
    const bool shared = !options.exponentFile.empty();
    const auto secretFile =
        shared ? options.exponentFile : dir / PrivateExponentFileName(params.code);
    if (shared && !CheckExponentFile(secretFile, error)) return nullptr;
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
    impl.answeredKept = options.answeredKept;
    if (ModPowBigSecret(SystemBase(), impl.exponent, SystemModulus()) != params.publicValue) {
        error = secretFile.string() + " does not belong to " + file->string();
        return nullptr;
    }
    if (options.databaseUrl.empty()) {
        impl.db = Storage::OpenSqlite(dir / kDatabaseFileName, false, error);
    } else {
        impl.db = Storage::OpenPostgres(options.databaseUrl, options.databasePassword, error);
    }
    if (!impl.db) return nullptr;
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
    // A request that lost a race with another instance runs again from the
    // start: only a committed outcome is answered.
    for (int attempt = 1;; ++attempt) {
        if (impl.db->Begin() != Storage::Outcome::Ok)
            return refuse({503, Cp1252Text("Serveur occupé")}, a.kindText, "");
        std::variant<Reply, Refusal> outcome = impl.Decide(lines, a, requestData);
        const bool committed = !std::holds_alternative<Refusal>(outcome) && !impl.db->failed() &&
                               impl.db->Commit() == Storage::Outcome::Ok;
        if (committed) {
            Reply reply = std::get<Reply>(std::move(outcome));
            reply.kind = a.kindText;
            return reply;
        }
        if (!impl.db->failed()) {
            impl.db->Rollback();
            return refuse(std::get<Refusal>(outcome), a.kindText, a.senderNumber);
        }
        impl.db->Rollback();
        if (!impl.db->lostRace() || attempt >= kMaxRaceRetries) {
            return refuse(impl.db->lostRace() ? Refusal{503, Cp1252Text("Serveur occupé")}
                                              : Refusal{500, "Erreur interne"},
                          a.kindText, a.senderNumber);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2 * attempt));
    }
}

bool AuthorityService::SetRegistered(const std::string& number, bool registered) {
    Storage& db = *impl_->db;
    for (int attempt = 1; attempt <= kMaxRaceRetries; ++attempt) {
        if (db.Begin() != Storage::Outcome::Ok) return false;
        auto a = impl_->Load(number, true);
        if (!a) {
            db.Rollback();
            if (db.lostRace()) continue;
            return false;
        }
        a->registrationFlag = registered ? '1' : '0';
        if (impl_->Save(*a) && db.Commit() == Storage::Outcome::Ok) return true;
        db.Rollback();
        if (!db.lostRace()) return false;
    }
    return false;
}

}  // namespace quarnel::ta
