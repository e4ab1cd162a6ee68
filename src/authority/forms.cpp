#include "authority/forms.h"

#include "authority/texts.h"
#include "holder/settings.h"
#include "protocol/body.h"
#include "store/correspondents.h"

namespace quarnel {

FieldRule RuleOf(IdField field) {
    switch (field) {
        case IdField::Firm:
            return {true, 60, true};
        case IdField::Department:
            return {false, 60, false};
        case IdField::Nom:
            return {true, 0, true};
        case IdField::Prenoms:
            return {false, 25, false};
        case IdField::Adresse:
            return {false, 60, false};
        case IdField::CodePostal:
            return {true, 25, false};
        case IdField::Localite:
            return {true, 60, true};
        case IdField::Entite:
        case IdField::Pays:
            return {true, 0, true};
        case IdField::Telephone:
        case IdField::Fax:
            return {true, 25, false};
        case IdField::Email:
            return {false, 60, false};
    }
    return {false, 0, false};
}

std::vector<IdField> FieldsOf(char category) {
    std::vector<IdField> out;
    for (std::size_t i = category == 'A' ? 2 : 0; i < kIdFieldCount; ++i) {
        out.push_back(IdField(i));
    }
    return out;
}

bool ExecuterEnabled(char category, bool prefilled, const AffiliationEntry& entry) {
    std::vector<IdField> required{IdField::Adresse, IdField::CodePostal, IdField::Localite,
                                  IdField::Telephone, IdField::Email};
    if (!prefilled) {
        required.push_back(IdField::Nom);
        required.push_back(IdField::Prenoms);
        if (category != 'A') required.push_back(IdField::Firm);
    }
    for (IdField f : required) {
        if (entry[f].empty()) return false;
    }
    return entry.publicList.has_value();
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

bool HasDiacritics(std::string_view cp1252) {
    for (unsigned char c : cp1252) {
        if (c > 127) return true;
    }
    return false;
}

NumberCheck CheckNewCorrespondent(const HolderContext& ctx, std::string_view number) {
    if (number.size() < 11) return {};
    if (FindCorrespondent(ctx.correspondents, CategoryOfNumber(number), number) >= 0) {
        return {false, txt::kCorrespondantDejaEnregistre};
    }
    if (number == ctx.ownNumber) return {false, txt::kPropreNumero};
    return {true, 0};
}

}  // namespace quarnel
