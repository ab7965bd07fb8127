#pragma once
// The program's notice: a message and a file's name under the information sign, and OK. It is
// shown when a language file cannot be loaded, and when a picture cannot be saved.
#include <QDialog>

class QLabel;
class QPushButton;

class TVersione : public QDialog
{
    Q_OBJECT
public:
    // fileName: the language file's name without its folder.
    TVersione(QWidget *owner, const QString &fileName);
    // Another message over the file's name; the notice widens to fit a long one.
    TVersione(QWidget *owner, const QString &message, const QString &fileName);

    QLabel *Image1 = nullptr;
    QLabel *Label1 = nullptr, *Label2 = nullptr;
    QPushButton *BitBtn1 = nullptr;

protected:
    void mousePressEvent(QMouseEvent *e) override;
};
