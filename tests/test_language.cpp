// Language tables, language files, the start-up choice of the language and the
// configuration record.
#include "globals.h"
#include "imagelist.h"
#include "language/config.h"
#include "language/langfile.h"
#include "language/texts.h"
#include "samplelanguage.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QtTest>

namespace {
void writeFile(const QString &path, const QByteArray &data)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(data);
}

QByteArray joined(const QStringList &lines, const char *eol = "\n")
{
    return lines.join(QString::fromLatin1(eol)).toUtf8() + eol;
}

TConfigRecord record(bool hints, int lang, const QByteArray &path, int defaultLang, quint8 r1 = 0, quint8 r2 = 0)
{
    TConfigRecord rec;
    rec.bytes[0] = hints;
    rec.bytes[1] = quint8(lang);
    rec.setPathBytes(path);
    if (defaultLang >= 0)
        rec.bytes[203 + defaultLang] = 1;
    rec.bytes[207] = r1;
    rec.bytes[208] = r2;
    return rec;
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}

// A small valid BMP picture.
void writeFlag(const QString &path)
{
    QImage img(20, 12, QImage::Format_RGB32);
    img.fill(QColor(200, 0, 0));
    QVERIFY(img.save(path, "BMP"));
}
} // namespace

class TestLanguage : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void builtinTables();
    void splittingLines();
    void validatingAndLoading();
    void extensionsAndLang();
    void configRecordBytes();
    void startupChoosesLanguage();
    void startupLanguageFile();
    void startupRejectsBadInput();
    void flagPicture();
    void savingConfiguration();
    void shippedSpanishFile();

private:
    QTemporaryDir dir;
    QString cfg() const { return dir.filePath(QStringLiteral("Vastara.cfg")); }
};

void TestLanguage::init()
{
    resetGlobals();
    resetLanguageTables();
    ResetLanguageState();
    ImageList2().loadBuiltin();
    QFile::remove(cfg());
}

void TestLanguage::builtinTables()
{
    LanguageIndex = 0;
    QCOMPARE(menuText(5), QStringLiteral("&In&glese"));
    QCOMPARE(menuText(52), QStringLiteral("&Confronto tra onde "));
    QCOMPARE(menuText(13), QStringLiteral("   ?   "));
    QCOMPARE(titleText(2), QStringLiteral("Onde primarie"));
    QCOMPARE(controlText(2), QString::fromUtf8("velocità di esecuzione|"));
    QCOMPARE(controlText(74), QString::fromUtf8("Il programma non può caricare l'archivio:"));
    QCOMPARE(titleText(39), QString());
    LanguageIndex = 1;
    QCOMPARE(menuText(20), QStringLiteral("&Rayleigh's waves"));
    QCOMPARE(titleText(5), QStringLiteral("Raileigh's waves"));
    QCOMPARE(titleText(42), QStringLiteral("Help"));
    QCOMPARE(controlText(84), QStringLiteral("Zenith"));
    LanguageIndex = 2;
    QCOMPARE(menuText(20), QStringLiteral("Ondes de &Rayleigh"));
    QCOMPARE(titleText(42), QStringLiteral("Aide"));
    QCOMPARE(controlText(73), QString::fromUtf8("precéssion y nutacion"));
    // The built-in fourth column: Spanish titles and hints, but no menu until a file is loaded.
    LanguageIndex = 3;
    QCOMPARE(titleText(42), QStringLiteral("Ayuda"));
    QCOMPARE(titleText(18), QStringLiteral("Primera ley de Kepler"));
    QCOMPARE(controlText(2), QString::fromUtf8("velocidad de ejecución|"));
    for (int r = 1; r <= MenuRows; ++r)
        QVERIFY(MenuTexts[r][3].isEmpty());
    for (int r = 1; r <= TitleRows; ++r)
        if (r != 39 && r != 44 && r != 45)
            QVERIFY2(!TitleTexts[r][3].isEmpty(), qPrintable(QString::number(r)));
    for (int r = 1; r <= 83; ++r)
        QVERIFY2(!ControlTexts[r][3].isEmpty(), qPrintable(QString::number(r)));
    // The program title and the start-screen title are the same everywhere.
    for (int c = 0; c < 4; ++c) {
        QCOMPARE(TitleTexts[1][c], QStringLiteral("Vastara"));
        QCOMPARE(TitleTexts[33][c], QStringLiteral("VASTARA"));
    }
    // No entry is longer than 100 characters; hint rows end in "|" in every language alike.
    for (int r = 1; r <= ControlRows; ++r)
        for (int c = 0; c < 4; ++c)
            QVERIFY(ControlTexts[r][c].size() <= MaxEntryLength);
    // Out-of-range rows give an empty text rather than reading past the table.
    QCOMPARE(titleText(0), QString());
    QCOMPARE(titleText(46), QString());
    QCOMPARE(shortHint(QStringLiteral("pausa|lunga")), QStringLiteral("pausa"));
    QCOMPARE(shortHint(QStringLiteral("disegna")), QStringLiteral("disegna"));
}

void TestLanguage::splittingLines()
{
    QCOMPARE(SplitLanguageText("a\nb\n"), (QStringList{"a", "b"}));
    QCOMPARE(SplitLanguageText("a\nb"), (QStringList{"a", "b"}));
    QCOMPARE(SplitLanguageText("a\r\nb\r\n"), (QStringList{"a", "b"}));
    QCOMPARE(SplitLanguageText("a\rb"), (QStringList{"a", "b"}));
    QCOMPARE(SplitLanguageText("a\n\nb\n"), (QStringList{"a", "", "b"}));
    QCOMPARE(SplitLanguageText(""), QStringList());
    QCOMPARE(SplitLanguageText("\xEF\xBB\xBF" "000 *menu*\n"), QStringList{"000 *menu*"});
    // UTF-8 when valid, Latin-1 otherwise.
    QCOMPARE(SplitLanguageText("Fran\xC3\xA7" "ais"), QStringList{QString::fromUtf8("Français")});
    QCOMPARE(SplitLanguageText("Fran\xE7" "ais"), QStringList{QString::fromUtf8("Français")});
}

void TestLanguage::validatingAndLoading()
{
    QStringList lines = sampleLanguageLines();
    QVERIFY(LanguageLinesValid(lines));
    QVERIFY(!LanguageLinesValid(lines.mid(0, 198)));
    QVERIFY(!LanguageLinesValid(lines + QStringList{"199 extra"}));
    QStringList bad = lines;
    bad[0] = QStringLiteral("000 *Menu*");
    QVERIFY(!LanguageLinesValid(bad));
    bad[0] = QStringLiteral("000 *menu* ");
    QVERIFY(!LanguageLinesValid(bad));

    // Lines 58 and 104 may hold anything; a 150-character line keeps its characters 5 to 100.
    lines[58] = QStringLiteral("anything at all");
    lines[104].clear();
    lines[5] = QStringLiteral("005 &Archivo");
    lines[60] = QStringLiteral("060 ") + QString(146, QLatin1Char('x'));
    LoadTablesFromLines(lines);
    QCOMPARE(MenuTexts[1][3], QStringLiteral("&Archivo"));
    QCOMPARE(MenuTexts[53][3], QStringLiteral("M53"));
    QCOMPARE(MenuTexts[54][0], QStringLiteral("Spagnolo"));
    QCOMPARE(MenuTexts[54][3], QString::fromUtf8("Español"));
    QCOMPARE(TitleTexts[1][3], QStringLiteral("T1"));
    QCOMPARE(TitleTexts[2][3], QString(96, QLatin1Char('x')));
    QCOMPARE(TitleTexts[45][3], QStringLiteral("T45"));
    QCOMPARE(ControlTexts[1][3], QStringLiteral("C1"));
    QCOMPARE(ControlTexts[94][3], QStringLiteral("C94"));
    // The other columns are untouched.
    QCOMPARE(MenuTexts[1][0], QStringLiteral("&Archivio"));
    QCOMPARE(TitleTexts[2][1], QStringLiteral("Primary waves"));
    // An invalid file changes nothing.
    LoadTablesFromLines(bad);
    QCOMPARE(MenuTexts[1][3], QStringLiteral("&Archivo"));
}

void TestLanguage::extensionsAndLang()
{
    QCOMPARE(FileExtension(QStringLiteral("/a/b/lingua.lng")), QStringLiteral(".lng"));
    QCOMPARE(FileExtension(QStringLiteral("/a.b/lingua")), QString());
    QCOMPARE(FileExtension(QStringLiteral("/a/LINGUA.LNG")), QStringLiteral(".LNG"));
    QCOMPARE(ChangeFileExt(QStringLiteral("/x/lingua.lng"), QStringLiteral(".bmp")), QStringLiteral("/x/lingua.bmp"));
    QCOMPARE(ExtractFileName(QStringLiteral("/x/y/lingua.lng")), QStringLiteral("lingua.lng"));
    QCOMPARE(LanguageFromLang(QStringLiteral("it_IT"), 1), 0);
    QCOMPARE(LanguageFromLang(QStringLiteral("it_CH"), 1), 0);
    QCOMPARE(LanguageFromLang(QStringLiteral("en_SA"), 0), 1);
    QCOMPARE(LanguageFromLang(QStringLiteral("fr_LU"), 1), 2);
    QCOMPARE(LanguageFromLang(QStringLiteral("de_DE"), 3), 3);
    QCOMPARE(LanguageFromLang(QStringLiteral("IT_it"), 2), 2);
    QCOMPARE(LanguageFromLang(QString(), 1), 1);
}

void TestLanguage::configRecordBytes()
{
    TConfigRecord rec = record(true, 2, "/home/a/lingua.lng", 1, 0xAB, 0xCD);
    const QByteArray bytes = rec.toBytes();
    QCOMPARE(bytes.size(), 209);
    QCOMPARE(quint8(bytes[0]), quint8(1));
    QCOMPARE(quint8(bytes[1]), quint8(2));
    QCOMPARE(quint8(bytes[2]), quint8(18));
    QCOMPARE(bytes.mid(3, 18), QByteArray("/home/a/lingua.lng"));
    QCOMPARE(quint8(bytes[204]), quint8(1));
    QCOMPARE(quint8(bytes[207]), quint8(0xAB));
    QCOMPARE(quint8(bytes[208]), quint8(0xCD));

    TConfigRecord back;
    QVERIFY(parseConfig(bytes, back));
    QCOMPARE(back.bytes, rec.bytes);
    // Too short: refused. Longer: the first record counts.
    QVERIFY(!parseConfig(bytes.left(208), back));
    QVERIFY(!parseConfig(QByteArray(), back));
    TConfigRecord longer;
    QVERIFY(parseConfig(bytes + QByteArray(500, 'z'), longer));
    QCOMPARE(longer.bytes, rec.bytes);
    // A length byte above 200 reads no more than the 200 bytes of the field.
    TConfigRecord big = rec;
    big.bytes[2] = 255;
    QCOMPARE(big.pathBytes().size(), 200);

    QVERIFY(writeConfigFile(cfg(), rec));
    QCOMPARE(readAll(cfg()), bytes);
    QVERIFY(readConfigFile(cfg(), back));
    QVERIFY(!readConfigFile(dir.filePath(QStringLiteral("missing.cfg")), back));
}

void TestLanguage::startupChoosesLanguage()
{
    // No configuration: English, or the LANG language (only five characters count).
    LanguageStartup(QString(), cfg());
    QCOMPARE(int(LanguageIndex), 1);
    QVERIFY(!HintsOn);
    QVERIFY(LngFileOk);
    init();
    LanguageStartup(QStringLiteral("it_IT.UTF-8"), cfg());
    QCOMPARE(int(LanguageIndex), 0);
    init();
    LanguageStartup(QStringLiteral("de_DE.UTF-8"), cfg());
    QCOMPARE(int(LanguageIndex), 1);
    // Without a file, the record in memory holds the values of the moment.
    QCOMPARE(ConfigRecord.bytes[0], quint8(0));
    QCOMPARE(ConfigRecord.bytes[203], quint8(0));

    // The saved language, overridden by LANG, overridden by the remembered default.
    init();
    writeConfigFile(cfg(), record(true, 2, "", -1));
    LanguageStartup(QStringLiteral("de_DE"), cfg());
    QCOMPARE(int(LanguageIndex), 2);
    QVERIFY(HintsOn);
    init();
    writeConfigFile(cfg(), record(false, 2, "", -1));
    LanguageStartup(QStringLiteral("it_IT"), cfg());
    QCOMPARE(int(LanguageIndex), 0);
    init();
    writeConfigFile(cfg(), record(false, 0, "", 2));
    LanguageStartup(QStringLiteral("en_US.UTF-8"), cfg());
    QCOMPARE(int(LanguageIndex), 2);
    QVERIFY(DefaultFrench && !DefaultEnglish && !DefaultItalian && !DefaultFourth);
}

void TestLanguage::startupLanguageFile()
{
    const QString lng = dir.filePath(QStringLiteral("quarta.lng"));
    writeFile(lng, joined(sampleLanguageLines()));
    writeConfigFile(cfg(), record(false, 1, QFile::encodeName(lng), -1));
    LanguageStartup(QString(), cfg());
    QCOMPARE(int(LanguageIndex), 3);
    QVERIFY(LngFileOk);
    QVERIFY(FourthLanguageLoaded && FourthDefaultShown);
    QCOMPARE(LngFileName, lng);
    QCOMPARE(menuText(1), QStringLiteral("M1"));
    QCOMPARE(titleText(42), QStringLiteral("T42"));

    // LANG beats a loaded file; a remembered default beats LANG.
    init();
    writeConfigFile(cfg(), record(false, 1, QFile::encodeName(lng), -1));
    LanguageStartup(QStringLiteral("fr_FR"), cfg());
    QCOMPARE(int(LanguageIndex), 2);
    QVERIFY(FourthLanguageLoaded);
    init();
    writeConfigFile(cfg(), record(false, 1, QFile::encodeName(lng), 3));
    LanguageStartup(QStringLiteral("fr_FR"), cfg());
    QCOMPARE(int(LanguageIndex), 3);

    // CRLF line ends and Latin-1 text are accepted.
    init();
    QStringList latin = sampleLanguageLines();
    latin[5] = QString::fromUtf8("005 &Fichier é");
    writeFile(lng, latin.join(QStringLiteral("\r\n")).toLatin1() + "\r\n");
    writeConfigFile(cfg(), record(false, 1, QFile::encodeName(lng), -1));
    LanguageStartup(QString(), cfg());
    QVERIFY(LngFileOk);
    QCOMPARE(int(LanguageIndex), 3);
    QCOMPARE(MenuTexts[1][3], QString::fromUtf8("&Fichier é"));

    // A name ending in ".LNG" is not read at start-up (the test is case-sensitive).
    init();
    const QString upper = dir.filePath(QStringLiteral("QUARTA.LNG"));
    writeFile(upper, joined(sampleLanguageLines()));
    writeConfigFile(cfg(), record(false, 1, QFile::encodeName(upper), -1));
    LanguageStartup(QString(), cfg());
    QVERIFY(LngFileOk);
    QVERIFY(!FourthLanguageLoaded);
    QCOMPARE(int(LanguageIndex), 1);
}

void TestLanguage::startupRejectsBadInput()
{
    const QString lng = dir.filePath(QStringLiteral("rotto.lng"));
    // 198 lines: refused, and the remembered default is ignored for this start.
    writeFile(lng, joined(sampleLanguageLines().mid(0, 198)));
    writeConfigFile(cfg(), record(false, 1, QFile::encodeName(lng), 2));
    LanguageStartup(QStringLiteral("it_IT"), cfg());
    QVERIFY(!LngFileOk);
    QVERIFY(!FourthLanguageLoaded);
    QCOMPARE(int(LanguageIndex), 0);
    QCOMPARE(LngFileName, lng); // kept, so it is saved and reported again

    // First line differing by one character.
    init();
    QStringList lines = sampleLanguageLines();
    lines[0] = QStringLiteral("000 *menu");
    writeFile(lng, joined(lines));
    writeConfigFile(cfg(), record(false, 1, QFile::encodeName(lng), -1));
    LanguageStartup(QString(), cfg());
    QVERIFY(!LngFileOk);

    // Binary data: refused without harm.
    init();
    QByteArray binary;
    for (int i = 0; i < 70000; ++i)
        binary.append(char((i * 7919) & 0xFF));
    writeFile(lng, binary);
    writeConfigFile(cfg(), record(false, 1, QFile::encodeName(lng), -1));
    LanguageStartup(QString(), cfg());
    QVERIFY(!LngFileOk);
    QCOMPARE(int(LanguageIndex), 1);

    // A 50 MB file is refused without being read in whole.
    init();
    {
        QFile f(lng);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QVERIFY(f.resize(50LL * 1024 * 1024));
    }
    writeConfigFile(cfg(), record(false, 1, QFile::encodeName(lng), -1));
    LanguageStartup(QString(), cfg());
    QVERIFY(!LngFileOk);
    QVERIFY(LngLines.isEmpty());
    QFile::remove(lng);

    // Missing file, or a folder: silently ignored; the remembered default still applies.
    init();
    writeConfigFile(cfg(), record(false, 1, QFile::encodeName(lng), 2));
    LanguageStartup(QString(), cfg());
    QVERIFY(LngFileOk);
    QCOMPARE(int(LanguageIndex), 2);
    init();
    const QString folder = dir.filePath(QStringLiteral("cartella.lng"));
    QVERIFY(QDir().mkpath(folder));
    writeConfigFile(cfg(), record(false, 1, QFile::encodeName(folder), 0));
    LanguageStartup(QString(), cfg());
    QVERIFY(LngFileOk);
    QCOMPARE(int(LanguageIndex), 0);

    // Fourth language saved, or remembered, with no file to give it a menu: English instead.
    init();
    writeConfigFile(cfg(), record(false, 3, QFile::encodeName(lng), 3));
    LanguageStartup(QString(), cfg());
    QCOMPARE(int(LanguageIndex), 1);

    // A configuration shorter than a record is taken as no configuration.
    init();
    writeFile(cfg(), QByteArray(100, '\1'));
    LanguageStartup(QString(), cfg());
    QCOMPARE(int(LanguageIndex), 1);
    QVERIFY(!HintsOn);
    QVERIFY(LngFileName.isEmpty());

    // A language byte above 3 is ignored; a path length above 200 reads 200 bytes.
    init();
    TConfigRecord rec = record(true, 9, QByteArray(200, 'a'), -1);
    rec.bytes[2] = 230;
    writeConfigFile(cfg(), rec);
    LanguageStartup(QString(), cfg());
    QCOMPARE(int(LanguageIndex), 1);
    QCOMPARE(LngFileName.size(), 200);
    QVERIFY(HintsOn);
    // The record is then found changed, so a later save writes a sound one.
    QVERIFY(ConfigurationChanged());

    // Longer than one record: the first record counts.
    init();
    writeFile(cfg(), record(true, 0, "", 0).toBytes() + QByteArray(300, '\x7f'));
    LanguageStartup(QString(), cfg());
    QVERIFY(HintsOn);
    QVERIFY(DefaultItalian);
    QCOMPARE(int(LanguageIndex), 0);
}

void TestLanguage::flagPicture()
{
    const QString lng = dir.filePath(QStringLiteral("bandiera.lng"));
    const QString bmp = dir.filePath(QStringLiteral("bandiera.bmp"));
    writeFile(lng, joined(sampleLanguageLines()));
    writeFlag(bmp);
    writeConfigFile(cfg(), record(false, 1, QFile::encodeName(lng), -1));
    const int before = ImageList2().Count();
    QCOMPARE(before, 40);
    LanguageStartup(QString(), cfg());
    QCOMPARE(ImageList2().Count(), 41);
    QCOMPARE(FlagIconIndex, 40);
    QCOMPARE(ImageList2().image(40).size(), QSize(16, 16));
    QCOMPARE(QColor(ImageList2().image(40).pixel(8, 8)), QColor(200, 0, 0));

    // Empty or corrupt pictures give no flag.
    for (const QByteArray &data : {QByteArray(), QByteArray("BM\x10\x00\x00\x00garbage", 13), QByteArray(5000, '\xff')}) {
        init();
        writeFile(bmp, data);
        writeConfigFile(cfg(), record(false, 1, QFile::encodeName(lng), -1));
        LanguageStartup(QString(), cfg());
        QCOMPARE(FlagIconIndex, -1);
        QCOMPARE(ImageList2().Count(), 40);
        QVERIFY(FourthLanguageLoaded);
    }
    // A top-down bitmap (negative height) larger than any flag is refused before it is read.
    {
        init();
        QByteArray bmpData("BM", 2);
        auto le32 = [](qint32 v) { return QByteArray(reinterpret_cast<const char *>(&v), 4); };
        auto le16 = [](qint16 v) { return QByteArray(reinterpret_cast<const char *>(&v), 2); };
        bmpData += le32(54 + 64) + le32(0) + le32(54) + le32(40) + le32(5000) + le32(-5000) + le16(1) + le16(24)
                   + le32(0) + le32(0) + le32(2835) + le32(2835) + le32(0) + le32(0) + QByteArray(64, '\x40');
        writeFile(bmp, bmpData);
        writeConfigFile(cfg(), record(false, 1, QFile::encodeName(lng), -1));
        LanguageStartup(QString(), cfg());
        QCOMPARE(FlagIconIndex, -1);
        QVERIFY(FlagBitmap.isNull());
    }
    // An invalid language file loads no flag even when the picture exists.
    init();
    writeFlag(bmp);
    writeFile(lng, joined(sampleLanguageLines().mid(1)));
    writeConfigFile(cfg(), record(false, 1, QFile::encodeName(lng), -1));
    LanguageStartup(QString(), cfg());
    QCOMPARE(FlagIconIndex, -1);
}

void TestLanguage::savingConfiguration()
{
    // No default chosen: nothing is written, even after toggling hints.
    LanguageStartup(QString(), cfg());
    HintsOn = true;
    QVERIFY(!SaveConfiguration(cfg()));
    QVERIFY(!QFile::exists(cfg()));

    // A default chosen: the record is written, with the language of the moment.
    DefaultFrench = true;
    LanguageIndex = 2;
    LngFileName = QStringLiteral("/scuola/lingue/sardo.lng");
    QVERIFY(SaveConfiguration(cfg()));
    QByteArray bytes = readAll(cfg());
    QCOMPARE(bytes.size(), 209);
    QCOMPARE(quint8(bytes[0]), quint8(1));
    QCOMPARE(quint8(bytes[1]), quint8(2));
    QCOMPARE(quint8(bytes[2]), quint8(24));
    QCOMPARE(bytes.mid(3, 24), QByteArray("/scuola/lingue/sardo.lng"));
    QCOMPARE(bytes.mid(203, 4), QByteArray("\0\0\1\0", 4));
    QCOMPARE(bytes.mid(207, 2), QByteArray("\0\0", 2));

    // Read back, nothing changed: nothing is written (the reserved bytes survive either way).
    init();
    TConfigRecord rec = record(true, 0, "", 1, 0x12, 0x34);
    writeConfigFile(cfg(), rec);
    LanguageStartup(QString(), cfg());
    QVERIFY(!ConfigurationChanged());
    writeFile(cfg(), rec.toBytes()); // same content, fresh file
    LanguageIndex = 2; // the language alone is not a change
    QVERIFY(!SaveConfiguration(cfg()));
    // A change: written, with the reserved bytes as they were read.
    HintsOn = false;
    QVERIFY(SaveConfiguration(cfg()));
    bytes = readAll(cfg());
    QCOMPARE(quint8(bytes[0]), quint8(0));
    QCOMPARE(quint8(bytes[1]), quint8(2));
    QCOMPARE(quint8(bytes[207]), quint8(0x12));
    QCOMPARE(quint8(bytes[208]), quint8(0x34));

    // A path longer than the field is cut to 200 bytes, never inside a character.
    init();
    LanguageStartup(QString(), cfg());
    DefaultItalian = true;
    LngFileName = QStringLiteral("/") + QString(120, QChar(0x00E8)) + QStringLiteral(".lng"); // 2 bytes each
    QVERIFY(SaveConfiguration(cfg()));
    bytes = readAll(cfg());
    QCOMPARE(bytes.size(), 209);
    QCOMPARE(quint8(bytes[2]), quint8(199));
    QVERIFY(!QString::fromUtf8(bytes.mid(3, 199)).contains(QChar::ReplacementCharacter));

    // Characters outside the basic plane are never cut in half either.
    init();
    LanguageStartup(QString(), cfg());
    DefaultItalian = true;
    LngFileName = QStringLiteral("/") + QString(196, QLatin1Char('a')) + QString::fromUtf8("\xF0\x9F\x8C\x8D") + QStringLiteral(".lng");
    QVERIFY(SaveConfiguration(cfg()));
    bytes = readAll(cfg());
    QCOMPARE(quint8(bytes[2]), quint8(197));
    QCOMPARE(bytes.mid(3, 197), QByteArray("/") + QByteArray(196, 'a'));

    // A target that cannot be written: no file, no crash, the old one left whole.
    init();
    const QString blocked = dir.filePath(QStringLiteral("bloccato"));
    QVERIFY(QDir().mkpath(blocked));
    LanguageStartup(QString(), cfg());
    DefaultEnglish = true;
    QVERIFY(!SaveConfiguration(blocked));
    QVERIFY(QFileInfo(blocked).isDir());
    QVERIFY(!SaveConfiguration(dir.filePath(QStringLiteral("manca/ancora/Vastara.cfg"))));
}

void TestLanguage::shippedSpanishFile()
{
    // The Spanish language file shipped with the tests loads as a fourth language.
    const QString path = qEnvironmentVariable("VASTARA_TEST_DATA") + QStringLiteral("/spanish.lng");
    QStringList lines;
    QCOMPARE(ReadLanguageFile(path, lines), LanguageRead::Read);
    QVERIFY(LanguageLinesValid(lines));
    LoadTablesFromLines(lines);
    QCOMPARE(MenuTexts[54][3], QString::fromUtf8("Español"));
    QCOMPARE(TitleTexts[42][3], QStringLiteral("Ayuda"));
    QCOMPARE(ControlTexts[84][3], QString());
    QVERIFY(!MenuTexts[17][3].isEmpty());
}

QTEST_MAIN(TestLanguage)
#include "test_language.moc"
