// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's commands that talk to the TA: the affiliation after the
// options dialog (before the affiliation is confirmed), the affiliation update
// and the key request. The sequences themselves are authority/flows.h.

#include <optional>
#include <string>

#include "authority/flows.h"
#include "windowkit/main_command.h"

class QDialog;

namespace quarnel::ui {

class AffiliationForm;
class FormAffiliationF;
class FormAffiliationD;
class FormAffiliationA;
class FormDestinataire;
class FormTCP_IP;

/// The windows the authority's commands open.
struct AuthorityWindows {
    FormAffiliationF* affiliationF = nullptr;
    FormAffiliationD* affiliationD = nullptr;
    FormAffiliationA* affiliationA = nullptr;
    FormDestinataire* destinataire = nullptr;
    FormTCP_IP* tcpIp = nullptr;
};

/// What the authority's commands share: the data they change, the main
/// window and the dialogs.
class AuthorityCommand : public MainCommand {
  public:
    AuthorityCommand(const AuthorityScope& scope, MainWindowHost& host,
                     const AuthorityWindows& windows)
        : scope_(scope), host_(host), windows_(windows) {}

  protected:
    /// The request driver and the settings save for the sequences.
    FlowHooks Hooks();
    /// The affiliation form of the holder's category.
    AffiliationForm& FormOfCategory();
    /// Places and runs a command's dialog; false when it was cancelled. The
    /// buttons are evaluated when it was confirmed.
    bool RunDialog(QDialog& dialog);
    /// Tells the person what went wrong: why a request could not be built, or
    /// that the settings could not be saved.
    void ReportNotBuilt(const FlowResult& result);

    AuthorityScope scope_;
    MainWindowHost& host_;
    AuthorityWindows windows_;
};

/// The affiliation that follows a confirmed options dialog while the holder
/// is not affiliated (no button of its own: the options command runs it).
class AffiliationCommand final : public AuthorityCommand {
  public:
    using AuthorityCommand::AuthorityCommand;
    void Run() override;
};

/// "Mise à jour": the affiliation update.
class AffiliationUpdateCommand final : public AuthorityCommand {
  public:
    static std::optional<bool> EnabledIn(const StateFacts& facts);
    static constexpr CommandRule kRule{&EnabledIn, true, true};
    using AuthorityCommand::AuthorityCommand;
    void Run() override;
};

/// "Nouvelles clefs": the key for a new correspondent.
class NewKeysCommand final : public AuthorityCommand {
  public:
    static std::optional<bool> EnabledIn(const StateFacts& facts);
    static constexpr CommandRule kRule{&EnabledIn, true, true};
    using AuthorityCommand::AuthorityCommand;
    void Run() override;
    /// Run with `number` already typed (the sender of a message to answer).
    void RunFor(const std::string& number);

  private:
    std::string number_;
};

/// "&Mettre à jour" of the correspondents window: the key update (kind 11)
/// for one correspondent. It has no button of its own on the main window.
class KeyUpdateCommand final : public AuthorityCommand {
  public:
    using AuthorityCommand::AuthorityCommand;
    /// Nothing while Busy; "En attente" when the exchange fails.
    void RunFor(const std::string& number);
    /// For the number last given to RunFor.
    void Run() override;

  private:
    std::string number_;
};

/// Request 18 with msgs.certificationData through the connection window: what
/// the viewers' Certifier sends (no button of its own).
class CertificationRequest final : public AuthorityCommand {
  public:
    using AuthorityCommand::AuthorityCommand;
    /// True when a certificate came (it was shown on its way).
    [[nodiscard]] bool Send();
    void Run() override { (void)Send(); }
};

}  // namespace quarnel::ui
