#include <QtTest>
#include "canvas.h"
class TestCanvas : public QObject { Q_OBJECT private slots: void nothing(){ QVERIFY(true);} };
QTEST_MAIN(TestCanvas)
#include "test_canvas.moc"
