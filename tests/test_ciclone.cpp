// The cyclone window: the four pictures of each view, the forward and backward loops of the
// two halves, pause, `vista` and `nuovo`, the heights where the funnel's radius is infinite,
// and the life cycle.
#include "globals.h"
#include "language/texts.h"
#include "sims/rotation/ciclone.h"
#include "vastara.h"

#include <QComboBox>
#include <QMdiSubWindow>
#include <QSlider>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include "simtest.h"

#include <QtTest>
#include <array>
#include <cmath>

namespace {
using LD = long double;

int rnd(LD x)
{
    return int(std::nearbyintl(x));
}

qint64 key(int x, int y)
{
    return (qint64(x) << 32) | quint32(y);
}

// The air parcels of the axonometric view in pictures of fw x h, picture by picture; `poles`
// counts the passes whose radius is infinite.
std::array<QSet<qint64>, 4> parcels(int fw, int h, int *poles = nullptr)
{
    std::array<QSet<qint64>, 4> pts;
    int y = 4 * h / 5;
    for (int j = 1; y > h / 5 - h / 35; j += 4) {
        const LD s = std::sin(j * M_PIl / (2.5L * h));
        if (poles && std::fabs(s) < 1e-12L)
            ++*poles;
        for (int e = 0; e <= 5; ++e)
            for (int n = 0; n < 4; ++n) {
                const LD angle = (j + n) * M_PIl / 80 + e * M_PIl / 3;
                y = 4 * h / 5 - rnd((j + n) / 4.0L + rnd(h / 16.0L * std::sin(angle)));
                const LD dx = (h / (20 * s)) * std::cos(angle);
                if (!(std::fabs(dx) <= 1e9L))
                    continue;
                const int x = fw / 2 + rnd(dx);
                if (x >= 0 && x < fw && y >= 0 && y < h)
                    pts[n].insert(key(x, y));
            }
    }
    return pts;
}

// Centres of the dots of section picture n.
QVector<QPoint> dots(int fw, int h, int n, int sigma)
{
    QVector<QPoint> c;
    LD delta = 0;
    for (int r = 0; r < 560; r += 5) {
        for (int e = 0; e <= 6; ++e) {
            const LD rho = 0.3L * (n + r) + 30;
            const LD angle = (n + r) * M_PIl / 90 + e * M_PIl / 3 + delta;
            c << QPoint(fw / 2 + rnd(rho * std::cos(angle)), h / 2 + sigma * rnd(rho * std::sin(angle)));
        }
        delta += 0.02L;
    }
    return c;
}

QImage half(const QImage &screen, int left, int fw)
{
    return screen.copy(QRect(left, 0, fw, screen.height()));
}
} // namespace

class TestCiclone : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();
    void openedFromTheMenu();
    void textsOfAnotherLanguage();
    void axonometricPictures();
    void heightsWhereTheRadiusIsInfinite();
    void sectionPictures();
    void loopsRunOppositeWays();
    void vistaWaitsForNuovo();

private:
    Tciclon *make(int w, int h);
    void checkAxonometric(const Tciclon *w);
    QTemporaryDir dir;
    TVastaras *main = nullptr;
    Tciclon *direct = nullptr;
};

void TestCiclone::cleanup()
{
    delete direct;
    direct = nullptr;
    delete main;
    main = nullptr;
    ModalRunner = nullptr;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    LanguageIndex = 0;
}

Tciclon *TestCiclone::make(int w, int h)
{
    delete direct;
    ChildWidth = w;
    ChildHeight = h;
    direct = static_cast<Tciclon *>(CreateCiclon(nullptr));
    direct->FormCreate();
    direct->FormShow();
    direct->FormActivate();
    return direct;
}

void TestCiclone::checkAxonometric(const Tciclon *w)
{
    const int fw = w->FrameWidth(), h = w->FrameHeight();
    const auto pts = parcels(fw, h);
    for (int n = 0; n < 4; ++n) {
        const QImage &f = w->frames[n];
        QCOMPARE(f.size(), QSize(fw, h));
        // Sky above the horizon, ground from it down; black exactly at the parcels.
        int black = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < fw; ++x) {
                const TColor c = pixelAt(f, x, y);
                if (pts[n].contains(key(x, y))) {
                    QCOMPARE(c, clBlack);
                    ++black;
                } else {
                    QCOMPARE(c, y < 7 * h / 12 ? clAqua : clLime);
                }
            }
        QCOMPARE(black, int(pts[n].size()));
        QVERIFY(black > 300);
    }
    QVERIFY(w->frames[0] != w->frames[1]);
}

void TestCiclone::openedFromTheMenu()
{
    main = new TVastaras(dir.filePath(QStringLiteral("Vastara.cfg")), QStringLiteral("it_IT"));
    main->FinishStartScreen();
    main->OpenSimulation(QStringLiteral("E6"));
    Tciclon *w = ciclon;
    QVERIFY(w);
    QVERIFY(!WindowClosed[30]);
    QVERIFY(!main->BackdropVisible());
    QCOMPARE(w->windowTitle(), QStringLiteral("Ciclone e anticiclone"));
    QCOMPARE(SimWindow::HintOf(w->pausa), QStringLiteral("pausa"));
    QCOMPARE(SimWindow::HintOf(w->cadenza), QString::fromUtf8("velocità di esecuzione"));
    QCOMPARE(SimWindow::HintOf(w->vista), QStringLiteral("vista"));
    QCOMPARE(SimWindow::HintOf(w->guida), QStringLiteral("guida"));
    QCOMPARE(w->vista->itemText(1), QStringLiteral("sezione (al suolo)"));
    // The timer is `cadenza`, moved by the track bar `velo`.
    QCOMPARE(w->tempo->objectName(), QStringLiteral("cadenza"));
    QCOMPARE(w->cadenza->objectName(), QStringLiteral("velo"));
    QCOMPARE(w->cadenza->value(), 100);
    QCOMPARE(w->tempo->interval(), 100);
    w->cadenza->setValue(195);
    QCOMPARE(w->tempo->interval(), 5);
    w->cadenza->setValue(5);
    QCOMPARE(w->tempo->interval(), 195);
    // The first activation drew the axonometric view, then showed the bar and started.
    QVERIFY(w->barrasotto->isVisibleTo(w));
    QVERIFY(w->tempo->isActive());
    QVERIFY(!w->nuovo->isEnabled());
    QCOMPARE(int(w->viewKind), 0);
    checkAxonometric(w);
    // Later activations draw nothing and give the timer back as it was.
    w->frames[0].setPixel(0, 0, qRgb(1, 2, 3));
    w->FormDeactivate();
    QVERIFY(!w->tempo->isActive());
    w->FormActivate();
    QVERIFY(w->tempo->isActive());
    w->tempo->stop();
    w->FormDeactivate();
    w->FormActivate();
    QVERIFY(!w->tempo->isActive());
    QCOMPARE(w->frames[0].pixel(0, 0), qRgb(1, 2, 3));

    HelpCapture help;
    w->guida->click();
    QCOMPARE(help.target, QStringLiteral("AiutoVastara/moti.htm#ciclone"));
    QVERIFY(QFileInfo::exists(help.source.toLocalFile()));
    QCOMPARE(help.source.fragment(), QStringLiteral("ciclone"));

    w->Frame()->close();
    QVERIFY(WindowClosed[30]);
    QVERIFY(main->BackdropVisible());
    QVERIFY(w->frames[2].isNull());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(ciclon == nullptr);
}

void TestCiclone::textsOfAnotherLanguage()
{
    LanguageIndex = 2;
    Tciclon *w = make(1024, 768);
    QCOMPARE(w->windowTitle(), QStringLiteral("Cyclone et anticyclone"));
    QCOMPARE(SimWindow::HintOf(w->vista), QStringLiteral("vue"));
    QCOMPARE(w->vista->count(), 3);
    QCOMPARE(w->vista->itemText(0), QString::fromUtf8("axonométrique"));
    QCOMPARE(w->vista->itemText(2), QStringLiteral("section (en hauteur)"));
    // The list is wide enough for its widest item and its arrow.
    const QFontMetrics fm(w->vista->font());
    QVERIFY(w->vista->width() >= fm.horizontalAdvance(w->vista->itemText(1)) + w->nuovo->sizeHint().width() + 7);
}

void TestCiclone::axonometricPictures()
{
    for (QSize size : {QSize(1880, 880), QSize(1024, 768)}) {
        Tciclon *w = make(size.width(), size.height());
        QCOMPARE(w->FrameWidth(), size.width() / 2);
        checkAxonometric(w);
    }
}

void TestCiclone::heightsWhereTheRadiusIsInfinite()
{
    // At these heights one pass of the helix lies where the funnel's radius has no end.
    for (QSize size : {QSize(525, 394), QSize(611, 458)}) {
        int poles = 0;
        parcels(size.width() / 2, size.height(), &poles);
        QCOMPARE(poles, 1);
        Tciclon *w = make(size.width(), size.height());
        checkAxonometric(w);
    }
}

void TestCiclone::sectionPictures()
{
    for (QSize size : {QSize(1880, 880), QSize(800, 600)}) {
        Tciclon *w = make(size.width(), size.height());
        const int fw = size.width() / 2, h = size.height();
        for (int view : {1, 2}) {
            w->vista->setCurrentIndex(view);
            w->nuovo->click();
            QCOMPARE(int(w->viewKind), view);
            const TColor ground = view == 1 ? clLime : clAqua, core = view == 1 ? clGreen : clTeal;
            for (int n = 0; n < 4; ++n) {
                const QImage &f = w->frames[n];
                QCOMPARE(pixelAt(f, 0, 0), ground);
                QCOMPARE(pixelAt(f, fw - 1, h - 1), ground);
                QCOMPARE(pixelAt(f, fw / 2, h / 2), core);
                QCOMPARE(pixelAt(f, fw / 2 + 20, h / 2 - 10), core);
                // Dots of radius 2 on the spiral, mirrored in the view from aloft; the spiral
                // stays inside the picture.
                const QVector<QPoint> c = dots(fw, h, n, view == 1 ? 1 : -1);
                for (QPoint p : c) {
                    QVERIFY(f.rect().contains(p));
                    QCOMPARE(pixelAt(f, p.x(), p.y()), clBlack);
                    QCOMPARE(pixelAt(f, p.x() - 1, p.y() - 1), clBlack);
                }
                for (int y = 0; y < h; ++y)
                    for (int x = 0; x < fw; ++x)
                        if (pixelAt(f, x, y) == clBlack) {
                            bool near = false;
                            for (QPoint p : c)
                                near = near || (qAbs(p.x() - x) <= 2 && qAbs(p.y() - y) <= 2);
                            QVERIFY(near);
                        }
            }
        }
    }
}

void TestCiclone::loopsRunOppositeWays()
{
    Tciclon *w = make(1024, 768);
    const int fw = w->FrameWidth();
    for (int view : {0, 1, 2}) {
        if (view) {
            w->vista->setCurrentIndex(view);
            w->nuovo->click();
        }
        for (int t = 0; t < 9; ++t) {
            const int f = t % 4;
            QCOMPARE(int(w->frameIndex), f);
            w->cadenzaTimer();
            const int left = view == 1 ? 3 - f : f;
            QCOMPARE(half(w->screen, 0, fw), w->frames[left]);
            QCOMPARE(half(w->screen, fw, fw), w->frames[3 - left]);
        }
    }
    // Paused, the last pictures stay and the loop does not move.
    w->pausa->click();
    const QImage shown = w->screen;
    const int held = w->frameIndex;
    for (int t = 0; t < 6; ++t)
        w->cadenzaTimer();
    QCOMPARE(w->screen, shown);
    QCOMPARE(int(w->frameIndex), held);
    w->pausa->click();
    w->cadenzaTimer();
    QCOMPARE(int(w->frameIndex), (held + 1) % 4);
}

void TestCiclone::vistaWaitsForNuovo()
{
    Tciclon *w = make(800, 600);
    const std::array<QImage, 4> before = w->frames;
    w->cadenzaTimer();
    w->vista->setCurrentIndex(2);
    QVERIFY(w->nuovo->isEnabled());
    QCOMPARE(int(w->viewKind), 0);
    QCOMPARE(w->frames[1], before[1]);
    w->cadenzaTimer();
    QCOMPARE(half(w->screen, 0, w->FrameWidth()), before[1]);
    // `nuovo` draws the chosen view, clears the window and starts the loop again.
    w->tempo->stop();
    w->nuovo->click();
    QVERIFY(!w->nuovo->isEnabled());
    QCOMPARE(int(w->viewKind), 2);
    QCOMPARE(int(w->frameIndex), 0);
    QVERIFY(w->tempo->isActive());
    QCOMPARE(w->screen, NewBitmap(800, 600, clBlack));
    QCOMPARE(pixelAt(w->frames[0], 0, 0), clAqua);
    // Choosing the same item again enables `nuovo` as well.
    emit w->vista->activated(2);
    QVERIFY(w->nuovo->isEnabled());
}

QTEST_MAIN(TestCiclone)
#include "test_ciclone.moc"
