// Faults around the configuration file and hostile input to every reader: the previous
// configuration survives a folder that cannot be written, a full disk and a process killed
// while writing; large or malformed configuration, language, flag and help files are
// refused or read within bounds, without a crash or a hang.
#include "dialogs/brucatore.h"
#include "globals.h"
#include "imagelist.h"
#include "language/config.h"
#include "language/langfile.h"
#include "language/texts.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
TConfigRecord recordWith(quint8 hints, quint8 fill)
{
    TConfigRecord rec;
    rec.bytes[0] = hints;
    rec.bytes[1] = 2;
    rec.setPathBytes(QByteArray(150, char(fill)));
    rec.bytes[205] = 1;
    rec.bytes[207] = 0x5A;
    return rec;
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Sets up the in-memory state so that SaveConfiguration writes `next`.
void prepareSave(const TConfigRecord &old, const TConfigRecord &next)
{
    ResetLanguageState();
    ConfigRecord = old;
    HintsOn = next.bytes[0] != 0;
    LanguageIndex = next.bytes[1];
    LngFileName = QFile::decodeName(next.pathBytes());
    DefaultItalian = next.bytes[203];
    DefaultEnglish = next.bytes[204];
    DefaultFrench = next.bytes[205];
    DefaultFourth = next.bytes[206];
}

// A small filesystem of its own, when this process may mount one.
struct SmallDisk {
    QString path;
    bool mounted = false;
    explicit SmallDisk(const QString &where, int kib)
        : path(where)
    {
        QDir().mkpath(path);
        const QByteArray opts = "size=" + QByteArray::number(kib) + "k";
        mounted = ::mount("tmpfs", QFile::encodeName(path).constData(), "tmpfs", 0, opts.constData()) == 0;
    }
    bool remountReadOnly()
    {
        return ::mount("tmpfs", QFile::encodeName(path).constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }
    ~SmallDisk()
    {
        if (mounted)
            ::umount2(QFile::encodeName(path).constData(), MNT_DETACH);
    }
};

// Runs f in a child process; returns its exit status (or -signal).
int inChild(const std::function<int()> &f)
{
    const pid_t pid = fork();
    if (pid == 0)
        _exit(f());
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
}
} // namespace

class TestHostile : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void folderThatCannotBeWritten();
    void diskFull();
    void killedWhileWriting();
    void hostileConfiguration();
    void hostileLanguageFiles();
    void hostileFlags();
    void hostileHelpPages();

private:
    QTemporaryDir dir;
};

void TestHostile::init()
{
    resetGlobals();
    resetLanguageTables();
    ResetLanguageState();
    ImageList2().loadBuiltin();
}

void TestHostile::folderThatCannotBeWritten()
{
    const TConfigRecord old = recordWith(0, 'a'), next = recordWith(1, 'b');
    // A folder made read-only: with a read-only filesystem when this process can mount one
    // (permission bits do not stop the superuser), and with permission bits otherwise.
    SmallDisk disk(dir.filePath(QStringLiteral("ro")), 64);
    const QString cfg = disk.path + QStringLiteral("/Vastara.cfg");
    QVERIFY(writeConfigFile(cfg, old));
    if (disk.mounted) {
        QVERIFY(disk.remountReadOnly());
    } else {
        QFile::setPermissions(disk.path, QFile::ReadOwner | QFile::ExeOwner);
        if (geteuid() == 0)
            QSKIP("no way to make a folder read-only for the superuser here");
    }
    prepareSave(old, next);
    QVERIFY(!SaveConfiguration(cfg));
    QCOMPARE(readAll(cfg), old.toBytes());
    // A folder that does not exist, or a path through a plain file.
    QVERIFY(!SaveConfiguration(dir.filePath(QStringLiteral("manca/Vastara.cfg"))));
    QFile plain(dir.filePath(QStringLiteral("piano")));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();
    QVERIFY(!SaveConfiguration(dir.filePath(QStringLiteral("piano/Vastara.cfg"))));
    QFile::setPermissions(disk.path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void TestHostile::diskFull()
{
    const TConfigRecord old = recordWith(0, 'c'), next = recordWith(1, 'd');
    SmallDisk disk(dir.filePath(QStringLiteral("full")), 64);
    const QString cfg = disk.path + QStringLiteral("/Vastara.cfg");
    QVERIFY(writeConfigFile(cfg, old));
    if (disk.mounted) {
        // Fill the small filesystem to the last byte.
        const int fd = ::open(QFile::encodeName(disk.path + QStringLiteral("/filler")).constData(),
                              O_WRONLY | O_CREAT, 0644);
        QVERIFY(fd >= 0);
        const QByteArray block(4096, 'x');
        while (::write(fd, block.constData(), block.size()) > 0) {
        }
        while (::write(fd, "x", 1) > 0) {
        }
        ::close(fd);
        prepareSave(old, next);
        QVERIFY(!SaveConfiguration(cfg));
        QCOMPARE(readAll(cfg), old.toBytes());
        QCOMPARE(QDir(disk.path).entryList(QDir::Files | QDir::Hidden).size(), 2); // no stray file
    }
    // The same through a file-size limit (a write that fails half-way), in a child process.
    const QString cfg2 = dir.filePath(QStringLiteral("Vastara.cfg"));
    QVERIFY(writeConfigFile(cfg2, old));
    const int rc = inChild([&] {
        signal(SIGXFSZ, SIG_IGN);
        rlimit lim{100, 100};
        setrlimit(RLIMIT_FSIZE, &lim);
        prepareSave(old, next);
        return SaveConfiguration(cfg2) ? 1 : 0;
    });
    QCOMPARE(rc, 0);
    QCOMPARE(readAll(cfg2), old.toBytes());
}

void TestHostile::killedWhileWriting()
{
    // A process killed at any moment of its saves leaves one whole record, old or new.
    const QString folder = dir.filePath(QStringLiteral("kill"));
    QDir().mkpath(folder);
    const QString cfg = folder + QStringLiteral("/Vastara.cfg");
    const TConfigRecord a = recordWith(0, 'e'), b = recordWith(1, 'f');
    QVERIFY(writeConfigFile(cfg, a));
    for (int round = 0; round < 20; ++round) {
        const pid_t pid = fork();
        if (pid == 0) {
            for (int i = 0;; ++i) {
                prepareSave(i % 2 ? b : a, i % 2 ? a : b);
                SaveConfiguration(cfg);
            }
        }
        usleep(2000 + 1500 * (round % 7));
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        const QByteArray now = readAll(cfg);
        QVERIFY2(now == a.toBytes() || now == b.toBytes(), qPrintable(QString::number(now.size())));
    }
}

void TestHostile::hostileConfiguration()
{
    const QString cfg = dir.filePath(QStringLiteral("ostile.cfg"));
    // Every length from empty to well past a record, filled with every byte value pattern:
    // the language stays in range and the path within its field.
    for (int size : {0, 1, 2, 3, 100, 208, 209, 210, 4096}) {
        for (int fill : {0x00, 0x01, 0x03, 0x04, 0x7F, 0xC8, 0xC9, 0xFF}) {
            QFile f(cfg);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(size, char(fill)));
            f.close();
            init();
            LanguageStartup(QString(), cfg);
            QVERIFY(LanguageIndex < 4);
            QVERIFY(LngFileName.size() <= 200);
        }
    }
    // A configuration that is a huge file: only its first record is read.
    {
        QFile f(cfg);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QVERIFY(f.resize(200LL * 1024 * 1024));
    }
    init();
    QElapsedTimer t;
    t.start();
    LanguageStartup(QString(), cfg);
    QVERIFY(t.elapsed() < 2000);
    QVERIFY(LanguageIndex < 4);
    QFile::remove(cfg);
    // A folder where the configuration should be.
    QDir().mkpath(dir.filePath(QStringLiteral("cartella.cfg")));
    init();
    LanguageStartup(QString(), dir.filePath(QStringLiteral("cartella.cfg")));
    QCOMPARE(int(LanguageIndex), 1);
}

void TestHostile::hostileLanguageFiles()
{
    const QString lng = dir.filePath(QStringLiteral("ostile.lng"));
    auto startWith = [&](const QByteArray &data) {
        QFile f(lng);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(data);
        f.close();
        init();
        TConfigRecord rec;
        rec.setPathBytes(QFile::encodeName(lng));
        QVERIFY(writeConfigFile(dir.filePath(QStringLiteral("Vastara.cfg")), rec));
        LanguageStartup(QString(), dir.filePath(QStringLiteral("Vastara.cfg")));
    };
    // 199 enormous lines: the file is refused by size, never split.
    QByteArray huge = "000 *menu*\n";
    for (int i = 1; i < 199; ++i)
        huge += QByteArray(20000, 'x') + '\n';
    QElapsedTimer t;
    t.start();
    startWith(huge);
    QVERIFY(!LngFileOk);
    QVERIFY(t.elapsed() < 2000);
    // 199 lines just under the size limit: loaded, every entry cut to its 96 characters.
    QByteArray big = "000 *menu*\n";
    for (int i = 1; i < 199; ++i)
        big += QByteArray::number(i).rightJustified(3, '0') + ' ' + QByteArray(5000, char('A' + i % 26)) + '\n';
    startWith(big);
    QVERIFY(LngFileOk);
    QCOMPARE(int(LanguageIndex), 3);
    for (int r = 1; r <= ControlRows; ++r)
        QCOMPARE(ControlTexts[r][3].size(), 96);
    // Line ends only, NUL bytes, invalid UTF-8 everywhere, a million tiny lines.
    startWith(QByteArray(500000, '\n'));
    QVERIFY(!LngFileOk);
    QByteArray nul = "000 *menu*\n";
    for (int i = 1; i < 199; ++i)
        nul += QByteArray(10, '\0') + '\n';
    startWith(nul);
    QVERIFY(LngFileOk); // 199 lines with the right first line: loaded, texts of NUL characters
    QByteArray bad = "000 *menu*\n";
    for (int i = 1; i < 199; ++i)
        bad += "\xFF\xFE\xC3(\xE2\x82" + QByteArray::number(i) + '\n';
    startWith(bad);
    QVERIFY(LngFileOk);
    QCOMPARE(int(LanguageIndex), 3);
    startWith(QByteArray("\r", 1).repeated(900000));
    QVERIFY(!LngFileOk);
    // A named pipe or a device in place of the file: not opened (a pipe would wait for a writer).
    QFile::remove(lng);
    QVERIFY(mkfifo(QFile::encodeName(lng).constData(), 0644) == 0);
    QElapsedTimer pipe;
    pipe.start();
    {
        init();
        TConfigRecord rec;
        rec.setPathBytes(QFile::encodeName(lng));
        QVERIFY(writeConfigFile(dir.filePath(QStringLiteral("Vastara.cfg")), rec));
        LanguageStartup(QString(), dir.filePath(QStringLiteral("Vastara.cfg")));
        QVERIFY(LngFileOk);
        QCOMPARE(int(LanguageIndex), 0); // the language saved in the record
        QVERIFY(!FourthLanguageLoaded);
    }
    QVERIFY(pipe.elapsed() < 2000);
    QFile::remove(lng);
    QStringList none;
    QCOMPARE(ReadLanguageFile(QStringLiteral("/dev/zero"), none), LanguageRead::NotOpened);
}

void TestHostile::hostileFlags()
{
    const QString lng = dir.filePath(QStringLiteral("bandiera.lng"));
    const QString bmp = dir.filePath(QStringLiteral("bandiera.bmp"));
    QByteArray lines = "000 *menu*\n";
    for (int i = 1; i < 199; ++i)
        lines += QByteArray::number(i).rightJustified(3, '0') + " t\n";
    QFile f(lng);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(lines);
    f.close();
    LngFileName = lng;
    auto flagFrom = [&](const QByteArray &data) {
        QFile b(bmp);
        if (!b.open(QIODevice::WriteOnly))
            return false;
        b.write(data);
        b.close();
        return LoadFlagPicture();
    };
    // A header that claims an enormous picture.
    QByteArray header("BM", 2);
    auto le32 = [](quint32 v) { return QByteArray(reinterpret_cast<const char *>(&v), 4); };
    auto le16 = [](quint16 v) { return QByteArray(reinterpret_cast<const char *>(&v), 2); };
    header += le32(54 + 16) + le32(0) + le32(54) + le32(40) + le32(60000) + le32(60000) + le16(1) + le16(24)
              + le32(0) + le32(0) + le32(2835) + le32(2835) + le32(0) + le32(0) + QByteArray(16, '\x55');
    QElapsedTimer t;
    t.start();
    QVERIFY(!flagFrom(header));
    QVERIFY(t.elapsed() < 2000);
    // Negative and zero sizes, a truncated palette, a file over the size limit.
    QByteArray neg = header;
    neg.replace(18, 4, le32(quint32(-5)));
    QVERIFY(!flagFrom(neg));
    QByteArray zero = header;
    zero.replace(18, 8, le32(0) + le32(0));
    QVERIFY(!flagFrom(zero));
    QVERIFY(!flagFrom(QByteArray("BM") + QByteArray(60, '\0')));
    QVERIFY(!flagFrom(QByteArray(MaxFlagFileSize + 10, 'B')));
    // Pictures that once got past the size limit (kept with the fuzz targets): a top-down
    // bitmap of 5000 x 5000, a GIF whose frame is far taller than its screen and a GIF whose
    // screen is far wider than the size it reports.
    const QDir regressions(qEnvironmentVariable("VASTARA_FUZZ_REGRESSIONS") + QStringLiteral("/fuzz_flag"));
    const QStringList oversized = regressions.entryList(QDir::Files);
    QVERIFY2(oversized.size() >= 3, qPrintable(regressions.path()));
    // Refusing them never takes more memory than one picture of the largest size allowed
    // (4096 x 4096 x 4 bytes): a GIF's whole screen is allocated before its frames are read.
    for (const QString &name : oversized) {
        QFile in(regressions.filePath(name));
        QVERIFY(in.open(QIODevice::ReadOnly));
        const QByteArray data = in.readAll();
        QVERIFY2(!flagFrom(data), qPrintable(name));
        QVERIFY(FlagBitmap.isNull());
        const int grownMiB = inChild([&] {
            rusage before{}, after{};
            getrusage(RUSAGE_SELF, &before);
            flagFrom(data);
            getrusage(RUSAGE_SELF, &after);
            return int(qBound(0L, (after.ru_maxrss - before.ru_maxrss) / 1024, 255L));
        });
        QVERIFY2(grownMiB >= 0 && grownMiB <= 72, qPrintable(name + QStringLiteral(": ") + QString::number(grownMiB)));
    }
    // A picture of the largest size allowed still loads, and the reader's global allocation
    // limit is as it was.
    const int limit = QImageReader::allocationLimit();
    QImage largest(4096, 4096, QImage::Format_RGB32);
    largest.fill(Qt::darkGreen);
    QVERIFY(largest.save(bmp, "PNG"));
    largest = QImage();
    QVERIFY(LoadFlagPicture());
    QCOMPARE(FlagBitmap.size(), QSize(4096, 4096));
    FlagBitmap = QImage();
    QCOMPARE(QImageReader::allocationLimit(), limit);
    // A real picture still loads after all that.
    QImage ok(32, 20, QImage::Format_RGB32);
    ok.fill(Qt::blue);
    QVERIFY(ok.save(bmp, "BMP"));
    QVERIFY(LoadFlagPicture());
    QCOMPARE(ImageList2().image(ImageList2().Add(FlagBitmap)).size(), QSize(16, 16));
}

void TestHostile::hostileHelpPages()
{
    // Pages beside the program that are far too large are not loaded; a malformed page is
    // shown as well as it can be. Both open without a crash or a hang.
    const QString huge = ProgramFolder() + QStringLiteral("test-hostile-huge.htm");
    const QString nested = ProgramFolder() + QStringLiteral("test-hostile-nested.htm");
    {
        QFile f(huge);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QVERIFY(f.resize(MaxHelpFileSize + 1));
        QFile g(nested);
        QVERIFY(g.open(QIODevice::WriteOnly));
        g.write(QByteArray("<ul><li>").repeated(20000) + QByteArray("<table><tr><td>").repeated(2000) + "<a href=\"#x");
    }
    QCOMPARE(HelpBrowser::NestingDepth("<ul><li>a</li><li><ol><li>b</li></ol></li></ul>"), 4);
    QCOMPARE(HelpBrowser::NestingDepth("<p>text</p><UL><LI>x</UL>"), 2);
    QElapsedTimer t;
    t.start();
    HelpTarget = QStringLiteral("test-hostile-huge.htm#x");
    {
        Tlegge legge(nullptr);
        QVERIFY(legge.bruca->toPlainText().isEmpty());
    }
    HelpTarget = QStringLiteral("test-hostile-nested.htm#x");
    {
        Tlegge legge(nullptr);
        legge.show();
        QCoreApplication::processEvents();
        QVERIFY(legge.bruca->toPlainText().isEmpty());
    }
    QVERIFY(t.elapsed() < 10000);
    QFile::remove(huge);
    QFile::remove(nested);
}

QTEST_MAIN(TestHostile)
#include "test_hostile.moc"
