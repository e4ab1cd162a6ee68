// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/remarks.h"

#include "store/atomic_file.h"
#include "store/correspondents.h"

namespace quarnel {

namespace {

bool IsCategory(std::string_view letter) {
    return letter.size() == 1 && LayoutFor(letter[0]).has_value();
}

bool FitsRemark(std::string_view text) {
    return text.size() <= kMaxRemarkLength && text.find_first_of("\r\n") == std::string_view::npos;
}

}  // namespace

std::string Remarks::Get(char category, std::string_view number) const {
    const auto it = byKey_.find(std::make_pair(category, std::string(number)));
    return it == byKey_.end() ? std::string() : it->second;
}

bool Remarks::Set(char category, std::string_view number, std::string_view text) {
    if (!LayoutFor(category) || number.empty() || !FitsRemark(number) || !FitsRemark(text)) {
        return false;
    }
    auto key = std::make_pair(category, std::string(number));
    if (text.empty()) {
        byKey_.erase(key);
        return true;
    }
    const auto it = byKey_.find(key);
    if (it != byKey_.end()) {
        it->second = std::string(text);
        return true;
    }
    if (byKey_.size() >= kMaxRemarks) return false;
    byKey_.emplace(std::move(key), std::string(text));
    return true;
}

bool Remarks::Erase(char category, std::string_view number) {
    return byKey_.erase(std::make_pair(category, std::string(number))) > 0;
}

RecordList Remarks::ToRecords() const {
    RecordList records;
    records.reserve(byKey_.size());
    for (const auto& [key, text] : byKey_)
        records.push_back({std::string(1, key.first), key.second, text});
    return records;
}

RemarksLoad LoadRemarks(const std::filesystem::path& keyFolder, Remarks& remarks,
                        std::string* reason) {
    remarks = Remarks();
    const std::filesystem::path file = keyFolder / kRemarksFileName;
    auto damaged = [&](std::string why) {
        remarks = Remarks();
        remarks.damaged = true;
        if (reason) *reason = std::move(why);
        return RemarksLoad::Damaged;
    };
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) return RemarksLoad::Missing;
    const std::uintmax_t size = std::filesystem::file_size(file, ec);
    if (ec) return damaged("cannot read " + file.string());
    if (size > kMaxRemarksFileBytes) {
        return damaged(std::to_string(size) + " bytes, more than " +
                       std::to_string(kMaxRemarksFileBytes));
    }
    RecordList records;
    LoadError error;
    if (!LoadRecordList(file, records, &error)) {
        return damaged(error.missing ? error.reason
                                     : "line " + std::to_string(error.line) + ": " + error.reason);
    }
    if (records.size() > kMaxRemarks) {
        return damaged(std::to_string(records.size()) + " remarks, more than " +
                       std::to_string(kMaxRemarks));
    }
    for (std::size_t i = 0; i < records.size(); ++i) {
        const Record& r = records[i];
        const std::string where = "record " + std::to_string(i + 1) + ": ";
        if (r.size() != 3) return damaged(where + std::to_string(r.size()) + " lines instead of 3");
        if (!IsCategory(r[0])) return damaged(where + "no category letter");
        if (r[2].size() > kMaxRemarkLength) return damaged(where + "remark too long");
        if (!remarks.Set(r[0][0], r[1], r[2])) return damaged(where + "refused");
    }
    return RemarksLoad::Loaded;
}

SaveResult SaveRemarks(Remarks& remarks, const std::filesystem::path& keyFolder,
                       const SaveFailureHandler& onFailure, std::filesystem::path* keptDamaged) {
    const std::filesystem::path file = keyFolder / kRemarksFileName;
    if (remarks.damaged) {
        // The remarks of the damaged file may still be read by hand.
        if (const auto stopped = KeepDamagedFile(file, onFailure, keptDamaged)) return *stopped;
        remarks.damaged = false;
    }
    return SaveRecordList(remarks.ToRecords(), file, onFailure);
}

}  // namespace quarnel
