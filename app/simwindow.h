#pragma once
// The life cycle shared by every simulation window:
//  - creation (menu item, slot free): the slot is taken, the window fills the workspace from
//    its top-left corner, its caption and hints come from the language tables of the
//    language active now, and it keeps them for its whole life;
//  - shown: the main window's backdrop is hidden;
//  - activated (it becomes the active child): tooltips follow HintsOn, the first activation
//    does the expensive preparation under the hour-glass and then shows the control bar,
//    and the animation timer `tempo` starts;
//  - deactivated: `tempo` stops, so only the active window animates;
//  - `cadenza` moved: the tick becomes 200 - position milliseconds;
//  - `guida`: the help viewer opens modally at the window's page;
//  - closed: bitmaps freed, slot freed, the backdrop shown when no window is left.
// A window draws into `screen` through `Canvas` (its client area, including the part under
// the control bar), and the picture is shown as it stands after each handler.
#include "canvas.h"
#include "tempo.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QImage>
#include <QPointer>
#include <QRegion>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <initializer_list>

class QAbstractButton;
class QButtonGroup;
class QComboBox;
class QFrame;
class QLabel;
class QMdiSubWindow;
class QSlider;
class QToolBar;
class QToolButton;
class QHBoxLayout;
class QKeyEvent;

class SimSurface;

// The metrics of the control bars (top bar `barrasotto`, bottom panel `sotto`) a window was
// created with. Some windows rewrite the shared values for the windows opened after them;
// a window already open keeps its own.
struct BarMetrics {
    int barHeight = 0;
    int controlHeight = 0;
    int controlTop = 0;
};
BarMetrics CurrentBarMetrics();

// The smallest height of a control bar: its 16 x 16 icons and their buttons' frames.
constexpr int MinimumBarHeight = 24;

class SimWindow : public QWidget
{
    Q_OBJECT
public:
    // slot: WindowClosed index; titleRow: TitleTexts row of the caption; helpPage: the page and
    // anchor after the help folder prefix, e.g. "Vastara/terremoti.htm#primarie".
    SimWindow(QWidget *owner, int slot, int titleRow, const QString &helpPage);
    ~SimWindow() override;

    int Slot() const { return slot; }
    QString HelpPage() const { return helpPage; }
    QMdiSubWindow *Frame() const;
    int ClientWidth() const { return width(); }
    int ClientHeight() const { return height(); }
    bool FirstActivationDone() const { return !firstActivation; }
    // The hint line: the long part of the hint of the control under the mouse (empty when
    // the mouse leaves it), as the toolkit's status tips report it.
    QString CurrentLongHint() const { return longHintShown; }
    bool IsActiveChild() const { return activeChild; }

    // Life-cycle handlers, called by the main window (and by tests directly).
    virtual void FormCreate();
    virtual void FormShow();
    virtual void FormActivate();
    virtual void FormDeactivate();
    virtual void FormClose();
    virtual void tempoTimer() = 0;
    virtual void cadenzaChange();
    void guidaClick();

    // The window's picture, as shown.
    QImage screen;
    Canvas canvas;

    Tempo *tempo = nullptr;
    QWidget *barrasotto = nullptr;
    // The bottom panel, for the windows that have one (AddSotto).
    QWidget *sotto = nullptr;
    QToolButton *pausa = nullptr;
    QSlider *cadenza = nullptr;
    QToolButton *guida = nullptr;

    // Background colour of the client area.
    TColor Color = clBackground;

    // The short hint of a control as set at creation (shown only while hints are on).
    static QString HintOf(const QWidget *w);

    // Repaints the window from `screen`.
    void Refresh();
    // For a window with a fast timer: the tick in progress changed only this part of the
    // picture (called from the tick, any number of times), so only that part is repainted
    // after it (the parts given, not the box round them). A tick that does not call it has
    // the box round what it drew through `canvas` repainted, and nothing when it drew
    // nothing.
    void RepaintOnly(const QRect &changed);
    // The picture reaches the screen at most once per screen refresh: what ticks and other
    // handlers changed in between is gathered and shown together, as it stands then.
    int PresentInterval() const;
    bool RepaintPending() const { return !pendingRepaint.isEmpty(); }
    // For an animation timer faster than the screen refresh: whether the picture this tick
    // would draw can still be seen. The running timer takes such steps in runs, one run per
    // refresh (see Tempo); only the last step of a run is seen, so the others may advance the
    // model without drawing. Ticks run by hand rather than by the running timer (tests, the
    // step key) are always seen.
    bool PictureDue() const { return !timerTick || lastOfRun; }
    // Steps of the animation timer taken so far (its ticks, however they were run).
    quint64 StepsTaken() const { return stepsTaken; }

    // The bar metrics of this window's creation.
    BarMetrics metrics;
    // Height of the top control bar as laid out: the window's bar height, never below what
    // its icons need.
    int ControlBarHeight() const { return qMax(metrics.barHeight, MinimumBarHeight); }

    // Wide clients: the scenes are drawn for a 4:3 client. A window whose scene would leave
    // the picture on a wider client lays it out on the widest width that still fits (`fit`,
    // worked out by the window from its own geometry), centred; on a client no wider than
    // that the layout is the client itself.
    int SceneWidth(int fit) const { return qMax(0, qMin(ClientWidth(), fit)); }
    int SceneLeft(int sceneWidth) const { return (ClientWidth() - sceneWidth) / 2; }

    // Controls that show their own tooltip whatever HintsOn says.
    bool OwnsHint(const QWidget *w) const;

    // Keys of the active window, handed over by the main window. Each returns whether the
    // window used the key.
    //  - A key the window gives a meaning of its own (the window says so here) keeps it.
    virtual bool OwnsKey(const QKeyEvent *) const { return false; }
    //  - Space: the pause button, as if clicked (when the window has one and it is enabled).
    bool PauseKey();
    //  - '.': while paused, one tick of the animation timer as if not paused; the window
    //    stays paused. A window whose pause is more than its button says how here.
    virtual bool StepKey();
    //  - '+' and '-': the rate track bar moved by `notches` of its tick steps.
    bool RateKey(int notches);
    //  - F1: the help button, as if clicked.
    bool HelpKey();
    //  - Ctrl+S: the picture as shown now, saved as PNG where the file dialog says;
    //    Ctrl+C: the picture on the clipboard.
    void SavePicture();
    void CopyPicture();
    // The file name proposed for the picture: the caption and the date and time.
    QString PictureFileName(const QDateTime &when) const;
    // Writes the picture as PNG, whole or not at all; false (with the reason) on failure.
    static bool WritePicture(const QImage &picture, const QString &path, QString *reason = nullptr);
    // The file dialog of SavePicture (tests replace it): the proposed path in, the chosen
    // path out (empty: cancelled).
    static std::function<QString(QWidget *parent, const QString &proposed)> SaveDialog;

protected:
    // Expensive preparation done once, at the first activation, under the hour-glass.
    virtual void Prepare() {}
    // Frees the window's off-screen bitmaps.
    virtual void FreeBitmaps() {}
    // Timers other than `tempo` that run while active (windows that remember them override).
    virtual void StopTimers();
    virtual void StartTimers();

    // Control-bar building blocks.
    // A tool bar of the control bar, under its component name when given.
    QToolBar *AddToolBar(const char *name = nullptr);
    // Buttons and track bars take the component name `name` (when given), so tests and the
    // soak find them as the window calls them.
    QToolButton *AddToolButton(QToolBar *bar, int iconIndex, int hintRow, bool checkable = false,
                               const char *name = nullptr);
    QToolButton *AddSpeedButton(QToolBar *bar, const QString &glyph, int hintRow, bool stayDown = true,
                                const char *name = nullptr);
    QSlider *AddTrackBar(QToolBar *bar, int minimum, int maximum, int position, int hintRow);
    // The usual controls: the pause button `pausa` (hint "pausa|"), the rate track bar
    // `cadenza` (hint "velocità di esecuzione|", moving it calls cadenzaChange) and the help
    // button `guida` (icon 34, hint "guida|").
    QToolButton *AddPausa(QToolBar *bar, int iconIndex);
    QSlider *AddCadenza(QToolBar *bar, int position, int minimum = 5, int maximum = 195,
                        const char *name = "cadenza");
    QToolButton *AddGuida(QToolBar *bar);
    void SetHint(QWidget *w, const QString &hint);
    // A picture of the Enter key (a control without a hint) is named after the key, in the
    // window's language, for a screen reader.
    static void NameAsEnterKey(QWidget *w);
    void ApplyHints(bool on);

    // Exceptions to the life cycle that a window states at construction:
    //  - a control showing its own tooltip whatever HintsOn says;
    void ShowOwnHint(QWidget *w);
    //  - a window frame without title-bar buttons;
    void HideTitleButtons() { titleButtons = false; }
    //  - a control bar visible from creation, rather than after the first activation;
    void ShowBarAtCreation() { barAtCreation = true; }
    //  - timers that keep running while another window is active (deactivation stops nothing);
    void KeepRunningWhenInactive() { runsInactive = true; }
    //  - a window that starts its scene anew as at its first activation (for example a start
    //    button that draws the whole picture again): the preparation runs again, then the
    //    timers start as remembered, so the window sets their remembered states first;
    void RunFirstActivationAgain();
    //  - the control that has the focus when the window first comes up;
    void SetActiveControl(QWidget *w) { activeControl = w; }
    //  - the animation timer and the rate track bar under the window's own names (for
    //    example a timer `cadenza` moved by a track bar `velo`): NameAnimation("cadenza")
    //    and AddCadenza(bar, position, 5, 195, "velo").
    void NameAnimation(const char *timerName);

    // Timers whose running state is remembered at deactivation and given back, exactly, at
    // activation. A window naming none has `tempo` started and stopped as usual. The state
    // given here is the one the first activation restores; a timer that the first
    // activation's preparation starts keeps running.
    void RememberTimer(QTimer *t, bool running);
    bool Remembered(const QTimer *t) const;

    // The bottom panel `sotto`: the window's bar height high along the bottom edge, in the
    // given colour, shown from creation. LayoutSotto places its contents.
    QWidget *AddSotto(TColor colour = clSilver, bool boldText = false);
    // Height of the bottom panel: the bar height, or more where a text in it needs more.
    int SottoHeight() const;
    virtual void LayoutSotto() {}
    // A text panel (label) with its colours, and a sunken bevel; `parent` is usually sotto.
    QLabel *AddPanel(QWidget *parent, const char *name, TColor textColour, TColor ground, bool bold,
                     const QString &text = QString());
    QFrame *AddBevel(QWidget *parent, const char *name);
    // A bevel framing a picture of the window from one pixel outside it (left and top one
    // pixel before it, width and height three more), placed again whenever the window is
    // resized or PlaceBevels is called: `picture` gives the picture's place and size then.
    QFrame *AddPictureBevel(const char *name, std::function<QRect()> picture);
    void PlaceBevels();

    // A drop-down list of texts: the items, the hint, and optionally white bold text on black.
    QComboBox *AddDropDown(QToolBar *bar, const QStringList &items, int hintRow, const char *name,
                           bool whiteOnBlack);
    // Sizes a drop-down list from its widest item, as a label of the list's font measures it,
    // plus `extra` pixels (never narrower than the list needs to show that item whole).
    static void FitDropDown(QComboBox *list, int extra);
    // Speed buttons of which exactly one is down at a time.
    QButtonGroup *ExclusiveGroup(std::initializer_list<QAbstractButton *> buttons);

    // Called whenever the hint line changes (the mouse enters or leaves a control whose hint
    // has a long part); a window with a hint line of its own shows it here.
    virtual void HintLineChanged(const QString &) {}

    bool event(QEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void closeEvent(QCloseEvent *e) override;

    // Mouse on the picture, in client coordinates.
    virtual void SurfaceMouseDown(QMouseEvent *) {}
    virtual void SurfaceMouseMove(QMouseEvent *) {}
    virtual void SurfaceMouseUp(QMouseEvent *) {}

    friend class SimSurface;

private:
    void ResizeScreen(const QSize &size);

    int slot;
    int titleRow;
    QString helpPage;
    bool firstActivation = true;
    bool activeChild = false;
    bool closed = false;
    bool titleButtons = true;
    bool barAtCreation = false;
    bool runsInactive = false;
    QString longHintShown;
    bool partialRepaint = false;
    QRegion repaintRect;
    QRegion pendingRepaint;
    QTimer *presenter = nullptr;
    QElapsedTimer sincePresent;
    bool timerTick = false; // the tick in progress was started by the running timer
    bool lastOfRun = true;  // ... and is the last step of its run
    void TakeStep();
    quint64 stepsTaken = 0;
    void ShowChanged(const QRegion &changed);
    void Present();
    QPointer<QWidget> activeControl;
    struct RememberedTimer {
        QPointer<QTimer> timer;
        bool running;
    };
    QList<RememberedTimer> remembered;
    QList<QPointer<QWidget>> ownHints;
    struct PictureBevel {
        QPointer<QFrame> bevel;
        std::function<QRect()> picture;
    };
    QList<PictureBevel> bevels;
    void PlaceBars();
    SimSurface *surface = nullptr;
    QHBoxLayout *barLayout = nullptr;
    QList<QPointer<QWidget>> hinted;
};

// Factory of a simulation window: creates the window and stores it in its unit's global.
using SimFactory = SimWindow *(*)(QWidget *owner);

// Each simulation unit registers its window under its menu item, e.g.
//   static const SimRegistration registration("D1", CreateOndep);
struct SimRegistration {
    SimRegistration(const char *menuItem, SimFactory factory);
};
// The window registered for a menu item, or nullptr.
SimFactory RegisteredFactory(const QString &menuItem);
