// Texts of the store subsystem (numbering: see texts.h; form: see text_table.h).

#include "resources/texts.h"

namespace quarnel {

std::span<const TextEntry> StoreTexts() {
    return {};
}

}  // namespace quarnel
