// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the crash harness writes at each version: every file's content is a
// function of its version alone, so that the checker can tell a whole old or
// new version from anything else.

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>

#include "crypto/records.h"
#include "mail/outgoing_queue.h"
#include "mail/sent_log.h"
#include "protocol/body.h"
#include "store/correspondents.h"

namespace quarnel::crash {

enum class File { KeyStore, List, Queue, SentLog, ReceivedLog };
// The order of the saves: the appends first, so that the kills that let a
// version's appends end also leave the logs growing.
inline constexpr std::array kFiles{File::SentLog, File::ReceivedLog, File::KeyStore, File::List,
                                   File::Queue};

/// Names as the program gives them (every folder setting is the same folder).
inline const char* FileName(File f) {
    switch (f) {
        case File::KeyStore:
            return "QuarnelTit.kpr";
        case File::List:
            return "QuarnelTitF.dat";
        case File::Queue:
            return "QuarnelTit.msg";
        case File::SentLog:
            return "MsgChifS.dat";
        case File::ReceivedLog:
            return "MsgChifE.dat";
    }
    return "";
}

// Sizes large enough that a kill often lands inside a write; the queue is
// large enough to be written on the save runner's thread.
inline constexpr int kKeyRecords = 64;
inline constexpr int kListRecords = 48;
inline constexpr int kQueued = 32;
inline constexpr int kBodyLines = 1100;

/// The logs only grow: one record per version.
inline bool IsLog(File f) {
    return f == File::SentLog || f == File::ReceivedLog;
}

inline std::string Hex(unsigned long long v, int digits) {
    char b[40];
    std::snprintf(b, sizeof b, "%0*llX", digits, v);
    return std::string(b).substr(std::string(b).size() - std::size_t(digits));
}

/// A 32-digit line that depends on the version and its place.
inline std::string Line32(long version, int record, int line) {
    const unsigned long long a = (unsigned long long)version * 0x9E3779B97F4A7C15ULL;
    return Hex(a ^ (unsigned long long)record << 20 ^ (unsigned long long)line, 16) +
           Hex(a + (unsigned long long)(record * 131 + line), 16);
}

inline RecordList KeyStoreOf(long version) {
    RecordList store;
    for (int r = 0; r < kKeyRecords; ++r) {
        Record rec{Hex((unsigned long long)version, 11)};
        for (int l = 1; l < 7; ++l)
            rec.push_back(Line32(version, r, l));
        store.push_back(rec);
    }
    return store;
}

inline Record CorrespondentOf(long version, int r) {
    const CorrespondentLayout layout = *LayoutFor('F');
    Record rec(layout.lineCount, "version " + std::to_string(version));
    rec[layout.numberLine] = Hex((unsigned long long)r, 11);
    for (std::size_t k = 0; k < 4; ++k)
        rec[layout.firstKeyLine + k] = Line32(version, r, int(k));
    return rec;
}

inline OutgoingMessage MessageOf(long version, int r) {
    OutgoingMessage m{"version " + std::to_string(version),
                      "x@example.org",
                      "message " + std::to_string(r),
                      {"title " + std::to_string(version)},
                      {}};
    for (int l = 0; l < kBodyLines; ++l)
        m.body.push_back(Line32(version, r, l));
    m.body.push_back(kEndMarkerLine);  // a queued body ends with its own marker
    return m;
}

/// A sent record whose first line (its date) names the version instead.
inline Record SentOf(long version) {
    Record r = SentLogRecord(MessageOf(version, 0), double(version), {"x@example.org"});
    r.front() = "version " + std::to_string(version);
    return r;
}

/// As long as a sent record: an append then writes several pages.
inline Record ReceivedOf(long version) {
    Record r{"version " + std::to_string(version), "from x"};
    for (int l = 0; l < kBodyLines; ++l)
        r.push_back(Line32(version, 1, l));
    return r;
}

/// The record a log gets at `version`.
inline Record LogRecordOf(File f, long version) {
    return f == File::SentLog ? SentOf(version) : ReceivedOf(version);
}

/// The whole content of a file other than a log at `version` (>= 1).
inline RecordList ContentOf(File f, long version) {
    RecordList out;
    switch (f) {
        case File::KeyStore:
            return KeyStoreOf(version);
        case File::List:
            for (int r = 0; r < kListRecords; ++r)
                out.push_back(CorrespondentOf(version, r));
            return out;
        case File::Queue:
            for (int r = 0; r < kQueued; ++r)
                out.push_back(QueueRecord(MessageOf(version, r)));
            return out;
        case File::SentLog:
        case File::ReceivedLog:
            break;
    }
    return out;
}

}  // namespace quarnel::crash
