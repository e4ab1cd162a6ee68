#pragma once
// Viewer of a received, decrypted message.
// Created once at start by the main window; filled by its subsystem.

#include "windowkit/quarnel_dialog.h"

namespace quarnel::ui {

class FormMessage : public QuarnelDialog {
    Q_OBJECT
  public:
    FormMessage(HolderContext& ctx, QWidget* parent);
};

}  // namespace quarnel::ui
