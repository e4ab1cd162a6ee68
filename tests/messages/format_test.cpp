// Body layout: address lines, taking received bodies apart, structure check.

#include <gtest/gtest.h>

#include "messages/format.h"
#include "resources/texts.h"

namespace quarnel {
namespace {

std::string Hex(char c) {
    return std::string(32, c);
}

Lines MessageBody(std::size_t sectionLines) {
    // separator, address, 4 key lines, nonce, digest, signature, sections, end marker
    Lines b{kSeparatorLine, AddressLine("20", "05C26", '0', '0', "1F400000001", "1F400000002")};
    for (int i = 0; i < 7; ++i)
        b.push_back(Hex('A'));
    for (std::size_t i = 0; i < sectionLines; ++i)
        b.push_back(Hex('B'));
    b.push_back(kEndMarkerLine);
    return b;
}

TEST(Format, AddressLineOfAnAffiliationRequest) {
    const std::string line = AddressLine("00", "05C26", '0', '0', kNoNumber, "1F400000000");
    EXPECT_EQ(line,
              "0005C2600000000000000"
              "1F400000000");
    EXPECT_EQ(line.size(), 32u);
    AddressFields f;
    ASSERT_TRUE(ParseAddressLine(line, f));
    EXPECT_EQ(f.kind, "00");
    EXPECT_EQ(f.senderNumber, "1F400000000");
    EXPECT_FALSE(ParseAddressLine(line.substr(1), f));
}

TEST(Format, TitlesByKind) {
    EXPECT_EQ(TitleTextId("01", true, '0'), txt::kTitle01Ack);
    EXPECT_EQ(TitleTextId("01", false, '0'), txt::kTitle01Update);
    EXPECT_EQ(TitleTextId("21", false, '1'), txt::kTitleMessage);
    EXPECT_EQ(TitleTextId("20", false, '0'), txt::kTitleMessageUnregistered);
    EXPECT_EQ(TitleTextId("04", false, '0'), 0);
    EXPECT_EQ(FrenchTextCp1252(txt::kTitle18), "Demande de certification d'une signature");
    EXPECT_EQ(FrenchTextCp1252(txt::kTitle00),
              "Demande d'affiliation au syst\xE8me cryptographique \"QuarnelSys\"");
}

TEST(Format, TheSmallestMessageAndMailNoise) {
    Lines body = MessageBody(6);  // three empty sections
    body.insert(body.begin(), {"Subject: noise", ""});
    body.push_back("report.txt   ");
    body.push_back("");
    body.push_back("   ");
    std::vector<std::string> names;
    TakeApartReceivedBody(body, names);
    EXPECT_EQ(names, std::vector<std::string>{"report.txt"});
    std::string k;
    ASSERT_TRUE(CheckBodyStructure(body, k));
    EXPECT_EQ(k, "20");
    EXPECT_EQ(body.size(), 16u);
    EXPECT_EQ(body[0], kSeparatorLine);
}

TEST(Format, MalformedBodies) {
    std::string k;
    std::string why;
    Lines shortBody = MessageBody(5);
    EXPECT_FALSE(CheckBodyStructure(shortBody, k, &why));
    Lines lower = MessageBody(6);
    lower[4][3] = 'a';
    EXPECT_FALSE(CheckBodyStructure(lower, k, &why));
    EXPECT_NE(why.find("line 4"), std::string::npos);
    // Names listed before the end marker are not hexadecimal lines.
    Lines named = MessageBody(6);
    named.insert(named.end() - 1, "report.txt");
    EXPECT_FALSE(CheckBodyStructure(named, k));
    Lines noSeparator{Hex('A'), Hex('B'), kEndMarkerLine};
    EXPECT_FALSE(CheckBodyStructure(noSeparator, k));
    Lines reply04{kSeparatorLine, AddressLine("04", "05C26", '0', '0', kNoNumber, "1F400000001"),
                  Hex('1'),       Hex('2'),
                  Hex('3'),       Hex('4'),
                  kEndMarkerLine};
    EXPECT_TRUE(CheckBodyStructure(reply04, k));
    EXPECT_EQ(k, "04");
    reply04.insert(reply04.end() - 1, Hex('5'));
    EXPECT_FALSE(CheckBodyStructure(reply04, k));
}

TEST(Format, IdentityTexts) {
    const std::vector<std::string> fields{"DURAND", "jean", "-", "PARIS"};
    const std::string text = JoinWithCarriageReturns(fields);
    EXPECT_EQ(text, "DURAND\rjean\r-\rPARIS");
    EXPECT_EQ(SplitAtLineBreaks(text), fields);
    EXPECT_EQ(SplitAtLineBreaks(""), std::vector<std::string>{""});
}

}  // namespace
}  // namespace quarnel
