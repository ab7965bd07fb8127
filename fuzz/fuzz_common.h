#pragma once
// Helpers shared by the fuzz targets.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdio>

// An invariant of the readers; a violation stops the run as a crash, so libFuzzer keeps the
// input that broke it.
#define FUZZ_CHECK(cond)                                                                          \
    do {                                                                                          \
        if (!(cond)) {                                                                            \
            std::fprintf(stderr, "invariant broken: %s (%s:%d)\n", #cond, __FILE__, __LINE__);    \
            __builtin_trap();                                                                     \
        }                                                                                         \
    } while (0)

namespace fuzz {

// Creates the application object once, on the offscreen platform, as the program has one when
// it loads pictures (some picture formats draw text and need the font database).
void startGuiApplication();

// A private scratch folder, made once and removed at a normal exit.
QString scratchFolder();

void writeFile(const QString &path, const QByteArray &data);
QByteArray readFile(const QString &path);

QByteArray validLanguageFile();

// A copy of the three tables as they are after resetLanguageTables(), to compare with.
void rememberTables();
// Puts the remembered entries back (without rebuilding them, as resetLanguageTables does).
void restoreTables();
// Entries outside the fourth columns (and outside MenuTexts row 54) equal the remembered ones.
bool otherColumnsUntouched();
// Every entry equals the remembered one.
bool tablesAsRemembered();
// Every entry of every table holds at most MaxEntryLength characters.
bool entriesWithinLimit();

// The image list as it is at start, so that each input starts from it again (the program adds
// one image per flag it loads; over millions of inputs that would only measure the list).
void rememberImageList();
void restoreImageList();
int rememberedImageCount();

} // namespace fuzz
