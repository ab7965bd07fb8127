#include "imagelist.h"

#include <QPainter>
#include <QPixmap>

void initResources()
{
    static bool done = false;
    if (!done) {
        Q_INIT_RESOURCE(resources);
        done = true;
    }
}

void ImageList::loadBuiltin()
{
    initResources();
    images.clear();
    for (int i = 0; i < 40; ++i) {
        QImage img(QStringLiteral(":/icons/icon%1.png").arg(i, 2, 10, QLatin1Char('0')));
        if (img.isNull()) {
            img = QImage(16, 16, QImage::Format_ARGB32);
            img.fill(Qt::transparent);
        }
        images.append(img.convertToFormat(QImage::Format_ARGB32));
    }
}

int ImageList::Add(const QImage &picture)
{
    if (picture.isNull() || picture.width() <= 0 || picture.height() <= 0)
        return -1;
    QImage scaled = picture.size() == QSize(16, 16)
                        ? picture
                        : picture.scaled(16, 16, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    images.append(scaled.convertToFormat(QImage::Format_ARGB32));
    return images.size() - 1;
}

QImage ImageList::image(int index) const
{
    if (index < 0 || index >= images.size())
        return QImage();
    return images[index];
}

QIcon ImageList::icon(int index) const
{
    const QImage img = image(index);
    if (img.isNull())
        return QIcon();
    return QIcon(QPixmap::fromImage(img));
}

ImageList &ImageList2()
{
    static ImageList list;
    if (list.Count() == 0)
        list.loadBuiltin();
    return list;
}

static QImage glyphStrip(const QString &name)
{
    initResources();
    return QImage(QStringLiteral(":/glyphs/%1.png").arg(name));
}

int GlyphCount(const QString &name)
{
    const QImage strip = glyphStrip(name);
    return strip.isNull() ? 0 : strip.width() / 16;
}

QIcon GlyphIcon(const QString &name)
{
    const QImage strip = glyphStrip(name);
    QIcon icon;
    if (strip.isNull())
        return icon;
    const int n = strip.width() / 16;
    const QPixmap up = QPixmap::fromImage(strip.copy(0, 0, 16, 16));
    icon.addPixmap(up, QIcon::Normal, QIcon::Off);
    if (n >= 2)
        icon.addPixmap(QPixmap::fromImage(strip.copy(16, 0, 16, 16)), QIcon::Disabled, QIcon::Off);
    icon.addPixmap(n >= 3 ? QPixmap::fromImage(strip.copy(32, 0, 16, 16)) : up, QIcon::Normal, QIcon::On);
    return icon;
}
