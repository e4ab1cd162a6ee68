// SPDX-License-Identifier: GPL-3.0-or-later
// The cipher's inner loops on 128-bit carry-less multiplication (PCLMULQDQ):
// four elements a pack, in four registers.

#include <immintrin.h>

#include <algorithm>
#include <cstdint>
#include <utility>

#include "crypto/gf127.h"

// clang has no GCC target pragma: it takes the features as a function attribute.
#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("pclmul,popcnt"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("pclmul,popcnt")
#endif

namespace quarnel::gf {
namespace clmul {

using X = __m128i;
inline X Xor(X a, X b) {
    return _mm_xor_si128(a, b);
}
inline X Xor3(X a, X b, X c) {
    return _mm_xor_si128(_mm_xor_si128(a, b), c);
}
template <int n>
inline X ShlQ(X a) {
    return _mm_slli_epi64(a, n);
}
template <int n>
inline X ShrQ(X a) {
    return _mm_srli_epi64(a, n);
}
inline X ShlLane8(X a) {
    return _mm_slli_si128(a, 8);
}
inline X ShrLane8(X a) {
    return _mm_srli_si128(a, 8);
}
inline X XorHigh(X c, X a) {
    return _mm_xor_si128(c, _mm_and_si128(a, _mm_set_epi64x(-1, 0)));
}
template <int imm>
inline X Clmul(X a, X b) {
    return _mm_clmulepi64_si128(a, b, imm);
}

#include "crypto/clmul_field.inc"

struct Pack {
    X v[4];
};

inline Pack PLoad(const U128* p) {
    Pack r;
    _Pragma("GCC unroll 4") for (int i = 0; i < 4; ++i) r.v[i] =
        _mm_loadu_si128(reinterpret_cast<const X*>(p + i));
    return r;
}
inline void PStore(U128* p, const Pack& a) {
    _Pragma("GCC unroll 4") for (int i = 0; i < 4; ++i)
        _mm_storeu_si128(reinterpret_cast<X*>(p + i), a.v[i]);
}
inline Pack PGather(const U128* t, const std::uint8_t* idx) {
    Pack r;
    _Pragma("GCC unroll 4") for (int i = 0; i < 4; ++i) r.v[i] =
        _mm_loadu_si128(reinterpret_cast<const X*>(t + idx[i]));
    return r;
}
template <Variant V, bool kShort = false>
inline Pack PMul(const Pack& a, const Pack& b) {
    Pack r;
    _Pragma("GCC unroll 4") for (int i = 0; i < 4; ++i) r.v[i] =
        MulLanes<V, kShort>(a.v[i], b.v[i]);
    return r;
}
template <Variant V, bool kShort = false>
inline Pack PSqr(const Pack& a) {
    Pack r;
    _Pragma("GCC unroll 4") for (int i = 0; i < 4; ++i) r.v[i] = SqrLanes<V, kShort>(a.v[i]);
    return r;
}
#include "crypto/cipher_kernel.inc"

}  // namespace clmul

const Kernel kClmulKernel = clmul::kKernel;

}  // namespace quarnel::gf

#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif
