// SPDX-License-Identifier: GPL-3.0-or-later
#include "messages/decryption.h"

#include "holder/program_state.h"

#include <algorithm>
#include <cstdint>
#include <system_error>

#include "crypto/bignum.h"
#include "crypto/cipher.h"
#include "crypto/compare.h"
#include "crypto/cp1252.h"
#include "crypto/datetime.h"
#include "crypto/own_keys.h"
#include "crypto/secret.h"
#include "crypto/text_stream.h"
#include "messages/certification.h"
#include "messages/encryption.h"
#include "messages/texts.h"
#include "protocol/body.h"
#include "protocol/identity.h"
#include "store/atomic_file.h"
#include "store/program_files.h"

namespace quarnel {
namespace {

Quad E(const Quad& x, const Quad& k) {
    return CipherBlock(x, k, Direction::Encipher);
}
Quad D(const Quad& x, const Quad& k) {
    return CipherBlock(x, k, Direction::Decipher);
}

const std::string& Field(const std::vector<std::string>& fields, std::size_t i) {
    static const std::string kNone;
    return i < fields.size() ? fields[i] : kNone;
}

// "locality, entity, country", the entity left out when it is "-".
std::string Locality(const std::vector<std::string>& f, std::size_t first) {
    const std::string& entity = Field(f, first + 1);
    if (entity == "-") return Field(f, first) + ", " + Field(f, first + 2);
    return Field(f, first) + ", " + entity + ", " + Field(f, first + 2);
}

std::string WithoutCarriageReturns(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        if (c != '\r') out += c;
    }
    return out;
}

// One received attachment deciphered into the decrypted-files folder.
struct AttachmentRun {
    const Quad& key;
    const Quad& mask;
    const DecipheredText& message;  // section 2: what the attachments should carry
    std::filesystem::path folder;
    std::filesystem::path received;  // read from when `source` is empty
    const AttachmentSource& source;
    DecryptedMessage& out;
    double lastDate;
    const StreamProgress& progress;
    std::uint64_t before = 0;  // bytes of the attachments done
    std::uint64_t total = 0;
    bool cancelled = false;
};

// The sender takes its clock anew for each attachment, right after section
// 2's moment: an attachment belongs to its message when its header carries
// that section's version code, flag and category, and a moment from a little
// before it (a clock set back) to kAttachmentMomentWindow after it.
bool SameHeader(const DecipheredText& attachment, const DecipheredText& message) {
    constexpr double kDay = 24.0 * 60 * 60;
    const double after = (attachment.dateTime - message.dateTime) * kDay;
    return attachment.code == message.code && attachment.field1 == message.field1 &&
           attachment.field2 == message.field2 &&
           after >= -double(std::chrono::seconds(kAttachmentClockSlack).count()) &&
           after <= double(std::chrono::seconds(kAttachmentMomentWindow).count());
}

// The file of one attachment: where the source says, else in the folder for
// received encrypted files.
StreamingFileReader OpenInput(const AttachmentRun& run, const std::string& name) {
    if (run.source) {
        const std::optional<std::filesystem::path> path = run.source(name);
        return StreamingFileReader(path ? *path : std::filesystem::path());
    }
    return StreamingFileReader(run.received / Cp1252ToUtf8(name));
}

// Deciphered straight into a temporary file beside its final name: nothing
// reaches that name before the last block deciphered.
// Without `write`, deciphered and thrown away; without `tell`, what its
// checks found is not told either.
void DecipherAttachment(AttachmentRun& run, const std::string& received, bool write, bool tell) {
    const std::optional<std::string> name = SafeAttachmentName(received);
    if (!name) {
        if (tell) run.out.notices.push_back({txt::kAttachmentNameRefused, received});
        return;
    }
    StreamingFileReader in = OpenInput(run, *name);
    // Never over an existing file, and never under a name the program takes
    // for one of its own (FreeFileName).
    const std::filesystem::path wanted = Cp1252ToUtf8(*name);
    const std::optional<std::filesystem::path> path =
        write ? FreeFileName(run.folder, wanted) : std::nullopt;
    std::optional<StreamingFileWriter> writer;
    if (path) writer.emplace(*path);
    const bool writing = writer && writer->Open(nullptr, WritePath::Direct);

    StreamResult r = StreamResult::ReadFailed;
    if (in.ok()) {
        const StreamSource source = [&](char* data, std::size_t size) {
            return in.Read(data, size);
        };
        // Without a name the blocks are deciphered all the same: the
        // generator moves as for any other attachment.
        const StreamSink sink = [&](std::string_view bytes) {
            return !writing || writer->Write(bytes);
        };
        StreamProgress step;
        if (run.progress) {
            step = [&](std::uint64_t done, std::uint64_t) {
                return run.progress(run.before + done, run.total);
            };
        }
        DecipheredText t;
        r = DecipherStream(run.key, run.mask, in.size(), source, sink, t, step, LineShape::Exact);
        if (r == StreamResult::Done && !SameHeader(t, run.message)) {
            // Deciphered with this message's keys but made for another
            // message, or by other settings: not this message's attachment.
            r = StreamResult::Refused;
            if (tell) run.out.notices.push_back({txt::kAttachmentHeaderDiffers, *name});
        } else if (r == StreamResult::Done) {
            run.lastDate = t.dateTime;
        } else if (r == StreamResult::Undecipherable || r == StreamResult::BadLine) {
            if (tell) run.out.notices.push_back({txt::kAttachmentUndecipherable, *name});
        } else if (r == StreamResult::Cancelled) {
            run.cancelled = true;
            return;  // the writer takes its temporary file with it
        }
    }
    run.before += in.size();
    if (r == StreamResult::ReadFailed && tell)
        run.out.notices.push_back({txt::kAttachmentMissing, *name});
    if (!write) return;
    if (!path) {
        run.out.notices.push_back({txt::kNoFreeName, *name});
        return;
    }
    // The name is taken at the last moment and never over a file that
    // appeared meanwhile: a taken name moves on to the next free one.
    const auto nextName = [&] { return FreeFileName(run.folder, wanted); };
    // What could not be deciphered leaves an empty file, never a part.
    std::optional<std::filesystem::path> saved;
    if (r == StreamResult::Done) {
        if (writing) saved = writer->CommitAsNew(nextName, nullptr, FolderSync::ByCaller);
    } else if (r != StreamResult::WriteFailed) {
        writer->Abandon();
        StreamingFileWriter empty(*path);
        if (empty.Open()) saved = empty.CommitAsNew(nextName, nullptr, FolderSync::ByCaller);
    }
    if (!saved) {
        run.out.notices.push_back({txt::kAttachmentNotSaved, *name});
        return;
    }
    if (saved->filename() != wanted) {
        std::string used;
        (void)Utf8ToCp1252(saved->filename().string(), used);  // a free or safe variant
        run.out.notices.push_back({txt::kAttachmentRenamed, used});
    }
    run.out.attachments.push_back(*saved);
}

// Section 3 against the holder's own identity fields and category.
bool NamesTheHolder(const DecipheredText& recipient, const Settings& s) {
    const std::vector<std::string> own = SenderIdentityFields(s.category, s.identity);
    return !own.empty() && recipient.field2 == s.category &&
           recipient.text == JoinWithCarriageReturns(own);
}

}  // namespace

std::optional<std::string> SafeAttachmentName(const std::string& received) {
    const std::size_t slash = received.find_last_of("/\\");
    std::string name = slash == std::string::npos ? received : received.substr(slash + 1);
    if (name.empty() || name == "." || name == "..") return std::nullopt;
    for (const char c : name) {
        if (static_cast<unsigned char>(c) < 0x20) return std::nullopt;
    }
    return name;
}

SenderView ViewOfSender(char category, char registrationFlag, const std::vector<std::string>& f) {
    SenderView v;
    v.registration = registrationFlag == '1' ? Verdict{true, txt::kSenderRegistered}
                                             : Verdict{false, txt::kSenderUnregistered};
    switch (category) {
        case 'A':
            v.name = Field(f, 0) + " " + Field(f, 1);
            v.locality = Locality(f, 2);
            v.email = Field(f, 5);
            break;
        case 'C':
            v.firmLabel = txt::kLabelOrganisation;
            v.firm = Field(f, 0);
            v.name = Field(f, 1) + " " + Field(f, 2);
            v.locality = Locality(f, 3);
            v.email = Field(f, 6);
            break;
        case 'D':
        case 'F':
            v.firmLabel = category == 'D' ? txt::kProfession : txt::kFirmLabel;
            v.firm = Field(f, 1) == "-" ? Field(f, 0) : Field(f, 0) + ", " + Field(f, 1);
            v.name = Field(f, 2) + " " + Field(f, 3);
            v.locality = Locality(f, 4);
            v.email = Field(f, 7);
            break;
        default:
            break;
    }
    return v;
}

Lines HeaderText(const DecryptedMessage& m, const TextLookup& text) {
    Lines h{text(txt::kHeaderTitle),
            m.addressLine,
            "",
            text(txt::kHeaderDigestAndSignature),
            m.digest,
            m.signature,
            "",
            text(txt::kHeaderInformation),
            std::string{m.senderCategory, m.registrationFlag},
            DateTimeText(m.encryptedAt),
            "",
            text(txt::kHeaderSender)};
    h.insert(h.end(), m.senderFields.begin(), m.senderFields.end());
    h.emplace_back();
    h.push_back(text(txt::kHeaderMessage));
    return h;
}

ReceiveOutcome ReadReceivedBody(HolderContext& ctx, MessageState& msgs, Lines body,
                                const TaReplyHandler& onReply, const AttachmentSource& attachments,
                                const StreamProgress& progress,
                                std::optional<std::size_t> onlyAttachment) {
    ReceiveOutcome o;
    TakeApartReceivedBody(body, msgs.receivedAttachmentNames);
    if (msgs.receivedAttachmentNames.size() > kMaxAttachmentNames) {
        o.refusal = ReceiveRefusal::TooManyAttachments;
        o.problem = std::to_string(msgs.receivedAttachmentNames.size()) +
                    " attachment names, more than " + std::to_string(kMaxAttachmentNames);
        msgs.receivedAttachmentNames.clear();
        return o;
    }
    if (!CheckBodyStructure(body, o.kind, &o.problem)) {
        o.refusal = ReceiveRefusal::Malformed;
        return o;
    }
    if (IsTaReplyKind(o.kind)) {
        o.ok = onReply && onReply(body);
        if (!o.ok) o.refusal = ReceiveRefusal::ReplyRefused;
    } else if (IsMessageKind(o.kind)) {
        o.refusal =
            DecryptMessage(ctx, msgs, body, attachments, progress, &o.cancelled, onlyAttachment);
        o.ok = o.refusal == ReceiveRefusal::None;
    } else {
        o.refusal = ReceiveRefusal::UnknownKind;
    }
    return o;
}

ReceiveRefusal DecryptMessage(HolderContext& ctx, MessageState& msgs, const Lines& body,
                              const AttachmentSource& attachments, const StreamProgress& progress,
                              bool* cancelled, std::optional<std::size_t> onlyAttachment) {
    if (cancelled) *cancelled = false;
    // Shown at once: what follows can take a while.
    SetInformation(ctx, txt::kMessageBeingDecrypted);

    AddressFields a;
    if (body.size() < 16 || !ParseAddressLine(body[1], a)) return ReceiveRefusal::BadSection;
    if (a.recipientNumber != ctx.ownNumber) return ReceiveRefusal::NotForThisHolder;
    OwnKey u;
    const bool haveKey = OwnUnwrappingKey(ctx.keyStore, a.recipientDigit, u);
    const SecretQuad unwrap(*u.key);
    u.key.Wipe();
    u.taKey.Wipe();
    if (!haveKey) return ReceiveRefusal::NoKey;

    const SecretQuad pair(E(HexToQuad(body[4]), *unwrap));
    const SecretQuad nonce(D(HexToQuad(body[6]), *pair));
    const std::string digest = QuadToHex(D(HexToQuad(body[7]), *pair));
    const std::string& signature = body[8];
    SecretQuad mask;
    if (!CondenseHex(body[2] + body[3] + body[4] + body[5] + QuadToHex(*nonce) + digest + signature,
                     *mask)) {
        return ReceiveRefusal::BadSection;
    }
    std::size_t index = 9;
    DecipheredText sender;
    DecipheredText message;
    if (!DecipherText(body, index, *pair, *mask, sender) ||
        !DecipherText(body, index, *pair, *mask, message)) {
        return ReceiveRefusal::BadSection;
    }
    Quad check{};
    if (!CondenseText(body[1] + DateTimeText(message.dateTime) + message.text, check) ||
        !EqualDigests(QuadToHex(check), digest)) {
        return ReceiveRefusal::DigestMismatch;
    }
    DecipheredText recipient;
    if (!DecipherText(body, index, *pair, *mask, recipient) || index != body.size() - 1) {
        return ReceiveRefusal::BadRecipientSection;
    }

    // Identity confirmation against the TA's check value (key line 4).
    const std::string identityCheck = WithoutCarriageReturns(sender.text) + a.senderNumber +
                                      a.senderDigit + message.code + message.field1 +
                                      DateText(sender.dateTime);
    Quad identityDigest{};
    if (!CondenseText(identityCheck, identityDigest)) return ReceiveRefusal::BadSection;
    const Quad expected = D(E(HexToQuad(body[5]), *unwrap), *pair);

    DecryptedMessage m;
    m.kind = a.kind;
    m.addressLine = body[1];
    m.digest = digest;
    m.signature = signature;
    m.encryptedAt = message.dateTime;
    m.senderCategory = message.field2;
    m.registrationFlag = message.field1;
    m.versionCode = message.code;
    m.senderFields = SplitAtLineBreaks(sender.text);
    m.identityConfirmed = EqualDigests(QuadToHex(identityDigest), QuadToHex(expected));
    m.confirmation = m.identityConfirmed ? Verdict{true, txt::kIdentityConfirmed}
                                         : Verdict{false, txt::kIdentityNotConfirmed};
    // Section 3 should name the holder as the TA knows them; it may also be
    // an older identity the sender still holds. Told, not refused.
    if (!NamesTheHolder(recipient, ctx.settings)) {
        m.notices.push_back({txt::kRecipientNotHolder, ""});
    }
    // In the program's current language, as the viewer saves and prints it.
    m.headerText = HeaderText(m, [&ctx](int id) { return CurrentText(ctx, id); });
    m.text = std::move(message.text);

    // The digest verified: only now does anything reach the disk.
    AttachmentRun run{*pair,
                      *mask,
                      message,
                      PathFromSetting(ctx.settings.decryptedFilesFolder),
                      PathFromSetting(ctx.settings.receivedEncryptedFolder),
                      attachments,
                      m,
                      m.encryptedAt,
                      progress,
                      0,
                      0,
                      false};
    if (progress) {
        for (const auto& name : msgs.receivedAttachmentNames) {
            const std::optional<std::string> safe = SafeAttachmentName(name);
            if (!safe) continue;
            std::error_code ec;
            std::filesystem::path path = run.received / Cp1252ToUtf8(*safe);
            if (attachments) path = attachments(*safe).value_or(std::filesystem::path());
            const auto size = std::filesystem::file_size(path, ec);
            if (!ec) run.total += size;
        }
    }
    // A folder that cannot be made shows as attachments not saved.
    if (!msgs.receivedAttachmentNames.empty()) (void)CreatePrivateFolders(run.folder);
    for (std::size_t i = 0; i < msgs.receivedAttachmentNames.size(); ++i) {
        const bool none = onlyAttachment == kNoAttachmentWritten;
        if (onlyAttachment && !none && i > *onlyAttachment) break;
        // Those before the one asked for only bring the generator to it.
        const bool write = !onlyAttachment || i == *onlyAttachment;
        DecipherAttachment(run, msgs.receivedAttachmentNames[i], write, write || none);
        if (run.cancelled) break;
    }
    if (!m.attachments.empty()) SyncFolder(run.folder);  // once for all the files
    if (run.cancelled) {
        // Stopped: nothing of it is kept, and the previous message stands.
        std::error_code ec;
        for (const auto& path : m.attachments)
            std::filesystem::remove(path, ec);
        if (cancelled) *cancelled = true;
        return ReceiveRefusal::Cancelled;
    }

    // The verdicts shown are those the identity confirmation covered.
    m.sender = ViewOfSender(m.senderCategory, m.registrationFlag, m.senderFields);
    m.sender.affiliation = a.senderNumber;
    const std::string shown = DateTimeText(run.lastDate);
    m.sender.date = shown.substr(0, 10);
    m.sender.time = shown.substr(11, 8);

    msgs.certificationData =
        CertificationDataText(m.addressLine, m.digest, m.signature, DateTimeText(m.encryptedAt));
    msgs.decrypted = std::move(m);
    return ReceiveRefusal::None;
}

}  // namespace quarnel
