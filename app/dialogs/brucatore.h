#pragma once
// The help viewer: an HTML browser opened at HelpTarget (a page beside the program, with an
// optional "#anchor"), and a button that goes back to the contents page.
#include <QDialog>
#include <QTextBrowser>
#include <QUrl>

class QPushButton;
class QWidget;

// The help pages are data beside the program: pages and pictures larger than any real page
// are not loaded, so a damaged or hostile file cannot take the memory of the classroom machine.
constexpr qint64 MaxHelpFileSize = 4 << 20;
constexpr int MaxHelpNesting = 100;

class HelpBrowser : public QTextBrowser
{
    Q_OBJECT
public:
    explicit HelpBrowser(QWidget *parent = nullptr);
    QVariant loadResource(int type, const QUrl &name) override;
    static int NestingDepth(const QByteArray &html);
};

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
    HelpBrowser *bruca = nullptr;

private:
    void Follow(const QUrl &link);
    QString contentsPage;
};
