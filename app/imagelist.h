#pragma once
// The 16 x 16 icons of the menu items and of the tool buttons (ImageList2), and the glyphs
// of the speed buttons.
#include <QIcon>
#include <QImage>
#include <QVector>

class ImageList
{
public:
    // Loads the program's 40 icons (index 0..39).
    void loadBuiltin();
    int Count() const { return images.size(); }
    // Adds a picture scaled to 16 x 16; returns its index, or -1 for an empty picture.
    int Add(const QImage &picture);
    QImage image(int index) const;
    QIcon icon(int index) const;

private:
    QVector<QImage> images;
};

// The main window's image list, shared by every window.
ImageList &ImageList2();

// A speed-button glyph: a strip of 16 x 16 pictures (up, disabled, down) from the resources.
QIcon GlyphIcon(const QString &name);
// The number of pictures in a glyph strip (0 when there is no such glyph).
int GlyphCount(const QString &name);

// Registers the compiled-in pictures; safe to call more than once.
void initResources();
