#include "messages/windows/form_message.h"

namespace quarnel::ui {

FormMessage::FormMessage(HolderContext& ctx, QWidget* parent)
    : QuarnelDialog(ctx, "FormMessage", 250, parent) {}

}  // namespace quarnel::ui
