// quarneltit: the holder's program. The data folder is the current folder;
// the TA parameter file, the text modules and the help sit beside the
// program.

#include <QApplication>
#include <QDir>
#include <QLocale>

#include "app/program_data.h"
#include "app/startup.h"
#include "app/windows/form_titulaire.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("QuarnelTit"));

    quarnel::ProgramData data;
    quarnel::ui::FormTitulaire main(data);
    quarnel::StartupPlaces places;
    places.programFile = QCoreApplication::applicationFilePath().toStdString();
    places.currentFolder = QDir::currentPath().toStdString();
    places.localeIsFrench = QLocale::system().language() == QLocale::French;
    main.show();
    (void)main.Start(places);
    return app.exec();
}
