#pragma once
// Sending window: SMTP and the outgoing queue.
// Created once at start by the main window; filled by its subsystem.

#include "windowkit/quarnel_dialog.h"

namespace quarnel::ui {

class FormSmtp : public QuarnelDialog {
    Q_OBJECT
  public:
    FormSmtp(HolderContext& ctx, QWidget* parent);
};

}  // namespace quarnel::ui
