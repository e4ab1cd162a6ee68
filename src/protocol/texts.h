// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Resource numbers of the title lines of outgoing bodies, by kind (French in
// protocol/texts.cpp). A title travels in the body in the sender's language.

#include "resources/texts.h"

namespace quarnel {
QUARNEL_TEXT_TABLE(ProtocolTexts);
}  // namespace quarnel

namespace quarnel::txt {

inline constexpr int kTitle00 = 76001;
inline constexpr int kTitle01Update = 76002;
inline constexpr int kTitle01Ack = 76003;
inline constexpr int kTitle10 = 76004;
inline constexpr int kTitle11 = 76005;
inline constexpr int kTitle18 = 76006;
inline constexpr int kTitleMessage = 76007;
inline constexpr int kTitleMessageUnregistered = 76008;

}  // namespace quarnel::txt
