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

#include <QImage>
#include <QPointer>
#include <QTimer>
#include <QWidget>

class QMdiSubWindow;
class QSlider;
class QToolBar;
class QToolButton;
class QHBoxLayout;

class SimSurface;

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

    QTimer *tempo = nullptr;
    QWidget *barrasotto = nullptr;
    QToolButton *pausa = nullptr;
    QSlider *cadenza = nullptr;
    QToolButton *guida = nullptr;

    // Background colour of the client area.
    TColor Color = clBackground;

    // The short hint of a control as set at creation (shown only while hints are on).
    static QString HintOf(const QWidget *w);

    // Repaints the window from `screen`.
    void Refresh();

protected:
    // Expensive preparation done once, at the first activation, under the hour-glass.
    virtual void Prepare() {}
    // Frees the window's off-screen bitmaps.
    virtual void FreeBitmaps() {}
    // Timers other than `tempo` that run while active (windows that remember them override).
    virtual void StopTimers();
    virtual void StartTimers();

    // Control-bar building blocks.
    QToolBar *AddToolBar();
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
    QSlider *AddCadenza(QToolBar *bar, int position, int minimum = 5, int maximum = 195);
    QToolButton *AddGuida(QToolBar *bar);
    void SetHint(QWidget *w, const QString &hint);
    void ApplyHints(bool on);

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
