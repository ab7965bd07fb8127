// What a real X server costs: the frame of the program on the display it is given (started by
// bench/xcost.sh on a private Xvfb), each simulation window of the menu opened in turn as the
// menu opens it, run at its default rate, and the processor time of this program and of the
// X server measured over a few seconds: the share of one core each takes. The frame alone,
// with no window, is measured the same way. Medians of several rounds.
//   vastara_xcost XSERVER_PID [SECONDS] [ROUNDS] [ITEMS]   (ITEMS: e.g. "H3,H4"; default all)
#include "globals.h"
#include "menutable.h"
#include "running.h"
#include "simwindow.h"
#include "vastara.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <unistd.h>

namespace {
// Processor seconds used so far by this process (all its threads) and by another one.
double ownCpu()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_utime.tv_sec + u.ru_utime.tv_usec / 1e6 + u.ru_stime.tv_sec + u.ru_stime.tv_usec / 1e6;
}

double cpuOf(qint64 pid)
{
    QFile f(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray stat = f.readAll();
    const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    // utime and stime: fields 14 and 15 of the whole line.
    return (fields.value(11).toDouble() + fields.value(12).toDouble()) / double(sysconf(_SC_CLK_TCK));
}

// Runs the event loop for a while, as the program does between a user's actions.
void run(double seconds)
{
    QEventLoop loop;
    QTimer::singleShot(int(seconds * 1000), &loop, &QEventLoop::quit);
    loop.exec();
}

struct Share {
    double program, server;
};

Share measure(qint64 server, double seconds)
{
    const double p0 = ownCpu(), s0 = cpuOf(server);
    QElapsedTimer wall;
    wall.start();
    run(seconds);
    const double t = wall.nsecsElapsed() / 1e9;
    return {100 * (ownCpu() - p0) / t, 100 * (cpuOf(server) - s0) / t};
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: vastara_xcost XSERVER_PID [SECONDS] [ROUNDS] [ITEMS]\n");
        return 2;
    }
    const qint64 server = QByteArray(argv[1]).toLongLong();
    const double seconds = argc > 2 ? std::max(1.0, atof(argv[2])) : 3.0;
    const int rounds = argc > 3 ? std::max(1, atoi(argv[3])) : 3;
    const QStringList only = argc > 4 ? QString::fromLocal8Bit(argv[4]).split(QLatin1Char(','), Qt::SkipEmptyParts)
                                      : QStringList();

    QTemporaryDir dir;
    auto *main = new TVastaras(dir.filePath(QStringLiteral("Vastara.cfg")), QStringLiteral("it_IT"));
    main->show();
    main->FinishStartScreen();
    run(1.0);

    struct Row {
        QString item, title;
        std::vector<double> program, server, together, steps;
    };
    std::vector<Row> rows;
    Row idle{QStringLiteral("-"), QStringLiteral("the frame, no window open"), {}, {}, {}, {}};
    Row after{QStringLiteral("-"), QStringLiteral("the frame again, every window closed"), {}, {}, {}, {}};
    for (int r = 0; r < rounds; ++r) {
        const Share frame = measure(server, seconds);
        idle.program.push_back(frame.program);
        idle.server.push_back(frame.server);
        idle.together.push_back(frame.program + frame.server);
        size_t i = 0;
        for (const MenuItemDef *item : SimulationItems()) {
            if (!FactoryOf(*item) || (!only.isEmpty() && !only.contains(QString::fromLatin1(item->name))))
                continue;
            main->OpenSimulation(*item);
            SimWindow *w = main->ActiveSim();
            if (!w)
                continue;
            // Opened, activated and prepared; the windows that wait for their start button
            // are started, as a pupil would.
            for (int k = 0; k < 50 && !w->FirstActivationDone(); ++k)
                run(0.1);
            run(0.5);
            StartIfStopped(w);
            run(0.5);
            const quint64 steps0 = w->StepsTaken();
            QElapsedTimer wall;
            wall.start();
            const Share s = measure(server, seconds);
            const double stepRate = (w->StepsTaken() - steps0) / (wall.nsecsElapsed() / 1e9);
            if (rows.size() <= i)
                rows.push_back({QString::fromLatin1(item->name), w->windowTitle(), {}, {}, {}, {}});
            rows[i].program.push_back(s.program);
            rows[i].server.push_back(s.server);
            rows[i].together.push_back(s.program + s.server);
            rows[i].steps.push_back(stepRate);
            ++i;
            main->B3Click();
            run(0.3);
        }
        const Share closed = measure(server, seconds);
        after.program.push_back(closed.program);
        after.server.push_back(closed.server);
        after.together.push_back(closed.program + closed.server);
    }

    std::printf("Processor share of one core at the default rate, %d x %d screen (median of %d rounds of %.0f s)\n\n",
                main->screen()->size().width(), main->screen()->size().height(), rounds, seconds);
    std::printf("| window | program %% | X server %% | together %% | steps a second |\n|---|---|---|---|---|\n");
    rows.insert(rows.begin(), idle);
    rows.push_back(after);
    for (const Row &r : rows) {
        const QString steps = r.steps.empty() ? QStringLiteral("-") : QString::number(median(r.steps), 'f', 0);
        std::printf("| %s %s | %.1f | %.1f | %.1f | %s |\n", qPrintable(r.item), qPrintable(r.title), median(r.program),
                    median(r.server), median(r.together), qPrintable(steps));
    }
    delete main;
    return 0;
}
