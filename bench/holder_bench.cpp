// SPDX-License-Identifier: GPL-3.0-or-later
// The holder at scale: start-up with long lists, queue and logs; the logs'
// appends (the first of a run indexes the file), the whole-file save they
// replace, the queue's save; and the correspondents window opened, filtered
// by one keystroke and sorted by a column, offscreen, paints included; the
// mailbox's list read from the logs, filtered and sorted.
// Wall-clock times: saves wait for the disk.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QLineEdit>
#include <chrono>
#include <map>
#include <memory>

#include "app/startup.h"
#include "holder_data.h"
#include "mail/mailbox.h"
#include "store/record_log.h"
#include "store/windows/form_liste.h"
#include "temp_dir.h"

namespace quarnel {
namespace {

class QuietHost final : public StartupHost {
  public:
    void ApplyLanguage() override {}
    bool RetryMissingFile(const std::filesystem::path&) override { return false; }
    void ReportAltered(const std::string&) override { ++altered; }
    void ReportExposedFolder(const ExposedFolder&) override {}
    int altered = 0;
};

/// A holder folder per history, made once.
const std::filesystem::path& FolderWith(const bench::History& h) {
    static test::TempDir root;
    static std::map<std::tuple<std::size_t, std::size_t, std::size_t, std::size_t>,
                    std::filesystem::path>
        made;
    const auto key = std::make_tuple(h.correspondents, h.queued, h.sent, h.received);
    auto it = made.find(key);
    if (it == made.end()) {
        const std::filesystem::path dir = root / ("holder" + std::to_string(made.size()));
        if (!bench::WriteHolderFolder(dir, h)) std::abort();
        it = made.emplace(key, dir).first;
    }
    return it->second;
}

void Startup(benchmark::State& state, const bench::History& h) {
    const std::filesystem::path& dir = FolderWith(h);
    for (auto _ : state) {
        ProgramData data;
        PrepareStartup(data, {dir / "quarneltit", dir, true});
        QuietHost host;
        if (RunStartup(data, data.mail, host) != StartupEnd::Completed || host.altered ||
            data.State() != ProgramState::Affiliated ||
            data.correspondents.f.size() != h.correspondents ||
            data.mail.outgoingQueue.size() != h.queued) {
            state.SkipWithError("the holder did not start");
        }
    }
    state.counters["records"] = double(h.correspondents + h.queued + h.sent + h.received);
}

// Every file n records: the lists and the queue are read, the logs are not.
void BM_StartupEveryFile(benchmark::State& state) {
    const auto n = std::size_t(state.range(0));
    Startup(state, {n, n, n, n});
}
BENCHMARK(BM_StartupEveryFile)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Years of mail: n records in each log, a short list and queue.
void BM_StartupLongHistory(benchmark::State& state) {
    const auto n = std::size_t(state.range(0));
    Startup(state, {100, 10, n, n});
}
BENCHMARK(BM_StartupLongHistory)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

/// A received log of n records on disk.
struct LogFile {
    explicit LogFile(std::size_t n) {
        if (SaveRecordList(bench::Many(n, bench::Received), path, {}) != SaveResult::Saved)
            std::abort();
        size = std::filesystem::file_size(path);
    }
    /// Back to its n records.
    void Restore() const { std::filesystem::resize_file(path, size); }
    test::TempDir dir;
    std::filesystem::path path = dir / "MsgChifE.dat";
    std::uintmax_t size = 0;
};

// The first append of a run: the file is indexed, then the record appended.
void BM_LogFirstAppend(benchmark::State& state) {
    const LogFile log(std::size_t(state.range(0)));
    const Record added = bench::Received(1u << 30);
    for (auto _ : state) {
        RecordLog fresh;
        fresh.Add(added);
        if (fresh.Save(log.path, {}) != SaveResult::Saved) state.SkipWithError("not saved");
        state.PauseTiming();
        log.Restore();
        state.ResumeTiming();
    }
}

// The appends after it: the record alone, and its fsync.
void BM_LogAppend(benchmark::State& state) {
    const LogFile log(std::size_t(state.range(0)));
    RecordLog known;
    (void)known.Count(log.path);
    const Record added = bench::Received(1u << 30);
    for (auto _ : state) {
        known.Add(added);
        if (known.Save(log.path, {}) != SaveResult::Saved) state.SkipWithError("not saved");
    }
}

// What each Retirer did before: the whole log written again.
void BM_LogSaveWhole(benchmark::State& state) {
    const LogFile log(std::size_t(state.range(0)));
    RecordList all = bench::Many(std::size_t(state.range(0)), bench::Received);
    all.push_back(bench::Received(1u << 30));
    for (auto _ : state) {
        if (SaveRecordList(all, log.path, {}) != SaveResult::Saved)
            state.SkipWithError("not saved");
    }
}

// A window that lists the log reads this first.
void BM_LogIndex(benchmark::State& state) {
    const LogFile log(std::size_t(state.range(0)));
    for (auto _ : state) {
        const int fd = ::open(log.path.c_str(), O_RDONLY | O_CLOEXEC);
        const auto index = IndexRecordFile(fd, log.size);
        ::close(fd);
        if (!index || index->starts.size() != std::size_t(state.range(0)))
            state.SkipWithError("not indexed");
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(log.size));
}

// The queue written whole (on the save runner's thread when large).
void BM_QueueSave(benchmark::State& state) {
    test::TempDir dir;
    const RecordList queue = bench::Many(std::size_t(state.range(0)), bench::QueueRecordOf);
    for (auto _ : state) {
        if (SaveRecordList(queue, dir / "QuarnelTit.msg", {}) != SaveResult::Saved)
            state.SkipWithError("not saved");
    }
}

// An employees' list written whole (a key reply, a deletion).
void BM_CorrespondentsSave(benchmark::State& state) {
    test::TempDir dir;
    const RecordList list = bench::Many(std::size_t(state.range(0)), bench::Correspondent);
    for (auto _ : state) {
        if (SaveRecordList(list, dir / "QuarnelTitF.dat", {}) != SaveResult::Saved)
            state.SkipWithError("not saved");
    }
}

#define LOG_SIZES ->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime()
BENCHMARK(BM_LogFirstAppend) LOG_SIZES;
BENCHMARK(BM_LogAppend) LOG_SIZES;
BENCHMARK(BM_LogSaveWhole) LOG_SIZES;
BENCHMARK(BM_LogIndex) LOG_SIZES;
BENCHMARK(BM_QueueSave)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_CorrespondentsSave)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

/// The correspondents window on n employees, offscreen.
struct ListWindowFixture {
    explicit ListWindowFixture(std::size_t n) {
        ctx.settings.keyFolder = dir.path().string() + "/";
        ctx.listCategory = 'F';
        ctx.correspondents.f = bench::Many(n, bench::Correspondent);
        window = std::make_unique<ui::FormListe>(ctx, msgs, nullptr);
        filter = window->findChild<QLineEdit*>("EditFiltre");
    }
    /// Runs `what` and what it left to paint; the seconds it took.
    template <typename F>
    static double Timed(F&& what) {
        const auto start = std::chrono::steady_clock::now();
        what();
        QApplication::processEvents();
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    test::TempDir dir;
    HolderContext ctx;
    MessageState msgs;
    std::unique_ptr<ui::FormListe> window;
    QLineEdit* filter = nullptr;
};

void BM_CorrespondentListOpen(benchmark::State& state) {
    ListWindowFixture l(std::size_t(state.range(0)));
    for (auto _ : state) {
        state.SetIterationTime(ListWindowFixture::Timed([&] { l.window->show(); }));
        l.window->hide();  // frees the rows
        QApplication::processEvents();
    }
}

// Typing a letter, then taking it back: two keystrokes.
void BM_CorrespondentListKeystroke(benchmark::State& state) {
    ListWindowFixture l(std::size_t(state.range(0)));
    l.window->show();
    QApplication::processEvents();
    bool typed = false;
    for (auto _ : state) {
        typed = !typed;
        state.SetIterationTime(ListWindowFixture::Timed(
            [&] { l.filter->setText(typed ? QStringLiteral("D") : QString()); }));
    }
}

// A press on the surname's or the first names' header.
void BM_CorrespondentListSort(benchmark::State& state) {
    ListWindowFixture l(std::size_t(state.range(0)));
    l.window->show();
    QApplication::processEvents();
    int column = 2;
    for (auto _ : state) {
        column = column == 2 ? 3 : 2;
        state.SetIterationTime(
            ListWindowFixture::Timed([&] { l.window->grilleHeaderPressed(column); }));
    }
}

#define LIST_SIZES \
    ->Arg(100)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseManualTime()
BENCHMARK(BM_CorrespondentListOpen) LIST_SIZES;
BENCHMARK(BM_CorrespondentListKeystroke) LIST_SIZES;
BENCHMARK(BM_CorrespondentListSort) LIST_SIZES;

// The mailbox's list over a received and a sent log of n records each: read
// from the disk (marks included), one keystroke of the filter, one sort.
struct Mailbox {
    explicit Mailbox(std::size_t n) : folder(FolderWith({0, 0, n, n})) {
        ctx.dataFolder = folder;
        (void)LoadSettings(ctx, folder / kSettingsFileName);
    }
    void Open() {
        RecordLog received;
        RecordLog sent;
        ReadMarks marks;
        (void)marks.Load(ReadMarksPath(ctx));
        MailboxLoad in = ListReceived(received, ReceivedLogPath(ctx),
                                      PathFromSetting(ctx.settings.receivedEncryptedFolder), marks);
        MailboxLoad out =
            ListSent(sent, SentLogPath(ctx), PathFromSetting(ctx.settings.sentEncryptedFolder));
        in.entries.insert(in.entries.end(), std::make_move_iterator(out.entries.begin()),
                          std::make_move_iterator(out.entries.end()));
        list.Assign(std::move(in.entries));
    }
    std::filesystem::path folder;
    HolderContext ctx;
    MailboxList list;
};

void BM_MailboxOpen(benchmark::State& state) {
    Mailbox m(std::size_t(state.range(0)));
    for (auto _ : state)
        m.Open();
    state.counters["rows"] = double(m.list.Size());
}

// Typing a digit, then taking it back: two keystrokes.
void BM_MailboxKeystroke(benchmark::State& state) {
    Mailbox m(std::size_t(state.range(0)));
    m.Open();
    bool typed = false;
    for (auto _ : state) {
        typed = !typed;
        m.list.SetFilter(typed ? QStringLiteral("objet 1") : QString());
    }
}

void BM_MailboxSort(benchmark::State& state) {
    Mailbox m(std::size_t(state.range(0)));
    m.Open();
    bool ascending = false;
    for (auto _ : state) {
        ascending = !ascending;
        m.list.SortBy(MailboxColumn::Subject, ascending);
    }
}

#define MAILBOX_SIZES ->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)
BENCHMARK(BM_MailboxOpen) MAILBOX_SIZES;
BENCHMARK(BM_MailboxKeystroke) MAILBOX_SIZES;
BENCHMARK(BM_MailboxSort) MAILBOX_SIZES;

}  // namespace
}  // namespace quarnel

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
