#pragma once
// Composer window.
// Created once at start by the main window; filled by its subsystem.

#include "windowkit/quarnel_dialog.h"

namespace quarnel::ui {

class FormRedac : public QuarnelDialog {
    Q_OBJECT
  public:
    FormRedac(HolderContext& ctx, QWidget* parent);
};

}  // namespace quarnel::ui
