// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Certification of a signature: the certification data, the saved decrypted
// message (header text followed by the message) and its reading with the
// digest confirmation, and the glue that has a certification request sent for
// a decrypted message or a saved file.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "crypto/text_cipher.h"
#include "messages/message_state.h"

namespace quarnel {

/// Address line, digest, signature and date-time text joined by carriage
/// returns: what request kind 18 carries.
std::string CertificationDataText(const std::string& addressLine, const std::string& digest,
                                  const std::string& signature, const std::string& dateTime);

/// A saved decrypted message as plain text: the header text lines, each
/// followed by CR LF, then the message text byte for byte.
std::string SavedMessageBytes(const DecryptedMessage& message);

/// The largest file opened for certification (a saved message is read whole).
inline constexpr std::uintmax_t kMaxSavedMessageBytes = std::uintmax_t(64) << 20;

/// A saved decrypted message read back for certification.
struct SavedMessage {
    std::string addressLine;  ///< line 1
    std::string digest;       ///< line 4
    std::string signature;    ///< line 5
    std::string dateTime;     ///< line 9: the moment of encryption as text
    char category = 0;        ///< line 8, first character
    char registrationFlag = 0;
    std::vector<std::string> senderFields;
    SenderView sender;
    /// The first line of the message: 20 (A), 21 (C), 22 (D, F); 0 for an
    /// unknown category (then nothing is deleted and nothing confirmed).
    std::size_t messageLine = 0;
    std::string messageText;
    bool confirmed = false;
    Verdict confirmation;
    std::string certificationData;
};

/// Reads the header part from the lines of a loaded file. False when the file
/// has fewer lines than the header of its category needs (not a saved
/// decrypted message).
[[nodiscard]] bool ReadSavedHeader(const Lines& lines, SavedMessage& out);

/// The digest check over the message text that remains once the header lines
/// are deleted (for an RTF file, the editor's RTF source of what remains).
void ConfirmSavedMessage(SavedMessage& saved, std::string messageText);

/// A saved file read as plain text: the header from its first lines, and the
/// message = the bytes after the header lines, unchanged. False when it is not
/// a saved decrypted message.
[[nodiscard]] bool ReadSavedMessageText(std::string_view bytes, SavedMessage& out);

/// Builds request 18 from MessageState::certificationData and runs the
/// exchange with the TA (the authority's certification sequence); true when a
/// certificate came.
using CertificationSender = std::function<bool()>;

enum class CertifyResult {
    Delivered,     ///< the sender has the certificate
    Failed,        ///< the request could not be built or the exchange failed
    NotConfirmed,  ///< the saved message's digest is not confirmed: nothing sent
    NoMessage,     ///< nothing was decrypted yet: nothing sent
};

/// From the message viewer: the data of the message shown (even when a saved
/// file was opened for certification meanwhile).
[[nodiscard]] CertifyResult CertifyDecryptedMessage(MessageState& msgs,
                                                    const CertificationSender& send);

/// From a saved file: only when its digest is confirmed.
[[nodiscard]] CertifyResult CertifySavedMessage(MessageState& msgs, const SavedMessage& saved,
                                                const CertificationSender& send);

}  // namespace quarnel
