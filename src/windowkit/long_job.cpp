// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowkit/long_job.h"

#include <QEventLoop>
#include <QFontMetrics>
#include <QLabel>
#include <QMetaObject>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <atomic>
#include <exception>
#include <mutex>
#include <thread>
#include <utility>

#if defined(__linux__)
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

#include "windowkit/texts.h"
#include "windowkit/window_kit.h"

namespace quarnel::ui {

namespace {

std::atomic<bool> g_running{false};

// What the worker last reported; the UI thread reads it on its own timer, so a
// job reporting every few bytes never floods the event queue.
struct Shared {
    std::mutex mutex;
    QString file;
    std::uint64_t done = 0;
    std::uint64_t total = 0;
    bool fresh = false;
};

constexpr int kBarSteps = 1000;

int Steps(std::uint64_t done, std::uint64_t total) {
    if (total == 0) return 0;
    if (done >= total) return kBarSteps;
    // done < total, so the quotient fits; long double keeps 64-bit totals exact enough.
    return static_cast<int>(static_cast<long double>(done) * kBarSteps / total);
}

class RunningMark {
  public:
    RunningMark() : owned_(!g_running.exchange(true)) {}
    ~RunningMark() {
        if (owned_) g_running = false;
    }
    RunningMark(const RunningMark&) = delete;
    RunningMark& operator=(const RunningMark&) = delete;
    [[nodiscard]] bool Owned() const { return owned_; }

  private:
    bool owned_;
};

}  // namespace

bool LongJobRunning() {
    return g_running;
}

bool RunLongJob(QWidget* parent, const QString& caption,
                const std::function<bool(const JobProgress&)>& job, bool* cancelled) {
    if (cancelled) *cancelled = false;
    const RunningMark mark;
    if (!mark.Owned()) return false;

    Shared shared;
    std::atomic<bool> cancel{false};
    std::atomic<bool> stopped{false};  // the job heard the cancel
    std::atomic<bool> finished{false};
    bool result = false;
    std::exception_ptr failure;
    QEventLoop loop;

    const JobProgress progress = [&](const QString& file, std::uint64_t done, std::uint64_t total) {
        {
            const std::lock_guard lock(shared.mutex);
            shared.file = file;
            shared.done = done;
            shared.total = total;
            shared.fresh = true;
        }
        if (!cancel.load()) return true;
        stopped = true;
        return false;
    };

    std::thread worker([&] {
#if defined(__linux__)
        // The window's thread comes first when both want the processor: a
        // nicer worker leaves the repaints their turn. A refusal changes nothing.
        (void)setpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)), 10);
#endif
        try {
            result = job(progress);
        } catch (...) {
            failure = std::current_exception();
        }
        finished = true;
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });

    // Until the dialog shows, the person's clicks and keys wait: nothing else
    // may start meanwhile.
    QTimer delay;
    delay.setSingleShot(true);
    QObject::connect(&delay, &QTimer::timeout, &loop, &QEventLoop::quit);
    delay.start(kProgressDelayMs);
    while (!finished && delay.isActive())
        loop.exec(QEventLoop::ExcludeUserInputEvents);

    if (!finished) {
        QProgressDialog dialog(parent);
        dialog.setObjectName(kProgressDialogName);
        dialog.setWindowTitle(caption);
        dialog.setWindowModality(Qt::ApplicationModal);
        dialog.setAutoClose(false);
        dialog.setAutoReset(false);
        dialog.setMinimumDuration(0);
        dialog.setRange(0, kBarSteps);
        dialog.setValue(0);
        auto* label = new QLabel(&dialog);
        label->setObjectName("LabelFichier");
        dialog.setLabel(label);
        auto* cancelButton = new QPushButton(Tr(txt::kCancelButton), &dialog);
        cancelButton->setObjectName("BoutonAnnuler");
        dialog.setCancelButton(cancelButton);
        auto* bar = dialog.findChild<QProgressBar*>();
        if (bar) bar->setFormat(QStringLiteral("%p %"));
        const int width = dialog.fontMetrics().averageCharWidth() * 60;
        dialog.setMinimumWidth(width);
        KeepOnScreen(dialog);
        QObject::connect(&dialog, &QProgressDialog::canceled, &dialog, [&] {
            cancel = true;
            cancelButton->setEnabled(false);
        });

        const auto refresh = [&] {
            QString file;
            std::uint64_t done = 0, total = 0;
            {
                const std::lock_guard lock(shared.mutex);
                if (!shared.fresh) return;
                shared.fresh = false;
                file = shared.file;
                done = shared.done;
                total = shared.total;
            }
            label->setText(label->fontMetrics().elidedText(file, Qt::ElideMiddle, width - 20));
            dialog.setValue(Steps(done, total));
        };
        refresh();
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &dialog, refresh);
        poll.start(kProgressRefreshMs);
        dialog.show();
        while (!finished)
            loop.exec();
        poll.stop();
    }
    worker.join();
    if (cancelled) *cancelled = stopped;
    if (failure) std::rethrow_exception(failure);
    return result;
}

InformationFromWorker::InformationFromWorker(HolderContext& ctx, QObject& window,
                                             std::function<void()> show)
    : ctx_(ctx), kept_(ctx.LentHooks()), hooks_(ctx.Hooks()) {
    hooks_.onInformationChanged = nullptr;
    if (show) {
        hooks_.onInformationChanged = [&window, show = std::move(show)] {
            QMetaObject::invokeMethod(&window, show, Qt::QueuedConnection);
        };
    }
    ctx_.LendHooks(&hooks_);
}

InformationFromWorker::~InformationFromWorker() {
    ctx_.LendHooks(kept_);
}

}  // namespace quarnel::ui
