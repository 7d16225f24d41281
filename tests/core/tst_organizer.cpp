#include "core/organizer.h"
#include "core/password.h"
#include "testmain.h"

#include <QRegularExpression>

using namespace brevane;

class OrganizerTests : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // One Argon2id hash serves every case: each costs a fraction of a second.
    static QString argon2Secret()
    {
        static const QString hash = hashPassword(QStringLiteral("Secret"));
        return hash;
    }
    // RFC 7914 PBKDF2-HMAC-SHA256 vector ("passwd", "salt", 1 iteration) in the old stored form.
    static QString pbkdf2Passwd()
    {
        return QStringLiteral("pbkdf2-sha256$1$%1$%2")
            .arg(QString::fromLatin1(QByteArray("salt").toBase64()),
                 QString::fromLatin1(QByteArray::fromHex(
                     "55ac046e56e3089fec1691c22544b605f94185216dde0465e68b9d57c20dacbc").toBase64()));
    }

    // A hand-edited stored number past an int stays large rather than wrapping round.
    void longNumbersDoNotWrap()
    {
        QCOMPARE(textToNumber(QStringLiteral("3000000000")), std::numeric_limits<int>::max());
        QCOMPARE(textToNumber(QStringLiteral("-99999999999")), -std::numeric_limits<int>::max());
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
        QString costly = argon; // a crafted file must not make the check run for hours
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

    void hashesAreSalted()
    {
        QVERIFY2(argon2Secret() != hashPassword(QStringLiteral("Secret")), "two hashes of one password differ by their salt");
    }
};

BREVANE_TEST(OrganizerTests)
#include "tst_organizer.moc"
