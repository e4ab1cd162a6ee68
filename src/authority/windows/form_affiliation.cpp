#include "authority/windows/form_affiliation.h"

namespace quarnel::ui {

FormAffiliationF::FormAffiliationF(HolderContext& ctx, QWidget* parent)
    : QuarnelDialog(ctx, "FormAffiliationF", 0, parent) {}

FormAffiliationD::FormAffiliationD(HolderContext& ctx, QWidget* parent)
    : QuarnelDialog(ctx, "FormAffiliationD", 0, parent) {}

FormAffiliationA::FormAffiliationA(HolderContext& ctx, QWidget* parent)
    : QuarnelDialog(ctx, "FormAffiliationA", 0, parent) {}

}  // namespace quarnel::ui
