// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/correspondents.h"

#include "crypto/hextext.h"
#include "store/atomic_file.h"

namespace quarnel {

std::optional<CorrespondentLayout> LayoutFor(char category) {
    switch (category) {
        case 'A':
            return CorrespondentLayout{11, 6, 7, 8, 9, 10, 11, 15};
        case 'D':
        case 'F':
            return CorrespondentLayout{13, 8, 9, 10, 11, 12, 13, 17};
        default:
            return std::nullopt;
    }
}

std::string CorrespondentFileName(char category) {
    if (!LayoutFor(category)) return {};
    return std::string("QuarnelTit") + category + ".dat";
}

RecordList* CorrespondentLists::ForCategory(char category) {
    switch (category) {
        case 'A':
            return &a;
        case 'D':
            return &d;
        case 'F':
            return &f;
        default:
            return nullptr;
    }
}

const RecordList* CorrespondentLists::ForCategory(char category) const {
    return const_cast<CorrespondentLists*>(this)->ForCategory(category);
}

void CorrespondentLists::MarkDamaged(char category) {
    if (LayoutFor(category) && !IsDamaged(category)) damaged += category;
}

bool CorrespondentLists::IsDamaged(char category) const {
    return damaged.find(category) != std::string::npos;
}

bool CheckCorrespondentRecord(const Record& record, char category, std::string* problem) {
    const auto layout = LayoutFor(category);
    auto fail = [&](std::string why) {
        if (problem) *problem = std::move(why);
        return false;
    };
    if (!layout) return fail(std::string("unknown category '") + category + "'");
    if (record.size() != layout->lineCount) {
        return fail(std::to_string(record.size()) + " lines instead of " +
                    std::to_string(layout->lineCount));
    }
    for (std::size_t i = layout->firstKeyLine; i < layout->lineCount; ++i) {
        if (!IsHexText(record[i], 32)) {
            return fail("key line " + std::to_string(i) +
                        " is not 32 upper-case hexadecimal digits");
        }
    }
    return true;
}

bool CheckCorrespondentList(const RecordList& list, char category,
                            std::vector<std::string>* problems) {
    if (!LayoutFor(category)) {
        if (problems) problems->push_back(std::string("unknown category '") + category + "'");
        return false;
    }
    bool ok = true;
    for (std::size_t r = 0; r < list.size(); ++r) {
        std::string why;
        if (!CheckCorrespondentRecord(list[r], category, &why)) {
            ok = false;
            if (!problems) return false;
            problems->push_back("record " + std::to_string(r + 1) + ": " + why);
        }
    }
    return ok;
}

int FindCorrespondent(const CorrespondentLists& lists, char category, std::string_view number) {
    const auto layout = LayoutFor(category);
    const RecordList* list = lists.ForCategory(category);
    if (!layout || !list) return -1;
    for (std::size_t i = 0; i < list->size(); ++i) {
        const Record& r = (*list)[i];
        if (r.size() > layout->numberLine && r[layout->numberLine] == number) return int(i);
    }
    return -1;
}

SaveResult SaveCorrespondentList(CorrespondentLists& lists, char category,
                                 const std::filesystem::path& keyFolder,
                                 const SaveFailureHandler& onFailure,
                                 std::filesystem::path* keptDamaged, const SaveRunner& runner) {
    const RecordList* list = lists.ForCategory(category);
    if (!list) return SaveResult::Refused;
    const std::filesystem::path file = keyFolder / CorrespondentFileName(category);
    if (lists.IsDamaged(category)) {
        // The other correspondents are only in the damaged file: it must
        // survive the save of the list emptied at start-up.
        if (const auto stopped = KeepDamagedFile(file, onFailure, keptDamaged)) return *stopped;
        lists.damaged.erase(lists.damaged.find(category), 1);
    }
    return SaveRecordList(*list, file, onFailure, runner);
}

SaveResult StoreCorrespondent(CorrespondentLists& lists, char category, Record record,
                              const std::filesystem::path& keyFolder,
                              const SaveFailureHandler& onFailure,
                              std::filesystem::path* keptDamaged, const SaveRunner& runner) {
    if (!CheckCorrespondentRecord(record, category)) return SaveResult::Refused;
    RecordList* list = lists.ForCategory(category);
    const auto layout = LayoutFor(category);
    const int old = FindCorrespondent(lists, category, record[layout->numberLine]);
    if (old >= 0) list->erase(list->begin() + old);
    list->push_back(std::move(record));
    return SaveCorrespondentList(lists, category, keyFolder, onFailure, keptDamaged, runner);
}

SaveResult DeleteCorrespondent(CorrespondentLists& lists, char category, std::size_t index,
                               const std::filesystem::path& keyFolder,
                               const SaveFailureHandler& onFailure,
                               std::filesystem::path* keptDamaged, const SaveRunner& runner) {
    RecordList* list = lists.ForCategory(category);
    if (!list || index >= list->size()) return SaveResult::Refused;
    list->erase(list->begin() + std::ptrdiff_t(index));
    return SaveCorrespondentList(lists, category, keyFolder, onFailure, keptDamaged, runner);
}

}  // namespace quarnel
