#pragma once
// A holder's files in a fresh data folder, shaped as the tests need: the
// settings file, a key store whose own record carries a seal that matches
// the settings (as the TA would issue it), correspondent lists, the queue.

#include <filesystem>
#include <string>
#include <vector>

#include "crypto/records.h"
#include "store/holder_context.h"
#include "temp_dir.h"

namespace quarnel::test {

/// A complete settings value for a category, folders under `data`.
Settings SampleSettings(char category, const std::filesystem::path& data);

/// The inverse of a key's value modulo 2^127 - 1: the key that deciphers
/// what `key` enciphers.
Quad InverseKey(const Quad& key);

/// An own key record of 6 lines whose seal opens, with the signing key of
/// generation digit `digit`, into the settings digest of `number` and
/// `identity`; `registered` is the registration flag.
Record SealedOwnRecord(const std::string& number, const std::vector<std::string>& identity,
                       char registered = '1');

/// A correspondent record that passes the list check.
Record CorrespondentRecord(char category, const std::string& number);

class HolderFiles {
    TempDir dir_;  // first: the settings are made under it

  public:
    explicit HolderFiles(char category = 'F');

    const std::filesystem::path& Data() const { return dir_.path(); }
    std::filesystem::path operator/(const std::string& name) const { return dir_ / name; }

    Settings settings;
    std::string number = "1F400000123";

    /// Writes QuarnelTit.ini from `settings`.
    void WriteSettings() const;
    void WriteLines(const std::string& name, const std::vector<std::string>& lines) const;
    /// Writes QuarnelTit.kpr: one sealed own record (optionally older
    /// records first).
    void WriteKeyStore(const RecordList& store) const;
    RecordList SealedStore() const;
    void WriteList(const std::string& name, const RecordList& list) const;
};

}  // namespace quarnel::test
