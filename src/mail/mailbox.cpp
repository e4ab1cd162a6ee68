// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/mailbox.h"

#include <QCryptographicHash>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <system_error>

#include "crypto/cp1252.h"
#include "crypto/secret.h"
#include "mail/incoming.h"
#include "mail/outgoing_queue.h"
#include "mail/pop3_texts.h"
#include "messages/decryption.h"
#include "protocol/body.h"
#include "resources/texts.h"
#include "store/program_files.h"

namespace quarnel {

namespace {

// "dd/mm/yyyy hh:nn:ss" as "yyyymmddhhnnss"; empty for anything else.
std::string DateKey(const std::string& date) {
    if (date.size() != 19 || date[2] != '/' || date[5] != '/' || date[10] != ' ') return {};
    return date.substr(6, 4) + date.substr(3, 2) + date.substr(0, 2) + date.substr(11, 2) +
           date.substr(14, 2) + date.substr(17, 2);
}

// The line without the fixed text that starts it, or nothing.
std::optional<std::string> After(const std::string& line, std::string_view prefix) {
    if (line.size() < prefix.size() || line.compare(0, prefix.size(), prefix) != 0)
        return std::nullopt;
    return line.substr(prefix.size());
}

// What a log text says before its "%s".
std::string PrefixOf(int textId) {
    const std::string pattern = FrenchTextCp1252(textId);
    return pattern.substr(0, pattern.find("%s"));
}

QString Shown(const std::string& cp1252) {
    return QString::fromStdString(Cp1252ToUtf8(cp1252));
}

// The names after the last end-marker line of `lines` from `first` on.
std::vector<std::string> NamesAfterEndMarker(const Record& lines, std::size_t first) {
    std::size_t end = lines.size();
    while (end > first && !IsEndMarkerLine(lines[end - 1]))
        --end;
    if (end == first) return {};
    std::vector<std::string> names;
    for (std::size_t i = end; i < lines.size(); ++i) {
        std::string name = WithoutTrailingBlanks(lines[i]);
        if (!name.empty()) names.push_back(std::move(name));
    }
    return names;
}

// The count and the sizes of the files still in `folder` (names as the log
// keeps them, code page 1252; a name that is not a plain file name counts
// without a size).
void CountAttachments(MailboxEntry& e, const std::vector<std::string>& names,
                      const std::filesystem::path& folder) {
    e.attachments = int(names.size());
    for (const std::string& name : names) {
        const std::filesystem::path file = Cp1252ToUtf8(name);
        if (!file.has_filename() || file.filename() != file) continue;
        std::error_code ec;
        const std::uintmax_t size = std::filesystem::file_size(folder / file, ec);
        if (!ec) e.attachmentBytes += size;
    }
}

// Without case or accents: "Émile" sorts and is found as "emile".
QString Plain(const QString& text) {
    QString out;
    const QString d = text.normalized(QString::NormalizationForm_D);
    out.reserve(d.size());
    for (const QChar c : d) {
        if (!c.isMark()) out.append(c);
    }
    return out.toCaseFolded();
}

MailboxEntry Unreadable(MailboxOrigin origin, std::size_t position) {
    MailboxEntry e;
    e.origin = origin;
    e.position = position;
    e.readable = false;
    return e;
}

// The records of a log, each made an entry by `make` (nothing: unreadable).
template <typename Make>
MailboxLoad ListLog(RecordLog& log, const std::filesystem::path& path, std::size_t limit,
                    MailboxOrigin origin, const Make& make) {
    MailboxLoad load;
    const std::optional<RecordFileIndex> index =
        log.Visit(path, limit, [&](std::size_t i, std::optional<Record> record) {
            std::optional<MailboxEntry> e;
            if (record) e = make(*record, i);
            if (!e) e = Unreadable(origin, i);
            e->origin = origin;
            e->position = i;
            Keys(*e);
            load.entries.push_back(std::move(*e));
        });
    if (!index) {
        load.unreadable = true;
        return load;
    }
    load.notListed = index->starts.size() - load.entries.size();
    if (index->tail == FileTail::Damaged) load.damagedFromLine = index->faultLine;
    return load;
}

}  // namespace

void Keys(MailboxEntry& entry) {
    entry.plainCorrespondent = Plain(entry.correspondent);
    entry.plainSubject = Plain(entry.subject);
}

bool ReadMarks::Load(const std::filesystem::path& path) {
    list_.clear();
    index_.clear();
    damaged_ = false;
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec) return !std::filesystem::exists(path, ec);
    if (size > kMaxReadMarksBytes) {
        damaged_ = true;
        return false;
    }
    earlier_.reset();
    RecordList read;
    const bool whole = LoadRecordList(path, read);
    for (Record& r : read) {
        if (r.size() != 2) continue;
        if (r[0] == "*") {
            std::size_t count = 0;
            const auto [end, fault] =
                std::from_chars(r[1].data(), r[1].data() + r[1].size(), count);
            if (fault == std::errc() && end == r[1].data() + r[1].size()) earlier_ = count;
        } else if (r[1] == "0" || r[1] == "1") {
            Set(r[0], r[1] == "1");
        }
    }
    damaged_ = !whole;
    return whole;
}

ReadState ReadMarks::StateOf(const std::string& mark, std::size_t position) const {
    if (const std::optional<bool> confirmed = Find(mark))
        return *confirmed ? ReadState::Confirmed : ReadState::NotConfirmed;
    return position < earlier_.value_or(0) ? ReadState::Earlier : ReadState::Unread;
}

std::optional<bool> ReadMarks::Find(const std::string& mark) const {
    const auto it = index_.find(mark);
    if (it == index_.end()) return std::nullopt;
    return list_[it->second][1] == "1";
}

void ReadMarks::Set(const std::string& mark, bool confirmed) {
    const std::string flag = confirmed ? "1" : "0";
    if (const auto it = index_.find(mark); it != index_.end()) {
        list_[it->second][1] = flag;
        return;
    }
    index_.emplace(mark, list_.size());
    list_.push_back({mark, flag});
}

void ReadMarks::Forget(const std::string& mark) {
    const auto it = index_.find(mark);
    if (it == index_.end()) return;
    list_[it->second].clear();
    index_.erase(it);
}

SaveResult ReadMarks::Save(const std::filesystem::path& path, const SaveFailureHandler& onFailure) {
    // What could not be read stays on the disk, under another name.
    if (damaged_ && KeepUnderDatedName(path, "damaged")) damaged_ = false;
    RecordList kept;
    kept.reserve(std::min(index_.size(), kMaxReadMarks) + 1);
    for (const Record& r : list_) {
        if (!r.empty()) kept.push_back(r);
    }
    if (kept.size() > kMaxReadMarks)
        kept.erase(kept.begin(), kept.begin() + std::ptrdiff_t(kept.size() - kMaxReadMarks));
    if (earlier_) kept.insert(kept.begin(), {"*", std::to_string(*earlier_)});
    return SaveRecordList(kept, path, onFailure);
}

std::filesystem::path ReadMarksPath(const HolderContext& ctx) {
    return PathFromSetting(ctx.settings.receivedEncryptedFolder) / "MsgChifL.dat";
}

void BeginReadMarks(const HolderContext& ctx, RecordLog& log) {
    std::error_code ec;
    if (std::filesystem::exists(ReadMarksPath(ctx), ec) || ec) return;
    const std::optional<std::size_t> count = log.Count(ReceivedLogPath(ctx));
    if (!count) return;  // unreadable now: the next start tries again
    ReadMarks marks;
    marks.SetEarlier(*count);
    (void)marks.Save(ReadMarksPath(ctx), {});
}

std::string ReadMark(std::span<const std::string> textAndNames) {
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const std::string& line : textAndNames) {
        hash.addData(QByteArrayView(line.data(), qsizetype(line.size())));
        hash.addData(QByteArrayView("\n", 1));
    }
    return "L" + hash.result().toHex().toStdString();
}

std::optional<Lines> ReceivedQueueEntry(const Record& record) {
    // Date, sender, subject, separator and address line at least.
    if (record.size() < 5 || DateKey(record[0]).empty() ||
        !After(record[1], PrefixOf(txt::kPop3LogFrom)) ||
        WithoutTrailingBlanks(record[3]) != kSeparatorLine) {
        return std::nullopt;
    }
    const std::optional<std::string> subject = After(record[2], PrefixOf(txt::kPop3Subject));
    if (!subject) return std::nullopt;
    Lines entry;
    entry.reserve(record.size() - 2);
    entry.push_back(*subject);
    entry.insert(entry.end(), record.begin() + 3, record.end());
    return entry;
}

MailboxLoad ListReceived(RecordLog& log, const std::filesystem::path& path,
                         const std::filesystem::path& receivedFolder, const ReadMarks& marks,
                         std::size_t limit) {
    const std::string from = PrefixOf(txt::kPop3LogFrom);
    return ListLog(log, path, limit, MailboxOrigin::Received,
                   [&](const Record& r, std::size_t position) -> std::optional<MailboxEntry> {
                       const std::optional<Lines> entry = ReceivedQueueEntry(r);
                       AddressFields address;
                       if (!entry || !ParseAddressLine(WithoutTrailingBlanks(r[4]), address))
                           return std::nullopt;
                       MailboxEntry e;
                       e.date = r[0];
                       e.dateKey = DateKey(r[0]);
                       e.correspondent = Shown(*After(r[1], from)) + QStringLiteral(" (") +
                                         QString::fromStdString(address.senderNumber) + QChar(u')');
                       e.subject = Shown(entry->front());
                       CountAttachments(e, NamesAfterEndMarker(r, 4), receivedFolder);
                       e.mark = ReadMark(std::span(r).subspan(3));
                       e.state = marks.StateOf(e.mark, position);
                       return e;
                   });
}

std::vector<Lines> UnreadMessages(RecordLog& log, const std::filesystem::path& path,
                                  const ReadMarks& marks, std::unordered_set<std::string>& logged) {
    std::vector<Lines> unread;
    (void)log.Visit(path, kMaxListedRecords, [&](std::size_t i, std::optional<Record> record) {
        std::optional<Lines> entry;
        if (record) entry = ReceivedQueueEntry(*record);
        if (!entry) return;
        const std::string mark = ReadMark(std::span(*entry).subspan(1));
        if (marks.StateOf(mark, i) == ReadState::Unread) unread.push_back(std::move(*entry));
        logged.insert(mark);
    });
    return unread;
}

MailboxLoad ListSent(RecordLog& log, const std::filesystem::path& path,
                     const std::filesystem::path& sentFolder, std::size_t limit) {
    return ListLog(log, path, limit, MailboxOrigin::Sent,
                   [&](const Record& r, std::size_t) -> std::optional<MailboxEntry> {
                       // Date, addressee line, recipients, subject.
                       std::optional<std::string> subject;
                       if (r.size() >= 4) subject = After(r[3], "Objet : ");
                       if (!subject || DateKey(r[0]).empty()) return std::nullopt;
                       MailboxEntry e;
                       e.date = r[0];
                       e.dateKey = DateKey(r[0]);
                       e.correspondent = Shown(r[1]);
                       e.subject = Shown(*subject);
                       CountAttachments(e, NamesAfterEndMarker(r, 4), sentFolder);
                       return e;
                   });
}

std::vector<MailboxEntry> ListQueued(const RecordList& queue) {
    std::vector<MailboxEntry> entries;
    entries.reserve(queue.size());
    for (std::size_t i = 0; i < queue.size(); ++i) {
        const std::optional<OutgoingMessage> m = MessageOfQueueRecord(queue[i]);
        MailboxEntry e = m ? MailboxEntry{} : Unreadable(MailboxOrigin::Queued, i);
        e.origin = MailboxOrigin::Queued;
        e.position = i;
        if (m) {
            e.correspondent = Shown(m->addresseeLine);
            e.subject = Shown(m->subject);
            e.attachments = int(m->attachmentPaths.size());
            for (const std::string& p : m->attachmentPaths) {
                std::error_code ec;
                const std::uintmax_t size =
                    std::filesystem::file_size(std::filesystem::path(Cp1252ToUtf8(p)), ec);
                if (!ec) e.attachmentBytes += size;
            }
        }
        Keys(e);
        entries.push_back(std::move(e));
    }
    return entries;
}

bool DeleteReceived(RecordLog& log, const std::filesystem::path& path,
                    const std::filesystem::path& receivedFolder, std::size_t position,
                    ReadMarks& marks, std::string& why) {
    const std::optional<Record> record = log.Read(path, position);
    if (!record) {
        why = "cannot read record " + std::to_string(position + 1) + " of " + path.string();
        return false;
    }
    if (!log.Remove(path, position, why)) return false;
    if (record->size() > 3) marks.Forget(ReadMark(std::span(*record).subspan(3)));
    if (const auto earlier = marks.Earlier(); earlier && position < *earlier)
        marks.SetEarlier(*earlier - 1);
    // Only plain names in the received folder, never one of the program's.
    if (record->size() > 4) {
        for (const std::string& name : NamesAfterEndMarker(*record, 4)) {
            const std::filesystem::path file = Cp1252ToUtf8(name);
            if (!file.has_filename() || file.filename() != file || IsProgramFileName(file.string()))
                continue;
            std::string ignored;
            (void)RemoveOverwritten(receivedFolder / file, &ignored);
        }
    }
    return true;
}

std::string VisibleText(std::string_view text, bool rich) {
    if (!rich) return std::string(text);
    std::string out;
    out.reserve(text.size() / 2);
    int depth = 0;
    int hiddenFrom = 0;  // the depth of a group of fonts, colours or "\*", 0 if none
    const auto hex = [](char c) {
        return c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '{') {
            ++depth;
        } else if (c == '}') {
            if (depth == hiddenFrom) hiddenFrom = 0;
            --depth;
        } else if (c == '\\' && i + 1 < text.size()) {
            const char n = text[++i];
            if (n == '\'' && i + 2 < text.size()) {
                const int h = hex(text[i + 1]);
                const int l = hex(text[i + 2]);
                if (h >= 0 && l >= 0 && !hiddenFrom) out += char(h * 16 + l);
                i += 2;
            } else if (n == '\\' || n == '{' || n == '}') {
                if (!hiddenFrom) out += n;
            } else if (n == '*') {
                if (!hiddenFrom) hiddenFrom = depth;
            } else {
                std::size_t end = i;
                while (end < text.size() && std::isalpha(static_cast<unsigned char>(text[end])))
                    ++end;
                const std::string_view word = text.substr(i, end - i);
                while (end < text.size() &&
                       (text[end] == '-' || std::isdigit(static_cast<unsigned char>(text[end]))))
                    ++end;
                if (end < text.size() && text[end] == ' ') ++end;
                i = end - 1;
                if ((word == "fonttbl" || word == "colortbl" || word == "stylesheet") &&
                    !hiddenFrom)
                    hiddenFrom = depth;
                if ((word == "par" || word == "line") && !hiddenFrom) out += '\n';
                if (word == "tab" && !hiddenFrom) out += '\t';
            }
        } else if (c != '\r' && c != '\n' && !hiddenFrom) {
            out += c;
        }
    }
    return out;
}

TextSearch SearchReceivedTexts(HolderContext& ctx, RecordLog& log,
                               const std::filesystem::path& path,
                               const std::vector<std::size_t>& positions, const QString& words,
                               const std::function<bool(std::size_t, std::size_t)>& progress) {
    TextSearch search;
    const QString wanted = Plain(words.trimmed());
    const TaReplyHandler noReply = [](const Lines&) { return false; };
    for (std::size_t done = 0; done < positions.size(); ++done) {
        if (progress && !progress(done, positions.size())) {
            search.found.clear();
            search.cancelled = true;
            return search;
        }
        const std::optional<Record> record = log.Read(path, positions[done]);
        std::optional<Lines> entry;
        if (record) entry = ReceivedQueueEntry(*record);
        if (!entry) {
            ++search.undecipherable;
            continue;
        }
        // Without the names after the end marker: no attachment is deciphered.
        Lines text(entry->begin() + 1, entry->end());
        while (!text.empty() && !IsEndMarkerLine(text.back()))
            text.pop_back();
        MessageState scratch;
        if (!ReadReceivedBody(ctx, scratch, std::move(text), noReply).ok) {
            ++search.undecipherable;
            continue;
        }
        std::string& plain = scratch.decrypted.text;
        const bool rich = scratch.decrypted.kind == Kind::RichMessage;
        if (Plain(Shown(VisibleText(plain, rich))).contains(wanted))
            search.found.push_back(positions[done]);
        WipeString(plain);
    }
    return search;
}

void MailboxList::Assign(std::vector<MailboxEntry> entries) {
    entries_ = std::move(entries);
    Filter();
}

void MailboxList::SetFilter(const QString& text) {
    filter_ = Plain(text.trimmed());
    found_.reset();
    Filter();
}

void MailboxList::SetFound(std::optional<std::vector<std::size_t>> positions) {
    found_ = std::move(positions);
    if (found_) std::sort(found_->begin(), found_->end());
    Filter();
}

void MailboxList::SortBy(MailboxColumn column, bool ascending) {
    column_ = column;
    ascending_ = ascending;
    Sort();
}

void MailboxList::Filter() {
    rows_.clear();
    rows_.reserve(entries_.size());
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const MailboxEntry& e = entries_[i];
        const bool shown = found_ ? std::binary_search(found_->begin(), found_->end(), e.position)
                                  : filter_.isEmpty() || e.plainCorrespondent.contains(filter_) ||
                                        e.plainSubject.contains(filter_);
        if (shown) rows_.push_back(i);
    }
    Sort();
}

void MailboxList::Sort() {
    const auto key = [this](const MailboxEntry& a, const MailboxEntry& b) -> int {
        switch (column_) {
            case MailboxColumn::Date:
                // Within one second, the later record of the log is the newer.
                if (const int c = a.dateKey.compare(b.dateKey); c != 0) return c;
                return a.position < b.position ? -1 : a.position > b.position ? 1 : 0;
            case MailboxColumn::Correspondent:
                return a.plainCorrespondent.compare(b.plainCorrespondent);
            case MailboxColumn::Subject:
                return a.plainSubject.compare(b.plainSubject);
            case MailboxColumn::Attachments:
                return a.attachmentBytes < b.attachmentBytes   ? -1
                       : a.attachmentBytes > b.attachmentBytes ? 1
                                                               : a.attachments - b.attachments;
            case MailboxColumn::State:
                return int(a.state) - int(b.state);
        }
        return 0;
    };
    // Ties keep the order of the log, so that a sort is the same every time.
    std::stable_sort(rows_.begin(), rows_.end(), [&](std::size_t x, std::size_t y) {
        const int c = key(entries_[x], entries_[y]);
        return ascending_ ? c < 0 : c > 0;
    });
}

}  // namespace quarnel
