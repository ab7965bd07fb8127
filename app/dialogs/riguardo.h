#pragma once
// The About box: program name and credits on a blue panel, a related web site on a silver
// panel, and an OK button. A click anywhere else beeps.
#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;
class QToolButton;

class TInfo : public QDialog
{
    Q_OBJECT
public:
    explicit TInfo(QWidget *owner);

    QFrame *Panel1 = nullptr, *Panel2 = nullptr;
    QLabel *Image1 = nullptr;
    QToolButton *SpeedButton1 = nullptr;
    QLabel *Version = nullptr, *ProductName = nullptr, *Label2 = nullptr, *Label3 = nullptr, *Label7 = nullptr;
    QLabel *Label1 = nullptr, *Label4 = nullptr, *Label5 = nullptr, *Label6 = nullptr;
    QPushButton *BitBtn1 = nullptr;

protected:
    void mousePressEvent(QMouseEvent *e) override;
};
