#pragma once
// Resource numbers of the authority subsystem's texts (French in
// resources/texts_authority.cpp).

#include "resources/texts.h"

namespace quarnel::txt {

// Refusals to build a request.
inline constexpr int kNoSigningKey = 74001;
inline constexpr int kNoCertificationData = 74002;
inline constexpr int kKeySetupMissing = 74003;
inline constexpr int kNotARequestKind = 74004;
inline constexpr int kBadCorrespondentNumber = 74005;

// The information line after a processed reply.
inline constexpr int kPrivateKeyDelivered = 74010;
inline constexpr int kAffiliationUpdated = 74011;
inline constexpr int kAffiliationUpdatedRegistered = 74012;
inline constexpr int kKeyDelivered = 74013;
inline constexpr int kKeyUpdated = 74014;
inline constexpr int kCertificateDelivered = 74015;
inline constexpr int kCertificateTitle = 74016;

// The action log of the TA connection window.
inline constexpr int kLogCall = 74020;
inline constexpr int kLogResolved = 74021;
inline constexpr int kLogHostNotFound = 74022;
inline constexpr int kLogConnected = 74023;
inline constexpr int kLogSending = 74024;
inline constexpr int kLogConnectFailed = 74025;
inline constexpr int kLogReplyFailed = 74026;
inline constexpr int kLogErrorNumber = 74027;
inline constexpr int kLogDisconnected = 74028;
inline constexpr int kLogReplyReceived = 74029;
inline constexpr int kLogRequestFailed = 74030;
inline constexpr int kLogTimedOut = 74031;
inline constexpr int kLogTooManyRedirects = 74032;

}  // namespace quarnel::txt
