// Random input to every simulation window of the menu: a pupil at the controls clicks any
// enabled button, moves track bars, spin edits and drop-down lists, drags on the picture,
// presses keys, opens and activates other windows, resizes the frame, lets the timers run,
// switches the language and closes everything. The events come from a generator seeded per
// window, so a run can be replayed; after every event the window's picture keeps its client
// size, the backdrop and the slots match the open windows, a view change under way has not
// run past its own length, and no floating-point operation gave a value that is not a finite
// number in a tick (an invalid operation, a division by zero, an overflow); at the end every button that
// was enabled when the window opened is enabled again once the timers are run out and the
// controls used in turn.
//
// VASTARA_MONKEY_EVENTS=N sets the events per window, VASTARA_MONKEY_SEED=S the base seed,
// VASTARA_MONKEY_WINDOW=D2 limits the run to one menu item, VASTARA_MONKEY_REPLAY="click(1,2,3)
// ..." plays a printed sequence on it, VASTARA_MONKEY_VERBOSE=1 names the buttons pressed,
// VASTARA_MONKEY_TRAP=1 stops the program at the floating-point operation of a tick that goes
// wrong (for a debugger's backtrace). A failure prints the seed and the shortest event sequence found
// that still fails.
#include "globals.h"
#include "menutable.h"
#include "simwindow.h"
#include "vastara.h"
#include "viewswitch.h"
#include "simtest.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSlider>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <cfenv>

namespace {
enum Kind { Click, Slide, Spin, Combo, Drag, Key, Other, Next, Resize, Ticks, Language, CloseAll, CloseOne, KindCount };
const char *const kindNames[KindCount] = {"click", "slide", "spin", "combo", "drag", "key", "other",
                                          "next", "resize", "ticks", "language", "closeall", "closeone"};
// How often each kind of event comes, out of the sum.
const int weights[KindCount] = {26, 8, 4, 4, 10, 8, 3, 3, 4, 26, 1, 1, 1};

// Buttons that may stay disabled once everything has run out, by menu item and object name:
// (none so far).
const QHash<QString, QStringList> mayStayDisabled = {};

struct Event {
    int kind;
    quint32 a, b, c;
    QString text() const { return QStringLiteral("%1(%2,%3,%4)").arg(QLatin1String(kindNames[kind])).arg(a).arg(b).arg(c); }
};

// A seed that does not depend on the process (qHash does).
quint32 seedOf(const char *name, quint32 base)
{
    quint32 h = 2166136261u ^ base;
    for (const char *p = name; *p; ++p)
        h = (h ^ quint8(*p)) * 16777619u;
    return h;
}

QVector<Event> eventsFor(quint32 seed, int count)
{
    QRandomGenerator gen(seed);
    int total = 0;
    for (int w : weights)
        total += w;
    QVector<Event> events;
    for (int i = 0; i < count; ++i) {
        int r = int(gen.bounded(total)), k = 0;
        while (r >= weights[k])
            r -= weights[k++];
        events.append({k, gen.generate(), gen.generate(), gen.generate()});
    }
    return events;
}

// Events as printed on failure: "click(1,2,3) ticks(4,5,6)".
QVector<Event> parsed(const QString &text)
{
    QVector<Event> events;
    static const QRegularExpression one(QStringLiteral("(\\w+)\\((\\d+),(\\d+),(\\d+)\\)"));
    for (auto it = one.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        for (int k = 0; k < KindCount; ++k)
            if (m.captured(1) == QLatin1String(kindNames[k]))
                events.append({k, m.captured(2).toUInt(), m.captured(3).toUInt(), m.captured(4).toUInt()});
    }
    return events;
}

void settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

template <class T> QList<T *> usable(SimWindow *w)
{
    QList<T *> list;
    for (T *c : w->findChildren<T *>())
        if (c->isEnabled() && c->isVisibleTo(w))
            list.append(c);
    return list;
}

const bool trapFloatingPoint = qEnvironmentVariableIsSet("VASTARA_MONKEY_TRAP");
// The first tick that went wrong: a value that is not a finite number, or a view change run
// past its end.
QString tickFault;

// A value that is not a finite number (NaN or infinite) came out of an operation since the
// flags were cleared: the floating-point unit's sticky flags say so. A NaN or an infinity in a
// model shows at the latest when the tick turns it into a pixel coordinate.
QString floatingPoint()
{
    const int raised = std::fetestexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW);
    if (!raised)
        return {};
    QStringList what;
    if (raised & FE_INVALID)
        what << QStringLiteral("invalid operation");
    if (raised & FE_DIVBYZERO)
        what << QStringLiteral("division by zero");
    if (raised & FE_OVERFLOW)
        what << QStringLiteral("overflow");
    return QStringLiteral("floating-point %1").arg(what.join(QStringLiteral(", ")));
}

// One tick of every running timer of the window, through the timer's own signal. The tick's
// floating-point operations are checked (the toolkit's own, in button presses and painting,
// leave the flags raised at times, so only the window's ticks are watched), and afterwards no
// view change of the window may be under way past its end (measured after a tick of the
// window: a resize may move the end, and the window's next tick ends the change then).
void fireTimers(QPointer<SimWindow> w)
{
    if (!w)
        return;
    bool ticked = false;
    for (QTimer *t : w->findChildren<QTimer *>()) {
        QPointer<QTimer> guard(t);
        if (!w || !guard || !guard->isActive())
            continue;
        ticked = true;
        const QString where = QStringLiteral("%1 of %2").arg(t->objectName(), QLatin1String(w->metaObject()->className()));
        std::feclearexcept(FE_ALL_EXCEPT);
        if (trapFloatingPoint)
            feenableexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW);
        QMetaObject::invokeMethod(guard, "timeout", Qt::DirectConnection);
        if (trapFloatingPoint)
            fedisableexcept(FE_ALL_EXCEPT);
        if (const QString f = floatingPoint(); !f.isEmpty() && tickFault.isEmpty())
            tickFault = QStringLiteral("%1 in a tick of %2: a value is no longer a finite number").arg(f, where);
    }
    if (w && ticked && tickFault.isEmpty())
        for (ViewSwitch *s : w->findChildren<ViewSwitch *>())
            if (s->Overran()) {
                tickFault = QStringLiteral("slot %1: view change at %2, past its end at %3").arg(w->Slot()).arg(s->progress).arg(s->end());
                break;
            }
}

void sendMouse(QWidget *target, QEvent::Type type, QPoint p, Qt::MouseButton button)
{
    QMouseEvent e(type, QPointF(p), QPointF(target->mapToGlobal(p)), type == QEvent::MouseMove ? Qt::NoButton : button,
                  type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button), Qt::NoModifier);
    QCoreApplication::sendEvent(target, &e);
}

class Monkey
{
public:
    explicit Monkey(TVastaras *v)
        : v(v), frameSize(v->size()), metrics{ChildWidth, ChildHeight, BarHeight, ControlHeight, ControlTop}
    {
        for (const MenuItemDef *item : SimulationItems())
            if (FactoryOf(*item))
                items << item;
    }
    QList<const MenuItemDef *> items;

    // Plays the events on a fresh frame; returns the fault (empty: none) and, through
    // failedAt, how many events had been played when it showed.
    QString run(const MenuItemDef *target, const QVector<Event> &events, int &failedAt)
    {
        this->target = target;
        // The frame as at the start (a replay must find it so): its size, not full screen.
        if (v->isFullScreen())
            v->ToggleFullScreen();
        v->resize(frameSize);
        v->SwitchLanguage(0);
        settle();
        // The sizes a window takes at its creation, which windows and frame resizes change.
        ChildWidth = metrics[0];
        ChildHeight = metrics[1];
        BarHeight = metrics[2];
        ControlHeight = metrics[3];
        ControlTop = metrics[4];
        RandSeed = 0;
        FixRandomizeSeed(0);
        firstEnabled.clear();
        open(*target);
        QString fault = check();
        for (failedAt = 0; fault.isEmpty() && failedAt < events.size(); ++failedAt) {
            tickFault.clear();
            try {
                apply(events[failedAt]);
            } catch (const std::exception &e) {
                fault = QStringLiteral("exception: %1").arg(QLatin1String(e.what()));
            }
            if (fault.isEmpty())
                fault = tickFault;
            if (fault.isEmpty())
                fault = check();
        }
        if (fault.isEmpty()) {
            tickFault.clear();
            fault = liveness();
        }
        if (fault.isEmpty())
            fault = tickFault;
        v->B3Click();
        settle();
        return fault;
    }

private:
    TVastaras *v;
    const QSize frameSize;
    const int metrics[5];
    const bool verbose = qEnvironmentVariableIsSet("VASTARA_MONKEY_VERBOSE");
    const MenuItemDef *target = nullptr;
    // Per slot: the buttons enabled when its window opened.
    QHash<int, QList<QPointer<QAbstractButton>>> firstEnabled;
    mutable QSet<const QAbstractButton *> seen;

    SimWindow *inSlot(int slot) const
    {
        for (SimWindow *w : v->Simulations())
            if (w->Slot() == slot)
                return w;
        return nullptr;
    }

    QList<QPointer<SimWindow>> guarded() const
    {
        QList<QPointer<SimWindow>> list;
        for (SimWindow *w : v->Simulations())
            list.append(w);
        return list;
    }

    void open(const MenuItemDef &item)
    {
        v->OpenSimulation(item);
        SimWindow *w = inSlot(item.slot);
        if (!w)
            return;
        QList<QPointer<QAbstractButton>> enabled;
        for (QAbstractButton *b : usable<QAbstractButton>(w))
            enabled.append(b);
        firstEnabled.insert(item.slot, enabled);
    }

    // The window the events go to: the active one, or the target opened again.
    SimWindow *current()
    {
        if (SimWindow *w = v->ActiveSim())
            return w;
        const QList<SimWindow *> open = v->Simulations();
        if (!open.isEmpty()) {
            v->Workspace()->setActiveSubWindow(open.first()->Frame());
            return v->ActiveSim() ? v->ActiveSim() : open.first();
        }
        this->open(*target);
        return v->ActiveSim();
    }

    void apply(const Event &e)
    {
        QPointer<SimWindow> w = current();
        if (!w)
            return;
        switch (e.kind) {
        case Click:
            if (const QList<QAbstractButton *> list = usable<QAbstractButton>(w); !list.isEmpty()) {
                if (verbose)
                    qInfo("click %s", qPrintable(list[e.a % list.size()]->objectName()));
                QAbstractButton *b = list[e.a % list.size()];
                QTest::mouseClick(b, Qt::LeftButton, {}, b->rect().center());
            }
            break;
        case Slide:
            if (const QList<QSlider *> list = usable<QSlider>(w); !list.isEmpty()) {
                SlideByInput(list[e.a % list.size()], e.b);
            }
            break;
        case Spin:
            if (const QList<QSpinBox *> list = usable<QSpinBox>(w); !list.isEmpty()) {
                QSpinBox *s = list[e.a % list.size()];
                TypeInto(s, s->minimum() + int(e.b % quint32(s->maximum() - s->minimum() + 1)));
            }
            break;
        case Combo:
            if (const QList<QComboBox *> list = usable<QComboBox>(w); !list.isEmpty()) {
                QPointer<QComboBox> c = list[e.a % list.size()];
                if (c->count() > 0) {
                    const int i = int(e.b % quint32(c->count()));
                    if (e.c % 2)
                        ChooseByMouse(c, i);
                    else
                        ChooseByKeys(c, i);
                    if (c && c->view()->isVisible())
                        c->hidePopup();
                }
            }
            break;
        case Drag:
            if (QPointer<QWidget> s = w->findChild<QWidget *>(QStringLiteral("surface")); s && s->width() > 0 && s->height() > 0) {
                const Qt::MouseButton button = e.c % 8 == 0 ? Qt::RightButton : Qt::LeftButton;
                const QPoint p(int((e.a & 0xffff) % quint32(s->width())), int((e.a >> 16) % quint32(s->height())));
                const QPoint q(int((e.b & 0xffff) % quint32(s->width())), int((e.b >> 16) % quint32(s->height())));
                sendMouse(s, QEvent::MouseButtonPress, p, button);
                for (int i = 1; i <= 3 && s; ++i)
                    sendMouse(s, QEvent::MouseMove, p + (q - p) * i / 3, button);
                if (s && (e.c >> 8) % 4 == 0)
                    fireTimers(w);
                if (s)
                    sendMouse(s, QEvent::MouseButtonRelease, q, button);
            }
            break;
        case Key: {
            static const Qt::Key keys[] = {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape, Qt::Key_Left,
                                           Qt::Key_Right, Qt::Key_Up, Qt::Key_Down, Qt::Key_Plus, Qt::Key_Minus,
                                           Qt::Key_Tab, Qt::Key_A, Qt::Key_P, Qt::Key_N, Qt::Key_0, Qt::Key_1,
                                           Qt::Key_Period, Qt::Key_F1, Qt::Key_F11, Qt::Key_S, Qt::Key_C};
            const Qt::Key key = keys[e.a % std::size(keys)];
            // The letters S and C also come as Ctrl+S (save the picture) and Ctrl+C (copy it).
            const Qt::KeyboardModifiers mods = (key == Qt::Key_S || key == Qt::Key_C) && e.b % 2 ? Qt::ControlModifier : Qt::NoModifier;
            QWidget *focus = QApplication::focusWidget();
            QTest::keyClick(focus && w->isAncestorOf(focus) ? focus : w.data(), key, mods);
            break;
        }
        case Other: {
            const MenuItemDef *item = items[e.a % items.size()];
            if (WindowClosed[item->slot])
                open(*item);
            else if (SimWindow *o = inSlot(item->slot))
                v->Workspace()->setActiveSubWindow(o->Frame());
            if (e.b % 2 && w)
                v->Workspace()->setActiveSubWindow(w->Frame());
            break;
        }
        case Next:
            v->B1Click();
            break;
        case Resize:
            // The window, or the frame round all of them.
            if (e.c % 2)
                v->resize(480 + int(e.a % 1500), 360 + int(e.b % 700));
            else
                w->Frame()->resize(320 + int(e.a % 1600), 240 + int(e.b % 700));
            break;
        case Ticks:
            for (int i = int(e.a % 120); i >= 0; --i)
                for (const QPointer<SimWindow> &o : guarded())
                    fireTimers(o);
            break;
        case Language:
            v->SwitchLanguage(int(e.a % 3));
            break;
        case CloseAll:
            v->B3Click();
            break;
        case CloseOne:
            w->Frame()->close();
            break;
        }
        settle();
    }

    QString check() const
    {
        const QList<SimWindow *> open = v->Simulations();
        for (SimWindow *w : open)
            if (w->screen.size() != w->size())
                return QStringLiteral("slot %1: picture %2x%3, client %4x%5").arg(w->Slot()).arg(w->screen.width())
                    .arg(w->screen.height()).arg(w->width()).arg(w->height());
        for (int s = 1; s <= SlotCount; ++s)
            if (WindowClosed[s] != (inSlot(s) == nullptr))
                return QStringLiteral("slot %1: WindowClosed %2 with the window %3").arg(s).arg(WindowClosed[s])
                    .arg(inSlot(s) ? "open" : "closed");
        if (v->BackdropVisible() != open.isEmpty())
            return QStringLiteral("backdrop %1 with %2 window(s) open").arg(v->BackdropVisible() ? "shown" : "hidden").arg(open.size());
        return {};
    }

    // The buttons of the window enabled at its opening that have not been enabled again since
    // the liveness check began (buttons that take turns, like a start and a reset, need not be
    // enabled at the same time).
    QStringList stuck(SimWindow *w) const
    {
        QStringList names;
        QStringList allowed;
        for (const MenuItemDef *item : items)
            if (item->slot == w->Slot())
                allowed = mayStayDisabled.value(QString::fromLatin1(item->name));
        for (const QPointer<QAbstractButton> &b : firstEnabled.value(w->Slot())) {
            if (b && b->isEnabled())
                seen.insert(b.data());
            if (b && !seen.contains(b.data()) && !allowed.contains(b->objectName()))
                names << (b->objectName().isEmpty() ? QStringLiteral("?") : b->objectName());
        }
        return names;
    }

    // Runs the timers of w out (at most 5000 ticks), stopping once nothing is stuck and no
    // view change is under way (unless paused); a view change must not run past its end
    // meanwhile.
    QString runOut(QPointer<SimWindow> w) const
    {
        const auto switching = [&w] {
            for (ViewSwitch *s : w->findChildren<ViewSwitch *>())
                if (s->Running() && s->advancing)
                    return true;
            return false;
        };
        for (int t = 1; t <= 5000 && w; ++t) {
            fireTimers(w);
            if (!tickFault.isEmpty())
                return tickFault;
            if (t % 25 == 0 && w && stuck(w).isEmpty() && !switching())
                return {};
        }
        return {};
    }

    // Every button enabled at the window's opening must be enabled again at some point: first
    // by running the timers out, then by using the enabled buttons, drop-down lists and spin
    // edits one at a time, each followed by the timers run out, over a few rounds (one round
    // at least, while buttons stay stuck at most three).
    QString liveness()
    {
        for (QPointer<SimWindow> w : guarded()) {
            if (!w)
                continue;
            seen.clear();
            v->Workspace()->setActiveSubWindow(w->Frame());
            if (const QString f = runOut(w); !f.isEmpty())
                return f;
            // The first round always runs, from an animation not paused, and with the pause
            // button last, so that each view change is also run to its end.
            if (w->pausa && w->pausa->isChecked() && w->pausa->isEnabled())
                w->pausa->click();
            for (int round = 0, i = 0; round < 3 && w && (round == 0 || !stuck(w).isEmpty()); ++i) {
                QList<QWidget *> list;
                for (QAbstractButton *b : usable<QAbstractButton>(w))
                    if (b->objectName() != QLatin1String("guida"))
                        list << b;
                for (QComboBox *c : usable<QComboBox>(w))
                    list << c;
                for (QSpinBox *b : usable<QSpinBox>(w))
                    list << b;
                if (w->pausa && list.removeOne(static_cast<QWidget *>(w->pausa)))
                    list << w->pausa;
                if (i >= list.size()) {
                    i = -1;
                    ++round;
                    continue;
                }
                if (verbose)
                    qInfo("liveness: %s, stuck %s", qPrintable(list[i]->objectName()), qPrintable(stuck(w).join(QLatin1Char(' '))));
                if (auto *b = qobject_cast<QAbstractButton *>(list[i]))
                    b->click();
                else if (auto *c = qobject_cast<QComboBox *>(list[i]); c && c->count() > 0)
                    ChooseByKeys(c, (c->currentIndex() + 1) % c->count());
                else if (auto *b = qobject_cast<QSpinBox *>(list[i]))
                    TypeInto(b, b->value() < b->maximum() ? b->value() + 1 : b->minimum());
                if (const QString f = runOut(w); !f.isEmpty())
                    return f;
            }
            if (w && !stuck(w).isEmpty())
                return QStringLiteral("slot %1: button(s) %2 disabled for good").arg(w->Slot()).arg(stuck(w).join(QLatin1Char(' ')));
        }
        return {};
    }
};

// The shortest part of the events found that still fails: chunks dropped while it fails.
QVector<Event> shrink(Monkey &m, const MenuItemDef *item, QVector<Event> events, QString &fault)
{
    int parts = 2, replays = 0;
    QElapsedTimer clock;
    clock.start();
    while (events.size() > 1 && replays < 150 && clock.elapsed() < 60000) {
        const int chunk = (events.size() + parts - 1) / parts;
        bool smaller = false;
        for (int start = 0; start < events.size() && replays < 150; start += chunk) {
            QVector<Event> candidate = events.mid(0, start) + events.mid(start + chunk);
            int failedAt = 0;
            ++replays;
            const QString f = m.run(item, candidate, failedAt);
            if (!f.isEmpty()) {
                events = candidate.mid(0, failedAt);
                fault = f;
                parts = qMax(parts - 1, 2);
                smaller = true;
                break;
            }
        }
        if (!smaller) {
            if (parts >= events.size())
                break;
            parts = qMin(int(events.size()), 2 * parts);
        }
    }
    return events;
}
} // namespace

class TestMonkey : public QObject
{
    Q_OBJECT
private slots:
    void everyWindowAtRandom();
};

void TestMonkey::everyWindowAtRandom()
{
    QTemporaryDir dir;
    ModalRunner = [](QDialog *) { return int(QDialog::Accepted); };
    // Ctrl+S: every other save is cancelled, the others write into the temporary folder.
    SimWindow::SaveDialog = [&dir](QWidget *, const QString &) {
        static int saves = 0;
        return ++saves % 2 ? QString() : dir.filePath(QStringLiteral("picture.png"));
    };
    auto *v = new TVastaras(dir.filePath(QStringLiteral("Vastara.cfg")), QStringLiteral("it_IT"));
    v->FinishStartScreen();
    // Shown, so that the tool bars lay their buttons out (hidden until then).
    v->show();
    QCoreApplication::processEvents();
    const int count = qEnvironmentVariableIsSet("VASTARA_MONKEY_EVENTS") ? qEnvironmentVariableIntValue("VASTARA_MONKEY_EVENTS") : 300;
    const quint32 base = qEnvironmentVariableIsSet("VASTARA_MONKEY_SEED") ? quint32(qEnvironmentVariableIntValue("VASTARA_MONKEY_SEED")) : 1u;
    const QString only = qEnvironmentVariable("VASTARA_MONKEY_WINDOW");
    const QString replay = qEnvironmentVariable("VASTARA_MONKEY_REPLAY");
    Monkey m(v);
    QVERIFY(!m.items.isEmpty());
    QStringList faults;
    QElapsedTimer clock;
    clock.start();
    for (const MenuItemDef *item : m.items) {
        const QString name = QString::fromLatin1(item->name);
        if (!only.isEmpty() && name != only)
            continue;
        const quint32 seed = seedOf(item->name, base);
        const QVector<Event> events = replay.isEmpty() ? eventsFor(seed, count) : parsed(replay);
        int failedAt = 0;
        QElapsedTimer own;
        own.start();
        QString fault = m.run(item, events, failedAt);
        qInfo("%s: %lld ms", item->name, own.elapsed());
        if (fault.isEmpty())
            continue;
        const QVector<Event> shortest = shrink(m, item, events.mid(0, failedAt), fault);
        QStringList steps;
        for (const Event &e : shortest)
            steps << e.text();
        faults << QStringLiteral("%1 (VASTARA_MONKEY_SEED=%2, window seed %3, after %4 events): %5\n  shortest: %6")
                      .arg(name).arg(base).arg(seed).arg(failedAt).arg(fault, steps.join(QLatin1Char(' ')));
        qWarning("%s", qPrintable(faults.last()));
    }
    qInfo("%d event(s) per window, %d window(s), %lld ms", count, int(m.items.size()), clock.elapsed());
    delete v;
    ModalRunner = nullptr;
    SimWindow::SaveDialog = nullptr;
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
}

// A long run (more events than the default) lasts longer than the toolkit's five minutes a
// test function; ctest keeps its own limit on the default run.
int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsSet("VASTARA_MONKEY_EVENTS") && !qEnvironmentVariableIsSet("QTEST_FUNCTION_TIMEOUT"))
        qputenv("QTEST_FUNCTION_TIMEOUT", "86400000");
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    TestMonkey test;
    QTEST_SET_MAIN_SOURCE_PATH
    // Every message kept: a long run's help pages and replays may print thousands.
    QStringList args = app.arguments();
    if (!args.contains(QStringLiteral("-maxwarnings")))
        args << QStringLiteral("-maxwarnings") << QStringLiteral("0");
    return QTest::qExec(&test, args);
}

#include "test_monkey.moc"
