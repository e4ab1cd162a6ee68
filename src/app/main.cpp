// SPDX-License-Identifier: GPL-3.0-or-later
// quarneltit: the holder's program. The data folder is the current folder,
// one run at a time; the TA parameter file, the text modules and the help sit
// beside the program, or in the installed data folder (../share/quarneltit).
// QUARNEL_TEST_HOOK, when set, names the socket of the test hook.
//
//   quarneltit --version       prints the version and stops
//   quarneltit --start-check   starts as usual, says what it found, stops
//                              (0 when the window came up with its files)

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>
#include <cstdio>
#include <cstring>
#include <memory>

#include "app/install_places.h"
#include "app/language.h"
#include "app/program_data.h"
#include "app/startup.h"
#include "app/windows/first_start.h"
#include "app/windows/shell.h"
#include "app/windows/test_hook.h"
#include "crypto/secret_memory.h"
#include "holder/settings.h"
#include "store/folder_lock.h"

namespace {

bool HasSwitch(int argc, char** argv, const char* name) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], name) == 0) return true;
    }
    return false;
}

// One line per file the program needs; true when all are there and usable.
bool ReportStart(const quarnel::HolderContext& ctx, const QWidget& window) {
    bool ok = window.isVisible();
    std::printf("program files: %s\n", ctx.programFolder.string().c_str());
    const bool help = QFileInfo(QString::fromStdString(ctx.helpFile.string()))
                          .dir()
                          .exists(QStringLiteral("QuarnelTit_F.html"));
    std::printf("help pages: %s\n", help ? "found" : "MISSING");
    const auto module = quarnel::FindTextModule(ctx.programFile, quarnel::kLocaleEnglish);
    QTranslator english;
    const bool moduleOk =
        module && english.load(QString::fromStdString(module->string())) && !english.isEmpty();
    std::printf("English module: %s\n", moduleOk ? module->string().c_str() : "MISSING");
    quarnel::TaParameters ta;
    std::string why;
    const bool taOk = quarnel::ReadTaParameters(ctx, ta, &why);
    std::printf("TA parameters: %s\n", taOk ? ta.code.c_str() : why.c_str());
    std::printf("main window: %s\n", window.isVisible() ? "shown" : "NOT SHOWN");
    ok = ok && help && moduleOk && taOk;
    std::fflush(stdout);
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    // Keys and decrypted text never go to a core file.
    (void)quarnel::KeepOutOfCoreDumps();
    if (HasSwitch(argc, argv, "--version")) {
        std::printf("quarneltit %s\n", QUARNEL_VERSION);
        return 0;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("QuarnelTit"));
    QApplication::setApplicationVersion(QStringLiteral(QUARNEL_VERSION));

    quarnel::ProgramData data;
    quarnel::ui::Shell shell(data);
    quarnel::ui::FormTitulaire& main = shell.Main();
    quarnel::StartupPlaces places;
    // The text modules are named after the program and looked for where its
    // files are.
    const std::filesystem::path program = QCoreApplication::applicationFilePath().toStdString();
    places.programFile = quarnel::ProgramFilesFolder(program) / program.filename();
    places.currentFolder = QDir::currentPath().toStdString();
    places.localeIsFrench = QLocale::system().language() == QLocale::French;
    std::unique_ptr<quarnel::ui::TestHook> hook;
    if (const QString socket = qEnvironmentVariable("QUARNEL_TEST_HOOK"); !socket.isEmpty()) {
        hook = std::make_unique<quarnel::ui::TestHook>();
        if (!hook->Listen(socket)) {
            qCritical("test hook: cannot listen on %s", qPrintable(socket));
            return 2;
        }
    }
    // One run per data folder, held until the end; a second run stops here
    // without writing anything.
    const std::unique_ptr<quarnel::DataFolderLock> lock =
        quarnel::ui::ClaimDataFolder(places.programFile, places.currentFolder, nullptr);
    if (!lock) return 1;
    main.show();
    (void)shell.Start(places);
    if (!quarnel::ui::EnsureTaParameterFile(data, &main)) return 1;
    if (HasSwitch(argc, argv, "--start-check")) {
        QTimer::singleShot(0, &main,
                           [&] { QCoreApplication::exit(ReportStart(data, main) ? 0 : 1); });
    }
    return app.exec();
}
