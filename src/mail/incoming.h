// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Sorting received mail: which mails are taken (ours by X-Mailer, addressed
// to this holder), their text cut to the encrypted body, the attachments
// saved under safe free names, the received log; and MailRetrieval, which
// runs a whole retrieval with a Pop3Client: everything accepted is on disk
// (files and log) before the deletions and QUIT.

#include <QObject>
#include <QString>

#include <filesystem>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "crypto/records.h"
#include "crypto/secret.h"
#include "holder/holder_context.h"
#include "mail/mail_limits.h"
#include "mail/mail_state.h"
#include "mail/mime_parse.h"
#include "protocol/body.h"

namespace quarnel {

class Pop3Client;
struct SessionResult;
struct RetrievedMail;

/// The decryption queue: one entry per accepted message, the subject first,
/// then the text from the separator to the end marker, then the attachment
/// names. Lives in memory only.
using DecryptionQueue = std::vector<Lines>;

/// The most lines of text one received message may hold.
inline constexpr std::size_t kMaxReceivedLines = 200000;
/// The name a refused attachment name is replaced by (before a free suffix).
inline constexpr const char* kFallbackAttachmentName = "piece_jointe";

/// Whether the mail is one of ours: the first X-Mailer value (name case
/// ignored) is "QuarnelSys" exactly.
[[nodiscard]] bool IsOurMail(const ParsedMail& mail);

enum class MailVerdict {
    Accepted,
    Malformed,  ///< no separator, too short, no address line or no end marker
    NotForUs,   ///< another affiliate, or a kind other than a message
};

struct SortedText {
    MailVerdict verdict = MailVerdict::Malformed;
    std::string recipientNumber;  ///< positions 11-21 of the address line
    /// Accepted: from the separator line to the end-marker line.
    Lines text;
};

/// The encrypted text of a mail of ours for the holder `ownNumber`, from the
/// first text part that holds the separator line (a gateway may add a footer
/// as a part of its own): lines before the separator and after the last end
/// marker are dropped.
[[nodiscard]] SortedText SortText(const ParsedMail& mail, std::string_view ownNumber);

/// `received` (UTF-8, as the mail named it) as a code page 1252 name safe to
/// write in the received folder: its last path part, or nothing when that is
/// empty, ".", "..", holds a control character or cannot be written in 1252.
[[nodiscard]] std::optional<std::string> ReceivedFileName(const std::string& received);

/// Writes each attachment into `folder` under its safe name, or the first
/// free variant of it (a file already there, or one of `reserved`, is never
/// replaced). Gives the names written (code page 1252), in order; on a fault
/// removes what it wrote and gives nothing, with `failed` naming the file.
[[nodiscard]] std::optional<std::vector<std::string>> SaveAttachments(
    const std::vector<MailAttachment>& attachments, const std::filesystem::path& folder,
    const std::vector<std::filesystem::path>& reserved, std::vector<std::string>* refusedNames,
    std::string* failed);

/// The received log record: date and time, "Message Chiffré de %s",
/// "objet : %s", the text and the attachment names (code page 1252).
[[nodiscard]] Record ReceivedLogRecord(double when, const std::string& fromName,
                                       const std::string& subject, const Lines& textAndNames);

/// MsgChifE.dat in the received-encrypted folder.
[[nodiscard]] std::filesystem::path ReceivedLogPath(const HolderContext& ctx);

/// The most marks of stored mail kept: the oldest go first.
inline constexpr std::size_t kMaxStoredMarks = 10000;
/// MsgChifU.dat beside the received log: a mark per mail stored from the
/// mailbox, so that a mail stored by a retrieval cut short before its
/// deletions (or whose QUIT was refused) is not stored again.
[[nodiscard]] std::filesystem::path StoredMarksPath(const HolderContext& ctx);
/// The mark of a mail by the server's unique id (RFC 1939 7) in the mailbox
/// `mailbox` (account and server), and by the digest of its bytes; neither
/// tells anything of the mail itself.
[[nodiscard]] std::string UidMark(const std::string& mailbox, const std::string& uid);
[[nodiscard]] std::string DigestMark(const std::string& digest);

/// How a retrieval ended.
struct RetrievalOutcome {
    bool noPassword = false;  ///< nothing stored to log in with
    bool connected = false;   ///< logged in
    bool complete = false;    ///< every message was looked at and QUIT answered
    int accepted = 0;         ///< entries added to the decryption queue
    int deleted = 0;          ///< DELE answered (taking effect with QUIT)
    int alreadyStored = 0;    ///< met again after an interrupted retrieval: deleted, not stored
    bool logSaved = false;    ///< MsgChifE.dat written (when anything was accepted)
};

/// "Retirer": logs in with the settings' server and account and the stored
/// mail password, walks the mailbox (TOP for the X-Mailer, RETR of ours into
/// a temporary file of the received folder, parsed from there), saves
/// attachments, queues the accepted texts, writes the received log and the
/// marks of what it stored, and only then deletes the accepted messages
/// (and those stored before) and sends QUIT. A mail past a limit stays on
/// the server and the walk goes on.
class MailRetrieval : public QObject {
    Q_OBJECT
  public:
    MailRetrieval(HolderContext& ctx, MailState& mail, DecryptionQueue& queue,
                  MailLimits limits = {}, QObject* parent = nullptr);
    ~MailRetrieval() override;

    /// Starts; without a stored mail password logs so and finishes at once.
    void Start();
    /// A password to use instead of the stored one (asked for, or given to a tool).
    void SetPassword(SecretString password) { password_ = std::move(password); }
    /// Drops the connection at the holder's request (nothing is deleted),
    /// keeps what was stored, and finishes.
    void Abort();
    [[nodiscard]] bool running() const { return running_; }
    [[nodiscard]] const RetrievalOutcome& outcome() const { return outcome_; }

  Q_SIGNALS:
    /// A text of mail/pop3_texts.h and its detail (the %s), one per step.
    void logged(int textId, const QString& detail);
    void progress(qint64 done, qint64 total);
    /// The server's text of a failed step.
    void error(const QString& serverText);
    void finished(const quarnel::RetrievalOutcome& outcome);

  private:
    void OnStat(int count);
    void Next();
    void OnTop(int n, const std::string& headers);
    void OnRetrieved(int n, const RetrievedMail& retrieved);
    /// Takes a mail of ours for the holder: attachments, queue, log, marks.
    void Accept(int n, const ParsedMail& mail, SortedText sorted, const RetrievedMail& retrieved);
    /// Message n was stored by an earlier retrieval: deleted, not stored again.
    void AlreadyStored(int n);
    void OnError(const QString& text);
    void OnClientFinished(const SessionResult& result);
    void LogSender();
    /// Writes the log, then the deletions, then QUIT.
    void Conclude();
    /// Writes the received log, then the marks of what it stored.
    void SaveStored();
    void LoadMarks();
    void DeleteNext();
    void Finish();

    HolderContext& ctx_;
    MailState& mail_;
    DecryptionQueue& queue_;
    Pop3Client* client_;  // child
    RetrievalOutcome outcome_;
    bool running_ = false;
    bool concluding_ = false;
    int count_ = 0;
    int current_ = 0;
    ParsedMail headers_;   // of the message being handled
    std::string mailbox_;  // account and server, for the marks
    RecordList marks_;     // MsgChifU.dat, one mark a record, oldest first
    std::unordered_set<std::string> known_;
    bool marksChanged_ = false;
    std::vector<int> toDelete_;
    std::size_t deleteIndex_ = 0;
    SecretString password_;
};

}  // namespace quarnel
