#pragma once
// Buffers for secrets: overwritten with random words, never zeros, when they
// are released.

#include <array>
#include <cstddef>
#include <string>
#include <utility>

#include "crypto/random.h"
#include "crypto/types.h"

namespace quarnel {

/// Overwrites every byte of `s` in place with random hexadecimal digits
/// (the length is kept, so no copy of the old bytes is left behind).
void WipeString(std::string& s);

/// Overwrites every line in place with random hexadecimal text.
template <typename Container>
void WipeLines(Container& lines) {
    for (auto& line : lines)
        WipeString(line);
}

/// N words that wipe themselves when released.
template <std::size_t N>
class SecretWords {
  public:
    SecretWords() = default;
    explicit SecretWords(const std::array<Word, N>& w) : words_(w) {}
    SecretWords(const SecretWords&) = delete;
    SecretWords& operator=(const SecretWords&) = delete;
    ~SecretWords() { RandomWords(words_); }

    std::array<Word, N>& operator*() { return words_; }
    const std::array<Word, N>& operator*() const { return words_; }
    std::array<Word, N>* operator->() { return &words_; }
    const std::array<Word, N>* operator->() const { return &words_; }

  private:
    std::array<Word, N> words_{};
};

using SecretQuad = SecretWords<4>;
using SecretBig = SecretWords<32>;

/// A text (password, key line) that wipes itself when released.
class SecretString {
  public:
    SecretString() = default;
    explicit SecretString(std::string s) : s_(std::move(s)) {}
    SecretString(const SecretString&) = delete;
    SecretString& operator=(const SecretString&) = delete;
    ~SecretString() { WipeString(s_); }

    std::string& operator*() { return s_; }
    const std::string& operator*() const { return s_; }
    std::string* operator->() { return &s_; }
    const std::string* operator->() const { return &s_; }

  private:
    std::string s_;
};

}  // namespace quarnel
