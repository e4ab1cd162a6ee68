// SPDX-License-Identifier: GPL-3.0-or-later
#include "messages/encryption.h"

#include "holder/program_state.h"

#include <optional>
#include <system_error>

#include "crypto/bignum.h"
#include "crypto/cipher.h"
#include "crypto/compare.h"
#include "crypto/cp1252.h"
#include "crypto/datetime.h"
#include "crypto/hextext.h"
#include "crypto/own_keys.h"
#include "crypto/random.h"
#include "crypto/secret.h"
#include "crypto/text_stream.h"
#include "messages/decryption.h"
#include "messages/texts.h"
#include "protocol/body.h"
#include "protocol/identity.h"
#include "store/atomic_file.h"
#include "store/correspondents.h"
#include "store/program_files.h"

namespace quarnel {
namespace {

constexpr const char* kSettingsFileName = "QuarnelTit.ini";

Quad E(const Quad& x, const Quad& k) {
    return CipherBlock(x, k, Direction::Encipher);
}

bool Refuse(MessageProblem& problem, int text, std::string detail = {}) {
    problem = {text, std::move(detail)};
    return false;
}

// One attachment, checked readable before anything is written.
struct Attachment {
    std::filesystem::path path;
    std::filesystem::path name;  // base name and extension
    std::uint64_t size = 0;
};

bool CheckAttachments(const std::vector<std::filesystem::path>& paths, std::vector<Attachment>& out,
                      MessageProblem& problem) {
    for (const auto& path : paths) {
        const std::filesystem::path name = path.filename();
        std::string cp1252;
        // The name travels in the body as code page 1252 text and must come
        // back as it left.
        if (!Utf8ToCp1252(name.string(), cp1252) || !AttachmentNameTravels(cp1252)) {
            return Refuse(problem, txt::kAttachmentNameRefused, DisplayName(name));
        }
        const StreamingFileReader reader(path);
        if (!reader.ok()) return Refuse(problem, txt::kCannotOpenFile, DisplayName(path));
        out.push_back({path, name, reader.size()});
    }
    return true;
}

// The section of each attachment, streamed from its file to a temporary file
// under a free name of the sent folder; on a failure or a cancel removes what
// this message wrote.
class AttachmentWriter {
  public:
    AttachmentWriter(const Settings& s, char flag, const Quad& mask, const Quad& key,
                     const StreamProgress& progress)
        : s_(s), flag_(flag), mask_(mask), key_(key), progress_(progress) {}

    bool Write(const std::vector<Attachment>& attachments, const std::filesystem::path& folder,
               std::vector<std::filesystem::path>& written, MessageProblem& problem) {
        std::uint64_t total = 0;
        for (const auto& a : attachments)
            total += a.size;
        // A failure shows at the first write.
        (void)CreatePrivateFolders(folder);
        std::uint64_t before = 0;
        for (const auto& a : attachments) {
            if (!WriteOne(a, folder, before, total, written, problem)) {
                std::error_code ec;
                for (const auto& p : written)
                    std::filesystem::remove(p, ec);
                written.clear();
                return false;
            }
            before += a.size;
        }
        if (!written.empty()) SyncFolder(folder);  // once for all the files
        return true;
    }

  private:
    bool WriteOne(const Attachment& a, const std::filesystem::path& folder, std::uint64_t before,
                  std::uint64_t total, std::vector<std::filesystem::path>& written,
                  MessageProblem& problem) {
        const std::optional<std::filesystem::path> path = FreeFileName(folder, a.name);
        if (!path) return Refuse(problem, txt::kNoFreeName, DisplayName(folder / a.name));
        StreamingFileReader reader(a.path);
        StreamingFileWriter writer(*path);
        if (!writer.Open(nullptr, WritePath::Direct))
            return Refuse(problem, txt::kFileSaveFailed, DisplayName(*path));
        const StreamSource source = [&](char* data, std::size_t size) {
            return reader.Read(data, size);
        };
        const StreamSink sink = [&](std::string_view bytes) { return writer.Write(bytes); };
        StreamProgress step;
        if (progress_) {
            step = [&](std::uint64_t done, std::uint64_t) {
                return progress_(before + done, total);
            };
        }
        const StreamResult r = reader.ok()
                                   ? EncipherStream(s_.versionCode, flag_, s_.category, mask_, key_,
                                                    a.size, OleNow(), source, sink, step)
                                   : StreamResult::ReadFailed;
        switch (r) {
            case StreamResult::Done:
                break;
            case StreamResult::Cancelled:
                problem = {};
                problem.cancelled = true;
                return false;
            case StreamResult::ReadFailed:
                return Refuse(problem, txt::kCannotOpenFile, DisplayName(a.path));
            default:
                return Refuse(problem, txt::kFileSaveFailed, DisplayName(*path));
        }
        if (!writer.Commit(nullptr, FolderSync::ByCaller))
            return Refuse(problem, txt::kFileSaveFailed, DisplayName(*path));
        written.push_back(*path);
        return true;
    }

    const Settings& s_;
    char flag_;
    const Quad& mask_;
    const Quad& key_;
    const StreamProgress& progress_;
};

}  // namespace

std::string DisplayName(const std::filesystem::path& path) {
    const std::string utf8 = path.string();
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const std::size_t n = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        std::string one;
        out += Utf8ToCp1252(utf8.substr(i, n), one) ? one : "?";
        i += n;
    }
    return out;
}

bool AttachmentNameTravels(const std::string& name) {
    // The receiver's rules: SafeAttachmentName, and the take-apart that drops
    // trailing blanks and stops at the end marker.
    return SafeAttachmentName(name) == name && name.front() != ' ' &&
           WithoutTrailingBlanks(name) == name && !IsEndMarkerLine(name);
}

bool EncryptMessage(const HolderContext& ctx, MessageState& msgs, Kind kind,
                    std::string_view messageText, Lines& body, MessageProblem& problem,
                    const StreamProgress& progress) {
    msgs.encryptedAttachments.clear();
    const Settings& s = ctx.settings;

    // The recipient's record, as the correspondents window chose it.
    const char category = msgs.recipientCategory;
    const Record& record = msgs.recipientRecord;
    const auto layout = LayoutFor(category);
    if (!layout || record.empty()) return Refuse(problem, txt::kNoRecipient);
    const std::string listFile = CorrespondentFileName(category);
    if (!CheckCorrespondentRecord(record, category) || record[layout->digitLine].empty() ||
        record[layout->flagLine].empty()) {
        return Refuse(problem, txt::kFileAltered, listFile);
    }
    const std::size_t identityFields = layout->numberLine;
    const Record recipientIdentity(record.begin(), record.begin() + std::ptrdiff_t(identityFields));

    // The own side.
    const std::vector<std::string> senderIdentity = SenderIdentityFields(s.category, s.identity);
    if (senderIdentity.empty() || !IsHexText(s.versionCode, 5) || !IsHexText(ctx.ownNumber, 11)) {
        return Refuse(problem, txt::kFileAltered, kSettingsFileName);
    }

    std::vector<Attachment> attachments;
    if (!CheckAttachments(msgs.attachments, attachments, problem)) return false;

    // Drawn before the key work (whose wipes also draw), so that a fixed seed
    // fixes the nonce.
    const SecretQuad nonce(RandomQuad());
    OwnKey u;
    OwnKey sign;
    const bool haveKeys = OwnUnwrappingKey(ctx.keyStore, ctx.ownDigit, u) &&
                          OwnSigningKey(ctx.keyStore, ctx.ownDigit, sign);
    const SecretQuad unwrap(*u.key);
    const SecretQuad signing(*sign.key);
    for (OwnKey* k : {&u, &sign}) {
        k->key.Wipe();
        k->taKey.Wipe();
    }
    if (!haveKeys) return Refuse(problem, txt::kNoOwnKeyForMessage);

    // Record check: the pair key must open key line 2 into the record digest.
    const std::size_t k1 = layout->firstKeyLine;
    const SecretQuad pair(E(HexToQuad(record[k1]), *unwrap));
    Quad recordDigest{};
    if (!CondenseText(ConcatenatedLines(record, layout->textLines), recordDigest) ||
        !EqualDigests(QuadToHex(E(E(HexToQuad(record[k1 + 1]), *unwrap), *pair)),
                      QuadToHex(recordDigest))) {
        return Refuse(problem, txt::kFileAltered, listFile);
    }
    const std::optional<double> recordDate = ParseDateText(record[layout->dateLine]);
    if (!recordDate) return Refuse(problem, txt::kNotADate, record[layout->dateLine]);

    const LocalDateTime now = LocalNow();
    const double moment = OleFromLocal(now);
    const std::string address =
        AddressLine(kind, DateCode(now.day, now.month, now.year), ctx.ownDigit,
                    record[layout->digitLine][0], record[layout->numberLine], ctx.ownNumber);
    Lines out{address};
    std::string keyLines;
    for (std::size_t i = 0; i < 4; ++i) {
        out.push_back(record[k1 + i]);
        keyLines += record[k1 + i];
    }

    out.push_back(QuadToHex(E(*nonce, *pair)));
    SecretQuad digest;
    if (!CondenseText(address + DateTimeText(moment) + std::string(messageText), *digest)) {
        return Refuse(problem, txt::kTextNotCondensable);
    }
    out.push_back(QuadToHex(E(*digest, *pair)));
    const std::string signature = QuadToHex(E(*digest, *signing));
    out.push_back(signature);

    SecretQuad mask;
    if (!CondenseHex(keyLines + QuadToHex(*nonce) + QuadToHex(*digest) + signature, *mask)) {
        return Refuse(problem, txt::kFileAltered, listFile);
    }

    const char flag = ctx.registrationFlag;
    const bool sectionsOk =
        EncipherText(s.versionCode, flag, s.category, out, *mask, *pair,
                     JoinWithCarriageReturns(senderIdentity), ctx.affiliationDate) &&
        EncipherText(s.versionCode, flag, s.category, out, *mask, *pair, messageText, moment);
    if (!sectionsOk) return Refuse(problem, txt::kFileAltered, kSettingsFileName);
    if (!EncipherText(record[layout->versionLine], record[layout->flagLine][0], category, out,
                      *mask, *pair, JoinWithCarriageReturns(recipientIdentity), *recordDate)) {
        return Refuse(problem, txt::kFileAltered, listFile);
    }
    out.push_back(kEndMarkerLine);

    std::vector<std::filesystem::path> written;
    AttachmentWriter writer(s, flag, *mask, *pair, progress);
    if (!writer.Write(attachments, PathFromSetting(s.sentEncryptedFolder), written, problem)) {
        return false;
    }
    for (const auto& path : written) {
        std::string name;
        (void)Utf8ToCp1252(path.filename().string(), name);  // checked when read
        out.push_back(std::move(name));
    }

    msgs.encryptedAttachments = std::move(written);
    msgs.recipientAddress = record[layout->numberLine - 1];
    body.insert(body.end(), std::make_move_iterator(out.begin()),
                std::make_move_iterator(out.end()));
    return true;
}

bool BuildMessageBody(const HolderContext& ctx, MessageState& msgs, Kind kind,
                      std::string_view messageText, Lines& body, MessageProblem& problem,
                      const StreamProgress& progress) {
    body = {CurrentText(ctx, TitleTextId(kind, false, ctx.registrationFlag)), kSeparatorLine};
    if (EncryptMessage(ctx, msgs, kind, messageText, body, problem, progress)) return true;
    body.clear();
    return false;
}

}  // namespace quarnel
