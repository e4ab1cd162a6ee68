// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the cipher tests run through: the literal oracle, or the library
// forced onto one of its paths. A path the processor lacks is skipped.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "crypto/cipher.h"
#include "crypto/cipher_path.h"
#include "crypto/text_cipher.h"
#include "literal_cipher.h"

namespace quarnel::test {

/// The library's paths keep their CipherPath numbers.
enum class Under { Portable = 0, Clmul = 1, Avx512 = 2, Literal = 3 };

inline constexpr Under kEveryImplementation[] = {Under::Literal, Under::Portable, Under::Clmul,
                                                 Under::Avx512};

// The operations that the library and the oracle both provide.
// clang-format off
#define QUARNEL_CIPHER_OPS(X)                                                               \
    X(CipherBlockMasked) X(CipherBlock) X(FieldPow) X(ExpBlock) X(MulBlock) X(MulModP)     \
    X(EncipherText) X(VerifyHeader) X(DecipherText) X(CondenseText) X(CondenseHex)
// clang-format on
#define QUARNEL_MEMBER(op) decltype(&quarnel::op) op;
#define QUARNEL_LIBRARY(op) &quarnel::op,
#define QUARNEL_ORACLE(op) &literal::op,

/// The cipher operations of one implementation, under their own names.
struct CipherImpl {
    QUARNEL_CIPHER_OPS(QUARNEL_MEMBER)
};

inline const CipherImpl& ImplOf(Under u) {
    static const CipherImpl library{QUARNEL_CIPHER_OPS(QUARNEL_LIBRARY)};
    static const CipherImpl oracle{QUARNEL_CIPHER_OPS(QUARNEL_ORACLE)};
    return u == Under::Literal ? oracle : library;
}

inline std::string NameOf(Under u) {
    return u == Under::Literal ? "literal" : CipherPathName(CipherPath(u));
}

/// Forces the path of `u` for the library (the oracle needs none); false when
/// the processor lacks it or the library did not take it.
inline bool Enter(Under u) {
    return u == Under::Literal ||
           (ForceCipherPath(CipherPath(u)) && ActiveCipherPath() == CipherPath(u));
}

/// The library's paths this processor runs.
inline std::vector<Under> SupportedPaths() {
    std::vector<Under> paths;
    for (Under u : {Under::Portable, Under::Clmul, Under::Avx512}) {
        if (CipherPathSupported(CipherPath(u))) paths.push_back(u);
    }
    return paths;
}

/// Puts the best path back after a test that forced others.
struct RestoreBestPath {
    ~RestoreBestPath() { (void)ForceCipherPath(BestCipherPath()); }
};

/// Runs `check` on every supported path, that path forced and named in failures.
template <class Check>
void OnEveryPath(Check check) {
    RestoreBestPath restore;
    for (Under u : SupportedPaths()) {
        SCOPED_TRACE(NameOf(u));
        ASSERT_TRUE(Enter(u));
        check();
    }
}

}  // namespace quarnel::test
