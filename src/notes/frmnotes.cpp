#include "notes/frmnotes.h"

#include "controls/flatbutton.h"
#include "controls/twips.h"
#include "notes/frmnewnote.h"
#include "notes/noteslogging.h"
#include "notes/notetextedit.h"
#include "platform/desktop.h"
#include "store/noterepository.h"

#include <QAbstractItemView>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>

#include <algorithm>

Q_LOGGING_CATEGORY(lcNotes, "brevane.notes", QtWarningMsg)

namespace brevane {

namespace {

constexpr int kKindRole = Qt::UserRole;
constexpr int kRecordRole = Qt::UserRole + 1;

// Design sizes, in twips.
constexpr double kWindowWidth = 7200;
constexpr double kWindowHeight = 5400;
constexpr double kMinimumWidth = 4500;
constexpr double kMinimumHeight = 3000;
constexpr double kToolbarWidth = 6375;
constexpr double kToolbarHeight = 555;
constexpr double kButtonTop = 90;
constexpr double kButtonHeight = 375;
constexpr double kButtonGap = 60;
constexpr double kDividerWidth = 30;

} // namespace

frmNotes::frmNotes(store::Database &db, QWidget *parent)
    : QWidget(parent, Qt::Window), m_db(db)
{
    setObjectName(QStringLiteral("frmNotes"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("Notes"));
    setMinimumSize(twips::toPixels(this, kMinimumWidth), twips::toPixels(this, kMinimumHeight));

    m_lblNote = new QLabel(tr("Note:"), this);
    m_lblNote->setObjectName(QStringLiteral("lblNote"));
    m_cmbNote = new QComboBox(this);
    m_cmbNote->setObjectName(QStringLiteral("cmbNote"));
    m_cmbNote->setAccessibleName(m_lblNote->text());
    m_cmbNote->setMaxVisibleItems(20);
    m_cmbNote->installEventFilter(this);
    m_lblNote->setBuddy(m_cmbNote);
    twips::setGeometry(m_lblNote, 180, 120,
                       twips::fromPixels(m_lblNote, m_lblNote->sizeHint().width()) + 120,
                       twips::fromPixels(m_cmbNote, m_cmbNote->sizeHint().height()));
    twips::setGeometry(m_cmbNote, 180 + twips::width(m_lblNote), 120, 3000, twips::height(m_lblNote));

    m_txtNote = new NoteTextEdit(store::NoteRepository::kTextLimit, this);
    m_txtNote->setObjectName(QStringLiteral("txtNote"));
    m_txtNote->setAccessibleName(tr("Note text"));
    m_txtNote->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Tab leaves the box, so that the toolbar can be reached from the keyboard.
    m_txtNote->setTabChangesFocus(true);

    buildToolbar();

    setTabOrder(m_cmbNote, m_txtNote);
    setTabOrder(m_txtNote, m_cmdNew);
    setTabOrder(m_cmdNew, m_cmdDelete);
    setTabOrder(m_cmdDelete, m_cmdRename);
    setTabOrder(m_cmdRename, m_cmdSave);
    setTabOrder(m_cmdSave, m_cmdClose);

    connect(m_cmbNote, &QComboBox::activated, this, &frmNotes::noteOptions);
    connect(m_txtNote, &NoteTextEdit::edited, this, &frmNotes::txtNote_Change);
    connect(m_cmdNew, &QPushButton::clicked, this, &frmNotes::cmdNew_Click);
    connect(m_cmdDelete, &QPushButton::clicked, this, &frmNotes::cmdDelete_Click);
    connect(m_cmdRename, &QPushButton::clicked, this, &frmNotes::cmdRename_Click);
    connect(m_cmdSave, &QPushButton::clicked, this, &frmNotes::cmdSave_Click);
    connect(m_cmdClose, &QPushButton::clicked, this, &QWidget::close);

    resize(twips::toPixels(this, kWindowWidth), twips::toPixels(this, kWindowHeight));
    layoutWindow();
    LoadNotes();
}

frmNotes::~frmNotes() = default;

void frmNotes::buildToolbar()
{
    m_fraToolbar = new QFrame(this);
    m_fraToolbar->setObjectName(QStringLiteral("fraToolbar"));
    m_fraToolbar->setFrameShape(QFrame::StyledPanel);
    twips::setGeometry(m_fraToolbar, 60, 60, kToolbarWidth, kToolbarHeight);

    auto makeButton = [this](const QString &name, const QString &caption) {
        auto *button = new FlatButton(caption, m_fraToolbar);
        button->setObjectName(name);
        return button;
    };
    m_cmdNew = makeButton(QStringLiteral("cmdNew"), tr("New"));
    m_cmdDelete = makeButton(QStringLiteral("cmdDelete"), tr("Delete"));
    m_cmdRename = makeButton(QStringLiteral("cmdRename"), tr("Rename"));
    m_cmdSave = makeButton(QStringLiteral("cmdSave"), tr("Save"));
    m_cmdClose = makeButton(QStringLiteral("cmdClose"), tr("Close"));
    m_cmdDivider = makeButton(QStringLiteral("cmdDivider"), QString());
    m_cmdDivider->setFocusPolicy(Qt::NoFocus);
    m_cmdDivider->setEnabled(false);
    m_cmdDivider->setHighlightColor(kEdgeGrey);
    m_cmdDivider->setShadowColor(kEdgeWhite);
    m_cmdDivider->setAccessibleName(tr("Divider"));

    enableButton(m_cmdNew, true);
    enableButton(m_cmdClose, true);
    enableButton(m_cmdSave, false);
}

void frmNotes::addEntry(const QString &text, Entry kind, store::RecordId id)
{
    m_cmbNote->addItem(text);
    const int index = m_cmbNote->count() - 1;
    m_cmbNote->setItemData(index, static_cast<int>(kind), kKindRole);
    m_cmbNote->setItemData(index, id, kRecordRole);
}

frmNotes::Entry frmNotes::entryAt(int index) const
{
    return static_cast<Entry>(m_cmbNote->itemData(index, kKindRole).toInt());
}

void frmNotes::LoadNotes()
{
    m_cmbNote->clear();
    addEntry(tr("Select an Action..."), Entry::SelectAction);
    addEntry(tr("Add New Note"), Entry::AddNewNote);
    addEntry(tr("Open Note:"), Entry::OpenHeading);
    const store::ReadResult<QList<store::Note>> notes = store::NoteRepository(m_db).all();
    if (!notes.ok()) {
        // No "No Saved Notes" here: the notes may well exist.
        desktop().message(this, tr("The notes could not be read: %1").arg(notes.error), Desktop::Icon::Critical);
    } else {
        for (const store::Note &note : *notes.value)
            addEntry(note.title, Entry::Note, note.id);
        if (notes.value->isEmpty())
            addEntry(tr("   No Saved Notes"), Entry::NoNotes);
    }
    closeNote();
}

void frmNotes::noteOptions(int index)
{
    m_txtNote->setEnabled(true);
    switch (entryAt(index)) {
    case Entry::AddNewNote:
        // Choosing another entry drops what was typed, this one too. The
        // dialog is modal, so the list cannot change under it.
        closeNote();
        runNewNoteDialog();
        return;
    case Entry::Note:
        openNoteAt(index);
        break;
    case Entry::SelectAction:
    case Entry::OpenHeading:
    case Entry::NoNotes:
        closeNote();
        break;
    }
    enableButton(m_cmdSave, false);
    m_txtNote->setFocus();
}

void frmNotes::openNoteAt(int index)
{
    const store::RecordId id = m_cmbNote->itemData(index, kRecordRole).toLongLong();
    const store::ReadResult<store::Note> note = store::NoteRepository(m_db).byId(id);
    if (!note.ok()) {
        desktop().message(this, tr("The note could not be read: %1").arg(note.error), Desktop::Icon::Critical);
        closeNote();
        return;
    }
    if (!note.value) {
        desktop().message(this, tr("The note '%1' is no longer in the file.").arg(m_cmbNote->itemText(index).trimmed()),
                          Desktop::Icon::Exclamation);
        LoadNotes();
        return;
    }
    m_cmbNote->setCurrentIndex(index);
    m_openNote = id;
    m_txtNote->setEnabled(true);
    m_txtNote->setText(note.value->text);
    // Kept as the box shows it (line ends made uniform), so that a note
    // opened and left alone never counts as changed.
    m_savedText = m_txtNote->text();
    enableButton(m_cmdDelete, true);
    enableButton(m_cmdRename, true);
    qCDebug(lcNotes) << "note" << id << "opened";
}

void frmNotes::closeNote()
{
    m_cmbNote->setCurrentIndex(0);
    m_openNote = store::kNoRecord;
    m_txtNote->setText(QString());
    m_savedText.clear();
    m_txtNote->setEnabled(false);
    enableButton(m_cmdDelete, false);
    enableButton(m_cmdRename, false);
    enableButton(m_cmdSave, false);
}

void frmNotes::reloadAndOpen(store::RecordId id)
{
    LoadNotes();
    const int index = m_cmbNote->findData(id, kRecordRole);
    if (index >= 0)
        noteOptions(index);
}

bool frmNotes::SaveNotes()
{
    if (m_openNote == store::kNoRecord)
        return true;
    const store::Note note{m_openNote, QString(), m_txtNote->text()};
    if (const store::WriteResult result = store::NoteRepository(m_db).update(note, store::NoteField::Text); !result) {
        desktop().message(this, tr("The note could not be saved: %1").arg(result.error), Desktop::Icon::Critical);
        return false;
    }
    m_savedText = note.text;
    qCDebug(lcNotes) << "note" << m_openNote << "saved";
    return true;
}

bool frmNotes::hasUnsavedChanges() const
{
    return m_cmdSave->isEnabled();
}

QString frmNotes::shownTitle() const
{
    return m_openNote == store::kNoRecord ? QString() : m_cmbNote->currentText();
}

void frmNotes::cmdNew_Click()
{
    if (m_cmdSave->isEnabled()
        && desktop().message(this, tr("Save Current Note?"), Desktop::Icon::Question, Desktop::Buttons::YesNo)
               == Desktop::Answer::Yes
        && !SaveNotes()) {
        // The typing would be lost once the new note opens.
        return;
    }
    runNewNoteDialog();
}

void frmNotes::runNewNoteDialog()
{
    frmNewNote dialog(m_db, frmNewNote::Mode::New, this);
    if (desktop().runModal(&dialog) == QDialog::Accepted) {
        reloadAndOpen(dialog.note());
        return;
    }
    // The note that was open stays selected but is no longer edited.
    enableButton(m_cmdSave, false);
    m_txtNote->setEnabled(false);
}

void frmNotes::cmdDelete_Click()
{
    if (m_openNote == store::kNoRecord)
        return;
    const QString title = shownTitle().trimmed();
    if (m_txtNote->text() != m_savedText) {
        desktop().message(this, tr("Save or discard your changes to '%1' before deleting it.").arg(title),
                          Desktop::Icon::Exclamation);
        return;
    }
    if (desktop().message(this, tr("Delete '%1'?").arg(title), Desktop::Icon::Question, Desktop::Buttons::YesNo)
        != Desktop::Answer::Yes)
        return;
    if (const store::WriteResult result = store::NoteRepository(m_db).remove(m_openNote); !result) {
        desktop().message(this, tr("The note could not be deleted: %1").arg(result.error), Desktop::Icon::Critical);
        return;
    }
    qCDebug(lcNotes) << "note" << m_openNote << "deleted";
    LoadNotes();
}

void frmNotes::cmdRename_Click()
{
    if (m_openNote == store::kNoRecord)
        return;
    const store::RecordId id = m_openNote;
    frmNewNote dialog(m_db, frmNewNote::Mode::Rename, this);
    dialog.setRenamedNote(id, shownTitle());
    // Renaming reopens the note from the file: typed changes are dropped.
    if (desktop().runModal(&dialog) == QDialog::Accepted)
        reloadAndOpen(id);
}

void frmNotes::cmdSave_Click()
{
    if (SaveNotes())
        enableButton(m_cmdSave, false);
}

void frmNotes::txtNote_Change()
{
    enableButton(m_cmdSave, !m_txtNote->text().isEmpty());
}

void frmNotes::enableButton(FlatButton *button, bool enable)
{
    button->enableWithEdges(enable, kEdgeGrey);
}

void frmNotes::closeEvent(QCloseEvent *event)
{
    if (m_cmdSave->isEnabled()
        && desktop().message(this, tr("Save changes to '%1'?").arg(shownTitle().trimmed()), Desktop::Icon::Question,
                             Desktop::Buttons::YesNo)
               == Desktop::Answer::Yes
        && !SaveNotes()) {
        // The window stays open with the text, so nothing is lost.
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

bool frmNotes::eventFilter(QObject *watched, QEvent *event)
{
    // Stepping through the closed drop-down would run every command it
    // passes ("Add New Note" first, which drops the open note's typing); the
    // arrows, whatever the modifiers, open the list instead, a typed
    // letter searches the opened list, and the wheel does nothing.
    if (watched == m_cmbNote && event->type() == QEvent::Wheel)
        return true;
    if (watched == m_cmbNote && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool typed = !(key->modifiers() & Qt::ControlModifier) && !key->text().isEmpty()
                           && key->text().front().isPrint() && key->key() != Qt::Key_Space;
        switch (key->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Home:
        case Qt::Key_End:
            m_cmbNote->showPopup();
            return true;
        default:
            if (typed) {
                m_cmbNote->showPopup();
                m_cmbNote->view()->keyboardSearch(key->text());
                return true;
            }
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmNotes::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutWindow();
}

void frmNotes::layoutWindow()
{
    // The rules are written for the outer window size; the client area stands
    // in for it: W adds the 120-twip border allowance, and H is chosen so that
    // the toolbar ends 60 twips above the client's bottom. A size that leaves
    // no room keeps the control's previous size.
    const double cmbHeight = twips::height(m_cmbNote);
    const double W = twips::width(this) + 120;
    const double H = twips::height(this) + 2 * cmbHeight;

    twips::setLeft(m_lblNote, 180);
    twips::setTop(m_lblNote, 120);
    twips::setTop(m_cmbNote, twips::top(m_lblNote));
    twips::setLeft(m_cmbNote, twips::left(m_lblNote) + twips::width(m_lblNote));
    twips::setWidthIfRoom(m_cmbNote, W - twips::left(m_cmbNote) - 180);

    twips::setLeft(m_txtNote, 60);
    twips::setTop(m_txtNote, twips::top(m_cmbNote) + cmbHeight + 60);
    twips::setWidthIfRoom(m_txtNote, W - 240);
    twips::setHeightIfRoom(m_txtNote,
                           H - twips::top(m_txtNote) - twips::height(m_fraToolbar) - 120 - 2 * cmbHeight);

    // As wide as the window when that is narrower than the toolbar, which then
    // reaches 180 twips past the left edge.
    twips::setTop(m_fraToolbar, twips::top(m_txtNote) + twips::height(m_txtNote) + 60);
    const double toolbarWidth = std::min(W, kToolbarWidth);
    twips::setWidth(m_fraToolbar, toolbarWidth);
    twips::setLeft(m_fraToolbar, W - toolbarWidth - 180);

    // The buttons share the part of the toolbar inside the window, so none
    // is ever cut off.
    const double from = std::max(0.0, -twips::left(m_fraToolbar)) + kButtonGap;
    const double room = twips::width(m_fraToolbar) - kButtonGap - from;
    const double buttonWidth = std::max(0.0, (room - kDividerWidth - 5 * kButtonGap) / 5);
    double left = from;
    for (FlatButton *button : {m_cmdNew, m_cmdDelete, m_cmdRename, m_cmdSave, m_cmdDivider, m_cmdClose}) {
        const double width = button == m_cmdDivider ? kDividerWidth : buttonWidth;
        twips::setGeometry(button, left, kButtonTop, width, kButtonHeight);
        left += width + kButtonGap;
    }
}

} // namespace brevane
