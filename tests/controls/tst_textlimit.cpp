#include "testmain.h"
#include "controls/limitedlineedit.h"
#include "controls/textlimit.h"

#include <QApplication>
#include <QClipboard>

using namespace brevane;

class TextLimitTests : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // One edit (text before, after, cursor after) against a limit of 5.
    void limitEdit_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::addColumn<int>("cursor");
        QTest::addColumn<QString>("kept");
        QTest::addColumn<int>("keptCursor");
        const QString thumb = QStringLiteral("\U0001F44D");
        const QString family = QStringLiteral("\U0001F468\u200D\U0001F469\u200D\U0001F467");
        QTest::newRow("typed in the middle") << "abcde" << "abXcde" << 3 << "abcde" << 2;
        QTest::newRow("repeated letter") << "aaaaa" << "aaaaaa" << 2 << "aaaaa" << 1;
        QTest::newRow("paste into the middle") << "ab" << "aXYZWb" << 5 << "aXYZb" << 4;
        QTest::newRow("emoji not cut in half") << "abcd" << QString("abcd" + thumb + thumb) << 8
                                               << QString("abcd" + thumb) << 6;
        QTest::newRow("emoji sequence is one") << "abcd" << QString("abcd" + family) << 12
                                               << QString("abcd" + family) << 12;
        QTest::newRow("long text not lengthened") << "abcdefgh" << "abcdXefgh" << 5 << "abcdefgh" << 4;
    }
    void limitEdit()
    {
        QFETCH(QString, before);
        QFETCH(QString, after);
        QFETCH(int, cursor);
        const textlimit::Trimmed result = textlimit::limitEdit(before, after, cursor, 5);
        QTEST(result.text, "kept");
        QTEST(result.cursor, "keptCursor");
        QVERIFY(textlimit::characterCount(result.text) <= std::max(5, textlimit::characterCount(before)));
    }

    // The text box itself, as a user types, pastes and shortens.
    void limitedLineEdit()
    {
        LimitedLineEdit box(5);
        box.show();
        QTest::keyClicks(&box, QStringLiteral("abcdef"));
        QCOMPARE(box.text(), QStringLiteral("abcde"));

        const QString e = QStringLiteral("e\u0301"); // one character, two code units
        box.setText(QStringLiteral("abc"));
        QGuiApplication::clipboard()->setText(e + e + QStringLiteral("xyz"));
        box.paste();
        QCOMPARE(box.text(), QStringLiteral("abc") + e + e);

        // An old, longer text is kept whole; it can be shortened, not lengthened.
        box.setText(QStringLiteral("1234567"));
        QCOMPARE(box.text(), QStringLiteral("1234567"));
        QTest::keyClick(&box, Qt::Key_Backspace);
        QCOMPARE(box.text(), QStringLiteral("123456"));
        QTest::keyClicks(&box, QStringLiteral("x"));
        QCOMPARE(box.text(), QStringLiteral("123456"));
    }
};

BREVANE_TEST(TextLimitTests)
#include "tst_textlimit.moc"
