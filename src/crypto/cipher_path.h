// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The implementations of the cipher's inner loops, chosen at run time by the
// processor's features. Every path gives the same bits; tests and benchmarks
// force each one in turn.

namespace quarnel {

enum class CipherPath : int {
    Portable = 0,  ///< plain 64-bit integer code
    Clmul = 1,     ///< 128-bit carry-less multiplication (PCLMULQDQ)
    Avx512 = 2,    ///< AVX-512 with 512-bit carry-less multiplication (VPCLMULQDQ)
};

/// True when this processor can run the path.
[[nodiscard]] bool CipherPathSupported(CipherPath path);
/// The fastest path this processor supports: the one in use unless forced.
[[nodiscard]] CipherPath BestCipherPath();
/// The path in use.
[[nodiscard]] CipherPath ActiveCipherPath();
/// Uses `path` from now on; false, with nothing changed, when the processor
/// lacks it. Not to be called while another thread enciphers.
bool ForceCipherPath(CipherPath path);
[[nodiscard]] const char* CipherPathName(CipherPath path);

}  // namespace quarnel
