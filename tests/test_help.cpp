// The help collection beside the program: every page and anchor a window or the menu can
// open exists in every language, every link inside the pages resolves, the viewer
// opens a window's help at its section, and each language explains the keyboard keys.
#include "dialogs/brucatore.h"
#include "globals.h"
#include "language/texts.h"
#include "menutable.h"
#include "simwindow.h"
#include "vastara.h"

#include <QDir>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtTest>

namespace {
QString read(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(f.readAll());
}

// The anchor names a page defines (<a name="..."> or id="...").
QSet<QString> anchorsOf(const QString &html)
{
    QSet<QString> names;
    static const QRegularExpression re(QStringLiteral("\\b(?:name|id)\\s*=\\s*\"([^\"]+)\""));
    for (auto it = re.globalMatch(html); it.hasNext();)
        names.insert(it.next().captured(1));
    return names;
}

bool targetExists(const QString &folder, const QString &target, QString *why)
{
    const int hash = target.indexOf(QLatin1Char('#'));
    const QString file = QDir(folder).filePath(hash < 0 ? target : target.left(hash));
    const QString html = read(file);
    if (html.isEmpty()) {
        *why = QStringLiteral("no page ") + file;
        return false;
    }
    if (hash >= 0 && !anchorsOf(html).contains(target.mid(hash + 1))) {
        *why = QStringLiteral("no anchor ") + target.mid(hash + 1) + QStringLiteral(" in ") + file;
        return false;
    }
    return true;
}
} // namespace

class TestHelp : public QObject
{
    Q_OBJECT
private slots:
    void everyTargetExists();
    void everyLinkResolves();
    void viewerOpensAtTheSection();
    void pagesAreSubstantial();
    void keysSectionInEachLanguage();
    void topicPagesPointAtTheKeys();
};

void TestHelp::everyTargetExists()
{
    const QString folder = ProgramFolder();
    int checked = 0;
    for (int lang = 0; lang < 4; ++lang) {
        LanguageIndex = quint8(lang);
        QString why;
        // The contents page of "Guida".
        QVERIFY2(targetExists(folder, titleText(1) + QStringLiteral(".htm"), &why), qPrintable(why));
        // Each window's page and anchor, in this language's folder.
        for (const MenuItemDef *item : SimulationItems()) {
            QVERIFY(item->help);
            const QString target = titleText(42) + QString::fromLatin1(item->help);
            QVERIFY2(targetExists(folder, target, &why), qPrintable(why));
            ++checked;
        }
    }
    QCOMPARE(checked, 120);
    LanguageIndex = 1;
}

void TestHelp::everyLinkResolves()
{
    const QDir root(ProgramFolder());
    QStringList pages{QStringLiteral("Vastara.htm")};
    for (const char *folder : {"AiutoVastara", "HelpVastara", "AideVastara", "AyudaVastara"})
        for (const QString &f : QDir(root.filePath(QString::fromLatin1(folder))).entryList({QStringLiteral("*.htm")}))
            pages << QString::fromLatin1(folder) + QLatin1Char('/') + f;
    QCOMPARE(pages.size(), 25);
    static const QRegularExpression href(QStringLiteral("href\\s*=\\s*\"([^\"]*)\""));
    int links = 0;
    for (const QString &page : pages) {
        const QString html = read(root.filePath(page));
        QVERIFY2(!html.isEmpty(), qPrintable(page));
        const QString dir = QFileInfo(root.filePath(page)).absolutePath();
        for (auto it = href.globalMatch(html); it.hasNext();) {
            const QString link = it.next().captured(1);
            QVERIFY2(!link.contains(QStringLiteral("://")), qPrintable(page + QStringLiteral(": ") + link));
            QString target = link;
            if (target.startsWith(QLatin1Char('#')))
                target = QFileInfo(page).fileName() + target;
            QString why;
            QVERIFY2(targetExists(dir, target, &why), qPrintable(page + QStringLiteral(": ") + why));
            ++links;
        }
    }
    QVERIFY(links > 500);
}

void TestHelp::viewerOpensAtTheSection()
{
    // The viewer as opened from a window's help button, in each language: at the section.
    for (int lang = 0; lang < 4; ++lang) {
        LanguageIndex = quint8(lang);
        for (const char *target : {"Vastara/terremoti.htm#primarie", "Vastara/terremoti.htm#epicentro",
                                   "Vastara/varie.htm#simulazione"}) {
            HelpTarget = titleText(42) + QString::fromLatin1(target);
            Tlegge legge(nullptr);
            legge.show();
            QCoreApplication::processEvents();
            QVERIFY2(!legge.bruca->toPlainText().isEmpty(), qPrintable(HelpTarget));
            const int at = legge.bruca->verticalScrollBar()->value();
            QVERIFY2(at > 0, qPrintable(HelpTarget));
            // Already where scrolling to the anchor would bring it.
            legge.bruca->verticalScrollBar()->setValue(0);
            legge.bruca->scrollToAnchor(legge.bruca->source().fragment());
            QCOMPARE(legge.bruca->verticalScrollBar()->value(), at);
            // "Sommario" brings the contents page, from its top.
            legge.BitBtn1->click();
            QCoreApplication::processEvents();
            QVERIFY(legge.bruca->source().toLocalFile().endsWith(QStringLiteral("/Vastara.htm")));
            QCOMPARE(legge.bruca->verticalScrollBar()->value(), 0);
            QVERIFY(legge.bruca->toPlainText().contains(QStringLiteral("Vastara")));
        }
    }
    LanguageIndex = 1;
}

void TestHelp::pagesAreSubstantial()
{
    // Each simulation's section is real teaching text, in each language.
    const QDir root(ProgramFolder());
    for (int lang = 0; lang < 4; ++lang) {
        LanguageIndex = quint8(lang);
        QHash<QString, QString> text;
        for (const MenuItemDef *item : SimulationItems()) {
            const QString help = QString::fromLatin1(item->help);
            const QString page = titleText(42) + help.left(help.indexOf(QLatin1Char('#')));
            if (!text.contains(page)) {
                QTextDocument doc;
                doc.setHtml(read(root.filePath(page)));
                text[page] = doc.toPlainText();
            }
            QVERIFY2(text[page].split(QRegularExpression(QStringLiteral("\\s+"))).size() > 1000, qPrintable(page));
        }
    }
    LanguageIndex = 1;
}

namespace {
struct KeysSection
{
    const char *folder;  // the language's topic folder
    const char *section; // the language's anchor on the contents page
    const char *keys;    // its keys section's anchor
    const char *space;   // the space bar's name in the language
};
const KeysSection keysSections[] = {
    {"AiutoVastara", "italiano", "tasti", "Spazio"},
    {"HelpVastara", "english", "keys", "Space"},
    {"AideVastara", "francais", "touches", "Espace"},
    {"AyudaVastara", "espanol", "teclas", "Espacio"},
};

// Where an anchor is defined on a page, -1 if nowhere.
qsizetype anchorAt(const QString &html, const char *name)
{
    return html.indexOf(QStringLiteral("name=\"%1\"").arg(QLatin1String(name)));
}
} // namespace

void TestHelp::keysSectionInEachLanguage()
{
    const QString html = read(QDir(ProgramFolder()).filePath(QStringLiteral("Vastara.htm")));
    QVERIFY(!html.isEmpty());
    static const QRegularExpression keyCell(QStringLiteral("<tr><td>([^<]*)</td>"));
    for (int lang = 0; lang < 4; ++lang) {
        const KeysSection &k = keysSections[lang];
        // The keys section sits inside its own language's part of the page.
        const qsizetype from = anchorAt(html, k.section);
        const qsizetype at = anchorAt(html, k.keys);
        const qsizetype to = lang < 3 ? anchorAt(html, keysSections[lang + 1].section) : html.size();
        QVERIFY2(from >= 0 && at > from && at < to, k.keys);
        // It runs to the link back to the top of the page.
        const qsizetype end = html.indexOf(QStringLiteral("href=\"#inizio\""), at);
        QVERIFY2(end > at && end < to, k.keys);
        const QString section = html.mid(at, end - at);
        // The first column of its table names every key, each as a word of its own.
        QStringList keys;
        for (auto it = keyCell.globalMatch(section); it.hasNext();)
            keys += it.next().captured(1).split(QRegularExpression(QStringLiteral("[\\s()]+")), Qt::SkipEmptyParts);
        for (const char *key : {k.space, ".", "+", "-", "F1", "Ctrl+S", "Ctrl+C", "F11"})
            QVERIFY2(keys.contains(QLatin1String(key)), qPrintable(QLatin1String(k.keys) + QStringLiteral(": ") + QLatin1String(key)));
        // No other language's space bar in this section.
        for (const KeysSection &other : keysSections)
            if (&other != &k)
                QVERIFY2(!keys.contains(QLatin1String(other.space)), k.keys);
        // The top line of the page leads to it.
        const QString top = html.left(html.indexOf(QStringLiteral("<hr>")));
        QVERIFY2(top.contains(QStringLiteral("href=\"#%1\"").arg(QLatin1String(k.keys))), k.keys);
    }
}

void TestHelp::topicPagesPointAtTheKeys()
{
    // Each topic page leads to its own language's keys, from the navigation line at the top
    // and from the paragraph on using the windows; never to another language's.
    const QDir root(ProgramFolder());
    static const QRegularExpression navLine(QStringLiteral("<p><a href=\"\\.\\./Vastara\\.htm\">.*?</p>"),
                                            QRegularExpression::DotMatchesEverythingOption);
    int pages = 0;
    for (const KeysSection &k : keysSections) {
        const QString own = QStringLiteral("href=\"../Vastara.htm#%1\"").arg(QLatin1String(k.keys));
        const QDir folder(root.filePath(QLatin1String(k.folder)));
        for (const QString &f : folder.entryList({QStringLiteral("*.htm")})) {
            const QString page = QLatin1String(k.folder) + QLatin1Char('/') + f;
            QString html = read(folder.filePath(f));
            const QRegularExpressionMatch top = navLine.match(html);
            QVERIFY2(top.hasMatch(), qPrintable(page));
            QVERIFY2(top.capturedStart() < html.indexOf(QStringLiteral("<h1>")), qPrintable(page));
            QVERIFY2(top.captured().contains(own), qPrintable(page));
            for (const KeysSection &other : keysSections)
                if (&other != &k)
                    QVERIFY2(!html.contains(QStringLiteral("Vastara.htm#%1\"").arg(QLatin1String(other.keys))), qPrintable(page));
            html.remove(navLine);
            QVERIFY2(html.contains(own), qPrintable(page + QStringLiteral(": no keys link in the text")));
            ++pages;
        }
    }
    QCOMPARE(pages, 24);
}

QTEST_MAIN(TestHelp)
#include "test_help.moc"
