#include "platform/qtdesktop.h"
#include "testsupport.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QTimer>

using namespace brevane;

// The real desktop seam, as far as it can run without a user.
class QtDesktopTests : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void messageShowsUserTextAsPlainText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("image") << QStringLiteral("Delete '<img src=\"/tmp/x.png\">' From To-Do List?");
        QTest::newRow("spoofed question") << QStringLiteral("<b>Answer No to delete ALL items</b>");
    }
    void messageShowsUserTextAsPlainText()
    {
        QFETCH(QString, text);
        QtDesktop desktop;
        Qt::TextFormat format = Qt::AutoText;
        QString shown;
        // The box is modal: look at it from inside its own event loop.
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            format = box->textFormat();
            shown = box->text();
            box->button(QMessageBox::No)->click();
        });
        QCOMPARE(desktop.message(nullptr, text, Desktop::Icon::Question, Desktop::Buttons::YesNo), Desktop::Answer::No);
        QCOMPARE(format, Qt::PlainText);
        QCOMPARE(shown, text);
    }
};

BREVANE_TEST(QtDesktopTests)
#include "tst_qtdesktop.moc"
