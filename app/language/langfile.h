#pragma once
// Language files, the fourth language's flag, the start-up choice of the language and the
// saving of the configuration.
//
// A language file (".lng") is a text of exactly 199 lines. Line 0 is "000 *menu*"; every
// other used line starts with four characters (a three-digit number and a blank) that are
// dropped, and at most its first 100 characters are kept before that:
//   1..4     MenuTexts row 54, columns 1..4 (the language's name)
//   5..57    MenuTexts rows 1..53, column 4
//   59..103  TitleTexts rows 1..45, column 4
//   105..198 ControlTexts rows 1..94, column 4
#include "config.h"

#include <QImage>
#include <QString>
#include <QStringList>

constexpr int LanguageFileLines = 199;
constexpr int LngFileNameMax = 250;
// No real language file comes near this; anything larger is refused unread.
constexpr qint64 MaxLanguageFileSize = 1 << 20;
constexpr qint64 MaxFlagFileSize = 4 << 20;
// The largest flag picture taken in, in pixels (4096 x 4096), and the memory that reading one
// may take at once: one such picture of 32 bits.
constexpr qint64 MaxFlagPixels = 4096LL * 4096LL;
constexpr int MaxFlagAllocationMiB = int(MaxFlagPixels * 4 / (1 << 20));

extern QString LngFileName;
extern bool LngFileOk;
extern QStringList LngLines;
extern QImage FlagBitmap;
extern bool DefaultItalian, DefaultEnglish, DefaultFrench, DefaultFourth;
extern TConfigRecord ConfigRecord;

// What the start-up decided for the fourth language's menu items.
extern bool FourthLanguageLoaded; // its switch item is shown
extern bool FourthDefaultShown;   // its default-language item is shown
extern int FlagIconIndex;         // index in ImageList2 of the flag, or -1

// The extension of a path: from the last "." after the last "/" (empty if none).
QString FileExtension(const QString &path);
// The path with its extension replaced.
QString ChangeFileExt(const QString &path, const QString &ext);
// The file-name part of a path (after the last "/").
QString ExtractFileName(const QString &path);

// A language file's text: without a leading byte-order mark, UTF-8 when the bytes are valid
// UTF-8, Latin-1 otherwise.
QString DecodeLanguageText(const QByteArray &data);
// Decodes a language file's bytes and splits the text into lines at LF, CR LF or CR; a final
// line break does not start another line.
QStringList SplitLanguageText(const QByteArray &data);

enum class LanguageRead { NotOpened, Read, TooLarge };
LanguageRead ReadLanguageFile(const QString &path, QStringList &lines);

// True when the lines make a language file: 199 lines, line 0 exactly "000 *menu*".
bool LanguageLinesValid(const QStringList &lines);

// Copies the texts of a valid language file into the fourth columns.
void LoadTablesFromLines(const QStringList &lines);

// Loads the flag picture that goes with LngFileName into FlagBitmap; false when there is
// none or it cannot be read as a picture.
bool LoadFlagPicture();

// The language chosen by the first five characters of LANG, or current when none matches.
int LanguageFromLang(const QString &lang5, int current);

// Start-up: configuration, language file, flag, LANG and remembered default, in that order.
void LanguageStartup(const QString &langEnv, const QString &configPath);

// True when the configuration differs from the record that was read (or made) at start-up.
bool ConfigurationChanged();
// True when the configuration is to be written at exit: it has changed and a default language
// is chosen.
bool ConfigurationToSave();
// Writes the configuration when it is to be written; returns whether a file was written.
bool SaveConfiguration(const QString &configPath);

// The folder of the shipped language files: share/vastara/languages beside the lib/ folder
// of an installed program, else the source tree's languages/ when run from the build; empty
// when there is neither.
QString LanguagesFolder();

// Resets every language-file and configuration value (program start).
void ResetLanguageState();
