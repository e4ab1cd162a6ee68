// SPDX-License-Identifier: GPL-3.0-or-later
// encrypt and decrypt: a holder's messages from the command line, on its data
// folder, with the program's own encryption, checks and folders.

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <map>
#include <system_error>

#include "cmd_messages.h"
#include "crypto/cp1252.h"
#include "crypto/datetime.h"
#include "holder_folder.h"
#include "messages/certification.h"
#include "messages/decryption.h"
#include "messages/encryption.h"
#include "messages/texts.h"
#include "protocol/body.h"
#include "protocol/lines.h"
#include "resources/texts.h"
#include "store/atomic_file.h"
#include "store/program_files.h"
#include "tool_support.h"

namespace quarnel::tool {
namespace {

// A resource text with its %s, for the terminal (UTF-8, controls escaped).
std::string Say(int text, const std::string& cp1252Detail = {}) {
    return Escaped(Cp1252ToUtf8(FillPlaceholders(FrenchTextCp1252(text), {cp1252Detail})));
}

// Text from the message, for the terminal.
std::string Shown(const std::string& cp1252) {
    return Escaped(Cp1252ToUtf8(cp1252));
}

// A free name in `folder`, or the reason there is none.
std::filesystem::path FreeOrThrow(const std::filesystem::path& folder, const std::string& name) {
    const auto path = FreeFileName(folder, name);
    if (!path) {
        throw UsageError("no free name for " + (folder / name).string() + " after " +
                         std::to_string(kMaxFreeNameTries) + " tries");
    }
    return *path;
}

std::filesystem::path Absolute(const std::string& path) {
    return std::filesystem::absolute(path);
}

const char* RefusalText(ReceiveRefusal r) {
    switch (r) {
        case ReceiveRefusal::Malformed:
            return "the body is malformed";
        case ReceiveRefusal::TooManyAttachments:
            return "the body lists too many attachment names";
        case ReceiveRefusal::UnknownKind:
            return "the body is neither a message nor a reply of the TA";
        case ReceiveRefusal::ReplyRefused:
            return "the body is a reply of the TA, not a message";
        case ReceiveRefusal::NotForThisHolder:
            return "the message is for another holder";
        case ReceiveRefusal::NoKey:
            return "no own key record for the key generation the sender used";
        case ReceiveRefusal::BadSection:
            return "the message does not decipher";
        case ReceiveRefusal::DigestMismatch:
            return "the digest does not verify";
        case ReceiveRefusal::BadRecipientSection:
            return "the recipient section does not check";
        case ReceiveRefusal::Cancelled:
            return "the decryption was stopped";
        case ReceiveRefusal::None:
            break;
    }
    return "refused";
}

int Encrypt(Args& args) {
    const std::string dir = args.RequiredOption("--data");
    const std::string number = args.RequiredOption("--to");
    const auto subject = args.Option("--subject");
    const auto out = args.Option("--out");
    const bool rich = args.Flag("--rich");
    const auto files = args.Positional(1, 1000);
    const std::filesystem::path messageFile = Absolute(files[0]);
    std::vector<std::filesystem::path> attachments;
    for (std::size_t i = 1; i < files.size(); ++i)
        attachments.push_back(Absolute(files[i]));
    const std::optional<std::filesystem::path> outFile =
        out ? std::optional(Absolute(*out)) : std::nullopt;
    const std::string text = ReadFile(messageFile);

    HolderContext ctx;
    MessageState msgs;
    // The body and the encrypted attachments go under free names: no
    // holder's file is written.
    (void)LoadHolderFolder(dir, ctx);
    for (const char c : {'A', 'D', 'F'}) {
        const int found = FindCorrespondent(ctx.correspondents, c, number);
        if (found < 0) continue;
        msgs.recipientCategory = c;
        msgs.recipientRecord = (*ctx.correspondents.ForCategory(c))[std::size_t(found)];
    }
    if (!msgs.recipientCategory) {
        throw UsageError("no correspondent " + number + " in the lists of " + dir);
    }
    if (subject && !Utf8ToCp1252(*subject, msgs.subject)) {
        throw UsageError("the subject has characters that code page 1252 cannot represent");
    }
    msgs.attachments = attachments;
    const Kind messageKind = rich ? Kind::RichMessage : Kind::PlainMessage;

    Lines body;
    MessageProblem problem;
    if (!BuildMessageBody(ctx, msgs, messageKind, text, body, problem)) {
        throw UsageError(Say(problem.text, problem.detail));
    }
    const std::filesystem::path bodyFile =
        outFile ? *outFile
                : FreeOrThrow(PathFromSetting(ctx.settings.sentEncryptedFolder),
                              "message-" + number + ".txt");
    std::string error;
    if (!WriteFileAtomically(bodyFile, JoinLinesCrLf(body), &error)) {
        throw UsageError(error);
    }
    std::cout << "body: " << bodyFile.string() << '\n';
    for (const auto& path : msgs.encryptedAttachments) {
        std::cout << "attachment: " << path.string() << '\n';
    }
    std::cout << "to: " << Cp1252ToUtf8(msgs.recipientAddress) << '\n';
    if (subject) std::cout << "subject: " << *subject << '\n';
    return 0;
}

void PrintMessage(const DecryptedMessage& m, const std::filesystem::path& saved) {
    const SenderView& s = m.sender;
    std::cout << "verdict: " << Say(s.registration.text) << '\n';
    std::cout << "affiliation: " << Shown(s.affiliation) << '\n';
    if (s.firmLabel) std::cout << "firm: " << Shown(s.firm) << '\n';
    std::cout << "name: " << Shown(s.name) << '\n';
    std::cout << "locality: " << Shown(s.locality) << '\n';
    std::cout << "e-mail: " << Shown(s.email) << '\n';
    std::cout << "date: "
              << Shown(FillPlaceholders(FrenchTextCp1252(txt::kEncryptedOn), {s.date, s.time}))
              << '\n';
    std::cout << "digest: " << m.digest << " (verified)\n";
    std::cout << "signature: " << Escaped(m.signature) << '\n';
    std::cout << "identity: " << Say(m.confirmation.text) << '\n';
    std::cout << "message: " << Escaped(saved.string()) << '\n';
    for (const auto& path : m.attachments)
        std::cout << "attachment: " << Escaped(path.string()) << '\n';
}

int Decrypt(Args& args) {
    const std::string dir = args.RequiredOption("--data");
    const auto files = args.Positional(1, 1000);
    const std::string body = ReadFile(Absolute(files[0]));
    // The attachment files given, by the name the body lists them under.
    std::map<std::string, std::filesystem::path> given;
    for (std::size_t i = 1; i < files.size(); ++i) {
        const std::filesystem::path path = Absolute(files[i]);
        std::string name;
        if (!Utf8ToCp1252(path.filename().string(), name)) {
            throw UsageError(path.string() + " cannot be a name listed in a message");
        }
        given[name] = path;
    }

    HolderContext ctx;
    MessageState msgs;
    const auto lock = LoadHolderFolder(dir, ctx, FolderUse::Writes);
    const std::filesystem::path receivedFolder =
        PathFromSetting(ctx.settings.receivedEncryptedFolder);
    const AttachmentSource source =
        [&](const std::string& name) -> std::optional<std::filesystem::path> {
        const auto it = given.find(name);
        return it == given.end() ? receivedFolder / Cp1252ToUtf8(name) : it->second;
    };
    return DecryptReceivedBody(ctx, msgs, SplitLines(body), source, [&] {
        for (const auto& [name, path] : given) {
            if (std::find(msgs.receivedAttachmentNames.begin(), msgs.receivedAttachmentNames.end(),
                          name) == msgs.receivedAttachmentNames.end()) {
                std::cerr << "quarnel-tool: warning: " << Escaped(path.string())
                          << " is not an attachment of this message; ignored\n";
            }
        }
    });
}

}  // namespace

int DecryptReceivedBody(HolderContext& ctx, MessageState& msgs, Lines body,
                        const AttachmentSource& source, const std::function<void()>& afterRead) {
    const ReceiveOutcome o = ReadReceivedBody(
        ctx, msgs, std::move(body), [](const Lines&) { return false; }, source);
    if (afterRead) afterRead();
    if (!o.ok) {
        std::cerr << "quarnel-tool: message refused: " << RefusalText(o.refusal)
                  << (o.problem.empty() ? "" : " (" + o.problem + ")") << '\n';
        return 1;
    }

    // The saved decrypted message: the header text, then the message (for a
    // rich message its RTF source), read back as plain text for certification.
    const DecryptedMessage& m = msgs.decrypted;
    const LocalDateTime t = OleToLocal(m.encryptedAt);
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04d%02d%02d-%02d%02d%02d", t.year, t.month, t.day, t.hour,
                  t.minute, t.second);
    const std::filesystem::path folder = PathFromSetting(ctx.settings.decryptedMsgFolder);
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    const std::filesystem::path saved =
        FreeOrThrow(folder, "message-" + m.sender.affiliation + "-" + stamp + ".txt");
    std::string error;
    if (!WriteFileAtomically(saved, SavedMessageBytes(m), &error)) throw UsageError(error);
    bool unsaved = false;
    for (const Notice& n : m.notices) {
        std::cerr << "quarnel-tool: warning: " << Say(n.text, n.detail) << '\n';
        unsaved |= n.text == txt::kAttachmentNotSaved || n.text == txt::kNoFreeName;
    }
    PrintMessage(m, saved);
    // The message is there, but not all of it: a script must not take it as whole.
    return unsaved ? 1 : 0;
}

int RunMessageCommand(const std::string& command, Args& args) {
    return command == "encrypt" ? Encrypt(args) : Decrypt(args);
}

}  // namespace quarnel::tool
