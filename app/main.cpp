// Vastara: earth science, astronomy and physics in animated simulations.
#include "vastara.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    TVastaras *window = new TVastaras;
    window->show();
    const int rc = app.exec();
    delete window;
    return rc;
}
