// vastara-lngcheck FILE...: checks language files for their translators. Prints each fault
// by line number (the file's own numbering, 000 to 198); exits 0 when every file is sound,
// 1 when one has faults, 2 when one cannot be read.
#include "lngcheck.h"

#include "language/langfile.h"

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FILE.lng...\n", argv[0]);
        return 2;
    }
    int rc = 0;
    for (int i = 1; i < argc; ++i) {
        const QString path = QString::fromLocal8Bit(argv[i]);
        QStringList lines;
        const LanguageRead r = ReadLanguageFile(path, lines);
        if (r != LanguageRead::Read) {
            std::fprintf(stderr, "%s: %s\n", argv[i],
                         r == LanguageRead::TooLarge ? "too large for a language file" : "cannot be read");
            rc = 2;
            continue;
        }
        const QList<LngFault> faults = CheckLanguageLines(lines);
        for (const LngFault &f : faults)
            std::printf("%s: %s\n", argv[i], qPrintable(FormatFault(f)));
        if (faults.isEmpty())
            std::printf("%s: no faults\n", argv[i]);
        else if (rc == 0)
            rc = 1;
    }
    return rc;
}
