// SPDX-License-Identifier: GPL-3.0-or-later
// The addressee text and line a message is written under, by category.

#include <gtest/gtest.h>

#include "messages/addressee.h"
#include "store/correspondents.h"

namespace quarnel {
namespace {

Record Correspondent(char category, std::vector<std::string> identity, char flag) {
    const auto layout = *LayoutFor(category);
    Record r(layout.lineCount, std::string(32, 'A'));
    std::copy(identity.begin(), identity.end(), r.begin());
    r[layout.flagLine] = std::string(1, flag) + "0";
    return r;
}

TEST(Addressee, TextAndLineByCategoryAndRegistration) {
    HolderContext ctx;  // French texts, code page 1252
    const Record a = Correspondent('A', {"DURAND", "marie"}, '1');
    const Record d = Correspondent('D', {"AVOCAT", "-", "MARTIN", "paul"}, '0');
    const Record f = Correspondent('F', {"ACME", "COMPTA", "DUPONT", "jean"}, '1');
    const Record fNoDept = Correspondent('F', {"ACME", "-", "DUPONT", "jean"}, '1');
    EXPECT_EQ(AddresseeText(ctx, 'A', a), "DURAND marie");
    EXPECT_EQ(AddresseeText(ctx, 'D', d), "MARTIN paul, AVOCAT");
    EXPECT_EQ(AddresseeText(ctx, 'F', f), "ACME, COMPTA, \xE0 l'attention de DUPONT jean");
    EXPECT_EQ(AddresseeText(ctx, 'F', fNoDept), "ACME, \xE0 l'attention de DUPONT jean");

    EXPECT_EQ(AddresseeLine(ctx, 'A', a), "Message destin\xE9 au correspondant, DURAND marie");
    EXPECT_EQ(AddresseeLine(ctx, 'D', d),
              "Message destin\xE9 au correspondant non enregistr\xE9, MARTIN paul, AVOCAT");
    EXPECT_TRUE(AddresseeRegistered('F', f));
    EXPECT_FALSE(AddresseeRegistered('D', d));
    // A value holding "%s" is taken as it stands.
    const Record odd = Correspondent('A', {"%s", "%s"}, '1');
    EXPECT_EQ(AddresseeLine(ctx, 'A', odd), "Message destin\xE9 au correspondant, %s %s");

    // A record read with the wrong category's layout names nobody.
    EXPECT_EQ(AddresseeText(ctx, 'A', Record(3, "x")), "");
    EXPECT_EQ(AddresseeLine(ctx, 'Q', a), "");
    EXPECT_FALSE(AddresseeRegistered('D', Record(12, "1")));
    Record emptyFlag = a;
    emptyFlag[9].clear();
    EXPECT_FALSE(AddresseeRegistered('A', emptyFlag));
}

}  // namespace
}  // namespace quarnel
