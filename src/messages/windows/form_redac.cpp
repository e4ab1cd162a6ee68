#include "messages/windows/form_redac.h"

namespace quarnel::ui {

FormRedac::FormRedac(HolderContext& ctx, QWidget* parent)
    : QuarnelDialog(ctx, "FormRedac", 240, parent) {}

}  // namespace quarnel::ui
