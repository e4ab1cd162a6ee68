// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Keeping secrets out of core dumps: the whole process, and the large
// buffers of decrypted or plain text, which get whole pages of their own.
// Small secrets (keys, passwords, key-store lines) share their pages with
// everything else; only the process-wide setting keeps them out.

#include <cstddef>
#include <memory>

namespace quarnel {

/// No core dump of this process from now on: the core size limit 0 and, on
/// Linux, the process not dumpable (which also keeps other processes of the
/// same user from reading its memory). True when both took.
bool KeepOutOfCoreDumps();

/// A buffer of whole pages mapped for it alone and marked to be left out of
/// any core dump (MADV_DONTDUMP); overwritten with random words and unmapped
/// when released. Where pages cannot be mapped it falls back to ordinary
/// memory, still wiped.
class SecretPages {
  public:
    explicit SecretPages(std::size_t size);
    ~SecretPages();
    SecretPages(const SecretPages&) = delete;
    SecretPages& operator=(const SecretPages&) = delete;

    [[nodiscard]] char* data() { return data_; }
    [[nodiscard]] const char* data() const { return data_; }
    [[nodiscard]] std::size_t size() const { return size_; }
    /// Whether the pages are marked to stay out of core dumps.
    [[nodiscard]] bool outOfDumps() const { return outOfDumps_; }

  private:
    char* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t mapped_ = 0;        ///< bytes mapped; 0 for the fallback
    std::unique_ptr<char[]> heap_;  ///< the fallback
    bool outOfDumps_ = false;
};

}  // namespace quarnel
