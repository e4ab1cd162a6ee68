// The start-up sequence: program states 0 to 5 from the shapes of the
// settings file and the key store, and what it reports on the way.

#include <gtest/gtest.h>

#include <deque>

#include "app/settings.h"
#include "app/startup.h"
#include "holder_files.h"
#include "resources/texts.h"
#include "store/key_store.h"

namespace quarnel {
namespace {

using test::HolderFiles;

class ScriptedHost : public StartupHost {
  public:
    void ApplyLanguage() override { ++languageApplied; }
    bool RetryMissingFile(const std::filesystem::path& path) override {
        missing.push_back(path);
        if (retries.empty()) return false;
        auto next = std::move(retries.front());
        retries.pop_front();
        return next();
    }
    void ReportAltered(const std::string& fileName) override { altered.push_back(fileName); }

    int languageApplied = 0;
    std::deque<std::function<bool()>> retries;
    std::vector<std::filesystem::path> missing;
    std::vector<std::string> altered;
};

class Startup : public ::testing::Test {
  protected:
    StartupEnd Run() {
        StartupPlaces places;
        places.programFile = "/opt/quarnel/quarneltit";
        places.currentFolder = files.Data();
        PrepareStartup(ctx, places);
        return RunStartup(ctx, host);
    }
    HolderFiles files;
    HolderContext ctx;
    ScriptedHost host;
};

TEST_F(Startup, WithoutSettingsTheProgramIsNotInitialised) {
    EXPECT_EQ(Run(), StartupEnd::NoSettings);
    EXPECT_EQ(ctx.programState, 0);
    EXPECT_EQ(host.languageApplied, 1);
    EXPECT_EQ(ctx.settings.versionCode, "D400F");
    EXPECT_EQ(ctx.information, 0);
    EXPECT_EQ(ctx.programFolder, "/opt/quarnel");
    EXPECT_EQ(ctx.helpFile, "/opt/quarnel/QuarnelTit_F.hlp");
}

TEST_F(Startup, MissingKeyStoreAsksUntilAbortOrFound) {
    files.WriteSettings();
    EXPECT_EQ(Run(), StartupEnd::KeyStoreMissing);
    ASSERT_EQ(host.missing.size(), 1u);
    EXPECT_EQ(host.missing[0], files / "QuarnelTit.kpr");
    EXPECT_EQ(ctx.programState, 0);
    EXPECT_EQ(ctx.information, 0);

    HolderContext again;
    ScriptedHost retrying;
    retrying.retries.push_back([] { return true; });  // still missing: asked again
    retrying.retries.push_back([&] {
        files.WriteKeyStore(files.SealedStore());
        return true;
    });
    StartupPlaces places;
    places.currentFolder = files.Data();
    PrepareStartup(again, places);
    EXPECT_EQ(RunStartup(again, retrying), StartupEnd::Completed);
    EXPECT_EQ(retrying.missing.size(), 2u);
    EXPECT_EQ(again.programState, 2);
}

TEST_F(Startup, MalformedKeyStoreStopsInStateZero) {
    files.WriteSettings();
    RecordList store = files.SealedStore();
    store.back()[1][5] = 'x';
    files.WriteKeyStore(store);
    EXPECT_EQ(Run(), StartupEnd::KeyStoreAltered);
    EXPECT_EQ(host.altered, std::vector<std::string>{"QuarnelTit.kpr"});
    EXPECT_EQ(ctx.programState, 0);
    EXPECT_TRUE(ctx.keyStore.empty());
}

TEST_F(Startup, ValidFilesGiveAnAffiliatedHolder) {
    files.WriteSettings();
    files.WriteKeyStore(files.SealedStore());
    EXPECT_EQ(Run(), StartupEnd::Completed);
    EXPECT_EQ(ctx.programState, 2);
    EXPECT_TRUE(host.altered.empty());
    EXPECT_EQ(ctx.ownNumber, files.number);
    EXPECT_EQ(ctx.ownDigit, '0');
    EXPECT_EQ(ctx.registrationFlag, '1');
    EXPECT_EQ(ctx.applicationTitle, "DUPONT jean");
    EXPECT_EQ(ctx.information, txt::kEnAttente);
    EXPECT_EQ(host.languageApplied, 1);
}

TEST_F(Startup, StatesFromTheOwnRecordInTheirOverrideOrder) {
    struct Case {
        const char* what;
        std::size_t lines;
        bool zeroLine3;
        const char* version;
        int state;
    };
    const Case cases[] = {
        {"update pending", 6, true, "D400F", 5},
        {"version changed", 6, false, "D3001", 3},
        {"version changed wins over pending", 6, true, "D400E", 3},
        {"two lines: affiliation requested", 2, false, "D400F", 1},
        {"two lines win over a changed version", 2, false, "D3001", 1},
    };
    for (const Case& c : cases) {
        HolderFiles f;
        f.settings.versionCode = c.version;
        f.WriteSettings();
        RecordList store = f.SealedStore();
        store.back().resize(c.lines);
        if (c.zeroLine3) store.back()[3] = kZeroLine;
        f.WriteKeyStore(store);
        HolderContext ctx2;
        ScriptedHost host2;
        StartupPlaces places;
        places.currentFolder = f.Data();
        PrepareStartup(ctx2, places);
        EXPECT_EQ(RunStartup(ctx2, host2), StartupEnd::Completed) << c.what;
        EXPECT_EQ(ctx2.programState, c.state) << c.what;
        EXPECT_TRUE(host2.altered.empty()) << c.what;
        EXPECT_EQ(ctx2.ownNumber.empty(), c.state == 1) << c.what;
    }
}

TEST_F(Startup, SettingsThatDifferFromTheSealGiveStateFour) {
    files.WriteKeyStore(files.SealedStore());
    files.settings.identity[4] = "2 rue des Roses";  // edited by hand after sealing
    files.WriteSettings();
    EXPECT_EQ(Run(), StartupEnd::Completed);
    EXPECT_EQ(ctx.programState, 4);
    EXPECT_EQ(host.altered, std::vector<std::string>{"QuarnelTit.ini"});

    // A seal that does not open counts the same.
    HolderFiles broken;
    broken.WriteSettings();
    RecordList store = broken.SealedStore();
    store.back()[5] = store.back()[4];
    broken.WriteKeyStore(store);
    HolderContext ctx2;
    ScriptedHost host2;
    StartupPlaces places;
    places.currentFolder = broken.Data();
    PrepareStartup(ctx2, places);
    EXPECT_EQ(RunStartup(ctx2, host2), StartupEnd::Completed);
    EXPECT_EQ(ctx2.programState, 4);
}

TEST_F(Startup, ListsQueueAndLogsAreLoadedAndAnAlteredListIsEmptied) {
    files.WriteSettings();
    RecordList store{Record{"1F400000001", kZeroLine}, Record{"1F400000002", kZeroLine}};
    store.push_back(test::SealedOwnRecord(files.number, files.settings.identity));
    files.WriteKeyStore(store);
    files.WriteList("QuarnelTitF.dat", {test::CorrespondentRecord('F', "00000123456"),
                                        test::CorrespondentRecord('F', "00000123457")});
    Record shortRecord = test::CorrespondentRecord('D', "09000000001");
    shortRecord.pop_back();
    files.WriteList("QuarnelTitD.dat",
                    {test::CorrespondentRecord('D', "09000000002"), shortRecord});
    files.WriteList("QuarnelTit.msg", {{"queued", "body"}});
    std::filesystem::create_directories(files / "Chiffrés envoyés");
    files.WriteList("Chiffrés envoyés/MsgChifS.dat", {{"sent"}, {"sent too"}});

    EXPECT_EQ(Run(), StartupEnd::Completed);
    EXPECT_EQ(ctx.ownDigit, '2');
    EXPECT_EQ(ctx.programState, 2) << "the seal of the last record, generation 2";
    EXPECT_EQ(host.altered, std::vector<std::string>{"QuarnelTitD.dat"});
    EXPECT_EQ(ctx.correspondents.f.size(), 2u);
    EXPECT_TRUE(ctx.correspondents.d.empty());
    EXPECT_TRUE(ctx.correspondents.a.empty());
    EXPECT_EQ(ctx.outgoingQueue.size(), 1u);
    EXPECT_EQ(ctx.sentLog.size(), 2u);
    EXPECT_TRUE(ctx.receivedLog.empty());
}

}  // namespace
}  // namespace quarnel
