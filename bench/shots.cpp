// Writes the README's pictures: the frame with its backdrop, and the frame with the P-wave
// window, as the program draws them on a 1280 x 800 screen. Arguments: the output folder, and
// "all" to add one picture of every simulation window after a few seconds of its animation.
#include "globals.h"
#include "menutable.h"
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
    if (argc > 2 && QByteArray(argv[2]) == "all") {
        ModalRunner = [](QDialog *) { return 0; };
        for (const MenuItemDef *item : SimulationItems()) {
            main.B3Click();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            main.OpenSimulation(*item);
            SimWindow *w = main.ActiveSim();
            if (!w)
                continue;
            for (int i = 0; i < 60; ++i)
                w->tempoTimer();
            w->Refresh();
            QCoreApplication::processEvents();
            main.grab().save(out + QStringLiteral("/window-%1.png").arg(QString::fromLatin1(item->name)));
        }
    }
    return 0;
}
