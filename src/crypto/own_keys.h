// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Working keys derived from the key store's records, the sealed digest of the
// own record, and the stored mailbox password.
//
// Record lines: 0 affiliation number, 1 TA key of the generation, 2 stored
// private key, 3 sealed digest, 4-5 header-only enciphered text, 6 masked
// mailbox password.

#include <string>

#include "crypto/records.h"
#include "crypto/secret.h"
#include "crypto/text_cipher.h"
#include "crypto/types.h"

namespace quarnel {

/// Move-only: both keys are wiped when released (nothing is held, and nothing
/// drawn, when the derivation failed).
struct OwnKey {
    SecretQuad key;    ///< the derived key
    SecretQuad taKey;  ///< line 1 of the record used: the TA key of that generation
    std::size_t record = 0;
};

/// The record named by the generation digit among the last 16 records: fails
/// when the digit is not below the number of records.
[[nodiscard]] bool SelectKeyRecord(const RecordList& store, char digit, std::size_t& record);

/// Signing key := CipherBlock(line 2, line 1, encipher) of the selected record.
[[nodiscard]] bool OwnSigningKey(const RecordList& store, char digit, OwnKey& out);
/// Unwrapping key := CipherBlock(S, S, encipher), S the signing key.
[[nodiscard]] bool OwnUnwrappingKey(const RecordList& store, char digit, OwnKey& out);

struct RecordSeal {
    std::string sealed;     ///< 32 digits: the sealed digest
    DecipheredText header;  ///< date-time, code and the two fields (text empty)
};

/// Opens lines 3-5 of the current (last) record with the own signing key.
[[nodiscard]] bool ReadRecordSeal(const RecordList& store, const Quad& signingKey, RecordSeal& out);

/// Writes the masked password as line 6 of the current record (appended to a
/// 6-line record, replaced in a 7-line one; other records are left alone).
/// Returns false when nothing was written.
bool StoreMailPassword(RecordList& store, char digit, std::string_view password);

/// Reads line 6 of the current record back, trailing blanks removed.
[[nodiscard]] bool ReadMailPassword(const RecordList& store, char digit, std::string& password);

}  // namespace quarnel
