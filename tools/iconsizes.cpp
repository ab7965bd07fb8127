// Draws the program's icon for the desktop's icon theme at the sizes it asks for, from the
// same picture as the window icon: whole multiples are enlarged pixel for pixel so that the
// drawing stays sharp, other sizes are scaled smoothly.
//   vastara-iconsizes PICTURE OUTDIR NAME  ->  OUTDIR/<n>x<n>/apps/NAME.png
#include <QDir>
#include <QImage>
#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s PICTURE OUTDIR NAME\n", argv[0]);
        return 2;
    }
    const QImage source(QString::fromLocal8Bit(argv[1]));
    if (source.isNull()) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    const QString outDir = QString::fromLocal8Bit(argv[2]);
    const QString name = QString::fromLocal8Bit(argv[3]);
    for (const int n : {16, 32, 48, 64, 128, 256}) {
        const bool whole = n % source.width() == 0 && n % source.height() == 0;
        const QImage icon = source.scaled(n, n, Qt::IgnoreAspectRatio,
                                          whole ? Qt::FastTransformation : Qt::SmoothTransformation);
        const QString dir = QStringLiteral("%1/%2x%2/apps").arg(outDir).arg(n);
        if (!QDir().mkpath(dir) || !icon.save(dir + QLatin1Char('/') + name + QStringLiteral(".png"))) {
            std::fprintf(stderr, "cannot write the %dx%d icon in %s\n", n, n, qPrintable(dir));
            return 1;
        }
    }
    return 0;
}
