#include "langfile.h"

#include "globals.h"
#include "imagelist.h"
#include "texts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QStringDecoder>

QString LngFileName;
bool LngFileOk = true;
QStringList LngLines;
QImage FlagBitmap;
bool DefaultItalian = false, DefaultEnglish = false, DefaultFrench = false, DefaultFourth = false;
TConfigRecord ConfigRecord;
bool FourthLanguageLoaded = false;
bool FourthDefaultShown = false;
int FlagIconIndex = -1;

void ResetLanguageState()
{
    LngFileName.clear();
    LngFileOk = true;
    LngLines.clear();
    FlagBitmap = QImage();
    DefaultItalian = DefaultEnglish = DefaultFrench = DefaultFourth = false;
    ConfigRecord = TConfigRecord();
    FourthLanguageLoaded = false;
    FourthDefaultShown = false;
    FlagIconIndex = -1;
    LanguageIndex = 1;
}

QString FileExtension(const QString &path)
{
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    const int dot = path.lastIndexOf(QLatin1Char('.'));
    if (dot < 0 || dot < slash)
        return QString();
    return path.mid(dot);
}

QString ChangeFileExt(const QString &path, const QString &ext)
{
    const QString old = FileExtension(path);
    return path.left(path.size() - old.size()) + ext;
}

QString ExtractFileName(const QString &path)
{
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

QString DecodeLanguageText(const QByteArray &raw)
{
    QByteArray data = raw;
    if (data.startsWith("\xEF\xBB\xBF"))
        data.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(data);
    if (utf8.hasError())
        text = QString::fromLatin1(data);
    return text;
}

QStringList SplitLanguageText(const QByteArray &raw)
{
    const QString text = DecodeLanguageText(raw);
    QStringList lines;
    int start = 0;
    const int n = text.size();
    for (int i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r')) {
            lines.append(text.mid(start, i - start));
            if (c == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n'))
                ++i;
            start = i + 1;
        }
    }
    if (start < n)
        lines.append(text.mid(start));
    return lines;
}

LanguageRead ReadLanguageFile(const QString &path, QStringList &lines)
{
    lines.clear();
    // Only plain files are read: a folder, a device or a named pipe (which would wait for a
    // writer) counts as a file that cannot be opened.
    const QFileInfo info(path);
    if (!info.isFile())
        return LanguageRead::NotOpened;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return LanguageRead::NotOpened;
    // A file over the limit is refused unread; anything else (an endless device too) is read
    // in pieces up to one byte past the limit, never taken in whole.
    if (!f.isSequential() && f.size() > MaxLanguageFileSize)
        return LanguageRead::TooLarge;
    QByteArray data;
    while (data.size() <= MaxLanguageFileSize) {
        const QByteArray piece = f.read(qMin<qint64>(64 * 1024, MaxLanguageFileSize + 1 - data.size()));
        if (piece.isEmpty())
            break;
        data += piece;
    }
    if (data.size() > MaxLanguageFileSize)
        return LanguageRead::TooLarge;
    lines = SplitLanguageText(data);
    return LanguageRead::Read;
}

bool LanguageLinesValid(const QStringList &lines)
{
    return lines.size() == LanguageFileLines && lines[0] == QLatin1String("000 *menu*");
}

static QString entryFromLine(const QString &line)
{
    return line.left(MaxEntryLength).mid(4);
}

void LoadTablesFromLines(const QStringList &lines)
{
    if (!LanguageLinesValid(lines))
        return;
    for (int i = 1; i <= 4; ++i)
        MenuTexts[54][i - 1] = entryFromLine(lines[i]);
    for (int i = 5; i <= 57; ++i)
        MenuTexts[i - 4][3] = entryFromLine(lines[i]);
    for (int i = 59; i <= 103; ++i)
        TitleTexts[i - 58][3] = entryFromLine(lines[i]);
    for (int i = 105; i <= 198; ++i)
        ControlTexts[i - 104][3] = entryFromLine(lines[i]);
}

bool LoadFlagPicture()
{
    if (LngFileName.isEmpty())
        return false;
    const QString bmp = ChangeFileExt(LngFileName, QStringLiteral(".bmp"));
    const QFileInfo info(bmp);
    if (!info.isFile() || info.size() > MaxFlagFileSize)
        return false;
    QImageReader reader(bmp);
    reader.setDecideFormatFromContent(true);
    const QSize size = reader.size();
    // A top-down bitmap reports a negative height.
    if (qint64(qAbs(size.width())) * qAbs(size.height()) > MaxFlagPixels)
        return false;
    // Not every format tells its full size beforehand (a GIF's screen, or a frame larger than
    // it, may be far larger than the size reported): no allocation while reading may exceed one
    // 32-bit picture of the largest size allowed. The limit is the reader's global one, so it
    // is put back afterwards.
    const int previousLimit = QImageReader::allocationLimit();
    QImageReader::setAllocationLimit(MaxFlagAllocationMiB);
    const QImage img = reader.read();
    QImageReader::setAllocationLimit(previousLimit);
    if (img.isNull() || qint64(img.width()) * img.height() > MaxFlagPixels)
        return false;
    FlagBitmap = img;
    return true;
}

int LanguageFromLang(const QString &lang5, int current)
{
    static const char *const italian[] = {"it_IT", "it_CH"};
    static const char *const english[] = {"en_GB", "en_US", "en_IE", "en_NZ", "en_AU", "en_SA", "en_CA"};
    static const char *const french[] = {"fr_FR", "fr_CH", "fr_BE", "fr_LU", "fr_CA"};
    for (const char *code : italian)
        if (lang5 == QLatin1String(code))
            return 0;
    for (const char *code : english)
        if (lang5 == QLatin1String(code))
            return 1;
    for (const char *code : french)
        if (lang5 == QLatin1String(code))
            return 2;
    return current;
}

static QByteArray encodedPath(const QString &path)
{
    // The record holds at most 200 bytes; never cut a character in half.
    QString p = path;
    QByteArray bytes = QFile::encodeName(p);
    while (bytes.size() > ConfigPathMax && !p.isEmpty()) {
        p.chop(1);
        // A character outside the basic plane is two UTF-16 units: drop both.
        if (!p.isEmpty() && p.back().isHighSurrogate())
            p.chop(1);
        bytes = QFile::encodeName(p);
    }
    return bytes;
}

void LanguageStartup(const QString &langEnv, const QString &configPath)
{
    const QString lang5 = langEnv.left(5);
    LngLines.clear();
    FlagBitmap = QImage();
    LngFileOk = true;
    FourthLanguageLoaded = false;
    FourthDefaultShown = false;
    FlagIconIndex = -1;

    TConfigRecord rec;
    if (readConfigFile(configPath, rec)) {
        ConfigRecord = rec;
        HintsOn = rec.hintsOn();
        LngFileName = QFile::decodeName(rec.pathBytes()).left(LngFileNameMax);
        // A language byte out of range would select no column at all: keep the current one.
        if (rec.language() < LanguageCount)
            LanguageIndex = rec.language();
        DefaultItalian = rec.defaultFlag(0);
        DefaultEnglish = rec.defaultFlag(1);
        DefaultFrench = rec.defaultFlag(2);
        DefaultFourth = rec.defaultFlag(3);
    } else {
        ConfigRecord = TConfigRecord();
        ConfigRecord.bytes[0] = HintsOn ? 1 : 0;
        ConfigRecord.bytes[203] = DefaultItalian;
        ConfigRecord.bytes[204] = DefaultEnglish;
        ConfigRecord.bytes[205] = DefaultFrench;
        ConfigRecord.bytes[206] = DefaultFourth;
    }

    if (FileExtension(LngFileName) == QLatin1String(".lng")) {
        const LanguageRead r = ReadLanguageFile(LngFileName, LngLines);
        if (r == LanguageRead::TooLarge) {
            LngFileOk = false;
        } else if (r == LanguageRead::Read) {
            if (LanguageLinesValid(LngLines)) {
                LanguageIndex = 3;
                LoadTablesFromLines(LngLines);
                FourthLanguageLoaded = true;
                FourthDefaultShown = true;
            } else {
                LngFileOk = false;
            }
        }
    }

    if (LngFileOk && LoadFlagPicture())
        FlagIconIndex = ImageList2().Add(FlagBitmap);

    LanguageIndex = quint8(LanguageFromLang(lang5, LanguageIndex));

    if (LngFileOk) {
        if (DefaultFrench)
            LanguageIndex = 2;
        if (DefaultEnglish)
            LanguageIndex = 1;
        if (DefaultItalian)
            LanguageIndex = 0;
        if (DefaultFourth)
            LanguageIndex = 3;
    }

    // Without a loaded language file the fourth language has no menu texts at all; start in
    // English rather than with an empty menu bar.
    if (LanguageIndex == 3 && !FourthLanguageLoaded)
        LanguageIndex = 1;
}

bool ConfigurationChanged()
{
    if (ConfigRecord.hintsOn() != HintsOn || ConfigRecord.bytes[0] > 1)
        return true;
    const QByteArray path = encodedPath(LngFileName);
    if (ConfigRecord.bytes[2] != path.size() || ConfigRecord.pathBytes() != path)
        return true;
    const bool flags[4] = {DefaultItalian, DefaultEnglish, DefaultFrench, DefaultFourth};
    for (int i = 0; i < 4; ++i)
        if (ConfigRecord.bytes[203 + i] != (flags[i] ? 1 : 0))
            return true;
    return false;
}

bool ConfigurationToSave()
{
    return ConfigurationChanged() && (DefaultItalian || DefaultEnglish || DefaultFrench || DefaultFourth);
}

bool SaveConfiguration(const QString &configPath)
{
    if (!ConfigurationToSave())
        return false;
    TConfigRecord rec = ConfigRecord;
    rec.bytes[0] = HintsOn ? 1 : 0;
    rec.setPathBytes(encodedPath(LngFileName));
    rec.bytes[1] = LanguageIndex;
    rec.bytes[203] = DefaultItalian;
    rec.bytes[204] = DefaultEnglish;
    rec.bytes[205] = DefaultFrench;
    rec.bytes[206] = DefaultFourth;
    return writeConfigFile(configPath, rec);
}

QString LanguagesFolder()
{
    const QString installed = QDir::cleanPath(ProgramFolder() + QStringLiteral("../../share/vastara/languages"));
    if (QFileInfo(installed).isDir())
        return installed;
#ifdef VASTARA_SOURCE_LANGUAGES
    const QString source = QStringLiteral(VASTARA_SOURCE_LANGUAGES);
    if (QFileInfo(source).isDir())
        return source;
#endif
    return QString();
}
