#include "messages/windows/form_certi.h"

namespace quarnel::ui {

FormCerti::FormCerti(HolderContext& ctx, QWidget* parent)
    : QuarnelDialog(ctx, "FormCerti", 300, parent) {}

}  // namespace quarnel::ui
