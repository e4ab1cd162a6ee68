// SPDX-License-Identifier: GPL-3.0-or-later
#include "messages/addressee.h"

#include "holder/program_state.h"
#include "messages/texts.h"
#include "store/correspondents.h"

namespace quarnel {

namespace {

bool Fits(char category, const Record& record) {
    const auto layout = LayoutFor(category);
    return layout && record.size() >= layout->textLines;
}

}  // namespace

std::string AddresseeText(const HolderContext& ctx, char category, const Record& record) {
    if (!Fits(category, record)) return {};
    if (category == 'A') return record[0] + " " + record[1];
    const std::string& surname = record[2];
    const std::string& firstNames = record[3];
    if (category == 'D') return surname + " " + firstNames + ", " + record[0];
    if (record[1] == "-") {
        return FillPlaceholders(CurrentText(ctx, txt::kAddresseeFirm),
                                {record[0], surname, firstNames});
    }
    return FillPlaceholders(CurrentText(ctx, txt::kAddresseeFirmDepartment),
                            {record[0], record[1], surname, firstNames});
}

bool AddresseeRegistered(char category, const Record& record) {
    if (!Fits(category, record)) return false;
    const std::string& flag = record[LayoutFor(category)->flagLine];
    return !flag.empty() && flag[0] == '1';
}

int AddresseeLineText(char category, const Record& record) {
    return AddresseeRegistered(category, record) ? txt::kAddresseeRegistered
                                                 : txt::kAddresseeUnregistered;
}

std::string AddresseeLine(const HolderContext& ctx, char category, const Record& record) {
    if (!Fits(category, record)) return {};
    return FillPlaceholders(CurrentText(ctx, AddresseeLineText(category, record)),
                            {AddresseeText(ctx, category, record)});
}

}  // namespace quarnel
