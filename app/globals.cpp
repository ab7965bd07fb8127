#include "globals.h"

#include <QApplication>
#include <QDialog>

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
