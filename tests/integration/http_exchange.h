#pragma once
// The connection window's exchange without the window: send the outgoing
// body over HTTP, accept what can be accepted, and process it.

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "app/settings.h"
#include "authority/exchange.h"
#include "authority/flows.h"
#include "authority/replies.h"
#include "authority/texts.h"
#include "qt_test_support.h"
#include "store/holder_context.h"

namespace quarnel::test {

inline bool ExchangeOverHttp(HolderContext& ctx, bool* httpError = nullptr) {
    TaExchange exchange;
    std::vector<int> log;
    QObject::connect(&exchange, &TaExchange::logged,
                     [&](int id, const QString&) { log.push_back(id); });
    exchange.Prepare(ctx);
    exchange.Send();
    if (!RunUntil([&] { return exchange.accepterEnabled() || exchange.annulerEnabled(); },
                  20000)) {
        return false;
    }
    if (httpError) *httpError = std::count(log.begin(), log.end(), txt::kLogErrorNumber) > 0;
    if (!exchange.accepterEnabled()) return false;
    exchange.Stop();
    return ProcessTaReply(ctx, exchange.MemoText()).accepted;
}

/// The hooks of the authority's sequences: the exchange over HTTP, and the
/// settings written as the shell writes them.
inline FlowHooks Http(HolderContext& ctx) {
    return {[](HolderContext& c) { return ExchangeOverHttp(c); },
            [&ctx] { return SaveSettings(ctx, SettingsPath(ctx)); }};
}

}  // namespace quarnel::test
