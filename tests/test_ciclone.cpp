// The cyclone window: the four pictures of each view (also at heights where the funnel's
// radius has no end), the two halves looping opposite ways, pause, `vista` and `nuovo`, life cycle.
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
int rnd(LD x) { return int(std::nearbyintl(x)); }
qint64 key(int x, int y) { return (qint64(x) << 32) | quint32(y); }

// The air parcels of the axonometric pictures (fw x h); `poles` counts the passes whose
// funnel radius is infinite.
std::array<QSet<qint64>, 4> parcels(int fw, int h, int &poles)
{
    std::array<QSet<qint64>, 4> pts;
    poles = 0;
    int y = 4 * h / 5;
    for (int j = 1; y > h / 5 - h / 35; j += 4) {
        const LD s = std::sin(j * M_PIl / (2.5L * h));
        poles += std::fabs(s) < 1e-12L;
        for (int e = 0; e <= 5; ++e)
            for (int n = 0; n < 4; ++n) {
                const LD angle = (j + n) * M_PIl / 80 + e * M_PIl / 3;
                y = 4 * h / 5 - rnd((j + n) / 4.0L + rnd(h / 16.0L * std::sin(angle)));
                const LD dx = (h / (20 * s)) * std::cos(angle);
                if (std::fabs(dx) <= 1e9L && QRect(0, 0, fw, h).contains(fw / 2 + rnd(dx), y))
                    pts[n].insert(key(fw / 2 + rnd(dx), y));
            }
    }
    return pts;
}

int count(const QImage &img, TColor c)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += pixelAt(img, x, y) == c;
    return n;
}
QImage half(const QImage &screen, int left, int fw) { return screen.copy(QRect(left, 0, fw, screen.height())); }
} // namespace

class TestCiclone : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();
    void lifeCycleAndTexts();
    void axonometricPictures();
    void sectionPictures();
    void loopsPauseAndNuovo();

private:
    Tciclon *make(int width, int height);
    QTemporaryDir dir;
    TVastaras *main = nullptr;
    Tciclon *w = nullptr;
};

void TestCiclone::cleanup()
{
    delete w;
    w = nullptr;
    delete main;
    main = nullptr;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    LanguageIndex = 0;
}

Tciclon *TestCiclone::make(int width, int height)
{
    delete w;
    ChildWidth = width;
    ChildHeight = height;
    w = static_cast<Tciclon *>(CreateCiclon(nullptr));
    w->FormCreate();
    w->FormActivate();
    return w;
}

void TestCiclone::lifeCycleAndTexts()
{
    main = new TVastaras(dir.filePath(QStringLiteral("Vastara.cfg")), QStringLiteral("it_IT"));
    main->FinishStartScreen();
    main->OpenSimulation(QStringLiteral("E6"));
    Tciclon *c = ciclon;
    QVERIFY(c && !WindowClosed[30] && !main->BackdropVisible());
    QCOMPARE(c->windowTitle(), QStringLiteral("Ciclone e anticiclone"));
    QCOMPARE(SimWindow::HintOf(c->cadenza), QString::fromUtf8("velocità di esecuzione"));
    QCOMPARE(SimWindow::HintOf(c->vista), QStringLiteral("vista"));
    QCOMPARE(c->vista->itemText(1), QStringLiteral("sezione (al suolo)"));
    // The timer `cadenza`, moved by the track bar `velo`.
    QCOMPARE(c->tempo->objectName(), QStringLiteral("cadenza"));
    QCOMPARE(c->cadenza->objectName(), QStringLiteral("velo"));
    QVERIFY(c->cadenza->value() == 100 && c->tempo->interval() == 100);
    c->cadenza->setValue(195);
    QCOMPARE(c->tempo->interval(), 5);
    // The first activation drew view 0, then showed the bar and started the loop.
    QVERIFY(c->barrasotto->isVisibleTo(c) && c->tempo->isActive() && !c->nuovo->isEnabled());
    QCOMPARE(pixelAt(c->frames[0], 0, 0), clAqua);
    // Later activations draw nothing and give the timer back as it was.
    c->frames[0].setPixel(0, 0, qRgb(1, 2, 3));
    c->FormDeactivate();
    QVERIFY(!c->tempo->isActive());
    c->FormActivate();
    QVERIFY(c->tempo->isActive());
    c->tempo->stop();
    c->FormDeactivate();
    c->FormActivate();
    QVERIFY(!c->tempo->isActive());
    QCOMPARE(c->frames[0].pixel(0, 0), qRgb(1, 2, 3));
    HelpCapture help;
    c->guida->click();
    QCOMPARE(help.target, QStringLiteral("AiutoVastara/moti.htm#ciclone"));
    QVERIFY(QFileInfo::exists(help.source.toLocalFile()));
    c->Frame()->close();
    QVERIFY(WindowClosed[30] && main->BackdropVisible() && c->frames[2].isNull());

    LanguageIndex = 2;
    make(1024, 768);
    QCOMPARE(w->windowTitle(), QStringLiteral("Cyclone et anticyclone"));
    QCOMPARE(SimWindow::HintOf(w->vista), QStringLiteral("vue"));
    QCOMPARE(w->vista->itemText(2), QStringLiteral("section (en hauteur)"));
    const QFontMetrics fm(w->vista->font());
    QVERIFY(w->vista->width() >= fm.horizontalAdvance(w->vista->itemText(1)) + w->nuovo->sizeHint().width() + 7);
}

void TestCiclone::axonometricPictures()
{
    // Wide and 4:3 clients, and two heights where one pass of the helix has an infinite radius.
    for (QSize size : {QSize(1880, 880), QSize(1024, 768), QSize(525, 394), QSize(611, 458)}) {
        make(size.width(), size.height());
        const int fw = size.width() / 2, h = size.height();
        QCOMPARE(w->FrameWidth(), fw);
        int poles = 0;
        const auto pts = parcels(fw, h, poles);
        QCOMPARE(poles, h == 394 || h == 458 ? 1 : 0);
        for (int n = 0; n < 4; ++n) {
            const QImage &f = w->frames[n];
            QCOMPARE(f.size(), QSize(fw, h));
            // Sky above the horizon, ground from it down, black exactly at the parcels.
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < fw; ++x)
                    QCOMPARE(pixelAt(f, x, y), pts[n].contains(key(x, y)) ? clBlack : y < 7 * h / 12 ? clAqua : clLime);
            QVERIFY(pts[n].size() > 300);
        }
    }
}

void TestCiclone::sectionPictures()
{
    for (QSize size : {QSize(1880, 880), QSize(800, 600)}) {
        make(size.width(), size.height());
        const int fw = size.width() / 2, h = size.height();
        for (int view : {1, 2}) {
            w->vista->setCurrentIndex(view);
            w->nuovo->click();
            const TColor ground = view == 1 ? clLime : clAqua, core = view == 1 ? clGreen : clTeal;
            for (int n = 0; n < 4; ++n) {
                const QImage &f = w->frames[n];
                QVERIFY(pixelAt(f, 0, 0) == ground && pixelAt(f, fw - 1, h - 1) == ground);
                QVERIFY(pixelAt(f, fw / 2, h / 2) == core && pixelAt(f, fw / 2 + 20, h / 2 - 10) == core);
                // Dots of radius 2 on the spiral, mirrored seen from aloft, inside the picture.
                QImage expected = f;
                LD delta = 0;
                for (int r = 0; r < 560; r += 5, delta += 0.02L)
                    for (int e = 0; e <= 6; ++e) {
                        const LD rho = 0.3L * (n + r) + 30, angle = (n + r) * M_PIl / 90 + e * M_PIl / 3 + delta;
                        const QPoint p(fw / 2 + rnd(rho * std::cos(angle)), h / 2 + (view == 1 ? 1 : -1) * rnd(rho * std::sin(angle)));
                        QVERIFY(QRect(2, 2, fw - 4, h - 4).contains(p));
                        QVERIFY(pixelAt(f, p.x(), p.y()) == clBlack && pixelAt(f, p.x() - 1, p.y() - 1) == clBlack);
                        for (int y = p.y() - 2; y <= p.y() + 2; ++y) // nothing black outside the dots
                            for (int x = p.x() - 2; x <= p.x() + 2; ++x)
                                expected.setPixel(x, y, qRgb(1, 1, 1));
                    }
                QCOMPARE(count(expected, clBlack), 0);
            }
        }
    }
}

void TestCiclone::loopsPauseAndNuovo()
{
    make(800, 600);
    const int fw = w->FrameWidth();
    for (int view : {0, 1, 2}) {
        if (view) {
            // `vista` alone changes nothing but `nuovo`; `nuovo` draws, clears and restarts.
            const QImage before = w->frames[1];
            w->vista->setCurrentIndex(view);
            QVERIFY(w->nuovo->isEnabled() && w->frames[1] == before && w->viewKind == view - 1);
            w->tempo->stop();
            w->nuovo->click();
            QVERIFY(!w->nuovo->isEnabled() && w->viewKind == view && w->frameIndex == 0 && w->tempo->isActive());
            QCOMPARE(w->screen, NewBitmap(800, 600, clBlack));
        }
        for (int t = 0; t < 9; ++t) {
            const int f = t % 4, left = view == 1 ? 3 - f : f;
            QCOMPARE(int(w->frameIndex), f);
            w->cadenzaTimer();
            QVERIFY(half(w->screen, 0, fw) == w->frames[left] && half(w->screen, fw, fw) == w->frames[3 - left]);
        }
    }
    emit w->vista->activated(2); // the same item chosen again
    QVERIFY(w->nuovo->isEnabled());
    // Paused, the last pictures stay and the loop does not move.
    w->pausa->click();
    const QImage shown = w->screen;
    const int held = w->frameIndex;
    w->cadenzaTimer();
    QVERIFY(w->screen == shown && w->frameIndex == held);
    w->pausa->click();
    w->cadenzaTimer();
    QCOMPARE(int(w->frameIndex), (held + 1) % 4);
}

QTEST_MAIN(TestCiclone)
#include "test_ciclone.moc"
