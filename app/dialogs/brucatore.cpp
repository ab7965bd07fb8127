#include "brucatore.h"

#include "globals.h"
#include "language/texts.h"

#include <QAccessibleWidget>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTextBlock>
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

namespace {
// A screen reader reads the help page as a document named by the page's title, through its
// text: the toolkit would show a browser as a label without a name.
class HelpDocument : public QAccessibleWidget, public QAccessibleTextInterface
{
public:
    explicit HelpDocument(HelpBrowser *b) : QAccessibleWidget(b, QAccessible::Document) {}

    void *interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        return QAccessibleWidget::interface_cast(t);
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = true;
        s.multiLine = true;
        s.selectableText = true;
        return s;
    }

    // Offsets are positions in the document; the end of the last paragraph is not one.
    int characterCount() const override { return browser()->document()->characterCount() - 1; }
    QString text(int start, int end) const override
    {
        QTextCursor c = at(start);
        c.setPosition(clamp(end), QTextCursor::KeepAnchor);
        // Paragraph, line and frame (table) boundaries are read as new lines.
        QString t = c.selectedText();
        for (QChar &ch : t)
            if (ch == QChar::ParagraphSeparator || ch == QChar::LineSeparator || ch == QChar(0xFDD0) || ch == QChar(0xFDD1))
                ch = QLatin1Char('\n');
        return t;
    }
    int cursorPosition() const override { return browser()->textCursor().position(); }
    void setCursorPosition(int position) override { browser()->setTextCursor(at(position)); }
    int selectionCount() const override { return browser()->textCursor().hasSelection() ? 1 : 0; }
    void selection(int index, int *start, int *end) const override
    {
        const QTextCursor c = browser()->textCursor();
        const bool has = index == 0 && c.hasSelection();
        *start = has ? c.selectionStart() : 0;
        *end = has ? c.selectionEnd() : 0;
    }
    void setSelection(int index, int start, int end) override
    {
        if (index != 0)
            return;
        QTextCursor c = at(start);
        c.setPosition(clamp(end), QTextCursor::KeepAnchor);
        browser()->setTextCursor(c);
    }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int index) override
    {
        if (index == 0)
            setCursorPosition(cursorPosition());
    }
    QRect characterRect(int offset) const override
    {
        QRect r = browser()->cursorRect(at(offset));
        r.setWidth(qMax(1, browser()->fontMetrics().horizontalAdvance(text(offset, offset + 1))));
        return r.translated(browser()->viewport()->mapToGlobal(QPoint(0, 0)));
    }
    int offsetAtPoint(const QPoint &point) const override
    {
        return browser()->cursorForPosition(browser()->viewport()->mapFromGlobal(point)).position();
    }
    void scrollToSubstring(int start, int end) override
    {
        const QRect first = browser()->cursorRect(at(start)), last = browser()->cursorRect(at(end));
        QScrollBar *bar = browser()->verticalScrollBar();
        if (first.top() < 0 || last.bottom() > browser()->viewport()->height())
            bar->setValue(bar->value() + first.top());
    }
    QString attributes(int offset, int *start, int *end) const override
    {
        Q_UNUSED(offset);
        *start = 0;
        *end = characterCount();
        return QString();
    }

private:
    HelpBrowser *browser() const { return static_cast<HelpBrowser *>(widget()); }
    int clamp(int offset) const { return qBound(0, offset, characterCount()); }
    QTextCursor at(int offset) const
    {
        QTextCursor c(browser()->document());
        c.setPosition(clamp(offset));
        return c;
    }
};

QAccessibleInterface *helpDocumentAccessible(const QString &, QObject *object)
{
    if (auto *b = qobject_cast<HelpBrowser *>(object))
        return new HelpDocument(b);
    return nullptr;
}
} // namespace

HelpBrowser::HelpBrowser(QWidget *parent) : QTextBrowser(parent)
{
    static const bool documentRole = (QAccessible::installFactory(helpDocumentAccessible), true);
    Q_UNUSED(documentRole);
    // Named after the page shown, or after the viewer for a page without a title.
    connect(this, &QTextBrowser::sourceChanged, this, [this] {
        const QString title = documentTitle().simplified();
        setAccessibleName(title.isEmpty() ? window()->windowTitle() : title);
    });
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
