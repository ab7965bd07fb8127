#include "fuzz_common.h"

#include "imagelist.h"
#include "language/texts.h"
#include "samplelanguage.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

// The program compiles its pictures in; the fuzz targets do not, and the image list then
// makes blank icons.
int qInitResources_resources() { return 1; }

// Saving the configuration syncs the file to disk; a fuzz run makes no promise to keep its
// scratch files, and waiting for the disk would make saving a thousand times slower than
// everything else. These take the place of the C library's for the whole process.
extern "C" int fsync(int) { return 0; }
extern "C" int fdatasync(int) { return 0; }

// The font configuration library keeps caches that it never frees (reached when a picture
// draws text); they are not the program's leaks.
extern "C" const char *__lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

namespace fuzz {

namespace {
// The readers' warnings (a file name with a NUL in it, a picture that cannot be read) would
// only slow the runs down; fatal messages still end the run.
void quietMessages(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "fatal: %s\n", qPrintable(message));
        std::abort();
    }
}

struct Quiet {
    Quiet() { qInstallMessageHandler(quietMessages); }
} quiet;
} // namespace

void startGuiApplication()
{
    static QGuiApplication *app = nullptr;
    if (app)
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "vastara-fuzz";
    static char *argv[] = {name, nullptr};
    app = new QGuiApplication(argc, argv);
}

QString scratchFolder()
{
    static QTemporaryDir *dir = nullptr;
    if (!dir) {
        dir = new QTemporaryDir(QDir::tempPath() + QStringLiteral("/vastara-fuzz-XXXXXX"));
        if (!dir->isValid()) {
            std::fprintf(stderr, "cannot make a scratch folder in %s\n", qPrintable(QDir::tempPath()));
            std::abort();
        }
        // Removed at a normal exit; a crash leaves it for the reproducer to be looked at.
        std::atexit([] { delete dir; });
    }
    return dir->path();
}

void writeFile(const QString &path, const QByteArray &data)
{
    // A new file each time: the file system flushes a file that is cut short and rewritten.
    QFile::remove(path);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(data) != data.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::abort();
    }
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}

QByteArray validLanguageFile()
{
    return sampleLanguageLines().join(QLatin1Char('\n')).toUtf8() + '\n';
}

namespace {
QString savedMenu[MenuRows + 1][LanguageCount];
QString savedTitle[TitleRows + 1][LanguageCount];
QString savedControl[ControlRows + 1][LanguageCount];
ImageList *savedImages = nullptr;

template <int Rows>
void copyTable(QString (&to)[Rows + 1][LanguageCount], const QString (&from)[Rows + 1][LanguageCount])
{
    for (int r = 0; r <= Rows; ++r)
        for (int c = 0; c < LanguageCount; ++c)
            to[r][c] = from[r][c];
}

// Compares every entry, or (fourthToo false) every entry outside the fourth column.
template <int Rows>
bool sameTable(const QString (&a)[Rows + 1][LanguageCount], const QString (&b)[Rows + 1][LanguageCount],
               bool fourthToo, int skipRow = -1)
{
    for (int r = 0; r <= Rows; ++r) {
        if (r == skipRow)
            continue;
        for (int c = 0; c < (fourthToo ? LanguageCount : LanguageCount - 1); ++c)
            if (a[r][c] != b[r][c])
                return false;
    }
    return true;
}

template <int Rows>
bool withinLimit(const QString (&t)[Rows + 1][LanguageCount])
{
    for (int r = 0; r <= Rows; ++r)
        for (int c = 0; c < LanguageCount; ++c)
            if (t[r][c].size() > MaxEntryLength)
                return false;
    return true;
}
} // namespace

void rememberTables()
{
    resetLanguageTables();
    copyTable<MenuRows>(savedMenu, MenuTexts);
    copyTable<TitleRows>(savedTitle, TitleTexts);
    copyTable<ControlRows>(savedControl, ControlTexts);
}

void restoreTables()
{
    copyTable<MenuRows>(MenuTexts, savedMenu);
    copyTable<TitleRows>(TitleTexts, savedTitle);
    copyTable<ControlRows>(ControlTexts, savedControl);
}

bool otherColumnsUntouched()
{
    // Row 54 of MenuTexts (the fourth language's name) is written in all four columns.
    return sameTable<MenuRows>(MenuTexts, savedMenu, false, 54)
        && sameTable<TitleRows>(TitleTexts, savedTitle, false)
        && sameTable<ControlRows>(ControlTexts, savedControl, false);
}

bool tablesAsRemembered()
{
    return sameTable<MenuRows>(MenuTexts, savedMenu, true) && sameTable<TitleRows>(TitleTexts, savedTitle, true)
        && sameTable<ControlRows>(ControlTexts, savedControl, true);
}

bool entriesWithinLimit()
{
    return withinLimit<MenuRows>(MenuTexts) && withinLimit<TitleRows>(TitleTexts)
        && withinLimit<ControlRows>(ControlTexts);
}

void rememberImageList()
{
    if (!savedImages)
        savedImages = new ImageList(ImageList2());
}

void restoreImageList()
{
    if (ImageList2().Count() != savedImages->Count())
        ImageList2() = *savedImages;
}

int rememberedImageCount() { return savedImages->Count(); }

} // namespace fuzz
