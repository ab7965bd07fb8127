// The configuration record "Vastara.cfg": decoding, the start-up that reads it (and the language
// file and flag it names), and the saving at exit.
//
// The input is the whole configuration file; readConfigFile takes only its first record. The
// bytes after the first 209, when there are any, play the session between start and exit:
//   209       LANG (index into langs below)
//   210       bit 0: toggle the hints; bits 1..3 (mod 5): choose a default language (0 none,
//             1 Italian, 2 English, 3 French, 4 fourth); bit 4: load another language file
//             named by the bytes from 211 on; bits 5..6: switch to Italian/English/French
//   211...    the name of the language file chosen with bit 4
// Start-up and exit run in a scratch folder that holds:
//   s.lng + s.bmp   a valid language file with its flag
//   t.lng           a valid language file without a flag
//   bad.lng+bad.bmp a file of 198 lines (refused) with a flag
//   huge.lng        a file one byte over the size limit
//   dir.lng/        a folder
//   out/            where the configuration is saved
#include "fuzz_common.h"

#include "globals.h"
#include "imagelist.h"
#include "language/config.h"
#include "language/langfile.h"
#include "language/texts.h"
#include "samplelanguage.h"

#include <QDir>
#include <QFile>
#include <QImage>

#include <unistd.h>

namespace {
QString outConfig;
QByteArray scratchDir, startDir;

// Start-up and exit run in the scratch folder, as the program runs in its current folder; the
// fuzzer's own folder is restored after each input (it reads and writes its corpus there).
struct InScratchFolder {
    InScratchFolder()
    {
        if (::chdir(scratchDir.constData()) != 0)
            std::abort();
    }
    ~InScratchFolder()
    {
        if (::chdir(startDir.constData()) != 0)
            std::abort();
    }
};
bool tablesChanged = false;

const char *const langs[] = {"", "it_IT.UTF-8", "en_US", "fr_FR", "de_DE", "fr_CA.utf8", "it_CH", "en_G"};

void startOfProgram()
{
    if (tablesChanged) {
        resetLanguageTables();
        tablesChanged = false;
    }
    resetGlobals();
    ResetLanguageState();
    fuzz::restoreImageList();
}

void checkStartup()
{
    tablesChanged = tablesChanged || FourthLanguageLoaded;
    FUZZ_CHECK(LanguageIndex < LanguageCount);
    // The fourth language is chosen only when its menu texts exist.
    FUZZ_CHECK(LanguageIndex != 3 || FourthLanguageLoaded);
    FUZZ_CHECK(LngFileName.size() <= LngFileNameMax);
    FUZZ_CHECK(!FourthLanguageLoaded || LngFileOk);
    if (FlagIconIndex >= 0) {
        FUZZ_CHECK(ImageList2().Count() == fuzz::rememberedImageCount() + 1);
        FUZZ_CHECK(ImageList2().image(FlagIconIndex).size() == QSize(16, 16));
    } else {
        FUZZ_CHECK(ImageList2().Count() == fuzz::rememberedImageCount());
    }
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::startGuiApplication();
    const QString dir = fuzz::scratchFolder();
    startDir = QFile::encodeName(QDir::currentPath());
    scratchDir = QFile::encodeName(dir);
    QDir::setCurrent(dir);
    QDir(dir).mkdir(QStringLiteral("out"));
    QDir(dir).mkdir(QStringLiteral("dir.lng"));
    const QByteArray valid = fuzz::validLanguageFile();
    fuzz::writeFile(QStringLiteral("s.lng"), valid);
    fuzz::writeFile(QStringLiteral("t.lng"), valid);
    QStringList short198 = sampleLanguageLines();
    short198.removeLast();
    fuzz::writeFile(QStringLiteral("bad.lng"), short198.join(QLatin1Char('\n')).toUtf8());
    fuzz::writeFile(QStringLiteral("huge.lng"), valid + QByteArray(MaxLanguageFileSize + 1 - valid.size(), 'x'));
    QImage flag(24, 16, QImage::Format_RGB32);
    flag.fill(Qt::yellow);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 24; ++x) {
            flag.setPixel(x, y, qRgb(200, 0, 0));
            flag.setPixel(x, 15 - y, qRgb(200, 0, 0));
        }
    if (!flag.save(QStringLiteral("s.bmp"), "BMP") || !flag.save(QStringLiteral("bad.bmp"), "BMP"))
        std::abort();
    outConfig = dir + QStringLiteral("/out/") + QLatin1String(ConfigFileName);
    fuzz::rememberImageList();
    fuzz::rememberTables();
    QDir::setCurrent(QFile::decodeName(startDir));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    const QByteArray data(reinterpret_cast<const char *>(bytes), qsizetype(size));

    // Decoding: a record is taken from a file of at least 209 bytes, byte for byte.
    TConfigRecord parsed;
    const bool complete = parseConfig(data, parsed);
    FUZZ_CHECK(complete == (data.size() >= ConfigSize));
    if (complete) {
        FUZZ_CHECK(parsed.toBytes() == data.left(ConfigSize));
        const QByteArray path = parsed.pathBytes();
        FUZZ_CHECK(path.size() == qMin<int>(quint8(data[2]), ConfigPathMax));
        FUZZ_CHECK(path == data.mid(3, path.size()));
    }

    // Start-up from this file.
    const InScratchFolder inScratch;
    startOfProgram();
    const QString cfg = QString::fromLatin1(ConfigFileName);
    fuzz::writeFile(cfg, data);
    TConfigRecord fromFile;
    FUZZ_CHECK(readConfigFile(cfg, fromFile) == complete);
    if (complete)
        FUZZ_CHECK(fromFile.bytes == parsed.bytes);

    const quint8 langByte = data.size() > ConfigSize ? quint8(data[ConfigSize]) : 0;
    const QString lang = QString::fromLatin1(langs[langByte % std::size(langs)]);
    LanguageStartup(lang, cfg);
    checkStartup();
    const TConfigRecord startRecord = ConfigRecord;
    if (complete)
        FUZZ_CHECK(startRecord.bytes == parsed.bytes);

    // The session.
    const quint8 actions = data.size() > ConfigSize + 1 ? quint8(data[ConfigSize + 1]) : 0;
    if (actions & 1)
        HintsOn = !HintsOn;
    switch ((actions >> 1) % 5) {
    case 1: DefaultItalian = true, DefaultEnglish = DefaultFrench = DefaultFourth = false; break;
    case 2: DefaultEnglish = true, DefaultItalian = DefaultFrench = DefaultFourth = false; break;
    case 3: DefaultFrench = true, DefaultItalian = DefaultEnglish = DefaultFourth = false; break;
    case 4: DefaultFourth = true, DefaultItalian = DefaultEnglish = DefaultFrench = false; break;
    default: break;
    }
    if (actions & 0x10)
        LngFileName = QString::fromUtf8(data.mid(ConfigSize + 2)).left(LngFileNameMax);
    if ((actions >> 5) & 3)
        LanguageIndex = quint8(((actions >> 5) & 3) - 1);

    // Exit: the record is written only when something changed and a default is chosen.
    QFile::remove(outConfig);
    const bool anyDefault = DefaultItalian || DefaultEnglish || DefaultFrench || DefaultFourth;
    const bool changed = ConfigurationChanged();
    const bool written = SaveConfiguration(outConfig);
    FUZZ_CHECK(written == (changed && anyDefault));
    FUZZ_CHECK(written == QFile::exists(outConfig));
    if (!written)
        return 0;

    const QByteArray saved = fuzz::readFile(outConfig);
    FUZZ_CHECK(saved.size() == ConfigSize);
    FUZZ_CHECK(quint8(saved[2]) <= ConfigPathMax);
    FUZZ_CHECK(quint8(saved[0]) == (HintsOn ? 1 : 0));
    FUZZ_CHECK(quint8(saved[1]) == LanguageIndex);
    const bool flags[4] = {DefaultItalian, DefaultEnglish, DefaultFrench, DefaultFourth};
    for (int i = 0; i < 4; ++i)
        FUZZ_CHECK(quint8(saved[203 + i]) == (flags[i] ? 1 : 0));
    // The reserved bytes go back as they were read.
    FUZZ_CHECK(quint8(saved[207]) == startRecord.bytes[207] && quint8(saved[208]) == startRecord.bytes[208]);
    // The stored path is the start of the file name's bytes, cut at a character boundary.
    const QByteArray storedPath = saved.mid(3, quint8(saved[2]));
    const QByteArray fullPath = QFile::encodeName(LngFileName);
    FUZZ_CHECK(fullPath.startsWith(storedPath));
    FUZZ_CHECK(storedPath.size() == fullPath.size() || fullPath.size() > ConfigPathMax);

    // The next start reads back what was saved; exiting again without a change writes nothing.
    const bool hints = HintsOn;
    startOfProgram();
    LanguageStartup(lang, outConfig);
    checkStartup();
    FUZZ_CHECK(HintsOn == hints);
    FUZZ_CHECK(DefaultItalian == flags[0] && DefaultEnglish == flags[1] && DefaultFrench == flags[2]
               && DefaultFourth == flags[3]);
    FUZZ_CHECK(QFile::encodeName(LngFileName) == storedPath);
    FUZZ_CHECK(!ConfigurationChanged());
    return 0;
}
