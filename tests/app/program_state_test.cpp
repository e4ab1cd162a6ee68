// SPDX-License-Identifier: GPL-3.0-or-later
// The program state's events: from each of the six states, where each event
// leads. The state read from the own record at start-up is the start-up's
// test.

#include <gtest/gtest.h>

#include <array>

#include "app/program_data.h"
#include "holder/program_state.h"
#include "holder_setup.h"

namespace quarnel {
namespace {

using enum ProgramState;

TEST(ProgramStateEvents, FromEachStateEachEventLeadsWhereItsRowSays) {
    constexpr std::array kFrom{NotInitialised, NotAffiliated,   Affiliated,
                               VersionChanged, SettingsAltered, UpdateNecessary};
    const struct {
        const char* event;
        void (*apply)(HolderContext&);
        std::array<ProgramState, 6> to;  // by kFrom
    } rows[] = {
        {"Starting",
         &state::Starting,
         {NotInitialised, NotInitialised, NotInitialised, NotInitialised, NotInitialised,
          NotInitialised}},
        {"AffiliationRequested",
         &state::AffiliationRequested,
         {NotAffiliated, NotAffiliated, NotAffiliated, NotAffiliated, NotAffiliated,
          NotAffiliated}},
        {"Affiliated",
         &state::Affiliated,
         {Affiliated, Affiliated, Affiliated, Affiliated, Affiliated, Affiliated}},
        // Only a confirmed affiliation has a version or settings to lose.
        {"VersionChanged",
         &state::VersionChanged,
         {NotInitialised, NotAffiliated, VersionChanged, VersionChanged, SettingsAltered,
          UpdateNecessary}},
        {"SettingsAltered",
         &state::SettingsAltered,
         {NotInitialised, NotAffiliated, SettingsAltered, VersionChanged, SettingsAltered,
          UpdateNecessary}},
        {"UpdateFailed",
         &state::UpdateFailed,
         {UpdateNecessary, UpdateNecessary, UpdateNecessary, UpdateNecessary, UpdateNecessary,
          UpdateNecessary}},
    };
    for (const auto& row : rows) {
        for (std::size_t i = 0; i < kFrom.size(); ++i) {
            ProgramData ctx;
            test::ReachState(ctx, kFrom[i]);
            ASSERT_EQ(ctx.State(), kFrom[i]);
            row.apply(ctx);
            EXPECT_EQ(ctx.State(), row.to[i]) << row.event << " from " << int(kFrom[i]);
        }
    }
}

}  // namespace
}  // namespace quarnel
