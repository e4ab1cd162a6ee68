// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// NewMailWatch: mail retrieved without asking, every period, while the
// program is idle. It runs the receiving window's retrieval without showing
// the window, into the window's waiting list, holding Busy so that no other
// operation starts meanwhile; it never asks for anything. The messages it
// brought are counted until the holder opens the receiving window; a failure
// is said in the information line and the next period tries again.

#include <QObject>
#include <QString>

#include <chrono>
#include <optional>
#include <string>

#include "holder/program_state.h"

class QTimer;

namespace quarnel {
struct RetrievalOutcome;
}  // namespace quarnel

namespace quarnel::ui {

class FormPop3;
class MainWindowHost;

/// Longest reason of a failure shown under the information line (the
/// server's text comes from outside).
inline constexpr int kMaxFailureReasonChars = 200;
/// How soon a period that fell while the program was occupied is tried again.
inline constexpr std::chrono::milliseconds kRetryWhenOccupied = std::chrono::seconds(30);

/// The count of messages the watch brought, for the main window's caption
/// ("(2) ") and under its information line; empty for none.
QString NewMailCaptionPrefix(int count);
QString NewMailLine(int count);

class NewMailWatch : public QObject {
    Q_OBJECT
  public:
    NewMailWatch(HolderContext& ctx, FormPop3& pop3, MainWindowHost& host,
                 QObject* parent = nullptr);
    ~NewMailWatch() override;

    /// Retrieves every `period` from now on, or never (the default).
    void Apply(bool on, std::chrono::milliseconds period);
    [[nodiscard]] bool On() const { return on_; }
    [[nodiscard]] bool Retrieving() const { return busy_.has_value(); }
    /// Messages brought since the receiving window was last opened.
    [[nodiscard]] int NewCount() const { return newCount_; }

    /// Idle enough to retrieve: not Busy, no modal window or open menu,
    /// affiliated with the mail password stored, a POP3 server set.
    [[nodiscard]] bool CanRetrieveNow() const;

  Q_SIGNALS:
    /// A retrieval ended having stored `accepted` messages.
    void Retrieved(int accepted);

  private:
    void Tick();
    void OnFinished(const RetrievalOutcome& outcome);

    HolderContext& ctx_;
    FormPop3& pop3_;
    MainWindowHost& host_;
    QTimer* timer_;  // child
    bool on_ = false;
    std::chrono::milliseconds period_{0};
    int newCount_ = 0;
    std::optional<BusyGuard> busy_;
    /// What the information line said before the retrieval, given back after it.
    int informationBefore_ = 0;
    std::string noteBefore_;
    QString failure_;  ///< the server's first complaint, else the last log line
    QString lastLine_;
};

}  // namespace quarnel::ui
