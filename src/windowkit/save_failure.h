// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The save-failure decision of the holder context as the program shows it:
// "Le fichier %s n'a pu être sauvé." with the system's reason, and Abort,
// Retry and Ignore; and where its long saves run.

#include "store/record_list.h"

class QWidget;

namespace quarnel::ui {

SaveFailureHandler SaveFailureBox(QWidget* parent);

/// Runs a save as a long job (RunLongJob: the window keeps serving its
/// events; after a while a progress dialog names the file, and Annuler stops
/// the save, which then fails as any other); while another long job runs,
/// on the calling thread.
SaveRunner SaveOnLongJob(QWidget* parent);

}  // namespace quarnel::ui
