#include "mail/windows/form_pop3.h"

namespace quarnel::ui {

FormPop3::FormPop3(HolderContext& ctx, QWidget* parent)
    : QuarnelDialog(ctx, "FormPop3", 0, parent) {}

}  // namespace quarnel::ui
