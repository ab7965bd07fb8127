// Vastara: earth science, astronomy and physics in animated simulations.
#include "globals.h"
#include "language/langfile.h"
#include "vastara.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>
#include <cstring>

// "vastara --check-install": tells where the program finds its help and its language files,
// and exits (0 when it finds both), without opening a window.
static int CheckInstall()
{
    const QString help = ProgramFolder() + QStringLiteral("Vastara.htm");
    const bool helpFound = QFileInfo(help).isFile();
    const QString languages = LanguagesFolder();
    const QStringList files = languages.isEmpty()
                                  ? QStringList()
                                  : QDir(languages).entryList({QStringLiteral("*.lng")}, QDir::Files, QDir::Name);
    std::printf("help: %s (%s)\n", qPrintable(help), helpFound ? "found" : "missing");
    std::printf("languages: %s (%s)\n", languages.isEmpty() ? "none" : qPrintable(languages),
                files.isEmpty() ? "missing" : qPrintable(files.join(QLatin1Char(' '))));
    return helpFound && !files.isEmpty() ? 0 : 1;
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc == 2 && std::strcmp(argv[1], "--check-install") == 0)
        return CheckInstall();
    TVastaras *window = new TVastaras;
    window->show();
    const int rc = app.exec();
    delete window;
    return rc;
}
