// SPDX-License-Identifier: GPL-3.0-or-later
#include "literal_cipher.h"

#include <bit>

#include "crypto/bignum.h"
#include "crypto/random.h"

namespace quarnel::literal {
namespace {

bool Bit(const Quad& q, int i) {
    return (q[std::size_t(i >> 5)] >> (i & 31)) & 1u;
}
void SetBit(Quad& q, int i, bool v) {
    const Word m = Word(1) << (i & 31);
    if (v) {
        q[std::size_t(i >> 5)] |= m;
    } else {
        q[std::size_t(i >> 5)] &= ~m;
    }
}

Quad ShiftLeft1(const Quad& q) {
    return {q[0] << 1, (q[1] << 1) | (q[0] >> 31), (q[2] << 1) | (q[1] >> 31),
            (q[3] << 1) | (q[2] >> 31)};
}

Quad ShiftRight1(const Quad& q) {
    return {(q[0] >> 1) | (q[1] << 31), (q[1] >> 1) | (q[2] << 31), (q[2] >> 1) | (q[3] << 31),
            q[3] >> 1};
}

int FeedbackBit(Variant v) {
    return v == Variant::A ? 64 : 97;
}

bool IsZero(const Quad& q) {
    return (q[0] | q[1] | q[2] | q[3]) == 0;
}

// Register step S: shift left, feedback into bit 1.
Quad Step(const Quad& r, Variant v) {
    Quad out = ShiftLeft1(r);
    SetBit(out, 1, Bit(r, 127) != Bit(r, FeedbackBit(v)));
    return out;
}

// Register multiply M(R, C); bit 0 of C is ignored.
Quad Multiply(Quad r, const Quad& c, Variant v, Quad& acc) {
    acc = Quad{};
    for (int i = 1; i <= 127; ++i) {
        if (Bit(c, i)) XorQuad(acc, r);
        r = Step(r, v);
    }
    return acc;
}

// Register conversion T(R).
Quad Convert(const Quad& r, Variant v) {
    Quad c = ShiftLeft1(r);
    if (Bit(r, 127)) SetBit(c, 1, true);
    XorQuad(c, r);
    if (v == Variant::A) {
        c[0] ^= c[2];
        c[1] ^= c[3];
    } else {
        c[0] ^= c[3] >> 1;
    }
    SetBit(c, 1, Bit(c, 1) != Bit(r, FeedbackBit(v)));
    SetBit(c, 0, false);
    return c;
}

}  // namespace

Quad MulModP(const Quad& a, const Quad& b) {
    std::array<Word, 8> p{};
    (void)MulQuad(a, b, p);
    // 2^128 = 2 (mod p): fold each word above the fourth back, doubled, four
    // words lower; a carry that re-creates the word is folded again.
    for (int t = 7; t >= 4; --t) {
        while (p[std::size_t(t)] != 0) {
            const std::uint64_t h = p[std::size_t(t)];
            p[std::size_t(t)] = 0;
            std::uint64_t carry = 2 * h;
            for (int i = t - 4; i <= t && carry != 0; ++i) {
                const std::uint64_t s = std::uint64_t(p[std::size_t(i)]) + carry;
                p[std::size_t(i)] = Word(s);
                carry = s >> 32;
            }
        }
    }
    // 2^127 = 1 (mod p).
    while (p[3] & 0x80000000u) {
        p[3] &= 0x7FFFFFFFu;
        std::uint64_t carry = 1;
        for (int i = 0; i < 4 && carry != 0; ++i) {
            const std::uint64_t s = std::uint64_t(p[std::size_t(i)]) + carry;
            p[std::size_t(i)] = Word(s);
            carry = s >> 32;
        }
    }
    Quad r{p[0], p[1], p[2], p[3]};
    if (r[0] == ~Word(0) && r[1] == ~Word(0) && r[2] == ~Word(0) && r[3] == 0x7FFFFFFFu) r = Quad{};
    return r;
}

Quad FieldPow(const Quad& v, const Quad& k, Variant variant) {
    if (IsZero(k)) return v;
    Quad r = ShiftLeft1(v);
    Quad acc{};
    const Quad d = Convert(r, variant);
    int top = 3;
    while (k[std::size_t(top)] == 0)
        --top;
    const int lead = top * 32 + 31 - std::countl_zero(k[std::size_t(top)]);
    for (int i = lead - 1; i >= 0; --i) {
        const Quad c = Convert(r, variant);
        r = Multiply(r, c, variant, acc);
        if (Bit(k, i)) r = Multiply(r, d, variant, acc);
    }
    const Quad result = ShiftRight1(r);
    WipeQuad(r);
    WipeQuad(acc);
    return result;
}

Quad ExpBlock(const Quad& x, const Quad& key, Variant variant) {
    if (!IsValidBlock(x)) return x;
    SplitValue sx = SplitBlock(x);
    SplitValue sk = SplitBlock(key);
    const Quad result = JoinBlock(literal::FieldPow(sx.value, sk.value, variant), sx.even);
    WipeQuad(sx.value);
    WipeQuad(sk.value);
    return result;
}

Quad MulBlock(const Quad& x, const Quad& key) {
    if (!IsValidBlock(x)) return x;
    const SplitValue sx = SplitBlock(x);
    return JoinBlock(literal::MulModP(sx.value, SplitBlock(key).value), sx.even);
}

Quad CipherBlockMasked(const Quad& x, const Quad& key, const Quad& mask, Direction direction) {
    auto invertOdd = [](Quad& y) {
        if (!EvenParity(y)) {
            for (Word& w : y)
                w = ~w;
        }
    };
    Quad y;
    if (direction == Direction::Encipher) {
        y = literal::ExpBlock(x, key, Variant::A);
        invertOdd(y);
        y = literal::MulBlock(y, key);
        XorQuad(y, mask);
        y = literal::ExpBlock(y, key, Variant::B);
    } else {
        y = literal::ExpBlock(x, key, Variant::B);
        XorQuad(y, mask);
        y = literal::MulBlock(y, key);
        invertOdd(y);
        y = literal::ExpBlock(y, key, Variant::A);
    }
    const Quad result = y;
    WipeQuad(y);
    return result;
}

Quad CipherBlock(const Quad& x, const Quad& key, Direction direction) {
    return literal::CipherBlockMasked(x, key, Quad{}, direction);
}

}  // namespace quarnel::literal
