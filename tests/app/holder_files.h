// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A holder's files in a fresh data folder, shaped as the tests need: the
// settings file, a key store whose own record carries the seal the authority
// issues for these settings, correspondent lists, the queue.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "app/program_data.h"
#include "holder/settings.h"
#include "holder_setup.h"
#include "protocol/lines.h"
#include "store/atomic_file.h"
#include "store/correspondents.h"
#include "temp_dir.h"

namespace quarnel::test {

/// A complete settings value for a category, the default folders under `data`.
inline Settings SampleSettings(char category, const std::filesystem::path& data) {
    ProgramData defaults;
    defaults.dataFolder = data;
    SetDefaultFolders(defaults);
    Settings s = defaults.settings;
    s.language = 1;
    s.category = category;
    s.taCode = "0FF";
    s.taAddress = "ta.example.org";
    s.taPortChoice = 'A';
    s.smtpServer = "smtp.example.org";
    s.pop3Server = "pop.example.org";
    s.accountName = "jdupont";
    s.proxyAddress = s.proxyPort = "-";
    s.versionCode = "D400F";
    s.identity = {"DUPONT", "jean",   "1 rue des Lilas",   "75001", "PARIS",
                  "-",      "FRANCE", "+33 1 23 45 67 89", "-",     "jean.dupont@example.org",
                  "x"};
    // D and F: profession or firm, then registration or department, first.
    if (category != 'A') {
        s.identity.insert(s.identity.begin(), {category == 'D' ? "AVOCAT" : "ACME", "-"});
    }
    return s;
}

/// Every file under `folder` with its bytes.
inline std::map<std::filesystem::path, std::string> FilesUnder(
    const std::filesystem::path& folder) {
    std::map<std::filesystem::path, std::string> out;
    for (const auto& e : std::filesystem::recursive_directory_iterator(folder)) {
        if (e.is_regular_file()) out[e.path()] = ReadWholeFile(e.path()).value_or("?");
    }
    return out;
}

/// A correspondent record that passes the list check.
inline Record CorrespondentRecord(char category, const std::string& number) {
    const auto layout = *LayoutFor(category);
    Record r(layout.lineCount, "x");
    r[layout.numberLine] = number;
    for (std::size_t i = layout.firstKeyLine; i < layout.lineCount; ++i) {
        r[i] = "0123456789ABCDEF0123456789ABCDEF";
    }
    return r;
}

class HolderFiles {
    TempDir dir_;  // first: the settings are made under it

  public:
    explicit HolderFiles(char category = 'F') : settings(SampleSettings(category, dir_.path())) {}

    const std::filesystem::path& Data() const { return dir_.path(); }
    std::filesystem::path operator/(const std::string& name) const { return dir_ / name; }

    Settings settings;
    std::string number = "1F400000123";

    /// Its own key record as the authority issues it, for `number` and the
    /// identity of `settings`.
    Record SealedOwnRecord() const {
        ta::Affiliate a = NewAffiliate(settings.category, number, {}, '1', SeededRandom(1));
        a.identity = settings.identity;
        a.affiliationDate = 45000.5;
        return test::OwnKeyRecord(a);
    }
    RecordList SealedStore() const { return {SealedOwnRecord()}; }

    /// QuarnelTit.ini from `settings`.
    void WriteSettings() const { WriteLines(kSettingsFileName, SettingsLines(settings)); }
    void WriteLines(const std::string& name, const std::vector<std::string>& lines) const {
        ASSERT_TRUE(WriteFileAtomically(dir_ / name, JoinLinesCrLf(lines)));
    }
    void WriteList(const std::string& name, const RecordList& list) const {
        ASSERT_EQ(SaveRecordList(list, dir_ / name, nullptr), SaveResult::Saved);
    }
    void WriteKeyStore(const RecordList& store) const { WriteList("QuarnelTit.kpr", store); }
};

}  // namespace quarnel::test
