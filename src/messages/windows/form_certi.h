#pragma once
// Certificate viewer.
// Created once at start by the main window; filled by its subsystem.

#include "windowkit/quarnel_dialog.h"

namespace quarnel::ui {

class FormCerti : public QuarnelDialog {
    Q_OBJECT
  public:
    FormCerti(HolderContext& ctx, QWidget* parent);
};

}  // namespace quarnel::ui
