// SPDX-License-Identifier: GPL-3.0-or-later
// TA replies at the holder: the first byte chooses the request y waits a
// reply to and y's program state, the rest is the reply text. y's keys are
// those make_corpus issued its seeds with.

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "authority/replies.h"
#include "fuzz_holders.h"

namespace {

struct State {
    std::filesystem::path root = quarnel::fuzz::ScratchFolder("ta-reply");
    quarnel::fuzz::FixedPair pair = quarnel::fuzz::MakeFixedPair(root);
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quarnel;
    if (size == 0) return 0;
    State& s = fuzz::Shared<State>();
    static constexpr Kind kRequests[] = {Kind::Affiliation, Kind::Update, Kind::Key,
                                         Kind::KeyUpdate, Kind::Certification};
    const unsigned choice = data[0];
    auto y = test::ContextOf(s.pair.ya, s.root / "y");
    y->authority.requestKind = kRequests[choice % 5];
    y->authority.correspondentNumber = s.pair.xa.number;
    y->authority.firstAffiliation = (choice & 0x80) != 0;
    *y->authority.taKey = s.pair.ya.taKey;
    test::ReachState(*y, ProgramState((choice >> 3) % 6));
    const std::string_view reply(reinterpret_cast<const char*>(data + 1), size - 1);
    (void)ProcessTaReply(*y, y->authority, reply);
    return 0;
}
