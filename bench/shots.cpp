// Writes the README's pictures: the frame with its backdrop, and the frame with the P-wave
// window, as the program draws them on a 1280 x 800 screen. Argument: the output folder.
#include "globals.h"
#include "simwindow.h"
#include "vastara.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

int main(int argc, char *argv[])
{
    QTemporaryDir dir;
    const QString json = dir.filePath(QStringLiteral("screen.json"));
    QFile f(json);
    if (f.open(QIODevice::WriteOnly))
        f.write("{\"screens\": [{\"name\": \"shots\", \"x\": 0, \"y\": 0, \"width\": 1280, \"height\": 800, \"logicalDpi\": 96}]}");
    f.close();
    qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + json).toLocal8Bit());
    QApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(out);
    TVastaras main(dir.filePath(QStringLiteral("Vastara.cfg")), QStringLiteral("it_IT"));
    main.show();
    main.FinishStartScreen();
    QCoreApplication::processEvents();
    main.grab().save(out + QStringLiteral("/frame.png"));
    main.OpenSimulation(QStringLiteral("D1"));
    if (SimWindow *w = main.ActiveSim()) {
        for (int i = 0; i < 4; ++i)
            w->tempoTimer();
        w->Refresh();
    }
    QCoreApplication::processEvents();
    main.grab().save(out + QStringLiteral("/primarie.png"));
    return 0;
}
