// The keys of the frame and of every simulation window, the picture saved and copied, full
// screen, and the names a screen reader reads.
#include "simtest.h"

#include "dialogs/avviso.h"
#include "language/langfile.h"
#include "language/texts.h"
#include "menutable.h"
#include "sims/solar/flussol.h"

#include <QAbstractSpinBox>
#include <QAbstractScrollArea>
#include <QAccessible>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QSlider>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

class TestKeys : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void spaceStepRateAndHelp();
    void windowsWithoutPauseOrWithKeysOfTheirOwn();
    void pictureSavedAndCopied();
    void saveFailuresLeaveNothing();
    void fullScreen();
    void everyControlNamed();

private:
    QTemporaryDir dir;
    TVastaras *v = nullptr;
    // The key as a user presses it: to the control that has the focus.
    static void press(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QWidget *to = QApplication::focusWidget() ? QApplication::focusWidget() : Vastaras;
        QTest::keyClick(to, key, mods);
    }
};

void TestKeys::init()
{
    v = new TVastaras(dir.filePath(QStringLiteral("Vastara.cfg")), QStringLiteral("it_IT"));
    v->FinishStartScreen();
    v->show();
    QCoreApplication::processEvents();
}

void TestKeys::cleanup()
{
    delete v;
    v = nullptr;
    SimWindow::SaveDialog = nullptr;
    ModalRunner = nullptr;
}

// One tick of the window's animation timer, as the timer gives it.
static void tick(SimWindow *w)
{
    QMetaObject::invokeMethod(w->tempo, "timeout", Qt::DirectConnection);
}

void TestKeys::spaceStepRateAndHelp()
{
    // The P waves paused after 7 ticks, to compare with 6 ticks, a pause and one '.' (a paused
    // tick may still show the frame the last step prepared, so pictures are compared once
    // they stand still).
    const auto still = [](SimWindow *w) {
        tick(w);
        tick(w);
        return w->screen.copy();
    };
    v->OpenSimulation(QStringLiteral("D1"));
    SimWindow *w = v->ActiveSim();
    QVERIFY(w && w->pausa && w->cadenza);
    for (int i = 0; i < 7; ++i)
        tick(w);
    w->pausa->click();
    const QImage seven = still(w);
    w->Frame()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    v->OpenSimulation(QStringLiteral("D1"));
    w = v->ActiveSim();
    for (int i = 0; i < 6; ++i)
        tick(w);
    // Space pauses whichever button has the focus, without pressing that one.
    auto *other = w->findChild<QToolButton *>(QStringLiteral("guida"));
    other->setFocus();
    HelpCapture help;
    press(Qt::Key_Space);
    QVERIFY(w->pausa->isChecked());
    QCOMPARE(help.opened, 0);
    const QImage six = still(w);
    QVERIFY(six != seven);
    press(Qt::Key_Period);
    QVERIFY(w->pausa->isChecked());
    QCOMPARE(still(w), seven);
    press(Qt::Key_Space);
    QVERIFY(!w->pausa->isChecked());

    // '+' and '-' (also from the keypad) move the track bar one tick step, as a move would.
    const int start = w->cadenza->value();
    press(Qt::Key_Plus);
    QCOMPARE(w->cadenza->value(), start + w->cadenza->tickInterval());
    QCOMPARE(w->tempo->interval(), 200 - w->cadenza->value());
    press(Qt::Key_Minus, Qt::KeypadModifier);
    press(Qt::Key_Minus);
    QCOMPARE(w->cadenza->value(), start - w->cadenza->tickInterval());
    QCOMPARE(w->tempo->interval(), 200 - w->cadenza->value());

    // F1 opens the page the help button opens.
    press(Qt::Key_F1);
    QCOMPARE(help.opened, 1);
    const QString byKey = help.target;
    w->guida->click();
    QCOMPARE(help.opened, 2);
    QCOMPARE(byKey, help.target);
    QVERIFY(byKey.endsWith(w->HelpPage()));

    // With no window open, F1 opens the contents.
    v->B3Click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!v->ActiveSim());
    press(Qt::Key_F1);
    QCOMPARE(help.opened, 3);
    QCOMPARE(help.target, titleText(1) + QStringLiteral(".htm"));
}

void TestKeys::windowsWithoutPauseOrWithKeysOfTheirOwn()
{
    // The tower window opens with the focus in its spin edit of whole numbers, which has no
    // use for Space, the full stop or a sign: those stay the window's, digits the field's.
    v->OpenSimulation(QStringLiteral("E4"));
    SimWindow *tower = v->ActiveSim();
    auto *height = tower ? tower->findChild<QSpinBox *>(QStringLiteral("altez")) : nullptr;
    QVERIFY(height && tower->pausa && tower->cadenza);
    QVERIFY(height->hasFocus());
    press(Qt::Key_Space);
    QVERIFY(tower->pausa->isChecked());
    const int rate = tower->cadenza->value();
    press(Qt::Key_Plus);
    QCOMPARE(tower->cadenza->value(), rate + tower->cadenza->tickInterval());
    height->findChild<QLineEdit *>()->selectAll();
    press(Qt::Key_2);
    QCOMPARE(height->value(), 2);
    QCOMPARE(tower->cadenza->value(), rate + tower->cadenza->tickInterval());
    tower->Frame()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    HelpCapture help;
    // The weight window has no pause button and no rate bar: only F1 is used.
    v->OpenSimulation(QStringLiteral("E5"));
    SimWindow *w = v->ActiveSim();
    QVERIFY(w && !w->pausa && !w->cadenza);
    press(Qt::Key_Space);
    press(Qt::Key_Plus);
    press(Qt::Key_F1);
    QCOMPARE(help.opened, 1);
    QVERIFY(help.target.endsWith(w->HelpPage()));

    // The irradiation window: in the step mode every key is the next step; in the continuous
    // run Space is the pause button and '.' steps through the pause.
    v->OpenSimulation(QStringLiteral("G6"));
    auto *f = qobject_cast<Tunflusso *>(v->ActiveSim());
    QVERIFY(f && f->pausa);
    tick(f);
    f->papasso->click();
    tick(f);
    int t = f->t;
    for (Qt::Key key : {Qt::Key_Space, Qt::Key_Period, Qt::Key_F1}) {
        press(key);
        tick(f);
        tick(f);
        QCOMPARE(f->t, t += 2);
    }
    QCOMPARE(help.opened, 1);

    f->normale->click();
    press(Qt::Key_Space);
    QVERIFY(f->pausa->isChecked());
    tick(f);
    t = f->t;
    tick(f);
    QCOMPARE(f->t, t);
    press(Qt::Key_Period);
    QVERIFY(f->pausa->isChecked());
    QCOMPARE(f->t, t + 2);
    tick(f);
    QCOMPARE(f->t, t + 2);

    // After a dialog, until the frame is active again, the application has no focus widget
    // and the keys go to the frame's own, whose window takes every key it is given.
    QApplication::setActiveWindow(nullptr);
    QVERIFY(!QApplication::focusWidget() && v->focusWidget());
    QTest::keyClick(v->focusWidget(), Qt::Key_Space);
    QVERIFY(!f->pausa->isChecked());
    QApplication::setActiveWindow(v);
}

void TestKeys::pictureSavedAndCopied()
{
    v->OpenSimulation(QStringLiteral("G1"));
    SimWindow *w = v->ActiveSim();
    QVERIFY(w);
    for (int i = 0; i < 20; ++i)
        tick(w);
    const QImage shown = w->screen.copy();
    QString proposed;
    const QString path = dir.filePath(QStringLiteral("orbit"));
    SimWindow::SaveDialog = [&](QWidget *, const QString &p) {
        proposed = p;
        // The animation goes on while the dialog is open.
        for (int i = 0; i < 20; ++i)
            tick(w);
        return path;
    };
    press(Qt::Key_S, Qt::ControlModifier);
    QVERIFY(w->screen != shown);
    const QImage saved(path + QStringLiteral(".png"));
    QCOMPARE(saved.size(), w->size());
    QCOMPARE(saved.convertToFormat(QImage::Format_RGB32), shown.convertToFormat(QImage::Format_RGB32));
    const QString name = QFileInfo(proposed).fileName();
    QVERIFY2(name.startsWith(w->windowTitle().left(8)), qPrintable(name));
    QVERIFY2(QRegularExpression(QStringLiteral(" \\d{4}-\\d\\d-\\d\\d \\d\\d\\.\\d\\d\\.\\d\\d\\.png$")).match(name).hasMatch(),
             qPrintable(name));

    press(Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32),
             w->screen.convertToFormat(QImage::Format_RGB32));

    // A caption with characters a file name cannot hold.
    w->setWindowTitle(QStringLiteral("a/b: c?"));
    QVERIFY(w->PictureFileName(QDateTime(QDate(2026, 12, 9), QTime(8, 5, 3))) == QStringLiteral("a-b- c- 2026-12-09 08.05.03.png"));
}

void TestKeys::saveFailuresLeaveNothing()
{
    v->OpenSimulation(QStringLiteral("D1"));
    SimWindow *w = v->ActiveSim();
    QVERIFY(w);
    QStringList notices;
    ModalRunner = [&](QDialog *d) {
        if (auto *n = qobject_cast<TVersione *>(d))
            notices << n->Label1->text() + QLatin1Char('|') + n->Label2->text();
        return int(QDialog::Accepted);
    };
    QTemporaryDir target;
    // A folder that does not exist (its "parent" is a file).
    QFile plain(target.filePath(QStringLiteral("plain")));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();
    SimWindow::SaveDialog = [&](QWidget *, const QString &) { return target.filePath(QStringLiteral("plain/wave.png")); };
    press(Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(notices.size(), 1);
    QCOMPARE(notices[0], extraText(ExtraText::PictureNotSaved) + QStringLiteral("|wave.png"));

    // A disk that fills up during the writing: files may grow to 100 bytes only.
    SimWindow::SaveDialog = [&](QWidget *, const QString &) { return target.filePath(QStringLiteral("full.png")); };
    rlimit old {};
    getrlimit(RLIMIT_FSIZE, &old);
    const auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 100;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    press(Qt::Key_S, Qt::ControlModifier);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldSignal);
    QCOMPARE(notices.size(), 2);
    QCOMPARE(QDir(target.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("plain")});

    // Cancelled: nothing written, no notice.
    SimWindow::SaveDialog = [](QWidget *, const QString &) { return QString(); };
    press(Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(notices.size(), 2);
    QCOMPARE(QDir(target.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

void TestKeys::fullScreen()
{
    v->OpenSimulation(QStringLiteral("D1"));
    SimWindow *before = v->ActiveSim();
    const QSize beforeSize = before->size();
    const QSize frame = v->size();
    press(Qt::Key_F11);
    QCoreApplication::processEvents();
    QVERIFY(v->isFullScreen());
    QCOMPARE(v->size(), v->screen()->geometry().size());
    QCOMPARE(ChildWidth, v->Workspace()->width());
    v->OpenSimulation(QStringLiteral("G1"));
    SimWindow *after = v->ActiveSim();
    QVERIFY(after != before);
    QCOMPARE(after->Frame()->size(), QSize(ChildWidth, ChildHeight));
    QVERIFY(after->Frame()->width() > beforeSize.width());
    QCOMPARE(before->size(), beforeSize);
    const QSize afterSize = after->Frame()->size();
    press(Qt::Key_F11);
    QCoreApplication::processEvents();
    QVERIFY(!v->isFullScreen());
    QCOMPARE(v->size(), frame);
    QCOMPARE(after->Frame()->size(), afterSize);
    QCOMPARE(before->size(), beforeSize);
}

void TestKeys::everyControlNamed()
{
    // Every control of every window, in each language, including one from a file.
    const QString german = LanguagesFolder() + QStringLiteral("/Deutsch.lng");
    QVERIFY(QFile::exists(german));
    int windows = 0, controls = 0;
    for (int language = 0; language < 4; ++language) {
        if (language < 3)
            v->SwitchLanguage(language);
        else
            v->LoadLanguageFile(german);
        for (const MenuItemDef *item : SimulationItems()) {
            if (!FactoryOf(*item))
                continue;
            v->OpenSimulation(*item);
            SimWindow *w = v->ActiveSim();
            QVERIFY2(w, item->name);
            ++windows;
            const QString where = QStringLiteral("%1 (language %2)").arg(QLatin1String(item->name)).arg(language);
            QAccessibleInterface *picture = QAccessible::queryAccessibleInterface(w->findChild<QWidget *>(QStringLiteral("surface")));
            QVERIFY2(picture, qPrintable(where));
            QCOMPARE(picture->text(QAccessible::Name), w->windowTitle());
            QCOMPARE(picture->role(), QAccessible::Graphic);
            QList<QWidget *> list;
            for (QAbstractButton *b : w->findChildren<QAbstractButton *>())
                list << b;
            for (QAbstractSlider *s : w->findChildren<QAbstractSlider *>())
                list << s;
            for (QAbstractSpinBox *s : w->findChildren<QAbstractSpinBox *>())
                list << s;
            for (QComboBox *c : w->findChildren<QComboBox *>())
                list << c;
            for (QWidget *c : list) {
                // Parts of the toolkit's own controls (the arrows of a tool bar, the scroll bars
                // of a drop-down list) are named by it.
                bool part = c->objectName().startsWith(QLatin1String("qt_"));
                for (QWidget *p = c->parentWidget(); p && p != w && !part; p = p->parentWidget())
                    part = qobject_cast<QComboBox *>(p) || qobject_cast<QAbstractSpinBox *>(p)
                        || qobject_cast<QAbstractScrollArea *>(p) || p->isWindow();
                if (part)
                    continue;
                QAccessibleInterface *a = QAccessible::queryAccessibleInterface(c);
                QVERIFY2(a, qPrintable(where));
                QVERIFY2(!a->text(QAccessible::Name).trimmed().isEmpty(),
                         qPrintable(where + QStringLiteral(": ") + c->metaObject()->className() + QLatin1Char(' ') + c->objectName()));
                ++controls;
            }
            w->Frame()->close();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }
    QCOMPARE(windows, 4 * 30);
    // Pause, speed, help and the window's own: at least five a window on average.
    QVERIFY2(controls >= 4 * 30 * 5, qPrintable(QString::number(controls)));
}

QTEST_MAIN(TestKeys)
#include "test_keys.moc"
