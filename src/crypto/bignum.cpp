// SPDX-License-Identifier: GPL-3.0-or-later
#include "crypto/bignum.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <vector>

#include "crypto/hextext.h"
#include "crypto/path_probe.h"
#include "crypto/random.h"

namespace quarnel {
namespace {

void TrimTop(std::span<const Word> x, int& used) {
    while (used > 1 && x[used - 1] == 0)
        --used;
}

}  // namespace

bool HexToWords(std::string_view text, std::span<Word> out, int& used) {
    std::fill(out.begin(), out.end(), Word{0});
    used = 1;
    if (out.empty()) return false;

    const auto start = text.find_first_not_of(' ');
    if (start == std::string_view::npos) return false;
    text.remove_prefix(start);
    // Leading zeros go, but never below eight characters.
    while (text.size() >= 9 && text.front() == '0')
        text.remove_prefix(1);
    for (char c : text) {
        if (HexDigitValue(c) < 0) return false;
    }
    const std::size_t groups = (text.size() + 7) / 8;
    if (groups > out.size()) return false;

    // Padding with "0" on the left to a multiple of 8 is the same as cutting
    // groups of 8 from the right.
    std::size_t end = text.size();
    for (std::size_t g = 0; g < groups; ++g) {
        const std::size_t begin = end >= 8 ? end - 8 : 0;
        Word w = 0;
        for (std::size_t i = begin; i < end; ++i)
            w = (w << 4) | Word(HexDigitValue(text[i]));
        out[g] = w;
        end = begin;
    }
    used = int(groups);
    return true;
}

std::string WordToHex(Word w) {
    std::string s(8, '0');
    for (int i = 7; i >= 0; --i) {
        s[std::size_t(i)] = kHexDigits[w & 0xF];
        w >>= 4;
    }
    return s;
}

std::string WordsToHex(std::span<const Word> words) {
    std::string s;
    s.reserve(words.size() * 8);
    for (std::size_t i = words.size(); i-- > 0;)
        s += WordToHex(words[i]);
    return s;
}

namespace {

template <std::size_t N>
std::array<Word, N> FixedHexToWords(std::string_view text) {
    std::array<Word, N> w{};
    int used = 0;
    (void)HexToWords(text, w, used);
    return w;
}

}  // namespace

Word HexToWord(std::string_view text) {
    return FixedHexToWords<1>(text)[0];
}
Quad HexToQuad(std::string_view text) {
    return FixedHexToWords<4>(text);
}
Big HexToBig(std::string_view text) {
    return FixedHexToWords<32>(text);
}

std::string QuadToHex(const Quad& q) {
    return WordsToHex(q);
}

std::string BigToHex(std::span<const Word> words) {
    std::string s = WordsToHex(words);
    if (s.size() < 256) s.insert(0, 256 - s.size(), '0');
    return s;
}

int MulWords(std::span<const Word> a, std::span<const Word> b, std::span<Word> product) {
    const std::size_t n = a.size();
    const std::size_t m = b.size();
    assert(product.size() >= n + m);
    std::fill(product.begin(), product.begin() + std::ptrdiff_t(n + m), Word{0});
    for (std::size_t j = 0; j < m; ++j) {
        std::uint64_t carry = 0;
        for (std::size_t i = 0; i < n; ++i) {
            const std::uint64_t t = std::uint64_t(a[i]) * b[j] + product[i + j] + carry;
            product[i + j] = Word(t);
            carry = t >> 32;
        }
        product[n + j] = Word(carry);
    }
    int used = int(n + m);
    if (used > 1 && product[std::size_t(used - 1)] == 0) --used;
    return used;
}

int SquareWords(std::span<const Word> a, std::span<Word> square) {
    const std::size_t n = a.size();
    assert(square.size() >= 2 * n);
    std::fill(square.begin(), square.begin() + std::ptrdiff_t(2 * n), Word{0});
    // Cross products once each...
    for (std::size_t i = 0; i < n; ++i) {
        std::uint64_t carry = 0;
        for (std::size_t j = i + 1; j < n; ++j) {
            const std::uint64_t t = std::uint64_t(a[i]) * a[j] + square[i + j] + carry;
            square[i + j] = Word(t);
            carry = t >> 32;
        }
        square[i + n] = Word(carry);
    }
    // ...doubled...
    Word top = 0;
    for (std::size_t k = 0; k < 2 * n; ++k) {
        const Word w = square[k];
        square[k] = (w << 1) | top;
        top = w >> 31;
    }
    // ...plus the diagonal.
    std::uint64_t carry = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint64_t sq = std::uint64_t(a[i]) * a[i];
        std::uint64_t t = std::uint64_t(square[2 * i]) + Word(sq) + carry;
        square[2 * i] = Word(t);
        t = std::uint64_t(square[2 * i + 1]) + (sq >> 32) + (t >> 32);
        square[2 * i + 1] = Word(t);
        carry = t >> 32;
    }
    int used = int(2 * n);
    if (used > 1 && square[std::size_t(used - 1)] == 0) --used;
    return used;
}

int MulQuad(const Quad& a, const Quad& b, std::array<Word, 8>& product) {
    return MulWords(a, b, product);
}

void NormaliseModulus(std::span<const Word> m, std::span<Word> normalised, int& used, int& shift) {
    used = int(m.size());
    if (used == 0) {
        normalised[0] = 0;
        used = 1;
        shift = 0;
        return;
    }
    TrimTop(m, used);
    std::copy(m.begin(), m.begin() + used, normalised.begin());
    shift = 0;
    if (used == 1) return;
    shift = std::countl_zero(normalised[std::size_t(used - 1)]);
    int u = used;
    ShiftWordsLeft(normalised, u, shift);  // never grows: the top word has room
}

Word ModWord(std::span<const Word> x, int used, Word d) {
    if (d == 0) return 0;
    std::uint64_t r = 0;
    for (int i = used - 1; i >= 0; --i)
        r = ((r << 32) | x[std::size_t(i)]) % d;
    return Word(r);
}

void ShiftWordsLeft(std::span<Word> x, int& used, int shift) {
    if (shift == 0) return;
    const Word out = x[std::size_t(used - 1)] >> (32 - shift);
    for (int i = used - 1; i > 0; --i) {
        x[std::size_t(i)] = (x[std::size_t(i)] << shift) | (x[std::size_t(i - 1)] >> (32 - shift));
    }
    x[0] <<= shift;
    if (out != 0) {
        assert(std::size_t(used) < x.size());
        x[std::size_t(used)] = out;
        ++used;
    }
}

void ShiftWordsRight(std::span<Word> x, int used, int shift) {
    if (shift == 0) return;
    for (int i = 0; i < used - 1; ++i) {
        x[std::size_t(i)] = (x[std::size_t(i)] >> shift) | (x[std::size_t(i + 1)] << (32 - shift));
    }
    x[std::size_t(used - 1)] >>= shift;
}

void ReduceWords(std::span<Word> x, int& used, std::span<const Word> m, int k, int shift) {
    if (k == 1) {
        if (m[0] == 0) return;
        const Word r = ModWord(x, used, m[0]);
        std::fill(x.begin(), x.begin() + used, Word{0});
        x[0] = r;
        used = 1;
        return;
    }
    if (used < k) return;
    ShiftWordsLeft(x, used, shift);
    const Word mTop = m[std::size_t(k - 1)];
    if (used == k && x[std::size_t(k - 1)] < mTop) {
        ShiftWordsRight(x, used, shift);
        return;
    }
    const Word d = mTop + 1;  // wraps to 0 for FFFFFFFF
    while (used >= k) {
        const int o = used - k - 1;
        int cmp = 0;
        for (int i = k - 1; i >= 0; --i) {
            const Word xi = x[std::size_t(o + 1 + i)];
            if (xi != m[std::size_t(i)]) {
                cmp = xi > m[std::size_t(i)] ? 1 : -1;
                break;
            }
        }
        if (cmp >= 0) {
            std::uint64_t borrow = 0;
            for (int i = 0; i < k; ++i) {
                Word& xi = x[std::size_t(o + 1 + i)];
                const std::uint64_t sub = std::uint64_t(m[std::size_t(i)]) + borrow;
                borrow = xi < sub ? 1 : 0;
                xi = Word(std::uint64_t(xi) - sub);
            }
            TrimTop(x, used);
            continue;
        }
        if (used <= k) break;
        const Word top = x[std::size_t(used - 1)];
        Word q;
        if (d == 0) {
            q = top;
        } else {
            const std::uint64_t top2 = (std::uint64_t(top) << 32) | x[std::size_t(used - 2)];
            q = Word(top2 / d);  // top <= mTop here, so the quotient fits a word
        }
        std::uint64_t carry = 0;
        std::uint64_t borrow = 0;
        for (int i = 0; i < k; ++i) {
            const std::uint64_t p = std::uint64_t(q) * m[std::size_t(i)] + carry;
            carry = p >> 32;
            Word& xi = x[std::size_t(o + i)];
            const std::uint64_t sub = (p & 0xFFFFFFFFu) + borrow;
            borrow = xi < sub ? 1 : 0;
            xi = Word(std::uint64_t(xi) - sub);
        }
        x[std::size_t(used - 1)] = Word(std::uint64_t(top) - carry - borrow);
        TrimTop(x, used);
    }
    ShiftWordsRight(x, used, shift);
}

bool ModPow(std::span<const Word> base, std::span<const Word> exponent,
            std::span<const Word> modulus, std::span<Word> result, int& used) {
    std::fill(result.begin(), result.end(), Word{0});
    used = 1;
    if (modulus.empty() || result.empty()) return false;
    std::vector<Word> m(modulus.size());
    int k = 0;
    int shift = 0;
    NormaliseModulus(modulus, m, k, shift);
    if (k == 1 && m[0] == 0) return false;

    const std::size_t cap = std::max(base.size(), std::size_t(2 * k)) + 2;
    std::vector<Word> b(cap), r(cap), t(cap);
    int ub = int(std::max<std::size_t>(base.size(), 1));
    std::copy(base.begin(), base.end(), b.begin());
    ReduceWords(b, ub, m, k, shift);

    int top = int(exponent.size()) - 1;
    while (top >= 0 && exponent[std::size_t(top)] == 0)
        --top;
    int ur = 1;
    if (top < 0) {
        r[0] = 1;
        ReduceWords(r, ur, m, k, shift);
    } else {
        std::copy(b.begin(), b.begin() + ub, r.begin());
        ur = ub;
        const int lead = 31 - std::countl_zero(exponent[std::size_t(top)]);
        for (int w = top; w >= 0; --w) {
            const Word e = exponent[std::size_t(w)];
            for (int bit = (w == top ? lead - 1 : 31); bit >= 0; --bit) {
                int ut = SquareWords(std::span<const Word>(r.data(), std::size_t(ur)), t);
                ReduceWords(t, ut, m, k, shift);
                std::swap(r, t);
                ur = ut;
                if ((e >> bit) & 1u) {
                    ut = MulWords(std::span<const Word>(r.data(), std::size_t(ur)),
                                  std::span<const Word>(b.data(), std::size_t(ub)), t);
                    ReduceWords(t, ut, m, k, shift);
                    std::swap(r, t);
                    ur = ut;
                }
            }
        }
    }
    const std::size_t n = std::min(std::size_t(ur), result.size());
    std::copy(r.begin(), r.begin() + std::ptrdiff_t(n), result.begin());
    used = ur;
    // Powers of a secret exponent are secrets too.
    RandomWords(b);
    RandomWords(r);
    RandomWords(t);
    return true;
}

namespace {

// Montgomery arithmetic on 64-bit limbs for an odd modulus of up to 1024
// bits: the same residues as ModPow, about ten times sooner.
__extension__ typedef unsigned __int128 Wide;
using Limb = std::uint64_t;
constexpr int kMaxLimbs = 16;

struct Montgomery {
    int n = 0;  ///< limbs of the modulus
    Limb m[kMaxLimbs] = {};
    Limb inverse = 0;            ///< -m^-1 mod 2^64
    Limb t[kMaxLimbs + 2] = {};  ///< working sums, secret: wiped by the owner
    Limb d[kMaxLimbs] = {};
    Limb w[2 * kMaxLimbs] = {};  ///< a whole square
};

void ToLimbs(std::span<const Word> words, Limb* out, int n) {
    for (int i = 0; i < n; ++i) {
        const std::size_t lo = std::size_t(2 * i);
        out[i] = (lo < words.size() ? words[lo] : 0) |
                 (lo + 1 < words.size() ? Limb(words[lo + 1]) << 32 : 0);
    }
}

/// s := a + b, adding the carry out to `carry`.
inline Limb AddCarry(Limb a, Limb b, Limb& carry) {
    Limb sum;
    carry += Limb(__builtin_add_overflow(a, b, &sum));
    return sum;
}

/// out := t mod m for t < 2m held in n limbs and a carry limb (0 or 1):
/// m subtracted by masks, no branch on the values, which derive from secret
/// exponents.
void SubtractOnce(Montgomery& mont, const Limb* t, Limb top, int n, Limb* out) {
    Limb* d = mont.d;
    Limb borrow = 0;
    for (int j = 0; j < n; ++j) {
        const Wide x = Wide(t[j]) - mont.m[j] - borrow;
        d[j] = Limb(x);
        borrow = Limb(x >> 64) & 1;
    }
    // keep t when t < m: no carry limb and a borrow
    const Limb keep = Limb(0) - (Limb(top == 0) & borrow);
    for (int j = 0; j < n; ++j)
        out[j] = (t[j] & keep) | (d[j] & ~keep);
}

/// out := a * b / 2^(64 n) mod m, for a, b < m, with n = N limbs (N = 0:
/// mont.n, for the smaller moduli). Each row adds a * b[i] and q * m in one
/// pass with two carry chains, which the processor runs side by side.
template <int N>
void ProductOf(Montgomery& mont, const Limb* a, const Limb* b, Limb* out) {
    const int n = N > 0 ? N : mont.n;
    const Limb* m = mont.m;
    Limb* t = mont.t;
    std::fill(t, t + n + 2, Limb{0});
    for (int i = 0; i < n; ++i) {
        const Limb bi = b[i];
        const Wide p0 = Wide(a[0]) * bi;
        Limb pc = Limb(p0 >> 64);
        const Limb low = AddCarry(Limb(p0), t[0], pc);
        const Limb q = low * mont.inverse;
        const Wide r0 = Wide(q) * m[0];
        Limb rc = Limb(r0 >> 64);
        (void)AddCarry(Limb(r0), low, rc);  // the low limb becomes 0
        _Pragma("GCC unroll 16") for (int j = 1; j < n; ++j) {
            const Wide p = Wide(a[j]) * bi;
            Limb ph = Limb(p >> 64);
            Limb pl = AddCarry(Limb(p), t[j], ph);
            pl = AddCarry(pl, pc, ph);
            pc = ph;
            const Wide r = Wide(q) * m[j];
            Limb rh = Limb(r >> 64);
            Limb rl = AddCarry(Limb(r), pl, rh);
            rl = AddCarry(rl, rc, rh);
            rc = rh;
            t[j - 1] = rl;
        }
        Limb c = 0;
        const Limb top = AddCarry(AddCarry(t[n], pc, c), rc, c);
        t[n - 1] = top;
        t[n] = t[n + 1] + c;
    }
    SubtractOnce(mont, t, t[n], n, out);  // t < 2m
}

/// out := a * a / 2^(64 n) mod m: the square's cross products once and
/// doubled, then the reduction, about a quarter fewer products than
/// ProductOf.
template <int N>
void SquareOf(Montgomery& mont, const Limb* a, Limb* out) {
    const int n = N > 0 ? N : mont.n;
    Limb* w = mont.w;
    std::fill(w, w + 2 * n, Limb{0});
    for (int i = 0; i + 1 < n; ++i) {  // a[i] a[j] for i < j
        Limb c = 0;
        _Pragma("GCC unroll 16") for (int j = i + 1; j < n; ++j) {
            const Wide p = Wide(a[i]) * a[j];
            Limb hi = Limb(p >> 64);
            Limb lo = AddCarry(Limb(p), w[i + j], hi);
            lo = AddCarry(lo, c, hi);
            w[i + j] = lo;
            c = hi;
        }
        w[i + n] = c;
    }
    Limb spill = 0;  // doubled, then the squares a[i]^2 on the diagonal
    for (int k = 0; k < 2 * n; ++k) {
        const Limb x = w[k];
        w[k] = (x << 1) | spill;
        spill = x >> 63;
    }
    Limb c = 0;
    for (int i = 0; i < n; ++i) {
        const Wide p = Wide(a[i]) * a[i];
        Limb hi = Limb(p >> 64);
        Limb cl = 0;
        w[2 * i] = AddCarry(AddCarry(w[2 * i], Limb(p), cl), c, cl);
        Limb ch = 0;
        w[2 * i + 1] = AddCarry(AddCarry(w[2 * i + 1], hi, ch), cl, ch);
        c = ch;
    }
    // Reduction: each row makes the lowest limb left 0 with q * m.
    Limb top = 0;
    for (int i = 0; i < n; ++i) {
        const Limb q = w[i] * mont.inverse;
        Limb rc = 0;
        _Pragma("GCC unroll 16") for (int j = 0; j < n; ++j) {
            const Wide r = Wide(q) * mont.m[j];
            Limb hi = Limb(r >> 64);
            Limb lo = AddCarry(Limb(r), w[i + j], hi);
            lo = AddCarry(lo, rc, hi);
            w[i + j] = lo;
            rc = hi;
        }
        Limb carry = 0;
        w[i + n] = AddCarry(AddCarry(w[i + n], rc, carry), top, carry);
        top = carry;
    }
    SubtractOnce(mont, w + n, top, n, out);
}

void MontgomerySquare(Montgomery& mont, const Limb* a, Limb* out) {
    QUARNEL_PATH_STEP(Product, 0);
    if (mont.n == kMaxLimbs) {
        SquareOf<kMaxLimbs>(mont, a, out);
    } else {
        SquareOf<0>(mont, a, out);
    }
}

void MontgomeryProduct(Montgomery& mont, const Limb* a, const Limb* b, Limb* out) {
    QUARNEL_PATH_STEP(Product, 0);
    if (mont.n == kMaxLimbs) {
        ProductOf<kMaxLimbs>(mont, a, b, out);  // 1024-bit moduli: the loops unrolled
    } else {
        ProductOf<0>(mont, a, b, out);
    }
}

/// x mod m for x of any length, as limbs (the general remainder).
void Residue(std::span<const Word> x, std::span<const Word> norm, int k, int shift, Limb* out,
             int n) {
    std::vector<Word> r(x.size() + 2);
    std::copy(x.begin(), x.end(), r.begin());
    int used = int(std::max<std::size_t>(x.size(), 1));
    ReduceWords(r, used, norm, k, shift);
    ToLimbs(std::span<const Word>(r.data(), std::size_t(used)), out, n);
    WipeBytes(r.data(), r.size() * sizeof(Word));
}

/// Top word of an odd modulus above one, or -1 for any other modulus.
int OddModulusTop(const Big& modulus) {
    int top = 31;
    while (top >= 0 && modulus[std::size_t(top)] == 0)
        --top;
    if ((modulus[0] & 1) == 0 || top < 0 || (top == 0 && modulus[0] == 1)) return -1;
    return top;
}

/// The Montgomery constants of an odd modulus, the base and 1 in Montgomery
/// form (into b and one), and the normalised modulus' word count.
int MontgomerySetUp(const Big& base, const Big& modulus, int top, Montgomery& mont, Limb* b,
                    Limb* one) {
    mont.n = top / 2 + 1;
    const int n = mont.n;
    ToLimbs(modulus, mont.m, n);
    Limb inv = mont.m[0];  // Newton: each step doubles the correct low bits
    for (int i = 0; i < 6; ++i)
        inv *= 2 - mont.m[0] * inv;
    mont.inverse = Limb(0) - inv;

    std::vector<Word> norm(std::size_t(top) + 1);
    int k = 0;
    int shift = 0;
    NormaliseModulus(std::span<const Word>(modulus.data(), std::size_t(top) + 1), norm, k, shift);
    // R^2 mod m with R = 2^(64 n), then the base and 1 in Montgomery form.
    std::vector<Word> r2(std::size_t(4 * n + 1), 0);
    r2.back() = 1;
    Limb rr[kMaxLimbs] = {};
    Residue(r2, norm, k, shift, rr, n);
    Limb plain[kMaxLimbs] = {};
    Residue(base, norm, k, shift, plain, n);
    MontgomeryProduct(mont, plain, rr, b);
    const Limb unit[kMaxLimbs] = {1};
    MontgomeryProduct(mont, unit, rr, one);
    WipeBytes(plain, sizeof plain);
    return k;
}

/// Leaves Montgomery form into `result`.
void MontgomeryResult(Montgomery& mont, const Limb* acc, Big& result) {
    const Limb unit[kMaxLimbs] = {1};
    Limb plain[kMaxLimbs];
    MontgomeryProduct(mont, acc, unit, plain);
    result = Big{};
    for (int i = 0; i < mont.n; ++i) {
        result[std::size_t(2 * i)] = Word(plain[i]);
        result[std::size_t(2 * i + 1)] = Word(plain[i] >> 32);
    }
    WipeBytes(plain, sizeof plain);
}

/// ModPow wipes its three working buffers from the generator: the others
/// move it on alike.
void SkipModPowWipes(std::size_t baseWords, int k) {
    SkipDraws(6 * std::uint64_t(std::max(baseWords, std::size_t(2 * k)) + 2));
}

/// ModPow for an odd modulus above one; false when the modulus is not such.
bool ModPowOdd(const Big& base, const Big& exponent, const Big& modulus, Big& result) {
    const int top = OddModulusTop(modulus);
    if (top < 0) return false;
    Montgomery mont;
    Limb b[kMaxLimbs] = {};
    Limb acc[kMaxLimbs] = {};  // starts at 1
    const int k = MontgomerySetUp(base, modulus, top, mont, b, acc);

    // Odd powers b, b^3, ..., b^31 for windows of up to 5 bits.
    Limb table[16][kMaxLimbs];
    Limb sq[kMaxLimbs];
    std::copy(b, b + kMaxLimbs, table[0]);
    MontgomeryProduct(mont, table[0], table[0], sq);
    for (int i = 1; i < 16; ++i)
        MontgomeryProduct(mont, table[i - 1], sq, table[i]);

    auto bit = [&](int i) { return (exponent[std::size_t(i / 32)] >> (i % 32)) & 1u; };
    for (int i = 1023; i >= 0;) {
        if (bit(i) == 0) {
            MontgomerySquare(mont, acc, acc);
            --i;
            continue;
        }
        int j = std::max(i - 4, 0);
        while (bit(j) == 0)
            ++j;
        unsigned digit = 0;
        for (int q = i; q >= j; --q) {
            digit = digit << 1 | bit(q);
            MontgomerySquare(mont, acc, acc);
        }
        QUARNEL_PATH_STEP(TableRead, digit >> 1);
        MontgomeryProduct(mont, acc, table[digit >> 1], acc);
        i = j - 1;
    }
    MontgomeryResult(mont, acc, result);
    // Powers of a secret exponent are secrets too.
    WipeBytes(table, sizeof table);
    WipeBytes(sq, sizeof sq);
    WipeBytes(acc, sizeof acc);
    WipeBytes(b, sizeof b);
    WipeBytes(&mont, sizeof mont);
    SkipModPowWipes(base.size(), k);
    return true;
}

constexpr int kWindow = 4;
constexpr int kEntries = 1 << kWindow;

/// out := table[index], reading every entry: the memory touched does not
/// depend on the index.
void SelectEntry(const Limb (&table)[kEntries][kMaxLimbs], int n, unsigned index, Limb* out) {
    std::fill(out, out + n, Limb{0});
    for (unsigned e = 0; e < unsigned(kEntries); ++e) {
        QUARNEL_PATH_STEP(TableRead, e);
        const Limb take = Limb(0) - Limb((e ^ index) == 0);
        for (int j = 0; j < n; ++j)
            out[j] |= table[e][j] & take;
    }
}

/// ModPowOdd in fixed 4-bit windows over all 1024 exponent bits: four
/// squarings and one product a window, the factor read by masks.
bool ModPowOddSecret(const Big& base, const Big& exponent, const Big& modulus, Big& result) {
    const int top = OddModulusTop(modulus);
    if (top < 0) return false;
    Montgomery mont;
    Limb table[kEntries][kMaxLimbs] = {};
    const int k = MontgomerySetUp(base, modulus, top, mont, table[1], table[0]);
    const int n = mont.n;
    for (int i = 2; i < kEntries; ++i)
        MontgomeryProduct(mont, table[i - 1], table[1], table[i]);

    Limb acc[kMaxLimbs];
    Limb factor[kMaxLimbs] = {};
    std::copy(table[0], table[0] + kMaxLimbs, acc);
    for (int w = 1024 / kWindow - 1; w >= 0; --w) {
        for (int q = 0; q < kWindow; ++q)
            MontgomerySquare(mont, acc, acc);
        const int at = w * kWindow;
        const unsigned digit = (exponent[std::size_t(at / 32)] >> (at % 32)) & (kEntries - 1);
        SelectEntry(table, n, digit, factor);
        MontgomeryProduct(mont, acc, factor, acc);
    }
    MontgomeryResult(mont, acc, result);
    WipeBytes(table, sizeof table);
    WipeBytes(acc, sizeof acc);
    WipeBytes(factor, sizeof factor);
    WipeBytes(&mont, sizeof mont);
    SkipModPowWipes(base.size(), k);
    return true;
}

/// The other moduli (even, 0, 1) in the same fixed sequence with the general
/// remainder: a product by b or by 1 for every bit. Such moduli carry no keys;
/// this keeps the results and the generator's moves equal to ModPow's.
Big ModPowOtherSecret(const Big& base, const Big& exponent, const Big& modulus) {
    Big result{};
    std::vector<Word> m(modulus.size());
    int k = 0;
    int shift = 0;
    NormaliseModulus(modulus, m, k, shift);
    if (k == 1 && m[0] == 0) return result;
    const std::size_t cap = std::max(base.size(), std::size_t(2 * k)) + 2;
    std::vector<Word> b(cap), r(cap), t(cap), f(cap);
    int ub = int(base.size());
    std::copy(base.begin(), base.end(), b.begin());
    ReduceWords(b, ub, m, k, shift);
    std::fill(b.begin() + ub, b.begin() + k, Word{0});
    int ur = 1;
    r[0] = 1;
    ReduceWords(r, ur, m, k, shift);
    for (int i = 1023; i >= 0; --i) {
        int ut = SquareWords(std::span<const Word>(r.data(), std::size_t(k)), t);
        ReduceWords(t, ut, m, k, shift);
        std::fill(t.begin() + ut, t.begin() + k, Word{0});
        const Word take = Word(0) - ((exponent[std::size_t(i / 32)] >> (i % 32)) & 1u);
        for (int j = 0; j < k; ++j)
            f[std::size_t(j)] = (b[std::size_t(j)] & take) | (Word(j == 0) & ~take);
        ur = MulWords(std::span<const Word>(t.data(), std::size_t(k)),
                      std::span<const Word>(f.data(), std::size_t(k)), r);
        ReduceWords(r, ur, m, k, shift);
        std::fill(r.begin() + ur, r.begin() + k, Word{0});
    }
    std::copy(r.begin(), r.begin() + std::min(ur, 32), result.begin());
    RandomWords(b);
    RandomWords(r);
    RandomWords(t);
    WipeBytes(f.data(), f.size() * sizeof(Word));
    return result;
}

}  // namespace

Big ModPowBig(const Big& base, const Big& exponent, const Big& modulus) {
    Big result{};
    if (ModPowOdd(base, exponent, modulus, result)) return result;
    int used = 0;
    (void)ModPow(base, exponent, modulus, result, used);
    return result;
}

Big ModPowBigSecret(const Big& base, const Big& exponent, const Big& modulus) {
    Big result{};
    if (ModPowOddSecret(base, exponent, modulus, result)) return result;
    return ModPowOtherSecret(base, exponent, modulus);
}

}  // namespace quarnel
