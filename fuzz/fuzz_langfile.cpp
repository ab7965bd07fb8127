// Language files: decoding and splitting into lines, the validity test, loading the tables and
// reading from a file.
//
// The input is the file's bytes. Besides the file as it stands (almost always refused), its lines
// are also put into the frame of a valid file (line 0 "000 *menu*", 199 lines, the input's lines
// repeated to fill it) so that the loading of every entry sees arbitrary text.
#include "fuzz_common.h"

#include "language/langfile.h"
#include "language/texts.h"

namespace {
QString fileName;

// The entry that a line gives: its first 100 characters without the first four.
void checkEntry(const QString &entry, const QString &line)
{
    FUZZ_CHECK(entry.size() <= MaxEntryLength - 4);
    FUZZ_CHECK(entry.size() == qBound(0, int(qMin<qsizetype>(line.size(), MaxEntryLength)) - 4, MaxEntryLength - 4));
    FUZZ_CHECK(QStringView(line).mid(4).startsWith(entry));
}

void checkLoaded(const QStringList &lines)
{
    FUZZ_CHECK(fuzz::entriesWithinLimit());
    FUZZ_CHECK(fuzz::otherColumnsUntouched());
    for (int i = 1; i <= 4; ++i)
        checkEntry(MenuTexts[54][i - 1], lines[i]);
    for (int i = 5; i <= 57; ++i)
        checkEntry(MenuTexts[i - 4][3], lines[i]);
    for (int i = 59; i <= 103; ++i)
        checkEntry(TitleTexts[i - 58][3], lines[i]);
    for (int i = 105; i <= 198; ++i)
        checkEntry(ControlTexts[i - 104][3], lines[i]);
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fileName = fuzz::scratchFolder() + QStringLiteral("/f.lng");
    fuzz::rememberTables();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    const QByteArray data(reinterpret_cast<const char *>(bytes), qsizetype(size));

    // Splitting: no line holds a line break, and the lines joined with LF give the text with
    // every CR LF and lone CR made an LF, less one final break.
    const QStringList lines = SplitLanguageText(data);
    // The text is the file's bytes less a byte-order mark, read as UTF-8 when they are that
    // (the decoder drops a second mark at the start too) and as Latin-1 otherwise.
    const QString text = DecodeLanguageText(data);
    const QByteArray bom("\xEF\xBB\xBF");
    const QByteArray body = data.startsWith(bom) ? data.mid(3) : data;
    const QByteArray utf8 = text.toUtf8();
    FUZZ_CHECK(utf8 == body || (body.startsWith(bom) && utf8 == body.mid(3)) || text == QString::fromLatin1(body));
    QString expected = text;
    expected.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    expected.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (expected.endsWith(QLatin1Char('\n')))
        expected.chop(1);
    for (const QString &line : lines)
        FUZZ_CHECK(!line.contains(QLatin1Char('\n')) && !line.contains(QLatin1Char('\r')));
    FUZZ_CHECK(lines.join(QLatin1Char('\n')) == expected);
    FUZZ_CHECK(lines.isEmpty() == text.isEmpty());

    // The file as it stands: loaded only when valid; a refused file leaves the tables alone.
    const bool valid = LanguageLinesValid(lines);
    FUZZ_CHECK(!valid || lines.size() == LanguageFileLines);
    LoadTablesFromLines(lines);
    if (valid) {
        checkLoaded(lines);
        resetLanguageTables();
    } else {
        FUZZ_CHECK(fuzz::tablesAsRemembered());
    }

    // Its lines in the frame of a valid file.
    QStringList framed;
    framed.reserve(LanguageFileLines);
    framed << QStringLiteral("000 *menu*");
    for (int i = 1; i < LanguageFileLines; ++i)
        framed << (lines.isEmpty() ? QString() : lines[(i - 1) % lines.size()]);
    FUZZ_CHECK(LanguageLinesValid(framed));
    LoadTablesFromLines(framed);
    checkLoaded(framed);
    fuzz::restoreTables();

    // Read from a file: the same lines.
    fuzz::writeFile(fileName, data);
    QStringList fromFile;
    const LanguageRead read = ReadLanguageFile(fileName, fromFile);
    FUZZ_CHECK(read == (data.size() > MaxLanguageFileSize ? LanguageRead::TooLarge : LanguageRead::Read));
    if (read == LanguageRead::Read)
        FUZZ_CHECK(fromFile == lines);
    else
        FUZZ_CHECK(fromFile.isEmpty());
    return 0;
}
