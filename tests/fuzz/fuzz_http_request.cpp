// SPDX-License-Identifier: GPL-3.0-or-later
// HTTP requests at the authority: the listener's parsing, then what the
// service reads of the data: the lines, the address line, a signed request
// under the fixed y's signing key, the certification data, and an
// affiliation request under the reference authority's private exponent.

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include "crypto/bignum.h"
#include "fuzz_holders.h"
#include "protocol/body.h"
#include "protocol/kinds.h"
#include "protocol/lines.h"
#include "store/atomic_file.h"
#include "ta/core/requests.h"
#include "ta/server/http_listener.h"

namespace {

struct State {
    std::filesystem::path root = quarnel::fuzz::ScratchFolder("http-request");
    quarnel::fuzz::FixedPair pair = quarnel::fuzz::MakeFixedPair(root);
    quarnel::Big exponent{};
    State() {
        const auto text = quarnel::ReadWholeFile(std::filesystem::path(QUARNEL_TEST_DATA_DIR) /
                                                 "ta" / "private-exponent-0FF.txt");
        if (!text) std::abort();
        exponent = quarnel::HexToBig(quarnel::SplitLines(*text).at(0));
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quarnel;
    State& s = fuzz::Shared<State>();
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const ta::ParsedRequest request = ta::ParseHttpRequest(bytes);
    if (!request.complete || request.status != 0) return 0;
    Lines lines;
    if (!ta::SplitRequestData(request.body, lines) || lines.size() < 2) return 0;
    AddressFields address;
    if (!ParseAddressLine(lines[1], address)) return 0;
    std::string why;
    if (address.kind == Kind::Affiliation) {
        ta::AffiliationRequest affiliation;
        (void)ta::OpenAffiliationRequest(lines, s.exponent, affiliation, why);
        return 0;
    }
    DecipheredText section;
    if (ta::OpenSignedRequest(lines, s.pair.ya.signingKey, section, why)) {
        ta::CertificationData certification;
        (void)ta::ParseCertificationData(section.text, certification);
    }
    return 0;
}
