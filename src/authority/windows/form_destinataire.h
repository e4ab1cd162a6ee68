#pragma once
// New-correspondent dialog: the affiliation number for a key request.
// Created once at start by the main window; filled by its subsystem.

#include "app/windows/quarnel_dialog.h"

namespace quarnel::ui {

class FormDestinataire : public QuarnelDialog {
    Q_OBJECT
  public:
    FormDestinataire(HolderContext& ctx, QWidget* parent);
};

}  // namespace quarnel::ui
