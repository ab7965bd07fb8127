// Vastara: earth science, astronomy and physics in animated simulations.
#include "globals.h"
#include "language/config.h"
#include "language/langfile.h"
#include "vastara.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>
#include <vector>

#ifndef VASTARA_VERSION
#define VASTARA_VERSION "0"
#endif

// "vastara --check-install": tells where the program finds its help and its language files and
// where it keeps its configuration, and exits (0 when it finds the help and the languages).
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
    // The configuration lives in the folder the program is started in.
    const QFileInfo config(QDir::current(), QString::fromLatin1(ConfigFileName));
    std::printf("configuration: %s (%s)\n", qPrintable(config.absoluteFilePath()),
                config.isFile() ? "found" : "none yet");
    return helpFound && !files.isEmpty() ? 0 : 1;
}

// The options that need no display. They are read by a console application, before any
// window system is contacted; the toolkit's own window-system options (-platform, -style, ...)
// are let through to the windowed program. Returns the exit code, or -1 to go on and start
// the program.
static int ConsoleOptions(int argc, char *argv[])
{
    // The usage line names the command people type, not the program's place under lib/.
    std::vector<char *> args(argv, argv + argc);
    char command[] = "vastara";
    args[0] = command;
    QCoreApplication core(argc, args.data());
    QCoreApplication::setApplicationName(QStringLiteral("vastara"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VASTARA_VERSION));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Earth science, astronomy and physics in animated simulations.\n"
                       "Without options the program opens its window."));
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption check(QStringLiteral("check-install"),
                                   QStringLiteral("Print where the help, the language files and the "
                                                  "configuration are, and exit."));
    parser.addOption(check);
    const char *const valued[] = {"platform", "platformpluginpath", "platformtheme", "plugin", "display",
                                  "geometry", "qwindowgeometry", "qwindowicon", "qwindowtitle", "session",
                                  "style", "stylesheet", "qmljsdebugger"};
    for (const char *name : valued) {
        QCommandLineOption o(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        o.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(o);
    }
    const char *const flags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};
    for (const char *name : flags) {
        QCommandLineOption o(QString::fromLatin1(name));
        o.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(o);
    }
    parser.process(core); // --help, --version and unknown options end here
    if (!parser.positionalArguments().isEmpty()) {
        std::fprintf(stderr, "vastara: unexpected argument '%s' (see vastara --help)\n",
                     qPrintable(parser.positionalArguments().constFirst()));
        return 1;
    }
    if (parser.isSet(check))
        return CheckInstall();
    return -1;
}

int main(int argc, char *argv[])
{
    if (argc > 1) {
        const int rc = ConsoleOptions(argc, argv);
        if (rc >= 0)
            return rc;
    }
    QApplication app(argc, argv);
    TVastaras *window = new TVastaras;
    window->show();
    const int rc = app.exec();
    delete window;
    return rc;
}
