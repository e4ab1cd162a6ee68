// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The TA parameter file on a first start: the package does not carry one, so
// when none is beside the program, in the installed data folder or in the
// data folder, the holder is asked for it and it is copied into the data
// folder.

#include <QString>
#include <filesystem>
#include <initializer_list>
#include <memory>

#include "store/folder_lock.h"

class QWidget;

namespace quarnel {
struct HolderContext;
}  // namespace quarnel

namespace quarnel::ui {

/// How many files the holder may try before the program gives up.
inline constexpr int kMaxParameterFileTries = 5;

/// True when a parameter file is available (found, or chosen, checked and
/// copied into the data folder), or not needed: an affiliated holder needs it
/// only to initialise again, and is not asked for it at start. False when the
/// holder cancelled or gave no valid file: the program then stops, after
/// saying why. A file that is found but unusable is reported and the start
/// goes on (the initialisation stays closed until it is replaced).
[[nodiscard]] bool EnsureTaParameterFile(HolderContext& ctx, QWidget* parent);

/// A text in French and, under it, in English: what is said before the
/// holder's settings name their language. The English text comes from the
/// module beside `programFile`; without it, French alone.
QString InBothLanguages(const std::filesystem::path& programFile, int id,
                        std::initializer_list<QString> args = {});

/// Before anything is read or written in the data folder `dataFolder`: a
/// folder that code page 1252 cannot name is refused (the settings would name
/// another one), and the folder's lock is taken, so that a second run on the
/// same folder writes nothing. The lock, held for the run; nothing (after a
/// box in both languages) when the program must stop.
[[nodiscard]] std::unique_ptr<DataFolderLock> ClaimDataFolder(
    const std::filesystem::path& programFile, const std::filesystem::path& dataFolder,
    QWidget* parent);

/// Says why no usable parameter file is there (none found, or the one found
/// is not valid).
void ReportTaParameterProblem(const HolderContext& ctx, QWidget* parent);

}  // namespace quarnel::ui
