// SPDX-License-Identifier: GPL-3.0-or-later
#include "crypto/dh_constants.h"

#include "crypto/bignum.h"

namespace quarnel {

// Derived reproducibly by `python3 tools/gen-dh-constants.py`: the first safe
// prime above a SHA-512 draw, and the first 1022-bit square modulo it.
namespace {

constexpr const char* kModulusHex =
    "50B40F2C1D4F4CD250ECD3E4A2FE0419A6918C1CECA55BF816D437FEAED51F8D"
    "4D3AE6EC27477CB06D7E6A2F955B8683FDE5E9868D875DE807E06A2937F4B3F1"
    "278C02FC2F95D250C2327AEB7DD126FC061474965C9DF6BB7CB3277B9B1C9D92"
    "2DD94EFB28A04444D5374B5A05A9E55B1CCFCEFE5CC2FA82F3B6587F1CAC2E67";

constexpr const char* kBaseHex =
    "3649311203C93C4461C1FABD0A8BC6B1C203EC123C5053EC388B3C171ED94CE5"
    "71EC0992401B60CA5456DCB82233C6E2D0958AE2A7FCB315B2A56A882A2BF327"
    "D92662CE0E970E6AA96A2A0AF7EBCD654289676F21C7B75752DC42720D168262"
    "6DD557E1093FFEB357FE3ED4459DEAE2FC48C84BCC6E82CC2762C05C6B2CBAB2";

}  // namespace

const Big& SystemModulus() {
    static const Big m = HexToBig(kModulusHex);
    return m;
}

const Big& SystemBase() {
    static const Big g = HexToBig(kBaseHex);
    return g;
}

}  // namespace quarnel
