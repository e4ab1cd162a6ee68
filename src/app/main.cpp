// quarneltit: the holder's program. The data folder is the current folder;
// the TA parameter file, the text modules and the help sit beside the
// program. QUARNEL_TEST_HOOK, when set, names the socket of the test hook.

#include <QApplication>
#include <QDir>
#include <QLocale>
#include <memory>

#include "app/program_data.h"
#include "app/startup.h"
#include "app/windows/form_titulaire.h"
#include "app/windows/test_hook.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("QuarnelTit"));

    quarnel::ProgramData data;
    quarnel::ui::FormTitulaire main(data);
    quarnel::StartupPlaces places;
    places.programFile = QCoreApplication::applicationFilePath().toStdString();
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
    main.show();
    (void)main.Start(places);
    return app.exec();
}
