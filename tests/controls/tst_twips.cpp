#include "controls/twips.h"
#include "testmain.h"

#include <QWidget>

#include <limits>

using namespace brevane;

class TwipsTests : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        if (QWidget().logicalDpiX() != 96)
            QSKIP("the conversions are checked at 96 dpi");
    }

    void toPixels_data()
    {
        QTest::addColumn<double>("twips");
        QTest::addColumn<int>("pixels");
        QTest::newRow("one inch") << 1440.0 << 96;
        QTest::newRow("beyond int") << 1e15 << std::numeric_limits<int>::max();
        QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << 0;
    }
    void toPixels()
    {
        QFETCH(double, twips);
        QWidget widget;
        QTEST(twips::toPixels(&widget, twips), "pixels");
    }

    void childGeometry()
    {
        QWidget parent;
        auto *child = new QWidget(&parent);
        twips::setGeometry(child, 150, 300, 1500, 450);
        QVERIFY(child->geometry() == QRect(10, 20, 100, 30) && twips::width(child) == 1500.0); // and back
        twips::setWidth(child, -600); // a width computed below zero on a tiny window leaves an empty widget
        QCOMPARE(child->geometry(), QRect(10, 20, 0, 30));
        twips::setWidthIfRoom(child, 1500); // the layouts' variant keeps the previous size when there is no room
        twips::setWidthIfRoom(child, 7);
        twips::setHeightIfRoom(child, -60);
        QCOMPARE(child->size(), QSize(100, 30));
    }
};

BREVANE_TEST(TwipsTests)

#include "tst_twips.moc"
