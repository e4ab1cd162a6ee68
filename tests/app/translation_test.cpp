// The English text module beside the program translates every text of every
// table, with its own version code; the help pages hold every context.

#include <gtest/gtest.h>

#include <QFile>
#include <QTranslator>
#include <set>

#include "crypto/hextext.h"
#include "resources/texts.h"

namespace quarnel {
namespace {

TEST(Translation, EveryTextHasAnEnglishTranslation) {
    QTranslator english;
    ASSERT_TRUE(english.load(QStringLiteral(QUARNEL_BIN_DIR "/quarneltit.ENG")));
    QStringList missing;
    std::set<int> ids;
    for (const auto table : AllTextTables()) {
        for (const TextEntry& e : table) {
            EXPECT_TRUE(ids.insert(e.id).second) << "resource " << e.id << " defined twice";
            if (english.translate(kTextContext, e.french).isEmpty()) {
                missing << QStringLiteral("%1 %2").arg(e.id).arg(QString::fromUtf8(e.french));
            }
        }
    }
    EXPECT_TRUE(missing.isEmpty()) << "add to src/resources/quarneltit_en.ts:\n"
                                   << missing.join('\n').toStdString();

    const QString version = english.translate(kTextContext, FrenchText(txt::kVersionCode));
    EXPECT_TRUE(IsHexText(version.toStdString(), 5));
    EXPECT_NE(version.toStdString(), FrenchText(txt::kVersionCode));
}

TEST(Translation, HelpPagesHoldEveryContextInBothLanguages) {
    for (const char* page : {"QuarnelTit_F.html", "QuarnelTit_E.html"}) {
        QFile file(QStringLiteral(QUARNEL_BIN_DIR "/") + page);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << page;
        const QString html = QString::fromUtf8(file.readAll());
        for (const char* anchor : {"sommaire", "h200", "h210", "h230", "h240", "h250", "h300"}) {
            EXPECT_TRUE(html.contains(QStringLiteral("id=\"%1\"").arg(anchor)))
                << page << " " << anchor;
        }
    }
}

}  // namespace
}  // namespace quarnel
