// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The messages subsystem's data: the message being written and its
// correspondent, what the last encryption wrote, and the last decrypted
// message with what certification needs of it.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "crypto/records.h"
#include "crypto/text_cipher.h"
#include "holder/verdict.h"
#include "protocol/kinds.h"

namespace quarnel {

/// A line for a log: a resource number and its %s.
struct Notice {
    int text = 0;
    std::string detail;
    bool operator==(const Notice&) const = default;
};

/// The sender of a received message as the viewers show it.
struct SenderView {
    Verdict registration;  ///< registered (positive) or not
    int firmLabel = 0;     ///< resource number; 0 = no firm line (category A)
    std::string firm;      ///< profession, company or organisation
    std::string name;
    std::string locality;
    std::string email;
    std::string affiliation;  ///< the sender's affiliation number
    std::string date;         ///< "dd/mm/yyyy" and "hh:nn:ss" of the encryption,
    std::string time;         ///< shown as "Chiffré le %s à %s"
};

/// What the last decryption of a user message produced.
struct DecryptedMessage {
    /// PlainMessage, RichMessage (the text is RTF source); nothing yet.
    std::optional<Kind> kind;
    std::string text;
    std::string addressLine;
    std::string digest;      ///< the deciphered message digest, 32 digits
    std::string signature;   ///< the signature line as received
    double encryptedAt = 0;  ///< the moment of encryption (section 2)
    char senderCategory = 0;
    char registrationFlag = '0';
    std::string versionCode;
    std::vector<std::string> senderFields;
    bool identityConfirmed = false;
    /// Saved and printed before the message.
    std::vector<std::string> headerText;
    SenderView sender;
    Verdict confirmation;
    /// The decrypted attachment files, in the order of the body.
    std::vector<std::filesystem::path> attachments;
    /// What happened to the attachments (missing, undecipherable, refused name,
    /// saved under another name because the name was taken).
    std::vector<Notice> notices;
};

struct MessageState {
    // --- the message being written (correspondents window, composer)
    /// The correspondent: its list's category and its record.
    char recipientCategory = 0;
    Record recipientRecord;
    /// The composer's attachments, full paths in order.
    std::vector<std::filesystem::path> attachments;
    /// For the sending window: the subject typed in the composer (never
    /// enciphered) and the recipient's e-mail address.
    std::string subject;
    std::string recipientAddress;
    /// The encrypted attachment files written by the last encryption, in order.
    std::vector<std::filesystem::path> encryptedAttachments;

    // --- received
    /// The names taken off the end of the last received body.
    std::vector<std::string> receivedAttachmentNames;
    /// The last decrypted message.
    DecryptedMessage decrypted;
    /// Kind 18: address line, digest, signature and date-time text of the
    /// message to certify, joined by carriage returns (set by decryption).
    std::string certificationData;
};

}  // namespace quarnel
