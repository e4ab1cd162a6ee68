// Texts of the authority subsystem (numbering: see texts.h; form: see texts_common.cpp).

#include "resources/texts.h"

namespace quarnel {

std::span<const TextEntry> AuthorityTexts() { return {}; }

}  // namespace quarnel
