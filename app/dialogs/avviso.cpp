#include "avviso.h"

#include "canvas.h"
#include "globals.h"
#include "imagelist.h"
#include "language/texts.h"
#include "numeric.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

TVersione::TVersione(QWidget *owner, const QString &fileName) : TVersione(owner, controlText(74), fileName) {}

TVersione::TVersione(QWidget *owner, const QString &message, const QString &fileName) : QDialog(owner)
{
    initResources();
    setObjectName(QStringLiteral("Versione"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint);
    setWindowTitle(titleText(1));
    setFixedSize(295, 133);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, toQColor(clBackground));
    setPalette(pal);
    setAutoFillBackground(true);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    const QPixmap info(QStringLiteral(":/info.png"));
    Image1->setPixmap(info);
    Image1->setGeometry(8, 8, info.isNull() ? 34 : info.width(), info.isNull() ? 39 : info.height());

    Label1 = new QLabel(message, this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont f1 = Label1->font();
    f1.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("DejaVu Sans")});
    f1.setPixelSize(11);
    f1.setBold(true);
    Label1->setFont(f1);
    Label1->adjustSize();

    Label2 = new QLabel(fileName, this);
    Label2->setObjectName(QStringLiteral("Label2"));
    QFont f2 = Label2->font();
    f2.setBold(true);
    Label2->setFont(f2);
    Label2->adjustSize();
    // Wider only for a text that would not fit between 4-pixel margins.
    const int w = qMax(295, qMax(Label1->width(), Label2->width()) + 8);
    if (w != width())
        setFixedSize(w, 133);
    Label1->move(Div(width() - Label1->width(), 2), 52);
    Label2->move(Div(width() - Label2->width(), 2), 72);

    BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(Div(width() - 75, 2), 100, 75, 25);
    BitBtn1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
}

void TVersione::mousePressEvent(QMouseEvent *e)
{
    SystemBeep();
    e->accept();
}
