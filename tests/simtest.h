#pragma once
// Helpers shared by the window tests.
#include "canvas.h"
#include "dialogs/brucatore.h"
#include "globals.h"
#include "simwindow.h"
#include "vastara.h"

#include <QImage>
#include <QUrl>
#include <QCoreApplication>
#include <QMdiSubWindow>

// Records the help viewers opened while it lives (page target and the browser's source),
// closing each at once instead of waiting for a user.
struct HelpCapture {
    QString target;
    QUrl source;
    int opened = 0;
    HelpCapture()
    {
        ModalRunner = [this](QDialog *d) {
            if (auto *legge = qobject_cast<Tlegge *>(d)) {
                target = HelpTarget;
                source = legge->bruca->source();
                ++opened;
            }
            return int(QDialog::Accepted);
        };
    }
    ~HelpCapture() { ModalRunner = nullptr; }
    HelpCapture(const HelpCapture &) = delete;
    HelpCapture &operator=(const HelpCapture &) = delete;
};

// A pixel of a picture as a TColor.
inline TColor pixelAt(const QImage &img, int x, int y)
{
    const QRgb p = img.pixel(x, y);
    return RGB(qRed(p), qGreen(p), qBlue(p));
}

// True when the colour is at (x, y) or one of its eight neighbours.
inline bool colourNear(const QImage &img, int x, int y, TColor colour)
{
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (img.rect().contains(x + dx, y + dy) && pixelAt(img, x + dx, y + dy) == colour)
                return true;
    return false;
}

// Opens the window of a menu item with exactly the given client size: a first opening
// measures the frame's border, the second is made that much larger. Null if it did not fit.
inline SimWindow *OpenAtClient(TVastaras *main, const QString &item, QSize client)
{
    main->OpenSimulation(item);
    SimWindow *w = main->ActiveSim();
    if (!w || !w->Frame())
        return nullptr;
    const QSize frame = w->Frame()->size() - w->size();
    w->Frame()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ChildWidth = client.width() + frame.width();
    ChildHeight = client.height() + frame.height();
    main->OpenSimulation(item);
    w = main->ActiveSim();
    return w && w->size() == client ? w : nullptr;
}
