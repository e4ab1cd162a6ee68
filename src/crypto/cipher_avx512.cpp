// SPDX-License-Identifier: GPL-3.0-or-later
// The cipher's inner loops on AVX-512 with 512-bit carry-less multiplication
// (VPCLMULQDQ): four elements a register.

#include <immintrin.h>

#include <algorithm>
#include <cstdint>
#include <utility>

#include "crypto/gf127.h"

// clang has no GCC target pragma: it takes the features as a function attribute.
#if defined(__clang__)
#pragma clang attribute push(                                                               \
    __attribute__((target("avx512f,avx512vl,avx512bw,avx512dq,vpclmulqdq,pclmul,popcnt"))), \
    apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx512f,avx512vl,avx512bw,avx512dq,vpclmulqdq,pclmul,popcnt")
#endif

namespace quarnel::gf {
namespace avx512 {

using X = __m128i;
using Z = __m512i;
// GCC 12 warns falsely inside _mm512_slli_epi64 and kin: shift through
// vector extensions instead (the same instructions).
typedef unsigned long long Qwords8 __attribute__((vector_size(64)));

inline X Xor(X a, X b) {
    return _mm_xor_si128(a, b);
}
inline Z Xor(Z a, Z b) {
    return _mm512_xor_si512(a, b);
}
inline X Xor3(X a, X b, X c) {
    return _mm_ternarylogic_epi64(a, b, c, 0x96);
}
inline Z Xor3(Z a, Z b, Z c) {
    return _mm512_ternarylogic_epi64(a, b, c, 0x96);
}
template <int n>
inline X ShlQ(X a) {
    return _mm_slli_epi64(a, n);
}
template <int n>
inline Z ShlQ(Z a) {
    return Z(Qwords8(a) << n);
}
template <int n>
inline X ShrQ(X a) {
    return _mm_srli_epi64(a, n);
}
template <int n>
inline Z ShrQ(Z a) {
    return Z(Qwords8(a) >> n);
}
inline X ShlLane8(X a) {
    return _mm_bslli_si128(a, 8);
}
inline Z ShlLane8(Z a) {
    return _mm512_bslli_epi128(a, 8);
}
inline X ShrLane8(X a) {
    return _mm_bsrli_si128(a, 8);
}
inline Z ShrLane8(Z a) {
    return _mm512_bsrli_epi128(a, 8);
}
inline X XorHigh(X c, X a) {
    return _mm_mask_xor_epi64(c, 0x2, c, a);
}
inline Z XorHigh(Z c, Z a) {
    return _mm512_mask_xor_epi64(c, 0xAA, c, a);
}
template <int imm>
inline X Clmul(X a, X b) {
    return _mm_clmulepi64_si128(a, b, imm);
}
template <int imm>
inline Z Clmul(Z a, Z b) {
    return _mm512_clmulepi64_epi128(a, b, imm);
}

#include "crypto/clmul_field.inc"

using Pack = Z;

inline Pack PLoad(const U128* p) {
    return _mm512_loadu_si512(p);
}
inline void PStore(U128* p, Pack a) {
    _mm512_storeu_si512(p, a);
}
inline Pack PGather(const U128* t, const std::uint8_t* idx) {
    Z r = _mm512_castsi128_si512(ELoad(t + idx[0]));
    r = _mm512_inserti32x4(r, ELoad(t + idx[1]), 1);
    r = _mm512_inserti32x4(r, ELoad(t + idx[2]), 2);
    return _mm512_inserti32x4(r, ELoad(t + idx[3]), 3);
}
template <Variant V, bool kShort = false>
inline Pack PMul(Pack a, Pack b) {
    return MulLanes<V, kShort>(a, b);
}
template <Variant V, bool kShort = false>
inline Pack PSqr(Pack a) {
    return SqrLanes<V, kShort>(a);
}
#include "crypto/cipher_kernel.inc"

}  // namespace avx512

const Kernel kAvx512Kernel = avx512::kKernel;

}  // namespace quarnel::gf

#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif
