// Texts of the mail subsystem (numbering: see texts.h; form: see text_table.h).

#include "resources/texts.h"

namespace quarnel {

std::span<const TextEntry> MailTexts() {
    return {};
}

}  // namespace quarnel
