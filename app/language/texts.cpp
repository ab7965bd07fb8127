#include "texts.h"

#include <QList>

quint8 LanguageIndex = 1;

QString MenuTexts[MenuRows + 1][LanguageCount];
QString TitleTexts[TitleRows + 1][LanguageCount];
QString ControlTexts[ControlRows + 1][LanguageCount];

namespace {
template <int Rows>
void fill(QString (&table)[Rows + 1][LanguageCount], const char *const (&builtin)[Rows][4])
{
    for (int c = 0; c < LanguageCount; ++c)
        table[0][c].clear();
    for (int r = 0; r < Rows; ++r)
        for (int c = 0; c < LanguageCount; ++c)
            table[r + 1][c] = QString::fromUtf8(builtin[r][c]).left(MaxEntryLength);
}

template <int Rows>
QString lookup(const QString (&table)[Rows + 1][LanguageCount], int row)
{
    if (row < 1 || row > Rows || LanguageIndex >= LanguageCount)
        return QString();
    return table[row][LanguageIndex];
}

struct Init {
    Init() { resetLanguageTables(); }
} init;
} // namespace

void resetLanguageTables()
{
    fill<MenuRows>(MenuTexts, BuiltinMenuTexts);
    fill<TitleRows>(TitleTexts, BuiltinTitleTexts);
    fill<ControlRows>(ControlTexts, BuiltinControlTexts);
}

QString menuText(int row) { return lookup<MenuRows>(MenuTexts, row); }
QString titleText(int row) { return lookup<TitleRows>(TitleTexts, row); }
QString controlText(int row) { return lookup<ControlRows>(ControlTexts, row); }

QString shortHint(const QString &hint)
{
    const int bar = hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? hint : hint.left(bar);
}

QString longHint(const QString &hint)
{
    const int bar = hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? hint : hint.mid(bar + 1);
}

// The positions of the characters a caption marks (the "&" before each is at position - 1).
static QList<int> markedPositions(const QString &caption)
{
    QList<int> marked;
    for (int i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != QLatin1Char('&'))
            continue;
        if (caption[i + 1] != QLatin1Char('&'))
            marked.append(i + 1);
        ++i; // the character after an "&" is never a marker itself
    }
    return marked;
}

QString OneMnemonic(const QString &caption)
{
    const QList<int> marked = markedPositions(caption);
    QString one = caption;
    for (int k = int(marked.size()) - 2; k >= 0; --k)
        one.remove(marked[k] - 1, 1);
    return one;
}

QString StripMnemonics(const QString &caption)
{
    QString plain;
    plain.reserve(caption.size());
    for (int i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&') && i + 1 < caption.size())
            ++i;
        plain += caption[i];
    }
    return plain;
}

QChar MnemonicOf(const QString &caption)
{
    const QList<int> marked = markedPositions(caption);
    return marked.isEmpty() ? QChar() : caption[marked.constFirst()].toLower();
}

QString MarkFreeLetter(const QString &name, const QString &taken)
{
    QString marked;
    bool done = false;
    for (const QChar c : name) {
        if (!done && c.isLetter() && !taken.contains(c.toLower())) {
            marked += QLatin1Char('&');
            done = true;
        }
        marked += c;
        if (c == QLatin1Char('&'))
            marked += c;
    }
    return marked;
}

QString extraText(ExtraText which)
{
    static const char *const texts[][3] = {
        {"Salva l'immagine", "Save the picture", "Enregistrer l'image"},
        {"Immagini PNG (*.png)", "PNG pictures (*.png)", "Images PNG (*.png)"},
        {"Impossibile salvare l'immagine", "The picture could not be saved", "Impossible d'enregistrer l'image"},
        {"Impossibile salvare la configurazione:", "The configuration could not be saved:",
         "Impossible d'enregistrer la configuration :"},
    };
    const int column = LanguageIndex <= 2 ? LanguageIndex : 1;
    return QString::fromUtf8(texts[int(which)][column]);
}
