// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The options dialog's rules without the dialog: when "Ok" may be pressed,
// and what confirming the dialog changes.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "authority/authority_state.h"
#include "crypto/secret.h"
#include "holder/holder_context.h"
#include "holder/settings.h"

namespace quarnel {

/// What UpdateOk looks at.
struct OptionsFields {
    bool categoryChosen = false;
    int clickCounter = 8;  ///< clicks still needed on the key button
    bool taAddressEmpty = true;
    bool smtpEmpty = true;
    bool pop3Empty = true;
    bool accountEmpty = true;
    bool passwordEmpty = true;
    bool anyWorkingFolderEmpty = true;  ///< the seven folders other than the key folder
    bool proxyAddressEmpty = true;
    bool proxyPortEmpty = true;
};

enum class PortButtons {
    Unchanged,
    Free,      ///< both port buttons enabled
    Forced80,  ///< "80" checked, both disabled: through a proxy the TA is on port 80
};

/// What still keeps "Ok" disabled, in the order the dialog shows them.
enum class OkMissing {
    Category,
    Clicks,  ///< OptionsFields::clickCounter clicks on the key button
    TaAddress,
    Smtp,
    Pop3,
    Account,
    Password,
    Folder,  ///< a working folder is empty
    Proxy,   ///< a proxy address without its port, or a port without address
};

struct OkState {
    bool ok = false;
    bool enableCancel = false;  ///< when false, "Annuler" stays as it was
    PortButtons ports = PortButtons::Unchanged;
    std::vector<OkMissing> missing;  ///< empty exactly when `ok`
};

OkState UpdateOk(const OptionsFields& fields);

/// The first character of a text typed in the dialog (UTF-8) that code page
/// 1252 cannot represent: the field refuses it (kCharacterNotAllowed).
/// Nothing when the text is taken.
std::optional<std::string> RefusedCharacter(std::string_view utf8);

/// A folder chosen with "Modifier" (UTF-8 path) as its folder setting;
/// nothing when code page 1252 cannot represent the path, `refused` then
/// naming the first character it cannot (kFolderNotRepresentable).
std::optional<std::string> ChosenFolderSetting(const std::string& utf8Path, std::string& refused);

/// What the dialog collected when "Ok" is pressed.
struct OptionsInput {
    char category = 0;
    std::string taAddress;
    char portChoice = 'A';
    std::string smtpServer;
    std::string pop3Server;
    std::string accountName;
    std::string proxyAddress;  ///< "" for none
    std::string proxyPort;
    std::array<std::string, kFolderCount> folders;  ///< by tag, as folder settings
    bool fieldChanged = false;
    bool languageChanged = false;
    bool folderChanged = false;
    bool keyFolderChanged = false;
    bool passwordChanged = false;
    SecretString password;  ///< the typed mailbox password
};

enum class OptionsOutcome {
    Closed,            ///< the dialog closes with OK
    FolderNotCreated,  ///< a working folder could not be made: `failedFolder`
    KeysNotMoved,      ///< the new key folder was refused: `failedFolder`
    Abandoned,         ///< a save failed and the person gave up (the dialog stays open)
    SettingsRefused,   ///< a value holds a control character: nothing saved (kSettingsRefused)
};

struct OptionsResult {
    OptionsOutcome outcome = OptionsOutcome::Closed;
    std::filesystem::path failedFolder;
};

/// BitBtnOkClick: folders, settings, the pending or stored mailbox password,
/// and the saves of the settings file and the key store. Unless the outcome
/// is Closed, the settings are as they were: a key folder that cannot be
/// moved, or settings that cannot be saved, take the other changes with them.
[[nodiscard]] OptionsResult ApplyOptions(HolderContext& ctx, AuthorityState& auth,
                                         const OptionsInput& in);

}  // namespace quarnel
