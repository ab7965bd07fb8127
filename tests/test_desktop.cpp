// The program on the desktop: options that need no display, a configuration that cannot be
// saved, and what screen readers are told (names without "&", the help menu's name and key,
// the help page as a named document).
#include "dialogs/avviso.h"
#include "dialogs/brucatore.h"
#include "globals.h"
#include "language/langfile.h"
#include "language/texts.h"
#include "menutable.h"
#include "simwindow.h"
#include "vastara.h"

#include <QAccessible>
#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtTest>

class TestDesktop : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();
    void optionsWithoutADisplay();
    void unsavedConfigurationIsReported();
    void accessibleNamesHaveNoMarkers();
    void helpPageIsANamedDocument();
};

void TestDesktop::cleanup()
{
    ModalRunner = nullptr;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Every name in the accessible tree under iface, as "role name" lines.
static void collectNames(QAccessibleInterface *iface, QStringList &names, int depth = 0)
{
    if (!iface || depth > 40)
        return;
    names << iface->text(QAccessible::Name);
    for (int i = 0; i < iface->childCount(); ++i)
        collectNames(iface->child(i), names, depth + 1);
}

static QAccessibleInterface *itemOf(QAction *a)
{
    for (QObject *o : a->associatedObjects())
        if (auto *owner = qobject_cast<QWidget *>(o))
            if (QAccessibleInterface *parent = QAccessible::queryAccessibleInterface(owner))
                if (int(owner->actions().indexOf(a)) >= 0)
                    return parent->child(int(owner->actions().indexOf(a)));
    return nullptr;
}

void TestDesktop::optionsWithoutADisplay()
{
    // The program itself, with no display of any kind to connect to.
    const QString program = ProgramFolder() + QStringLiteral("vastara");
    QVERIFY2(QFileInfo(program).isExecutable(), qPrintable(program));
    QTemporaryDir here;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    const auto run = [&](const QString &option, QString *out) {
        QProcess p;
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(here.path());
        p.start(program, {option});
        if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit)
            return -1;
        *out = QString::fromLocal8Bit(p.readAllStandardOutput());
        return p.exitCode();
    };
    QString out;
    QCOMPARE(run(QStringLiteral("--help"), &out), 0);
    for (const char *option : {"--help", "--version", "--check-install"})
        QVERIFY2(out.contains(QLatin1String(option)), qPrintable(out));
    QCOMPARE(run(QStringLiteral("--version"), &out), 0);
    QVERIFY2(QRegularExpression(QStringLiteral("^vastara \\d+\\.\\d+")).match(out).hasMatch(), qPrintable(out));
    QCOMPARE(run(QStringLiteral("--check-install"), &out), 0);
    const QString config = QDir(here.path()).canonicalPath() + QStringLiteral("/Vastara.cfg");
    QVERIFY2(out.contains(QStringLiteral("configuration: %1 (none yet)").arg(config)), qPrintable(out));
    QCOMPARE(run(QStringLiteral("--no-such-option"), &out), 1);
}

void TestDesktop::unsavedConfigurationIsReported()
{
    QTemporaryDir dir;
    const QString cfg = dir.filePath(QStringLiteral("manca/Vastara.cfg"));
    auto *v = new TVastaras(cfg, QStringLiteral("en_GB"));
    v->FinishStartScreen();
    v->Item(QStringLiteral("A51"))->trigger(); // French as the default: something to save
    QString message, where;
    int notices = 0;
    ModalRunner = [&](QDialog *d) {
        if (auto *n = qobject_cast<TVersione *>(d)) {
            ++notices;
            message = n->Label1->text();
            where = n->Label2->text();
        }
        return int(QDialog::Accepted);
    };
    QVERIFY(v->close()); // the program still ends
    QCOMPARE(notices, 1);
    QCOMPARE(message, QStringLiteral("The configuration could not be saved:"));
    QCOMPARE(where, QDir(dir.path()).absoluteFilePath(QStringLiteral("manca/Vastara.cfg")));
    QVERIFY(!QFile::exists(cfg));
    delete v;

    // Nothing to save: no notice.
    notices = 0;
    v = new TVastaras(cfg, QStringLiteral("en_GB"));
    v->FinishStartScreen();
    QVERIFY(v->close());
    QCOMPARE(notices, 0);
    delete v;
}

void TestDesktop::accessibleNamesHaveNoMarkers()
{
    QTemporaryDir dir;
    // The German file, with a hint that marks a letter as a menu caption would.
    QFile german(LanguagesFolder() + QStringLiteral("/Deutsch.lng"));
    QVERIFY(german.open(QIODevice::ReadOnly));
    QStringList lines = QString::fromUtf8(german.readAll()).split(QLatin1Char('\n'));
    QCOMPARE(lines[105], QStringLiteral("105 Pause|"));
    lines[105] = QStringLiteral("105 &Pause|");
    const QString lng = dir.filePath(QStringLiteral("Deutsch.lng"));
    QFile out(lng);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(lines.join(QLatin1Char('\n')).toUtf8());
    out.close();

    auto *v = new TVastaras(dir.filePath(QStringLiteral("Vastara.cfg")), QStringLiteral("it_IT"));
    v->FinishStartScreen();
    ModalRunner = [](QDialog *) { return int(QDialog::Accepted); };
    v->OpenDialog1 = [&] { return lng; };
    QMenuBar *bar = v->findChild<QMenuBar *>(QStringLiteral("principale"));
    QVERIFY(bar);
    QAccessibleInterface *frame = QAccessible::queryAccessibleInterface(v);
    QAccessibleInterface *help = itemOf(v->Item(QStringLiteral("C")));
    QVERIFY(frame && help);

    struct Case {
        const char *item; // how the language is chosen
        const char *english, *load, *helpName;
    };
    const Case cases[] = {
        {"A23", "Inglese", "Carica un'altra versione", "Aiuto"},
        {"A22", "English", "Load another version", "Help"},
        {"A21", "Anglais", "Charger une autre version", "Aide"},
        {"A3", "Englisch", "Andere Sprache laden", "Hilfe"},
    };
    for (const Case &c : cases) {
        v->Item(QString::fromLatin1(c.item))->trigger();
        QCOMPARE(itemOf(v->Item(QStringLiteral("A22")))->text(QAccessible::Name), QString::fromUtf8(c.english));
        QCOMPARE(itemOf(v->Item(QStringLiteral("A3")))->text(QAccessible::Name), QString::fromUtf8(c.load));
        QCOMPARE(help->text(QAccessible::Name), QString::fromUtf8(c.helpName));
        // The help menu's key is one of its own letters, and no other menu of the bar has it.
        const QString key = help->text(QAccessible::Accelerator);
        QVERIFY2(key.startsWith(QStringLiteral("Alt+")) && key.size() == 5, qPrintable(key));
        QVERIFY(QString::fromUtf8(c.helpName).contains(key.right(1), Qt::CaseInsensitive));
        for (QAction *other : bar->actions())
            if (other != v->Item(QStringLiteral("C")))
                QVERIFY2(itemOf(other)->text(QAccessible::Accelerator).compare(key, Qt::CaseInsensitive) != 0,
                         qPrintable(other->text()));

        // A window with its controls, then the whole tree: no name shows a marker.
        for (const MenuItemDef *d : SimulationItems())
            if (FactoryOf(*d)) {
                v->OpenSimulation(*d);
                break;
            }
        QVERIFY(v->ActiveSim());
        QStringList names;
        collectNames(frame, names);
        collectNames(QAccessible::queryAccessibleInterface(v->ActiveSim()), names);
        QVERIFY(names.size() > 60);
        for (const QString &name : std::as_const(names))
            QVERIFY2(!name.contains(QLatin1Char('&')), qPrintable(name));
        if (QByteArray(c.item) == "A3") {
            QWidget *pausa = v->ActiveSim()->findChild<QWidget *>(QStringLiteral("pausa"));
            QVERIFY(pausa);
            QCOMPARE(QAccessible::queryAccessibleInterface(pausa)->text(QAccessible::Name), QStringLiteral("Pause"));
        }
    }
    delete v;
}

void TestDesktop::helpPageIsANamedDocument()
{
    QTemporaryDir dir;
    auto *v = new TVastaras(dir.filePath(QStringLiteral("Vastara.cfg")), QStringLiteral("en_GB"));
    v->FinishStartScreen();
    // The titles of the contents page and of a topic page, read from the pages themselves.
    const auto titleOf = [](const QString &page) {
        QFile f(ProgramFolder() + page);
        if (!f.open(QIODevice::ReadOnly))
            return QString();
        return QRegularExpression(QStringLiteral("<title>\\s*([^<]*?)\\s*</title>"),
                                  QRegularExpression::CaseInsensitiveOption)
            .match(QString::fromUtf8(f.readAll()))
            .captured(1);
    };
    const QString contents = titleOf(QStringLiteral("Vastara.htm"));
    const QString topic = titleOf(QStringLiteral("HelpVastara/terremoti.htm"));
    QVERIFY(!contents.isEmpty() && !topic.isEmpty() && contents != topic);
    bool seen = false;
    ModalRunner = [&](QDialog *d) {
        auto *legge = qobject_cast<Tlegge *>(d);
        if (!legge)
            return int(QDialog::Accepted);
        QAccessibleInterface *doc = QAccessible::queryAccessibleInterface(legge->bruca);
        [&] {
            QVERIFY(doc);
            QCOMPARE(doc->role(), QAccessible::Document);
            QCOMPARE(doc->text(QAccessible::Name), contents);
            QAccessibleTextInterface *text = doc->textInterface();
            QVERIFY(text);
            // The whole text, as the page's plain text (which shows no-break spaces as spaces).
            QCOMPARE(text->text(0, text->characterCount()).replace(QChar::Nbsp, QLatin1Char(' ')),
                     legge->bruca->toPlainText());
            // Another page renames the document.
            legge->bruca->setSource(Tlegge::HelpUrl(QStringLiteral("HelpVastara/terremoti.htm#love")));
            QCOMPARE(doc->text(QAccessible::Name), topic);
            QVERIFY(text->text(0, text->characterCount()).contains(QStringLiteral("Love")));
            seen = true;
        }();
        return int(QDialog::Accepted);
    };
    v->C1Click();
    QVERIFY(seen);
    delete v;
}

QTEST_MAIN(TestDesktop)
#include "test_desktop.moc"
