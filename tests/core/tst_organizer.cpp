#include "core/organizer.h"
#include "core/password.h"
#include "testmain.h"

using namespace brevane;

class OrganizerTests : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void leapYears_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<bool>("leap");
        QTest::addColumn<int>("februaryDays");
        QTest::newRow("1900 century") << 1900 << false << 28;
        QTest::newRow("2000 fourth century") << 2000 << true << 29;
        QTest::newRow("2004") << 2004 << true << 29;
        QTest::newRow("2023") << 2023 << false << 28;
        QTest::newRow("2100 century") << 2100 << false << 28;
    }
    void leapYears()
    {
        QFETCH(int, year);
        QFETCH(bool, leap);
        QFETCH(int, februaryDays);
        QCOMPARE(isLeapYear(year), leap);
        QCOMPARE(daysInMonth(2, year), februaryDays);
        QCOMPARE(daysInMonth(2, year), QDate(year, 3, 1).addDays(-1).day());
    }

    void reminderDates_data()
    {
        QTest::addColumn<int>("day");
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("lead");
        QTest::addColumn<QDate>("expected");
        QTest::newRow("same month") << 10 << 5 << 2024 << 3 << QDate(2024, 5, 7);
        QTest::newRow("into leap February") << 3 << 3 << 2024 << 5 << QDate(2024, 2, 27);
        QTest::newRow("into common February") << 3 << 3 << 2023 << 5 << QDate(2023, 2, 26);
        QTest::newRow("across the year") << 5 << 1 << 2024 << 5 << QDate(2023, 12, 31);
        QTest::newRow("1 March 2024, 1 day") << 1 << 3 << 2024 << 1 << QDate(2024, 2, 29);
        QTest::newRow("into a 30-day month") << 2 << 5 << 2024 << 7 << QDate(2024, 4, 25);
        QTest::newRow("into a 31-day month") << 1 << 8 << 2024 << 7 << QDate(2024, 7, 25);
        QTest::newRow("1900 is not leap") << 1 << 3 << 1900 << 1 << QDate(1900, 2, 28);
        QTest::newRow("2000 is leap") << 1 << 3 << 2000 << 1 << QDate(2000, 2, 29);
    }
    void reminderDates()
    {
        QFETCH(int, day);
        QFETCH(int, month);
        QFETCH(int, year);
        QFETCH(int, lead);
        QFETCH(QDate, expected);
        const DayMonthYear got = computeReminderDate(day, month, year, lead);
        QCOMPARE(QDate(got.year, got.month, got.day), expected);
        QCOMPARE(QDate(year, month, day).addDays(-lead), expected);
    }

    void slotLabels()
    {
        const QStringList &labels = brevane::slotLabels();
        QCOMPARE(labels.size(), 50);
        QCOMPARE(labels.at(0), QStringLiteral("Midnight"));
        QCOMPARE(labels.at(1), QStringLiteral("12:00 AM"));
        QCOMPARE(labels.at(2), QStringLiteral("12:30 AM"));
        QCOMPARE(labels.at(3), QStringLiteral("1:00 AM"));
        QCOMPARE(labels.at(24), QStringLiteral("11:30 AM"));
        QCOMPARE(labels.at(25), QStringLiteral("Noon"));
        QCOMPARE(labels.at(26), QStringLiteral("12:00 PM"));
        QCOMPARE(labels.at(49), QStringLiteral("11:30 PM"));
    }

    void textToNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");
        QTest::newRow("empty") << QString() << 0;
        QTest::newRow("plain") << QStringLiteral("2024") << 2024;
        QTest::newRow("leading zero") << QStringLiteral("03") << 3;
        QTest::newRow("leading blank") << QStringLiteral(" 7") << 7;
        QTest::newRow("trailing text") << QStringLiteral("5 Days") << 5;
        QTest::newRow("not a number") << QStringLiteral("abc") << 0;
        QTest::newRow("negative") << QStringLiteral("-4") << -4;
    }
    void textToNumber()
    {
        QFETCH(QString, text);
        QFETCH(int, value);
        QCOMPARE(brevane::textToNumber(text), value);
    }

    void priorityNamesForCodes_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("name");
        QTest::newRow("1") << QStringLiteral("1") << QStringLiteral("High");
        QTest::newRow("2") << QStringLiteral("2") << QStringLiteral("Medium");
        QTest::newRow("3") << QStringLiteral("3") << QStringLiteral("Low");
        QTest::newRow("0") << QStringLiteral("0") << QString();
        QTest::newRow("4") << QStringLiteral("4") << QString();
        QTest::newRow("empty") << QString() << QString();
    }
    void priorityNamesForCodes()
    {
        QFETCH(QString, code);
        QFETCH(QString, name);
        QCOMPARE(priorityName(code), name);
    }

    void passwords_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("accepted");
        const QString hashed = hashPassword(QStringLiteral("Secret"), 1000);
        QTest::newRow("plain exact") << QStringLiteral("Secret") << QStringLiteral("Secret") << true;
        QTest::newRow("plain case differs") << QStringLiteral("Secret") << QStringLiteral("secret") << false;
        QTest::newRow("plain trailing blank") << QStringLiteral("Secret") << QStringLiteral("Secret ") << false;
        QTest::newRow("plain empty") << QString() << QString() << true;
        QTest::newRow("hashed exact") << hashed << QStringLiteral("Secret") << true;
        QTest::newRow("hashed case differs") << hashed << QStringLiteral("secret") << false;
        QTest::newRow("hashed empty typed") << hashed << QString() << false;
        QTest::newRow("hash text typed literally") << hashed << hashed << false;
        QTest::newRow("malformed hash is plain")
            << QStringLiteral("pbkdf2-sha256$x$y$z") << QStringLiteral("pbkdf2-sha256$x$y$z") << true;
    }
    void passwords()
    {
        QFETCH(QString, stored);
        QFETCH(QString, typed);
        QFETCH(bool, accepted);
        QCOMPARE(passwordMatches(typed, stored), accepted);
    }

    void hashesAreSaltedAndSelfDescribing()
    {
        const QString a = hashPassword(QStringLiteral("pw"), 1000);
        const QString b = hashPassword(QStringLiteral("pw"), 1000);
        QVERIFY(isHashedPassword(a));
        QVERIFY(a.startsWith(QStringLiteral("pbkdf2-sha256$1000$")));
        QVERIFY2(a != b, "two hashes of one password must differ by their salt");
        QVERIFY(!isHashedPassword(QStringLiteral("pw")));
        QVERIFY(!a.contains(QStringLiteral("pw$")));
    }

    void pbkdf2KnownAnswer()
    {
        // RFC 7914 test vector for PBKDF2-HMAC-SHA256: password "passwd", salt
        // "salt", 1 iteration, first 32 bytes.
        const QString stored = QStringLiteral("pbkdf2-sha256$1$%1$%2")
                                   .arg(QString::fromLatin1(QByteArray("salt").toBase64()),
                                        QString::fromLatin1(QByteArray::fromHex(
                                            "55ac046e56e3089fec1691c22544b605f94185216dde0465e68b9d57c20dacbc").toBase64()));
        QVERIFY(passwordMatches(QStringLiteral("passwd"), stored));
    }
};

BREVANE_TEST(OrganizerTests)
#include "tst_organizer.moc"
