// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A holder with a long history, for the holder-at-scale benchmarks and for
// timing the program's start: an affiliated data folder whose lists, queue
// and logs hold as many records as asked, shaped as the program writes them.

#include <cstdint>
#include <filesystem>
#include <string>

#include "app/program_data.h"
#include "crypto/datetime.h"
#include "holder_setup.h"
#include "mail/incoming.h"
#include "mail/outgoing_queue.h"
#include "mail/sent_log.h"
#include "protocol/body.h"
#include "store/correspondents.h"

namespace quarnel::bench {

/// Deterministic letters, so that sorting has work to do.
inline std::string Word(std::uint64_t seed, std::size_t length, char first) {
    std::string w;
    for (std::size_t i = 0; i < length; ++i) {
        seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
        w += char(first + (seed >> 33) % 26);
    }
    return w;
}

inline std::string Hex32(std::uint64_t seed) {
    static const char digits[] = "0123456789ABCDEF";
    std::string h;
    for (int i = 0; i < 32; ++i) {
        seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
        h += digits[(seed >> 33) % 16];
    }
    return h;
}

/// An employee's record as a key reply leaves it.
inline Record Correspondent(std::uint64_t i) {
    const CorrespondentLayout layout = *LayoutFor('F');
    Record r(layout.lineCount);
    r[0] = Word(i, 4 + i % 5, 'A');          // firm
    r[1] = "-";                              // department
    r[2] = Word(i * 7 + 1, 5 + i % 6, 'A');  // surname
    r[3] = Word(i * 11 + 2, 4 + i % 4, 'a');
    r[4] = Word(i * 13 + 3, 6, 'A');
    r[5] = Word(i * 17 + 4, 5, 'A');
    r[6] = "FRANCE";
    r[7] = Word(i * 19 + 5, 8, 'a') + "@example.org";
    char number[16];
    std::snprintf(number, sizeof number, "0FF%08llX", static_cast<unsigned long long>(i));
    r[8] = number;
    r[9] = "0";
    r[10] = "D400F";
    r[11] = "1";
    r[12] = "01/03/2026";
    for (std::size_t k = 0; k < 4; ++k)
        r[layout.firstKeyLine + k] = Hex32(i * 4 + k);
    return r;
}

/// The text of an encrypted message of about a kilobyte.
inline Lines MessageText(std::uint64_t i) {
    Lines text{kSeparatorLine,
               AddressLine(Kind::PlainMessage, "12345", '1', '1', "0FF01000000", "0FF00002000")};
    for (int l = 0; l < 24; ++l)
        text.push_back(Hex32(i * 32 + std::uint64_t(l)));
    text.push_back(kEndMarkerLine);
    return text;
}

inline Record Received(std::uint64_t i) {
    return ReceivedLogRecord(OleFromLocal({2026, 3, 1, 9, 30, 0, 0}), "MARTIN Paul",
                             "objet " + std::to_string(i), MessageText(i));
}

inline OutgoingMessage Queued(std::uint64_t i) {
    Lines body{"Message chiffr\xE9"};
    const Lines text = MessageText(i);
    body.insert(body.end(), text.begin(), text.end());
    return {"Message destin\xE9 au correspondant, X",
            "x@example.org",
            "objet " + std::to_string(i),
            body,
            {}};
}

inline Record Sent(std::uint64_t i) {
    return SentLogRecord(Queued(i), 46082.3958, {"x@example.org"});
}

inline RecordList Many(std::size_t n, Record (*make)(std::uint64_t)) {
    RecordList list;
    list.reserve(n);
    for (std::size_t i = 0; i < n; ++i)
        list.push_back(make(i));
    return list;
}

inline Record QueueRecordOf(std::uint64_t i) {
    return QueueRecord(Queued(i));
}

/// How many records each file of the folder holds.
struct History {
    std::size_t correspondents = 0;
    std::size_t queued = 0;
    std::size_t sent = 0;
    std::size_t received = 0;
};

/// Writes an affiliated holder's data folder in `dir`: settings, key store,
/// the employees' list, the queue and the logs. False when a file could not
/// be written.
inline bool WriteHolderFolder(const std::filesystem::path& dir, const History& h) {
    std::filesystem::create_directories(dir);
    const ta::RandomSource random = test::SeededRandom(1);
    const ta::Affiliate self = test::NewAffiliate('F', "0FF00002000", "MARTIN", '1', random);
    const std::unique_ptr<ProgramData> ctx = test::ContextOf(self, dir);
    ctx->settings.smtpServer = "127.0.0.1:25";
    ctx->settings.pop3Server = "127.0.0.1:110";
    ctx->settings.accountName = "martin";
    ctx->settings.taAddress = "127.0.0.1";
    ctx->settings.taPortChoice = 'A';
    const auto saved = [](SaveResult r) { return r == SaveResult::Saved; };
    return SaveSettings(*ctx, dir / kSettingsFileName) == SaveResult::Saved &&
           saved(ctx->SaveKeyStore()) &&
           saved(SaveRecordList(
               Many(h.correspondents, Correspondent),
               PathFromSetting(ctx->settings.keyFolder) / CorrespondentFileName('F'), {})) &&
           saved(SaveRecordList(Many(h.queued, QueueRecordOf), OutgoingQueuePath(*ctx), {})) &&
           saved(SaveRecordList(Many(h.sent, Sent), SentLogPath(*ctx), {})) &&
           saved(SaveRecordList(Many(h.received, Received), ReceivedLogPath(*ctx), {}));
}

}  // namespace quarnel::bench
