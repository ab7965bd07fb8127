#include "brucatore.h"

#include "globals.h"
#include "language/texts.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QTextBrowser>
#include <QVBoxLayout>

// The deepest nesting of block elements (lists, tables, quotations, divisions) in a page.
// Pages nested far deeper than any real page would take the text layout minutes to lay out.
int HelpBrowser::NestingDepth(const QByteArray &html)
{
    static const char *const blocks[] = {"ul", "ol", "li", "table", "tr", "td", "th", "blockquote", "div", "dl", "dd"};
    int depth = 0, deepest = 0;
    const int n = html.size();
    for (int i = 0; i < n; ++i) {
        if (html[i] != '<')
            continue;
        int j = i + 1;
        const bool closing = j < n && html[j] == '/';
        if (closing)
            ++j;
        int k = j;
        while (k < n && k - j < 12 && ((html[k] >= 'a' && html[k] <= 'z') || (html[k] >= 'A' && html[k] <= 'Z')))
            ++k;
        const QByteArray tag = html.mid(j, k - j).toLower();
        for (const char *b : blocks) {
            if (tag == b) {
                depth = closing ? qMax(0, depth - 1) : depth + 1;
                deepest = qMax(deepest, depth);
                break;
            }
        }
        i = k - 1;
    }
    return deepest;
}

QVariant HelpBrowser::loadResource(int type, const QUrl &name)
{
    const QUrl url = name.isRelative() ? source().resolved(name) : name;
    if (url.isLocalFile()) {
        const QFileInfo info(url.toLocalFile());
        if (!info.isFile() || info.size() > MaxHelpFileSize)
            return QVariant();
        if (type == QTextDocument::HtmlResource) {
            QFile f(info.filePath());
            if (!f.open(QIODevice::ReadOnly))
                return QVariant();
            const QByteArray html = f.readAll();
            if (NestingDepth(html) > MaxHelpNesting)
                return QVariant();
            return html;
        }
    }
    return QTextBrowser::loadResource(type, name);
}

QUrl Tlegge::HelpUrl(const QString &target)
{
    const int hash = target.indexOf(QLatin1Char('#'));
    const QString page = hash < 0 ? target : target.left(hash);
    // The anchor goes in the fragment: a "#" inside a local path would be taken as part of
    // the file name.
    QUrl url = QUrl::fromLocalFile(ProgramFolder() + page);
    if (hash >= 0)
        url.setFragment(target.mid(hash + 1));
    return url;
}

Tlegge::Tlegge(QWidget *owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("legge"));
    setWindowTitle(titleText(42));
    resize(537, 375);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::yellow);
    setPalette(pal);
    setAutoFillBackground(true);
    if (const QScreen *s = QGuiApplication::primaryScreen())
        move(s->geometry().center() - QPoint(537 / 2, 375 / 2));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    barrasotto = new QWidget(this);
    barrasotto->setObjectName(QStringLiteral("barrasotto"));
    barrasotto->setAutoFillBackground(true);
    QPalette barPal = barrasotto->palette();
    barPal.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
    barrasotto->setPalette(barPal);
    auto *barLayout = new QHBoxLayout(barrasotto);
    barLayout->setContentsMargins(2, 2, 2, 2);
    BitBtn1 = new QPushButton(titleText(41), barrasotto);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setAutoDefault(false);
    barLayout->addWidget(BitBtn1);
    barLayout->addStretch(1);
    layout->addWidget(barrasotto);

    bruca = new HelpBrowser(this);
    bruca->setObjectName(QStringLiteral("bruca"));
    bruca->setOpenLinks(false);
    bruca->setOpenExternalLinks(false);
    layout->addWidget(bruca, 1);

    contentsPage = titleText(1) + QStringLiteral(".htm");
    connect(BitBtn1, &QPushButton::clicked, this, &Tlegge::BitBtn1Click);
    connect(bruca, &QTextBrowser::anchorClicked, this, &Tlegge::Follow);
    bruca->setSource(HelpUrl(HelpTarget));
}

void Tlegge::BitBtn1Click()
{
    bruca->setSource(HelpUrl(contentsPage));
}

void Tlegge::Follow(const QUrl &link)
{
    // Pages link to each other and to their own sections; nothing outside the help
    // collection is opened.
    const QUrl target = bruca->source().resolved(link);
    if (!target.isLocalFile())
        return;
    bruca->setSource(target);
}
