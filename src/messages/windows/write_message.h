// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// From the correspondent chosen in the correspondents window to an encrypted
// message ready to go: the composer, the encryption off the window's thread,
// and the message handed on (to the sending window).

#include <QObject>
#include <QString>

#include "mail/outgoing_queue.h"
#include "messages/message_state.h"
#include "protocol/kinds.h"
#include "windowkit/long_job.h"

namespace quarnel {
struct HolderContext;
}

namespace quarnel::ui {

class FormRedac;
class MainWindowHost;

class WriteMessage : public QObject {
    Q_OBJECT
  public:
    WriteMessage(HolderContext& ctx, MessageState& msgs, MainWindowHost& host, FormRedac& redac);

    /// Writes a message of `kind` (PlainMessage or RichMessage) to
    /// msgs.recipientRecord: nothing while Busy; the composer runs modally,
    /// and unless it is cancelled the text is encrypted and handed over for
    /// sending. The composer is emptied only once the body exists: an
    /// encryption cancelled or failed brings it back as it was. `subject`
    /// is the composer's subject to begin with (an answer).
    void Run(Kind kind, const QString& subject = {});

    /// Runs the encryption (tests stop it at a chosen point).
    LongJobRunner runJob = RunLongJob;

  Q_SIGNALS:
    /// A message encrypted, ready to be sent or queued.
    void Encrypted(const OutgoingMessage& message);

  private:
    /// The message text as it travels, or nothing when the person gave up.
    [[nodiscard]] bool TakeText(bool rich, int result, std::string& text);
    /// True once the body was built and handed over.
    [[nodiscard]] bool Encrypt(Kind kind, const std::string& text);

    HolderContext& ctx_;
    MessageState& msgs_;
    MainWindowHost& host_;
    FormRedac& redac_;
};

}  // namespace quarnel::ui
