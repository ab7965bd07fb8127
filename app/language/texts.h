#pragma once
// The three language tables of the user interface and the current language.
// Every entry is looked up by table, row (from 1) and language column; there is no fallback
// between languages, so an empty entry shows as an empty text.
#include <QString>

constexpr int MenuRows = 54, TitleRows = 45, ControlRows = 94;
constexpr int LanguageCount = 4;
constexpr int MaxEntryLength = 100;

// 0 Italian, 1 English, 2 French, 3 the fourth language.
extern quint8 LanguageIndex;

extern const char *const BuiltinMenuTexts[MenuRows][4];
extern const char *const BuiltinTitleTexts[TitleRows][4];
extern const char *const BuiltinControlTexts[ControlRows][4];

// Live tables, indexed [row][column] with rows from 1 (row 0 unused).
extern QString MenuTexts[MenuRows + 1][LanguageCount];
extern QString TitleTexts[TitleRows + 1][LanguageCount];
extern QString ControlTexts[ControlRows + 1][LanguageCount];

// Restores the built-in tables (program start).
void resetLanguageTables();

// Entries of the current language.
QString menuText(int row);
QString titleText(int row);
QString controlText(int row);

// The tooltip part of a hint written as "short|long".
QString shortHint(const QString &hint);
// The hint-line part of a hint: the text after "|", or the whole hint when it has none.
QString longHint(const QString &hint);

// Menu captions mark the letter of their keyboard shortcut with "&" ("&&" stands for an "&").
// A few mark two ("&In&glese", "&Load another &version"): the second is the one that sets the
// item apart from its neighbours ("&Italiano", "&Language"), and it is the only one kept.
QString OneMnemonic(const QString &caption);
// The caption as a screen reader reads it: no markers, "&&" read as "&".
QString StripMnemonics(const QString &caption);
// The letter a caption marks, in lower case (a null character when it marks none).
QChar MnemonicOf(const QString &caption);
// A name with "&" before its first letter that is not among the taken ones (lower case); any
// "&" in the name itself is doubled.
QString MarkFreeLetter(const QString &name, const QString &taken);

// Texts of the program that the language files do not carry (they came after the files'
// format was fixed): Italian, English and French; a language loaded from a file gets the
// English ones.
enum class ExtraText { SavePictureTitle, PngPictures, PictureNotSaved, ConfigNotSaved };
QString extraText(ExtraText which);
