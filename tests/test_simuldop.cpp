#include "globals.h"
#include "vastara.h"
#include "simwindow.h"
#include "sims/misc/simuldop.h"
#include "sims/earthquakes/epicentro.h"
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>
class Scratch : public QObject { Q_OBJECT
private slots:
  void run() {
    QTemporaryDir dir;
    TVastaras v(dir.filePath("Vastara.cfg"), QString());
    v.FinishStartScreen();
    qDebug() << ChildWidth << ChildHeight << BarHeight << ControlHeight << ControlTop;
    QElapsedTimer et; et.start();
    v.OpenSimulation("I31");
    qDebug() << "open ms" << et.elapsed();
    auto *w = dopsimul;
    qDebug() << w->W << w->H << w->A[1] << w->A[4] << w->B[1];
    for (int n=0;n<30;++n) w->tempoTimer();
    w->canvas.flush();
    w->screen.save("/tmp/dopscratch/dop1.png");
    w->frames[0].save("/tmp/dopscratch/frame0.png");
    w->plonda->setValue(6);
    et.restart(); w->disegnaClick(); qDebug() << "draw6 ms" << et.elapsed();
    for (int n=0;n<150;++n) w->tempoTimer();
    w->canvas.flush();
    w->screen.save("/tmp/dopscratch/dop6.png");
    w->plonda->setValue(4);
    et.restart(); w->disegnaClick(); qDebug() << "draw4 ms" << et.elapsed();
    v.OpenSimulation("D6");
    auto *e = Epice;
    for (int n=0;n<200 && e->tempo->isActive();++n) { e->tempoTimer(); if(n==60){e->canvas.flush(); e->screen.save("/tmp/dopscratch/epi_wave.png");} }
    qDebug() << "ex" << e->ex << e->ey << e->d[0] << e->d[1] << e->d[2] << e->c[0] << e->c[1] << e->c[2];
    for (int n=0;n<2000 && e->tempo->isActive();++n) e->tempoTimer();
    e->grafClick(); e->Timer1Timer(); while (e->Timer2->isActive()) e->Timer2Timer();
    e->tracciaClick(); int n=0; while (e->temposec->isActive()) { e->temposecTimer(); if (++n==100){e->canvas.flush(); e->screen.save("/tmp/dopscratch/epi_read.png");} }
    e->canvas.flush(); e->screen.save("/tmp/dopscratch/epi_graph.png");
    e->pagiClick(); for (int n=0;n<20;++n) e->Timer3Timer(); e->canvas.flush(); e->screen.save("/tmp/dopscratch/epi_switch.png");
    while (e->Timer3->isActive()) e->Timer3Timer();
    e->canvas.flush(); e->screen.save("/tmp/dopscratch/epi_sol.png");
    e->grab().save("/tmp/dopscratch/epi_grab.png");
    w->grab().save("/tmp/dopscratch/dop_grab.png");
    qDebug() << "beeps" << BeepCount;
  }
};
QTEST_MAIN(Scratch)
#include "test_simuldop.moc"
