// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Buffers for secrets: overwritten with random words, never zeros, when they
// are released.

#include <array>
#include <cstddef>
#include <string>
#include <utility>

#include "crypto/generator.h"
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

/// N words that wipe themselves with random words (moving the generator) when
/// released, if they hold a secret. Move-only: a move hands the secret on and
/// overwrites the source from the wipe stream, which does not move the
/// generator, so a secret moves the generator once, where its last holder
/// releases it.
template <std::size_t N>
class SecretWords {
  public:
    using Words = std::array<Word, N>;

    /// Zeros and no secret: released without a wipe until written through
    /// operator* or ->.
    SecretWords() = default;
    explicit SecretWords(const Words& w) : words_(w), held_(true) {}
    /// Takes the words of `source` and wipes it there and then, as WipeQuad
    /// or WipeBig would.
    [[nodiscard]] static SecretWords TakeFrom(Words& source) {
        SecretWords s(source);
        RandomWords(source);
        return s;
    }

    SecretWords(SecretWords&& other) noexcept : words_(other.words_), held_(other.held_) {
        other.Forget();
    }
    SecretWords& operator=(SecretWords&& other) noexcept {
        if (this != &other) {
            words_ = other.words_;  // overwrites the secret held, if any
            held_ = other.held_;
            other.Forget();
        }
        return *this;
    }
    SecretWords(const SecretWords&) = delete;
    SecretWords& operator=(const SecretWords&) = delete;
    ~SecretWords() {
        if (held_) RandomWords(words_);
    }

    /// Wipes now, as WipeQuad or WipeBig would; the release then wipes no more.
    void Wipe() {
        RandomWords(words_);
        held_ = false;
    }
    /// Wipes from the wipe stream, without moving the generator, for copies
    /// whose release the generator's sequence does not count.
    void Forget() {
        WipeBytes(words_.data(), sizeof words_);
        held_ = false;
    }

    [[nodiscard]] const Words& Get() const { return words_; }
    Words& operator*() {
        held_ = true;
        return words_;
    }
    const Words& operator*() const { return words_; }
    Words* operator->() {
        held_ = true;
        return &words_;
    }
    const Words* operator->() const { return &words_; }

  private:
    Words words_{};
    bool held_ = false;
};

using SecretQuad = SecretWords<4>;
using SecretBig = SecretWords<32>;

/// A text (password, key line) that wipes itself when released. Move-only:
/// the source of a move is overwritten without moving the generator and left
/// empty.
class SecretString {
  public:
    SecretString() = default;
    explicit SecretString(std::string s) : s_(std::move(s)) {}
    SecretString(SecretString&& other) noexcept : s_(std::move(other.s_)) { other.Forget(); }
    SecretString& operator=(SecretString&& other) noexcept {
        if (this != &other) {
            Forget();
            s_ = std::move(other.s_);
            other.Forget();
        }
        return *this;
    }
    SecretString(const SecretString&) = delete;
    SecretString& operator=(const SecretString&) = delete;
    ~SecretString() { WipeString(s_); }

    [[nodiscard]] const std::string& Get() const { return s_; }
    std::string& operator*() { return s_; }
    const std::string& operator*() const { return s_; }
    std::string* operator->() { return &s_; }
    const std::string* operator->() const { return &s_; }

  private:
    /// Overwrites every byte the string's buffer holds (the short-string
    /// buffer keeps bytes that a move leaves behind) and empties it.
    void Forget() {
        s_.resize(s_.capacity());
        WipeBytes(s_.data(), s_.size());
        s_.clear();
    }

    std::string s_;
};

}  // namespace quarnel
