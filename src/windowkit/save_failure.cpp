// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowkit/save_failure.h"

#include <QPointer>
#include <QWidget>

#include "resources/texts.h"
#include "windowkit/long_job.h"
#include "windowkit/message_box.h"
#include "windowkit/texts.h"
#include "windowkit/window_kit.h"

namespace quarnel::ui {

SaveFailureHandler SaveFailureBox(QWidget* parent) {
    return [owner = QPointer<QWidget>(parent)](const std::filesystem::path& path,
                                               const std::string& reason) {
        QString text = Tr(txt::kFileSaveFailed, {QString::fromStdString(path.string())});
        // The system's words ("No space left on device") tell what to do.
        if (!reason.empty()) text += '\n' + Tr(txt::kSystemCause, {QString::fromStdString(reason)});
        switch (Ask(owner.data(), BoxIcon::Warning, text, kAbort | kRetry | kIgnore)) {
            case kRetry:
                return SaveChoice::Retry;
            case kIgnore:
                return SaveChoice::Ignore;
            default:
                return SaveChoice::Abort;
        }
    };
}

SaveRunner SaveOnLongJob(QWidget* parent) {
    return [owner = QPointer<QWidget>(parent)](const std::filesystem::path& file,
                                               const SaveWork& work) {
        if (LongJobRunning()) return work({});
        const QString name = QString::fromStdString(file.filename().string());
        return RunLongJob(owner.data(), Tr(txt::kSavingFile), [&](const JobProgress& progress) {
            return work([&](std::uint64_t done, std::uint64_t total) {
                return progress(name, done, total);
            });
        });
    };
}

}  // namespace quarnel::ui
