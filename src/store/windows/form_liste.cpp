#include "store/windows/form_liste.h"

namespace quarnel::ui {

FormListe::FormListe(HolderContext& ctx, QWidget* parent)
    : QuarnelDialog(ctx, "FormListe", 230, parent) {}

}  // namespace quarnel::ui
