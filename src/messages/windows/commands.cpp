// SPDX-License-Identifier: GPL-3.0-or-later
#include "messages/windows/commands.h"

#include <QFileInfo>
#include <QMetaObject>
#include <filesystem>
#include <utility>
#include <vector>

#include "authority/replies.h"
#include "holder/program_state.h"
#include "messages/certification.h"
#include "messages/texts.h"
#include "messages/windows/form_certi.h"
#include "messages/windows/form_message.h"
#include "messages/windows/form_msg_a_certi.h"
#include "messages/windows/texts.h"
#include "protocol/kinds.h"
#include "resources/texts.h"
#include "store/atomic_file.h"
#include "windowkit/long_job.h"
#include "windowkit/message_box.h"
#include "windowkit/modal_runner.h"
#include "windowkit/texts.h"
#include "windowkit/window_kit.h"

namespace quarnel::ui {

std::optional<bool> CertificationCommand::EnabledIn(const StateFacts& facts) {
    if (facts.programState == ProgramState::Affiliated) return true;
    return std::nullopt;
}

void CertificationCommand::Run() {
    if (ctx_.busy) return;
    BusyGuard busy(ctx_);
    QWidget& window = host_.Window();
    const QString folder =
        QString::fromStdString(PathFromSetting(ctx_.settings.decryptedMsgFolder).string());
    const QString filter = Tr(txt::kFilterRtf) + QStringLiteral(";;") + Tr(txt::kFilterTxt);
    const QStringList chosen =
        ChooseFilesToOpen(&window, Tr(txt::kOpenSavedCaption), folder, filter, false);
    if (chosen.isEmpty()) return;
    const QString path = chosen.first();
    const QString name = QFileInfo(path).fileName();
    const std::filesystem::path file(path.toStdString());
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) return;
    const std::uintmax_t size = std::filesystem::file_size(file, ec);
    if (!ec && size > kMaxSavedMessageBytes) {
        (void)Ask(
            &window, BoxIcon::Warning,
            Tr(txt::kSavedMessageTooLarge, {name, QString::number(kMaxSavedMessageBytes >> 20)}),
            kOk);
        return;
    }
    std::optional<std::string> bytes;
    while (!(bytes = ReadWholeFile(file)) || bytes->size() > kMaxSavedMessageBytes) {
        if (bytes) return;  // it grew meanwhile
        if (Ask(&window, BoxIcon::Warning, Tr(txt::kFileUnreadable, {name}), kAbort | kRetry) !=
            kRetry) {
            return;
        }
    }
    if (!form_.Load(path, *bytes)) {
        (void)Ask(&window, BoxIcon::Warning, Tr(txt::kNotASavedMessage, {name}), kOk);
        return;
    }
    PlaceDialog(form_, window);
    (void)RunModal(form_);
}

bool IncomingBlock::RunDecryption(const std::function<bool(const JobProgress&)>& job) {
    // The information line is the window's: from the worker it is only
    // asked for.
    QWidget& window = host_.Window();
    const InformationFromWorker shown(ctx_, window, [this] { host_.ShowInformation(); });
    return runJob(&window, Tr(txt::kDecryptionCaption), job, nullptr);
}

void IncomingBlock::WriteAttachment(const Lines& block, std::size_t index) {
    MessageState scratch;
    ReceiveOutcome outcome;
    const TaReplyHandler noReply = [](const Lines&) { return false; };
    const QString name = viewer_.AttachmentName(int(index));
    (void)RunDecryption([&](const JobProgress& progress) {
        outcome = ReadReceivedBody(
            ctx_, scratch, block, noReply, {},
            [&](std::uint64_t done, std::uint64_t total) { return progress(name, done, total); },
            index);
        return outcome.ok;
    });
    SetInformation(ctx_, txt::kIdle);
    const std::vector<std::filesystem::path>& written = scratch.decrypted.attachments;
    if (outcome.ok && written.size() == 1) {
        viewer_.SetAttachmentFile(int(index), written.front());
        return;
    }
    if (outcome.cancelled) return;
    QStringList why{Tr(txt::kAttachmentNotices)};
    for (const Notice& n : scratch.decrypted.notices)
        why << Tr(n.text, {FromCp1252(n.detail)});
    if (why.size() == 1) why << Tr(txt::kAttachmentNotSaved, {name});
    (void)Ask(&viewer_, BoxIcon::Warning, why.join('\n'), kOk);
}

BlockOutcome IncomingBlock::Process(Lines& block, const QString& subject, Attachments attachments) {
    const bool onDemand = attachments == Attachments::OnDemand;
    const Lines whole = onDemand ? block : Lines();
    // A reply is taken from the block in place and processed afterwards, here:
    // its processing saves the holder's files and may ask the person.
    std::optional<Lines> reply;
    const TaReplyHandler keepReply = [&reply](const Lines& body) {
        reply = body;
        return true;
    };
    ReceiveOutcome outcome;
    // The progress names the attachment being deciphered: their sizes in
    // the received folder, in body order (read by the worker once it has
    // taken the names off the body).
    std::vector<std::pair<QString, std::uint64_t>> spans;
    const std::filesystem::path received = PathFromSetting(ctx_.settings.receivedEncryptedFolder);
    const auto nameAt = [&](std::uint64_t done) {
        if (spans.empty()) {
            for (const std::string& name : msgs_.receivedAttachmentNames) {
                const std::optional<std::string> safe = SafeAttachmentName(name);
                const QString shown = FromCp1252(safe.value_or(name));
                std::error_code ec;
                const std::uintmax_t size =
                    safe ? std::filesystem::file_size(received / shown.toStdString(), ec) : 0;
                spans.emplace_back(shown, ec ? 0 : size);
            }
        }
        for (const auto& [name, size] : spans) {
            if (done < size) return name;
            done -= size;
        }
        return spans.empty() ? QString() : spans.back().first;
    };
    const std::optional<std::size_t> only =
        onDemand ? std::optional(kNoAttachmentWritten) : std::nullopt;
    // Only a stop the job heard counts: a job that finished before Annuler
    // is a finished job.
    (void)RunDecryption([&](const JobProgress& progress) {
        outcome = ReadReceivedBody(
            ctx_, msgs_, std::move(block), keepReply, {},
            [&](std::uint64_t done, std::uint64_t total) {
                return progress(nameAt(done), done, total);
            },
            only);
        return outcome.ok;
    });
    if (reply) {
        const ReplyOutcome r = ProcessTaReplyLines(ctx_, auth_, *reply);
        host_.ShowInformation();
        if (!r.accepted) return BlockOutcome::Refused;
        if (r.captionChanged) host_.RefreshNames();
        if (r.showCertificate) certi_.ShowCertificate(auth_.certificateText, host_.Window());
        return BlockOutcome::Taken;
    }
    if (outcome.cancelled) {
        SetInformation(ctx_, txt::kIdle);
        return BlockOutcome::Cancelled;
    }
    if (!outcome.ok) return BlockOutcome::Refused;
    viewer_.Fill(msgs_.decrypted, subject);
    QMetaObject::Connection wanted;
    if (onDemand) {
        viewer_.OfferAttachments(msgs_.receivedAttachmentNames);
        wanted =
            QObject::connect(&viewer_, &FormMessage::AttachmentWanted, &viewer_,
                             [this, &whole](int i) { WriteAttachment(whole, std::size_t(i)); });
    }
    PlaceDialog(viewer_, host_.Window());
    SetInformation(ctx_, txt::kIdle);
    (void)RunModal(viewer_);
    QObject::disconnect(wanted);
    SetInformation(ctx_, txt::kMessageDecrypted);
    return BlockOutcome::Taken;
}

}  // namespace quarnel::ui
