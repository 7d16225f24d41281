// The notes window with a note open, and the new-note dialog in both modes.

#include "notes/frmnewnote.h"
#include "notes/frmnotes.h"
#include "snapshot.h"
#include "store/noterepository.h"

#include <QComboBox>
#include <QLineEdit>

using namespace brevane;

BREVANE_SNAPSHOT(notes)
{
    store::NoteRepository notes(db);
    const QList<store::Note> samples{
        {store::kNoRecord, QStringLiteral("Gift ideas"),
         QStringLiteral("Mum: the blue scarf from the market\nJo: a book on birds\nTom: concert tickets")},
        {store::kNoRecord, QStringLiteral("Garden"),
         QStringLiteral("Order bulbs before April.\n\nAsk next door about the fence: they offered to share the cost "
                        "of new posts, which is more than fair given the state of ours.\n\n- compost\n- "
                        "tomato stakes\n- netting for the peas")},
        {store::kNoRecord, QStringLiteral("Wi-Fi at the cottage"), QStringLiteral("Network: Cottage-Guest")},
    };
    store::RecordId garden = store::kNoRecord;
    for (store::Note note : samples) {
        if (const store::WriteResult result = notes.add(note); !result)
            return false;
        if (note.title == QLatin1String("Garden"))
            garden = note.id;
    }

    bool ok = true;
    frmNotes window(db);
    window.setAttribute(Qt::WA_DeleteOnClose, false);
    window.show();
    ok &= snapshot::save(&window, QStringLiteral("notes-empty"));
    auto *box = window.findChild<QComboBox *>(QStringLiteral("cmbNote"));
    const int index = box->findData(garden, Qt::UserRole + 1);
    box->setCurrentIndex(index);
    Q_EMIT box->activated(index);
    ok &= window.openNote() == garden;
    ok &= snapshot::save(&window, QStringLiteral("notes-open"));
    window.resize(320, window.height());
    ok &= snapshot::save(&window, QStringLiteral("notes-narrow"));

    {
        frmNewNote dialog(db, frmNewNote::Mode::New, &window);
        dialog.findChild<QLineEdit *>(QStringLiteral("txtTitle"))->setText(QStringLiteral("Holiday packing list"));
        dialog.show();
        ok &= snapshot::save(&dialog, QStringLiteral("notes-new-dialog"));
    }
    {
        frmNewNote dialog(db, frmNewNote::Mode::Rename, &window);
        dialog.setRenamedNote(garden, QStringLiteral("Garden"));
        dialog.show();
        ok &= snapshot::save(&dialog, QStringLiteral("notes-rename-dialog"));
    }
    return ok;
}
