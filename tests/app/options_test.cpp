// The options dialog's rules without the dialog: UpdateOk, and what Ok
// changes in each state (the dialog itself: options_dialog_test.cpp).

#include <gtest/gtest.h>

#include "app/options.h"
#include "app/settings.h"
#include "holder_files.h"
#include "store/atomic_file.h"

namespace quarnel {
namespace {

TEST(UpdateOk, EveryRule) {
    using F = OptionsFields&;
    constexpr auto kNone = PortButtons::Unchanged;
    const struct {
        const char* what;
        void (*change)(OptionsFields&);
        bool ok;
        PortButtons ports;
    } cases[] = {
        {"complete", [](F) {}, true, PortButtons::Free},
        {"no category", [](F f) { f.categoryChosen = false; }, false, kNone},
        {"a click missing", [](F f) { f.clickCounter = 1; }, false, kNone},
        {"no TA address", [](F f) { f.taAddressEmpty = true; }, false, kNone},
        {"no SMTP server", [](F f) { f.smtpEmpty = true; }, false, kNone},
        {"no POP3 server", [](F f) { f.pop3Empty = true; }, false, kNone},
        {"no account", [](F f) { f.accountEmpty = true; }, false, kNone},
        {"no password", [](F f) { f.passwordEmpty = true; }, false, kNone},
        {"a working folder empty", [](F f) { f.anyWorkingFolderEmpty = true; }, false, kNone},
        {"proxy address alone", [](F f) { f.proxyAddressEmpty = false; }, false, kNone},
        {"proxy port alone", [](F f) { f.proxyPortEmpty = false; }, false, kNone},
        {"proxy", [](F f) { f.proxyAddressEmpty = f.proxyPortEmpty = false; }, true,
         PortButtons::Forced80},
    };
    for (const auto& c : cases) {
        OptionsFields f{true, 0, false, false, false, false, false, false};  // all filled
        c.change(f);
        const OkState s = UpdateOk(f);
        EXPECT_EQ(s.ok, c.ok) << c.what;
        EXPECT_EQ(s.enableAnnuler, !c.ok) << c.what;
        EXPECT_EQ(s.ports, c.ports) << c.what;
    }
}

class ApplyOptionsTest : public ::testing::Test {
  protected:
    ApplyOptionsTest() {
        ctx.dataFolder = files.Data();
        const Settings& s = files.settings;
        in.category = s.category;
        in.taAddress = s.taAddress;
        in.portChoice = s.taPortChoice;
        in.smtpServer = s.smtpServer;
        in.pop3Server = s.pop3Server;
        in.accountName = s.accountName;
        for (int tag = 0; tag < kFolderCount; ++tag)
            in.folders[std::size_t(tag)] = FolderSettingByTag(s, tag);
        in.password = "          ";
    }
    /// State 2 with an F list and an altered A list (emptied in memory at
    /// start-up, its file kept), and a folder to move the keys to.
    void Affiliated() {
        ctx.settings = files.settings;
        ctx.keyStore = files.SealedStore();
        ctx.programState = 2;
        files.WriteSettings();
        files.WriteKeyStore(ctx.keyStore);
        files.WriteList("QuarnelTitF.dat", {test::CorrespondentRecord('F', "00000123456")});
        files.WriteLines("QuarnelTitA.dat", {"not a record list"});
        std::filesystem::create_directory(target);
    }
    void ExpectKeyFiles(const std::filesystem::path& folder, bool there) {
        for (const char* name : {"QuarnelTit.kpr", "QuarnelTitF.dat", "QuarnelTitA.dat"}) {
            EXPECT_EQ(std::filesystem::exists(folder / name), there) << folder << name;
        }
    }
    OptionsOutcome MoveKeysTo(const std::filesystem::path& folder) {
        in.folders[0] = FolderSetting(folder);
        in.keyFolderChanged = true;
        return ApplyOptions(ctx, in).outcome;
    }
    test::HolderFiles files;
    HolderContext ctx;
    OptionsInput in;
    std::filesystem::path target = files / "clefs";
};

TEST_F(ApplyOptionsTest, FirstInitialisationTakesTheKeyFolderAndCreatesTheOthers) {
    in.folders[0] = FolderSetting(target);
    EXPECT_EQ(ApplyOptions(ctx, in).outcome, OptionsOutcome::Closed);
    EXPECT_EQ(ctx.settings.keyFolder, in.folders[0]) << "no key store to move in state 0";
    EXPECT_EQ(ctx.settings.proxyAddress, "-");
    EXPECT_EQ(ctx.settings.proxyPort, "-");
    EXPECT_TRUE(std::filesystem::is_directory(files / "Chiffrés reçus"));

    ASSERT_TRUE(WriteFileAtomically(files / "blocker", "x"));
    in.folders[7] = FolderSetting(files / "blocker" / "certificats");
    const OptionsResult r = ApplyOptions(ctx, in);
    EXPECT_EQ(r.outcome, OptionsOutcome::FolderNotCreated);
    EXPECT_EQ(r.failedFolder, files / "blocker" / "certificats");
}

TEST_F(ApplyOptionsTest, ChangedFieldsAreSavedUnchangedOnesAreNot) {
    Affiliated();
    std::filesystem::remove(files / kSettingsFileName);
    EXPECT_EQ(ApplyOptions(ctx, in).outcome, OptionsOutcome::Closed);
    EXPECT_FALSE(std::filesystem::exists(files / kSettingsFileName));

    in.smtpServer = "relay.example.org:2525";
    in.proxyAddress = "proxy.lan";
    in.proxyPort = "3128";
    in.fieldChanged = true;
    EXPECT_EQ(ApplyOptions(ctx, in).outcome, OptionsOutcome::Closed);
    HolderContext back;
    ASSERT_TRUE(LoadSettings(back, files / kSettingsFileName));
    EXPECT_EQ(back.settings.smtpServer, "relay.example.org:2525");
    EXPECT_EQ(back.settings.proxyAddress, "proxy.lan");
    EXPECT_EQ(back.settings.proxyPort, "3128");
}

TEST_F(ApplyOptionsTest, TheKeysMoveOnlyIntoAFreeFolderAllOrNothingAndBeforeTheSettings) {
    Affiliated();
    files.WriteList("clefs/QuarnelTit.kpr", {{"somebody else"}});
    EXPECT_EQ(MoveKeysTo(target), OptionsOutcome::KeysNotMoved);
    EXPECT_EQ(SplitLines(*ReadWholeFile(target / "QuarnelTit.kpr")).size(), 3u);
    in.folders[0] = FolderSetting(files / "nowhere");
    const OptionsResult r = ApplyOptions(ctx, in);
    EXPECT_EQ(r.outcome, OptionsOutcome::KeysNotMoved);
    EXPECT_EQ(r.failedFolder, files / "nowhere/");

    // A folder in the way of the F list makes its write fail: all stays.
    std::filesystem::remove(target / "QuarnelTit.kpr");
    std::filesystem::create_directory(target / "QuarnelTitF.dat");
    int asked = 0;
    ctx.onSaveFailure = [&](const std::filesystem::path&, const std::string&) {
        ++asked;
        return SaveChoice::Ignore;
    };
    EXPECT_EQ(MoveKeysTo(target), OptionsOutcome::Abandoned);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(ctx.settings.keyFolder, files.settings.keyFolder);
    ExpectKeyFiles(files.Data(), true);
    EXPECT_FALSE(std::filesystem::exists(target / "QuarnelTit.kpr"));
    std::filesystem::remove(target / "QuarnelTitF.dat");

    // The same folder spelt otherwise: nothing moves, nothing is deleted.
    EXPECT_EQ(MoveKeysTo(target / ".."), OptionsOutcome::Closed);
    ExpectKeyFiles(files.Data(), true);

    EXPECT_EQ(MoveKeysTo(target), OptionsOutcome::Closed);
    ExpectKeyFiles(target, true);
    ExpectKeyFiles(files.Data(), false);
    EXPECT_FALSE(std::filesystem::exists(target / "QuarnelTitD.dat"));
    EXPECT_EQ(SplitLines(*ReadWholeFile(target / "QuarnelTitA.dat")),
              std::vector<std::string>{"not a record list"});
    RecordList store;
    ASSERT_TRUE(LoadRecordList(target / "QuarnelTit.kpr", store));
    EXPECT_EQ(store, ctx.keyStore);
    HolderContext back;
    ASSERT_TRUE(LoadSettings(back, files / kSettingsFileName));
    EXPECT_EQ(back.settings.keyFolder, FolderSetting(target));
}

}  // namespace
}  // namespace quarnel
