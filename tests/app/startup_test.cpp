// SPDX-License-Identifier: GPL-3.0-or-later
// The start-up sequence: every program state from the shapes of the
// settings file and the key store, what it reports on the way (the boxes that
// show it: main_window_test.cpp), and EvaluateState with the commands' rules.

#include <gtest/gtest.h>

#include <functional>

#include "app/main_view.h"
#include "app/program_data.h"
#include "app/startup.h"
#include "app/texts.h"
#include "app/windows/commands.h"
#include "authority/texts.h"
#include "holder/texts.h"
#include "holder_files.h"
#include "holder_fixture.h"
#include "mail/incoming.h"
#include "mail/sent_log.h"
#include "resources/texts.h"
#include "store/key_store.h"

namespace quarnel {
namespace {

using enum Command;
using test::HolderFiles;

class ScriptedHost : public StartupHost {
  public:
    void ApplyLanguage() override { ++languageApplied; }
    bool RetryMissingFile(const std::filesystem::path& path) override {
        missing.push_back(path);
        // One answer per question, then Abort.
        return missing.size() <= retries.size() && retries[missing.size() - 1]();
    }
    void ReportAltered(const std::string& fileName) override { altered.push_back(fileName); }
    void ReportExposedFolder(const ExposedFolder& e) override { exposed.push_back(e.tag); }

    int languageApplied = 0;
    std::vector<int> exposed;
    std::vector<std::function<bool()>> retries;
    std::vector<std::filesystem::path> missing;
    std::vector<std::string> altered;
};

StartupEnd RunOn(const HolderFiles& files, ProgramData& ctx, StartupHost& host) {
    StartupPlaces places;
    places.programFile = "/opt/quarnel/quarneltit";
    places.currentFolder = files.Data();
    PrepareStartup(ctx, places);
    return RunStartup(ctx, ctx.mail, host);
}

TEST(StartupStates, FromTheSettingsTheOwnRecordAndTheSealInTheirOverrideOrder) {
    using Change = std::function<void(Settings&, Record&)>;  // settings, own record; none: no files
    auto record = [](const char* version, bool zeroLine3, std::size_t lines) -> Change {
        return [=](Settings& s, Record& own) {
            s.versionCode = version;
            if (zeroLine3) own[3] = kZeroLine;
            own.resize(lines);
        };
    };
    const std::vector<std::string> none, ini{"QuarnelTit.ini"};
    const struct {
        const char* what;
        Change change;  // made after the seal
        ProgramState state;
        std::vector<std::string> altered;
    } cases[] = {
        {"no settings file", nullptr, ProgramState::NotInitialised, none},
        {"affiliated", record("D400F", false, 6), ProgramState::Affiliated, none},
        {"update pending", record("D400F", true, 6), ProgramState::UpdateNecessary, none},
        {"a changed version wins over pending", record("D400E", true, 6),
         ProgramState::VersionChanged, none},
        {"two lines win over a changed version", record("D3001", false, 2),
         ProgramState::NotAffiliated, none},
        {"identity edited", [](Settings& s, Record&) { s.identity[4] = "2 rue"; },
         ProgramState::SettingsAltered, ini},
        {"number edited", [](Settings&, Record& own) { own[0] = "1F400000124"; },
         ProgramState::SettingsAltered, ini},
        {"a seal that does not open", [](Settings&, Record& own) { own[5] = own[4]; },
         ProgramState::SettingsAltered, ini},
    };
    for (const auto& c : cases) {
        HolderFiles f;
        Record own = f.SealedOwnRecord();
        if (c.change) {
            c.change(f.settings, own);
            f.WriteSettings();
            f.WriteKeyStore({own});
        }
        ProgramData ctx;
        ScriptedHost host;
        EXPECT_EQ(RunOn(f, ctx, host), c.change ? StartupEnd::Completed : StartupEnd::NoSettings)
            << c.what;
        EXPECT_EQ(ctx.State(), c.state) << c.what;
        EXPECT_EQ(host.altered, c.altered) << c.what;
        EXPECT_EQ(ctx.information, c.change ? txt::kIdle : txt::kNotInitialised) << c.what;
        EXPECT_EQ(ctx.ownNumber.empty(), !IsAffiliatedState(c.state)) << c.what;
        EXPECT_EQ(host.languageApplied, 1) << c.what;
        EXPECT_EQ(ctx.helpFile, "/opt/quarnel/QuarnelTit_F.hlp") << c.what;
    }
}

TEST(Startup, AKeyStoreFoundOnRetryThenListsQueueAndLogsAnAlteredListEmptied) {
    HolderFiles files;
    ProgramData ctx;
    ScriptedHost host;
    files.WriteSettings();
    host.retries = {
        [] { return true; },  // still missing: asked again
        [&] {
            files.WriteKeyStore({Record{"1F400000001", kZeroLine}, Record{"1F400000002", kZeroLine},
                                 files.SealedOwnRecord()});
            return true;
        }};
    files.WriteList("QuarnelTitF.dat", {test::CorrespondentRecord('F', "00000123456"),
                                        test::CorrespondentRecord('F', "00000123457")});
    Record shortRecord = test::CorrespondentRecord('D', "09000000001");
    shortRecord.pop_back();
    files.WriteList("QuarnelTitD.dat",
                    {test::CorrespondentRecord('D', "09000000002"), shortRecord});
    files.WriteList("QuarnelTit.msg", {{"queued", "body"}});
    std::filesystem::create_directories(files / "Chiffrés envoyés");
    files.WriteList("Chiffrés envoyés/MsgChifS.dat", {{"sent"}, {"sent too"}});

    EXPECT_EQ(RunOn(files, ctx, host), StartupEnd::Completed);
    EXPECT_EQ(host.missing, std::vector<std::filesystem::path>(2, files / "QuarnelTit.kpr"));
    EXPECT_EQ(ctx.State(), ProgramState::Affiliated) << "the seal of the last record, generation 2";
    EXPECT_EQ(ctx.ownDigit, '2');
    EXPECT_EQ(ctx.ownNumber, files.number);
    EXPECT_EQ(ctx.registrationFlag, '1');
    EXPECT_EQ(ctx.applicationTitle, "DUPONT jean");
    EXPECT_EQ(ctx.information, txt::kIdle);
    EXPECT_EQ(host.altered, std::vector<std::string>{"QuarnelTitD.dat"});
    EXPECT_EQ(ctx.correspondents.damaged, "D") << "its file is kept before it is written over";
    EXPECT_EQ(ctx.correspondents.f.size(), 2u);
    EXPECT_TRUE(ctx.correspondents.d.empty());
    EXPECT_TRUE(ctx.correspondents.a.empty());
    EXPECT_EQ(ctx.mail.outgoingQueue.size(), 1u);
    // The logs are read when a window asks for them.
    EXPECT_TRUE(ctx.mail.sentLog.Pending().empty());
    EXPECT_EQ(ctx.mail.sentLog.Count(SentLogPath(ctx)), 2u);
    EXPECT_EQ(ctx.mail.receivedLog.Count(ReceivedLogPath(ctx)), 0u);
}

TEST(Startup, WhatACrashLeftInAnyFolderOfTheHolderIsGoneAndAnExposedFolderIsTold) {
    // The keys in a folder of their own, decrypted files received into the
    // data folder, and a decryption cut short in each folder.
    HolderFiles files;
    files.settings.keyFolder = FolderSetting(files / "clefs");
    files.settings.receivedEncryptedFolder = FolderSetting(files.Data());
    files.WriteSettings();
    std::filesystem::create_directories(files / "clefs");
    files.WriteList("clefs/QuarnelTit.kpr", files.SealedStore());
    const std::vector<std::string> leftovers{".QuarnelTit.ini.tmp1", "clefs/.QuarnelTit.kpr.tmp2",
                                             "Déchiffrés/.rapport.pdf.tmp3",
                                             "Certificats/.certificat.txt.tmp4"};
    for (const std::string& name : leftovers) {
        std::filesystem::create_directories((files / name).parent_path());
        ASSERT_TRUE(WriteFileAtomically(files / name, "clair"));
    }
    ProgramData ctx;
    ScriptedHost host;
    EXPECT_EQ(RunOn(files, ctx, host), StartupEnd::Completed);
    EXPECT_EQ(ctx.State(), ProgramState::Affiliated);
    for (const std::string& name : leftovers)
        EXPECT_FALSE(std::filesystem::exists(files / name)) << name;
    EXPECT_EQ(host.exposed, std::vector<int>{4});
}

// (The saves after the kept file: the correspondent store's test.)
TEST(Startup, TheFileOfAnAlteredListIsKeptAsideByTheKeyReplyThatWritesTheList) {
    test::TempDir root;
    test::InProcessTa ta;
    std::unique_ptr<ProgramData> x, y;
    test::AffiliatePair(root.path(), ta.EveryHolder(), x, y);
    // As start-up leaves a list found altered: empty, its file still there.
    const auto file = PathFromSetting(x->settings.keyFolder) / "QuarnelTitA.dat";
    ASSERT_TRUE(WriteFileAtomically(file, "00000010\r\ndamaged"));
    FreeRecordList(x->correspondents.a, false);
    x->correspondents.MarkDamaged('A');
    x->informationNote = "stale";

    test::FixClocks();
    ASSERT_EQ(RunKeyRequest(test::Scope(*x), ta.Hooks(*x), y->ownNumber, false).status,
              FlowStatus::Done);
    test::ReleaseClocks();
    const auto kept = file.parent_path() / "QuarnelTitA.dat.damaged-20261205-1403";
    EXPECT_EQ(ReadWholeFile(kept), "00000010\r\ndamaged");
    EXPECT_EQ(x->information, txt::kKeyDelivered);
    EXPECT_EQ(x->informationNote,
              FillPlaceholders(FrenchTextCp1252(txt::kAlteredListKept), {kept.string()}));
    EXPECT_EQ(x->correspondents.a.size(), 1u);
    // The next key reply leaves no note.
    ASSERT_EQ(RunKeyRequest(test::Scope(*x), ta.Hooks(*x), y->ownNumber, true).status,
              FlowStatus::Done);
    EXPECT_EQ(x->informationNote, "");
}

std::vector<Command> EnabledOf(const MainView& v) {
    std::vector<Command> out;
    for (const ui::MainCommandInfo& c : ui::MainCommands()) {
        if (v.Enabled(c.command)) out.push_back(c.command);
    }
    return out;
}

MainView Showing(int information) {
    MainView v = InitialView();
    v.information = information;
    return v;
}

StateFacts Facts(int state, bool correspondent = false, std::size_t ownRecordLines = 6,
                 bool queue = false, bool busy = false) {
    return {ProgramState(state), busy, correspondent, ownRecordLines, !queue};
}

MainView EvaluateState(const MainView& current, const StateFacts& facts) {
    return quarnel::EvaluateState(current, facts, ui::MainCommandRules());
}

bool CanRun(Command command, const MainView& view, bool busy) {
    return quarnel::CanRun(command, view, busy, ui::CommandInfo(command).rule);
}

// State 3 comes from a switch of the language when the stored version code
// is this program's in one of its languages (English from its module).
TEST(EvaluateState, AVersionCodeOfOurOwnInAnotherLanguageMeansALanguageSwitch) {
    ProgramData data;
    data.programFile = std::filesystem::path(QUARNEL_BIN_DIR) / "quarneltit";
    test::ReachState(data, ProgramState::VersionChanged);
    for (const auto& [stored, language] :
         {std::pair{"D400F", true}, {"D400E", true}, {"D4001", false}, {"D300F", false}}) {
        data.settings.versionCode = stored;
        EXPECT_EQ(FactsOf(data, data.mail).languageChanged, language) << stored;
    }
    state::Affiliated(data);
    EXPECT_FALSE(FactsOf(data, data.mail).languageChanged);
}

TEST(EvaluateState, EveryStateAndTheRulesOfStateTwo) {
    // The initial view itself: the main window's creation test.
    const std::vector<Command> creation{Exit, Options, Help};
    // The mailbox, once affiliated, whatever else the state asks and while busy.
    const std::vector<Command> keys{AffiliationUpdate, NewKeys, Certification, Exit,
                                    Options,           Help,    Mailbox};
    const std::vector<Command> lists{Correspondents, IncomingMail,  AffiliationUpdate,
                                     NewKeys,        Certification, Exit,
                                     Options,        Help,          Mailbox};
    const std::vector<Command> queue{AffiliationUpdate, Dispatch, NewKeys, Certification, Exit,
                                     Options,           Help,     Mailbox};
    const std::vector<Command> update{AffiliationUpdate, Certification, Exit,
                                      Options,           Help,          Mailbox};
    const std::vector<Command> updateOnly{AffiliationUpdate, Exit, Options, Help, Mailbox};
    const std::vector<Command> whileBusy{Certification, Exit, Help, Mailbox};
    // Everything a state 2 can enable, the queue's line shown.
    const MainView full = EvaluateState(InitialView(), Facts(2, true, 7, true));
    const struct {
        const char* what;
        MainView start;
        StateFacts facts;
        std::vector<Command> enabled;
        Command focus;
        int information;
    } cases[] = {
        {"0", InitialView(), Facts(0), creation, Options, txt::kNotInitialised},
        {"1", InitialView(), Facts(1), creation, Options, txt::kInitialisationToResume},
        {"2 asks for keys", Showing(txt::kIdle), Facts(2), keys, NewKeys, txt::kAskForKeys},
        {"2 keeps the confirmation of a first affiliation", Showing(txt::kAffiliationConfirmed),
         Facts(2), keys, NewKeys, txt::kAffiliationConfirmed},
        {"2, a correspondent, the mail password stored", Showing(txt::kIdle), Facts(2, true, 7),
         lists, Correspondents, txt::kIdle},
        {"2: six lines leave Courrier entrant, an empty queue clears its line", full,
         Facts(2, true), lists, Correspondents, txt::kIdle},
        {"2: a queue wins over the key hint", Showing(txt::kIdle), Facts(2, false, 6, true), queue,
         NewKeys, txt::kMessagesToSend},
        {"3", full, Facts(3), update, AffiliationUpdate, txt::kVersionChanged},
        {"3 by a language switch says so", full,
         [] {
             StateFacts f = Facts(3);
             f.languageChanged = true;
             return f;
         }(),
         update, AffiliationUpdate, txt::kLanguageChanged},
        {"4 leaves the line", full, Facts(4), update, AffiliationUpdate, txt::kMessagesToSend},
        {"5", full, Facts(5), update, AffiliationUpdate, txt::kUpdateNeeded},
        {"3 leaves Certification as it was", InitialView(), Facts(3), updateOnly, AffiliationUpdate,
         txt::kVersionChanged},
        {"busy: all but Certification, Sortie, Aide and Courrier", InitialView(),
         Facts(2, true, 7, true, true), whileBusy, Correspondents, txt::kMessagesToSend},
    };
    for (const auto& c : cases) {
        const MainView v = EvaluateState(c.start, c.facts);
        EXPECT_EQ(EnabledOf(v), c.enabled) << c.what;
        EXPECT_EQ(v.focus, c.focus) << c.what;
        EXPECT_EQ(v.information, c.information) << c.what;
        EXPECT_EQ(v.optionsCaptionIsOptions, IsAffiliatedState(c.facts.programState)) << c.what;
    }

    // Certification stays enabled while busy, but its handler does not run.
    const MainView busy = EvaluateState(InitialView(), Facts(2, false, 6, false, true));
    EXPECT_FALSE(CanRun(Certification, busy, true));
    EXPECT_TRUE(CanRun(Help, busy, true));
    EXPECT_FALSE(CanRun(Options, InitialView(), true));
    EXPECT_TRUE(CanRun(Options, InitialView(), false));
}

}  // namespace
}  // namespace quarnel
