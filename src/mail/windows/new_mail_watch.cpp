// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/windows/new_mail_watch.h"

#include <QApplication>
#include <QTimer>

#include <algorithm>

#include "mail/incoming.h"
#include "mail/mail_limits.h"
#include "mail/windows/commands.h"
#include "mail/windows/form_pop3.h"
#include "mail/windows/texts.h"
#include "windowkit/main_command.h"
#include "windowkit/window_kit.h"

namespace quarnel::ui {

QString NewMailCaptionPrefix(int count) {
    return count > 0 ? QStringLiteral("(%1) ").arg(count) : QString();
}

QString NewMailLine(int count) {
    if (count <= 0) return {};
    return count == 1 ? Tr(txt::kOneNewMessage) : Tr(txt::kNewMessages, {QString::number(count)});
}

NewMailWatch::NewMailWatch(HolderContext& ctx, FormPop3& pop3, MainWindowHost& host,
                           QObject* parent)
    : QObject(parent), ctx_(ctx), pop3_(pop3), host_(host), timer_(new QTimer(this)) {
    timer_->setSingleShot(true);
    connect(timer_, &QTimer::timeout, this, &NewMailWatch::Tick);
    connect(&pop3_, &FormPop3::Opened, this, [this] {
        if (newCount_ == 0) return;
        newCount_ = 0;
        host_.RefreshNames();
    });
}

NewMailWatch::~NewMailWatch() = default;

void NewMailWatch::Apply(bool on, std::chrono::milliseconds period) {
    on_ = on;
    period_ = std::max(period, std::chrono::milliseconds(1));
    // A retrieval under way ends as it is; the next period follows the choice.
    if (Retrieving()) return;
    if (on_) {
        timer_->start(period_);
    } else {
        timer_->stop();
    }
}

bool NewMailWatch::CanRetrieveNow() const {
    return !ctx_.busy && !QApplication::activeModalWidget() && !QApplication::activePopupWidget() &&
           IncomingMailCommand::EnabledIn(FactsOf(ctx_, true)).value_or(false) &&
           !ctx_.settings.pop3Server.empty();
}

void NewMailWatch::Tick() {
    if (!on_) return;
    if (!CanRetrieveNow()) {
        // Occupied: soon again rather than a whole period later.
        timer_->start(std::min(period_, std::chrono::milliseconds(kRetryWhenOccupied)));
        return;
    }
    MailRetrieval* retrieval = pop3_.NewUnseenRetrieval();
    if (!retrieval) {
        timer_->start(period_);
        return;
    }
    busy_.emplace(ctx_);
    failure_.clear();
    lastLine_.clear();
    informationBefore_ = ctx_.information;
    noteBefore_ = ctx_.informationNote;
    connect(retrieval, &MailRetrieval::logged, this,
            [this](int id, const QString& detail) { lastLine_ = LogLine(Tr(id), detail); });
    connect(retrieval, &MailRetrieval::error, this, [this](const QString& text) {
        if (failure_.isEmpty()) failure_ = text;
    });
    connect(retrieval, &MailRetrieval::finished, this, &NewMailWatch::OnFinished);
    SetInformation(ctx_, txt::kCollectingMail);
    host_.EvaluateState();
    retrieval->Start();
}

void NewMailWatch::OnFinished(const RetrievalOutcome& outcome) {
    if (!busy_) return;
    busy_.reset();
    newCount_ += outcome.accepted;
    if (outcome.complete) {
        ctx_.information = informationBefore_;
        ctx_.informationNote = noteBefore_;
    } else {
        // One line, no box: the holder may be away, and the next period tries again.
        SetInformation(ctx_, txt::kCollectionFailed);
        const QString reason = (failure_.isEmpty() ? lastLine_ : failure_).simplified();
        ctx_.informationNote = ToCp1252(reason.left(kMaxFailureReasonChars));
    }
    host_.EvaluateState();
    host_.RefreshNames();
    if (on_) timer_->start(period_);
    Q_EMIT Retrieved(outcome.accepted);
}

}  // namespace quarnel::ui
