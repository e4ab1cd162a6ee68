// Texts of the messages subsystem (numbering: see texts.h; form: see texts_common.cpp).

#include "resources/texts.h"

namespace quarnel {

std::span<const TextEntry> MessagesTexts() { return {}; }

}  // namespace quarnel
