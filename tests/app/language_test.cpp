// The language: locales, the text module beside the program, and what a
// switch changes.

#include <gtest/gtest.h>

#include "app/language.h"
#include "store/atomic_file.h"
#include "temp_dir.h"

namespace quarnel {
namespace {

TEST(Language, LocalesAndAbbreviations) {
    EXPECT_EQ(LocaleOfLanguage(1), 1036);
    EXPECT_EQ(LocaleOfLanguage(0), 2057);
    EXPECT_EQ(LanguageAbbreviation(1036), "FRA");
    EXPECT_EQ(LanguageAbbreviation(2057), "ENG");
}

TEST(Language, ModuleNamedAfterTheProgramThreeLettersThenTwo) {
    test::TempDir dir;
    const auto program = dir / "quarneltit";
    EXPECT_FALSE(FindTextModule(program, 2057));
    ASSERT_TRUE(WriteFileAtomically(dir / "quarneltit.EN", "qm"));
    EXPECT_EQ(FindTextModule(program, 2057), dir / "quarneltit.EN");
    ASSERT_TRUE(WriteFileAtomically(dir / "quarneltit.ENG", "qm"));
    EXPECT_EQ(FindTextModule(program, 2057), dir / "quarneltit.ENG");
    EXPECT_EQ(FindTextModule(dir / "quarneltit.exe", 2057), dir / "quarneltit.ENG");
}

TEST(Language, SwitchRecordsTheLocaleAndMovesStateTwoToThree) {
    test::TempDir dir;
    HolderContext ctx;
    ctx.programFile = dir / "quarneltit";
    ctx.programFolder = dir.path();
    ctx.settings.language = 1;
    LanguageStep step = BeginLanguageSwitch(ctx);
    EXPECT_TRUE(step.changed);
    EXPECT_FALSE(step.module) << "French is built in";
    EXPECT_FALSE(step.missing);
    EXPECT_FALSE(BeginLanguageSwitch(ctx).changed);

    ctx.settings.language = 0;
    step = BeginLanguageSwitch(ctx);
    EXPECT_TRUE(step.missing) << "no English module beside the program";
    ASSERT_TRUE(WriteFileAtomically(dir / "quarneltit.ENG", "qm"));
    ctx.settings.language = 1;
    (void)BeginLanguageSwitch(ctx);
    ctx.settings.language = 0;
    step = BeginLanguageSwitch(ctx);
    EXPECT_EQ(step.module, dir / "quarneltit.ENG");

    for (const auto& [before, after] :
         {std::pair{0, 0}, std::pair{1, 1}, std::pair{2, 3}, std::pair{4, 4}, std::pair{5, 5}}) {
        ctx.programState = before;
        ctx.currentText = [](int) { return std::string("QuarnelTit_E.hlp"); };
        FinishLanguageSwitch(ctx);
        EXPECT_EQ(ctx.programState, after);
        EXPECT_EQ(ctx.helpFile, dir / "QuarnelTit_E.hlp");
    }
}

}  // namespace
}  // namespace quarnel
