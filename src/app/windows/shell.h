// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shell: the one place that composes the program. It creates the main
// window, every other window (children of the main window) and one command
// per button, and connects them: which window's request reaches which
// command, the viewers' answers and certifications, the decryption of a
// block from the clipboard, a mail or the mailbox, the mail collected
// without asking.

#include <QObject>
#include <QString>
#include <array>
#include <memory>
#include <optional>
#include <string>

#include "app/program_data.h"
#include "app/startup.h"
#include "app/windows/form_titulaire.h"
#include "authority/flows.h"
#include "authority/windows/commands.h"
#include "crypto/text_cipher.h"
#include "messages/windows/commands.h"
#include "protocol/kinds.h"

namespace quarnel::ui {

class FormOptions;
class FormListe;
class FormRedac;
class FormSmtp;
class FormPop3;
class FormCourrier;
class FormMessage;
class FormMsgACerti;
class FormCerti;
class HelpSystem;
class AffiliationCommand;
class CertificationRequest;
class CorrespondentsCommand;
class KeyUpdateCommand;
class NewKeysCommand;
class NewMailWatch;
class WriteMessage;

/// The windows created at start, children of the main window.
struct Forms {
    FormOptions* options = nullptr;
    /// The affiliation forms, the new correspondent's, the connection window.
    AuthorityWindows authority;
    FormListe* liste = nullptr;
    FormRedac* redac = nullptr;
    FormSmtp* smtp = nullptr;
    FormPop3* pop3 = nullptr;
    FormMessage* message = nullptr;
    FormMsgACerti* msgACerti = nullptr;
    FormCerti* certi = nullptr;
    FormCourrier* courrier = nullptr;
};

class Shell : public QObject, public BlockIntake {
    Q_OBJECT
  public:
    /// The main window, then every other window, then one command per button.
    explicit Shell(ProgramData& programData);
    /// The commands go before the windows they use; the main window, last,
    /// wipes and frees the working lists.
    ~Shell() override;

    [[nodiscard]] FormTitulaire& Main() { return *main_; }
    [[nodiscard]] const Forms& Windows() const { return forms_; }
    /// The mail collected without asking.
    [[nodiscard]] const NewMailWatch& NewMail() const { return *newMail_; }

    /// The start-up sequence in the main window, then the automatic
    /// retrieval as the preferences read choose it.
    StartupEnd Start(const StartupPlaces& places);

    /// The clipboard's encrypted block for the holder, taken from it.
    [[nodiscard]] std::optional<Lines> TakeBlock() override;
    /// Decrypted and shown; a decryption the person stopped is no altered
    /// message.
    [[nodiscard]] bool ProcessBlock(Lines& block) override;

  private:
    void CreateWindows();
    void CreateCommands();
    /// Certification from the viewers, the certificate viewer, the
    /// decryption of received mail and of the mailbox's, the answers.
    void WireMessageWindows(const AuthorityScope& scope, const AuthorityWindows& windows);
    /// The automatic retrieval as the preferences choose it.
    void ApplyPreferences();
    /// Decrypted and shown; what is read, and its verdict, shows in the
    /// mailbox however it was opened.
    BlockOutcome DecryptAndMark(Lines& block, const QString& subject,
                                IncomingBlock::Attachments attachments);
    /// A message of the mailbox opened again, under Busy.
    void OpenStored(const Lines& entry);
    /// The answer asked for from the viewer, once nothing is busy: the
    /// composer for a correspondent, else "Nouvelles clefs" for the sender.
    void RunPendingReply();

    ProgramData& data_;
    HolderContext& ctx_;
    // Declared first, destroyed last: the windows are its children.
    std::unique_ptr<FormTitulaire> main_;
    Forms forms_;
    HelpSystem* help_ = nullptr;  ///< child of the main window
    std::array<std::unique_ptr<MainCommand>, kCommandCount> commands_;
    std::unique_ptr<AffiliationCommand> affiliation_;
    std::unique_ptr<CertificationRequest> certification_;
    std::unique_ptr<IncomingBlock> incoming_;
    CorrespondentsCommand* correspondentsCommand_ = nullptr;
    std::unique_ptr<WriteMessage> writeMessage_;  ///< the correspondents window's "Correspondre"
    std::unique_ptr<KeyUpdateCommand>
        keyUpdate_;  ///< "&Mettre à jour" of the correspondents window
    NewKeysCommand* newKeysCommand_ = nullptr;
    /// Répondre of the viewer: to whom, about what, in which form.
    struct Reply {
        std::string number;
        QString subject;
        Kind kind = Kind::PlainMessage;
    };
    std::optional<Reply> pendingReply_;
    std::unique_ptr<NewMailWatch> newMail_;  ///< destroyed first: it reports through the windows
};

}  // namespace quarnel::ui
