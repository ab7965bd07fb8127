#include "simwindow.h"

#include "dialogs/avviso.h"
#include "dialogs/brucatore.h"
#include "globals.h"
#include "imagelist.h"
#include "language/texts.h"
#include "vastara.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QFileDialog>
#include <QSaveFile>
#include <QSignalBlocker>
#include <QStandardPaths>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QHash>
#include <QHBoxLayout>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QSlider>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QToolButton>

// The client area's picture: paints the window's `screen` and passes the mouse on.
class SimSurface : public QWidget
{
public:
    explicit SimSurface(SimWindow *w) : QWidget(w), win(w)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setMouseTracking(false);
    }

protected:
    void paintEvent(QPaintEvent *e) override
    {
        QPainter p(this);
        // The background only where the picture does not reach (it is the client's size
        // but for a moment during a resize).
        const QRect picture(QPoint(0, 0), win->screen.size());
        const QRegion bare = e->region().subtracted(picture);
        for (const QRect &r : bare)
            p.fillRect(r, toQColor(win->Color));
        win->canvas.flush();
        p.setCompositionMode(QPainter::CompositionMode_Source);
        // One plain copy per rectangle of the region: under a clip of several rectangles the
        // painter would blend the picture line by line, handing the lines to other threads.
        for (const QRect &r : e->region()) {
            const QRect part = r & picture;
            if (part.isEmpty())
                continue;
            p.setClipRect(part);
            p.drawImage(0, 0, win->screen);
        }
    }
    void mousePressEvent(QMouseEvent *e) override { win->SurfaceMouseDown(e); }
    void mouseMoveEvent(QMouseEvent *e) override { win->SurfaceMouseMove(e); }
    void mouseReleaseEvent(QMouseEvent *e) override { win->SurfaceMouseUp(e); }

private:
    SimWindow *win;
};

// A screen reader reads the picture as a picture named by the window's caption; as a plain
// widget it would be a filler, which readers pass over.
static QAccessibleInterface *pictureAccessible(const QString &, QObject *object)
{
    if (auto *s = dynamic_cast<SimSurface *>(object))
        return new QAccessibleWidget(s, QAccessible::Graphic);
    return nullptr;
}

static const char *const HintProperty = "vastaraHint";

BarMetrics CurrentBarMetrics()
{
    return BarMetrics{BarHeight, ControlHeight, ControlTop};
}

SimWindow::SimWindow(QWidget *owner, int slot_, int titleRow_, const QString &helpPage_)
    : QWidget(nullptr), slot(slot_), titleRow(titleRow_), helpPage(helpPage_)
{
    Q_UNUSED(owner);
    static const bool pictureRole = (QAccessible::installFactory(pictureAccessible), true);
    Q_UNUSED(pictureRole);
    surface = new SimSurface(this);
    surface->setObjectName(QStringLiteral("surface"));
    // A click on the picture takes the focus from a spin edit, so the window's keys work again.
    surface->setFocusPolicy(Qt::ClickFocus);
    barrasotto = new QWidget(this);
    barrasotto->setObjectName(QStringLiteral("barrasotto"));
    barrasotto->setAutoFillBackground(true);
    barLayout = new QHBoxLayout(barrasotto);
    barLayout->setContentsMargins(2, 0, 2, 0);
    barLayout->setSpacing(2);
    barLayout->addStretch(1);
    barrasotto->hide();
    tempo = new Tempo(this, [this] { return PresentInterval(); });
    tempo->setObjectName(QStringLiteral("tempo"));
    presenter = new QTimer(this);
    presenter->setObjectName(QStringLiteral("presenter"));
    presenter->setSingleShot(true);
    connect(presenter, &QTimer::timeout, this, &SimWindow::Present);
    tempo->installEventFilter(this);
    connect(tempo, &QTimer::timeout, this, [this] {
        // The running timer takes the steps due since it last fired; a tick run by hand is one.
        const int steps = timerTick ? tempo->StepsDue() : 1;
        for (int i = 0; i < steps; ++i) {
            lastOfRun = i == steps - 1;
            TakeStep();
            if (closed || (timerTick && !tempo->isActive()))
                break;
        }
        timerTick = false;
        lastOfRun = true;
    });
}

void SimWindow::TakeStep()
{
    partialRepaint = false;
    repaintRect = QRegion();
    canvas.ClearChanged();
    ++stepsTaken;
    tempoTimer();
    if (partialRepaint) {
        if (!repaintRect.isEmpty())
            ShowChanged(repaintRect);
    } else if (canvas.Changed()) {
        ShowChanged(canvas.ChangedRect());
    }
    partialRepaint = false;
}

SimWindow::~SimWindow()
{
    canvas.setTarget(nullptr);
    if (!closed && slot >= 1 && slot <= SlotCount)
        WindowClosed[slot] = true;
}

QMdiSubWindow *SimWindow::Frame() const
{
    return qobject_cast<QMdiSubWindow *>(parentWidget());
}

void SimWindow::FormCreate()
{
    WindowClosed[slot] = false;
    metrics = CurrentBarMetrics();
    if (QMdiSubWindow *f = Frame()) {
        if (!titleButtons)
            f->setWindowFlags(Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
        f->setGeometry(0, 0, ChildWidth, ChildHeight);
        if (f->layout())
            f->layout()->activate();
    } else {
        resize(ChildWidth, ChildHeight);
    }
    setWindowTitle(titleText(titleRow));
    if (QMdiSubWindow *f = Frame())
        f->setWindowTitle(windowTitle());
    surface->setAccessibleName(windowTitle());
    setCursor(Qt::ArrowCursor);
    firstActivation = true;
    PlaceBars();
    if (barAtCreation) {
        barrasotto->show();
        barrasotto->raise();
    }
    if (sotto) {
        sotto->show();
        sotto->raise();
    }
    ResizeScreen(size());
}

void SimWindow::PlaceBars()
{
    PlaceBevels();
    barrasotto->setFixedHeight(ControlBarHeight());
    barrasotto->setGeometry(0, 0, width(), ControlBarHeight());
    if (sotto) {
        const int h = SottoHeight();
        sotto->setGeometry(0, height() - h, width(), h);
        LayoutSotto();
    }
}

int SimWindow::SottoHeight() const
{
    // The window's bar height, but never lower than a text panel it holds needs (a window
    // opened after one that lowered the bars keeps its legends whole).
    int h = qMax(metrics.barHeight, 1);
    if (sotto)
        for (const QLabel *l : sotto->findChildren<QLabel *>(Qt::FindDirectChildrenOnly))
            if (!l->text().isEmpty())
                h = qMax(h, l->sizeHint().height());
    return h;
}

void SimWindow::ResizeScreen(const QSize &s)
{
    if (screen.size() == s)
        return;
    canvas.setTarget(nullptr);
    QImage next = NewBitmap(s.width(), s.height(), Color);
    if (!screen.isNull()) {
        QPainter p(&next);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(0, 0, screen);
    }
    screen = next;
    canvas.setTarget(&screen);
}

void SimWindow::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    surface->setGeometry(rect());
    PlaceBars();
    ResizeScreen(size());
}

void SimWindow::FormShow()
{
    if (Vastaras)
        Vastaras->HideBackdrop();
}

void SimWindow::FormActivate()
{
    activeChild = true;
    ApplyHints(HintsOn);
    if (firstActivation) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        Prepare();
        QApplication::restoreOverrideCursor();
        barrasotto->show();
        barrasotto->raise();
        firstActivation = false;
        // Without an active control of its own the window starts with the focus on the picture,
        // not in whichever spin edit comes first, where Space and the full stop would be typed.
        (activeControl ? activeControl.data() : surface)->setFocus(Qt::OtherFocusReason);
    }
    StartTimers();
}

void SimWindow::RunFirstActivationAgain()
{
    firstActivation = true;
    FormActivate();
}

bool SimWindow::event(QEvent *e)
{
    if (e->type() == QEvent::StatusTip) {
        longHintShown = static_cast<QStatusTipEvent *>(e)->tip();
        HintLineChanged(longHintShown);
        e->accept();
        return true;
    }
    return QWidget::event(e);
}

void SimWindow::FormDeactivate()
{
    activeChild = false;
    if (!runsInactive)
        StopTimers();
}

void SimWindow::StartTimers()
{
    if (remembered.isEmpty()) {
        tempo->start();
        return;
    }
    // Only start: a timer the first activation's preparation started keeps running.
    for (const RememberedTimer &r : std::as_const(remembered))
        if (r.timer && r.running)
            r.timer->start();
}

void SimWindow::StopTimers()
{
    if (remembered.isEmpty()) {
        tempo->stop();
        return;
    }
    for (RememberedTimer &r : remembered) {
        if (!r.timer)
            continue;
        r.running = r.timer->isActive();
        r.timer->stop();
    }
}

void SimWindow::RememberTimer(QTimer *t, bool running)
{
    for (RememberedTimer &r : remembered) {
        if (r.timer == t) {
            r.running = running;
            return;
        }
    }
    remembered.append(RememberedTimer{t, running});
}

bool SimWindow::Remembered(const QTimer *t) const
{
    for (const RememberedTimer &r : remembered)
        if (r.timer == t)
            return r.running;
    return false;
}

void SimWindow::NameAnimation(const char *timerName)
{
    tempo->setObjectName(QString::fromLatin1(timerName));
}

void SimWindow::cadenzaChange()
{
    if (cadenza)
        tempo->setInterval(200 - cadenza->value());
}

void SimWindow::guidaClick()
{
    HelpTarget = titleText(42) + helpPage;
    Tlegge *legge = new Tlegge(this);
    ShowModal(legge);
    delete legge;
}

// ---- keys ----

bool SimWindow::PauseKey()
{
    if (!pausa || !pausa->isEnabled() || !pausa->isVisibleTo(this))
        return false;
    pausa->click();
    return true;
}

bool SimWindow::StepKey()
{
    if (!pausa || !pausa->isChecked() || !pausa->isEnabled() || !tempo->isActive())
        return false;
    // The tick reads the pause button: for this one tick it reads "running", and no handler
    // of the button hears of it.
    {
        const QSignalBlocker quiet(pausa);
        pausa->setChecked(false);
    }
    QPointer<QToolButton> button(pausa);
    QMetaObject::invokeMethod(tempo, "timeout", Qt::DirectConnection);
    if (button) {
        const QSignalBlocker quiet(button);
        button->setChecked(true);
    }
    return true;
}

bool SimWindow::RateKey(int notches)
{
    if (!cadenza || !cadenza->isEnabled() || !cadenza->isVisibleTo(this))
        return false;
    const int step = cadenza->tickInterval() > 0 ? cadenza->tickInterval() : cadenza->singleStep();
    cadenza->setValue(cadenza->value() + notches * step);
    return true;
}

bool SimWindow::HelpKey()
{
    if (!guida) {
        guidaClick();
        return true;
    }
    if (!guida->isEnabled())
        return false;
    guida->click();
    return true;
}

// ---- the picture on paper ----

std::function<QString(QWidget *, const QString &)> SimWindow::SaveDialog;

QString SimWindow::PictureFileName(const QDateTime &when) const
{
    QString caption = windowTitle().simplified();
    // Characters that file systems or file managers refuse in a name.
    static const QString refused = QStringLiteral("/\\:*?\"<>|");
    for (QChar &c : caption)
        if (refused.contains(c) || c.unicode() < 32)
            c = QLatin1Char('-');
    if (caption.isEmpty())
        caption = QStringLiteral("Vastara");
    return caption + QLatin1Char(' ') + when.toString(QStringLiteral("yyyy-MM-dd HH.mm.ss")) + QStringLiteral(".png");
}

bool SimWindow::WritePicture(const QImage &picture, const QString &path, QString *reason)
{
    // Encoded first, then written beside the target under another name and put in its place
    // only when every byte is on the disk, so that a failure (a folder that cannot be
    // written, a full disk) leaves nothing behind. The encoder does not report a short
    // write, so the file's own count is checked.
    QByteArray png;
    {
        QBuffer buffer(&png);
        if (!buffer.open(QIODevice::WriteOnly) || !picture.save(&buffer, "PNG")) {
            if (reason)
                *reason = QStringLiteral("PNG");
            return false;
        }
    }
    QSaveFile file(path);
    bool ok = file.open(QIODevice::WriteOnly) && file.write(png) == png.size() && file.flush();
    if (ok)
        ok = file.commit();
    else
        file.cancelWriting();
    if (!ok && reason)
        *reason = file.errorString();
    return ok;
}

void SimWindow::SavePicture()
{
    // The picture of this moment, whatever the animation does while the dialog is open.
    const QImage shot = screen.copy();
    static QString folder;
    if (folder.isEmpty() || !QDir(folder).exists()) {
        folder = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
        if (folder.isEmpty() || !QDir(folder).exists())
            folder = QDir::homePath();
    }
    const QString proposed = QDir(folder).filePath(PictureFileName(QDateTime::currentDateTime()));
    QPointer<SimWindow> self(this);
    QString path = SaveDialog ? SaveDialog(this, proposed)
                              : QFileDialog::getSaveFileName(this, extraText(ExtraText::SavePictureTitle), proposed,
                                                             extraText(ExtraText::PngPictures));
    if (path.isEmpty())
        return;
    if (!path.endsWith(QLatin1String(".png"), Qt::CaseInsensitive))
        path += QStringLiteral(".png");
    folder = QFileInfo(path).absolutePath();
    if (WritePicture(shot, path))
        return;
    TVersione notice(self ? static_cast<QWidget *>(self.data()) : Vastaras, extraText(ExtraText::PictureNotSaved),
                     QFileInfo(path).fileName());
    ShowModal(&notice);
}

void SimWindow::CopyPicture()
{
    QGuiApplication::clipboard()->setImage(screen.copy());
}

void SimWindow::FormClose()
{
    if (closed)
        return;
    if (activeChild)
        FormDeactivate();
    StopTimers();
    tempo->stop();
    canvas.setTarget(nullptr);
    FreeBitmaps();
    closed = true;
    WindowClosed[slot] = true;
    if (Vastaras)
        Vastaras->WindowGone(this);
}

void SimWindow::closeEvent(QCloseEvent *e)
{
    FormClose();
    e->accept();
}

void SimWindow::Refresh()
{
    ShowChanged(surface->rect());
}

bool SimWindow::eventFilter(QObject *watched, QEvent *e)
{
    // The running timer's own event, as against its signal emitted by hand.
    if (watched == tempo && e->type() == QEvent::Timer)
        timerTick = true;
    return QWidget::eventFilter(watched, e);
}

int SimWindow::PresentInterval() const
{
    const QScreen *s = QWidget::screen();
    const qreal hz = s && s->refreshRate() >= 24 ? qMin<qreal>(s->refreshRate(), 240) : 60;
    return qRound(1000 / hz);
}

void SimWindow::ShowChanged(const QRegion &changed)
{
    pendingRepaint |= changed;
    if (presenter->isActive())
        return;
    // After a quiet spell at the next turn of the event loop, otherwise a refresh period
    // after the last picture shown; what changes meanwhile joins it. A picture due within
    // the timers' own slack (a run of fast steps comes a refresh after the last) is shown at
    // once rather than waking the program again for it.
    const qint64 since = sincePresent.isValid() ? sincePresent.elapsed() : PresentInterval();
    const qint64 wait = PresentInterval() - since;
    presenter->start(wait <= 2 ? 0 : int(wait));
}

void SimWindow::Present()
{
    presenter->stop();
    if (!pendingRepaint.isEmpty())
        surface->update(pendingRepaint);
    pendingRepaint = QRegion();
    sincePresent.start();
}

void SimWindow::RepaintOnly(const QRect &changed)
{
    partialRepaint = true;
    repaintRect |= changed;
}

QString SimWindow::HintOf(const QWidget *w)
{
    return w ? w->property(HintProperty).toString() : QString();
}

void SimWindow::SetHint(QWidget *w, const QString &hint)
{
    if (!w)
        return;
    w->setProperty(HintProperty, shortHint(hint));
    w->setStatusTip(longHint(hint));
    // A screen reader names the control by its hint.
    w->setAccessibleName(StripMnemonics(shortHint(hint)));
    if (!hinted.contains(w))
        hinted.append(w);
}

void SimWindow::NameAsEnterKey(QWidget *w)
{
    // The hint line's "        (Invio)".
    w->setAccessibleName(titleText(40).trimmed().remove(QLatin1Char('(')).remove(QLatin1Char(')')));
}

void SimWindow::ApplyHints(bool on)
{
    for (const QPointer<QWidget> &w : std::as_const(hinted))
        if (w)
            w->setToolTip(on || OwnsHint(w) ? HintOf(w) : QString());
}

void SimWindow::ShowOwnHint(QWidget *w)
{
    if (w && !ownHints.contains(w))
        ownHints.append(w);
}

bool SimWindow::OwnsHint(const QWidget *w) const
{
    for (const QPointer<QWidget> &o : ownHints)
        if (o == w)
            return true;
    return false;
}

QWidget *SimWindow::AddSotto(TColor colour, bool boldText)
{
    sotto = new QWidget(this);
    sotto->setObjectName(QStringLiteral("sotto"));
    sotto->setAutoFillBackground(true);
    QPalette pal = sotto->palette();
    pal.setColor(QPalette::Window, toQColor(colour));
    sotto->setPalette(pal);
    if (boldText) {
        QFont f = sotto->font();
        f.setBold(true);
        sotto->setFont(f);
    }
    sotto->hide();
    return sotto;
}

QLabel *SimWindow::AddPanel(QWidget *parent, const char *name, TColor textColour, TColor ground, bool bold,
                            const QString &text)
{
    auto *p = new QLabel(text, parent);
    p->setObjectName(QString::fromLatin1(name));
    p->setAutoFillBackground(true);
    QPalette pal = p->palette();
    pal.setColor(QPalette::Window, toQColor(ground));
    pal.setColor(QPalette::WindowText, toQColor(textColour));
    p->setPalette(pal);
    QFont f = p->font();
    f.setBold(bold);
    p->setFont(f);
    return p;
}

QFrame *SimWindow::AddBevel(QWidget *parent, const char *name)
{
    auto *b = new QFrame(parent);
    b->setObjectName(QString::fromLatin1(name));
    // One pixel each side, dark above and on the left, light below and on the right, so a
    // bevel one pixel outside a picture leaves the picture whole.
    b->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    b->setLineWidth(1);
    b->setAttribute(Qt::WA_TransparentForMouseEvents);
    return b;
}

QFrame *SimWindow::AddPictureBevel(const char *name, std::function<QRect()> picture)
{
    QFrame *b = AddBevel(this, name);
    bevels.append(PictureBevel{b, std::move(picture)});
    return b;
}

void SimWindow::PlaceBevels()
{
    for (const PictureBevel &pb : std::as_const(bevels)) {
        if (!pb.bevel)
            continue;
        const QRect r = pb.picture();
        pb.bevel->setGeometry(r.x() - 1, r.y() - 1, r.width() + 3, r.height() + 3);
        pb.bevel->raise();
    }
}

QComboBox *SimWindow::AddDropDown(QToolBar *bar, const QStringList &items, int hintRow, const char *name,
                                  bool whiteOnBlack)
{
    auto *list = new QComboBox(bar);
    list->setObjectName(QString::fromLatin1(name));
    list->addItems(items);
    list->setCursor(Qt::ArrowCursor);
    if (whiteOnBlack) {
        QPalette pal = list->palette();
        for (QPalette::ColorRole role : {QPalette::Base, QPalette::Button, QPalette::Window}) {
            pal.setColor(role, toQColor(clBlack));
        }
        for (QPalette::ColorRole role : {QPalette::Text, QPalette::ButtonText, QPalette::WindowText}) {
            pal.setColor(role, toQColor(clWhite));
        }
        list->setPalette(pal);
        QFont f = list->font();
        f.setBold(true);
        list->setFont(f);
    }
    if (hintRow > 0)
        SetHint(list, controlText(hintRow));
    bar->addWidget(list);
    return list;
}

void SimWindow::FitDropDown(QComboBox *list, int extra)
{
    // An int: a long item of a loaded language must not wrap the width round.
    int widest = 0;
    const QFontMetrics fm(list->font());
    for (int i = 0; i < list->count(); ++i)
        widest = qMax(widest, fm.horizontalAdvance(list->itemText(i)));
    list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    list->setFixedWidth(qMax(widest + extra, list->sizeHint().width()));
}

QButtonGroup *SimWindow::ExclusiveGroup(std::initializer_list<QAbstractButton *> buttons)
{
    auto *group = new QButtonGroup(this);
    group->setExclusive(true);
    for (QAbstractButton *b : buttons) {
        b->setCheckable(true);
        group->addButton(b);
    }
    return group;
}

QToolBar *SimWindow::AddToolBar(const char *name)
{
    auto *bar = new QToolBar(barrasotto);
    if (name)
        bar->setObjectName(QString::fromLatin1(name));
    bar->setIconSize(QSize(16, 16));
    bar->setMovable(false);
    bar->setFloatable(false);
    barLayout->insertWidget(barLayout->count() - 1, bar);
    return bar;
}

QToolButton *SimWindow::AddToolButton(QToolBar *bar, int iconIndex, int hintRow, bool checkable, const char *name)
{
    auto *b = new QToolButton(bar);
    if (name)
        b->setObjectName(QString::fromLatin1(name));
    if (iconIndex >= 0)
        b->setIcon(ImageList2().icon(iconIndex));
    b->setCheckable(checkable);
    b->setAutoRaise(true);
    b->setCursor(Qt::ArrowCursor);
    if (hintRow > 0)
        SetHint(b, controlText(hintRow));
    bar->addWidget(b);
    return b;
}

QToolButton *SimWindow::AddSpeedButton(QToolBar *bar, const QString &glyph, int hintRow, bool stayDown,
                                       const char *name)
{
    auto *b = new QToolButton(bar);
    if (name)
        b->setObjectName(QString::fromLatin1(name));
    b->setIcon(GlyphIcon(glyph));
    b->setCheckable(stayDown);
    b->setCursor(Qt::ArrowCursor);
    if (hintRow > 0)
        SetHint(b, controlText(hintRow));
    bar->addWidget(b);
    return b;
}

QSlider *SimWindow::AddTrackBar(QToolBar *bar, int minimum, int maximum, int position, int hintRow)
{
    auto *s = new QSlider(Qt::Horizontal, bar);
    s->setRange(minimum, maximum);
    s->setValue(position);
    s->setTickPosition(QSlider::TicksBothSides);
    s->setTickInterval(5);
    s->setFixedWidth(150);
    s->setCursor(Qt::ArrowCursor);
    if (hintRow > 0)
        SetHint(s, controlText(hintRow));
    bar->addWidget(s);
    return s;
}

QToolButton *SimWindow::AddPausa(QToolBar *bar, int iconIndex)
{
    pausa = AddToolButton(bar, iconIndex, 1, true, "pausa");
    return pausa;
}

QSlider *SimWindow::AddCadenza(QToolBar *bar, int position, int minimum, int maximum, const char *name)
{
    cadenza = AddTrackBar(bar, minimum, maximum, position, 2);
    cadenza->setObjectName(QString::fromLatin1(name));
    connect(cadenza, &QSlider::valueChanged, this, [this] { cadenzaChange(); });
    return cadenza;
}

QToolButton *SimWindow::AddGuida(QToolBar *bar)
{
    guida = AddToolButton(bar, 34, 5, false, "guida");
    connect(guida, &QToolButton::clicked, this, [this] { guidaClick(); });
    return guida;
}

static QHash<QString, SimFactory> &registry()
{
    static QHash<QString, SimFactory> factories;
    return factories;
}

SimRegistration::SimRegistration(const char *menuItem, SimFactory factory)
{
    registry().insert(QString::fromLatin1(menuItem), factory);
}

SimFactory RegisteredFactory(const QString &menuItem)
{
    return registry().value(menuItem, nullptr);
}
