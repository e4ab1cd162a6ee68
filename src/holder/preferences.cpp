// SPDX-License-Identifier: GPL-3.0-or-later
#include "holder/preferences.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <string_view>
#include <system_error>

#include "store/atomic_file.h"

namespace quarnel {

namespace {

constexpr std::string_view kAutoRetrievalKey = "autoRetrieval";
constexpr std::string_view kRetrievalMinutesKey = "retrievalMinutes";

bool IsKeyCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '.' || c == '-';
}

bool HoldsControl(std::string_view line) {
    return std::any_of(line.begin(), line.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return (u < 0x20 && c != '\t') || u == 0x7F;
    });
}

std::optional<long long> Number(std::string_view text) {
    long long value = 0;
    const char* end = text.data() + text.size();
    // Ten characters at most: anything longer is no period anybody meant.
    if (text.empty() || text.size() > 10) return std::nullopt;
    const auto [at, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || at != end) return std::nullopt;
    return value;
}

/// Reads one line into `prefs`; false when it is not a line of this file.
bool ReadLine(std::string_view line, Preferences& prefs) {
    if (line.empty()) return true;
    if (HoldsControl(line)) return false;
    if (line.front() == '#') {
        prefs.otherLines.emplace_back(line);
        return true;
    }
    const std::size_t eq = line.find('=');
    if (eq == 0 || eq == std::string_view::npos) return false;
    const std::string_view key = line.substr(0, eq);
    const std::string_view value = line.substr(eq + 1);
    if (!std::all_of(key.begin(), key.end(), IsKeyCharacter)) return false;
    if (key == kAutoRetrievalKey) {
        if (value != "0" && value != "1") return false;
        prefs.autoRetrieval = value == "1";
    } else if (key == kRetrievalMinutesKey) {
        const auto minutes = Number(value);
        if (!minutes) return false;
        prefs.retrievalMinutes = ClampRetrievalMinutes(*minutes);
    } else {
        prefs.otherLines.emplace_back(line);
    }
    return true;
}

std::string Serialize(const Preferences& prefs) {
    std::string bytes;
    bytes += std::string(kAutoRetrievalKey) + '=' + (prefs.autoRetrieval ? "1" : "0") + "\r\n";
    bytes +=
        std::string(kRetrievalMinutesKey) + '=' + std::to_string(prefs.retrievalMinutes) + "\r\n";
    // Never more than a load takes back.
    for (const std::string& line : prefs.otherLines) {
        if (bytes.size() + line.size() + 2 <= kMaxPreferencesFileBytes) bytes += line + "\r\n";
    }
    return bytes;
}

}  // namespace

int ClampRetrievalMinutes(long long minutes) {
    return int(std::clamp<long long>(minutes, kMinRetrievalMinutes, kMaxRetrievalMinutes));
}

PreferencesLoad LoadPreferences(const std::filesystem::path& dataFolder, Preferences& prefs,
                                std::string* reason) {
    prefs = Preferences();
    const std::filesystem::path file = dataFolder / kPreferencesFileName;
    auto damaged = [&](std::string why) {
        prefs = Preferences();
        prefs.damaged = true;
        if (reason) *reason = std::move(why);
        return PreferencesLoad::Damaged;
    };
    std::error_code ec;
    if (!std::filesystem::exists(file, ec) && !ec) return PreferencesLoad::Missing;
    const std::uintmax_t size = std::filesystem::file_size(file, ec);
    if (ec) return damaged("cannot read " + file.string());
    if (size > kMaxPreferencesFileBytes) {
        return damaged(std::to_string(size) + " bytes, more than " +
                       std::to_string(kMaxPreferencesFileBytes));
    }
    const std::optional<std::string> bytes = ReadWholeFile(file);
    if (!bytes) return damaged("cannot read " + file.string());
    std::string_view rest = *bytes;
    for (int number = 1; !rest.empty(); ++number) {
        const std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!ReadLine(line, prefs)) return damaged("line " + std::to_string(number));
    }
    return PreferencesLoad::Loaded;
}

SaveResult SavePreferences(Preferences& prefs, const std::filesystem::path& dataFolder,
                           const SaveFailureHandler& onFailure) {
    const std::filesystem::path file = dataFolder / kPreferencesFileName;
    if (prefs.damaged) {
        if (const auto ended = KeepDamagedFile(file, onFailure, nullptr)) return *ended;
        prefs.damaged = false;
    }
    return SaveBytesWithRetry(file, Serialize(prefs), onFailure);
}

}  // namespace quarnel
