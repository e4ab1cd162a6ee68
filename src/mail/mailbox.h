// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The mailbox: the messages of the received log, the sent log and the
// outgoing queue, one entry each, with what has been read (and its verdict)
// kept in a file of its own beside the received log; and the list the
// mailbox window shows, filtered as one types and sorted by any column.
// The logs keep their layouts: nothing here writes them, except Delete.

#include <QString>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "crypto/records.h"
#include "crypto/text_cipher.h"
#include "holder/holder_context.h"
#include "store/record_list.h"
#include "store/record_log.h"

namespace quarnel {

/// The most records listed of one log, the newest; the older are counted and told.
inline constexpr std::size_t kMaxListedRecords = 100000;
/// The most read marks kept (the oldest go first), and the largest marks
/// file read.
inline constexpr std::size_t kMaxReadMarks = kMaxListedRecords;
inline constexpr std::uintmax_t kMaxReadMarksBytes = std::uintmax_t(16) << 20;

enum class MailboxOrigin { Received, Sent, Queued };
/// Earlier: in the received log before read marks were kept (read, the
/// verdict unknown).
enum class ReadState { Unread, Earlier, Confirmed, NotConfirmed };

struct MailboxEntry {
    MailboxOrigin origin = MailboxOrigin::Received;
    std::size_t position = 0;  ///< the record's place in its log or the queue, from 0
    bool readable = true;      ///< false: listed by its position only
    std::string date;          ///< "dd/mm/yyyy hh:nn:ss", as the log keeps it
    std::string dateKey;       ///< the date as "yyyymmddhhnnss", for sorting
    QString correspondent;     ///< sender name and number; the addressee line when sent
    QString subject;
    int attachments = 0;
    std::uint64_t attachmentBytes = 0;    ///< of the encrypted files still there
    ReadState state = ReadState::Unread;  ///< received messages only
    std::string mark;                     ///< the key of its read mark (received)
    // Correspondent and subject without case or accents, for the filter and
    // the sort (Keys).
    QString plainCorrespondent;
    QString plainSubject;
};

/// Fills the entry's plain keys from its correspondent and subject.
void Keys(MailboxEntry& entry);

/// What listing a log gave.
struct MailboxLoad {
    std::vector<MailboxEntry> entries;
    std::size_t notListed = 0;        ///< older whole records beyond the limit
    bool unreadable = false;          ///< the file could not be read at all
    std::size_t damagedFromLine = 0;  ///< 0, or the line where it stops being records
};

/// What has been read and its verdict, by ReadMark (MsgChifL.dat beside the
/// received log; one record per mark: the mark, "1" when the sender was
/// confirmed, else "0"; oldest first), and how many records the log held
/// when the marks began (a first record "*" and that count).
class ReadMarks {
  public:
    /// False when the file is larger than kMaxReadMarksBytes or damaged: the
    /// marks read before the damage are kept, the file is left as it is
    /// until the next Save keeps it aside.
    bool Load(const std::filesystem::path& path);
    /// Whether the sender was confirmed; nothing when never read.
    [[nodiscard]] std::optional<bool> Find(const std::string& mark) const;
    void Set(const std::string& mark, bool confirmed);
    void Forget(const std::string& mark);
    [[nodiscard]] std::size_t Size() const { return index_.size(); }
    /// The log's records below this position were there before the marks.
    [[nodiscard]] std::optional<std::size_t> Earlier() const { return earlier_; }
    void SetEarlier(std::optional<std::size_t> count) { earlier_ = count; }
    /// The state of the received log's record at `position` whose mark is `mark`.
    [[nodiscard]] ReadState StateOf(const std::string& mark, std::size_t position) const;
    /// Writes the marks atomically, the newest kMaxReadMarks; a file that
    /// Load found damaged is first kept aside (KeepUnderDatedName).
    [[nodiscard]] SaveResult Save(const std::filesystem::path& path,
                                  const SaveFailureHandler& onFailure);

  private:
    RecordList list_;  // [mark, "1"|"0"], oldest first; a forgotten one is left empty
    std::unordered_map<std::string, std::size_t> index_;
    std::optional<std::size_t> earlier_;
    bool damaged_ = false;  // the file Load read is damaged or too large
};

[[nodiscard]] std::filesystem::path ReadMarksPath(const HolderContext& ctx);

/// Read marks begin with this version of the program: when the marks file is
/// missing, it is written with the received log's record count, so that a
/// holder's old mail counts as read rather than all waiting for Déchiffrer.
/// Run at start-up, before any retrieval.
void BeginReadMarks(const HolderContext& ctx, RecordLog& log);

/// The read mark of a received message by its text and attachment names (a
/// received log record from its fourth line, a waiting-list entry from its
/// second): a digest of the encrypted text, which no other message shares.
[[nodiscard]] std::string ReadMark(std::span<const std::string> textAndNames);

/// The received log record as the decryption queue takes it: the subject,
/// then the text and the attachment names. Nothing for a record that is not
/// a received message.
[[nodiscard]] std::optional<Lines> ReceivedQueueEntry(const Record& record);

/// The messages of the received log at `path`, their attachments' sizes
/// from `receivedFolder`, and their state from `marks`.
[[nodiscard]] MailboxLoad ListReceived(RecordLog& log, const std::filesystem::path& path,
                                       const std::filesystem::path& receivedFolder,
                                       const ReadMarks& marks,
                                       std::size_t limit = kMaxListedRecords);
/// The received log's messages not read yet, oldest first, as the decryption
/// queue takes them (ReceivedQueueEntry), read in one pass over the newest
/// kMaxListedRecords; `logged` gets the read mark of every message there.
[[nodiscard]] std::vector<Lines> UnreadMessages(RecordLog& log, const std::filesystem::path& path,
                                                const ReadMarks& marks,
                                                std::unordered_set<std::string>& logged);
/// The messages of the sent log at `path`, their attachments' sizes from
/// `sentFolder`.
[[nodiscard]] MailboxLoad ListSent(RecordLog& log, const std::filesystem::path& path,
                                   const std::filesystem::path& sentFolder,
                                   std::size_t limit = kMaxListedRecords);
/// The messages of the outgoing queue ("en attente").
[[nodiscard]] std::vector<MailboxEntry> ListQueued(const RecordList& queue);

/// The received message at `position` taken out of the log at `path`, its
/// attachment files in `receivedFolder` overwritten and removed, its read
/// mark forgotten. False with `why` when the log cannot be written: then
/// nothing was removed.
[[nodiscard]] bool DeleteReceived(RecordLog& log, const std::filesystem::path& path,
                                  const std::filesystem::path& receivedFolder, std::size_t position,
                                  ReadMarks& marks, std::string& why);

/// What a search in the texts of received messages found.
struct TextSearch {
    std::vector<std::size_t> found;  ///< log positions whose text holds the words
    std::size_t undecipherable = 0;  ///< messages that did not decrypt
    bool cancelled = false;          ///< `progress` stopped it: nothing found is given
};

/// The text of a message as one reads it: a rich text's RTF without its
/// control words, groups of fonts and colours, and with its escaped
/// characters (code page 1252).
[[nodiscard]] std::string VisibleText(std::string_view text, bool rich);

/// Looks for `words` (case and accents ignored) in the texts of the received
/// messages at `positions` of the log at `path`. Each is decrypted in memory
/// only, with the checks of any decryption and without its attachments:
/// nothing is written. `progress(done, total)` answering false stops it.
/// May run off the window's thread: it reads the holder and writes nothing
/// of it but the information line, which the caller keeps from the window.
[[nodiscard]] TextSearch SearchReceivedTexts(
    HolderContext& ctx, RecordLog& log, const std::filesystem::path& path,
    const std::vector<std::size_t>& positions, const QString& words,
    const std::function<bool(std::size_t, std::size_t)>& progress);

enum class MailboxColumn { Date, Correspondent, Subject, Attachments, State };
inline constexpr int kMailboxColumns = 5;

/// The entries shown: those whose correspondent or subject holds the filter
/// text (case ignored), in the order of one column.
class MailboxList {
  public:
    void Assign(std::vector<MailboxEntry> entries);
    void SetFilter(const QString& text);
    /// Shows only the entries at these log positions (a search's finds),
    /// whatever the filter; nothing shows the filter's rows again.
    void SetFound(std::optional<std::vector<std::size_t>> positions);
    void SortBy(MailboxColumn column, bool ascending);
    [[nodiscard]] std::size_t Size() const { return rows_.size(); }
    [[nodiscard]] const MailboxEntry& Row(std::size_t row) const { return entries_[rows_[row]]; }
    [[nodiscard]] MailboxEntry& Row(std::size_t row) { return entries_[rows_[row]]; }
    [[nodiscard]] const std::vector<MailboxEntry>& Entries() const { return entries_; }
    [[nodiscard]] MailboxColumn Column() const { return column_; }
    [[nodiscard]] bool Ascending() const { return ascending_; }

  private:
    void Filter();
    void Sort();

    std::vector<MailboxEntry> entries_;
    std::vector<std::size_t> rows_;
    QString filter_;
    std::optional<std::vector<std::size_t>> found_;  // sorted
    MailboxColumn column_ = MailboxColumn::Date;
    bool ascending_ = false;
};

}  // namespace quarnel
