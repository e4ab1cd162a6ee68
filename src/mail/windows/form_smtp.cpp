#include "mail/windows/form_smtp.h"

namespace quarnel::ui {

FormSmtp::FormSmtp(HolderContext& ctx, QWidget* parent)
    : QuarnelDialog(ctx, "FormSmtp", 0, parent) {}

}  // namespace quarnel::ui
