// SPDX-License-Identifier: GPL-3.0-or-later
#include "protocol/kinds.h"

#include <array>

namespace quarnel {

namespace {
struct KindName {
    Kind kind;
    std::string_view text;
};
constexpr std::array<KindName, 12> kKinds{{
    {Kind::Affiliation, "00"},
    {Kind::Update, "01"},
    {Kind::PrivateKey, "04"},
    {Kind::Updated, "05"},
    {Kind::Key, "10"},
    {Kind::KeyUpdate, "11"},
    {Kind::KeyDelivered, "14"},
    {Kind::KeyUpdated, "15"},
    {Kind::Certification, "18"},
    {Kind::Certificate, "1C"},
    {Kind::PlainMessage, "20"},
    {Kind::RichMessage, "21"},
}};
}  // namespace

std::string_view KindText(Kind kind) {
    for (const KindName& k : kKinds) {
        if (k.kind == kind) return k.text;
    }
    return {};
}

std::optional<Kind> KindOf(std::string_view text) {
    for (const KindName& k : kKinds) {
        if (k.text == text) return k.kind;
    }
    return std::nullopt;
}

bool IsTaRequestKind(Kind k) {
    return k == Kind::Affiliation || k == Kind::Update || k == Kind::Key || k == Kind::KeyUpdate ||
           k == Kind::Certification;
}

bool IsTaReplyKind(Kind k) {
    return k == Kind::PrivateKey || k == Kind::Updated || k == Kind::KeyDelivered ||
           k == Kind::KeyUpdated || k == Kind::Certificate;
}

bool IsMessageKind(Kind k) {
    return k == Kind::PlainMessage || k == Kind::RichMessage;
}

}  // namespace quarnel
