// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowkit/long_job.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QProgressDialog>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "window_test_support.h"

namespace quarnel::ui {
namespace {

QProgressDialog* ShownProgressDialog() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == kProgressDialogName && w->isVisible())
            return qobject_cast<QProgressDialog*>(w);
    }
    return nullptr;
}

// A job that reports until it is told to stop; the UI thread's timer keeps
// ticking meanwhile, sees the dialog with the file's name and presses Annuler.
TEST(LongJob, TheLoopKeepsServingAndAnnulerStopsTheJob) {
    int ticks = 0;
    QString shownLabel;
    bool nestedRefused = false;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        ++ticks;
        QProgressDialog* dialog = ShownProgressDialog();
        if (!dialog || !dialog->findChild<QLabel*>("LabelFichier")->text().contains("gros.bin"))
            return;
        shownLabel = dialog->findChild<QLabel*>("LabelFichier")->text();
        nestedRefused = !RunLongJob(nullptr, "x", [](const JobProgress&) { return true; });
        test::Click(*dialog, "BoutonAnnuler");
        timer.stop();
    });
    timer.start(10);

    std::atomic<int> reports = 0;
    bool cancelled = false;
    const bool result = RunLongJob(
        nullptr, "Chiffrement",
        [&](const JobProgress& progress) {
            const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
            for (std::uint64_t done = 0; std::chrono::steady_clock::now() < until; ++done) {
                ++reports;
                if (!progress("gros.bin", done % 100, 100)) return true;  // stopped as asked
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
            return false;
        },
        &cancelled);

    EXPECT_TRUE(result) << "the job ran out its 10 s: Annuler did not reach it";
    EXPECT_TRUE(cancelled);
    EXPECT_EQ(shownLabel, "gros.bin");
    EXPECT_TRUE(nestedRefused);
    EXPECT_GT(ticks, 20) << "the timer starved while the job ran";
    EXPECT_GT(reports.load(), 0);
    EXPECT_FALSE(LongJobRunning());
    EXPECT_EQ(ShownProgressDialog(), nullptr);
}

// Annuler pressed once the job has made its last progress call stops
// nothing: the job finished, and is not reported cancelled.
TEST(LongJob, AnnulerAfterTheLastProgressIsNoCancel) {
    std::atomic<bool> dialogSeen = false;
    std::atomic<bool> jobDone = false;
    std::atomic<bool> clicked = false;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        QProgressDialog* dialog = ShownProgressDialog();
        if (!dialog) return;
        dialogSeen = true;
        if (!jobDone) return;
        test::Click(*dialog, "BoutonAnnuler");
        clicked = true;
        timer.stop();
    });
    timer.start(5);
    bool cancelled = true;
    const bool result = RunLongJob(
        nullptr, "Déchiffrement",
        [&](const JobProgress& progress) {
            (void)progress("fin.bin", 100, 100);
            while (!dialogSeen)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            jobDone = true;
            // Its work is done; it returns once the click has been made.
            while (!clicked)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            return true;
        },
        &cancelled);
    EXPECT_TRUE(result);
    EXPECT_FALSE(cancelled);
}

TEST(LongJob, AShortJobGivesItsResultWithoutDialogAndFailuresComeBack) {
    bool dialogSeen = false;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout,
                     [&] { dialogSeen |= ShownProgressDialog() != nullptr; });
    timer.start(5);
    bool cancelled = true;
    EXPECT_TRUE(RunLongJob(
        nullptr, "c", [](const JobProgress& p) { return p("a", 1, 1); }, &cancelled));
    EXPECT_FALSE(cancelled);
    EXPECT_FALSE(RunLongJob(nullptr, "c", [](const JobProgress&) { return false; }));
    EXPECT_FALSE(dialogSeen);
    EXPECT_THROW(
        (void)RunLongJob(nullptr, "c",
                         [](const JobProgress&) -> bool { throw std::runtime_error("x"); }),
        std::runtime_error);
    EXPECT_FALSE(LongJobRunning());
}

}  // namespace
}  // namespace quarnel::ui
