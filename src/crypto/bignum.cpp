#include "crypto/bignum.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <vector>

#include "crypto/random.h"

namespace quarnel {
namespace {

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

constexpr char kDigits[] = "0123456789ABCDEF";

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
        s[std::size_t(i)] = kDigits[w & 0xF];
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

Word HexToWord(std::string_view text) {
    std::array<Word, 1> w{};
    int used = 0;
    (void)HexToWords(text, w, used);
    return w[0];
}

Quad HexToQuad(std::string_view text) {
    Quad q{};
    int used = 0;
    (void)HexToWords(text, q, used);
    return q;
}

Big HexToBig(std::string_view text) {
    Big b{};
    int used = 0;
    (void)HexToWords(text, b, used);
    return b;
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

Big ModPowBig(const Big& base, const Big& exponent, const Big& modulus) {
    Big result{};
    int used = 0;
    (void)ModPow(base, exponent, modulus, result, used);
    return result;
}

}  // namespace quarnel
