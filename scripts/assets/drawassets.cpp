// drawassets: draws every picture of the program into a resources folder.
//
//   drawassets <output folder>
//
// The output is deterministic: all noise comes from fixed seeds.
#include "assets.h"

#include <QCoreApplication>
#include <QDir>
#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <resources folder>\n", argv[0]);
        return 1;
    }
    const QString out = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    QDir().mkpath(out);
    bool ok = drawEarthPictures(out);
    ok = drawIcons(out) && ok;
    ok = drawGlyphs(out) && ok;
    ok = drawDialogPictures(out) && ok;
    if (!ok)
        return 1;
    std::printf("pictures written to %s\n", qPrintable(out));
    return 0;
}
