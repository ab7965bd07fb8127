#pragma once
// The help viewer: an HTML browser opened at HelpTarget (a page beside the program, with an
// optional "#anchor"), and a button that goes back to the contents page.
#include <QDialog>
#include <QUrl>

class QPushButton;
class QTextBrowser;
class QWidget;

class Tlegge : public QDialog
{
    Q_OBJECT
public:
    explicit Tlegge(QWidget *owner);

    void BitBtn1Click();
    // The URL for a help target relative to the program's folder ("page.htm#anchor").
    static QUrl HelpUrl(const QString &target);

    QWidget *barrasotto = nullptr;
    QPushButton *BitBtn1 = nullptr;
    QTextBrowser *bruca = nullptr;

private:
    void Follow(const QUrl &link);
    QString contentsPage;
};
