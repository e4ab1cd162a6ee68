// SPDX-License-Identifier: GPL-3.0-or-later
#include "tool_support.h"

#include <algorithm>
#include <iostream>
#include <iterator>

#include "crypto/bignum.h"
#include "store/atomic_file.h"

namespace quarnel::tool {

Args::Args(std::vector<std::string> args, std::vector<std::string> flags)
    : args_(std::move(args)), flags_(std::move(flags)) {
    for (auto it = args_.begin(); it != args_.end();) {
        if (std::find(flags_.begin(), flags_.end(), *it) != flags_.end()) {
            setFlags_.push_back(*it);
            it = args_.erase(it);
        } else {
            ++it;
        }
    }
}

std::optional<std::string> Args::Option(const std::string& name) {
    for (auto it = args_.begin(); it != args_.end(); ++it) {
        if (*it == name) {
            if (std::next(it) == args_.end()) throw UsageError(name + " needs a value");
            std::string value = *std::next(it);
            args_.erase(it, it + 2);
            return value;
        }
    }
    return std::nullopt;
}

std::string Args::RequiredOption(const std::string& name) {
    auto v = Option(name);
    if (!v) throw UsageError("missing " + name);
    return *v;
}

bool Args::Flag(const std::string& name) const {
    return std::find(setFlags_.begin(), setFlags_.end(), name) != setFlags_.end();
}

std::vector<std::string> Args::Positional(std::size_t min, std::size_t max) {
    for (const auto& a : args_) {
        if (a.size() > 2 && a.rfind("--", 0) == 0) throw UsageError("unknown option " + a);
    }
    if (args_.size() < min) throw UsageError("missing argument");
    if (args_.size() > max) throw UsageError("unexpected argument \"" + args_[max] + "\"");
    return args_;
}

Quad ParseQuadArg(std::string_view what, std::string_view text) {
    Quad q{};
    int used = 0;
    if (!HexToWords(text, q, used)) {
        throw UsageError(std::string(what) + " \"" + std::string(text) +
                         "\" is not a hexadecimal number of at most 32 digits");
    }
    return q;
}

std::vector<unsigned> ParseWordsArg(std::string_view what, std::string_view text) {
    std::vector<Word> words((text.size() + 7) / 8 + 1);
    int used = 0;
    if (!HexToWords(text, words, used)) {
        throw UsageError(std::string(what) + " \"" + std::string(text) +
                         "\" is not a hexadecimal number");
    }
    words.resize(std::size_t(used));
    return words;
}

std::string ReadFile(const std::filesystem::path& path) {
    auto bytes = ReadWholeFile(path);
    if (!bytes) throw UsageError("cannot read " + path.string());
    return std::move(*bytes);
}

std::string ReadInput(const std::vector<std::string>& positional) {
    if (positional.empty() || positional[0] == "-") {
        return std::string(std::istreambuf_iterator<char>(std::cin), {});
    }
    return ReadFile(positional[0]);
}

void WriteOutput(const std::optional<std::string>& name, std::string_view bytes) {
    if (!name || *name == "-") {
        std::cout.write(bytes.data(), std::streamsize(bytes.size()));
        return;
    }
    std::string why;
    if (!WriteFileAtomically(*name, bytes, &why)) throw UsageError(why);
}

std::string Escaped(std::string_view utf8) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x20 || c == 0x7F) {
            out += {'\\', 'x', kHex[c >> 4], kHex[c & 15]};
        } else if (c == 0xC2 && i + 1 < utf8.size() &&
                   static_cast<unsigned char>(utf8[i + 1]) >= 0x80 &&
                   static_cast<unsigned char>(utf8[i + 1]) <= 0x9F) {
            const auto code = static_cast<unsigned char>(utf8[++i]);
            out += {'\\', 'u', '0', '0', kHex[code >> 4], kHex[code & 15]};
        } else {
            out += char(c);
        }
    }
    return out;
}

}  // namespace quarnel::tool
