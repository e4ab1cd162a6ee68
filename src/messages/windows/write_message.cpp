// SPDX-License-Identifier: GPL-3.0-or-later
#include "messages/windows/write_message.h"

#include <QDialog>
#include <QWidget>
#include <optional>
#include <system_error>

#include "holder/program_state.h"
#include "messages/addressee.h"
#include "messages/encryption.h"
#include "messages/texts.h"
#include "messages/windows/form_redac.h"
#include "messages/windows/texts.h"
#include "windowkit/long_job.h"
#include "windowkit/main_command.h"
#include "windowkit/message_box.h"
#include "windowkit/texts.h"
#include "windowkit/window_kit.h"

namespace quarnel::ui {

namespace {

/// Which attachment a count of bytes done falls in, for the progress dialog.
class AttachmentSpans {
  public:
    explicit AttachmentSpans(const std::vector<std::filesystem::path>& files) {
        std::uint64_t end = 0;
        for (const auto& f : files) {
            std::error_code ec;
            const auto size = std::filesystem::file_size(f, ec);
            end += ec ? 0 : size;
            spans_.push_back({end, QString::fromStdU16String(f.filename().u16string())});
        }
    }
    [[nodiscard]] QString NameAt(std::uint64_t done) const {
        for (const auto& s : spans_) {
            if (done < s.end) return s.name;
        }
        return spans_.empty() ? QString() : spans_.back().name;
    }

  private:
    struct Span {
        std::uint64_t end;
        QString name;
    };
    std::vector<Span> spans_;
};

}  // namespace

WriteMessage::WriteMessage(HolderContext& ctx, MessageState& msgs, MainWindowHost& host,
                           FormRedac& redac)
    : ctx_(ctx), msgs_(msgs), host_(host), redac_(redac) {}

void WriteMessage::Run(Kind kind, const QString& subject) {
    if (ctx_.busy) return;
    std::optional<BusyGuard> busy(std::in_place, ctx_);
    const char category = msgs_.recipientCategory;
    const Record& record = msgs_.recipientRecord;
    const std::string addressee = AddresseeLine(ctx_, category, record);
    if (addressee.empty()) {
        (void)Ask(&host_.Window(), BoxIcon::Warning, Tr(txt::kNoRecipient), kOk);
        return;
    }
    const bool rich = kind == Kind::RichMessage;
    PlaceDialog(redac_, host_.Window());
    redac_.SetAddressee(FromCp1252(addressee), AddresseeRegistered(category, record));
    redac_.SetRich(rich);
    std::string text;
    int result = redac_.Compose(subject);
    while (TakeText(rich, result, text)) {
        SetInformation(ctx_, txt::kMessageBeingEncrypted);
        host_.Window().repaint();
        if (Encrypt(kind, text)) {
            redac_.ClearText();
            break;
        }
        // Cancelled or failed: the composer comes back with what it held.
        result = redac_.Resume();
    }
    msgs_.attachments.clear();
    busy.reset();
    host_.EvaluateState();
}

bool WriteMessage::TakeText(bool rich, int result, std::string& text) {
    for (;;) {
        if (result != QDialog::Accepted) return false;
        if (rich) {
            text = redac_.RichText();
            return true;
        }
        const QString plain = redac_.PlainText();
        const QString outside = CharactersOutsideCp1252(plain);
        if (outside.isEmpty()) {
            text = ToCp1252(plain);
            return true;
        }
        // Refused before anything is enciphered: the person may go back and
        // replace the characters.
        // Escape goes back too: only the button that says so gives up.
        if (Ask(&host_.Window(), BoxIcon::Warning, Tr(txt::kNotInCp1252, {outside}), kNo | kCancel,
                {{kCancel, Tr(txt::kBackToMessage)}, {kNo, Tr(txt::kDropMessage)}}) == kNo) {
            redac_.ClearText();
            return false;
        }
        result = redac_.Resume();
    }
}

bool WriteMessage::Encrypt(Kind kind, const std::string& text) {
    Lines body;
    MessageProblem problem;
    const AttachmentSpans spans(msgs_.attachments);
    bool cancelled = false;
    const bool built = runJob(
        &host_.Window(), Tr(txt::kEncryptionCaption),
        [&](const JobProgress& progress) {
            return BuildMessageBody(ctx_, msgs_, kind, text, body, problem,
                                    [&](std::uint64_t done, std::uint64_t total) {
                                        return progress(spans.NameAt(done), done, total);
                                    });
        },
        &cancelled);
    if (!built) {
        host_.ResetInformation();
        if (!cancelled && !problem.cancelled && problem.text != 0) {
            // An altered list or settings file leaves nothing to choose.
            (void)Ask(&host_.Window(), BoxIcon::Warning,
                      Tr(problem.text, {FromCp1252(problem.detail)}),
                      problem.text == txt::kFileAltered ? kCancel : kOk);
        }
        return false;
    }
    OutgoingMessage out;
    out.addresseeLine = AddresseeLine(ctx_, msgs_.recipientCategory, msgs_.recipientRecord);
    out.recipientAddress = msgs_.recipientAddress;
    out.subject = msgs_.subject;
    out.body = std::move(body);
    for (const auto& p : msgs_.encryptedAttachments)
        out.attachmentPaths.push_back(p.string());
    Q_EMIT Encrypted(out);
    return true;
}

}  // namespace quarnel::ui
