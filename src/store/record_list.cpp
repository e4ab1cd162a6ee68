// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/record_list.h"

#include "crypto/bignum.h"
#include "crypto/random.h"
#include "crypto/secret.h"
#include "protocol/lines.h"

namespace quarnel {

bool ParseRecordList(std::string_view bytes, RecordList& list, LoadError* error) {
    auto fail = [&](std::size_t line, std::string reason) {
        if (error) {
            error->missing = false;
            error->line = line;
            error->reason = std::move(reason);
        }
        return false;
    };
    std::vector<std::string> lines = SplitLines(bytes);
    std::size_t at = 0;
    while (at < lines.size()) {
        const std::string& countLine = lines[at];
        if (countLine.size() != 8) {
            return fail(at + 1, "count line of " + std::to_string(countLine.size()) +
                                    " characters instead of 8");
        }
        const std::size_t n = HexToWord(countLine);
        if (n == 0) return fail(at + 1, "count line \"" + countLine + "\" is not a count");
        ++at;
        if (lines.size() - at < n) {
            return fail(at, "record announces " + std::to_string(n) + " lines, " +
                                std::to_string(lines.size() - at) + " remain");
        }
        Record record(std::make_move_iterator(lines.begin() + std::ptrdiff_t(at)),
                      std::make_move_iterator(lines.begin() + std::ptrdiff_t(at + n)));
        at += n;
        if (!record.empty() && record.back() == " ") record.pop_back();
        list.push_back(std::move(record));
    }
    return true;
}

bool LoadRecordList(const std::filesystem::path& path, RecordList& list, LoadError* error) {
    auto bytes = ReadWholeFile(path);
    if (!bytes) {
        if (error) {
            error->missing = true;
            error->line = 0;
            error->reason = "cannot read " + path.string();
        }
        return false;
    }
    const bool ok = ParseRecordList(*bytes, list, error);
    WipeString(*bytes);  // the key store's bytes are key lines
    return ok;
}

std::optional<std::string> SerializeRecordList(const RecordList& list) {
    std::string out;
    for (const Record& r : list) {
        out += WordToHex(Word(r.size() + 1));
        out += "\r\n";
        for (const std::string& line : r) {
            if (line.find_first_of("\r\n") != std::string::npos) return std::nullopt;
            out += line;
            out += "\r\n";
        }
        out += " \r\n";
    }
    return out;
}

bool RunSaveWork(const SaveRunner& runner, const std::filesystem::path& file, std::uint64_t bytes,
                 const SaveWork& work) {
    return runner && bytes >= kSaveAwayBytes ? runner(file, work) : work({});
}

SaveResult SaveBytesWithRetry(const std::filesystem::path& path, std::string_view bytes,
                              const SaveFailureHandler& onFailure, const SaveRunner& runner) {
    for (;;) {
        std::string why;
        if (RunSaveWork(runner, path, bytes.size(), [&](const SaveProgress& progress) {
                return WriteFileAtomically(path, bytes, &why, progress);
            })) {
            return SaveResult::Saved;
        }
        const SaveChoice choice = onFailure ? onFailure(path, why) : SaveChoice::Ignore;
        if (choice == SaveChoice::Ignore) return SaveResult::Ignored;
        if (choice == SaveChoice::Abort) return SaveResult::Aborted;
    }
}

std::optional<SaveResult> KeepDamagedFile(const std::filesystem::path& file,
                                          const SaveFailureHandler& onFailure,
                                          std::filesystem::path* kept) {
    std::error_code ec;
    while (std::filesystem::exists(file, ec)) {
        std::string why;
        if (const auto moved = KeepUnderDatedName(file, "damaged", &why)) {
            if (kept) *kept = *moved;
            return std::nullopt;
        }
        const SaveChoice choice = onFailure ? onFailure(file, why) : SaveChoice::Ignore;
        if (choice == SaveChoice::Ignore) return SaveResult::Ignored;
        if (choice == SaveChoice::Abort) return SaveResult::Aborted;
    }
    return std::nullopt;
}

SaveResult SaveRecordList(const RecordList& list, const std::filesystem::path& path,
                          const SaveFailureHandler& onFailure, const SaveRunner& runner) {
    // The bytes are the copy the runner's thread writes from.
    auto bytes = SerializeRecordList(list);
    if (!bytes) return SaveResult::Refused;
    const SaveResult result = SaveBytesWithRetry(path, *bytes, onFailure, runner);
    WipeString(*bytes);
    return result;
}

void WipeRecordList(RecordList& list) {
    for (Record& r : list) {
        for (std::string& line : r) {
            // Random 32-digit texts, in place, as long as the line.
            const std::string fill = RandomHex32();
            for (std::size_t i = 0; i < line.size(); ++i)
                line[i] = fill[i % fill.size()];
        }
    }
}

void FreeRecordList(RecordList& list, bool wipe) {
    if (wipe) WipeRecordList(list);
    list.clear();
    list.shrink_to_fit();
}

}  // namespace quarnel
