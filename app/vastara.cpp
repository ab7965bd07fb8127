#include "vastara.h"

#include "dialogs/avviso.h"
#include "dialogs/brucatore.h"
#include "dialogs/riguardo.h"
#include "globals.h"
#include "imagelist.h"
#include "language/langfile.h"
#include "language/texts.h"
#include "menutable.h"
#include "numeric.h"
#include "simwindow.h"

#include <QAccessible>
#include <QAction>
#include <QAbstractSpinBox>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>

static QFont namedFont(const QStringList &families, int pixels, bool bold, bool italic = false)
{
    QFont f;
    f.setFamilies(families);
    f.setPixelSize(pixels);
    f.setBold(bold);
    f.setItalic(italic);
    return f;
}

static QSize screenSize()
{
    const QScreen *s = QGuiApplication::primaryScreen();
    return s ? s->geometry().size() : QSize(1024, 768);
}

TVastaras::TVastaras(const QString &configPath_, const QString &langEnv) : configPath(configPath_)
{
    Vastaras = this;
    initResources();
    resetGlobals();
    resetLanguageTables();
    ResetLanguageState();
    ImageList2().loadBuiltin();

    setObjectName(QStringLiteral("Vastaras"));
    setWindowIcon(QIcon(QStringLiteral(":/vastara.png")));
    setFont(namedFont({QStringLiteral("helvetica"), QStringLiteral("DejaVu Sans")}, 12, false));

    // 1. The start screen: borderless 445 x 280, centred, a little above the middle.
    SplashTicks = 0;
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    const QSize scr = screenSize();
    setGeometry(Div(scr.width() - 445, 2), (scr.height() - 280) * 5 / 12, 445, 280);
    setFixedSize(445, 280);

    mdi = new QMdiArea;
    mdi->setObjectName(QStringLiteral("workspace"));
    mdi->setBackground(Qt::black);
    principale = new QMenuBar;
    principale->setObjectName(QStringLiteral("principale"));
    BuildMenu();

    // 2. Language, configuration and the language file.
    LanguageStartup(langEnv, configPath);
    UpdateLanguageItems();

    // 3. Captions.
    ApplyMenuLanguage();

    // 4. The start screen's picture and texts.
    splash = new QWidget;
    splash->setObjectName(QStringLiteral("startscreen"));
    QPalette splashPalette = splash->palette();
    splashPalette.setColor(QPalette::Window, toQColor(RGB(0, 170, 255)));
    splash->setPalette(splashPalette);
    splash->setAutoFillBackground(true);
    imparavia = new QLabel(splash);
    imparavia->setObjectName(QStringLiteral("imparavia"));
    imparavia->setPixmap(QPixmap(QStringLiteral(":/imparavia.png")));
    imparavia->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    imparavia->setGeometry(0, 0, 445, 280);
    imparavia->setCursor(Qt::WaitCursor);
    auto makeLabel = [this](const QString &name, const QFont &f, TColor color) {
        auto *l = new QLabel(splash);
        l->setObjectName(name);
        l->setFont(f);
        l->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        l->setAttribute(Qt::WA_TranslucentBackground);
        QPalette p = l->palette();
        p.setColor(QPalette::WindowText, toQColor(color));
        l->setPalette(p);
        return l;
    };
    const QStringList courier = {QStringLiteral("adobe-courier"), QStringLiteral("Courier"),
                                 QStringLiteral("DejaVu Sans Mono")};
    const QStringList sans = {QStringLiteral("MS Sans Serif"), QStringLiteral("DejaVu Sans")};
    Label1 = makeLabel(QStringLiteral("Label1"), namedFont(courier, 38, true), clYellow);
    Label2 = makeLabel(QStringLiteral("Label2"), namedFont(courier, 21, true), clRed);
    Label3 = makeLabel(QStringLiteral("Label3"), namedFont(sans, 19, true, true), clNavy);
    Label4 = makeLabel(QStringLiteral("Label4"), namedFont(sans, 19, true, true), clNavy);
    Label1->setText(titleText(33));
    Label2->setText(titleText(34));
    Label3->setText(QStringLiteral("Ideato e scritto dal gruppo Vastara"));
    Label4->setText(QStringLiteral("per le scuole secondarie"));
    Label1->setGeometry(0, 80, 445, QFontMetrics(Label1->font()).height());
    Label2->setGeometry(0, 150, 441, QFontMetrics(Label2->font()).height());
    Label3->resize(445, QFontMetrics(Label3->font()).height());
    Label4->resize(445, QFontMetrics(Label4->font()).height());
    Label3->hide();
    Label4->hide();
    setCentralWidget(splash);

    // 5. The two start-screen timers.
    Timer3 = new QTimer(this);
    Timer3->setInterval(1);
    connect(Timer3, &QTimer::timeout, this, &TVastaras::Timer3Timer);
    Timer2 = new QTimer(this);
    Timer2->setInterval(1);
    connect(Timer2, &QTimer::timeout, this, &TVastaras::Timer2Timer);
    SplashTicks = 0;
    Timer3->start();
}

TVastaras::~TVastaras()
{
    // Windows still open go with the frame; their slots are freed by their destructors.
    if (Vastaras == this)
        Vastaras = nullptr;
    // The workspace reports activations while its windows go: not to a frame already half gone.
    disconnect(mdi, nullptr, this, nullptr);
    if (!principale->parent())
        delete principale;
    if (!mdi->parent())
        delete mdi;
}

void TVastaras::BuildMenu()
{
    QHash<QString, QMenu *> menus;
    // Submenus first: an item is a submenu when another item names it as its parent.
    QSet<QString> parents;
    for (int i = 0; i < MenuTableSize; ++i)
        parents.insert(QString::fromLatin1(MenuTable[i].parent));
    defaults = new QActionGroup(this);
    defaults->setExclusive(true);
    for (int i = 0; i < MenuTableSize; ++i) {
        const MenuItemDef &d = MenuTable[i];
        const QString name = QString::fromLatin1(d.name);
        const QString parent = QString::fromLatin1(d.parent);
        QAction *action = nullptr;
        if (parents.contains(name)) {
            QMenu *menu = parent.isEmpty() ? principale->addMenu(QString()) : menus[parent]->addMenu(QString());
            menu->setObjectName(name);
            menus[name] = menu;
            action = menu->menuAction();
        } else {
            action = menus[parent]->addAction(QString());
        }
        action->setObjectName(name);
        if (d.icon >= 0)
            action->setIcon(ImageList2().icon(d.icon));
        items[name] = action;
        if (d.separatorAfter && !parent.isEmpty())
            menus[parent]->addSeparator();

        if (d.slot > 0) {
            action->setEnabled(FactoryOf(d) != nullptr);
            connect(action, &QAction::triggered, this, [this, &d] { OpenSimulation(d); });
        }
    }
    items["A1"]->setCheckable(true);
    connect(items["A1"], &QAction::triggered, this, &TVastaras::A1Click);
    connect(items["A21"], &QAction::triggered, this, [this] { SwitchLanguage(2); });
    connect(items["A22"], &QAction::triggered, this, [this] { SwitchLanguage(1); });
    connect(items["A23"], &QAction::triggered, this, [this] { SwitchLanguage(0); });
    connect(items["A26"], &QAction::triggered, this, [this] { SwitchLanguage(3); });
    connect(items["A3"], &QAction::triggered, this, &TVastaras::A3Click);
    const char *defaultItems[] = {"A53", "A52", "A51", "A57"};
    for (int lang = 0; lang < 4; ++lang) {
        QAction *a = items[QString::fromLatin1(defaultItems[lang])];
        a->setCheckable(true);
        defaults->addAction(a);
        connect(a, &QAction::triggered, this, [this, lang] { ChooseDefault(lang); });
    }
    connect(items["A4"], &QAction::triggered, this, &TVastaras::A4Click);
    connect(items["B1"], &QAction::triggered, this, &TVastaras::B1Click);
    connect(items["B2"], &QAction::triggered, this, &TVastaras::B2Click);
    connect(items["B3"], &QAction::triggered, this, &TVastaras::B3Click);
    connect(items["C1"], &QAction::triggered, this, &TVastaras::C1Click);
    connect(items["C2"], &QAction::triggered, this, &TVastaras::C2Click);
    items["A26"]->setVisible(false);
    items["A57"]->setVisible(false);
}

void TVastaras::UpdateLanguageItems()
{
    items["A26"]->setVisible(FourthLanguageLoaded);
    items["A57"]->setVisible(FourthDefaultShown);
    if (FlagIconIndex >= 0)
        items["A26"]->setIcon(ImageList2().icon(FlagIconIndex));
    items["A51"]->setChecked(DefaultFrench);
    items["A52"]->setChecked(DefaultEnglish);
    items["A53"]->setChecked(DefaultItalian);
    items["A57"]->setChecked(DefaultFourth);
    items["A1"]->setChecked(HintsOn);
}

void TVastaras::ApplyMenuLanguage()
{
    setWindowTitle(titleText(1));
    QCoreApplication::setApplicationName(titleText(1));
    // The help menu is named by the help's own word ("Aiuto", "Help", "Aide", or the fourth
    // language's, the one that also names its help folder), its shortcut the first of its
    // letters that no other menu of the bar takes.
    QString taken;
    for (int i = 0; i < MenuTableSize; ++i) {
        const MenuItemDef &d = MenuTable[i];
        const QChar letter = MnemonicOf(OneMnemonic(menuText(d.row)));
        if (!*d.parent && qstrcmp(d.name, "C") != 0 && !letter.isNull())
            taken += letter;
    }
    for (int i = 0; i < MenuTableSize; ++i) {
        const MenuItemDef &d = MenuTable[i];
        if (QAction *a = items.value(QString::fromLatin1(d.name)))
            Relabel(a, qstrcmp(d.name, "C") == 0 ? MarkFreeLetter(titleText(42), taken)
                                                 : OneMnemonic(menuText(d.row)));
    }
}

void TVastaras::Relabel(QAction *a, const QString &caption)
{
    if (a->text() == caption)
        return;
    a->setText(caption);
    // A screen reader names a menu by its caption without the "&"; the toolkit tells it of a
    // renamed item only when asked.
    if (QMenu *m = a->menu())
        m->setAccessibleName(StripMnemonics(caption));
    for (QObject *o : a->associatedObjects()) {
        auto *owner = qobject_cast<QWidget *>(o);
        const int index = owner ? int(owner->actions().indexOf(a)) : -1;
        if (index < 0 || !(qobject_cast<QMenu *>(owner) || qobject_cast<QMenuBar *>(owner)))
            continue;
        QAccessibleEvent renamed(owner, QAccessible::NameChanged);
        renamed.setChild(index);
        QAccessible::updateAccessibility(&renamed);
    }
}

// ---- start screen ----

void TVastaras::Timer3Timer()
{
    if (!Timer3)
        return;
    ++SplashTicks;
    if (SplashTicks > 140) {
        Label3->move(0, Label3->height() / 2);
        Label4->move(0, splash->height() - (Label4->height() * 3) / 2);
        Label3->show();
        Label4->show();
        delete Timer3;
        Timer3 = nullptr;
        Timer2->start();
    }
}

void TVastaras::Timer2Timer()
{
    if (!Timer2 || Timer3)
        return;
    ++SplashTicks;
    if (SplashTicks > 265)
        EndStartScreen();
}

void TVastaras::FinishStartScreen()
{
    while (Timer3)
        Timer3Timer();
    while (Timer2)
        Timer2Timer();
}

void TVastaras::EndStartScreen()
{
    const bool wasVisible = isVisible();
    hide();
    // The start screen's pictures and labels are not needed again.
    QWidget *old = takeCentralWidget();
    delete old;
    splash = nullptr;
    imparavia = Label1 = Label2 = Label3 = Label4 = nullptr;

    setWindowFlags(Qt::Window);
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    // The frame is black behind its workspace; the menu keeps the toolkit's colours.
    mdi->setBackground(Qt::black);

    const int h = QFontMetrics(font()).height(); // text height of "I "
    BarHeight = 2 * h;
    ControlHeight = h + 4;
    ControlTop = Div(BarHeight - ControlHeight, 2);

    const QSize scr = screenSize();
    setCentralWidget(mdi);
    setMenuBar(principale);
    principale->show();
    setGeometry(0, 0, Round(0.98L * scr.width()), Round(0.9L * scr.height()));
    if (layout())
        layout()->activate();
    if (wasVisible || !QGuiApplication::platformName().startsWith(QLatin1String("offscreen")))
        show();
    if (layout())
        layout()->activate();

    ChildHeight = mdi->height() - BarHeight;
    ChildWidth = mdi->width();
    imterra = new QLabel(mdi->viewport());
    imterra->setObjectName(QStringLiteral("imterra"));
    imterra->setPixmap(QPixmap(QStringLiteral(":/imterra.png")));
    imterra->setAlignment(Qt::AlignCenter);
    imterra->setAttribute(Qt::WA_TransparentForMouseEvents);
    imterra->setGeometry(0, 0, ChildWidth, ChildHeight - BarHeight + 1);
    imterra->lower();
    imterra->hide();
    mdi->viewport()->installEventFilter(this);
    // The keys: seen before any control, so that Space pauses whichever button has the focus.
    qApp->installEventFilter(this);
    connect(mdi, &QMdiArea::subWindowActivated, this, &TVastaras::OnSubWindowActivated);

    delete Timer2;
    Timer2 = nullptr;

    if (!LngFileOk)
        ShowLoadFailure(ExtractFileName(LngFileName));
    ShowBackdropIfAllClosed();
}

bool TVastaras::eventFilter(QObject *o, QEvent *e)
{
    if (e->type() == QEvent::KeyPress && o->isWidgetType()) {
        // A key press travels from the focus widget up to the window: it is looked at once,
        // where it starts. After a dialog, until the frame is activated again, the application
        // may have no focus widget while the frame's own focus widget gets the keys.
        auto *w = static_cast<QWidget *>(o);
        QWidget *start = QApplication::focusWidget();
        if (!start)
            start = w->window()->focusWidget() ? w->window()->focusWidget() : w->window();
        if (w == start && KeyCommand(w, static_cast<QKeyEvent *>(e)))
            return true;
        return QMainWindow::eventFilter(o, e);
    }
    if (mdi && o == mdi->viewport() && e->type() == QEvent::Resize) {
        if (followWorkspace) {
            ChildHeight = mdi->height() - BarHeight;
            ChildWidth = mdi->width();
            if (imterra)
                imterra->setGeometry(0, 0, ChildWidth, ChildHeight - BarHeight + 1);
        } else if (imterra) {
            imterra->resize(mdi->viewport()->width(), imterra->height());
        }
    }
    return QMainWindow::eventFilter(o, e);
}

// Whether the field with the focus keeps the key for itself: a character its value can hold,
// or the copy of a selected text. A spin edit of whole numbers holds no space or full stop, and
// a sign only where its range goes below zero.
static bool EditorKeeps(QWidget *target, int key, bool control)
{
    auto *spin = qobject_cast<QAbstractSpinBox *>(target);
    if (!spin && target)
        spin = qobject_cast<QAbstractSpinBox *>(target->parentWidget());
    auto *line = spin ? spin->findChild<QLineEdit *>() : qobject_cast<QLineEdit *>(target);
    if (!line)
        return false;
    if (control)
        return key == Qt::Key_C && line->hasSelectedText();
    if (auto *whole = qobject_cast<QSpinBox *>(spin))
        return (key == Qt::Key_Plus || key == Qt::Key_Minus) && whole->minimum() < 0;
    return true;
}

bool TVastaras::KeyCommand(QWidget *target, const QKeyEvent *e)
{
    // Only the frame's own keys: not in dialogs, menus or before the frame exists.
    if (!mdi || !target || target->window() != this || qobject_cast<QMenu *>(target) || qobject_cast<QMenuBar *>(target))
        return false;
    const Qt::KeyboardModifiers mods = e->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier);
    const int key = e->key();
    const bool plain = mods == Qt::NoModifier, control = mods == Qt::ControlModifier;
    if (key == Qt::Key_F11 && plain) {
        if (!e->isAutoRepeat())
            ToggleFullScreen();
        return true;
    }
    SimWindow *sim = ActiveSim();
    if (!sim) {
        if (key == Qt::Key_F1 && plain) {
            if (!e->isAutoRepeat())
                C1Click();
            return true;
        }
        return false;
    }
    if (sim->OwnsKey(e))
        return false;
    const bool editing = EditorKeeps(target, key, control);
    switch (key) {
    case Qt::Key_Space:
        if (!plain || editing)
            return false;
        return e->isAutoRepeat() || sim->PauseKey();
    case Qt::Key_Period:
        return plain && !editing && sim->StepKey();
    case Qt::Key_Plus:
    case Qt::Key_Minus:
        return plain && !editing && sim->RateKey(key == Qt::Key_Plus ? 1 : -1);
    case Qt::Key_F1:
        return plain && (e->isAutoRepeat() || sim->HelpKey());
    case Qt::Key_S:
        if (!control)
            return false;
        if (!e->isAutoRepeat())
            sim->SavePicture();
        return true;
    case Qt::Key_C:
        if (!control || editing)
            return false;
        if (!e->isAutoRepeat())
            sim->CopyPicture();
        return true;
    default:
        return false;
    }
}

void TVastaras::ToggleFullScreen()
{
    followWorkspace = true;
    // The window manager makes the frame fill the screen and gives it back its size; where
    // there is none (a bare X server for a kiosk or a projector), nobody acts on the requests
    // and the frame changes its size itself (and is then no longer full screen to the toolkit).
    const bool filled = bareFullScreen && screen() && geometry() == screen()->geometry();
    if (isFullScreen() || filled) {
        bareFullScreen = false;
        showNormal();
        if (filled && normalFrame.isValid())
            setGeometry(normalFrame);
        return;
    }
    normalFrame = geometry();
    showFullScreen();
    QTimer::singleShot(400, this, [this] {
        if (isFullScreen() && screen() && geometry() != screen()->geometry()) {
            setGeometry(screen()->geometry());
            bareFullScreen = true;
        }
    });
}

// ---- backdrop ----

void TVastaras::HideBackdrop()
{
    if (imterra)
        imterra->hide();
}

void TVastaras::ShowBackdropIfAllClosed()
{
    for (int i = 1; i <= SlotCount; ++i)
        if (!WindowClosed[i])
            return;
    if (imterra) {
        imterra->show();
        imterra->lower();
    }
}

bool TVastaras::BackdropVisible() const
{
    return imterra && !imterra->isHidden();
}

// ---- simulation windows ----

QList<SimWindow *> TVastaras::Simulations() const
{
    QList<SimWindow *> list;
    for (QMdiSubWindow *sub : mdi->subWindowList())
        if (auto *w = qobject_cast<SimWindow *>(sub->widget()))
            list.append(w);
    return list;
}

void TVastaras::OpenSimulation(const QString &itemName)
{
    if (const MenuItemDef *d = FindMenuItem(itemName))
        OpenSimulation(*d);
}

void TVastaras::OpenSimulation(const MenuItemDef &item)
{
    const SimFactory create = FactoryOf(item);
    if (!create || !WindowClosed[item.slot] || StartScreenShown())
        return;
    Host(create(this));
}

void TVastaras::Host(SimWindow *w)
{
    QMdiSubWindow *sub = mdi->addSubWindow(w);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowIcon(windowIcon());
    w->FormCreate();
    w->FormShow();
    sub->show();
    mdi->setActiveSubWindow(sub);
    if (active != w)
        OnSubWindowActivated(sub);
}

void TVastaras::OnSubWindowActivated(QMdiSubWindow *sub)
{
    // Only a change to another child window moves the animation: the area reporting no
    // active child (a dialog or another program took the focus) leaves it running.
    SimWindow *w = sub ? qobject_cast<SimWindow *>(sub->widget()) : nullptr;
    if (!w || w == active)
        return;
    if (active)
        active->FormDeactivate();
    active = w;
    w->FormActivate();
}

void TVastaras::SyncActivation()
{
    OnSubWindowActivated(mdi->currentSubWindow());
}

void TVastaras::WindowGone(SimWindow *w)
{
    if (active == w)
        active = nullptr;
    ShowBackdropIfAllClosed();
}

void TVastaras::B1Click()
{
    mdi->activateNextSubWindow();
    SyncActivation();
}

void TVastaras::B2Click()
{
    mdi->activatePreviousSubWindow();
    SyncActivation();
}

void TVastaras::B3Click()
{
    const QList<QMdiSubWindow *> subs = mdi->subWindowList();
    for (QMdiSubWindow *sub : subs)
        sub->close();
    ShowBackdropIfAllClosed();
}

// ---- Archivio ----

void TVastaras::A1Click()
{
    HintsOn = !HintsOn;
    items["A1"]->setChecked(HintsOn);
}

void TVastaras::A4Click()
{
    close();
}

void TVastaras::SwitchLanguage(int language)
{
    LanguageIndex = quint8(language);
    B3Click();
    ApplyMenuLanguage();
}

void TVastaras::ChooseDefault(int language)
{
    DefaultItalian = language == 0;
    DefaultEnglish = language == 1;
    DefaultFrench = language == 2;
    DefaultFourth = language == 3;
    UpdateLanguageItems();
}

void TVastaras::A3Click()
{
    QString path;
    if (OpenDialog1) {
        path = OpenDialog1();
    } else {
        QFileDialog dlg(this, QStringLiteral("Open"), LanguagesFolder(), QStringLiteral("Textfile (*.lng)"));
        dlg.setObjectName(QStringLiteral("OpenDialog1"));
        dlg.setFileMode(QFileDialog::ExistingFile);
        dlg.setOption(QFileDialog::DontUseNativeDialog);
        if (ShowModal(&dlg) == QDialog::Accepted && !dlg.selectedFiles().isEmpty())
            path = dlg.selectedFiles().constFirst();
    }
    if (path.isEmpty())
        return; // cancelled
    LoadLanguageFile(path);
}

void TVastaras::LoadLanguageFile(const QString &path)
{
    if (FileExtension(path) != QLatin1String(".lng")) {
        // Only language files can be loaded: anything else is refused and the language in
        // use stays as it is.
        ShowLoadFailure(ExtractFileName(path));
        return;
    }
    LngFileName = path.left(LngFileNameMax);
    LngFileOk = true;
    const LanguageRead r = ReadLanguageFile(LngFileName, LngLines);
    if (r == LanguageRead::Read && LanguageLinesValid(LngLines)) {
        LanguageIndex = 3;
        LoadTablesFromLines(LngLines);
        FourthLanguageLoaded = true;
        Relabel(items["A26"], OneMnemonic(MenuTexts[54][3]));
        items["A26"]->setVisible(true);
    } else {
        LngFileOk = false;
        ShowLoadFailure(ExtractFileName(LngFileName));
    }
    if (LngFileOk) {
        if (LoadFlagPicture()) {
            FlagIconIndex = ImageList2().Add(FlagBitmap);
            items["A26"]->setIcon(ImageList2().icon(FlagIconIndex));
            FourthDefaultShown = true;
            items["A57"]->setVisible(true);
        }
        SwitchLanguage(3);
    }
}

void TVastaras::ShowLoadFailure(const QString &fileName)
{
    TVersione versione(this, fileName);
    ShowModal(&versione);
}

// ---- ? ----

void TVastaras::C1Click()
{
    HelpTarget = titleText(1) + QStringLiteral(".htm");
    Tlegge legge(this);
    ShowModal(&legge);
}

void TVastaras::C2Click()
{
    TInfo info(this);
    ShowModal(&info);
}

void TVastaras::closeEvent(QCloseEvent *e)
{
    if (!configSaved) {
        configSaved = true;
        // A configuration that cannot be written leaves the previous file as it was; the user
        // is told what was not saved and where, and the program still ends.
        if (ConfigurationToSave() && !SaveConfiguration(configPath)) {
            TVersione notice(this, extraText(ExtraText::ConfigNotSaved),
                             QFileInfo(configPath).absoluteFilePath());
            ShowModal(&notice);
        }
    }
    e->accept();
}

SimWindow *TVastaras::ActiveSim() const
{
    return active.data();
}

bool TVastaras::MenuAttached() const
{
    return principale->parentWidget() == this;
}
