#include "notes/frmnewnote.h"

#include "controls/flatbutton.h"
#include "controls/twips.h"
#include "notes/noteslogging.h"
#include "platform/desktop.h"
#include "store/noterepository.h"

#include <QLabel>
#include <QLineEdit>

namespace brevane {

namespace {

// Design sizes, in twips.
constexpr double kWindowWidth = 5400;
constexpr double kWindowHeight = 1500;
constexpr double kFieldTop = 240;
constexpr double kFieldHeight = 345;
constexpr double kFieldLeft = 900;
constexpr double kButtonTop = 840;
constexpr double kButtonWidth = 1200;
constexpr double kButtonHeight = 405;

} // namespace

frmNewNote::frmNewNote(store::Database &db, Mode mode, QWidget *parent)
    : QDialog(parent), m_db(db), m_mode(mode)
{
    setObjectName(QStringLiteral("frmNewNote"));
    setWindowTitle(mode == Mode::New ? tr("New Note") : tr("Rename Note"));
    setModal(true);
    setFixedSize(twips::toPixels(this, kWindowWidth), twips::toPixels(this, kWindowHeight));

    auto *lblTitle = new QLabel(tr("Title:"), this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    twips::setGeometry(lblTitle, 180, kFieldTop, kFieldLeft - 240, kFieldHeight);
    m_txtTitle = new QLineEdit(this);
    m_txtTitle->setObjectName(QStringLiteral("txtTitle"));
    m_txtTitle->setAccessibleName(lblTitle->text());
    lblTitle->setBuddy(m_txtTitle);
    twips::setGeometry(m_txtTitle, kFieldLeft, kFieldTop, kWindowWidth - kFieldLeft - 180, kFieldHeight);

    auto addButton = [this](const QString &name, const QString &caption, double left) {
        auto *button = new FlatButton(caption, this);
        button->setObjectName(name);
        // Enter belongs to the title box alone, which refuses it while empty.
        button->setAutoDefault(false);
        twips::setGeometry(button, left, kButtonTop, kButtonWidth, kButtonHeight);
        return button;
    };
    const double cancelLeft = kWindowWidth - 180 - kButtonWidth;
    m_cmdOk = addButton(QStringLiteral("cmdOk"), tr("OK"), cancelLeft - 120 - kButtonWidth);
    m_cmdCancel = addButton(QStringLiteral("cmdCancel"), tr("Cancel"), cancelLeft);
    enableButton(m_cmdOk, false);
    enableButton(m_cmdCancel, true);

    setTabOrder(m_txtTitle, m_cmdOk);
    setTabOrder(m_cmdOk, m_cmdCancel);
    m_txtTitle->setFocus();

    connect(m_txtTitle, &QLineEdit::textChanged, this,
            [this](const QString &text) { enableButton(m_cmdOk, !text.isEmpty()); });
    connect(m_txtTitle, &QLineEdit::returnPressed, this, &frmNewNote::AddNote);
    connect(m_cmdOk, &QPushButton::clicked, this, &frmNewNote::AddNote);
    connect(m_cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

frmNewNote::~frmNewNote() = default;

void frmNewNote::setRenamedNote(store::RecordId id, const QString &title)
{
    m_note = id;
    m_txtTitle->setText(title);
    m_txtTitle->selectAll();
}

void frmNewNote::AddNote()
{
    // Titles are kept exactly as typed, blanks included.
    const QString title = m_txtTitle->text();
    if (title.isEmpty())
        return;
    if (m_mode == Mode::New)
        addNew(title);
    else
        rename(title);
}

void frmNewNote::addNew(const QString &title)
{
    store::NoteRepository notes(m_db);
    const store::ReadResult<store::Note> existing = notes.findByTitle(title);
    if (!existing.ok()) {
        desktop().message(this, tr("The notes could not be read: %1").arg(existing.error), Desktop::Icon::Critical);
        return;
    }
    if (existing.value) {
        desktop().message(this, tr("The note '%1' already exists.  Please choose another name.").arg(title),
                          Desktop::Icon::Exclamation);
        m_txtTitle->setFocus();
        m_txtTitle->selectAll();
        return;
    }
    store::Note note{store::kNoRecord, title, QString()};
    if (const store::WriteResult result = notes.add(note); !result) {
        desktop().message(this, tr("The note could not be saved: %1").arg(result.error), Desktop::Icon::Critical);
        return;
    }
    qCDebug(lcNotes) << "note added as record" << note.id;
    m_note = note.id;
    accept();
}

void frmNewNote::rename(const QString &title)
{
    store::NoteRepository notes(m_db);
    const store::Note note{m_note, title, QString()};
    if (const store::WriteResult result = notes.update(note, store::NoteField::Title); !result) {
        desktop().message(this, tr("The note could not be renamed: %1").arg(result.error), Desktop::Icon::Critical);
        return;
    }
    qCDebug(lcNotes) << "note" << m_note << "renamed";
    accept();
}

void frmNewNote::enableButton(FlatButton *button, bool enable)
{
    button->enableWithEdges(enable, kEdgeGrey);
}

} // namespace brevane
