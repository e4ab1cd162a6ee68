#pragma once
// What the cipher tests run through: the literal oracle, or the library
// forced onto one of its paths. A path the processor lacks is skipped.

#include <gtest/gtest.h>

#include <string>

#include "crypto/cipher.h"
#include "crypto/cipher_path.h"
#include "crypto/text_cipher.h"
#include "literal_cipher.h"

namespace quarnel::test {

enum class Under { Literal, Portable, Clmul, Avx512 };

inline constexpr Under kLibraryPaths[] = {Under::Portable, Under::Clmul, Under::Avx512};

inline CipherPath PathOf(Under u) {
    switch (u) {
        case Under::Clmul:
            return CipherPath::Clmul;
        case Under::Avx512:
            return CipherPath::Avx512;
        default:
            return CipherPath::Portable;
    }
}

/// The cipher operations of one implementation.
struct CipherImpl {
    Quad (*cipherBlockMasked)(const Quad&, const Quad&, const Quad&, Direction);
    Quad (*cipherBlock)(const Quad&, const Quad&, Direction);
    Quad (*fieldPow)(const Quad&, const Quad&, Variant);
    Quad (*expBlock)(const Quad&, const Quad&, Variant);
    Quad (*mulBlock)(const Quad&, const Quad&);
    Quad (*mulModP)(const Quad&, const Quad&);
    bool (*encipherText)(std::string_view, char, char, Lines&, const Quad&, const Quad&,
                         std::string_view, double);
    bool (*verifyHeader)(const Lines&, std::size_t, const Quad&, const Quad&, std::string&);
    bool (*decipherText)(const Lines&, std::size_t&, const Quad&, const Quad&, DecipheredText&);
    bool (*condenseText)(std::string_view, Quad&);
    bool (*condenseHex)(std::string_view, Quad&);
};

inline const CipherImpl& ImplOf(Under u) {
    static const CipherImpl library{CipherBlockMasked, CipherBlock,  FieldPow,     ExpBlock,
                                    MulBlock,          MulModP,      EncipherText, VerifyHeader,
                                    DecipherText,      CondenseText, CondenseHex};
    static const CipherImpl oracle{
        literal::CipherBlockMasked, literal::CipherBlock,  literal::FieldPow,
        literal::ExpBlock,          literal::MulBlock,     literal::MulModP,
        literal::EncipherText,      literal::VerifyHeader, literal::DecipherText,
        literal::CondenseText,      literal::CondenseHex};
    return u == Under::Literal ? oracle : library;
}

inline std::string NameOf(Under u) {
    return u == Under::Literal ? "literal" : CipherPathName(PathOf(u));
}

/// Forces the path of `u` for the library (the oracle needs none); false when
/// the processor lacks it.
inline bool Enter(Under u) {
    return u == Under::Literal || ForceCipherPath(PathOf(u));
}

/// A test fixture run once per implementation; it restores the best path.
class PerImplementation : public ::testing::TestWithParam<Under> {
  protected:
    void SetUp() override {
        if (!Enter(GetParam())) GTEST_SKIP() << NameOf(GetParam()) << " is not supported here";
    }
    void TearDown() override { (void)ForceCipherPath(BestCipherPath()); }
    const CipherImpl& impl() const { return ImplOf(GetParam()); }
};

inline std::string ParamName(const ::testing::TestParamInfo<Under>& info) {
    return NameOf(info.param);
}

}  // namespace quarnel::test
