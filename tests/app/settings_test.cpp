// SPDX-License-Identifier: GPL-3.0-or-later
// QuarnelTit.ini read from the end and written back, the working folders, the
// language (the switch as a whole: main_window_test.cpp), and the options
// dialog's rules without the dialog: UpdateOk, and what Ok changes in each
// state, the key folder's relocation among them; the preferences file beside
// the settings.

#include <gtest/gtest.h>

#include "app/language.h"
#include "app/options.h"
#include "holder/preferences.h"
#include "holder/program_state.h"
#include "holder/settings.h"
#include "holder_files.h"
#include "protocol/lines.h"
#include "store/atomic_file.h"
#include "store/program_files.h"

namespace quarnel {
namespace {

using test::HolderFiles;
using test::SampleSettings;
using test::TempDir;

TEST(Settings, SavedFileReadsBackWithDerivedValues) {
    const struct {
        char category;
        const char* line1;  // department, registration or first names
        const char* firm;
        const char* version;
        std::size_t lines;
    } cases[] = {{'F', "compta", "ACME, compta", "D400F", 13 + 19},
                 {'D', "-", "AVOCAT", "D3001", 13 + 18},  // D300: no certificates line
                 {'A', "jean", "", "D400F", 11 + 19}};
    for (const auto& c : cases) {
        HolderFiles files(c.category);
        files.settings.identity[1] = c.line1;
        files.settings.versionCode = c.version;
        files.settings.proxyAddress = "proxy.lan";
        files.settings.proxyPort = "3128";
        ProgramData ctx;
        ctx.dataFolder = files.Data();
        ctx.settings = files.settings;
        ASSERT_EQ(SaveSettings(ctx, SettingsPath(ctx)), SaveResult::Saved);
        const auto bytes = *ReadWholeFile(files / kSettingsFileName);
        EXPECT_NE(bytes.find("Chiffr\xE9s re\xE7us/\r\n"), std::string::npos) << "CP1252, CR LF";
        EXPECT_EQ(SplitLines(bytes).size(), c.lines) << c.category;

        ProgramData back;
        ASSERT_TRUE(LoadSettings(back, files / kSettingsFileName));
        EXPECT_EQ(SettingsLines(back.settings), SettingsLines(files.settings)) << c.category;
        EXPECT_EQ(back.displayName, "DUPONT jean");
        EXPECT_EQ(back.firmText, c.firm);
        EXPECT_EQ(back.email, "jean.dupont@example.org");
    }
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
    auto extraLine = [](char category) {
        auto l = SettingsLines(SampleSettings(category, "/data"));
        l.insert(l.begin(), "EXTRA");
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
    refused(extraLine('A'), "12 identity lines for A");
    refused(extraLine('D'), "14 identity lines for D");
    refused(with(5, std::string("/data\0/sent/", 12)), "NUL in a folder");
    refused(with(13, "smtp\x1B[2J"), "escape in a server");
    refused(with(18 + 3, "DUPONT\x7F"), "DEL in the identity");

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
    ProgramData ctx;
    ctx.dataFolder = dir.path();
    ctx.settings = SampleSettings('A', dir.path());
    ctx.settings.identity.clear();
    EXPECT_EQ(SaveSettings(ctx, SettingsPath(ctx)), SaveResult::Saved);
    EXPECT_FALSE(std::filesystem::exists(SettingsPath(ctx)));

    ctx.settings = SampleSettings('A', dir.path());
    for (const char* bad : {"smtp\r\nevil", "smtp\tx"}) {
        ctx.settings.smtpServer = bad;
        EXPECT_EQ(SaveSettings(ctx, SettingsPath(ctx)), SaveResult::Refused);
        EXPECT_FALSE(std::filesystem::exists(SettingsPath(ctx)));
    }

    ctx.settings.smtpServer = "smtp";
    WindowHooks hooks;
    hooks.onSaveFailure = [&](const std::filesystem::path& path, const std::string&) {
        EXPECT_EQ(path, dir / "missing" / kSettingsFileName);
        return SaveChoice::Abort;
    };
    ctx.LendHooks(&hooks);
    EXPECT_EQ(SaveSettings(ctx, dir / "missing" / kSettingsFileName), SaveResult::Aborted);
}

TEST(Preferences, ReadClampedKeptOrDamagedAndWrittenBackWithTheLinesNotRead) {
    // As a save writes it, and as long as a file may be.
    const std::string atLimit = "autoRetrieval=0\r\nretrievalMinutes=30\r\n#" +
                                std::string(kMaxPreferencesFileBytes - 41, 'x') + "\r\n";
    const struct {
        std::string bytes;
        PreferencesLoad load;
        bool on;
        int minutes;
        std::size_t otherLines;
    } cases[] = {
        {"autoRetrieval=1\r\nretrievalMinutes=30\r\n", PreferencesLoad::Loaded, true, 30, 0},
        {"retrievalMinutes=3\n", PreferencesLoad::Loaded, false, kMinRetrievalMinutes, 0},
        {"retrievalMinutes=-7\n", PreferencesLoad::Loaded, false, kMinRetrievalMinutes, 0},
        {"retrievalMinutes=999999999\n", PreferencesLoad::Loaded, false, kMaxRetrievalMinutes, 0},
        // Lines of a later version and comments are kept for the next save.
        {"# mine\n\nlater.key=a b=c\nautoRetrieval=1\n", PreferencesLoad::Loaded, true, 15, 2},
        {atLimit, PreferencesLoad::Loaded, false, 30, 1},
        {atLimit + "x", PreferencesLoad::Damaged, false, kDefaultRetrievalMinutes, 0},
        {"autoRetrieval=1\nautoRetrieval=yes\n", PreferencesLoad::Damaged, false, 15, 0},
        {"autoRetrieval=1\nretrievalMinutes=ten\n", PreferencesLoad::Damaged, false, 15, 0},
        {"retrievalMinutes=12345678901\n", PreferencesLoad::Damaged, false, 15, 0},
        {"autoRetrieval=1\nno equals sign\n", PreferencesLoad::Damaged, false, 15, 0},
        {"=1\n", PreferencesLoad::Damaged, false, 15, 0},
        {"a key=1\n", PreferencesLoad::Damaged, false, 15, 0},
        {"autoRetrieval=1\nx=\x01\n", PreferencesLoad::Damaged, false, 15, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes.substr(0, 60));
        TempDir dir;
        const std::filesystem::path file = dir / kPreferencesFileName;
        ASSERT_TRUE(WriteFileAtomically(file, c.bytes));
        Preferences p;
        p.retrievalMinutes = 99;
        ASSERT_EQ(LoadPreferences(dir.path(), p), c.load);
        EXPECT_EQ(p.autoRetrieval, c.on);
        EXPECT_EQ(p.retrievalMinutes, c.minutes);
        EXPECT_EQ(p.otherLines.size(), c.otherLines);
        EXPECT_EQ(p.damaged, c.load == PreferencesLoad::Damaged);
        EXPECT_EQ(ReadWholeFile(file), c.bytes) << "reading never writes";

        // Saved: the choices and the lines kept read back; a damaged file
        // is moved aside first.
        p.autoRetrieval = !p.autoRetrieval;
        ASSERT_EQ(SavePreferences(p, dir.path(), {}), SaveResult::Saved);
        Preferences back;
        ASSERT_EQ(LoadPreferences(dir.path(), back), PreferencesLoad::Loaded);
        EXPECT_TRUE(back.SameChoices(p));
        EXPECT_EQ(back.otherLines, p.otherLines);
        EXPECT_EQ(std::filesystem::status(file).permissions() & std::filesystem::perms::all,
                  std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
        std::size_t kept = 0;
        for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
            if (entry.path().filename().string().find(".damaged-") != std::string::npos) {
                ++kept;
                EXPECT_EQ(ReadWholeFile(entry.path()), c.bytes);
            }
        }
        EXPECT_EQ(kept, c.load == PreferencesLoad::Damaged ? 1u : 0u);
    }
    // No file: the defaults, off. A save never writes what could not be
    // read back: lines kept past the limit go. The name is one a mail can
    // never plant.
    TempDir empty;
    Preferences p;
    EXPECT_EQ(LoadPreferences(empty.path(), p), PreferencesLoad::Missing);
    EXPECT_FALSE(p.autoRetrieval);
    p.otherLines = {"a=1", "b=" + std::string(kMaxPreferencesFileBytes, 'y'), "c=3"};
    ASSERT_EQ(SavePreferences(p, empty.path(), {}), SaveResult::Saved);
    ASSERT_EQ(LoadPreferences(empty.path(), p), PreferencesLoad::Loaded);
    EXPECT_EQ(p.otherLines, (std::vector<std::string>{"a=1", "c=3"}));
    EXPECT_TRUE(IsProgramFileName(kPreferencesFileName));
}

TEST(Settings, DefaultFoldersFollowTheLanguageAndAreCreated) {
    TempDir dir;
    ProgramData ctx;
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

    WindowHooks english;
    english.currentText = [](int id) {
        return id == 65194 ? std::string("Sent") : std::string("X");
    };
    ctx.LendHooks(&english);
    SetDefaultFolders(ctx);
    EXPECT_EQ(ctx.settings.sentEncryptedFolder, ctx.settings.keyFolder + "Sent/");
}

TEST(Settings, AWorkingFolderNeverTakesInWhereTheProgramReadsItsOwnFiles) {
    test::TempDir dir;
    const std::filesystem::path data = dir / "donnees", program = dir / "programme";
    std::filesystem::create_directories(data / "clefs");
    std::filesystem::create_directories(program);
    ProgramData ctx;
    ctx.dataFolder = data;
    SetDefaultFolders(ctx);
    ctx.settings.keyFolder = FolderSetting(data / "clefs");
    const FolderSettings fine = FoldersOf(ctx.settings);
    EXPECT_FALSE(FirstExposedFolder(fine, data, program));
    struct Case {
        int tag;
        std::filesystem::path folder;
        std::optional<ExposedReason> reason;
    };
    for (const Case& c : {
             Case{3, data, ExposedReason::DataFolder},
             Case{4, data / "clefs" / ".." / ".", ExposedReason::DataFolder},  // spelt otherwise
             Case{5, data / "clefs", ExposedReason::KeyFolder},
             Case{6, program, ExposedReason::ProgramFolder},
             Case{1, data, std::nullopt},  // what the holder writes, not what others name
             Case{7, data / "clefs", std::nullopt},
             Case{6, data / "Déchiffrés" / "clefs", std::nullopt},
         }) {
        FolderSettings folders = fine;
        folders[std::size_t(c.tag)] = FolderSetting(c.folder);
        const auto exposed = FirstExposedFolder(folders, data, program);
        ASSERT_EQ(exposed.has_value(), c.reason.has_value()) << c.tag << " " << c.folder;
        if (!exposed) continue;
        EXPECT_EQ(exposed->tag, c.tag);
        EXPECT_EQ(exposed->reason, *c.reason);
        EXPECT_EQ(exposed->folder, folders[std::size_t(c.tag)]);
    }
    // A key folder moved onto a working folder is the same clash.
    FolderSettings keys = fine;
    keys[0] = fine[4];
    EXPECT_EQ(FirstExposedFolder(keys, data, program)->reason, ExposedReason::KeyFolder);
}

TEST(Language, TheModuleBesideTheProgramAndWhenASwitchLoadsIt) {
    TempDir dir;
    ProgramData ctx;
    ctx.programFile = dir / "quarneltit";
    ctx.programFolder = dir.path();
    ctx.settings.language = 1;
    const LanguageStep french = BeginLanguageSwitch(ctx);
    EXPECT_TRUE(french.changed);
    EXPECT_FALSE(french.module) << "French is built in";
    EXPECT_FALSE(french.missing);
    EXPECT_FALSE(BeginLanguageSwitch(ctx).changed);
    ctx.settings.language = 0;
    EXPECT_TRUE(BeginLanguageSwitch(ctx).missing) << "no English module beside the program";
    // Nothing was loaded: back to French is no switch, and the state stays.
    state::Affiliated(ctx);
    ctx.settings.language = 1;
    EXPECT_FALSE(BeginLanguageSwitch(ctx).changed);
    EXPECT_EQ(ctx.appliedLocale, kLocaleFrench);
    FinishLanguageSwitch(ctx, {true, kLocaleFrench, {}, false}, false);
    EXPECT_EQ(ctx.State(), ProgramState::Affiliated) << "no text changed";
    FinishLanguageSwitch(ctx, {true, kLocaleEnglish, {}, false}, true);
    EXPECT_EQ(ctx.State(), ProgramState::VersionChanged);
    EXPECT_EQ(ctx.appliedLocale, kLocaleEnglish);
    ctx.appliedLocale = kLocaleFrench;

    // Named after the program file: three letters, failing that two.
    ASSERT_TRUE(WriteFileAtomically(dir / "quarneltit.EN", "qm"));
    EXPECT_EQ(FindTextModule(ctx.programFile, kLocaleEnglish), dir / "quarneltit.EN");
    ASSERT_TRUE(WriteFileAtomically(dir / "quarneltit.ENG", "qm"));
    EXPECT_EQ(FindTextModule(dir / "quarneltit.exe", kLocaleEnglish), dir / "quarneltit.ENG");
    ctx.settings.language = 1;
    (void)BeginLanguageSwitch(ctx);
    ctx.settings.language = 0;
    EXPECT_EQ(BeginLanguageSwitch(ctx).module, dir / "quarneltit.ENG");
}

TEST(UpdateOk, EveryRuleAndWhatStillKeepsOkDisabled) {
    using F = OptionsFields&;
    using enum OkMissing;
    constexpr auto kNone = PortButtons::Unchanged;
    const struct {
        const char* what;
        void (*change)(OptionsFields&);
        std::vector<OkMissing> missing;
        PortButtons ports;
    } cases[] = {
        {"complete", [](F) {}, {}, PortButtons::Free},
        {"no category", [](F f) { f.categoryChosen = false; }, {Category}, kNone},
        {"a click missing", [](F f) { f.clickCounter = 1; }, {Clicks}, kNone},
        {"no TA address", [](F f) { f.taAddressEmpty = true; }, {TaAddress}, kNone},
        {"no SMTP server", [](F f) { f.smtpEmpty = true; }, {Smtp}, kNone},
        {"no POP3 server", [](F f) { f.pop3Empty = true; }, {Pop3}, kNone},
        {"no account", [](F f) { f.accountEmpty = true; }, {Account}, kNone},
        {"no password", [](F f) { f.passwordEmpty = true; }, {Password}, kNone},
        {"a working folder empty", [](F f) { f.anyWorkingFolderEmpty = true; }, {Folder}, kNone},
        {"proxy address alone", [](F f) { f.proxyAddressEmpty = false; }, {Proxy}, kNone},
        {"proxy port alone", [](F f) { f.proxyPortEmpty = false; }, {Proxy}, kNone},
        {"proxy",
         [](F f) { f.proxyAddressEmpty = f.proxyPortEmpty = false; },
         {},
         PortButtons::Forced80},
        {"nothing yet, in the dialog's order",
         [](F f) { f = OptionsFields{}; },
         {Category, Clicks, TaAddress, Smtp, Pop3, Account, Password, Folder},
         kNone},
    };
    for (const auto& c : cases) {
        OptionsFields f{true, 0, false, false, false, false, false, false};  // all filled
        c.change(f);
        const OkState s = UpdateOk(f);
        EXPECT_EQ(s.ok, c.missing.empty()) << c.what;
        EXPECT_EQ(s.enableCancel, !s.ok) << c.what;
        EXPECT_EQ(s.ports, c.ports) << c.what;
        EXPECT_EQ(s.missing, c.missing) << c.what;
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
        in.password = SecretString("          ");
    }
    void ExpectKeyFiles(const std::filesystem::path& folder, bool there) {
        for (const char* name :
             {"QuarnelTit.kpr", "QuarnelTitF.dat", "QuarnelTitA.dat", "QuarnelTitR.dat"}) {
            EXPECT_EQ(std::filesystem::exists(folder / name), there) << folder << name;
        }
    }
    OptionsOutcome MoveKeysTo(const std::filesystem::path& folder) {
        in.folders[0] = FolderSetting(folder);
        in.keyFolderChanged = true;
        return ApplyOptions(ctx, ctx.authority, in).outcome;
    }
    test::HolderFiles files;
    ProgramData ctx;
    OptionsInput in;
    std::filesystem::path target = files / "clefs";
};

TEST_F(ApplyOptionsTest, FirstInitialisationTakesTheKeyFolderAndCreatesTheOthers) {
    in.folders[0] = FolderSetting(target);
    EXPECT_EQ(ApplyOptions(ctx, ctx.authority, in).outcome, OptionsOutcome::Closed);
    EXPECT_EQ(ctx.settings.keyFolder, in.folders[0]) << "no key store to move in state 0";
    EXPECT_EQ(ctx.settings.proxyAddress, "-");
    EXPECT_EQ(ctx.settings.proxyPort, "-");
    EXPECT_TRUE(std::filesystem::is_directory(files / "Chiffrés reçus"));

    ASSERT_TRUE(WriteFileAtomically(files / "blocker", "x"));
    in.folders[7] = FolderSetting(files / "blocker" / "certificats");
    const OptionsResult r = ApplyOptions(ctx, ctx.authority, in);
    EXPECT_EQ(r.outcome, OptionsOutcome::FolderNotCreated);
    EXPECT_EQ(r.failedFolder, files / "blocker" / "certificats");
}

TEST_F(ApplyOptionsTest, ChangesAreSavedTheKeysMoveOnlyIntoAFreeFolderAllOrNothingFirst) {
    // State 2 with an F list and an altered A list (emptied in memory at
    // start-up, its file kept), and a folder to move the keys to.
    ctx.settings = files.settings;
    ctx.keyStore = files.SealedStore();
    state::Affiliated(ctx);
    files.WriteSettings();
    files.WriteKeyStore(ctx.keyStore);
    files.WriteList("QuarnelTitF.dat", {test::CorrespondentRecord('F', "00000123456")});
    files.WriteLines("QuarnelTitA.dat", {"not a record list"});
    files.WriteList("QuarnelTitR.dat", {{"F", "00000123456", "remark"}});
    std::filesystem::create_directory(target);
    std::filesystem::remove(files / kSettingsFileName);
    EXPECT_EQ(ApplyOptions(ctx, ctx.authority, in).outcome, OptionsOutcome::Closed);
    EXPECT_FALSE(std::filesystem::exists(files / kSettingsFileName)) << "nothing changed";
    in.smtpServer = "relay.example.org:2525";
    in.proxyAddress = "proxy.lan";
    in.proxyPort = "3128";
    in.fieldChanged = true;
    EXPECT_EQ(ApplyOptions(ctx, ctx.authority, in).outcome, OptionsOutcome::Closed);
    EXPECT_TRUE(std::filesystem::exists(files / kSettingsFileName));

    // A move refused or abandoned takes the rest of the change with it.
    const Settings applied = ctx.settings;
    in.pop3Server = "pop.changed.org";
    in.folders[4] = FolderSetting(files / "ailleurs");
    in.folderChanged = true;
    const auto unchanged = [&] {
        EXPECT_EQ(ctx.settings.pop3Server, applied.pop3Server);
        EXPECT_EQ(ctx.settings.receivedEncryptedFolder, applied.receivedEncryptedFolder);
        EXPECT_EQ(ctx.settings.keyFolder, applied.keyFolder);
    };
    files.WriteList("clefs/QuarnelTit.kpr", {{"somebody else"}});
    EXPECT_EQ(MoveKeysTo(target), OptionsOutcome::KeysNotMoved);
    unchanged();
    EXPECT_EQ(SplitLines(*ReadWholeFile(target / "QuarnelTit.kpr")).size(), 3u);
    in.folders[0] = FolderSetting(files / "nowhere");
    const OptionsResult r = ApplyOptions(ctx, ctx.authority, in);
    EXPECT_EQ(r.outcome, OptionsOutcome::KeysNotMoved);
    EXPECT_EQ(r.failedFolder, files / "nowhere/");

    // A folder in the way of the F list makes its write fail: all stays.
    std::filesystem::remove(target / "QuarnelTit.kpr");
    std::filesystem::create_directory(target / "QuarnelTitF.dat");
    int asked = 0;
    WindowHooks hooks;
    hooks.onSaveFailure = [&](const std::filesystem::path&, const std::string&) {
        ++asked;
        return SaveChoice::Ignore;
    };
    ctx.LendHooks(&hooks);
    EXPECT_EQ(MoveKeysTo(target), OptionsOutcome::Abandoned);
    EXPECT_EQ(asked, 1);
    unchanged();
    ExpectKeyFiles(files.Data(), true);
    EXPECT_FALSE(std::filesystem::exists(target / "QuarnelTit.kpr"));
    std::filesystem::remove(target / "QuarnelTitF.dat");

    // Settings that cannot be written (a tab in a value) keep the keys where
    // the settings on disk say they are.
    ctx.settings.identity[4] = "PARIS\tCEDEX";
    EXPECT_EQ(MoveKeysTo(target), OptionsOutcome::SettingsRefused);
    unchanged();
    ExpectKeyFiles(files.Data(), true);
    EXPECT_FALSE(std::filesystem::exists(target / "QuarnelTit.kpr"));
    in.keyFolderChanged = false;
    EXPECT_EQ(ApplyOptions(ctx, ctx.authority, in).outcome, OptionsOutcome::SettingsRefused);
    unchanged();
    ctx.settings.identity[4] = applied.identity[4];

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
    ProgramData back;
    ASSERT_TRUE(LoadSettings(back, files / kSettingsFileName));
    EXPECT_EQ(back.settings.keyFolder, FolderSetting(target));
    EXPECT_EQ(back.settings.smtpServer, "relay.example.org:2525");
    EXPECT_EQ(back.settings.proxyAddress, "proxy.lan");
    EXPECT_EQ(back.settings.proxyPort, "3128");

    // A new mail password whose key-store write is abandoned (a folder in the
    // way): the password held stays the one the file holds.
    std::filesystem::rename(target / "QuarnelTit.kpr", files / "kept.kpr");
    std::filesystem::create_directory(target / "QuarnelTit.kpr");
    in.keyFolderChanged = false;
    in.passwordChanged = true;
    in.password = SecretString("nouveau-secret");
    hooks.onSaveFailure = [](const std::filesystem::path&, const std::string&) {
        return SaveChoice::Abort;
    };
    const RecordList keys = ctx.keyStore;
    EXPECT_EQ(ApplyOptions(ctx, ctx.authority, in).outcome, OptionsOutcome::Abandoned);
    EXPECT_EQ(ctx.keyStore, keys);
}

}  // namespace
}  // namespace quarnel
