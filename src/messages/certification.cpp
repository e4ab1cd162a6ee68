// SPDX-License-Identifier: GPL-3.0-or-later
#include "messages/certification.h"

#include "crypto/bignum.h"
#include "crypto/compare.h"
#include "crypto/datetime.h"
#include "messages/decryption.h"
#include "messages/texts.h"
#include "protocol/body.h"
#include "protocol/lines.h"
#include "store/atomic_file.h"

namespace quarnel {
namespace {

// Line indices of a saved decrypted message.
constexpr std::size_t kAddressLine = 1;
constexpr std::size_t kDigestLine = 4;
constexpr std::size_t kSignatureLine = 5;
constexpr std::size_t kInformationLine = 8;
constexpr std::size_t kDateTimeLine = 9;
constexpr std::size_t kFirstFieldLine = 12;
constexpr std::size_t kLongestHeader = 22;

// Identity fields by category; 0 for a category the viewers do not know.
std::size_t FieldCount(char category) {
    switch (category) {
        case 'A':
            return 6;
        case 'C':
            return 7;
        case 'D':
        case 'F':
            return 8;
        default:
            return 0;
    }
}

std::string Part(const std::string& s, std::size_t from, std::size_t count) {
    return from < s.size() ? s.substr(from, count) : std::string();
}

}  // namespace

std::string CertificationDataText(const std::string& addressLine, const std::string& digest,
                                  const std::string& signature, const std::string& dateTime) {
    return JoinWithCarriageReturns({addressLine, digest, signature, dateTime});
}

std::string SavedMessageBytes(const DecryptedMessage& message) {
    return JoinLinesCrLf(message.headerText) + message.text;
}

bool ReadSavedHeader(const Lines& lines, SavedMessage& out) {
    if (lines.size() < kFirstFieldLine) return false;
    SavedMessage s;
    s.addressLine = lines[kAddressLine];
    s.digest = lines[kDigestLine];
    s.signature = lines[kSignatureLine];
    s.dateTime = lines[kDateTimeLine];
    const std::string& information = lines[kInformationLine];
    s.category = information.empty() ? '\0' : information[0];
    s.registrationFlag = information.size() < 2 ? '\0' : information[1];
    s.certificationData = CertificationDataText(s.addressLine, s.digest, s.signature, s.dateTime);
    const std::size_t fields = FieldCount(s.category);
    if (fields != 0) {
        // The fields, an empty line and "Message :" come before the message.
        s.messageLine = kFirstFieldLine + fields + 2;
        if (lines.size() < s.messageLine) return false;
        s.senderFields.assign(lines.begin() + std::ptrdiff_t(kFirstFieldLine),
                              lines.begin() + std::ptrdiff_t(kFirstFieldLine + fields));
        s.sender = ViewOfSender(s.category, s.registrationFlag, s.senderFields);
    } else {
        s.sender = ViewOfSender(s.category, s.registrationFlag, {});
    }
    s.sender.affiliation = Part(s.addressLine, 21, 11);
    s.sender.date = Part(s.dateTime, 0, 10);
    s.sender.time = Part(s.dateTime, 11, 8);
    s.confirmation = {false, txt::kDigestNotConfirmed};
    out = std::move(s);
    return true;
}

void ConfirmSavedMessage(SavedMessage& saved, std::string messageText) {
    Quad digest{};
    saved.confirmed = saved.messageLine != 0 &&
                      CondenseText(saved.addressLine + saved.dateTime + messageText, digest) &&
                      EqualDigests(QuadToHex(digest), saved.digest);
    saved.confirmation = saved.confirmed ? Verdict{true, txt::kDigestConfirmed}
                                         : Verdict{false, txt::kDigestNotConfirmed};
    saved.messageText = std::move(messageText);
}

bool ReadSavedMessageText(std::string_view bytes, SavedMessage& out) {
    // The header lines, and where the line after each of them starts.
    Lines lines;
    std::vector<std::size_t> next;
    std::size_t pos = 0;
    while (lines.size() < kLongestHeader && pos < bytes.size()) {
        std::size_t end = bytes.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) end = bytes.size();
        lines.emplace_back(bytes.substr(pos, end - pos));
        if (end < bytes.size()) {
            end += bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n' ? 2 : 1;
        }
        next.push_back(end);
        pos = end;
    }
    SavedMessage s;
    if (!ReadSavedHeader(lines, s)) return false;
    ConfirmSavedMessage(s,
                        std::string(s.messageLine ? bytes.substr(next[s.messageLine - 1]) : bytes));
    out = std::move(s);
    return true;
}

CertifyResult CertifyDecryptedMessage(MessageState& msgs, const CertificationSender& send) {
    const DecryptedMessage& m = msgs.decrypted;
    if (!m.kind) return CertifyResult::NoMessage;
    msgs.certificationData =
        CertificationDataText(m.addressLine, m.digest, m.signature, DateTimeText(m.encryptedAt));
    return send && send() ? CertifyResult::Delivered : CertifyResult::Failed;
}

CertifyResult CertifySavedMessage(MessageState& msgs, const SavedMessage& saved,
                                  const CertificationSender& send) {
    if (!saved.confirmed) return CertifyResult::NotConfirmed;
    msgs.certificationData = saved.certificationData;
    return send && send() ? CertifyResult::Delivered : CertifyResult::Failed;
}

}  // namespace quarnel
