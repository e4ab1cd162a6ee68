// SPDX-License-Identifier: GPL-3.0-or-later
#include "crypto/secret_memory.h"

#include "crypto/generator.h"

#if defined(__linux__)
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace quarnel {

bool KeepOutOfCoreDumps() {
#if defined(__linux__)
    const rlimit none{0, 0};
    const bool limited = ::setrlimit(RLIMIT_CORE, &none) == 0;
    const bool undumpable = ::prctl(PR_SET_DUMPABLE, 0, 0, 0, 0) == 0;
    return limited && undumpable;
#else
    return false;
#endif
}

SecretPages::SecretPages(std::size_t size) : size_(size) {
    if (size == 0) return;
#if defined(__linux__)
    const auto page = std::size_t(::sysconf(_SC_PAGESIZE));
    const std::size_t length = (size + page - 1) / page * page;
    void* p = ::mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p != MAP_FAILED) {
        data_ = static_cast<char*>(p);
        mapped_ = length;
        outOfDumps_ = ::madvise(p, length, MADV_DONTDUMP) == 0;
        return;
    }
#endif
    heap_ = std::make_unique<char[]>(size);
    data_ = heap_.get();
}

SecretPages::~SecretPages() {
    if (!data_) return;
    WipeBytes(data_, size_);
#if defined(__linux__)
    if (mapped_ > 0) ::munmap(data_, mapped_);
#endif
}

}  // namespace quarnel
