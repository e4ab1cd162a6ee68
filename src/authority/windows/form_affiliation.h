#pragma once
// Affiliation forms, one per category (F employee, D independent, A private
// person): the identity sent to the TA.
// Created once at start by the main window; filled by its subsystem.

#include "app/windows/quarnel_dialog.h"

namespace quarnel::ui {

class FormAffiliationF : public QuarnelDialog {
    Q_OBJECT
  public:
    FormAffiliationF(HolderContext& ctx, QWidget* parent);
};

class FormAffiliationD : public QuarnelDialog {
    Q_OBJECT
  public:
    FormAffiliationD(HolderContext& ctx, QWidget* parent);
};

class FormAffiliationA : public QuarnelDialog {
    Q_OBJECT
  public:
    FormAffiliationA(HolderContext& ctx, QWidget* parent);
};

}  // namespace quarnel::ui
