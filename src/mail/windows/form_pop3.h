#pragma once
// Receiving window: POP3 and the incoming queue.
// Created once at start by the main window; filled by its subsystem.

#include "windowkit/quarnel_dialog.h"

namespace quarnel::ui {

class FormPop3 : public QuarnelDialog {
    Q_OBJECT
  public:
    FormPop3(HolderContext& ctx, QWidget* parent);
};

}  // namespace quarnel::ui
