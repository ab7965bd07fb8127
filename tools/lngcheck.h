#pragma once
// The checks of a language file for its translator: everything that would make the program
// refuse the file or show a text badly, each by the line it is on.
#include <QList>
#include <QString>
#include <QStringList>

struct LngFault {
    int line;        // the file's own numbering, 0 to 198 (-1: the file as a whole)
    QString message;
};

// The faults of a language file's lines (as the program reads them), in line order.
QList<LngFault> CheckLanguageLines(const QStringList &lines);

// "line 057: ..." (or the message alone for the file as a whole).
QString FormatFault(const LngFault &fault);
