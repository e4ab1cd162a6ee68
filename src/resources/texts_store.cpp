// Texts of the store subsystem (numbering: see texts.h; form: see texts_common.cpp).

#include "resources/texts.h"

namespace quarnel {

std::span<const TextEntry> StoreTexts() { return {}; }

}  // namespace quarnel
