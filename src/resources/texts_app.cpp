// Texts of the app subsystem (numbering: see texts.h; form: see texts_common.cpp).

#include "resources/texts.h"

namespace quarnel {

std::span<const TextEntry> AppTexts() { return {}; }

}  // namespace quarnel
