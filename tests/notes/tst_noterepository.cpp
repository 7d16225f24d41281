#include "store/names.h"
#include "store/noterepository.h"
#include "testsupport.h"

using namespace brevane;
using store::Note;
using store::NoteRepository;
namespace names = store::names;
namespace fields = store::names::notes;

class NoteRepositoryTests : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The file keeps three spaces after every title; the windows never see
    // them, and a title stored without them is read as it stands.
    void titlesKeepTheirStoredForm()
    {
        testing::TestData data;
        NoteRepository notes(data.db());
        Note added{store::kNoRecord, QStringLiteral("Gifts "), QStringLiteral("scarf")};
        QVERIFY(notes.add(added).ok);
        QCOMPARE(data.fieldOf(names::Notes, added.id, fields::Title), QStringLiteral("Gifts    "));
        const auto bare = data.insert(names::Notes, {{fields::Title, QStringLiteral("Alpha")}});
        data.insert(names::Notes, {{fields::Title, QStringLiteral("gifts   ")}});

        const auto all = notes.all();
        QVERIFY(all.ok());
        QStringList titles;
        for (const Note &note : *all.value)
            titles << note.title;
        QCOMPARE(titles, (QStringList{QStringLiteral("Alpha"), QStringLiteral("gifts"), QStringLiteral("Gifts ")}));
        QCOMPARE(notes.byId(bare).value->title, QStringLiteral("Alpha"));

        QCOMPARE(notes.findByTitle(QStringLiteral("Gifts ")).value->id, added.id);
        QVERIFY(!notes.findByTitle(QStringLiteral("Gifts")).value);
        QVERIFY(!notes.findByTitle(QStringLiteral("GIFTS ")).value);
    }

    // An update writes only the fields it names; a note that is gone can be
    // neither changed nor removed, and says so.
    void updateAndRemove()
    {
        testing::TestData data;
        NoteRepository notes(data.db());
        Note note{store::kNoRecord, QStringLiteral("Garden"), QStringLiteral("bulbs")};
        QVERIFY(notes.add(note).ok);
        QVERIFY(notes.update({note.id, QStringLiteral("Yard"), QStringLiteral("ignored")}, store::NoteField::Title).ok);
        QVERIFY(notes.update({note.id, QStringLiteral("ignored"), QStringLiteral("fence")}, store::NoteField::Text).ok);
        QCOMPARE(*notes.byId(note.id).value, (Note{note.id, QStringLiteral("Yard"), QStringLiteral("fence")}));
        QVERIFY(notes.remove(note.id).ok);
        QVERIFY(notes.byId(note.id).ok() && !notes.byId(note.id).value);
        QVERIFY(!notes.update(note).ok);
        QVERIFY(!notes.remove(note.id).error.isEmpty());
    }
};

BREVANE_TEST(NoteRepositoryTests)
#include "tst_noterepository.moc"
