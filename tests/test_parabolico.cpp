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
    void raysMeetAtTheFocus_data() { picturesAtBothClients_data(); }
    void raysMeetAtTheFocus();
    void ticksRaysAndFronts();
    void tipoAndRenderingAgain();
    void tipoChosenAsPeopleDo_data();
    void tipoChosenAsPeopleDo();
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
        // The focus, the mirror's vertex, and black from the vertex on (no white edge).
        QCOMPARE(pixelAt(p, xf, yc), clYellow);
        QVERIFY(colourNear(p, CW / 2 - 1, yc, clWhite));
        for (int y = 0; y < p.height(); ++y)
            for (int x = CW / 2; x < p.width(); ++x)
                QCOMPARE(pixelAt(p, x, y), clBlack);
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
    // Rays: white from the left edge at yc +- h.
    for (int h : {CH / 10 - 1, CH / 20, CH / 40, 3 * CH / 40}) {
        QCOMPARE(pixelAt(w->pictures[8], 5, yc + h), clWhite);
        QCOMPARE(pixelAt(w->pictures[8], 5, yc - h), clWhite);
    }
    QCOMPARE(pixelAt(w->pictures[8], 5, yc + 3), clBlack);
}

// The mirror as drawn (its white pixels, fitted row by row) reflects each ray where the ray
// meets it, and the reflected rays cross the axis at the yellow focus; nothing of the fronts
// shows behind the mirror.
void TestParabolico::raysMeetAtTheFocus()
{
    QFETCH(QSize, client);
    Tsconcavo *w = openAt(client);
    const int CW = client.width(), CH = client.height(), yc = CH / 4, cx = CW / 2;
    const QImage &frame = w->pictures[0], &rays = w->pictures[8];
    // The focus: the centre of the yellow disc.
    double fx = 0, fy = 0;
    int yellow = 0;
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < cx; ++x)
            if (pixelAt(frame, x, y) == clYellow) {
                fx += x;
                fy += y;
                ++yellow;
            }
    QVERIFY(yellow > 20);
    fx /= yellow;
    fy /= yellow;
    // The mirror about the axis: the middle of its white pixels in each row, fitted by
    // x = a + b t^2 + c t^4 (t from the axis), which fits a parabola or a long ellipse alike.
    const int reach = CH / 5;
    std::vector<double> rowX(2 * reach + 1);
    long double m[3][4] = {};
    for (int t = -reach; t <= reach; ++t) {
        double sum = 0;
        int n = 0;
        for (int x = 0; x < cx; ++x)
            if (pixelAt(frame, x, yc + t) == clWhite) {
                sum += x;
                ++n;
            }
        QVERIFY2(n > 0, "a row without mirror");
        rowX[t + reach] = sum / n;
        const long double f[3] = {1, (long double)t * t, (long double)t * t * t * t};
        for (int i = 0; i < 3; ++i) {
            for (int j = 0; j < 3; ++j)
                m[i][j] += f[i] * f[j];
            m[i][3] += f[i] * rowX[t + reach];
        }
    }
    for (int i = 0; i < 3; ++i)
        for (int k = 0; k < 3; ++k)
            if (k != i) {
                const long double r = m[k][i] / m[i][i];
                for (int j = 0; j < 4; ++j)
                    m[k][j] -= r * m[i][j];
            }
    const double a = m[0][3] / m[0][0], b = m[1][3] / m[1][1], c = m[2][3] / m[2][2];
    auto mirrorX = [&](double t) { return a + b * t * t + c * t * t * t * t; };
    for (int t = -reach; t <= reach; ++t)
        QVERIFY(std::abs(rowX[t + reach] - mirrorX(t)) < 1.5);
    for (int h : {CH / 10 - 1, CH / 20, CH / 40, 3 * CH / 40}) {
        // Each ray comes in along its row and turns on the mirror, neither before nor behind;
        // reflected about the mirror's normal there it goes off along r.
        QPointF at[2], r[2];
        for (int k = 0; k < 2; ++k) {
            const int t = k == 0 ? h : -h;
            int end = 0;
            while (pixelAt(rays, end + 1, yc + t) == clWhite)
                ++end;
            QVERIFY2(std::abs(end - mirrorX(t)) <= 2,
                     qPrintable(QStringLiteral("ray %1 turns at %2, mirror at %3").arg(t).arg(end).arg(mirrorX(t))));
            const double slope = 2 * b * t + 4 * c * t * t * t; // dx/dt
            const double nx = 1 / std::hypot(1.0, slope), ny = -slope * nx;
            at[k] = QPointF(mirrorX(t), yc + t);
            r[k] = QPointF(1 - 2 * nx * nx, -2 * nx * ny);
        }
        // The two rays of a pair meet on the axis, at the focus.
        const double det = r[0].x() * -r[1].y() + r[1].x() * r[0].y();
        const QPointF d = at[1] - at[0];
        const double k0 = (d.x() * -r[1].y() + r[1].x() * d.y()) / det;
        const QPointF meet = at[0] + k0 * r[0];
        QVERIFY2(std::hypot(meet.x() - fx, meet.y() - fy) <= 2,
                 qPrintable(QStringLiteral("rays %1 meet at (%2, %3), focus at (%4, %5)")
                                .arg(h).arg(meet.x()).arg(meet.y()).arg(fx).arg(fy)));
        // And the rays drawn go that way.
        for (int k = 0; k < 2; ++k) {
            const QPointF mid = (at[k] + meet) / 2;
            QVERIFY(colourNear(rays, int(std::lround(mid.x())), int(std::lround(mid.y())), clWhite));
        }
    }
    // Behind the mirror (right of its last white pixel in a row) no front, in any frame.
    for (int f = 0; f < 8; ++f) {
        const QImage &p = w->pictures[f];
        for (int y = 0; y < p.height(); ++y) {
            int back = p.width();
            for (int x = cx - 1; x >= 0 && back == p.width(); --x)
                if (pixelAt(p, x, y) == clWhite)
                    back = x + 1;
            for (int x = back; x < p.width(); ++x)
                QCOMPARE(pixelAt(p, x, y), clBlack);
        }
    }
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

void TestParabolico::tipoChosenAsPeopleDo_data()
{
    QTest::addColumn<bool>("byMouse");
    QTest::newRow("mouse") << true;
    QTest::newRow("keys") << false;
}

// "trasmittente" chosen in the opened list with the mouse or with the keys, then "nuovo"
// clicked: the fronts leave the focus, so the plane fronts on the left move one front
// spacing (4 px) a tick away from the mirror.
void TestParabolico::tipoChosenAsPeopleDo()
{
    QFETCH(bool, byMouse);
    Tsconcavo *w = openAt(QSize(1000, 750));
    w->tempo->stop();
    QComboBox *list = w->tipo;
    QAbstractItemView *view = list->view();
    if (byMouse) {
        QTest::mouseClick(list, Qt::LeftButton);
        QTRY_VERIFY(view->isVisible());
        const QPoint item = view->visualRect(list->model()->index(1, 0)).center();
        QTest::mouseMove(view->viewport(), item);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item);
    } else {
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Down, Qt::AltModifier);
        QTRY_VERIFY(view->isVisible());
        QTest::keyClick(view, Qt::Key_Down);
        QTest::keyClick(view, Qt::Key_Return);
    }
    QTRY_VERIFY(!view->isVisible());
    QCOMPARE(list->currentText(), QStringLiteral("trasmittente"));
    QTest::mouseClick(w->aggiorna, Qt::LeftButton);
    w->tempo->stop();
    const int row = w->PictureOrigin().y() + w->AxisY() + 1;
    auto firstBlue = [&] {
        w->tempoTimer();
        for (int x = 40; x < 200; ++x)
            if (pixelAt(w->screen, x, row) == clBlue)
                return x;
        return -1;
    };
    const int before = firstBlue(), after = firstBlue();
    QVERIFY(before > 0 && after > 0);
    const int shift = ((after - before) % 32 + 48) % 32 - 16;
    QCOMPARE(shift, -4);
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
