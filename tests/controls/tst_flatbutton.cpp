#include "controls/flatbutton.h"
#include "testmain.h"

#include <QImage>
#include <QSignalSpy>

using namespace brevane;

class FlatButtonTests : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void enableWithEdges()
    {
        FlatButton button(QStringLiteral("Save"));
        button.enableWithEdges(false, kEdgeWhite);
        QVERIFY(!button.isEnabled());
        button.enableWithEdges(true, kEdgeWhite);
        QVERIFY(button.isEnabled());
        // The windows reach the colours by their design names too.
        QCOMPARE(button.property("ShadowColor").value<QColor>(), kEdgeWhite);
    }

    void paintsEdgesAndBackground()
    {
        FlatButton button(QStringLiteral("17"));
        button.resize(120, 30);
        const QColor highlight(255, 0, 0);
        const QColor shadow(0, 0, 255);
        const QColor back(192, 255, 192);
        button.setHighlightColor(highlight);
        button.setShadowColor(shadow);
        button.setBackColor(back);
        for (const bool enabled : {true, false}) {
            button.setEnabled(enabled);
            const QImage image = button.grab().toImage();
            QCOMPARE(image.pixelColor(60, 0), highlight);  // top
            QCOMPARE(image.pixelColor(0, 15), highlight);  // left
            QCOMPARE(image.pixelColor(60, 29), shadow);    // bottom
            QCOMPARE(image.pixelColor(119, 15), shadow);   // right
            QCOMPARE(image.pixelColor(2, 2), back);        // inside, away from the caption
        }
    }

    void rightReleaseOnlyOverTheButton()
    {
        FlatButton button(QStringLiteral("5"));
        button.resize(40, 30);
        QSignalSpy right(&button, &FlatButton::rightReleased);
        QSignalSpy clicked(&button, &FlatButton::clicked);
        for (const QPoint releaseAt : {QPoint(200, 10), QPoint(10, 10)}) {
            QTest::mousePress(&button, Qt::RightButton, {}, QPoint(10, 10));
            QTest::mouseRelease(&button, Qt::RightButton, {}, releaseAt);
        }
        QCOMPARE(right.count(), 1);
        QCOMPARE(right.first().first().toPoint(), button.mapToGlobal(QPoint(10, 10)));
        QCOMPARE(clicked.count(), 0);
        QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(clicked.count(), 1);
    }

    void sizeHintFitsCaption()
    {
        const FlatButton button(QStringLiteral("Delete To-Do Item"));
        const QSize hint = static_cast<const QWidget &>(button).sizeHint();
        QVERIFY2(hint.width() > button.fontMetrics().horizontalAdvance(button.text()),
                 qPrintable(QString::number(hint.width())));
    }
};

BREVANE_TEST(FlatButtonTests)

#include "tst_flatbutton.moc"
