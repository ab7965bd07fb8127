// What reaches the screen is the window's picture. Ticks repaint only what they drew, so a box
// that missed a pixel would leave the screen stale: every window is ticked by hand, at a wide
// client and at a 4:3 one, and what the frame shows over its picture is compared with the
// picture, pixel by pixel.
#include "bench/running.h"
#include "menutable.h"
#include "simtest.h"

#include <QMdiArea>
#include <QScreen>
#include <QTemporaryDir>

class TestShown : public QObject
{
    Q_OBJECT
private slots:
    void everyWindowShowsItsPicture_data();
    void everyWindowShowsItsPicture();
};

namespace {
// The timers of a window that tick its pictures: all but the one that shows them.
QList<QTimer *> tickers(SimWindow *w)
{
    QList<QTimer *> list;
    for (QTimer *t : w->findChildren<QTimer *>())
        if (t->objectName() != QLatin1String("presenter"))
            list << t;
    return list;
}

// Pixels of the picture, outside the window's bars and other controls, that the frame shows
// otherwise (-1: the repaint never came).
int staleShown(TVastaras *main, SimWindow *w)
{
    if (!QTest::qWaitFor([w] { return !w->RepaintPending(); }, 5000))
        return -1;
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    const QImage shown = main->screen()->grabWindow(main->winId()).toImage().convertToFormat(QImage::Format_RGB32);
    const QPoint origin = w->mapTo(main, QPoint(0, 0));
    QRegion picture(w->rect());
    for (QWidget *c : w->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
        if (c->isVisible() && c->objectName() != QLatin1String("surface"))
            picture -= c->geometry();
    picture &= main->Workspace()->viewport()->geometry().translated(-origin + main->Workspace()->pos());
    int stale = 0;
    for (const QRect &r : picture)
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                stale += shown.pixel(origin + QPoint(x, y)) != w->screen.pixel(x, y);
    return stale;
}
} // namespace

void TestShown::everyWindowShowsItsPicture_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QSize>("client");
    for (const MenuItemDef *item : SimulationItems()) {
        if (!FactoryOf(*item))
            continue;
        const QString name = QString::fromLatin1(item->name);
        QTest::newRow(qPrintable(name + QStringLiteral(" wide"))) << name << QSize(1880, 880);
        QTest::newRow(qPrintable(name + QStringLiteral(" 4:3"))) << name << QSize(800, 600);
    }
}

void TestShown::everyWindowShowsItsPicture()
{
    QFETCH(QString, item);
    QFETCH(QSize, client);
    QTemporaryDir dir;
    TVastaras main(dir.filePath(QStringLiteral("Vastara.cfg")), QStringLiteral("it_IT"));
    main.resize(1920, 1040);
    main.show();
    main.FinishStartScreen();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    SimWindow *w = OpenAtClient(&main, item, client);
    QVERIFY2(w, "the window did not open at the client size");
    QTRY_VERIFY(w->FirstActivationDone());
    StartIfStopped(w);
    // Every timer that runs is ticked by hand from here on, and stopped in between.
    QList<QPointer<QTimer>> running;
    for (QTimer *t : tickers(w))
        if (t->isActive())
            running << t;
    QCOMPARE(staleShown(&main, w), 0);
    for (int tick = 0; tick < 80; ++tick) {
        for (const QPointer<QTimer> &t : running) {
            for (QTimer *s : tickers(w))
                s->stop();
            if (t)
                QMetaObject::invokeMethod(t, "timeout", Qt::DirectConnection);
        }
        for (QTimer *s : tickers(w))
            s->stop();
        if (tick % 20 == 19)
            QCOMPARE(staleShown(&main, w), 0);
    }
}

QTEST_MAIN(TestShown)
#include "test_shown.moc"
