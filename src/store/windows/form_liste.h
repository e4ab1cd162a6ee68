#pragma once
// Correspondents window: the three correspondent lists (shown modelessly).
// Created once at start by the main window; filled by its subsystem.

#include "windowkit/quarnel_dialog.h"

namespace quarnel::ui {

class FormListe : public QuarnelDialog {
    Q_OBJECT
  public:
    FormListe(HolderContext& ctx, QWidget* parent);
};

}  // namespace quarnel::ui
