// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/incoming.h"

#include <QCryptographicHash>

#include <system_error>

#include "crypto/cp1252.h"
#include "crypto/datetime.h"
#include "crypto/own_keys.h"
#include "mail/mail_tls.h"
#include "mail/pop3_client.h"
#include "mail/pop3_texts.h"
#include "mail/sent_log.h"
#include "messages/decryption.h"
#include "messages/encryption.h"
#include "protocol/kinds.h"
#include "protocol/lines.h"
#include "store/atomic_file.h"
#include "store/program_files.h"
#include "store/record_list.h"

namespace quarnel {

namespace {

/// The lines of a text (CR LF or LF); false beyond kMaxReceivedLines.
bool SplitLines(std::string_view text, Lines& out) {
    out.clear();
    std::size_t start = 0;
    while (start < text.size()) {
        if (out.size() == kMaxReceivedLines) return false;
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::size_t stop = end;
        if (stop > start && text[stop - 1] == '\r') --stop;
        out.emplace_back(text.substr(start, stop - start));
        start = end + 1;
    }
    return true;
}

QString Utf8(const std::string& s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

}  // namespace

bool IsOurMail(const ParsedMail& mail) {
    const std::vector<std::string> values = mail.Values("X-Mailer");
    return !values.empty() && values.front() == "QuarnelSys";
}

SortedText SortText(const ParsedMail& mail, std::string_view ownNumber) {
    SortedText out;
    Lines lines;
    std::size_t first = 0;
    bool found = false;
    for (const std::string& part : mail.textParts) {
        if (!SplitLines(part, lines)) return out;
        first = 0;
        while (first < lines.size() && WithoutTrailingBlanks(lines[first]) != kSeparatorLine)
            ++first;
        found = first < lines.size();
        if (found) break;
    }
    // The separator, the address line and at least one more.
    if (!found || lines.size() - first < 3) return out;
    AddressFields fields;
    if (!ParseAddressLine(WithoutTrailingBlanks(lines[first + 1]), fields)) return out;
    out.recipientNumber = fields.recipientNumber;
    if (!fields.kind || !IsMessageKind(*fields.kind) || fields.recipientNumber != ownNumber) {
        out.verdict = MailVerdict::NotForUs;
        return out;
    }
    std::size_t last = lines.size();
    while (last > first + 2 && !IsEndMarkerLine(lines[last - 1]))
        --last;
    if (last == first + 2) return out;  // no end marker: the text was cut
    // The encrypted text is plain characters: a control (a stray CR) would
    // break the record lines of the log and the queue.
    for (std::size_t i = first; i < last; ++i) {
        for (const char c : lines[i]) {
            if (static_cast<unsigned char>(c) < 0x20 && c != '\t') return out;
        }
    }
    out.text.assign(std::make_move_iterator(lines.begin() + std::ptrdiff_t(first)),
                    std::make_move_iterator(lines.begin() + std::ptrdiff_t(last)));
    out.verdict = MailVerdict::Accepted;
    return out;
}

std::optional<std::string> ReceivedFileName(const std::string& received) {
    std::optional<std::string> safe = SafeAttachmentName(received);
    std::string name;
    if (!safe || !Utf8ToCp1252(*safe, name)) return std::nullopt;
    for (const char c : name) {
        if (static_cast<unsigned char>(c) == 0x7F) return std::nullopt;
    }
    return name;
}

std::optional<std::vector<std::string>> SaveAttachments(
    const std::vector<MailAttachment>& attachments, const std::filesystem::path& folder,
    const std::vector<std::filesystem::path>& reserved, std::vector<std::string>* refusedNames,
    std::string* failed) {
    std::vector<std::string> names;
    std::vector<std::filesystem::path> written;
    const auto undo = [&](const std::string& name) {
        std::error_code ec;
        for (const auto& p : written)
            std::filesystem::remove(p, ec);
        if (failed) *failed = name;
        return std::nullopt;
    };
    for (const MailAttachment& a : attachments) {
        std::optional<std::string> name = ReceivedFileName(a.fileName);
        if (!name) {
            if (refusedNames) refusedNames->push_back(a.fileName);
            name = kFallbackAttachmentName;
        }
        StreamingFileWriter writer(folder / Cp1252ToUtf8(*name));
        if (!writer.Open() ||
            !a.WriteTo([&](std::string_view piece) { return writer.Write(piece); })) {
            return undo(*name);
        }
        // Each try looks again, so that a file made meanwhile is passed over.
        std::vector<std::filesystem::path> taken = reserved;
        taken.insert(taken.end(), written.begin(), written.end());
        const std::filesystem::path wanted = Cp1252ToUtf8(*name);
        std::optional<std::filesystem::path> path = writer.CommitAsNew([&] {
            std::optional<std::filesystem::path> p = FreeFileName(folder, wanted, taken);
            if (p) taken.push_back(*p);
            return p;
        });
        if (!path) return undo(*name);
        written.push_back(*path);
        std::string saved;
        if (!Utf8ToCp1252(path->filename().string(), saved)) return undo(*name);
        names.push_back(std::move(saved));
    }
    return names;
}

Record ReceivedLogRecord(double when, const std::string& fromName, const std::string& subject,
                         const Lines& textAndNames) {
    Record r;
    r.reserve(textAndNames.size() + 3);
    r.push_back(DateTimeText(when));
    r.push_back(FillPlaceholders(FrenchTextCp1252(txt::kPop3LogFrom), {fromName}));
    r.push_back(FillPlaceholders(FrenchTextCp1252(txt::kPop3Subject), {subject}));
    r.insert(r.end(), textAndNames.begin(), textAndNames.end());
    return r;
}

std::filesystem::path ReceivedLogPath(const HolderContext& ctx) {
    return PathFromSetting(ctx.settings.receivedEncryptedFolder) / "MsgChifE.dat";
}

std::filesystem::path StoredMarksPath(const HolderContext& ctx) {
    return PathFromSetting(ctx.settings.receivedEncryptedFolder) / "MsgChifU.dat";
}

std::string UidMark(const std::string& mailbox, const std::string& uid) {
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(QByteArrayView(mailbox.data(), qsizetype(mailbox.size())));
    hash.addData(QByteArrayView("\0", 1));
    hash.addData(QByteArrayView(uid.data(), qsizetype(uid.size())));
    return "U" + hash.result().toHex().toStdString();
}

std::string DigestMark(const std::string& digest) {
    return "D" + digest;
}

// ---- MailRetrieval ----

namespace {
// The file each mail RETR brings goes to a temporary beside this name.
constexpr const char* kSpoolName = "MsgRecu.eml";
}  // namespace

MailRetrieval::MailRetrieval(HolderContext& ctx, MailState& mail, DecryptionQueue& queue,
                             MailLimits limits, QObject* parent)
    : QObject(parent),
      ctx_(ctx),
      mail_(mail),
      queue_(queue),
      client_(new Pop3Client(this, limits)) {
    connect(client_, &Pop3Client::logged, this, &MailRetrieval::logged);
    connect(client_, &Pop3Client::progress, this, &MailRetrieval::progress);
    connect(client_, &Pop3Client::error, this, &MailRetrieval::OnError);
    connect(client_, &Pop3Client::statReady, this, [this](int count, qint64) { OnStat(count); });
    connect(client_, &Pop3Client::topReady, this, &MailRetrieval::OnTop);
    connect(client_, &Pop3Client::retrieved, this, &MailRetrieval::OnRetrieved);
    connect(client_, &Pop3Client::leftOnServer, this, [this](int) {
        LogSender();
        Next();
    });
    connect(client_, &Pop3Client::deleted, this, [this](int) {
        ++outcome_.deleted;
        DeleteNext();
    });
    connect(client_, &Pop3Client::finished, this, &MailRetrieval::OnClientFinished);
}

MailRetrieval::~MailRetrieval() {
    client_->Abort();
}

void MailRetrieval::Start() {
    if (running_) return;
    outcome_ = {};
    running_ = true;
    concluding_ = false;
    count_ = current_ = 0;
    toDelete_.clear();
    deleteIndex_ = 0;
    Q_EMIT logged(txt::kPop3Call, QString());
    Pop3Job job;
    if (!password_->empty()) {
        *job.password = password_.Get();
    } else if (ctx_.keyStore.empty() ||
               !ReadMailPassword(ctx_.keyStore, ctx_.ownDigit, *job.password)) {
        job.password->clear();
    }
    if (job.password->empty()) {
        outcome_.noPassword = true;
        Q_EMIT logged(txt::kPop3NoPassword, QString());
        Finish();
        return;
    }
    LoadMarks();
    mailbox_ = ctx_.settings.accountName + '\n' + ctx_.settings.pop3Server;
    job.server = Utf8(Cp1252ToUtf8(ctx_.settings.pop3Server));
    job.user = Cp1252ToUtf8(ctx_.settings.accountName);
    client_->SetExtraAuthorities(ctx_.dataFolder / kExtraAuthorityFile);
    client_->Start(job);
}

void MailRetrieval::LoadMarks() {
    marks_.clear();
    known_.clear();
    marksChanged_ = false;
    // A damaged file forgets what it cannot read: at worst a mail is stored twice.
    (void)LoadRecordList(StoredMarksPath(ctx_), marks_);
    for (const Record& r : marks_) {
        if (!r.empty()) known_.insert(r.front());
    }
}

void MailRetrieval::Abort() {
    if (!running_) return;
    client_->Abort();
    Q_EMIT logged(txt::kPop3Cancelled, QString());
    // What was accepted is on disk already; the log follows.
    if (outcome_.accepted > 0 && !outcome_.logSaved) SaveStored();
    Finish();
}

void MailRetrieval::OnStat(int count) {
    outcome_.connected = true;
    count_ = count;
    if (count == 0) {
        Q_EMIT logged(txt::kPop3NoMessage, QString());
    } else {
        Q_EMIT logged(count == 1 ? txt::kPop3OneMessage : txt::kPop3Messages,
                      QString::number(count));
    }
    Next();
}

void MailRetrieval::Next() {
    while (running_) {
        if (++current_ > count_) {
            outcome_.complete = true;
            Conclude();
            return;
        }
        // Known by its unique id: not even fetched.
        const std::string uid = client_->Uid(current_);
        if (!uid.empty() && known_.count(UidMark(mailbox_, uid))) {
            AlreadyStored(current_);
            continue;
        }
        headers_ = ParsedMail{};
        client_->Top(current_);
        return;
    }
}

void MailRetrieval::AlreadyStored(int n) {
    ++outcome_.alreadyStored;
    toDelete_.push_back(n);
    Q_EMIT logged(txt::kPop3AlreadyStored, QString::number(n));
}

void MailRetrieval::LogSender() {
    Q_EMIT logged(txt::kPop3From, Utf8(headers_.FromName()));
    Q_EMIT logged(txt::kPop3Subject, Utf8(headers_.Subject()));
}

void MailRetrieval::OnTop(int n, const std::string& headers) {
    if (!ParseMailHeaders(headers, headers_)) {
        Q_EMIT logged(txt::kPop3Unparsable, QString::number(n));
        Next();
        return;
    }
    if (IsOurMail(headers_)) {
        client_->Retrieve(n, PathFromSetting(ctx_.settings.receivedEncryptedFolder) / kSpoolName);
        return;
    }
    Q_EMIT logged(txt::kPop3PlainRejected, QString::number(n));
    LogSender();
    Next();
}

void MailRetrieval::OnRetrieved(int n, const RetrievedMail& retrieved) {
    const QString number = QString::number(n);
    const QString bytes = QString::number(retrieved.bytes);
    if (known_.count(DigestMark(retrieved.digest))) {
        AlreadyStored(n);
    } else {
        ParsedMail mail;
        switch (ParseMailFile(retrieved.file, mail)) {
            case MailParseFault::None:
                Accept(n, mail, SortText(mail, ctx_.ownNumber), retrieved);
                break;
            case MailParseFault::NotAMail:
                Q_EMIT logged(txt::kPop3Unparsable, number);
                break;
            case MailParseFault::Structure:
                Q_EMIT logged(
                    txt::kPop3LeftStructure,
                    LogDetails({number, bytes, QString::number(kMaxMailParts),
                                QString::number(kMaxMailDepth), QString::number(kMaxMailHeaders)}));
                break;
            case MailParseFault::TextTooLong:
                Q_EMIT logged(txt::kPop3LeftTextTooLong,
                              LogDetails({number, bytes, QString::number(kMaxMailText)}));
                break;
        }
    }
    if (!running_) return;
    LogSender();
    Next();
}

void MailRetrieval::Accept(int n, const ParsedMail& mail, SortedText sorted,
                           const RetrievedMail& retrieved) {
    const QString number = QString::number(n);
    if (sorted.verdict == MailVerdict::Malformed) {
        Q_EMIT logged(txt::kPop3Malformed, number);
        return;
    }
    if (sorted.verdict == MailVerdict::NotForUs) {
        Q_EMIT logged(txt::kPop3OtherRejected, number);
        Q_EMIT logged(txt::kPop3ForAffiliate, Utf8(Cp1252ToUtf8(sorted.recipientNumber)));
        return;
    }
    std::vector<std::string> refused;
    std::string failed;
    const std::filesystem::path folder = PathFromSetting(ctx_.settings.receivedEncryptedFolder);
    // The program's own names, the marks file among them, are never taken.
    std::optional<std::vector<std::string>> names =
        SaveAttachments(mail.attachments, folder, {}, &refused, &failed);
    for (const std::string& r : refused)
        Q_EMIT logged(txt::kPop3BadAttachmentName, Utf8(r));
    if (!names) {
        // Nothing of it kept here: it stays on the server for another try.
        Q_EMIT logged(txt::kPop3AttachmentFailed, Utf8(Cp1252ToUtf8(failed)));
        return;
    }
    Lines textAndNames = std::move(sorted.text);
    textAndNames.insert(textAndNames.end(), names->begin(), names->end());
    const std::string subject = Utf8ToCp1252Lossy(mail.Subject());
    Lines entry;
    entry.reserve(textAndNames.size() + 1);
    entry.push_back(subject);
    entry.insert(entry.end(), textAndNames.begin(), textAndNames.end());
    queue_.push_back(std::move(entry));
    Q_EMIT logged(txt::kPop3Accepted, number);
    mail_.receivedLog.Add(
        ReceivedLogRecord(OleNow(), Utf8ToCp1252Lossy(mail.FromName()), subject, textAndNames));
    // Marked as stored by both its unique id and its bytes.
    std::vector<std::string> marks{DigestMark(retrieved.digest)};
    if (const std::string uid = client_->Uid(n); !uid.empty())
        marks.push_back(UidMark(mailbox_, uid));
    for (std::string& m : marks) {
        if (known_.insert(m).second) marks_.push_back({std::move(m)});
    }
    marksChanged_ = true;
    toDelete_.push_back(n);
    ++outcome_.accepted;
}

void MailRetrieval::OnError(const QString& text) {
    Q_EMIT error(text);
    // A refused command in a live session: stop sorting, keep what was taken.
    if (running_ && client_->ready() && !concluding_) {
        Q_EMIT logged(txt::kPop3TransferFailed, QString());
        Conclude();
    } else if (concluding_ && client_->ready()) {
        DeleteNext();
    }
}

void MailRetrieval::SaveStored() {
    outcome_.logSaved =
        SaveLog(ctx_, mail_.receivedLog, ReceivedLogPath(ctx_)) == SaveResult::Saved;
    if (!outcome_.logSaved || !marksChanged_) return;
    if (marks_.size() > kMaxStoredMarks) {
        marks_.erase(marks_.begin(),
                     marks_.begin() + std::ptrdiff_t(marks_.size() - kMaxStoredMarks));
    }
    // Unsaved, a mail met again would be stored twice: the holder is asked.
    (void)SaveRecordList(marks_, StoredMarksPath(ctx_), ctx_.Hooks().onSaveFailure);
    marksChanged_ = false;
}

void MailRetrieval::Conclude() {
    concluding_ = true;
    if (outcome_.accepted > 0) {
        SaveStored();
        // Without the log on disk nothing is deleted: the mails stay on the server.
        if (!outcome_.logSaved) toDelete_.clear();
    }
    DeleteNext();
}

void MailRetrieval::DeleteNext() {
    if (!client_->ready()) return;
    if (deleteIndex_ < toDelete_.size()) {
        client_->Delete(toDelete_[deleteIndex_++]);
        return;
    }
    client_->Quit();
}

void MailRetrieval::OnClientFinished(const SessionResult& result) {
    if (!result.why.isEmpty()) Q_EMIT error(result.why);
    if (!running_) return;
    if (!result.completed) {
        // The session is gone: nothing marked is deleted, so any accepted mail
        // stays on the server too; the log keeps what was taken, and the
        // marks that it is not to be stored again.
        outcome_.complete = false;
        outcome_.deleted = 0;
        if (outcome_.connected && !concluding_) {
            Q_EMIT logged(txt::kPop3TransferFailed, QString());
        }
        if (outcome_.accepted > 0 && !outcome_.logSaved) SaveStored();
    }
    Finish();
}

void MailRetrieval::Finish() {
    running_ = false;
    Q_EMIT finished(outcome_);
}

}  // namespace quarnel
