#include "messages/windows/form_msg_a_certi.h"

namespace quarnel::ui {

FormMsgACerti::FormMsgACerti(HolderContext& ctx, QWidget* parent)
    : QuarnelDialog(ctx, "FormMsgACerti", 300, parent) {}

}  // namespace quarnel::ui
