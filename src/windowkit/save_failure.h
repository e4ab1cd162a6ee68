#pragma once
// The save-failure decision of the holder context as the program shows it:
// "Le fichier %s n'a pu être sauvé." with the system's reason, and Abort,
// Retry and Ignore.

#include "store/record_list.h"

class QWidget;

namespace quarnel::ui {

SaveFailureHandler SaveFailureBox(QWidget* parent);

}  // namespace quarnel::ui
