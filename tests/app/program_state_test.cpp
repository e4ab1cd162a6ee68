// EvaluateState: the main window's buttons, focus and information line as a
// function of the program state.

#include <gtest/gtest.h>

#include "app/program_state.h"
#include "resources/texts.h"
#include "resources/texts_app.h"

namespace quarnel {
namespace {

std::vector<Command> EnabledOf(const MainView& v) {
    std::vector<Command> out;
    for (const MainCommand& c : MainCommands()) {
        if (v.Enabled(c.command)) out.push_back(c.command);
    }
    return out;
}

StateFacts Facts(int state) {
    StateFacts f;
    f.programState = state;
    f.ownRecordLines = 6;
    return f;
}

using enum Command;

TEST(EvaluateState, AtCreationOnlyInitialisationExitAndHelp) {
    const MainView v = InitialView();
    EXPECT_EQ(EnabledOf(v), (std::vector<Command>{Sortie, Options, Aide}));
    EXPECT_EQ(v.information, 0);
    EXPECT_FALSE(v.optionsCaptionIsOptions);
    EXPECT_EQ(std::string(CommandInfo(Options).objectName), "BitBtnOptions");
}

TEST(EvaluateState, StatesZeroAndOneOnlyPointAtInitialisation) {
    for (const auto& [state, text] :
         {std::pair{0, txt::kPasInitialise}, std::pair{1, txt::kInitialisationAReprendre}}) {
        const MainView v = EvaluateState(InitialView(), Facts(state));
        EXPECT_EQ(EnabledOf(v), (std::vector<Command>{Sortie, Options, Aide}));
        EXPECT_EQ(v.focus, Options);
        EXPECT_EQ(v.information, text);
        EXPECT_FALSE(v.optionsCaptionIsOptions);
    }
}

TEST(EvaluateState, StateTwoWithoutCorrespondentsAsksForKeys) {
    MainView start = InitialView();
    start.information = txt::kEnAttente;
    MainView v = EvaluateState(start, Facts(2));
    EXPECT_EQ(EnabledOf(v),
              (std::vector<Command>{MiseAJour, Clefs, Certification, Sortie, Options, Aide}));
    EXPECT_EQ(v.focus, Clefs);
    EXPECT_EQ(v.information, txt::kDemanderClefs);
    EXPECT_TRUE(v.optionsCaptionIsOptions);

    // The confirmation of a first affiliation stays.
    start.information = txt::kAffiliationConfirmed;
    EXPECT_EQ(EvaluateState(start, Facts(2)).information, txt::kAffiliationConfirmed);
}

TEST(EvaluateState, StateTwoRulesForListsPasswordAndQueue) {
    StateFacts f = Facts(2);
    f.anyCorrespondent = true;
    MainView start = InitialView();
    start.information = txt::kEnAttente;
    MainView v = EvaluateState(start, f);
    EXPECT_TRUE(v.Enabled(Correspondants));
    EXPECT_EQ(v.focus, Correspondants);
    EXPECT_EQ(v.information, txt::kEnAttente);
    EXPECT_FALSE(v.Enabled(Entrant));

    // The stored mail password (7 lines) enables Courrier entrant; 6 lines
    // leave it as it was.
    f.ownRecordLines = 7;
    v = EvaluateState(v, f);
    EXPECT_TRUE(v.Enabled(Entrant));
    f.ownRecordLines = 6;
    EXPECT_TRUE(EvaluateState(v, f).Enabled(Entrant));

    // A queue to send wins over the key hint; an empty one clears its line.
    f.anyCorrespondent = false;
    f.queueEmpty = false;
    v = EvaluateState(v, f);
    EXPECT_TRUE(v.Enabled(Expedition));
    EXPECT_EQ(v.information, txt::kMessagesAExpedier);
    f.anyCorrespondent = true;
    f.queueEmpty = true;
    v = EvaluateState(v, f);
    EXPECT_FALSE(v.Enabled(Expedition));
    EXPECT_EQ(v.information, txt::kEnAttente);
}

TEST(EvaluateState, StatesThreeToFiveLeaveOnlyTheUpdate) {
    StateFacts two = Facts(2);
    two.anyCorrespondent = true;
    two.ownRecordLines = 7;
    two.queueEmpty = false;
    const MainView affiliated = EvaluateState(InitialView(), two);
    for (const auto& [state, text] :
         {std::pair{3, txt::kVersionModifiee}, std::pair{4, affiliated.information},
          std::pair{5, txt::kMiseAJourNecessaire}}) {
        const MainView v = EvaluateState(affiliated, Facts(state));
        EXPECT_EQ(EnabledOf(v),
                  (std::vector<Command>{MiseAJour, Certification, Sortie, Options, Aide}))
            << state;
        EXPECT_EQ(v.focus, MiseAJour);
        EXPECT_EQ(v.information, text) << state;
        EXPECT_TRUE(v.optionsCaptionIsOptions);
    }
    // Certification is left as it was.
    EXPECT_FALSE(EvaluateState(InitialView(), Facts(3)).Enabled(Certification));
}

TEST(EvaluateState, BusyBlocksEveryCommandButCertificationExitAndHelp) {
    StateFacts f = Facts(2);
    f.anyCorrespondent = true;
    f.ownRecordLines = 7;
    f.queueEmpty = false;
    f.busy = true;
    const MainView v = EvaluateState(InitialView(), f);
    EXPECT_EQ(EnabledOf(v), (std::vector<Command>{Certification, Sortie, Aide}));
    EXPECT_FALSE(CanRun(Certification, v, true));
    EXPECT_TRUE(CanRun(Aide, v, true));
    EXPECT_FALSE(CanRun(Options, InitialView(), true));
    EXPECT_TRUE(CanRun(Options, InitialView(), false));
}

TEST(ProgramState, InformationChangesAreToldAndListsWipedAtTheEnd) {
    HolderContext ctx;
    int told = 0;
    ctx.onInformationChanged = [&] { ++told; };
    SetInformation(ctx, txt::kMessageAltere);
    EXPECT_EQ(ctx.information, txt::kMessageAltere);
    EXPECT_EQ(told, 1);

    EXPECT_EQ(CurrentText(ctx, txt::kVersionCode), "D400F");
    ctx.currentText = [](int) { return std::string("D400E"); };
    EXPECT_EQ(CurrentText(ctx, txt::kVersionCode), "D400E");

    ctx.keyStore = {{"1F400000123", std::string(32, 'A')}};
    ctx.correspondents.f = {{"x"}};
    ctx.outgoingQueue = {{"y"}};
    ctx.pendingPassword = "secret";
    FreeWorkingLists(ctx);
    EXPECT_TRUE(ctx.keyStore.empty());
    EXPECT_EQ(ctx.correspondents.Total(), 0u);
    EXPECT_TRUE(ctx.outgoingQueue.empty());
    EXPECT_TRUE(ctx.pendingPassword.empty());
}

}  // namespace
}  // namespace quarnel
