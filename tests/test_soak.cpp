// Soak of every simulation window in the menu: opened from its item, run for hundreds of
// ticks, every button pressed and every control moved, closed by a language switch, opened
// again and closed; several rounds, with no growth of widgets or memory between rounds.
// The list of windows comes from the menu, so every new window is soaked as well.
#include "globals.h"
#include "language/texts.h"
#include "menutable.h"
#include "simwindow.h"
#include "vastara.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSlider>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <malloc.h>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VASTARA_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define VASTARA_ASAN 1
#endif
#ifdef VASTARA_ASAN
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace {
// Bytes of heap in use.
qint64 heapInUse()
{
#ifdef VASTARA_ASAN
    return qint64(__sanitizer_get_current_allocated_bytes());
#else
    return qint64(mallinfo2().uordblks);
#endif
}

void settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

SimWindow *windowInSlot(TVastaras *v, int slot)
{
    for (SimWindow *w : v->Simulations())
        if (w->Slot() == slot)
            return w;
    return nullptr;
}

// Fires every running timer of the window once, through its own signal.
void fireTimers(SimWindow *w)
{
    const QList<QTimer *> timers = w->findChildren<QTimer *>();
    for (QTimer *t : timers) {
        QPointer<QTimer> guard(t);
        if (guard && guard->isActive())
            QMetaObject::invokeMethod(guard, "timeout", Qt::DirectConnection);
    }
}

// Presses every button and moves every control of the window, running ticks in between.
void exercise(SimWindow *w, int ticks)
{
    QPointer<SimWindow> alive(w);
    for (int t = 0; t < ticks && alive; ++t) {
        fireTimers(w);
        if (t % 60 != 30)
            continue;
        const QList<QAbstractButton *> buttons = w->findChildren<QAbstractButton *>();
        for (QAbstractButton *b : buttons) {
            QPointer<QAbstractButton> guard(b);
            if (!alive)
                return;
            if (guard && guard->isEnabled() && guard->isVisibleTo(w))
                guard->click();
            for (int i = 0; i < 3 && alive; ++i)
                fireTimers(w);
        }
        if (!alive)
            return;
        for (QSlider *s : w->findChildren<QSlider *>())
            for (int value : {s->minimum(), s->maximum(), (s->minimum() + s->maximum()) / 2}) {
                s->setValue(value);
                fireTimers(w);
            }
        for (QSpinBox *s : w->findChildren<QSpinBox *>())
            for (int value : {s->minimum(), s->maximum(), (s->minimum() + s->maximum()) / 2}) {
                s->setValue(value);
                fireTimers(w);
            }
        for (QComboBox *c : w->findChildren<QComboBox *>())
            for (int i = 0; i < c->count(); ++i) {
                c->setCurrentIndex(i);
                fireTimers(w);
            }
        if (QWidget *surface = w->findChild<QWidget *>(QStringLiteral("surface"))) {
            for (QPoint p : {surface->rect().center(), QPoint(5, surface->height() - 5), QPoint(surface->width() - 3, BarHeight + 3)}) {
                QTest::mouseClick(surface, Qt::LeftButton, {}, p);
                if (!alive)
                    return;
                fireTimers(w);
            }
        }
    }
}
} // namespace

class TestSoak : public QObject
{
    Q_OBJECT
private slots:
    void everyWindowRepeatedly();
};

void TestSoak::everyWindowRepeatedly()
{
    QTemporaryDir dir;
    ModalRunner = [](QDialog *) { return int(QDialog::Accepted); };
    auto *v = new TVastaras(dir.filePath(QStringLiteral("Vastara.cfg")), QStringLiteral("it_IT"));
    v->FinishStartScreen();
    // Shown, so that the tool bars lay out their buttons and the soak presses them.
    v->show();
    QList<const MenuItemDef *> items;
    for (const MenuItemDef *item : SimulationItems())
        if (FactoryOf(*item))
            items << item;
    QVERIFY(!items.isEmpty());
    qInfo("soaking %d window(s)", int(items.size()));

    const int rounds = 4;
    qint64 heapAfterFirst = 0;
    int widgetsAfterFirst = 0;
    for (int round = 0; round < rounds; ++round) {
        for (const MenuItemDef *item : items) {
            const QString name = QString::fromLatin1(item->name);
            v->OpenSimulation(*item);
            SimWindow *w = windowInSlot(v, item->slot);
            QVERIFY2(w, qPrintable(name));
            QCOMPARE(v->ActiveSim(), w);
            QVERIFY(!WindowClosed[item->slot]);
            exercise(w, 300);
            // A language switch closes it.
            v->SwitchLanguage((round + 1) % 3);
            QVERIFY2(WindowClosed[item->slot], qPrintable(name));
            settle();
            QVERIFY(v->Simulations().isEmpty());
            // Opened again, in the new language, and closed.
            v->OpenSimulation(*item);
            w = windowInSlot(v, item->slot);
            QVERIFY2(w, qPrintable(name));
            exercise(w, 100);
            if (QPointer<SimWindow>(w))
                w->Frame()->close();
            QVERIFY2(WindowClosed[item->slot], qPrintable(name));
            settle();
            QVERIFY(v->BackdropVisible());
        }
        // All of them at once, then "close all".
        for (const MenuItemDef *item : items)
            v->OpenSimulation(*item);
        QCOMPARE(v->Simulations().size(), items.size());
        for (SimWindow *w : v->Simulations()) {
            v->Workspace()->setActiveSubWindow(w->Frame());
            exercise(w, 40);
        }
        v->B3Click();
        settle();
        QVERIFY(v->Simulations().isEmpty());
        for (int s = 1; s <= SlotCount; ++s)
            QVERIFY(WindowClosed[s]);
        if (round == 0) {
            heapAfterFirst = heapInUse();
            widgetsAfterFirst = QApplication::allWidgets().size();
        }
    }
    const qint64 growth = heapInUse() - heapAfterFirst;
    qInfo("heap growth over %d rounds: %lld bytes; widgets %d -> %d", rounds - 1, growth, widgetsAfterFirst,
          int(QApplication::allWidgets().size()));
    QCOMPARE(int(QApplication::allWidgets().size()), widgetsAfterFirst);
    QVERIFY2(growth < 2 * 1024 * 1024, qPrintable(QString::number(growth)));
    delete v;
    ModalRunner = nullptr;
}

QTEST_MAIN(TestSoak)
#include "test_soak.moc"
