// The main window: start screen, frame, menu, backdrop, window life cycle, languages,
// configuration at exit, help viewer, About box and notice.
#include "dialogs/avviso.h"
#include "dialogs/brucatore.h"
#include "dialogs/riguardo.h"
#include "globals.h"
#include "imagelist.h"
#include "language/config.h"
#include "language/langfile.h"
#include "language/texts.h"
#include "menutable.h"
#include "sims/earthquakes/primarie.h"
#include "vastara.h"

#include <QAction>
#include <QActionGroup>
#include <QSlider>
#include <QToolBar>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QToolButton>
#include <QtTest>

namespace {
// A plain window that counts its ticks, for life-cycle checks beside the real ones.
class Probe : public SimWindow
{
public:
    explicit Probe(int slot) : SimWindow(nullptr, slot, 7, QStringLiteral("Vastara/terremoti.htm#epicentro"))
    {
        QToolBar *bar = AddToolBar();
        AddPausa(bar, 21);
        AddCadenza(bar, 90);
        AddGuida(bar);
    }
    void tempoTimer() override { ++ticks; }
    void Prepare() override { ++prepared; }
    void FreeBitmaps() override { ++freed; }
    int ticks = 0, prepared = 0, freed = 0;
};

QString testData(const QString &name)
{
    return qEnvironmentVariable("VASTARA_TEST_DATA") + QLatin1Char('/') + name;
}

// The menu as built, one line per item: "name|caption" or "-" for a separator.
QStringList menuLines(QMenu *menu)
{
    QStringList lines;
    for (QAction *a : menu->actions())
        lines << (a->isSeparator() ? QStringLiteral("-") : a->objectName() + QLatin1Char('|') + a->text());
    return lines;
}
} // namespace

class TestShell : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void startScreenTimeline();
    void frameAndMetrics();
    void menuMatchesTheTable();
    void secondClickOpensNothing();
    void backdropRules();
    void onlyTheActiveWindowAnimates();
    void previousAndNext();
    void hintsFollowTheCheckItem();
    void languageSwitchClosesWindows();
    void loadingALanguageFile();
    void refusedLanguageFiles();
    void noticeAtStartup();
    void defaultLanguageAndExit();
    void exitWithUnwritableFolder();
    void helpViewer();
    void aboutBox();
    void notice();

private:
    TVastaras *make(const QString &lang = QStringLiteral("it_IT"), bool finish = true);
    QTemporaryDir dir;
    TVastaras *main = nullptr;
    QList<QDialog *> shown;
    QStringList shownNames;
};

void TestShell::init()
{
    QFile::remove(dir.filePath(QStringLiteral("Vastara.cfg")));
    shown.clear();
    shownNames.clear();
    BeepCount = 0;
    // Record every modal window and close it at once.
    ModalRunner = [this](QDialog *d) {
        shownNames << d->metaObject()->className();
        return int(QDialog::Accepted);
    };
}

void TestShell::cleanup()
{
    delete main;
    main = nullptr;
    ModalRunner = nullptr;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TVastaras *TestShell::make(const QString &lang, bool finish)
{
    delete main;
    main = new TVastaras(dir.filePath(QStringLiteral("Vastara.cfg")), lang);
    if (finish)
        main->FinishStartScreen();
    return main;
}

void TestShell::startScreenTimeline()
{
    TVastaras *v = make(QStringLiteral("it_IT"), false);
    QCOMPARE(v->geometry(), QRect((1920 - 445) / 2, (1080 - 280) * 5 / 12, 445, 280));
    QVERIFY(v->StartScreenShown());
    QVERIFY(!v->MenuAttached());
    auto *title = v->findChild<QLabel *>(QStringLiteral("Label1"));
    auto *subtitle = v->findChild<QLabel *>(QStringLiteral("Label2"));
    auto *credit = v->findChild<QLabel *>(QStringLiteral("Label3"));
    auto *picture = v->findChild<QLabel *>(QStringLiteral("imparavia"));
    QVERIFY(title && subtitle && credit && picture);
    QCOMPARE(title->text(), QStringLiteral("VASTARA"));
    QCOMPARE(subtitle->text(), QStringLiteral("Scienze della Terra"));
    QCOMPARE(title->geometry().topLeft(), QPoint(0, 80));
    QCOMPARE(subtitle->geometry().topLeft(), QPoint(0, 150));
    QCOMPARE(picture->pixmap().size(), QSize(445, 280));
    QCOMPARE(picture->cursor().shape(), Qt::WaitCursor);
    // Ticks 1..140: the title only; tick 141: the credits.
    for (int t = 1; t <= 140; ++t)
        v->Timer3Timer();
    QVERIFY(credit->isHidden());
    v->Timer3Timer();
    QCOMPARE(SplashTicks, 141);
    QVERIFY(!credit->isHidden());
    QCOMPARE(credit->y(), credit->height() / 2);
    // Further ticks of the first timer do nothing: it is gone.
    v->Timer3Timer();
    QCOMPARE(SplashTicks, 141);
    // Ticks 142..265 keep the start screen; tick 266 turns it into the frame.
    for (int t = 142; t <= 265; ++t)
        v->Timer2Timer();
    QVERIFY(v->StartScreenShown());
    QVERIFY(!v->MenuAttached());
    v->Timer2Timer();
    QCOMPARE(SplashTicks, 266);
    QVERIFY(!v->StartScreenShown());
    QVERIFY(v->MenuAttached());
    QVERIFY(v->BackdropVisible());
    QVERIFY(!v->findChild<QLabel *>(QStringLiteral("Label1")));
    // A menu click during the start screen would open nothing; after it, it does.
    v->OpenSimulation(QStringLiteral("D1"));
    QVERIFY(ondep);
}

void TestShell::frameAndMetrics()
{
    TVastaras *v = make();
    QCOMPARE(v->width(), 1882); // Round(0.98 x 1920)
    QCOMPARE(v->height(), 972); // Round(0.9 x 1080)
    QCOMPARE(v->pos(), QPoint(0, 0));
    const int h = QFontMetrics(v->font()).height();
    QCOMPARE(BarHeight, 2 * h);
    QCOMPARE(ControlHeight, h + 4);
    QCOMPARE(ControlTop, (BarHeight - ControlHeight) / 2);
    QCOMPARE(ChildWidth, v->Workspace()->width());
    QCOMPARE(ChildHeight, v->Workspace()->height() - BarHeight);
    QCOMPARE(v->imterra->geometry(), QRect(0, 0, ChildWidth, ChildHeight - BarHeight + 1));
    QCOMPARE(v->imterra->pixmap().size(), QSize(240, 180));
    QCOMPARE(v->Workspace()->background().color(), QColor(Qt::black));
    QCOMPARE(v->windowTitle(), QStringLiteral("Vastara"));
    QVERIFY(!v->findChild<QMenuBar *>(QStringLiteral("principale"))->isHidden());
    // A simulation window opens at the top-left corner, sized to the shared size.
    v->OpenSimulation(QStringLiteral("D1"));
    QCOMPARE(ondep->Frame()->geometry(), QRect(0, 0, ChildWidth, ChildHeight));
}

void TestShell::menuMatchesTheTable()
{
    TVastaras *v = make();
    LanguageIndex = 0;
    // Expected from the table: each submenu's items in order, with separators.
    QHash<QString, QStringList> expected;
    QStringList top;
    for (int i = 0; i < MenuTableSize; ++i) {
        const MenuItemDef &d = MenuTable[i];
        // Each caption marks one letter; the help menu is named by the help's word.
        const QString caption = qstrcmp(d.name, "C") == 0 ? QStringLiteral("A&iuto") : OneMnemonic(MenuTexts[d.row][0]);
        const QString line = QString::fromLatin1(d.name) + QLatin1Char('|') + caption;
        if (QString::fromLatin1(d.parent).isEmpty()) {
            top << line;
            continue;
        }
        expected[QString::fromLatin1(d.parent)] << line;
        if (d.separatorAfter)
            expected[QString::fromLatin1(d.parent)] << QStringLiteral("-");
    }
    QMenuBar *bar = v->findChild<QMenuBar *>(QStringLiteral("principale"));
    QVERIFY(bar);
    QStringList topBuilt;
    for (QAction *a : bar->actions())
        topBuilt << a->objectName() + QLatin1Char('|') + a->text();
    QCOMPARE(topBuilt, top);
    QCOMPARE(top.first(), QStringLiteral("A|&Archivio"));
    QCOMPARE(top.last(), QStringLiteral("C|A&iuto"));
    for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
        QMenu *menu = v->Item(it.key())->menu();
        QVERIFY2(menu, qPrintable(it.key()));
        QCOMPARE(menuLines(menu), it.value());
    }
    // A few captions and icons spelled out.
    QCOMPARE(v->Item("A22")->text(), QStringLiteral("In&glese"));
    QCOMPARE(v->Item("A23")->text(), QStringLiteral("I&taliano"));
    QCOMPARE(v->Item("I32")->text(), QStringLiteral("&Confronto tra onde "));
    QCOMPARE(v->Item("D1")->text(), QStringLiteral("Onde primarie &P"));
    QCOMPARE(expected["A"], (QStringList{"A1|&Funzione dei pulsanti", "-", "A2|&Lingua", "A3|&Carica un'altra versione",
                                         "A5|Lingua &predefinita", "-", "A4|&Esci"}));
    for (int i = 0; i < MenuTableSize; ++i) {
        const MenuItemDef &d = MenuTable[i];
        QCOMPARE(v->Item(QString::fromLatin1(d.name))->icon().isNull(), d.icon < 0);
    }
    QVERIFY(v->Item("A1")->isCheckable());
    QVERIFY(!v->Item("A1")->isChecked());
    QVERIFY(!v->Item("A26")->isVisible());
    QVERIFY(!v->Item("A57")->isVisible());
    for (const char *name : {"A51", "A52", "A53", "A57"}) {
        QVERIFY(v->Item(name)->isCheckable());
        QVERIFY(!v->Item(name)->isChecked());
        QVERIFY(v->Item(name)->actionGroup() && v->Item(name)->actionGroup()->isExclusive());
    }
    // Every simulation item whose window is part of the program is enabled; usedSlots are distinct.
    QSet<int> usedSlots;
    for (const MenuItemDef *d : SimulationItems()) {
        QVERIFY(!usedSlots.contains(d->slot));
        usedSlots.insert(d->slot);
        QCOMPARE(v->Item(QString::fromLatin1(d->name))->isEnabled(), FactoryOf(*d) != nullptr);
    }
    QCOMPARE(usedSlots.size(), 30);
    QVERIFY(!usedSlots.contains(29));
    QVERIFY(v->Item("D1")->isEnabled());
}

void TestShell::secondClickOpensNothing()
{
    TVastaras *v = make();
    v->Item("D1")->trigger();
    Tondep *first = ondep;
    QVERIFY(first);
    auto *probe = new Probe(29);
    v->Host(probe);
    QCOMPARE(v->ActiveSim(), probe);
    v->Item("D1")->trigger();
    QCOMPARE(v->Workspace()->subWindowList().size(), 2);
    QCOMPARE(ondep, first);
    // The second click does not bring the open window forward either.
    QCOMPARE(v->ActiveSim(), probe);
}

void TestShell::backdropRules()
{
    TVastaras *v = make();
    QVERIFY(v->BackdropVisible());
    v->OpenSimulation(QStringLiteral("D1"));
    QVERIFY(!v->BackdropVisible());
    auto *probe = new Probe(29);
    v->Host(probe);
    QVERIFY(!v->BackdropVisible());
    // Closing one of two leaves it hidden; closing the last shows it.
    probe->Frame()->close();
    QVERIFY(WindowClosed[29]);
    QCOMPARE(probe->freed, 1);
    QVERIFY(!v->BackdropVisible());
    QCOMPARE(v->ActiveSim(), ondep);
    ondep->Frame()->close();
    QVERIFY(v->BackdropVisible());
    // "Chiude tutte" with windows open, and with none.
    v->OpenSimulation(QStringLiteral("D1"));
    v->Host(new Probe(29));
    v->Item("B3")->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(v->Workspace()->subWindowList().isEmpty());
    QVERIFY(WindowClosed[19] && WindowClosed[29]);
    QVERIFY(v->BackdropVisible());
    v->B3Click();
    QVERIFY(v->BackdropVisible());
    QVERIFY(ondep == nullptr);
}

void TestShell::onlyTheActiveWindowAnimates()
{
    TVastaras *v = make();
    auto *a = new Probe(29);
    v->Host(a);
    QCOMPARE(a->prepared, 1);
    QVERIFY(a->tempo->isActive());
    QVERIFY(a->barrasotto->isVisibleTo(a));
    QCOMPARE(a->tempo->interval(), 0);
    a->cadenza->setValue(120);
    QCOMPARE(a->tempo->interval(), 80);
    v->OpenSimulation(QStringLiteral("D1"));
    QVERIFY(!a->tempo->isActive());
    QVERIFY(ondep->tempo->isActive());
    v->Workspace()->setActiveSubWindow(a->Frame());
    QCOMPARE(v->ActiveSim(), a);
    QVERIFY(a->tempo->isActive());
    QVERIFY(!ondep->tempo->isActive());
    // Preparation happens once, however often the window is activated.
    QCOMPARE(a->prepared, 1);
    // A modal window does not stop the active child.
    v->C2Click();
    QVERIFY(a->tempo->isActive());
    // Closing the active window hands activation to the remaining one.
    a->Frame()->close();
    QCOMPARE(v->ActiveSim(), ondep);
    QVERIFY(ondep->tempo->isActive());
}

void TestShell::previousAndNext()
{
    TVastaras *v = make();
    // With one child both commands leave it active.
    auto *a = new Probe(29);
    v->Host(a);
    v->B1Click();
    QCOMPARE(v->ActiveSim(), a);
    v->B2Click();
    QCOMPARE(v->ActiveSim(), a);
    auto *b = new Probe(0);
    v->Host(b);
    v->OpenSimulation(QStringLiteral("D1"));
    SimWindow *c = ondep;
    QCOMPARE(v->ActiveSim(), c);
    // "Precedente" and "Successiva" go round the children in opposite directions.
    QList<SimWindow *> forward, backward;
    for (int i = 0; i < 3; ++i) {
        v->B1Click();
        forward << v->ActiveSim();
    }
    QCOMPARE(forward.last(), c);
    for (int i = 0; i < 3; ++i) {
        v->B2Click();
        backward << v->ActiveSim();
    }
    QCOMPARE(QSet<SimWindow *>(forward.begin(), forward.end()).size(), 3);
    QCOMPARE(backward[0], forward[1]);
    QCOMPARE(backward[1], forward[0]);
    // At each step exactly the active window's timer runs.
    for (SimWindow *w : {static_cast<SimWindow *>(a), static_cast<SimWindow *>(b), c})
        QCOMPARE(w->tempo->isActive(), w == v->ActiveSim());
}

void TestShell::hintsFollowTheCheckItem()
{
    TVastaras *v = make();
    QVERIFY(!HintsOn);
    auto *a = new Probe(29);
    v->Host(a);
    QCOMPARE(SimWindow::HintOf(a->pausa), QStringLiteral("pausa"));
    QVERIFY(a->pausa->toolTip().isEmpty());
    v->Item("A1")->trigger();
    QVERIFY(HintsOn);
    QVERIFY(v->Item("A1")->isChecked());
    // The active window keeps its setting until it is activated again.
    QVERIFY(a->pausa->toolTip().isEmpty());
    v->OpenSimulation(QStringLiteral("D1"));
    QCOMPARE(ondep->pausa->toolTip(), QStringLiteral("pausa"));
    QCOMPARE(ondep->eviden->toolTip(), QStringLiteral("evidenzia l'effetto delle onde"));
    v->Workspace()->setActiveSubWindow(a->Frame());
    QCOMPARE(a->pausa->toolTip(), QStringLiteral("pausa"));
    QCOMPARE(a->cadenza->toolTip(), QString::fromUtf8("velocità di esecuzione"));
    v->A1Click();
    QVERIFY(!HintsOn);
    QVERIFY(!v->Item("A1")->isChecked());
    v->Workspace()->setActiveSubWindow(ondep->Frame());
    QVERIFY(ondep->pausa->toolTip().isEmpty());
}

void TestShell::languageSwitchClosesWindows()
{
    TVastaras *v = make();
    QCOMPARE(int(LanguageIndex), 0);
    v->OpenSimulation(QStringLiteral("D1"));
    QCOMPARE(ondep->windowTitle(), QStringLiteral("Onde primarie"));
    v->Item("A22")->trigger();
    QCOMPARE(int(LanguageIndex), 1);
    QVERIFY(WindowClosed[19]);
    QVERIFY(v->BackdropVisible());
    QCOMPARE(v->Item("D1")->text(), QStringLiteral("Primary waves &P"));
    QCOMPARE(v->Item("A")->text(), QStringLiteral("&File"));
    QCOMPARE(v->Item("C")->text(), QStringLiteral("&Help"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    v->OpenSimulation(QStringLiteral("D1"));
    QCOMPARE(ondep->windowTitle(), QStringLiteral("Primary waves"));
    QCOMPARE(SimWindow::HintOf(ondep->eviden), QStringLiteral("enhance the effect of the waves"));
    v->Item("A21")->trigger();
    QCOMPARE(v->Item("D1")->text(), QStringLiteral("Ondes primaires &P"));
    QCOMPARE(v->Item("A5")->text(), QString::fromUtf8("Langue de &défaut"));
    v->Item("A23")->trigger();
    QCOMPARE(v->Item("A4")->text(), QStringLiteral("&Esci"));
    // The default language is not touched by a switch.
    QVERIFY(!DefaultItalian && !DefaultEnglish && !DefaultFrench && !DefaultFourth);
}

void TestShell::loadingALanguageFile()
{
    TVastaras *v = make();
    const int icons = ImageList2().Count();
    // Cancelled: nothing happens.
    v->OpenDialog1 = [] { return QString(); };
    v->A3Click();
    QCOMPARE(int(LanguageIndex), 0);
    QVERIFY(shownNames.isEmpty());

    // A valid file without a flag: the fourth language is switched on; its default item stays hidden.
    const QString lng = dir.filePath(QStringLiteral("spagnolo.lng"));
    QFile::remove(lng);
    QVERIFY(QFile::copy(testData(QStringLiteral("spanish.lng")), lng));
    v->OpenSimulation(QStringLiteral("D1"));
    v->OpenDialog1 = [lng] { return lng; };
    v->Item("A3")->trigger();
    QVERIFY(shownNames.isEmpty());
    QCOMPARE(int(LanguageIndex), 3);
    QVERIFY(WindowClosed[19]);
    QVERIFY(v->Item("A26")->isVisible());
    QCOMPARE(v->Item("A26")->text(), QString::fromUtf8("Español"));
    QVERIFY(!v->Item("A57")->isVisible());
    QVERIFY(v->Item("A26")->icon().isNull());
    QCOMPARE(v->Item("A")->text(), MenuTexts[1][3]);
    QVERIFY(!v->Item("A")->text().isEmpty());
    QCOMPARE(LngFileName, lng);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    v->OpenSimulation(QStringLiteral("D1"));
    QCOMPARE(ondep->windowTitle(), TitleTexts[2][3]);

    // Back to Italian and again to the fourth language through its item.
    v->Item("A23")->trigger();
    QCOMPARE(v->Item("A")->text(), QStringLiteral("&Archivio"));
    // The fourth language's item is named in the language of the menu.
    QCOMPARE(v->Item("A26")->text(), QStringLiteral("Spagnolo"));
    v->Item("A26")->trigger();
    QCOMPARE(int(LanguageIndex), 3);

    // With a flag beside it: the flag becomes the item's icon and the default item appears.
    QImage flag(16, 11, QImage::Format_RGB32);
    flag.fill(QColor(170, 21, 27));
    QVERIFY(flag.save(dir.filePath(QStringLiteral("spagnolo.bmp")), "BMP"));
    v->A3Click();
    QCOMPARE(ImageList2().Count(), icons + 1);
    QVERIFY(!v->Item("A26")->icon().isNull());
    QVERIFY(v->Item("A57")->isVisible());
    // Each load adds one more picture.
    v->A3Click();
    QCOMPARE(ImageList2().Count(), icons + 2);
    v->Item("A57")->trigger();
    QVERIFY(DefaultFourth);
    QVERIFY(v->Item("A57")->isChecked());
    v->Item("A52")->trigger();
    QVERIFY(DefaultEnglish && !DefaultFourth);
    QVERIFY(!v->Item("A57")->isChecked());
    QCOMPARE(int(LanguageIndex), 3);
}

void TestShell::refusedLanguageFiles()
{
    TVastaras *v = make();
    // 200 lines: refused with the notice, naming the file only; the language stays.
    const QString bad = dir.filePath(QStringLiteral("troppo.lng"));
    {
        QFile f(bad);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("000 *menu*\n");
        for (int i = 1; i < 200; ++i)
            f.write(QByteArray::number(i).rightJustified(3, '0') + " x\n");
    }
    QString noticeName;
    ModalRunner = [&](QDialog *d) {
        if (auto *n = qobject_cast<TVersione *>(d))
            noticeName = n->Label2->text();
        shownNames << d->metaObject()->className();
        return int(QDialog::Accepted);
    };
    v->OpenDialog1 = [bad] { return bad; };
    v->A3Click();
    QCOMPARE(shownNames, QStringList{"TVersione"});
    QCOMPARE(noticeName, QStringLiteral("troppo.lng"));
    QCOMPARE(int(LanguageIndex), 0);
    QVERIFY(!LngFileOk);
    QCOMPARE(LngFileName, bad); // kept: reported again at the next start
    QVERIFY(!v->Item("A26")->isVisible());

    // A file that is not a language file is refused as well, and the named file stays.
    const QString text = dir.filePath(QStringLiteral("appunti.txt"));
    v->OpenDialog1 = [text] { return text; };
    v->A3Click();
    QCOMPARE(shownNames.size(), 2);
    QCOMPARE(noticeName, QStringLiteral("appunti.txt"));
    QCOMPARE(LngFileName, bad);
    QCOMPARE(int(LanguageIndex), 0);
}

void TestShell::noticeAtStartup()
{
    // A configuration naming an invalid language file: the notice comes when the start screen ends.
    const QString bad = dir.filePath(QStringLiteral("corto.lng"));
    {
        QFile f(bad);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("000 *menu*\nsolo due righe\n");
    }
    TConfigRecord rec;
    rec.setPathBytes(QFile::encodeName(bad));
    rec.bytes[205] = 1;
    QVERIFY(writeConfigFile(dir.filePath(QStringLiteral("Vastara.cfg")), rec));
    QString noticeName;
    ModalRunner = [&](QDialog *d) {
        if (auto *n = qobject_cast<TVersione *>(d))
            noticeName = n->Label2->text();
        shownNames << d->metaObject()->className();
        return int(QDialog::Accepted);
    };
    TVastaras *v = make(QStringLiteral("it_IT"), false);
    // The remembered French default is ignored for this start.
    QCOMPARE(int(LanguageIndex), 0);
    for (int t = 0; t < 265; ++t) {
        if (t < 141)
            v->Timer3Timer();
        else
            v->Timer2Timer();
    }
    QVERIFY(shownNames.isEmpty());
    v->Timer2Timer();
    QCOMPARE(shownNames, QStringList{"TVersione"});
    QCOMPARE(noticeName, QStringLiteral("corto.lng"));
}

void TestShell::defaultLanguageAndExit()
{
    const QString cfg = dir.filePath(QStringLiteral("Vastara.cfg"));
    TVastaras *v = make(QStringLiteral("en_US"));
    // Hints toggled but no default chosen: nothing is written.
    v->A1Click();
    v->close();
    QVERIFY(!QFile::exists(cfg));
    v = make(QStringLiteral("en_US"));
    v->A1Click();
    v->Item("A51")->trigger();
    QVERIFY(DefaultFrench);
    QCOMPARE(int(LanguageIndex), 1); // the current language does not change
    v->Item("A4")->trigger();
    QFile f(cfg);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    QCOMPARE(bytes.size(), 209);
    QCOMPARE(quint8(bytes[0]), quint8(1));
    QCOMPARE(quint8(bytes[1]), quint8(1));
    QCOMPARE(quint8(bytes[2]), quint8(0));
    QCOMPARE(bytes.mid(203, 4), QByteArray("\0\0\1\0", 4));
    // The next start comes up in French, despite LANG, with hints on.
    v = make(QStringLiteral("en_US"));
    QCOMPARE(int(LanguageIndex), 2);
    QVERIFY(HintsOn);
    QVERIFY(v->Item("A1")->isChecked());
    QVERIFY(v->Item("A51")->isChecked());
    QCOMPARE(v->Item("A")->text(), QStringLiteral("&Fichier"));
}

void TestShell::exitWithUnwritableFolder()
{
    delete main;
    const QString cfg = dir.filePath(QStringLiteral("non/esiste/Vastara.cfg"));
    main = new TVastaras(cfg, QString());
    main->FinishStartScreen();
    main->ChooseDefault(0);
    QVERIFY(main->close());
    QVERIFY(!QFile::exists(cfg));
}

void TestShell::helpViewer()
{
    TVastaras *v = make(QStringLiteral("fr_FR"));
    QUrl first, after;
    ModalRunner = [&](QDialog *d) {
        auto *legge = qobject_cast<Tlegge *>(d);
        if (!legge)
            return int(QDialog::Accepted);
        first = legge->bruca->source();
        // "Sommario" goes to the contents page of the language of the moment of opening.
        LanguageIndex = 1;
        legge->BitBtn1->click();
        after = legge->bruca->source();
        LanguageIndex = 2;
        [&] {
            QCOMPARE(legge->windowTitle(), QStringLiteral("Aide"));
            QCOMPARE(legge->BitBtn1->text(), QStringLiteral("Sommaire"));
            QCOMPARE(legge->size(), QSize(537, 375));
        }();
        return int(QDialog::Accepted);
    };
    v->C1Click();
    QCOMPARE(HelpTarget, QStringLiteral("Vastara.htm"));
    QCOMPARE(first.toLocalFile(), ProgramFolder() + QStringLiteral("Vastara.htm"));
    QCOMPARE(after.toLocalFile(), ProgramFolder() + QStringLiteral("Vastara.htm"));
    // From a window: the folder of the language, the page and the anchor.
    v->OpenSimulation(QStringLiteral("D1"));
    ondep->guidaClick();
    QCOMPARE(HelpTarget, QStringLiteral("AideVastara/terremoti.htm#primarie"));
    QCOMPARE(first.toLocalFile(), ProgramFolder() + QStringLiteral("AideVastara/terremoti.htm"));
    QCOMPARE(first.fragment(), QStringLiteral("primarie"));
    // A "#" in the target never ends up in the file name.
    QCOMPARE(Tlegge::HelpUrl(QStringLiteral("HelpVastara/moti.htm#pendolo")).toLocalFile(),
             ProgramFolder() + QStringLiteral("HelpVastara/moti.htm"));
}

void TestShell::aboutBox()
{
    TVastaras *v = make(QStringLiteral("en_GB"));
    TInfo *seen = nullptr;
    ModalRunner = [&](QDialog *d) {
        seen = qobject_cast<TInfo *>(d);
        if (!seen)
            return int(QDialog::Accepted);
        [&] {
            QCOMPARE(seen->size(), QSize(407, 278));
            QCOMPARE(seen->ProductName->text(), QStringLiteral("VASTARA"));
            QCOMPARE(seen->Label2->text(), QStringLiteral("Earth and space sciences"));
            QCOMPARE(seen->Label3->text(), TitleTexts[39][1]);
            QCOMPARE(seen->Label1->text(), QStringLiteral("Visite the site"));
            QCOMPARE(seen->Label4->text(), TitleTexts[44][1]);
            // Centred labels, the web address at the bottom of the blue panel.
            for (QLabel *l : {seen->Version, seen->ProductName, seen->Label2, seen->Label3, seen->Label7})
                QCOMPARE(l->x(), (seen->Panel1->width() - l->width()) / 2);
            QCOMPARE(seen->Label7->y(), seen->Panel1->height() - seen->Label7->height() - 2);
            QCOMPARE(seen->Label3->y(), seen->Label7->y() - seen->Label3->height() - 2);
            QVERIFY(!seen->SpeedButton1->isEnabled());
            QVERIFY(!seen->Image1->pixmap().isNull());
            // A click on the background beeps; the OK button closes without a beep.
            const int beeps = BeepCount;
            QTest::mouseClick(seen, Qt::LeftButton, {}, QPoint(3, 3));
            QTest::mouseClick(seen->Label2, Qt::LeftButton);
            QCOMPARE(BeepCount, beeps + 2);
            seen->BitBtn1->click();
            QCOMPARE(BeepCount, beeps + 2);
            QCOMPARE(seen->result(), int(QDialog::Accepted));
        }();
        return seen->result();
    };
    v->C2Click();
    QVERIFY(seen);
    // In Italian the translators' line is empty.
    v->SwitchLanguage(0);
    ModalRunner = [&](QDialog *d) {
        if (auto *info = qobject_cast<TInfo *>(d))
            [&] { QCOMPARE(info->Label3->text(), QString()); QCOMPARE(info->Label2->text(), QStringLiteral("Scienze della Terra")); }();
        return int(QDialog::Accepted);
    };
    v->C2Click();
}

void TestShell::notice()
{
    make(QStringLiteral("fr_FR"));
    TVersione n(main, QStringLiteral("lingua.lng"));
    QCOMPARE(n.size(), QSize(295, 133));
    QCOMPARE(n.windowTitle(), QStringLiteral("Vastara"));
    QCOMPARE(n.Label1->text(), QStringLiteral("Le programme ne peut pas charger le fichier:"));
    QCOMPARE(n.Label2->text(), QStringLiteral("lingua.lng"));
    QCOMPARE(n.Label2->x(), (n.width() - n.Label2->width()) / 2);
    QCOMPARE(n.Label1->x(), (n.width() - n.Label1->width()) / 2);
    QVERIFY(n.windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(n.Image1->pixmap().size(), QSize(34, 39));
    const int beeps = BeepCount;
    QTest::mouseClick(&n, Qt::LeftButton, {}, QPoint(280, 5));
    QCOMPARE(BeepCount, beeps + 1);
}

QTEST_MAIN(TestShell)
#include "test_shell.moc"
