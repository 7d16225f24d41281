#include "controls/flatbutton.h"
#include "testmain.h"

#include <QImage>
#include <QSignalSpy>

using namespace brevane;

namespace {

// The button keeps its size hint protected; layouts reach it as a QWidget.
QSize hintOf(const QWidget &widget)
{
    return widget.sizeHint();
}

} // namespace

class FlatButtonTests : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void enableWithEdges_data()
    {
        QTest::addColumn<bool>("startEnabled");
        QTest::addColumn<bool>("enable");
        QTest::addColumn<QColor>("edge");
        QTest::addColumn<QColor>("expectedEdge");
        QTest::newRow("enable grey") << false << true << kEdgeGrey << kEdgeGrey;
        QTest::newRow("enable white") << false << true << kEdgeWhite << kEdgeWhite;
        QTest::newRow("disable ignores the edge") << true << false << kEdgeGrey << kEdgeLightGrey;
        QTest::newRow("disable twice") << false << false << kEdgeWhite << kEdgeLightGrey;
    }

    void enableWithEdges()
    {
        QFETCH(bool, startEnabled);
        QFETCH(bool, enable);
        QFETCH(QColor, edge);
        QFETCH(QColor, expectedEdge);

        FlatButton button(QStringLiteral("Save"));
        button.setEnabled(startEnabled);
        button.enableWithEdges(enable, edge);
        QCOMPARE(button.isEnabled(), enable);
        QCOMPARE(button.highlightColor(), expectedEdge);
        QCOMPARE(button.shadowColor(), expectedEdge);
        // The windows reach the colours by their design names too.
        QCOMPARE(button.property("HighlightColor").value<QColor>(), expectedEdge);
        QCOMPARE(button.property("ShadowColor").value<QColor>(), expectedEdge);
    }

    void paintsEdgesAndBackground_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("day cell") << QStringLiteral("17") << true;
        QTest::newRow("blank cell") << QString() << true;
        QTest::newRow("disabled") << QStringLiteral("Delete To-Do Item") << false;
    }

    void paintsEdgesAndBackground()
    {
        QFETCH(QString, caption);
        QFETCH(bool, enabled);

        FlatButton button(caption);
        button.resize(120, 30);
        button.setEnabled(enabled);
        const QColor highlight(255, 0, 0);
        const QColor shadow(0, 0, 255);
        const QColor back(192, 255, 192);
        button.setHighlightColor(highlight);
        button.setShadowColor(shadow);
        button.setBackColor(back);
        button.setForeColor(QColor(255, 0, 0));

        const QImage image = button.grab().toImage();
        QCOMPARE(image.pixelColor(60, 0), highlight);   // top
        QCOMPARE(image.pixelColor(0, 15), highlight);   // left
        QCOMPARE(image.pixelColor(60, 29), shadow);     // bottom
        QCOMPARE(image.pixelColor(119, 15), shadow);    // right
        QCOMPARE(image.pixelColor(2, 2), back);         // inside, away from the caption
    }

    void unsetBackgroundUsesButtonColour()
    {
        FlatButton button(QStringLiteral("Today"));
        button.resize(80, 24);
        const QImage image = button.grab().toImage();
        QCOMPARE(image.pixelColor(2, 2), button.palette().color(QPalette::Button));
    }

    void rightRelease_data()
    {
        QTest::addColumn<QPoint>("releaseAt");
        QTest::addColumn<int>("expected");
        QTest::newRow("inside") << QPoint(10, 10) << 1;
        QTest::newRow("outside") << QPoint(200, 10) << 0;
    }

    void rightRelease()
    {
        QFETCH(QPoint, releaseAt);
        QFETCH(int, expected);

        FlatButton button(QStringLiteral("5"));
        button.resize(40, 30);
        QSignalSpy right(&button, &FlatButton::rightReleased);
        QSignalSpy clicked(&button, &FlatButton::clicked);

        QTest::mousePress(&button, Qt::RightButton, {}, QPoint(10, 10));
        QTest::mouseRelease(&button, Qt::RightButton, {}, releaseAt);
        QCOMPARE(right.count(), expected);
        QCOMPARE(clicked.count(), 0);
        if (expected > 0) {
            QCOMPARE(right.first().first().toPoint(), button.mapToGlobal(releaseAt));
        }
    }

    void leftClickAndSpaceStillClick()
    {
        FlatButton button(QStringLiteral("New To-Do Item"));
        button.resize(120, 30);
        QSignalSpy right(&button, &FlatButton::rightReleased);
        QSignalSpy clicked(&button, &FlatButton::clicked);
        QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(10, 10));
        QTest::keyClick(&button, Qt::Key_Space);
        QCOMPARE(clicked.count(), 2);
        QCOMPARE(right.count(), 0);
        QVERIFY(button.focusPolicy() & Qt::TabFocus);
    }

    void sizeHintFitsCaption()
    {
        FlatButton shortButton(QStringLiteral("OK"));
        FlatButton longButton(QStringLiteral("Delete To-Do Item"));
        const QSize hint = hintOf(longButton);
        QVERIFY2(hint.width() > longButton.fontMetrics().horizontalAdvance(longButton.text()),
                 qPrintable(QStringLiteral("width %1").arg(hint.width())));
        QVERIFY(hint.width() > hintOf(shortButton).width());
        QVERIFY2(hint.height() >= qRound(23 * longButton.logicalDpiY() / 96.0),
                 qPrintable(QStringLiteral("height %1").arg(hint.height())));
        // The mnemonic marker takes no room.
        FlatButton mnemonic(QStringLiteral("&Save"));
        FlatButton plain(QStringLiteral("Save"));
        QCOMPARE(hintOf(mnemonic), hintOf(plain));
    }
};

BREVANE_TEST(FlatButtonTests)

#include "tst_flatbutton.moc"
