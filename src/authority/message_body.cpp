// The message branch of BuildOutgoingBody (kinds 20 and 21). The message
// subsystem fills it with its encryption.

#include "authority/requests.h"
#include "authority/texts.h"

namespace quarnel {

BuildResult AppendMessageBody(HolderContext& /*ctx*/, std::string_view /*messageText*/) {
    return {false, txt::kNotARequestKind};
}

}  // namespace quarnel
