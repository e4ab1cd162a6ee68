#pragma once
// TA connection window: sends a request over HTTP and shows the reply.
// Created once at start by the main window; filled by its subsystem.

#include "app/windows/quarnel_dialog.h"

namespace quarnel::ui {

class FormTCP_IP : public QuarnelDialog {
    Q_OBJECT
  public:
    FormTCP_IP(HolderContext& ctx, QWidget* parent);
};

}  // namespace quarnel::ui
