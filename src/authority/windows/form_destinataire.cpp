#include "authority/windows/form_destinataire.h"

namespace quarnel::ui {

FormDestinataire::FormDestinataire(HolderContext& ctx, QWidget* parent)
    : QuarnelDialog(ctx, "FormDestinataire", 0, parent) {}

}  // namespace quarnel::ui
