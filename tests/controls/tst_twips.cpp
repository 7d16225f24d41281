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
        QWidget probe;
        if (probe.logicalDpiX() != 96) {
            QSKIP("the conversions are checked at 96 dpi");
        }
    }

    void toPixels_data()
    {
        QTest::addColumn<double>("twips");
        QTest::addColumn<int>("pixels");
        QTest::newRow("one inch") << 1440.0 << 96;
        QTest::newRow("one pixel") << 15.0 << 1;
        QTest::newRow("just under half a pixel") << 7.0 << 0;
        QTest::newRow("just over half a pixel") << 8.0 << 1;
        QTest::newRow("zero") << 0.0 << 0;
        QTest::newRow("negative") << -1500.0 << -100;
        QTest::newRow("beyond int") << 1e15 << std::numeric_limits<int>::max();
        QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << 0;
    }

    void toPixels()
    {
        QFETCH(double, twips);
        QFETCH(int, pixels);
        QWidget widget;
        QCOMPARE(twips::toPixels(&widget, twips), pixels);
    }

    void fromPixels()
    {
        QWidget widget;
        QCOMPARE(twips::twipsPerPixel(&widget), 15.0);
        QCOMPARE(twips::fromPixels(&widget, 96), 1440.0);
        QCOMPARE(twips::fromPixels(&widget, 0), 0.0);
    }

    void childGeometry()
    {
        QWidget parent;
        parent.resize(400, 300);
        auto *child = new QWidget(&parent);

        twips::setGeometry(child, 150, 300, 1500, 450);
        QCOMPARE(child->geometry(), QRect(10, 20, 100, 30));
        QCOMPARE(twips::left(child), 150.0);
        QCOMPARE(twips::top(child), 300.0);
        QCOMPARE(twips::width(child), 1500.0);
        QCOMPARE(twips::height(child), 450.0);

        // Each setter changes its own edge and keeps the others.
        twips::setLeft(child, 300);
        twips::setTop(child, 600);
        QCOMPARE(child->geometry(), QRect(20, 40, 100, 30));
        twips::setWidth(child, 3000);
        twips::setHeight(child, 150);
        QCOMPARE(child->geometry(), QRect(20, 40, 200, 10));

        // A width computed below zero on a tiny window leaves an empty widget.
        twips::setWidth(child, -600);
        QCOMPARE(child->width(), 0);
    }
};

BREVANE_TEST(TwipsTests)

#include "tst_twips.moc"
