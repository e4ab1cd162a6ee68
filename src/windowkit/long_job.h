// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Long work (encryption of large attachments, decryption) runs on a worker
// thread while the window that started it keeps repainting and its timers keep
// running; a progress dialog with a cancel button appears when the work lasts.

#include <QString>
#include <cstdint>
#include <functional>

#include "holder/holder_context.h"

class QObject;
class QWidget;

namespace quarnel::ui {

/// Object name of the progress dialog.
inline constexpr const char* kProgressDialogName = "DialogProgression";
/// How long a job runs before the progress dialog appears.
inline constexpr int kProgressDelayMs = 300;
/// The dialog follows the job's progress at most this often.
inline constexpr int kProgressRefreshMs = 50;

/// Called from the worker: the file being worked on (display name) and bytes done of total; false
/// once the person cancelled.
using JobProgress =
    std::function<bool(const QString& file, std::uint64_t done, std::uint64_t total)>;

/// Runs `job` on a worker thread while the calling UI thread keeps serving its event loop; after
/// about 0.3 s a modal progress dialog (object name "DialogProgression", file name, share done,
/// "Annuler") appears. Returns the job's result; `*cancelled` says whether the job was stopped by
/// Annuler: a progress call answered it false. Annuler pressed after the job's last progress call
/// stops nothing, and the job counts as finished.
/// Only one long job runs in the process at a time (the generator and the cipher's working values
/// are process-wide): a call made while one runs returns false at once, not cancelled. An
/// exception thrown by the job is thrown again here, on the calling thread.
[[nodiscard]] bool RunLongJob(QWidget* parent, const QString& caption,
                              const std::function<bool(const JobProgress&)>& job,
                              bool* cancelled = nullptr);

/// How a window runs its long jobs: RunLongJob, or in tests a runner that
/// stops the job at a chosen point.
using LongJobRunner =
    std::function<bool(QWidget* parent, const QString& caption,
                       const std::function<bool(const JobProgress&)>& job, bool* cancelled)>;

/// Whether a long job is running now.
[[nodiscard]] bool LongJobRunning();

/// While a long job runs, the holder's information line changes on the
/// worker: the window shows it on its own thread (`show`, queued to
/// `window`), or not at all (`show` empty). The hooks lent before come back
/// when this goes.
class InformationFromWorker {
  public:
    InformationFromWorker(HolderContext& ctx, QObject& window, std::function<void()> show);
    ~InformationFromWorker();
    InformationFromWorker(const InformationFromWorker&) = delete;
    InformationFromWorker& operator=(const InformationFromWorker&) = delete;

  private:
    HolderContext& ctx_;
    const WindowHooks* kept_;
    WindowHooks hooks_;  ///< those kept, but for the information line
};

}  // namespace quarnel::ui
