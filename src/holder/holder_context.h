// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The holder core: what every layer of the program shares (places, settings,
// key store and correspondent lists, program state, Busy and the information
// line). Each subsystem keeps its own data in a struct of its own, and the
// shell composes them. Tests build as many holders as they need.
//
// Texts are code page 1252 bytes; folder settings end with "/".

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "crypto/records.h"
#include "crypto/types.h"
#include "holder/preferences.h"
#include "holder/window_hooks.h"
#include "store/correspondents.h"
#include "store/record_list.h"
#include "store/ta_parameters.h"

namespace quarnel {

/// The settings of QuarnelTit.ini.
struct Settings {
    int language = 1;    ///< 1 French, 0 English
    char category = 0;   ///< 'F' employee, 'D' independent, 'A' private person
    std::string taCode;  ///< 3 hexadecimal digits
    std::string taAddress;
    char taPortChoice = 'A';  ///< 'A' port 50000 + TA code, 'B' port 80
    std::string smtpServer;   ///< may end in ":port"
    std::string pop3Server;   ///< may end in ":port"
    std::string accountName;
    std::string proxyAddress = "-";
    std::string proxyPort = "-";
    std::string keyFolder;
    std::string msgToSendFolder;
    std::string filesToSendFolder;
    std::string sentEncryptedFolder;
    std::string receivedEncryptedFolder;
    std::string decryptedMsgFolder;
    std::string decryptedFilesFolder;
    std::string certificatesFolder;
    std::string versionCode;
    /// The identity sent to the TA: 11 lines (A) or 13 (D, F).
    std::vector<std::string> identity;
};

/// The program states the own key record and the settings lead to.
enum class ProgramState {
    NotInitialised = 0,   ///< no settings or no key store
    NotAffiliated = 1,    ///< key set-up done, affiliation not confirmed
    Affiliated = 2,       ///< the normal state
    VersionChanged = 3,   ///< the program's version or language changed: update the affiliation
    SettingsAltered = 4,  ///< the settings are not those the TA sealed
    UpdateNecessary = 5,  ///< an update failed: the seal was zeroed
};

struct HolderContext {
    HolderContext() = default;
    HolderContext(const HolderContext&) = delete;
    HolderContext& operator=(const HolderContext&) = delete;
    /// Wipes the key store.
    ~HolderContext();

    // --- places
    std::filesystem::path programFile;    ///< the executable; text modules are named after it
    std::filesystem::path programFolder;  ///< TA parameter file, text modules, help
    std::filesystem::path dataFolder;     ///< QuarnelTit.ini, QuarnelTit.msg, default folders
    std::filesystem::path helpFile;       ///< program folder + help file text of the language

    // --- settings and what derives from them
    Settings settings;
    Preferences preferences;  ///< QuarnelTitPref.ini, beyond the settings
    std::string displayName;  ///< derived from the identity
    std::string firmText;     ///< D and F only
    std::string email;
    TaParameters ta;  ///< read from the TA parameter file

    // --- program state
    /// Changed only by the events of holder/program_state.h (namespace state).
    ProgramState State() const { return programState_; }
    bool busy = false;  ///< a command is running; see BusyGuard
    char listCategory = 'F';
    int information = 0;  ///< resource number of the main window's information line; 0 = empty
    /// A second line under the information (code page 1252), cleared with it.
    std::string informationNote;

    // --- stores (owned here for the whole run)
    RecordList keyStore;
    CorrespondentLists correspondents;

    // --- the own key record
    char ownDigit = '0';          ///< key generation digit
    std::string ownNumber;        ///< line 0 of the own key record
    char registrationFlag = '0';  ///< from the record's seal
    double affiliationDate = 0;   ///< from the record's seal

    // --- language and presentation
    int appliedLocale = 0;          ///< 1036 or 2057; 0 before the language is first applied
    std::string applicationTitle;   ///< the holder's display name once known
    int paragraphFirstIndent = 80;  ///< rich-text message views, in pixels
    int paragraphRightIndent = 30;

    // --- what the window layer lends
    /// The hooks lent (WindowHooks), or none.
    [[nodiscard]] const WindowHooks& Hooks() const;
    /// Lends `hooks` until the next call (nullptr: none); they must outlive
    /// the loan.
    void LendHooks(const WindowHooks* hooks) { hooks_ = hooks; }
    [[nodiscard]] const WindowHooks* LentHooks() const { return hooks_; }

    /// key folder + "QuarnelTit.kpr"
    std::filesystem::path KeyStorePath() const;
    /// The own key record (the last of the key store); requires a non-empty store.
    Record& OwnRecord() { return keyStore.back(); }
    const Record& OwnRecord() const { return keyStore.back(); }
    /// Saves the key store with the save-failure decision.
    [[nodiscard]] SaveResult SaveKeyStore() const;

  private:
    // The one writer of the program state: holder/program_state.cpp.
    friend struct ProgramStateWriter;
    ProgramState programState_ = ProgramState::NotInitialised;
    const WindowHooks* hooks_ = nullptr;
};

/// A folder setting (code page 1252, ending in "/") as a file-system path.
std::filesystem::path PathFromSetting(const std::string& folder);

}  // namespace quarnel
