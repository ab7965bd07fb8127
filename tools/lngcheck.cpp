#include "lngcheck.h"

#include "language/langfile.h"
#include "language/texts.h"

namespace {

// Where a line's text goes: its table and row, or none for line 0 and the separators.
enum class Table { None, Name, Menu, Title, Control };
struct Place {
    Table table;
    int row;
};

Place PlaceOf(int line)
{
    if (line >= 1 && line <= 4)
        return {Table::Name, line};
    if (line >= 5 && line <= 57)
        return {Table::Menu, line - 4};
    if (line >= 59 && line <= 103)
        return {Table::Title, line - 58};
    if (line >= 105 && line <= 198)
        return {Table::Control, line - 104};
    return {Table::None, 0};
}

// The built-in Italian, English and French texts of a row.
QStringList BuiltIn(const Place &p)
{
    const char *const *row = nullptr;
    switch (p.table) {
    case Table::Menu: row = BuiltinMenuTexts[p.row - 1]; break;
    case Table::Title: row = BuiltinTitleTexts[p.row - 1]; break;
    case Table::Control: row = BuiltinControlTexts[p.row - 1]; break;
    default: return {};
    }
    return {QString::fromUtf8(row[0]), QString::fromUtf8(row[1]), QString::fromUtf8(row[2])};
}

// The accelerator markers of a caption: single "&"s, and whether one is doubled ("&&", which
// shows as a plain "&") or stands last with no letter to mark.
struct Markers {
    int single = 0;
    bool doubled = false;
    bool last = false;
};

Markers MarkersOf(const QString &caption)
{
    Markers m;
    for (int i = 0; i < caption.size(); ++i) {
        if (caption[i] != QLatin1Char('&'))
            continue;
        if (i + 1 < caption.size() && caption[i + 1] == QLatin1Char('&')) {
            m.doubled = true;
            ++i;
        } else if (i + 1 == caption.size()) {
            m.last = true;
        } else {
            ++m.single;
        }
    }
    return m;
}

} // namespace

QList<LngFault> CheckLanguageLines(const QStringList &lines)
{
    QList<LngFault> faults;
    if (lines.size() != LanguageFileLines)
        faults.append({-1, QStringLiteral("the file has %1 lines; a language file has exactly %2 "
                                          "(000 to 198), so the program refuses it")
                               .arg(lines.size())
                               .arg(LanguageFileLines)});
    if (lines.isEmpty() || lines[0] != QLatin1String("000 *menu*"))
        faults.append({0, QStringLiteral("the first line must be exactly \"000 *menu*\", "
                                         "or the program refuses the file")});

    const int last = qMin<int>(lines.size(), LanguageFileLines) - 1;
    for (int line = 1; line <= last; ++line) {
        const Place place = PlaceOf(line);
        if (place.table == Table::None)
            continue;
        const QString &raw = lines[line];
        const QString number = QStringLiteral("%1 ").arg(line, 3, 10, QLatin1Char('0'));
        if (!raw.startsWith(number)) {
            const QString head = raw.left(4);
            faults.append({line, QStringLiteral("begins with \"%1\" instead of \"%2\": the first four "
                                                "characters of a line are dropped, so the text "
                                                "may be cut or the lines shifted")
                                     .arg(head, number)});
        }
        if (raw.size() > MaxEntryLength)
            faults.append({line, QStringLiteral("is %1 characters long: only the first %2 are kept, "
                                                "so the text is cut after \"%3\"")
                                     .arg(raw.size())
                                     .arg(MaxEntryLength)
                                     .arg(raw.mid(4, MaxEntryLength - 4).right(20))});
        const QString text = raw.left(MaxEntryLength).mid(4);
        const QStringList builtIn = BuiltIn(place);
        if (builtIn.isEmpty())
            continue;
        const QString &italian = builtIn[0];

        if (place.table == Table::Menu && MarkersOf(italian).single > 0) {
            const Markers m = MarkersOf(text);
            if (m.doubled)
                faults.append({line, QStringLiteral("menu caption \"%1\" has a doubled \"&&\", which "
                                                    "shows as \"&\" and marks no letter").arg(text)});
            if (m.last)
                faults.append({line, QStringLiteral("menu caption \"%1\" ends with \"&\", which marks "
                                                    "no letter").arg(text)});
            if (m.single == 0 && !m.doubled && !m.last)
                faults.append({line, QStringLiteral("menu caption \"%1\" has no \"&\" before the letter "
                                                    "of its keyboard shortcut").arg(text)});
            else if (m.single > 1)
                faults.append({line, QStringLiteral("menu caption \"%1\" marks %2 letters with \"&\"; "
                                                    "it should mark one").arg(text).arg(m.single)});
        }
        if (place.table == Table::Control && italian.contains(QLatin1Char('|'))
            && !text.contains(QLatin1Char('|')))
            faults.append({line, QStringLiteral("hint \"%1\" has no \"|\" (the Italian \"%2\" has one): "
                                                "the tooltip is the text before it").arg(text, italian)});
        // Left in Italian: the Italian text itself, where English and French say it otherwise.
        const QString t = text.trimmed();
        if (!t.isEmpty() && t == italian.trimmed() && t != builtIn[1].trimmed() && t != builtIn[2].trimmed())
            faults.append({line, QStringLiteral("\"%1\" is still the Italian text").arg(t)});
    }
    return faults;
}

QString FormatFault(const LngFault &fault)
{
    if (fault.line < 0)
        return fault.message;
    return QStringLiteral("line %1: %2").arg(fault.line, 3, 10, QLatin1Char('0')).arg(fault.message);
}
