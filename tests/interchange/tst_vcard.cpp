#include "interchange/interchange.h"
#include "testmain.h"

#include <QFile>
#include <QStringDecoder>

using namespace brevane::interchange;

namespace {

QByteArray testFile(const QString &name)
{
    QFile file(QStringLiteral(INTERCHANGE_TEST_DATA "/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every text field of a card with a short name, in field order.
QList<std::pair<const char *, QString *>> fields(ContactCard &c)
{
    return {{"first", &c.firstName}, {"middle", &c.middleName}, {"last", &c.lastName}, {"nick", &c.nickname},
            {"email", &c.personalEmail}, {"hStreet", &c.homeAddress}, {"hCity", &c.homeCity}, {"hState", &c.homeState},
            {"hZip", &c.homeZipCode}, {"hCountry", &c.homeCountry}, {"hPhone", &c.homePhone}, {"hFax", &c.homeFax},
            {"hCell", &c.homeCell}, {"hWeb", &c.homeWebPage}, {"company", &c.company}, {"title", &c.jobTitle},
            {"bStreet", &c.businessAddress}, {"bCity", &c.businessCity}, {"bState", &c.businessState},
            {"bZip", &c.businessZipCode}, {"bCountry", &c.businessCountry}, {"bPhone", &c.businessPhone},
            {"bFax", &c.businessFax}, {"bPager", &c.businessPager}, {"bCell", &c.businessCellPhone},
            {"bWeb", &c.businessWebPage}, {"birthday", &c.birthday}, {"anniversary", &c.anniversary},
            {"notes", &c.notes}, {"category", &c.category}};
}

// The filled fields of a card, "first=Ada|last=Ode".
QString describe(ContactCard c)
{
    QStringList out;
    for (const auto &[key, value] : fields(c))
        if (!value->isEmpty())
            out << QLatin1String(key) + u'=' + QString(*value).replace(u'\n', QLatin1String("\\n"));
    return out.join(u'|');
}

ContactCard everyField(const QString &text)
{
    ContactCard c;
    int n = 0;
    for (const auto &field : fields(c))
        *field.second = text + QString::number(n++); // a different value in every field
    c.uid = QStringLiteral("uid-") + text;
    return c;
}

} // namespace

class VCardTests : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyFieldSurvivesARoundTrip_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("quotes and separators") << QStringLiteral("\"Ann\" 'the' \" a,b;c\\d:e\\n\\,");
        QTest::newRow("newlines") << QStringLiteral("line 1\nline 2\n\nline 3\n");
        QTest::newRow("non-Latin and emoji") << QStringLiteral("Анна Петровна 山田太郎 שלום مرحبا 🎂👩‍👩‍👧‍👦🇨🇦 party");
        QTest::newRow("long, folded") << QStringLiteral("é").repeated(50) + QStringLiteral("🎉").repeated(30) + QStringLiteral("x").repeated(80);
        QTest::newRow("blank edges") << QStringLiteral("  Ann ");
    }
    void everyFieldSurvivesARoundTrip()
    {
        QFETCH(QString, text);
        const QList<ContactCard> cards{everyField(text), everyField(text + QStringLiteral("2"))};
        const QByteArray file = writeContacts(cards);
        ContactsReadResult back = readContacts(file);
        QVERIFY2(back.ok(), qPrintable(back.refusal ? back.refusal->message : QString()));
        QCOMPARE(back.problems, QList<Problem>());
        QCOMPARE(back.contacts.size(), 2);
        for (int i = 0; i < 2; ++i) {
            back.contacts[i].line = 0;
            QCOMPARE(describe(back.contacts[i]), describe(cards[i]));
            QCOMPARE(back.contacts[i], cards[i]);
        }
        for (const QByteArray &line : file.split('\n')) { // lines of at most 75 octets, each of them whole UTF-8
            QVERIFY2(line.size() <= 76, line.constData()); // 75 and the CR
            QStringDecoder utf8(QStringDecoder::Utf8);
            (void)utf8.decode(line);
            QVERIFY2(!utf8.hasError(), line.constData());
        }
    }

    void readsOtherProgramsCards_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("fields");
        QTest::addColumn<int>("problems");
        QTest::newRow("4.0 complete example") << "rfc6350.vcf" << 0
            << "first=Simon|last=Perreault|email=simon.perreault@viagenie.ca|hWeb=http://nomis80.org|company=Viagenie|"
               "bStreet=Suite D2-630\\n2875 Laurier|bCity=Quebec|bState=QC|bZip=G1V 2M2|bCountry=Canada|"
               "bPhone=+1-418-656-9254;ext=102|bCell=+1-418-262-6501|birthday=February 3|anniversary=August 8, 2009"
            << 1;
        QTest::newRow("4.0 property examples") << "rfc6350.vcf" << 1
            << "first=John|middle=Quinlan|last=Public|nick=Robbie|hFax=+1-555-555-5556|"
               "notes=This fax number is operational 0800 to 1715 EST, Mon-Fri.|category=TRAVEL AGENT"
            << 1;
        QTest::newRow("3.0") << "v30.vcf" << 0
            << "first=Mira|last=Lindqvist|email=mira@home.example|hStreet=42 Plantation St.|hCity=Baytown|hState=LA|"
               "hZip=30314|hCountry=United States of America|hPhone=(404) 555-1212|hCell=(404) 555-3434|"
               "hWeb=http://mira.example|company=Harbour Tools, Inc., Research|title=Engineer|bPhone=(111) 555-1212|"
               "birthday=June 6, 1971|anniversary=December 24"
            << 2; // the title Dr., the second e-mail address
        QTest::newRow("2.1 quoted-printable") << "v21.vcf" << 0
            << "first=Jürgen|last=Müller|email=juergen@example.org|hFax=+49 221 555|hCell=+49 170 1234567|"
               "bStreet=Straße 1|bCity=Köln|bZip=50667|bCountry=Deutschland|bPhone=+49 221 777|"
               "notes=Zeile eins\\nZeile zwei, die lang genug ist, um umbrochen zu werden"
            << 0;
    }
    void readsOtherProgramsCards()
    {
        QFETCH(QString, file);
        QFETCH(int, index);
        QFETCH(int, problems);
        const ContactsReadResult result = readContacts(testFile(file));
        QVERIFY2(result.ok(), qPrintable(result.refusal ? result.refusal->message : QString()));
        QTEST(describe(result.contacts.value(index)), "fields");
        const QString uid = result.contacts.value(index).uid;
        QVERIFY(!uid.isEmpty());
        QCOMPARE(readContacts(testFile(file)).contacts.value(index).uid, uid); // stable without a UID in the file
        QCOMPARE(std::count_if(result.problems.begin(), result.problems.end(), [&](const Problem &p) { return p.uid == uid; }),
                 problems);
    }

    void brokenFilesAreRefusedAtTheirLine_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("line");
        QTest::newRow("truncated") << QByteArray("BEGIN:VCARD\r\nVERSION:4.0\r\nFN:A\r\nN:A;;;;\r\nNOTE:cut he") << 5;
        QTest::newRow("no colon") << QByteArray("BEGIN:VCARD\nVERSION:3.0\nN:A;B\nthis is prose\nEND:VCARD\n") << 4;
        QTest::newRow("version") << QByteArray("BEGIN:VCARD\nVERSION:5.0\nN:A\nEND:VCARD\n") << 2;
        QTest::newRow("calendar") << QByteArray("BEGIN:VCALENDAR\nEND:VCALENDAR\n") << 1;
        QTest::newRow("empty") << QByteArray() << 1;
    }
    void brokenFilesAreRefusedAtTheirLine()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, line);
        const ContactsReadResult result = readContacts(file);
        QVERIFY(!result.ok() && result.contacts.isEmpty());
        QCOMPARE(result.refusal->line, line);
        QVERIFY2(result.refusal->message.startsWith(QStringLiteral("Line %1: ").arg(line)), qPrintable(result.refusal->message));
    }
};

BREVANE_TEST(VCardTests)
#include "tst_vcard.moc"
