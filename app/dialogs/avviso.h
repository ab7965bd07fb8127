#pragma once
// The notice shown when a language file cannot be loaded: the message and the file's name.
#include <QDialog>

class QLabel;
class QPushButton;

class TVersione : public QDialog
{
    Q_OBJECT
public:
    // fileName: the language file's name without its folder.
    TVersione(QWidget *owner, const QString &fileName);

    QLabel *Image1 = nullptr;
    QLabel *Label1 = nullptr, *Label2 = nullptr;
    QPushButton *BitBtn1 = nullptr;

protected:
    void mousePressEvent(QMouseEvent *e) override;
};
