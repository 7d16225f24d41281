#include "core/organizer.h"
#include "core/password.h"
#include "testmain.h"

#include <QRegularExpression>

using namespace brevane;

class OrganizerTests : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void reminderDates_data()
    {
        QTest::addColumn<int>("day");
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("lead");
        QTest::addColumn<QDate>("expected");
        QTest::newRow("into leap February") << 3 << 3 << 2024 << 5 << QDate(2024, 2, 27);
        QTest::newRow("into common February") << 3 << 3 << 2023 << 5 << QDate(2023, 2, 26);
        QTest::newRow("across the year") << 5 << 1 << 2024 << 5 << QDate(2023, 12, 31);
        QTest::newRow("into a 30-day month") << 2 << 5 << 2024 << 7 << QDate(2024, 4, 25);
    }
    void reminderDates()
    {
        QFETCH(int, day);
        QFETCH(int, month);
        QFETCH(int, year);
        QFETCH(int, lead);
        const DayMonthYear got = computeReminderDate(day, month, year, lead);
        QTEST(QDate(got.year, got.month, got.day), "expected");
    }

    void textToNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");
        QTest::newRow("empty") << QString() << 0;
        QTest::newRow("leading zero") << QStringLiteral("03") << 3;
        QTest::newRow("leading blank") << QStringLiteral(" 7") << 7;
        QTest::newRow("trailing text") << QStringLiteral("5 Days") << 5;
        QTest::newRow("not a number") << QStringLiteral("abc") << 0;
        QTest::newRow("negative") << QStringLiteral("-4") << -4;
    }
    void textToNumber()
    {
        QFETCH(QString, text);
        QTEST(brevane::textToNumber(text), "value");
    }

    void priorityNamesForCodes()
    {
        QStringList names;
        for (const char *code : {"1", "2", "3", "0", "4", ""})
            names << priorityName(QString::fromLatin1(code));
        QCOMPARE(names.join(u','), QStringLiteral("High,Medium,Low,,,"));
    }

    // One Argon2id hash serves every case: each costs a fraction of a second.
    static QString argon2Secret()
    {
        static const QString hash = hashPassword(QStringLiteral("Secret"));
        return hash;
    }
    // RFC 7914 test vector for PBKDF2-HMAC-SHA256 (password "passwd", salt
    // "salt", 1 iteration), in the form older versions stored.
    static QString pbkdf2Passwd()
    {
        return QStringLiteral("pbkdf2-sha256$1$%1$%2")
            .arg(QString::fromLatin1(QByteArray("salt").toBase64()),
                 QString::fromLatin1(QByteArray::fromHex(
                     "55ac046e56e3089fec1691c22544b605f94185216dde0465e68b9d57c20dacbc").toBase64()));
    }

    void passwords_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<bool>("needsRehash");
        const QString argon = argon2Secret();
        QTest::newRow("plain exact") << QStringLiteral("Secret") << QStringLiteral("Secret") << true << true;
        QTest::newRow("plain case differs") << QStringLiteral("Secret") << QStringLiteral("secret") << false << true;
        QTest::newRow("plain trailing blank") << QStringLiteral("Secret") << QStringLiteral("Secret ") << false << true;
        QTest::newRow("argon2id exact") << argon << QStringLiteral("Secret") << true << false;
        QTest::newRow("argon2id case differs") << argon << QStringLiteral("secret") << false << false;
        QTest::newRow("argon2id text typed literally") << argon << argon << false << false;
        QTest::newRow("pbkdf2 exact") << pbkdf2Passwd() << QStringLiteral("passwd") << true << true;
        QTest::newRow("pbkdf2 wrong") << pbkdf2Passwd() << QStringLiteral("Passwd") << false << true;
        QTest::newRow("malformed pbkdf2 is plain")
            << QStringLiteral("pbkdf2-sha256$x$y$z") << QStringLiteral("pbkdf2-sha256$x$y$z") << true << true;
        QTest::newRow("malformed argon2id is plain")
            << QStringLiteral("$argon2id$v=19$m=1,t=1,p=1$x") << QStringLiteral("$argon2id$v=19$m=1,t=1,p=1$x")
            << true << true;
        // A crafted file must not make the check run for hours.
        QString costly = argon;
        costly.replace(QRegularExpression(QStringLiteral(",t=[0-9]+,")), QStringLiteral(",t=100000,"));
        QTest::newRow("argon2id beyond the cost bound") << costly << QStringLiteral("Secret") << false << true;
    }
    void passwords()
    {
        QFETCH(QString, stored);
        QFETCH(QString, typed);
        QTEST(passwordMatches(typed, stored), "accepted");
        QTEST(passwordNeedsRehash(stored), "needsRehash");
    }

    void hashesAreSaltedArgon2id()
    {
        const QString a = argon2Secret();
        QVERIFY2(a.startsWith(QStringLiteral("$argon2id$v=19$m=65536,t=2,p=1$")), qPrintable(a));
        QVERIFY2(a != hashPassword(QStringLiteral("Secret")), "two hashes of one password differ by their salt");
    }
};

BREVANE_TEST(OrganizerTests)
#include "tst_organizer.moc"
