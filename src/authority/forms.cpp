// SPDX-License-Identifier: GPL-3.0-or-later
#include "authority/forms.h"

#include "authority/texts.h"
#include "crypto/cp1252.h"
#include "crypto/hextext.h"
#include "holder/settings.h"
#include "protocol/body.h"
#include "protocol/identity.h"
#include "store/correspondents.h"

namespace quarnel {

FieldRule RuleOf(IdField field) {
    const int max = int(kIdentityLineMax[std::size_t(field)]);
    switch (field) {
        case IdField::Firm:
        case IdField::Surname:
        case IdField::Locality:
        case IdField::Region:
        case IdField::Country:
            return {true, max, true};
        case IdField::Postcode:
        case IdField::Telephone:
        case IdField::Fax:
            return {true, max, false};
        case IdField::Department:
        case IdField::FirstNames:
        case IdField::Address:
        case IdField::Email:
            return {false, max, false};
    }
    return {false, max, false};
}

std::vector<IdField> FieldsOf(char category) {
    std::vector<IdField> out;
    for (std::size_t i = category == 'A' ? 2 : 0; i < kIdFieldCount; ++i) {
        out.push_back(IdField(i));
    }
    return out;
}

std::optional<ExecuteBlock> ExecuteBlocked(char category, bool prefilled,
                                           const AffiliationEntry& entry) {
    for (IdField f : FieldsOf(category)) {
        bool required = f == IdField::Address || f == IdField::Postcode || f == IdField::Locality ||
                        f == IdField::Telephone || f == IdField::Email;
        // The names (and the firm) of a pre-filled form are fixed.
        if (!prefilled) {
            required =
                required || f == IdField::Surname || f == IdField::FirstNames || f == IdField::Firm;
        }
        if (required && entry[f].empty()) return ExecuteBlock{f};
    }
    if (!entry.publicList) return ExecuteBlock{};
    return std::nullopt;
}

bool ExecuteEnabled(char category, bool prefilled, const AffiliationEntry& entry) {
    return !ExecuteBlocked(category, prefilled, entry);
}

std::vector<std::string> IdentityRecord(char category, const AffiliationEntry& entry) {
    std::vector<std::string> record;
    for (IdField f : FieldsOf(category))
        record.push_back(entry[f]);
    record.emplace_back(entry.publicList.value_or(false) ? 1 : 0, 'x');
    for (auto& line : record) {
        if (line.empty()) line.assign(1, '-');
    }
    return record;
}

std::optional<AffiliationEntry> EntryFromIdentity(char category,
                                                  const std::vector<std::string>& identity) {
    const std::vector<IdField> fields = FieldsOf(category);
    if (identity.size() != fields.size() + 1) return std::nullopt;
    AffiliationEntry entry;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        // "-" stands for an empty field on the form.
        entry[fields[i]] = identity[i] == "-" ? "" : identity[i];
    }
    entry.publicList = identity.back() == "x";
    return entry;
}

void ApplyAffiliationEntry(HolderContext& ctx, const AffiliationEntry& entry) {
    ctx.settings.identity = IdentityRecord(ctx.settings.category, entry);
    DeriveIdentityValues(ctx);
}

bool HasDiacritics(std::string_view text) {
    for (unsigned char c : text) {
        if (c > 127) return true;
    }
    return false;
}

std::optional<FieldRefusal> RefuseFieldText(IdField field, std::string_view utf8) {
    // Every character above 127 is more than one UTF-8 byte, each above 127.
    if (RuleOf(field).refuseDiacritics && HasDiacritics(utf8)) {
        return FieldRefusal{txt::kNoDiacritics, {}};
    }
    if (auto c = FirstOutsideCp1252(utf8)) return FieldRefusal{txt::kCharacterRefused, *c};
    return std::nullopt;
}

NumberCheck CheckNewCorrespondent(const HolderContext& ctx, std::string_view number) {
    if (number.size() < 11) return {};
    if (!IsHexText(number, 11)) return {false, txt::kNumberNotHexadecimal};
    if (FindCorrespondent(ctx.correspondents, CategoryOfNumber(number), number) >= 0) {
        return {false, txt::kCorrespondentAlreadyRegistered};
    }
    if (number == ctx.ownNumber) return {false, txt::kOwnNumber};
    return {true, 0};
}

}  // namespace quarnel
