#include "riguardo.h"

#include "canvas.h"
#include "globals.h"
#include "imagelist.h"
#include "language/texts.h"
#include "numeric.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>

static QLabel *label(QWidget *parent, const QString &name, const QString &text, TColor color,
                     bool bold, int pixels = 11, const QStringList &families = {})
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(name);
    QFont f = l->font();
    if (!families.isEmpty())
        f.setFamilies(families);
    f.setPixelSize(pixels);
    f.setBold(bold);
    l->setFont(f);
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, toQColor(color));
    l->setPalette(p);
    l->adjustSize();
    return l;
}

static void centreIn(QLabel *l, const QWidget *panel)
{
    l->move(Div(panel->width() - l->width(), 2), l->y());
}

TInfo::TInfo(QWidget *owner) : QDialog(owner)
{
    initResources();
    setObjectName(QStringLiteral("Info"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setFixedSize(407, 278);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, toQColor(clOlive));
    setPalette(pal);
    setAutoFillBackground(true);
    if (const QScreen *s = QGuiApplication::primaryScreen())
        move(s->geometry().center() - QPoint(407 / 2, 278 / 2));

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(8, 8, 391, 172);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setAutoFillBackground(true);
    QPalette p1 = Panel1->palette();
    p1.setColor(QPalette::Window, toQColor(clBlue));
    Panel1->setPalette(p1);

    Image1 = new QLabel(Panel1);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(QPixmap(QStringLiteral(":/about_globe.png")));
    Image1->setGeometry(10, 10, 32, 32);

    SpeedButton1 = new QToolButton(Panel1);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setAutoRaise(true);
    SpeedButton1->setEnabled(false);
    const QImage glass(QStringLiteral(":/hourglass.png"));
    QIcon glassIcon;
    glassIcon.addPixmap(QPixmap::fromImage(glass.copy(0, 0, 32, 32)), QIcon::Disabled);
    glassIcon.addPixmap(QPixmap::fromImage(glass.copy(32, 0, 32, 32)), QIcon::Normal);
    SpeedButton1->setIcon(glassIcon);
    SpeedButton1->setIconSize(QSize(32, 32));
    SpeedButton1->setGeometry(0, 8, 36, 36);
    SpeedButton1->move(Panel1->x() + Panel1->width() - Round(2.5L * SpeedButton1->width()), 8);

    Version = label(Panel1, QStringLiteral("Version"), QStringLiteral("Gruppo Vastara, 2026"), clWhite, true);
    ProductName = label(Panel1, QStringLiteral("ProductName"), titleText(33), clWhite, true, 16);
    ProductName->setAlignment(Qt::AlignHCenter);
    Label2 = label(Panel1, QStringLiteral("Label2"), titleText(34), clWhite, true);
    Label3 = label(Panel1, QStringLiteral("Label3"), titleText(39), clWhite, true);
    Label7 = label(Panel1, QStringLiteral("Label7"), QStringLiteral("https://vastara.example.org"), clAqua, false);
    Version->move(0, 14);
    ProductName->move(0, 52);
    Label2->move(0, 80);
    Label7->move(0, Panel1->height() - Label7->height() - 2);
    Label3->move(0, Label7->y() - Label3->height() - 2);
    for (QLabel *l : {Version, ProductName, Label2, Label3, Label7})
        centreIn(l, Panel1);

    Panel2 = new QFrame(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setGeometry(8, 184, 391, 58);
    Panel2->setAutoFillBackground(true);
    QPalette p2 = Panel2->palette();
    p2.setColor(QPalette::Window, toQColor(clSilver));
    Panel2->setPalette(p2);
    Label1 = label(Panel2, QStringLiteral("Label1"), titleText(43), clBlack, false);
    Label1->setAttribute(Qt::WA_TranslucentBackground);
    Label4 = label(Panel2, QStringLiteral("Label4"), titleText(44), clBlack, true);
    Label5 = label(Panel2, QStringLiteral("Label5"), titleText(45), clBlack, false, 10,
                   {QStringLiteral("adobe-courier"), QStringLiteral("DejaVu Sans Mono")});
    Label6 = label(Panel2, QStringLiteral("Label6"), QStringLiteral("https://spaceplace.nasa.gov"), clBlack, true);
    Label1->move(6, 4);
    Label4->move(0, 4);
    Label5->move(0, 4 + Label4->height() + 1);
    Label6->move(0, Label5->y() + Label5->height() + 1);
    for (QLabel *l : {Label4, Label5, Label6})
        centreIn(l, Panel2);

    BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(Div(407 - 75, 2), 247, 75, 25);
    BitBtn1->setDefault(true);
    BitBtn1->setFocus();
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
}

void TInfo::mousePressEvent(QMouseEvent *e)
{
    SystemBeep();
    e->accept();
}
