// The options dialog's rules without the dialog: UpdateOk, the key button's
// caption, and what Ok changes in each state.

#include <gtest/gtest.h>

#include "app/options.h"
#include "app/settings.h"
#include "crypto/own_keys.h"
#include "holder_files.h"
#include "store/atomic_file.h"

namespace quarnel {
namespace {

OptionsFields Complete() {
    OptionsFields f;
    f.categoryChosen = true;
    f.clickCounter = 0;
    f.taAddressEmpty = f.smtpEmpty = f.pop3Empty = f.accountEmpty = f.passwordEmpty = false;
    f.anyWorkingFolderEmpty = false;
    return f;
}

TEST(UpdateOk, EveryRule) {
    OkState s = UpdateOk(Complete());
    EXPECT_TRUE(s.ok);
    EXPECT_FALSE(s.enableAnnuler);
    EXPECT_EQ(s.ports, PortButtons::Free);

    auto blocked = [](OptionsFields f, const char* what) {
        const OkState b = UpdateOk(f);
        EXPECT_FALSE(b.ok) << what;
        EXPECT_TRUE(b.enableAnnuler) << what;
        EXPECT_EQ(b.ports, PortButtons::Unchanged) << what;
    };
    OptionsFields f = Complete();
    f.categoryChosen = false;
    blocked(f, "no category");
    f = Complete();
    f.clickCounter = 1;
    blocked(f, "a click missing");
    for (bool OptionsFields::*field :
         {&OptionsFields::taAddressEmpty, &OptionsFields::smtpEmpty, &OptionsFields::pop3Empty,
          &OptionsFields::accountEmpty, &OptionsFields::passwordEmpty,
          &OptionsFields::anyWorkingFolderEmpty}) {
        f = Complete();
        f.*field = true;
        blocked(f, "an empty field");
    }
    f = Complete();
    f.proxyAddressEmpty = false;
    blocked(f, "proxy address without port");
    f.proxyAddressEmpty = true;
    f.proxyPortEmpty = false;
    blocked(f, "proxy port without address");
    f.proxyAddressEmpty = false;
    s = UpdateOk(f);
    EXPECT_TRUE(s.ok);
    EXPECT_EQ(s.ports, PortButtons::Forced80);
}

TEST(UpdateOk, KeyButtonCaption) {
    EXPECT_TRUE(KeyButtonCaption(8).eightClicks);
    EXPECT_FALSE(KeyButtonCaption(7).eightClicks);
    EXPECT_EQ(KeyButtonCaption(7).remaining, 7);
    EXPECT_EQ(KeyButtonCaption(0).remaining, 0);
}

class ApplyOptionsTest : public ::testing::Test {
  protected:
    OptionsInput InputFromSettings() const {
        OptionsInput in;
        const Settings& s = files.settings;
        in.category = s.category;
        in.taAddress = s.taAddress;
        in.portChoice = s.taPortChoice;
        in.smtpServer = s.smtpServer;
        in.pop3Server = s.pop3Server;
        in.accountName = s.accountName;
        for (int tag = 0; tag < kFolderCount; ++tag) {
            in.folders[std::size_t(tag)] = FolderSettingByTag(s, tag);
        }
        in.password = "          ";
        return in;
    }
    void Affiliated() {
        ctx.dataFolder = files.Data();
        ctx.settings = files.settings;
        ctx.keyStore = files.SealedStore();
        ctx.programState = 2;
        files.WriteSettings();
        files.WriteKeyStore(ctx.keyStore);
    }
    test::HolderFiles files;
    HolderContext ctx;
};

TEST_F(ApplyOptionsTest, FirstInitialisationCreatesFoldersAndKeepsThePassword) {
    ctx.dataFolder = files.Data();
    OptionsInput in = InputFromSettings();
    in.folders[0] = FolderSetting(files / "clefs");
    in.password = "motdepasse";
    const OptionsResult r = ApplyOptions(ctx, in);
    EXPECT_EQ(r.outcome, OptionsOutcome::Closed);
    EXPECT_EQ(ctx.settings.keyFolder, in.folders[0]) << "no key store to move in state 0";
    EXPECT_EQ(ctx.settings.smtpServer, "smtp.example.org");
    EXPECT_EQ(ctx.settings.proxyAddress, "-");
    EXPECT_EQ(ctx.settings.proxyPort, "-");
    EXPECT_EQ(ctx.pendingPassword, "motdepasse");
    EXPECT_TRUE(std::filesystem::is_directory(files / "Chiffrés reçus"));
    EXPECT_TRUE(std::filesystem::is_directory(files / "Certificats"));
    EXPECT_FALSE(std::filesystem::exists(files / kSettingsFileName)) << "nothing to save yet";

    ASSERT_TRUE(WriteFileAtomically(files / "blocker", "x"));
    in.folders[7] = FolderSetting(files / "blocker" / "certificats");
    EXPECT_EQ(ApplyOptions(ctx, in).outcome, OptionsOutcome::FolderNotCreated);
}

TEST_F(ApplyOptionsTest, ChangedFieldsAreSavedUnchangedOnesAreNot) {
    Affiliated();
    std::filesystem::remove(files / kSettingsFileName);
    OptionsInput in = InputFromSettings();
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

TEST_F(ApplyOptionsTest, MailPasswordIsStoredOnlyWhenTyped) {
    Affiliated();
    OptionsInput in = InputFromSettings();
    in.password = "typed but not changed";
    EXPECT_EQ(ApplyOptions(ctx, in).outcome, OptionsOutcome::Closed);
    EXPECT_EQ(ctx.keyStore.back().size(), 6u);

    in.passwordChanged = true;
    in.password = "pop-secret";
    EXPECT_EQ(ApplyOptions(ctx, in).outcome, OptionsOutcome::Closed);
    RecordList saved;
    ASSERT_TRUE(LoadRecordList(files / "QuarnelTit.kpr", saved));
    ASSERT_EQ(saved.back().size(), 7u);
    std::string password;
    ASSERT_TRUE(ReadMailPassword(saved, '0', password));
    EXPECT_EQ(password, "pop-secret");
}

TEST_F(ApplyOptionsTest, KeyFolderMovesBeforeTheSettingsAreWritten) {
    Affiliated();
    std::filesystem::create_directory(files / "clefs");
    OptionsInput in = InputFromSettings();
    in.folders[0] = FolderSetting(files / "clefs");
    in.keyFolderChanged = true;
    EXPECT_EQ(ApplyOptions(ctx, in).outcome, OptionsOutcome::Closed);
    EXPECT_TRUE(std::filesystem::exists(files / "clefs" / "QuarnelTit.kpr"));
    EXPECT_FALSE(std::filesystem::exists(files / "QuarnelTit.kpr"));
    HolderContext back;
    ASSERT_TRUE(LoadSettings(back, files / kSettingsFileName));
    EXPECT_EQ(back.settings.keyFolder, in.folders[0]) << "the file names the folder of the keys";

    in.folders[0] = FolderSetting(files / "nowhere");
    const OptionsResult r = ApplyOptions(ctx, in);
    EXPECT_EQ(r.outcome, OptionsOutcome::KeysNotMoved);
    EXPECT_EQ(r.failedFolder, files / "nowhere/");
}

}  // namespace
}  // namespace quarnel
