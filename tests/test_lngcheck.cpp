// The checker of language files: the shipped German file passes; broken copies of it are
// reported fault by fault, each on its own line and nowhere else.
#include "language/langfile.h"
#include "lngcheck.h"

#include <QtTest>

namespace {
QStringList german()
{
    QStringList lines;
    if (ReadLanguageFile(LanguagesFolder() + QStringLiteral("/Deutsch.lng"), lines) != LanguageRead::Read)
        return {};
    return lines;
}

QList<int> faultLines(const QList<LngFault> &faults)
{
    QList<int> lines;
    for (const LngFault &f : faults)
        lines << f.line;
    return lines;
}

QString at(int line, const QString &text)
{
    return QStringLiteral("%1 %2").arg(line, 3, 10, QLatin1Char('0')).arg(text);
}
} // namespace

class TestLngcheck : public QObject
{
    Q_OBJECT
private slots:
    void germanPasses();
    void lineCountAndFirstLine();
    void eachFaultOnItsLine();
};

void TestLngcheck::germanPasses()
{
    const QStringList lines = german();
    QCOMPARE(lines.size(), 199);
    QVERIFY(LanguageLinesValid(lines));
    const QList<LngFault> faults = CheckLanguageLines(lines);
    for (const LngFault &f : faults)
        qWarning("%s", qPrintable(FormatFault(f)));
    QVERIFY(faults.isEmpty());
}

void TestLngcheck::lineCountAndFirstLine()
{
    QStringList shorter = german();
    shorter.removeLast();
    QCOMPARE(faultLines(CheckLanguageLines(shorter)), QList<int>{-1});
    QVERIFY(CheckLanguageLines(shorter)[0].message.contains(QLatin1String("198 lines")));
    QStringList longer = german();
    longer << QStringLiteral("199 extra");
    QCOMPARE(faultLines(CheckLanguageLines(longer)), QList<int>{-1});

    for (const char *first : {"000 *Menu*", "000 *menu* ", "*menu*"}) {
        QStringList lines = german();
        lines[0] = QString::fromLatin1(first);
        QCOMPARE(faultLines(CheckLanguageLines(lines)), QList<int>{0});
    }
}

void TestLngcheck::eachFaultOnItsLine()
{
    QStringList lines = german();
    QVERIFY(!lines.isEmpty());
    lines[5] = at(5, QStringLiteral("Datei"));                   // menu row 1: no "&"
    lines[7] = at(7, QStringLiteral("&Spra&che"));               // two letters marked
    lines[8] = at(8, QStringLiteral("Franz&&ösisch"));           // "&&" marks none
    lines[9] = at(9, QStringLiteral("Englisch&"));               // "&" with no letter
    lines[17] = at(17, QStringLiteral("   ?   "));               // row 13 has no marker: fine
    lines[60] = at(60, QStringLiteral("Onde primarie"));         // title left in Italian
    lines[89] = at(89, QStringLiteral("Doppler"));               // same in every language: fine
    lines[70] = QStringLiteral("70 Bewegungen des Mondes");      // number without its blank
    lines[105] = at(105, QStringLiteral("Pause"));               // hint without "|"
    lines[112] = at(112, QStringLiteral("Bildschirm leeren"));   // the Italian has no "|": fine
    lines[120] = at(120, QString(146, QLatin1Char('x')));        // 150 characters
    lines[150] = at(150, QStringLiteral("velocità"));            // control left in Italian
    lines[58] = QStringLiteral("anything");                      // separators are not read
    const QList<LngFault> faults = CheckLanguageLines(lines);
    for (const LngFault &f : faults)
        qInfo("%s", qPrintable(FormatFault(f)));
    QCOMPARE(faultLines(faults), (QList<int>{5, 7, 8, 9, 60, 70, 105, 120, 150}));
    QVERIFY(faults[0].message.contains(QLatin1String("no \"&\"")));
    QVERIFY(faults[1].message.contains(QLatin1String("2 letters")));
    QVERIFY(faults[2].message.contains(QLatin1String("doubled")));
    QVERIFY(faults[7].message.contains(QLatin1String("150 characters")));
    QVERIFY(FormatFault(faults[4]).startsWith(QLatin1String("line 060: ")));
}

QTEST_MAIN(TestLngcheck)
#include "test_lngcheck.moc"
