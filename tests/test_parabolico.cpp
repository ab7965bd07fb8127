// The parabolic-antenna window: the fronts and the focus in each of the eight pictures, the
// rays over them, the controls, pause and the life cycle.
#include "globals.h"
#include "language/texts.h"
#include "sims/misc/parabolico.h"
#include "vastara.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QSlider>
#include <QTemporaryDir>
#include <QToolButton>
#include "simtest.h"

#include <QtTest>
#include <cmath>

class TestParabolico : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void picturesAtBothClients_data();
    void picturesAtBothClients();
    void ticksRaysAndFronts();
    void tipoAndRenderingAgain();
    void tipoByMouseAndKeys();
    void lifeCycleAndEnglish();

private:
    QTemporaryDir dir;
    TVastaras *main = nullptr;
    Tsconcavo *openAt(QSize client);
};

void TestParabolico::init()
{
    main = new TVastaras(dir.filePath(QStringLiteral("Vastara.cfg")), QStringLiteral("it_IT"));
    main->FinishStartScreen();
}

void TestParabolico::cleanup()
{
    delete main;
    main = nullptr;
    LanguageIndex = 0;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

Tsconcavo *TestParabolico::openAt(QSize client)
{
    ChildWidth = client.width() + 8;
    ChildHeight = client.height() + 28;
    main->OpenSimulation(QStringLiteral("I2"));
    const QSize off = sconcavo->size() - client;
    if (!off.isNull()) {
        sconcavo->Frame()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ChildWidth -= off.width();
        ChildHeight -= off.height();
        main->OpenSimulation(QStringLiteral("I2"));
    }
    return sconcavo;
}

void TestParabolico::picturesAtBothClients_data()
{
    QTest::addColumn<QSize>("client");
    QTest::newRow("wide") << QSize(1880, 880);
    QTest::newRow("4:3") << QSize(1000, 750);
}

void TestParabolico::picturesAtBothClients()
{
    QFETCH(QSize, client);
    Tsconcavo *w = openAt(client);
    QVERIFY(w && w->FirstActivationDone());
    const int CW = client.width(), CH = client.height();
    QCOMPARE(w->ClientWidth(), CW);
    const int F = ScreenWidth() / 12;
    const long double far = 5.0L * CW;
    const int s = int(std::nearbyint(far * F / (far - F + 0.0001L)));
    const int xf = CW / 2 - s, yc = CH / 4, xv = -5 * CW, half = CH / 10;
    const int n1 = int(std::nearbyint(far / 3)), n2 = int(std::nearbyint(s / 4.0));
    QCOMPARE(w->FocusX(), xf);
    QCOMPARE(w->PlaneFronts(), n1);
    // The bar counts what is drawn, and ends full.
    QCOMPARE(w->progresso->maximum(), 2 * (n1 + 1 + n2 + 1));
    QCOMPARE(w->progresso->value(), w->progresso->maximum());
    QVERIFY(!w->progresso->isVisibleTo(w));
    for (int f = 0; f < 9; ++f) {
        const QImage &p = w->pictures[f];
        QCOMPARE(p.size(), QSize(CW / 2 + 10, CH / 2));
        // The focus, the mirror's vertex, and black behind the mirror, from the vertex on.
        QCOMPARE(pixelAt(p, xf, yc), clYellow);
        QVERIFY(colourNear(p, CW / 2 - 1, yc, clWhite));
        for (int y = 0; y < p.height(); ++y) {
            int x = CW / 2 - 1;
            while (x >= 0 && pixelAt(p, x, y) != clWhite)
                --x;
            for (x = x < 0 ? CW / 2 : x + 1; x < p.width(); ++x)
                QCOMPARE(pixelAt(p, x, y), clBlack);
        }
    }
    for (int f = 0; f < 8; ++f) {
        const QImage &p = w->pictures[f];
        // Plane fronts left of the focus: blue on i = 7 - f, cyan on i = 3 - f (mod 8).
        for (int x = 0; x < xf - 4; ++x) {
            TColor want = clBlack;
            if ((x - xv) % 4 == 0) {
                const int i = (x - xv) / 4;
                if ((7 - f - i) % 8 == 0)
                    want = clBlue;
                if ((3 - f - i) % 8 == 0)
                    want = clAqua;
            }
            QCOMPARE(pixelAt(p, x, yc - half + 1), want);
            QCOMPARE(pixelAt(p, x, yc + half - 1), want);
            QCOMPARE(pixelAt(p, x, yc + half + 2), clBlack);
        }
        // Converging fronts: radius 4i round the focus, on the mirror's side.
        for (int i = 2; i <= n2 && xf + 4 * i < CW / 2 - 25; ++i) {
            for (int m = 0; m <= 1; ++m)
                if ((i + 2 + 4 * m) % 8 == f)
                    QVERIFY(colourNear(p, xf + 4 * i, yc, m == 0 ? clBlue : clAqua));
        }
    }
    // The mirror drawn (the middle of its white pixels in each row) is the parabola
    // x = a + b t^2, t from the axis, whose focus a + 1/(4b) is the middle of the yellow disc
    // (xf - 3 .. xf + 2): every ray along the axis is reflected through it.
    const int reach = CH / 5;
    std::vector<double> mid;
    double sx = 0, st = 0, sxt = 0, stt = 0;
    for (int t = -reach; t <= reach; ++t) {
        double sum = 0, white = 0;
        for (int x = 0; x < CW / 2; ++x)
            if (pixelAt(w->pictures[0], x, yc + t) == clWhite)
                sum += x, ++white;
        QVERIFY(white > 0);
        mid.push_back(sum / white);
        sx += mid.back(), st += t * t, sxt += mid.back() * t * t, stt += double(t) * t * t * t;
    }
    const double n = mid.size(), b = (sxt - sx * st / n) / (stt - st * st / n), a = (sx - b * st) / n;
    for (int t = -reach; t <= reach; ++t)
        QVERIFY(std::abs(mid[t + reach] - a - b * t * t) < 1.5);
    QVERIFY(std::abs(a + 1 / (4 * b) - (xf - 0.5)) <= 1.5);
    // Rays: white from the left edge at yc +- h to the mirror, then on to the focus.
    for (int h : {CH / 10 - 1, CH / 20, CH / 40, 3 * CH / 40})
        for (int t : {h, -h}) {
            int end = 0;
            while (pixelAt(w->pictures[8], end + 1, yc + t) == clWhite)
                ++end;
            const double x = a + b * t * t;
            QVERIFY(std::abs(end - x) <= 2);
            QVERIFY(colourNear(w->pictures[8], int(std::lround((x + xf) / 2)), yc + t / 2, clWhite));
        }
    QCOMPARE(pixelAt(w->pictures[8], 5, yc + 3), clBlack);
}

void TestParabolico::ticksRaysAndFronts()
{
    Tsconcavo *w = openAt(QSize(1000, 750));
    const QPoint o = w->PictureOrigin();
    QCOMPARE(o, QPoint(0, 750 / 4));
    const QSize size = w->pictures[0].size();
    auto shown = [&] { return w->screen.copy(QRect(o, size)); };
    // Receiving: picture 7 - frame.
    for (int t = 1; t <= 9; ++t) {
        w->tempoTimer();
        QCOMPARE(int(w->frame), t % 8);
        QCOMPARE(shown(), w->pictures[7 - t % 8]);
    }
    // Pause holds the picture.
    w->pausa->setChecked(true);
    const int held = w->frame;
    w->tempoTimer();
    QCOMPARE(int(w->frame), held);
    QCOMPARE(shown(), w->pictures[7 - held]);
    // The fronts can be hidden only while the rays are shown.
    QVERIFY(!w->fronti->isEnabled());
    QVERIFY(w->raggi->isEnabled());
    w->raggi->click();
    QVERIFY(w->fronti->isEnabled());
    w->tempoTimer();
    QImage both = w->pictures[7 - held].convertToFormat(QImage::Format_RGB32);
    const QImage rays = w->pictures[8].convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < both.height(); ++y)
        for (int x = 0; x < both.width(); ++x)
            both.setPixel(x, y, both.pixel(x, y) | rays.pixel(x, y));
    QCOMPARE(shown().convertToFormat(QImage::Format_RGB32), both);
    w->fronti->click();
    QCOMPARE(SimWindow::HintOf(w->fronti), QStringLiteral("mostra i fronti d'onda"));
    w->pausa->setChecked(false);
    w->tempoTimer();
    QCOMPARE(shown(), w->pictures[8]);
    // Rays released: fronts back, button up and disabled.
    w->raggi->click();
    QVERIFY(!w->fronti->isChecked());
    QVERIFY(!w->fronti->isEnabled());
    QCOMPARE(SimWindow::HintOf(w->fronti), QStringLiteral("nasconde i fronti d'onda"));
    w->tempoTimer();
    QCOMPARE(shown(), w->pictures[7 - w->frame]);
}

void TestParabolico::tipoAndRenderingAgain()
{
    Tsconcavo *w = openAt(QSize(1000, 750));
    QVERIFY(!w->aggiorna->isEnabled());
    w->raggi->click();
    w->tipo->setCurrentIndex(1);
    QVERIFY(w->aggiorna->isEnabled());
    w->aggiorna->click();
    QVERIFY(!w->receiving);
    QVERIFY(!w->raggi->isChecked());
    QVERIFY(!w->fronti->isEnabled());
    // Transmitting: picture `frame`.
    w->tempoTimer();
    QCOMPARE(w->screen.copy(QRect(w->PictureOrigin(), w->pictures[0].size())), w->pictures[w->frame]);
    // Rendering leaves the flag set: a second click renders again.
    w->pictures[0].setPixel(3, 3, qRgb(1, 2, 3));
    w->aggiorna->click();
    QCOMPARE(pixelAt(w->pictures[0], 3, 3), clBlack);
    // The same item chosen again clears it.
    emit w->tipo->activated(1);
    w->pictures[0].setPixel(3, 3, qRgb(1, 2, 3));
    w->aggiorna->click();
    QCOMPARE(w->pictures[0].pixel(3, 3), qRgb(1, 2, 3));
}

// "trasmittente" chosen in the opened list with the mouse, "nuovo" clicked: the fronts leave
// the focus, those on the left moving 4 px a tick away from the mirror; "ricevente" chosen
// with the keys: they come in again.
void TestParabolico::tipoByMouseAndKeys()
{
    Tsconcavo *w = openAt(QSize(1000, 750));
    w->tempo->stop();
    QAbstractItemView *view = w->tipo->view();
    auto renderedShift = [&] {
        QTest::mouseClick(w->aggiorna, Qt::LeftButton);
        w->tempo->stop();
        int x[2];
        for (int &at : x) {
            w->tempoTimer();
            for (at = 40; at < 200 && pixelAt(w->screen, at, w->PictureOrigin().y() + w->AxisY()) != clBlue;)
                ++at;
        }
        return ((x[1] - x[0]) % 32 + 48) % 32 - 16;
    };
    QTest::mouseClick(w->tipo, Qt::LeftButton);
    QTRY_VERIFY(view->isVisible());
    const QPoint item = view->visualRect(view->model()->index(1, 0)).center();
    QTest::mouseMove(view->viewport(), item);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item);
    QCOMPARE(renderedShift(), -4);
    w->tipo->setFocus();
    QTest::keyClick(w->tipo, Qt::Key_Down, Qt::AltModifier);
    QTRY_VERIFY(view->isVisible());
    QTest::keyClick(view, Qt::Key_Up);
    QTest::keyClick(view, Qt::Key_Return);
    QCOMPARE(renderedShift(), 4);
}

void TestParabolico::lifeCycleAndEnglish()
{
    LanguageIndex = 1;
    Tsconcavo *w = openAt(QSize(1000, 750));
    QCOMPARE(w->windowTitle(), QStringLiteral("Parabolic antenna"));
    QCOMPARE(w->tipo->itemText(0), QStringLiteral("receiving"));
    QCOMPARE(w->tipo->itemText(1), QStringLiteral("sending"));
    QCOMPARE(SimWindow::HintOf(w->raggi), QStringLiteral("rays"));
    QCOMPARE(SimWindow::HintOf(w->aggiorna), QStringLiteral("new"));
    QCOMPARE(SimWindow::HintOf(w->fronti), QStringLiteral("Show/hide wave fronts"));
    QCOMPARE(w->cadenza->objectName(), QStringLiteral("andamento"));
    QVERIFY(!WindowClosed[31]);
    QVERIFY(w->barrasotto->isVisibleTo(w));
    QVERIFY(w->tempo->isActive());
    QCOMPARE(w->tempo->interval(), 101);
    w->cadenza->setValue(150);
    QCOMPARE(w->tempo->interval(), 50);
    // The timer's state is remembered across deactivation.
    w->FormDeactivate();
    QVERIFY(!w->tempo->isActive());
    w->FormActivate();
    QVERIFY(w->tempo->isActive());
    w->tempo->stop();
    w->FormDeactivate();
    w->FormActivate();
    QVERIFY(!w->tempo->isActive());
    HelpCapture help;
    w->guida->click();
    QCOMPARE(help.target, QStringLiteral("HelpVastara/varie.htm#antenna"));
    w->Frame()->close();
    QVERIFY(WindowClosed[31]);
    QVERIFY(main->BackdropVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(sconcavo == nullptr);
}

QTEST_MAIN(TestParabolico)
#include "test_parabolico.moc"
