// The message branch of BuildOutgoingBody (kinds 20 and 21): the message
// subsystem's encryption.

#include "authority/requests.h"
#include "messages/encryption.h"

namespace quarnel {

BuildResult AppendMessageBody(HolderContext& ctx, std::string_view messageText) {
    MessageProblem problem;
    if (EncryptMessage(ctx, messageText, ctx.outgoingBody, problem)) return {true, 0};
    // A title and a separator alone must never be handed over as a message.
    ctx.outgoingBody.clear();
    ctx.messageProblemDetail = std::move(problem.detail);
    return {false, problem.text};
}

}  // namespace quarnel
