#include "store/names.h"
#include "store/noterepository.h"
#include "testsupport.h"

using namespace brevane;
using store::Note;
namespace fields = store::names::notes;

class NoteRepositoryTests : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A title stored without the three trailing spaces is read as it stands;
    // an update writes only the fields it names; a note that is gone says so.
    void readsAndWrites()
    {
        testing::TestData data;
        store::NoteRepository notes(data.db());
        const auto id = data.insert(store::names::Notes, {{fields::Title, QStringLiteral("Alpha")}});
        QCOMPARE(notes.byId(id).value->title, QStringLiteral("Alpha"));
        QVERIFY(notes.update({id, QStringLiteral("Yard"), QStringLiteral("-")}, store::NoteField::Title).ok);
        QVERIFY(notes.update({id, QStringLiteral("-"), QStringLiteral("fence")}, store::NoteField::Text).ok);
        QCOMPARE(*notes.byId(id).value, (Note{id, QStringLiteral("Yard"), QStringLiteral("fence")}));
        QVERIFY(notes.remove(id).ok);
        QVERIFY(notes.byId(id).ok() && !notes.byId(id).value);
        QVERIFY(!notes.update({id, {}, {}}).ok && !notes.remove(id).ok);
    }
};

BREVANE_TEST(NoteRepositoryTests)
#include "tst_noterepository.moc"
