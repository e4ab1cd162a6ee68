#pragma once
// The TA parameter file on a first start: the package does not carry one, so
// when none is beside the program, in the installed data folder or in the
// data folder, the holder is asked for it and it is copied into the data
// folder.

class QWidget;

namespace quarnel {
struct HolderContext;
}

namespace quarnel::ui {

/// How many files the holder may try before the program gives up.
inline constexpr int kMaxParameterFileTries = 5;

/// True when a parameter file is available (found, or chosen, checked and
/// copied into the data folder). False when the holder cancelled or gave no
/// valid file: the program then stops, after saying why. A file that is found
/// but unusable is reported and the start goes on (the options stay closed
/// until it is replaced).
[[nodiscard]] bool EnsureTaParameterFile(HolderContext& ctx, QWidget* parent);

/// Says why no usable parameter file is there (none found, or the one found
/// is not valid).
void ReportTaParameterProblem(const HolderContext& ctx, QWidget* parent);

}  // namespace quarnel::ui
