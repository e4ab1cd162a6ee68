// SPDX-License-Identifier: GPL-3.0-or-later
// French title lines of outgoing bodies.

#include "protocol/texts.h"

#include "resources/text_table.h"

namespace quarnel {

namespace {
constexpr TextEntry kTexts[] = {
    T(txt::kTitle00, "Demande d'affiliation au système cryptographique \"QuarnelSys\""),
    T(txt::kTitle01Update,
      "Demande de mise à jour d'affiliation au système cryptographique \"QuarnelSys\"."),
    T(txt::kTitle01Ack, "Accusé de réception de la clef privée"),
    T(txt::kTitle10,
      "Demande d'une clef pour correspondre suivant le système cryptographique \"QuarnelSys\""),
    T(txt::kTitle11,
      "Demande de mise à jour d'une clef pour correspondre suivant le système cryptographique "
      "\"QuarnelSys\""),
    T(txt::kTitle18, "Demande de certification d'une signature"),
    T(txt::kTitleMessage, "Message chiffré par \"QuarnelSys\""),
    T(txt::kTitleMessageUnregistered,
      "Message chiffré par \"QuarnelSys\" provenant d'un utilisateur non enregistré"),
};
}  // namespace

std::span<const TextEntry> ProtocolTexts() {
    return kTexts;
}

}  // namespace quarnel
