#pragma once
// The holder's program-wide data in one object, owned by the main window and
// passed by reference: settings, lists, keys, program state and the values
// that the operations hand to each other. Tests build as many as they need.
//
// Texts are code page 1252 bytes; folder settings end with "/".
// Each subsystem keeps its own fields in its own section below.

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "crypto/records.h"
#include "crypto/text_cipher.h"
#include "crypto/types.h"
#include "resources/verdict.h"
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

/// A line for a log: a resource number and its %s.
struct Notice {
    int text = 0;
    std::string detail;
    bool operator==(const Notice&) const = default;
};

/// The sender of a received message as the viewers show it.
struct SenderView {
    Verdict registration;  ///< registered (positive) or not
    int firmLabel = 0;     ///< resource number; 0 = no firm line (category A)
    std::string firm;      ///< profession, company or organisation
    std::string name;
    std::string locality;
    std::string email;
    std::string affiliation;  ///< the sender's affiliation number
    std::string date;         ///< "dd/mm/yyyy" and "hh:nn:ss" of the encryption,
    std::string time;         ///< shown as "Chiffré le %s à %s"
};

/// What the last decryption of a user message produced.
struct DecryptedMessage {
    std::string kind;  ///< "20" plain text, "21" rich text (RTF source); "" = none yet
    std::string text;
    std::string addressLine;
    std::string digest;      ///< the deciphered message digest, 32 digits
    std::string signature;   ///< the signature line as received
    double encryptedAt = 0;  ///< the moment of encryption (section 2)
    char senderCategory = 0;
    char registrationFlag = '0';
    std::string versionCode;
    std::vector<std::string> senderFields;
    bool identityConfirmed = false;
    /// Saved and printed before the message.
    std::vector<std::string> headerText;
    SenderView sender;
    Verdict confirmation;
    /// The decrypted attachment files, in the order of the body.
    std::vector<std::filesystem::path> attachments;
    /// What happened to the attachments (missing, undecipherable, refused name).
    std::vector<Notice> notices;
};

struct HolderContext {
    HolderContext() = default;
    HolderContext(const HolderContext&) = delete;
    HolderContext& operator=(const HolderContext&) = delete;
    /// Wipes the key store and the secrets held here.
    ~HolderContext();

    // --- places
    std::filesystem::path programFolder;  ///< TA parameter file, text modules, help
    std::filesystem::path dataFolder;     ///< QuarnelTit.ini, QuarnelTit.msg, default folders

    // --- settings and what derives from them
    Settings settings;
    std::string displayName;  ///< derived from the identity
    std::string firmText;     ///< D and F only
    std::string email;
    TaParameters ta;  ///< read from the TA parameter file

    // --- program state
    int programState = 0;  ///< 0..5
    bool busy = false;
    bool queueMode = false;
    bool firstAffiliation = false;
    std::string requestKind;          ///< two hexadecimal digits, "" when idle
    std::string correspondentNumber;  ///< for key requests (kinds 10, 11)
    char listCategory = 'F';
    int information = 0;  ///< resource number of the main window's information line; 0 = empty

    // --- lists (owned here for the whole run)
    RecordList keyStore;
    CorrespondentLists correspondents;
    RecordList outgoingQueue;
    RecordList sentLog;
    RecordList receivedLog;

    // --- the own key record
    char ownDigit = '0';          ///< key generation digit
    std::string ownNumber;        ///< line 0 of the own key record
    char registrationFlag = '0';  ///< from the record's seal
    double affiliationDate = 0;   ///< from the record's seal

    // --- key set-up results (options dialog), used by the affiliation request
    std::string publicHex;  ///< the holder's public value, 256 digits
    Quad publicDigest{};
    Quad taKey{};
    std::string pendingPassword;  ///< typed at initialisation, stored by the private-key reply

    // --- the body being built or sent
    Lines outgoingBody;

    // --- decisions that need the person (set by the window layer; tests script them)
    SaveFailureHandler onSaveFailure;

    // --- app (shell)
    std::filesystem::path programFile;  ///< the executable; text modules are named after it
    std::filesystem::path helpFile;     ///< program folder + help file text of the language
    int appliedLocale = 0;              ///< 1036 or 2057; 0 before the language is first applied
    std::string applicationTitle;       ///< the holder's display name once known
    int paragraphFirstIndent = 80;      ///< rich-text message views, in pixels
    int paragraphRightIndent = 30;
    /// The text of a resource number in the current language as code page
    /// 1252; the window layer installs it (French texts when unset). Use
    /// CurrentText (app/program_state.h).
    std::function<std::string(int)> currentText;
    /// Told when `information` changed through SetInformation, so that the
    /// main window shows it.
    std::function<void()> onInformationChanged;

    // --- authority
    /// Kind 18: address line, digest, signature and date-time text of the
    /// message to certify, joined by carriage returns (set by decryption).
    std::string certificationData;
    /// The last certificate delivered (kind 1C), for the certificate viewer.
    std::string certificateText;

    // --- messages
    /// The correspondent of the message being written (correspondents window):
    /// its list's category and its record.
    char recipientCategory = 0;
    Record recipientRecord;
    /// The composer's attachments, full paths in order.
    std::vector<std::filesystem::path> attachments;
    /// For the sending window: the subject typed in the composer (never
    /// enciphered) and the recipient's e-mail address.
    std::string subject;
    std::string recipientAddress;
    /// The encrypted attachment files written by the last encryption, in order.
    std::vector<std::filesystem::path> encryptedAttachments;
    /// The %s of the text of a refused message encryption (BuildResult::problem).
    std::string messageProblemDetail;
    /// The names taken off the end of the last received body.
    std::vector<std::string> receivedAttachmentNames;
    /// The last decrypted message.
    DecryptedMessage decrypted;

    // --- mail

    /// The holder's own files (settings, key store, lists, queue, logs): what
    /// a received file must never overwrite.
    std::vector<std::filesystem::path> OwnDataFiles() const;
    /// key folder + "QuarnelTit.kpr"
    std::filesystem::path KeyStorePath() const;
    /// The own key record (the last of the key store); requires a non-empty store.
    Record& OwnRecord() { return keyStore.back(); }
    const Record& OwnRecord() const { return keyStore.back(); }
    /// Saves the key store with the save-failure decision.
    [[nodiscard]] SaveResult SaveKeyStore() const;
};

/// The identity fields the holder's correspondents see (section 1 of a
/// message, and the record text the TA issues): identity lines 0, 1, 4, 5, 6,
/// 9 (category A) or 0, 1, 2, 3, 6, 7, 8, 11 (D, F). Empty for an identity of
/// the wrong size or category.
std::vector<std::string> SenderIdentityFields(char category,
                                              const std::vector<std::string>& identity);

/// The settings digest sealed by the TA: CondenseText of the affiliation
/// number followed by every identity line, as 32 digits. False when the
/// condensation fails.
[[nodiscard]] bool SettingsDigest(const std::string& ownNumber,
                                  const std::vector<std::string>& identity, std::string& digest);

/// A folder setting (code page 1252, ending in "/") as a file-system path.
std::filesystem::path PathFromSetting(const std::string& folder);

}  // namespace quarnel
