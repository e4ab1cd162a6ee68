// SPDX-License-Identifier: GPL-3.0-or-later
#include "authority/exchange.h"

#include "authority/texts.h"
#include "holder/program_state.h"
#include "mail/mail_limits.h"
#include "protocol/body.h"
#include "protocol/lines.h"
#include "store/atomic_file.h"

namespace quarnel {

TaExchange::TaExchange(QObject* parent) : QObject(parent) {
    responseTimer_.setSingleShot(true);
    responseTimer_.setInterval(15000);
    connect(&responseTimer_, &QTimer::timeout, this, [this] {
        cancel_ = true;
        Q_EMIT changed();
    });
    connect(&client_, &TaHttpClient::logged, this, [this](int textId, const QString& detail) {
        Q_EMIT logged(textId, SplitLogDetails(detail));
    });
    connect(&client_, &TaHttpClient::progress, this, [this](TaHttpClient::Stage stage) {
        if (stage != TaHttpClient::Stage::Connected) return;
        memo_.clear();
        Q_EMIT changed();
    });
    connect(&client_, &TaHttpClient::transferred, this,
            [this](qint64 done, qint64 total, bool reply) {
                transfer_ = {done, total, reply};
                Q_EMIT progressed();
            });
    connect(&client_, &TaHttpClient::finished, this, &TaExchange::OnFinished);
}

void TaExchange::Inform(int text) {
    if (ctx_) SetInformation(*ctx_, text);
}

void TaExchange::Prepare(HolderContext& ctx, const AuthorityState& auth) {
    ctx_ = &ctx;
    auth_ = &auth;
    client_.Abort();
    responseTimer_.stop();
    connection_ = ConfigureTaConnection(ctx.settings);
    kind_ = auth.requestKind;
    memo_ = auth.outgoingBody;
    phase_ = Phase::Ready;
    transfer_ = {0,
                 qint64(HttpRequestBytes(TargetOf(connection_), !connection_.proxyHost.empty(),
                                         RequestData(auth.outgoingBody))
                            .size()),
                 false};
    send_ = true;
    cancel_ = true;
    accept_ = false;
    Q_EMIT changed();
    Q_EMIT progressed();
}

void TaExchange::Send() {
    if (!send_ || !ctx_ || !auth_) return;
    phase_ = Phase::Running;
    send_ = false;
    memo_ = auth_->outgoingBody;  // a failed exchange may have shown part of a reply
    Q_EMIT changed();
    Q_EMIT logged(txt::kLogCall, {});
    Inform(txt::kTransmission);
    client_.Post(connection_, RequestData(auth_->outgoingBody), kind_);
}

void TaExchange::OnFinished(const SessionResult& result) {
    const QByteArray& body = client_.body();
    // What had arrived of a failed reply stays in view.
    if (result.completed || !body.isEmpty()) {
        memo_ = SplitLines(std::string_view(body.constData(), std::size_t(body.size())));
    }
    if (result.completed && ReplyCanBeAccepted(memo_)) {
        // After a good reply to an affiliation request the holder is held a
        // moment before leaving with Annuler.
        phase_ = Phase::Answered;
        cancel_ = kind_ != Kind::Affiliation && kind_ != Kind::Update;
        accept_ = true;
        responseTimer_.start();
    } else {
        phase_ = Phase::Failed;
        send_ = true;
        cancel_ = true;
    }
    Q_EMIT changed();
}

void TaExchange::Cancel() {
    if (!cancel_) return;
    client_.Abort();
    responseTimer_.stop();
    Inform(txt::kIdle);
}

void TaExchange::Stop() {
    responseTimer_.stop();
    client_.Abort();
}

std::string TaExchange::MemoText() const {
    return JoinLinesCrLf(memo_);
}

}  // namespace quarnel
