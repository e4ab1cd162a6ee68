// Body layout: the structure check's line counts and line form.

#include <gtest/gtest.h>

#include "messages/format.h"

namespace quarnel {
namespace {

// Separator, address line, `hexLines` lines, end marker.
Lines Body(std::string_view kind, std::size_t hexLines) {
    Lines b{kSeparatorLine, AddressLine(kind, "05C26", '0', '0', "1F400000001", "1F400000002")};
    b.insert(b.end(), hexLines, std::string(32, 'A'));
    b.push_back(kEndMarkerLine);
    return b;
}

TEST(Format, TheStructureCheck) {
    struct Case {
        std::string_view kind;
        std::size_t hexLines;
        bool ok;
    };
    // A message: 4 key lines, nonce, digest, signature and three sections of
    // 2 lines at least. Reply 04: exactly 4 lines.
    for (const Case c :
         {Case{"20", 13, true}, Case{"20", 12, false}, Case{"04", 4, true}, Case{"04", 5, false}}) {
        Lines body = Body(c.kind, c.hexLines);
        std::string k;
        EXPECT_EQ(CheckBodyStructure(body, k), c.ok) << c.kind << " " << c.hexLines;
        EXPECT_EQ(k, c.ok ? std::string(c.kind) : "");
    }
    std::string k, why;
    Lines lower = Body("20", 13);
    lower[4][3] = 'a';
    EXPECT_FALSE(CheckBodyStructure(lower, k, &why));
    EXPECT_NE(why.find("line 4"), std::string::npos);
}

}  // namespace
}  // namespace quarnel
