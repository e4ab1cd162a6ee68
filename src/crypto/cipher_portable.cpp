// SPDX-License-Identifier: GPL-3.0-or-later
// The cipher's inner loops on plain 64-bit integers: for processors without
// carry-less multiplication.

#include <algorithm>
#include <cstdint>
#include <utility>

#include "crypto/gf127.h"

namespace quarnel::gf {
namespace portable {

struct Pack {
    U128 e[4];
};

inline Pack PLoad(const U128* p) {
    return Pack{{p[0], p[1], p[2], p[3]}};
}
inline void PStore(U128* p, const Pack& v) {
    _Pragma("GCC unroll 4") for (int i = 0; i < 4; ++i) p[i] = v.e[i];
}
inline Pack PGather(const U128* t, const std::uint8_t* idx) {
    return Pack{{t[idx[0]], t[idx[1]], t[idx[2]], t[idx[3]]}};
}
template <Variant V, bool kShort = false>
inline Pack PMul(const Pack& a, const Pack& b) {
    Pack r;
    _Pragma("GCC unroll 4") for (int i = 0; i < 4; ++i) r.e[i] = MulPortable<V>(a.e[i], b.e[i]);
    return r;
}
template <Variant V, bool kShort = false>
inline Pack PSqr(const Pack& a) {
    Pack r;
    _Pragma("GCC unroll 4") for (int i = 0; i < 4; ++i) r.e[i] = SqrPortable<V>(a.e[i]);
    return r;
}
using E = U128;
inline E ELoad(const U128* p) {
    return *p;
}
inline void EStore(U128* p, E e) {
    *p = e;
}
inline E EXor(E a, E b) {
    return a ^ b;
}
template <Variant V, bool kShort = false>
inline E EMul(E a, E b) {
    return MulPortable<V>(a, b);
}

#include "crypto/cipher_kernel.inc"

}  // namespace portable

const Kernel kPortableKernel = portable::kKernel;

}  // namespace quarnel::gf
