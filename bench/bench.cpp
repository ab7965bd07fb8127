// Benchmark: the cost of each simulation window's first-activation preparation and of its
// tick, at two client sizes, beside the floor every tick pays (copying one client-sized
// picture onto the window); the time from process start to the ready frame; and memory with
// the windows open. Medians over many repetitions; run on a quiet machine and compare ratios.
#include "canvas.h"
#include "running.h"
#include "globals.h"
#include "menutable.h"
#include "simwindow.h"
#include "vastara.h"
#include "sims/earthquakes/epicentro.h"
#include "sims/earthquakes/oscillazione.h"
#include "sims/earthquakes/raylei.h"
#include "viewswitch.h"
#include "sims/misc/simuldop.h"
#include "sims/moon/fasilunari.h"
#include "sims/rotation/centriguga.h"
#include "sims/rotation/coriolis.h"
#include "sims/rotation/gravi.h"
#include "sims/rotation/peso.h"
#include "sims/solar/pkeplero.h"
#include "sims/solar/camsole.h"
#include "sims/mechanics/espansione.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QMdiArea>
#include <QSpinBox>
#include <QToolButton>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <malloc.h>
#include <ctime>
#include <functional>
#include <unistd.h>

namespace {
double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// Bytes the program holds on the heap now (small blocks and mapped large ones, such as
// pictures).
long heapInUseKiB()
{
    const struct mallinfo2 m = mallinfo2();
    return long((m.uordblks + m.hblkhd) / 1024);
}

long rssKiB()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return 0;
}

// Seconds since this process started (from /proc), for the start-up figure.
double secondsSinceProcessStart()
{
    QFile f(QStringLiteral("/proc/self/stat"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray stat = f.readAll();
    const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    const double startTicks = fields.value(19).toDouble(); // field 22 of the whole line
    QFile up(QStringLiteral("/proc/uptime"));
    if (!up.open(QIODevice::ReadOnly))
        return 0;
    const double uptime = up.readAll().split(' ').first().toDouble();
    return uptime - startTicks / double(sysconf(_SC_CLK_TCK));
}

// Windows whose animation runs once and stops are started again, so that every measured
// tick is a tick of the running animation.
void keepRunning(SimWindow *w)
{
    // The weight window draws only when asked to step.
    if (auto *p = qobject_cast<Tvariapeso *>(w))
        p->redrawWanted = true;
    StartIfStopped(w);
}

struct Extra {
    QString what;
    int cw, ch;
    double ms;
};

struct Row {
    QString item, title;
    int cw, ch;
    double prepare, tick, floor;
};

struct Memory {
    QString item, title;
    long heapKiB, rssKiB;
};

// Median of a tick.
double medianTick(int n, const std::function<void()> &tick)
{
    std::vector<double> t;
    t.reserve(n);
    for (int i = 0; i < n; ++i) {
        QElapsedTimer e;
        e.start();
        tick();
        t.push_back(e.nsecsElapsed() / 1e6);
    }
    return median(t);
}

// The floor every tick pays at a client size: one client-sized picture copied onto the
// window's picture. All sizes are measured by the same procedure in the same rounds, one
// after the other, so that each sees the same state of a shared, noisy machine; the spread
// is the middle half of the copies.
struct Floor {
    double median, low, high;
};
std::vector<Floor> copyFloors(const std::vector<QSize> &sizes, int rounds)
{
    std::vector<QImage> pictures, windows;
    for (const QSize &size : sizes) {
        pictures.push_back(NewBitmap(size.width(), size.height(), clNavy));
        windows.push_back(NewBitmap(size.width(), size.height(), clBlack));
    }
    std::vector<std::vector<double>> times(sizes.size());
    for (int r = 0; r < rounds; ++r)
        for (size_t i = 0; i < sizes.size(); ++i) {
            Canvas c(&windows[i]);
            QElapsedTimer e;
            e.start();
            c.Draw(0, 0, pictures[i]);
            c.flush();
            times[i].push_back(e.nsecsElapsed() / 1e6);
        }
    std::vector<Floor> floors;
    for (std::vector<double> &t : times) {
        std::sort(t.begin(), t.end());
        floors.push_back({t[t.size() / 2], t[t.size() / 4], t[3 * t.size() / 4]});
    }
    return floors;
}
} // namespace

// Pre-rendering that happens on request, and the heaviest ticks, of particular windows.
void measureExtras(SimWindow *w, const QSize &size, double floor, std::vector<Extra> &extras, int ticks)
{
    const int cw = size.width(), ch = size.height();
    if (auto *d = qobject_cast<Tdopsimul *>(w)) {
        for (int v = d->plonda->minimum(); v <= d->plonda->maximum(); ++v) {
            d->plonda->setValue(v);
            QElapsedTimer e;
            e.start();
            d->disegnaClick();
            extras.push_back({QStringLiteral("I31 frames for source speed %1").arg(v), cw, ch, e.nsecsElapsed() / 1e6});
        }
    } else if (auto *e = qobject_cast<TEpice *>(w)) {
        e->grafClick();
        QElapsedTimer t;
        t.start();
        e->Timer1Timer();
        extras.push_back({QStringLiteral("D6 graph page"), cw, ch, t.nsecsElapsed() / 1e6});
    } else if (auto *o = qobject_cast<Toscilla *>(w)) {
        // The second mode's thirty pictures, prepared when it is first chosen.
        o->tipo->setCurrentIndex(1);
        o->tipoChange();
        QElapsedTimer t;
        t.start();
        o->disegnaClick();
        extras.push_back({QStringLiteral("D5 mode B pictures"), cw, ch, t.nsecsElapsed() / 1e6});
    } else if (auto *r = qobject_cast<Tonder *>(w)) {
        // Ticks during the sweep, where both views are drawn.
        std::vector<double> during;
        for (int round = 0; round < 20 && int(during.size()) < ticks; ++round) {
            r->eviden->click();
            r->sweep->TimerFired();
            for (int i = 0; i < 2000 && r->sweep->Running(); ++i) {
                QElapsedTimer t;
                t.start();
                r->tempoTimer();
                during.push_back(t.nsecsElapsed() / 1e6);
            }
        }
        extras.push_back({QStringLiteral("D4 tick during the sweep (x floor %1)").arg(median(during) / floor, 0, 'f', 2),
                          cw, ch, median(during)});
    } else if (auto *s = qobject_cast<Tcammin *>(w)) {
        // The sky drawn again at each start.
        s->fineClick();
        QElapsedTimer t;
        t.start();
        s->partenzaClick();
        extras.push_back({QStringLiteral("G5 sky drawn at a start"), cw, ch, t.nsecsElapsed() / 1e6});
    } else if (auto *k = qobject_cast<Tkuno *>(w)) {
        // Ticks during the striped change of view, where both views move.
        std::vector<double> during;
        for (int round = 0; round < 20 && int(during.size()) < ticks; ++round) {
            k->pronoClick();
            k->Timer1Timer();
            for (int i = 0; i < 400 && !k->prono->isEnabled(); ++i) {
                QElapsedTimer t;
                t.start();
                k->tempoTimer();
                during.push_back(t.nsecsElapsed() / 1e6);
            }
        }
        extras.push_back({QStringLiteral("G1 tick during a change of view (x floor %1)").arg(median(during) / floor, 0, 'f', 2),
                          cw, ch, median(during)});
    }
}

int main(int argc, char *argv[])
{
    const double atStart = secondsSinceProcessStart();
    QElapsedTimer sinceMain;
    sinceMain.start();
    // Headless, on a fixed 1920 x 1080 screen, unless told otherwise.
    QTemporaryDir screenDir;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        const QString json = screenDir.filePath(QStringLiteral("screen.json"));
        QFile f(json);
        if (f.open(QIODevice::WriteOnly))
            f.write("{\"screens\": [{\"name\": \"bench\", \"x\": 0, \"y\": 0, \"width\": 1920, "
                    "\"height\": 1080, \"logicalDpi\": 96}]}");
        qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + json).toLocal8Bit());
    }
    QApplication app(argc, argv);
    const int ticks = argc > 1 ? std::max(200, atoi(argv[1])) : 300;

    QTemporaryDir dir;
    // Start-up: the main window created, the start screen's 265 ticks run at once, the frame ready.
    auto *main = new TVastaras(dir.filePath(QStringLiteral("Vastara.cfg")), QStringLiteral("it_IT"));
    main->show();
    main->FinishStartScreen();
    QCoreApplication::processEvents();
    const double startupMs = (atStart + sinceMain.nsecsElapsed() / 1e9) * 1000.0;

    // Memory first, before anything else has been allocated and freed.
    // Memory: every window open in the frame at once.
    const long before = rssKiB();
    for (const MenuItemDef *item : SimulationItems())
        main->OpenSimulation(*item);
    for (SimWindow *w : main->Simulations())
        for (int i = 0; i < 5; ++i)
            w->tempoTimer();
    const long after = rssKiB();
    const int open = main->Simulations().size();

    main->B3Click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    // Memory of each window on its own, opened from its menu item in the frame, prepared and
    // run for a few ticks, then closed.
    std::vector<Memory> memory;
    const QSize frameClient(ChildWidth, ChildHeight);
    for (const MenuItemDef *item : SimulationItems()) {
        if (!FactoryOf(*item))
            continue;
        const long heap0 = heapInUseKiB(), rss0 = rssKiB();
        main->OpenSimulation(*item);
        SimWindow *w = main->ActiveSim();
        if (!w)
            continue;
        for (int i = 0; i < 5; ++i)
            w->tempoTimer();
        memory.push_back({QString::fromLatin1(item->name), w->windowTitle(), heapInUseKiB() - heap0, rssKiB() - rss0});
        main->B3Click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    std::vector<Row> rows;
    std::vector<Extra> extras;
    const std::vector<QSize> sizes = {QSize(1880, 880), QSize(1024, 600)};
    const std::vector<Floor> floors = copyFloors(sizes, 4 * ticks);
    // Copying bytes costs more for more of them: a smaller picture's floor above a larger
    // one's says the machine was too busy for the ratios to mean anything.
    bool noisy = false;
    for (size_t i = 0; i < sizes.size(); ++i)
        for (size_t j = 0; j < sizes.size(); ++j)
            if (sizes[i].width() * sizes[i].height() < sizes[j].width() * sizes[j].height()
                && floors[i].median > floors[j].median)
                noisy = true;
    for (size_t s = 0; s < sizes.size(); ++s) {
        const QSize &size = sizes[s];
        const double floor = floors[s].median;
        for (const MenuItemDef *item : SimulationItems()) {
            const SimFactory create = FactoryOf(*item);
            if (!create)
                continue;
            // A window on its own, with exactly this client size.
            ChildWidth = size.width();
            ChildHeight = size.height();
            SimWindow *w = create(nullptr);
            w->FormCreate();
            QElapsedTimer e;
            e.start();
            w->FormActivate();
            const double prepare = e.nsecsElapsed() / 1e6;
            keepRunning(w);
            for (int i = 0; i < 20; ++i) { // warm up
                keepRunning(w);
                w->tempoTimer();
            }
            const double tick = medianTick(ticks, [&] {
                keepRunning(w);
                w->tempoTimer();
            });
            measureExtras(w, size, floor, extras, ticks);
            // Windows with a fast timer: the share of the interval a tick takes.
            if (w->tempo->interval() <= 5)
                extras.push_back({QStringLiteral("%1 tick / its %2 ms interval = %3 %").arg(QString::fromLatin1(item->name))
                                      .arg(w->tempo->interval()).arg(100.0 * tick / w->tempo->interval(), 0, 'f', 1),
                                  size.width(), size.height(), tick});
            rows.push_back({QString::fromLatin1(item->name), w->windowTitle(), size.width(), size.height(), prepare, tick, floor});
            w->FormClose();
            delete w;
        }
    }

    std::printf("Vastara benchmark (median of %d ticks; times in ms)\n\n", ticks);
    std::printf("| copy floor | median | middle half |\n|---|---|---|\n");
    for (size_t s = 0; s < sizes.size(); ++s)
        std::printf("| %d x %d | %.3f | %.3f - %.3f |\n", sizes[s].width(), sizes[s].height(), floors[s].median,
                    floors[s].low, floors[s].high);
    if (noisy)
        std::printf("\nThe run is noisy: a smaller picture's copy floor is above a larger one's, so no ratios "
                    "are printed. Run it again on a quieter machine.\n");
    std::printf("\n| window | client | first activation | tick | tick / floor |\n");
    std::printf("|---|---|---|---|---|\n");
    for (const Row &r : rows) {
        const QString ratio = noisy || r.floor <= 0 ? QStringLiteral("-") : QString::number(r.tick / r.floor, 'f', 2);
        std::printf("| %s %s | %d x %d | %.2f | %.3f | %s |\n", qPrintable(r.item), qPrintable(r.title), r.cw,
                    r.ch, r.prepare, r.tick, qPrintable(ratio));
    }
    std::printf("\n| on request | client | ms |\n|---|---|---|\n");
    for (const Extra &x : extras)
        std::printf("| %s | %d x %d | %.2f |\n", qPrintable(x.what), x.cw, x.ch, x.ms);
    std::printf("\nStart to ready frame (start screen's ticks not counted): %.0f ms\n", startupMs);
    std::printf("Resident memory: %ld KiB with the frame, %ld KiB with %d window(s) open (+%ld KiB)\n", before, after,
                open, after - before);
    std::printf("\n| window alone, %d x %d | heap held (KiB) | resident growth (KiB) |\n|---|---|---|\n",
                frameClient.width(), frameClient.height());
    for (const Memory &m : memory)
        std::printf("| %s %s | %ld | %ld |\n", qPrintable(m.item), qPrintable(m.title), m.heapKiB, m.rssKiB);
    delete main;
    return 0;
}
