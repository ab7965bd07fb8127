// The shipped German language file: loaded through "Carica un'altra versione", it gives
// German menu captions and window titles and puts its flag on the language's menu item.
#include "globals.h"
#include "imagelist.h"
#include "language/langfile.h"
#include "language/texts.h"
#include "menutable.h"
#include "simwindow.h"
#include "vastara.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

class TestGerman : public QObject
{
    Q_OBJECT
private slots:
    void loadsFromTheLanguagesFolder();
};

void TestGerman::loadsFromTheLanguagesFolder()
{
    const QString folder = LanguagesFolder();
    QVERIFY2(!folder.isEmpty(), "no languages folder");
    const QString path = folder + QStringLiteral("/Deutsch.lng");
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 200); // 199 lines and the final line break
    const auto entry = [&](int line) { return lines[line].left(100).mid(4); };

    QTemporaryDir dir;
    auto *v = new TVastaras(dir.filePath(QStringLiteral("Vastara.cfg")), QStringLiteral("it_IT"));
    v->FinishStartScreen();

    // The dialog of "Carica un'altra versione" opens in the languages folder; choosing the
    // German file there is the second click.
    QString dialogFolder;
    ModalRunner = [&](QDialog *d) {
        if (auto *fd = qobject_cast<QFileDialog *>(d)) {
            dialogFolder = fd->directory().absolutePath();
            fd->selectFile(path);
            return int(QDialog::Accepted);
        }
        return int(QDialog::Rejected);
    };
    v->Item(QStringLiteral("A3"))->trigger();
    QCOMPARE(dialogFolder, QDir(folder).absolutePath());
    QVERIFY(LngFileOk);
    QCOMPARE(int(LanguageIndex), 3);

    // Every menu caption is the German one of its row (lines 5..57 hold rows 1..53).
    int captions = 0;
    for (int i = 0; i < MenuTableSize; ++i) {
        const MenuItemDef &def = MenuTable[i];
        QAction *a = v->Item(QString::fromLatin1(def.name));
        if (!a || def.row < 1 || def.row > 53 || def.row == 13) // row 13: the help menu, named by line 100
            continue;
        QCOMPARE(a->text(), entry(def.row + 4));
        ++captions;
    }
    QVERIFY(captions > 40);
    QCOMPARE(v->Item(QStringLiteral("A"))->text(), QStringLiteral("&Datei"));
    QCOMPARE(v->Item(QStringLiteral("A26"))->text(), QStringLiteral("Deutsch"));
    QCOMPARE(v->Item(QStringLiteral("C"))->text(), QStringLiteral("H&ilfe"));
    QCOMPARE(v->windowTitle(), QStringLiteral("Vastara"));

    // The flag on the German item: black, red and gold from top to bottom.
    QVERIFY(FlagIconIndex >= 0);
    QVERIFY(!v->Item(QStringLiteral("A26"))->icon().isNull());
    const QImage flag = ImageList2().image(FlagIconIndex);
    QCOMPARE(flag.pixel(8, 1) & 0xffffff, 0x000000u);
    QCOMPARE(flag.pixel(8, 8) & 0xffffff, 0xff0000u);
    QCOMPARE(flag.pixel(8, 14) & 0xffffff, 0xffcc00u);

    // Every window opens with a German title (lines 59..103 hold the title rows).
    QStringList germanTitles;
    for (int line = 59; line <= 103; ++line)
        germanTitles << entry(line);
    int windows = 0;
    for (const MenuItemDef *item : SimulationItems()) {
        if (!FactoryOf(*item))
            continue;
        v->OpenSimulation(*item);
        SimWindow *w = v->ActiveSim();
        QVERIFY2(w, item->name);
        const QString title = w->Frame()->windowTitle();
        QVERIFY2(germanTitles.contains(title), qPrintable(QStringLiteral("%1: %2").arg(item->name, title)));
        w->Frame()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ++windows;
    }
    QVERIFY(windows > 0);
    delete v;
}

QTEST_MAIN(TestGerman)
#include "test_german.moc"
