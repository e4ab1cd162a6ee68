// QuarnelTit.ini: reading from the end, writing back, the folders, the TA
// parameter file and the TA connection.

#include <gtest/gtest.h>

#include "app/settings.h"
#include "authority/connection.h"
#include "crypto/own_keys.h"
#include "holder_files.h"
#include "store/atomic_file.h"
#include "store/key_store.h"

namespace quarnel {
namespace {

using test::HolderFiles;
using test::SampleSettings;
using test::TempDir;

std::vector<std::string> ReadLines(const std::filesystem::path& p) {
    const auto bytes = ReadWholeFile(p);
    return bytes ? SplitLines(*bytes) : std::vector<std::string>{};
}

TEST(Settings, SavedFileReadsBackWithDerivedValues) {
    HolderFiles files('F');
    files.settings.identity[1] = "compta";
    files.settings.proxyAddress = "proxy.lan";
    files.settings.proxyPort = "3128";
    HolderContext ctx;
    ctx.dataFolder = files.Data();
    ctx.settings = files.settings;
    ASSERT_EQ(SaveSettings(ctx, SettingsPath(ctx)), SaveResult::Saved);

    const auto bytes = *ReadWholeFile(files / kSettingsFileName);
    EXPECT_NE(bytes.find("Chiffr\xE9s re\xE7us/\r\n"), std::string::npos) << "CP1252, CR LF";
    EXPECT_EQ(ReadLines(files / kSettingsFileName).size(), 13u + 19u);

    HolderContext back;
    ASSERT_TRUE(LoadSettings(back, files / kSettingsFileName));
    EXPECT_EQ(SettingsLines(back.settings), SettingsLines(files.settings));
    EXPECT_EQ(back.settings.proxyPort, "3128");
    EXPECT_EQ(back.displayName, "DUPONT jean");
    EXPECT_EQ(back.firmText, "ACME, compta");
    EXPECT_EQ(back.email, "jean.dupont@example.org");

    HolderFiles a('A');
    a.WriteSettings();
    HolderContext privatePerson;
    ASSERT_TRUE(LoadSettings(privatePerson, a / kSettingsFileName));
    EXPECT_EQ(privatePerson.displayName, "DUPONT jean");
    EXPECT_EQ(privatePerson.firmText, "");
    EXPECT_EQ(privatePerson.email, "jean.dupont@example.org");
}

TEST(Settings, D300FileHasNoCertificatesLineAndIsWrittenBackWithout) {
    Settings s = SampleSettings('D', "/data");
    s.versionCode = "D3001";
    s.certificatesFolder.clear();
    const auto lines = SettingsLines(s);
    ASSERT_EQ(lines.size(), 13u + 18u);
    EXPECT_EQ(lines[lines.size() - 2],
              "/data/D\xE9"
              "chiffr\xE9s/");

    Settings back;
    ASSERT_TRUE(ParseSettings(lines, back));
    EXPECT_EQ(back.keyFolder, "/data/");
    EXPECT_EQ(back.decryptedFilesFolder,
              "/data/D\xE9"
              "chiffr\xE9s/");
    EXPECT_EQ(back.identity.size(), 13u);
    EXPECT_EQ(SettingsLines(back), lines);
}

TEST(Settings, InvalidFilesAreRefusedAndLeaveTheSettingsAlone) {
    const auto good = SettingsLines(SampleSettings('F', "/data"));
    auto refused = [&](std::vector<std::string> lines, const std::string& why) {
        Settings out = SampleSettings('A', "/kept");
        std::string problem;
        EXPECT_FALSE(ParseSettings(lines, out, &problem)) << why;
        EXPECT_EQ(out.keyFolder, "/kept/") << why;
        EXPECT_FALSE(problem.empty()) << why;
    };
    auto with = [&](std::size_t fromEnd, const std::string& value) {
        auto l = good;
        l[l.size() - 1 - fromEnd] = value;
        return l;
    };
    refused(with(0, "d400f"), "lower-case version code");
    refused(with(0, "D400"), "4-character version code");
    refused(with(0, "D400FF"), "6-character version code");
    refused(with(18, "x"), "language not decimal");
    refused(with(18, ""), "empty language");
    refused(with(17, ""), "empty category");
    refused({good.begin(), good.begin() + 10}, "ten lines");
    refused({good.end() - 15, good.end()}, "shorter than the settings tail");
    refused({good.begin() + 1, good.end()}, "12 identity lines for F");

    auto a = SettingsLines(SampleSettings('A', "/data"));
    a.insert(a.begin(), "EXTRA");
    refused(a, "12 identity lines for A");

    auto d = SettingsLines(SampleSettings('D', "/data"));
    d.insert(d.begin(), "EXTRA");
    refused(d, "14 identity lines for D");

    // Another category letter: the identity is not counted.
    Settings other = SampleSettings('F', "/data");
    other.category = 'X';
    other.identity.resize(5);
    Settings back;
    EXPECT_TRUE(ParseSettings(SettingsLines(other), back));
    EXPECT_EQ(back.identity.size(), 5u);
}

TEST(Settings, SavingNeedsAnIdentityAndAsksWhenTheWriteFails) {
    TempDir dir;
    HolderContext ctx;
    ctx.dataFolder = dir.path();
    ctx.settings = SampleSettings('A', dir.path());
    ctx.settings.identity.clear();
    EXPECT_EQ(SaveSettings(ctx, SettingsPath(ctx)), SaveResult::Saved);
    EXPECT_FALSE(std::filesystem::exists(SettingsPath(ctx)));

    ctx.settings = SampleSettings('A', dir.path());
    ctx.settings.smtpServer = "smtp\r\nevil";
    EXPECT_EQ(SaveSettings(ctx, SettingsPath(ctx)), SaveResult::Refused);
    EXPECT_FALSE(std::filesystem::exists(SettingsPath(ctx)));

    ctx.settings.smtpServer = "smtp";
    int asked = 0;
    ctx.onSaveFailure = [&](const std::filesystem::path& path, const std::string&) {
        EXPECT_EQ(path, dir / "missing" / kSettingsFileName);
        return ++asked < 3 ? SaveChoice::Retry : SaveChoice::Abort;
    };
    EXPECT_EQ(SaveSettings(ctx, dir / "missing" / kSettingsFileName), SaveResult::Aborted);
    EXPECT_EQ(asked, 3);
}

TEST(Settings, DigestMatchesOnlyTheSealedNumberAndIdentity) {
    HolderFiles files('F');
    HolderContext ctx;
    ctx.settings = files.settings;
    ctx.ownNumber = files.number;
    const RecordList store = files.SealedStore();
    OwnKey signing;
    ASSERT_TRUE(OwnSigningKey(store, '0', signing));
    RecordSeal seal;
    ASSERT_TRUE(ReadRecordSeal(store, signing.key, seal));
    EXPECT_TRUE(CheckSettingsDigest(ctx, seal.sealed));

    ctx.settings.identity[6] = "LYON";
    EXPECT_FALSE(CheckSettingsDigest(ctx, seal.sealed));
    ctx.settings = files.settings;
    ctx.ownNumber = "1F400000124";
    EXPECT_FALSE(CheckSettingsDigest(ctx, seal.sealed));
}

TEST(Settings, DefaultFoldersFollowTheLanguageAndAreCreated) {
    TempDir dir;
    HolderContext ctx;
    ctx.dataFolder = dir /
                     "donn\xC3\xA9"
                     "es";  // UTF-8 on disk, CP1252 in the settings
    SetDefaultFolders(ctx);
    EXPECT_EQ(ctx.settings.keyFolder, FolderSetting(dir.path()) +
                                          "donn\xE9"
                                          "es/");
    EXPECT_EQ(ctx.settings.sentEncryptedFolder, ctx.settings.keyFolder + "Chiffr\xE9s envoy\xE9s/");
    EXPECT_EQ(ctx.settings.filesToSendFolder, ctx.settings.keyFolder + "A chiffrer/");

    ASSERT_FALSE(CreateFolders(ctx.settings).has_value());
    for (const char* name :
         {"A chiffrer", "Chiffrés envoyés", "Chiffrés reçus", "Déchiffrés", "Certificats"}) {
        EXPECT_TRUE(std::filesystem::is_directory(ctx.dataFolder / name)) << name;
    }

    ctx.currentText = [](int id) { return id == 65194 ? std::string("Sent") : std::string("X"); };
    SetDefaultFolders(ctx);
    EXPECT_EQ(ctx.settings.sentEncryptedFolder, ctx.settings.keyFolder + "Sent/");

    // A folder that cannot be made is named.
    ASSERT_TRUE(WriteFileAtomically(dir / "file", "x"));
    ctx.settings.certificatesFolder = FolderSetting(dir / "file" / "below");
    EXPECT_EQ(CreateFolders(ctx.settings), dir / "file" / "below");
}

TEST(Settings, TaConnectionFromPortChoiceCodeAndProxy) {
    // The connection is the authority's; these are the settings' cases.
    Settings s = SampleSettings('A', "/d");
    s.taCode = "0FF";
    EXPECT_EQ(ConfigureTaConnection(s).port, 50255);
    EXPECT_EQ(ConfigureTaConnection(s).proxyHost, "") << "\"-\": no proxy";
    s.proxyAddress = "";
    s.proxyPort = "-";
    EXPECT_EQ(ConfigureTaConnection(s).proxyHost, "");
}

TEST(Settings, TaParameterFileBesideTheProgram) {
    TaParameters ta;
    ASSERT_TRUE(ReadTaParameters(QUARNEL_TEST_DATA_DIR "/ta", ta));
    EXPECT_EQ(ta.code, "0FF");
    EXPECT_EQ(ta.publicHex.size(), 256u);
    TempDir empty;
    std::string problem;
    EXPECT_FALSE(ReadTaParameters(empty.path(), ta, &problem));
    EXPECT_NE(problem.find("QuarnelTaPr"), std::string::npos);
}

class Relocation : public ::testing::Test {
  protected:
    Relocation() {
        ctx.settings = files.settings;
        ctx.keyStore = files.SealedStore();
        files.WriteKeyStore(ctx.keyStore);
        files.WriteList("QuarnelTitF.dat", {test::CorrespondentRecord('F', "00000123456")});
        // An altered list (emptied in memory at start-up) keeps its file.
        files.WriteLines("QuarnelTitA.dat", {"not a record list"});
        std::filesystem::create_directory(target);
    }
    test::HolderFiles files;
    HolderContext ctx;
    std::filesystem::path target = files / "clefs";
};

TEST_F(Relocation, MovesTheKeyStoreAndTheListsThatExist) {
    ASSERT_EQ(RelocateKeyFolder(ctx, FolderSetting(target)), RelocationResult::Moved);
    EXPECT_EQ(ctx.settings.keyFolder, FolderSetting(target));
    for (const char* name : {"QuarnelTit.kpr", "QuarnelTitF.dat", "QuarnelTitA.dat"}) {
        EXPECT_TRUE(std::filesystem::exists(target / name)) << name;
        EXPECT_FALSE(std::filesystem::exists(files / name)) << name;
    }
    EXPECT_FALSE(std::filesystem::exists(target / "QuarnelTitD.dat"));
    EXPECT_EQ(ReadLines(target / "QuarnelTitA.dat"), std::vector<std::string>{"not a record list"});
    RecordList store;
    ASSERT_TRUE(LoadRecordList(target / "QuarnelTit.kpr", store));
    EXPECT_EQ(store, ctx.keyStore);
}

TEST_F(Relocation, AFailedWriteLeavesEverythingWhereItWas) {
    // A folder in the way of the F list makes its write fail.
    std::filesystem::create_directory(target / "QuarnelTitF.dat");
    int asked = 0;
    ctx.onSaveFailure = [&](const std::filesystem::path&, const std::string&) {
        ++asked;
        return SaveChoice::Ignore;
    };
    const std::string before = ctx.settings.keyFolder;
    EXPECT_EQ(RelocateKeyFolder(ctx, FolderSetting(target)), RelocationResult::Abandoned);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(ctx.settings.keyFolder, before);
    for (const char* name : {"QuarnelTit.kpr", "QuarnelTitF.dat", "QuarnelTitA.dat"}) {
        EXPECT_TRUE(std::filesystem::exists(files / name)) << name;
    }
    EXPECT_FALSE(std::filesystem::exists(target / "QuarnelTit.kpr"));
}

TEST_F(Relocation, NeverWritesOverAnotherKeyStoreNorIntoNothing) {
    files.WriteList("clefs/QuarnelTit.kpr", {{"somebody else"}});
    EXPECT_EQ(RelocateKeyFolder(ctx, FolderSetting(target)), RelocationResult::Refused);
    EXPECT_EQ(ReadLines(target / "QuarnelTit.kpr").size(), 3u);
    EXPECT_EQ(RelocateKeyFolder(ctx, FolderSetting(files / "none")), RelocationResult::Refused);
    EXPECT_TRUE(std::filesystem::exists(files / "QuarnelTit.kpr"));
    // The same folder spelt otherwise: nothing moves, nothing is deleted.
    EXPECT_EQ(RelocateKeyFolder(ctx, FolderSetting(files / "clefs" / "..")),
              RelocationResult::Moved);
    EXPECT_TRUE(std::filesystem::exists(files / "QuarnelTit.kpr"));
}

}  // namespace
}  // namespace quarnel
