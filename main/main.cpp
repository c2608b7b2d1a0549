// dorv_main: the main program of the workstation.

#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "app_exception.h"
#include "dm_main.h"
#include "frm_main.h"
#include "session.h"

int main(int argc, char** argv) {
    api::Application app(argc, argv);
    api::setApplicationTitle(QStringLiteral("АРМ \"Тавлина\""));
    QApplication::setApplicationName(QStringLiteral("dorv_main"));
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));

    // Standard buttons and dialogs in Russian.
    QTranslator qtTranslations;
    if (qtTranslations.load(QLocale(QLocale::Russian, QLocale::Russia), QStringLiteral("qtbase"),
                            QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslations);

    // Relative file names resolve against the program folder.
    const QString programDir = QApplication::applicationDirPath();
    QDir::setCurrent(programDir);
    api::setProgramDir(programDir);

    Tmain_form main_form;
    if (!main_form.FormCreate()) return 0;
    Tdm dm;
    main_form.showMaximized();
    return app.exec();
}
