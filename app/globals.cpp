#include "globals.h"

#include <QApplication>
#include <QDateTime>
#include <QDialog>
#include <QScreen>

TVastaras *Vastaras = nullptr;
bool WindowClosed[SlotCount + 1];
bool HintsOn = false;
int ChildWidth = 0, ChildHeight = 0;
int BarHeight = 0, ControlHeight = 0, ControlTop = 0;
QString HelpTarget;
int SplashTicks = 0;
int BeepCount = 0;

namespace {
struct Init {
    Init() { resetGlobals(); }
} init;
} // namespace

void resetGlobals()
{
    for (bool &slot : WindowClosed)
        slot = true;
    HintsOn = false;
    ChildWidth = ChildHeight = 0;
    BarHeight = ControlHeight = ControlTop = 0;
    HelpTarget.clear();
    SplashTicks = 0;
}

std::function<int(QDialog *)> ModalRunner;

int ShowModal(QDialog *dialog)
{
    if (ModalRunner)
        return ModalRunner(dialog);
    return dialog->exec();
}

void SystemBeep()
{
    ++BeepCount;
    QApplication::beep();
}

QString ProgramFolder()
{
    QString dir = QCoreApplication::applicationDirPath();
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return dir;
}

quint32 RandSeed = 0;
static std::optional<quint32> fixedSeed;

int Random(int n)
{
    RandSeed = RandSeed * 0x08088405u + 1u;
    if (n <= 0)
        return 0;
    return int((quint64(RandSeed) * quint64(quint32(n))) >> 32);
}

void Randomize()
{
    RandSeed = fixedSeed ? *fixedSeed : quint32(QDateTime::currentMSecsSinceEpoch());
}

void FixRandomizeSeed(std::optional<quint32> seed)
{
    fixedSeed = seed;
}

static QSize screenSize()
{
    const QScreen *s = QGuiApplication::primaryScreen();
    return s ? s->geometry().size() : QSize(1024, 768);
}

int ScreenWidth()
{
    return screenSize().width();
}

int ScreenHeight()
{
    return screenSize().height();
}
