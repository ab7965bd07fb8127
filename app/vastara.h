#pragma once
// The main window: the start screen, then the MDI frame whose menu opens the simulations,
// switches the language, opens the help and the About box and arranges the windows.
#include <QHash>
#include <QMainWindow>
#include <QRect>
#include <QPointer>
#include <functional>

class QAction;
class QActionGroup;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QMenuBar;
class QKeyEvent;
class QTimer;
class SimWindow;
struct MenuItemDef;

class TVastaras : public QMainWindow
{
    Q_OBJECT
public:
    // configPath: the configuration file (normally "Vastara.cfg" in the current folder);
    // langEnv: the value of LANG.
    explicit TVastaras(const QString &configPath = QStringLiteral("Vastara.cfg"),
                       const QString &langEnv = QString::fromLocal8Bit(qgetenv("LANG")));
    ~TVastaras() override;

    // Start screen.
    void Timer3Timer();
    void Timer2Timer();
    bool StartScreenShown() const { return splash != nullptr; }
    // Runs the remaining start-screen ticks at once (tests and the benchmark).
    void FinishStartScreen();

    void HideBackdrop();
    void ShowBackdropIfAllClosed();
    bool BackdropVisible() const;

    void ApplyMenuLanguage();

    // Menu commands.
    void OpenSimulation(const MenuItemDef &item);
    void OpenSimulation(const QString &itemName);
    // Puts a new simulation window in the workspace: created, shown, activated.
    void Host(SimWindow *w);
    bool MenuAttached() const;
    void A1Click();
    void A3Click();
    void A4Click();
    void B1Click();
    void B2Click();
    void B3Click();
    void C1Click();
    void C2Click();
    void SwitchLanguage(int language);
    void ChooseDefault(int language);
    // The part of A3Click after the file dialog.
    void LoadLanguageFile(const QString &path);

    QAction *Item(const QString &name) const { return items.value(name); }
    QMdiArea *Workspace() const { return mdi; }
    SimWindow *ActiveSim() const;
    QList<SimWindow *> Simulations() const;
    QLabel *imterra = nullptr;

    // Called by a simulation window as it closes.
    void WindowGone(SimWindow *w);

    // The file dialog of A3Click; tests replace it.
    std::function<QString()> OpenDialog1;

    QString ConfigPath() const { return configPath; }

    // The keys of the frame and of the active simulation window (see SimWindow): F11 switches
    // between full screen and the frame's size, F1 with no window open opens the contents.
    // Returns whether the key was used (then nobody else gets it).
    bool KeyCommand(QWidget *target, const QKeyEvent *e);
    void ToggleFullScreen();

protected:
    void closeEvent(QCloseEvent *e) override;
    bool eventFilter(QObject *o, QEvent *e) override;

private:
    void BuildMenu();
    void EndStartScreen();
    void ShowLoadFailure(const QString &fileName);
    void OnSubWindowActivated(QMdiSubWindow *sub);
    void SyncActivation();
    void UpdateLanguageItems();
    // Sets a menu item's caption and tells screen readers its new name.
    void Relabel(QAction *a, const QString &caption);

    QString configPath;
    bool configSaved = false;

    QWidget *splash = nullptr;
    QLabel *imparavia = nullptr;
    QLabel *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr, *Label4 = nullptr;
    QTimer *Timer3 = nullptr, *Timer2 = nullptr;

    QMdiArea *mdi = nullptr;
    QMenuBar *principale = nullptr;
    QHash<QString, QAction *> items;
    QActionGroup *defaults = nullptr;
    QPointer<SimWindow> active;
    // Since the first switch to full screen, the windows opened take the workspace's size.
    bool followWorkspace = false;
    // For a desktop without a window manager: the frame's place before full screen, and
    // whether it was made to fill the screen by hand.
    QRect normalFrame;
    bool bareFullScreen = false;
};
