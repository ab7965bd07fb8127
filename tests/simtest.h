#pragma once
// Helpers shared by the window tests.
#include "canvas.h"
#include "dialogs/brucatore.h"
#include "globals.h"
#include "simwindow.h"
#include "vastara.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCoreApplication>
#include <QImage>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QSlider>
#include <QSpinBox>
#include <QTest>
#include <QUrl>

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

// Controls driven as a person drives them, through the toolkit's own mouse and key handling:
// a setter fires fewer signals than a person's choice does, and a fault can hide behind it.

// A drop-down list opened with a click and an item clicked in it.
inline void ChooseByMouse(QComboBox *list, int item)
{
    QTest::mouseClick(list, Qt::LeftButton, {}, list->rect().center());
    if (!list->view()->isVisible())
        list->showPopup();
    QAbstractItemView *view = list->view();
    const QModelIndex index = view->model()->index(item, list->modelColumn(), list->rootModelIndex());
    view->scrollTo(index);
    const QPoint at = view->visualRect(index).center();
    QTest::mouseMove(view->viewport(), at);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
}

// A drop-down list opened from the keyboard (F4), the item reached with the arrow keys from the
// first one and chosen with Return.
inline void ChooseByKeys(QComboBox *list, int item)
{
    list->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(list, Qt::Key_F4);
    QAbstractItemView *view = list->view();
    QTest::keyClick(view, Qt::Key_Home);
    for (int i = 0; i < item; ++i)
        QTest::keyClick(view, Qt::Key_Down);
    QTest::keyClick(view, Qt::Key_Return);
}

// A track bar moved by a key (arrows, page keys, Home, End) or by a click on its groove,
// chosen by `how`.
inline void SlideByInput(QSlider *bar, quint32 how)
{
    static const Qt::Key keys[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_PageUp, Qt::Key_PageDown,
                                   Qt::Key_Home, Qt::Key_End};
    if (how % 3 == 0 && bar->width() > 0 && bar->height() > 0) {
        const QPoint at(int((how >> 8) % quint32(bar->width())), int((how >> 20) % quint32(bar->height())));
        QTest::mouseClick(bar, Qt::LeftButton, {}, at);
    } else {
        bar->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(bar, keys[(how >> 4) % 6]);
    }
}

// A number typed into a spin edit over what it held, and Return.
inline void TypeInto(QSpinBox *edit, int value)
{
    edit->setFocus(Qt::OtherFocusReason);
    edit->findChild<QLineEdit *>()->selectAll();
    QTest::keyClicks(edit, QString::number(value));
    QTest::keyClick(edit, Qt::Key_Return);
}
