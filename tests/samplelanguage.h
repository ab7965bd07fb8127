#pragma once
// A valid language file for tests and fuzzing: line 0 "000 *menu*", then 198 numbered lines
// whose text names its row (the language's four names, then M<n>, T<n> and C<n> for the menu,
// title and control rows, "---" on the two separator lines).
#include <QString>
#include <QStringList>

inline QStringList sampleLanguageLines()
{
    QStringList lines;
    lines << QStringLiteral("000 *menu*");
    const char *names[] = {"Spagnolo", "Spanish", "Espagnol", "Español"};
    for (int i = 1; i <= 198; ++i) {
        QString text;
        if (i <= 4)
            text = QString::fromUtf8(names[i - 1]);
        else if (i <= 57)
            text = QStringLiteral("M%1").arg(i - 4);
        else if (i == 58 || i == 104)
            text = QStringLiteral("---");
        else if (i <= 103)
            text = QStringLiteral("T%1").arg(i - 58);
        else
            text = QStringLiteral("C%1").arg(i - 104);
        lines << QStringLiteral("%1 %2").arg(i, 3, 10, QLatin1Char('0')).arg(text);
    }
    return lines;
}
