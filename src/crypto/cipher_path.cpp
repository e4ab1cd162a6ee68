// SPDX-License-Identifier: GPL-3.0-or-later
#include "crypto/cipher_path.h"

#include <atomic>

#include "crypto/gf127.h"

namespace quarnel {
namespace {

const gf::Kernel& KernelOf(CipherPath path) {
    switch (path) {
        case CipherPath::Avx512:
            return gf::kAvx512Kernel;
        case CipherPath::Clmul:
            return gf::kClmulKernel;
        case CipherPath::Portable:
            break;
    }
    return gf::kPortableKernel;
}

std::atomic<const gf::Kernel*> g_active{nullptr};
std::atomic<CipherPath> g_activePath{CipherPath::Portable};

}  // namespace

bool CipherPathSupported(CipherPath path) {
    __builtin_cpu_init();
    const bool clmul = __builtin_cpu_supports("pclmul") && __builtin_cpu_supports("popcnt");
    switch (path) {
        case CipherPath::Portable:
            return true;
        case CipherPath::Clmul:
            return clmul;
        case CipherPath::Avx512:
            return clmul && __builtin_cpu_supports("avx512f") &&
                   __builtin_cpu_supports("avx512vl") && __builtin_cpu_supports("avx512bw") &&
                   __builtin_cpu_supports("avx512dq") && __builtin_cpu_supports("vpclmulqdq");
    }
    return false;
}

CipherPath BestCipherPath() {
    for (CipherPath p : {CipherPath::Avx512, CipherPath::Clmul}) {
        if (CipherPathSupported(p)) return p;
    }
    return CipherPath::Portable;
}

CipherPath ActiveCipherPath() {
    (void)gf::ActiveKernel();
    return g_activePath.load(std::memory_order_relaxed);
}

bool ForceCipherPath(CipherPath path) {
    if (!CipherPathSupported(path)) return false;
    g_activePath.store(path, std::memory_order_relaxed);
    g_active.store(&KernelOf(path), std::memory_order_release);
    return true;
}

const char* CipherPathName(CipherPath path) {
    switch (path) {
        case CipherPath::Avx512:
            return "avx512";
        case CipherPath::Clmul:
            return "clmul";
        case CipherPath::Portable:
            break;
    }
    return "portable";
}

namespace gf {

const Kernel& ActiveKernel() {
    const Kernel* k = g_active.load(std::memory_order_acquire);
    if (k == nullptr) {
        (void)ForceCipherPath(BestCipherPath());
        k = g_active.load(std::memory_order_acquire);
    }
    return *k;
}

}  // namespace gf
}  // namespace quarnel
