#pragma once
// Viewer of a saved decrypted message to certify.
// Created once at start by the main window; filled by its subsystem.

#include "windowkit/quarnel_dialog.h"

namespace quarnel::ui {

class FormMsgACerti : public QuarnelDialog {
    Q_OBJECT
  public:
    FormMsgACerti(HolderContext& ctx, QWidget* parent);
};

}  // namespace quarnel::ui
