#include "todo_editor/frmaddtodo.h"

#include "controls/flatbutton.h"
#include "controls/limitedlineedit.h"
#include "controls/twips.h"
#include "core/logging.h"
#include "core/organizer.h"
#include "platform/desktop.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>

namespace brevane {

namespace {

// Entries of the Done list.
constexpr int kDoneIndex = 0;
constexpr int kNotDoneIndex = 1;
constexpr int kMediumIndex = 1;

// Design sizes, in twips.
constexpr double kWindowWidth = 6840;
constexpr double kWindowHeight = 2850;
constexpr double kLabelLeft = 180;
constexpr double kLabelWidth = 1080;
constexpr double kFieldLeft = 1320;
constexpr double kFieldHeight = 345;
constexpr double kBoxWidth = 2280;
constexpr double kButtonTop = 2220;
constexpr double kButtonWidth = 1680;
constexpr double kButtonHeight = 405;

QLabel *addLabel(QWidget *parent, const QString &name, const QString &caption, double left, double top, double width)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(name);
    twips::setGeometry(label, left, top, width, kFieldHeight);
    return label;
}

QComboBox *addList(QWidget *parent, const QString &name, QLabel *label, const QStringList &entries, double left,
                   double top, double width)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(name);
    box->addItems(entries);
    box->setAccessibleName(label->text());
    label->setBuddy(box);
    twips::setGeometry(box, left, top, width, kFieldHeight);
    return box;
}

} // namespace

frmAddToDo::frmAddToDo(store::Database &db, QWidget *parent)
    : QDialog(parent), m_items(db)
{
    setObjectName(QStringLiteral("frmAddToDo"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("Add To-Do Item"));
    setFixedSize(twips::toPixels(this, kWindowWidth), twips::toPixels(this, kWindowHeight));

    QLabel *lblTask = addLabel(this, QStringLiteral("lblTask"), tr("Task:"), kLabelLeft, 180, kLabelWidth);
    m_txtTask = new LimitedLineEdit(kMaxTaskLength, this);
    m_txtTask->setObjectName(QStringLiteral("txtTask"));
    m_txtTask->setAccessibleName(lblTask->text());
    lblTask->setBuddy(m_txtTask);
    twips::setGeometry(m_txtTask, kFieldLeft, 180, kWindowWidth - kFieldLeft - 180, kFieldHeight);

    m_lblMaxLength = addLabel(this, QStringLiteral("lblMaxLength"),
                              tr("(Max. %1 characters)").arg(kMaxTaskLength), kFieldLeft, 555, 3000);
    m_lblMaxLength->setForegroundRole(QPalette::PlaceholderText);

    QLabel *lblCategory = addLabel(this, QStringLiteral("lblCategory"), tr("Category:"), kLabelLeft, 1020,
                                   kLabelWidth);
    m_cmbCategory = addList(this, QStringLiteral("cmbCategory"), lblCategory, QStringList{QString()} + categoryNames(),
                            kFieldLeft, 1020, kBoxWidth);
    m_cmbCategory->setMaxVisibleItems(14);
    m_cmbCategory->setCurrentIndex(-1);

    QLabel *lblDone = addLabel(this, QStringLiteral("lblDone"), tr("Done:"), 3900, 1020, 900);
    m_cmbDone = addList(this, QStringLiteral("cmbDone"), lblDone, {tr("Yes"), tr("No")}, 4800, 1020,
                        kWindowWidth - 4800 - 180);
    m_cmbDone->setCurrentIndex(kNotDoneIndex);

    QLabel *lblPriority = addLabel(this, QStringLiteral("lblPriority"), tr("Priority:"), kLabelLeft, 1500,
                                   kLabelWidth);
    m_cmbPriority = addList(this, QStringLiteral("cmbPriority"), lblPriority, priorityNames(), kFieldLeft, 1500,
                            kBoxWidth);
    m_cmbPriority->setCurrentIndex(kMediumIndex);

    auto addButton = [this](const QString &name, const QString &caption, int index) {
        auto *button = new FlatButton(caption, this);
        button->setObjectName(name);
        // Enter belongs to the text box; no button of the dialog takes it.
        button->setAutoDefault(false);
        const double gap = (kWindowWidth - 3 * kButtonWidth) / 4;
        twips::setGeometry(button, gap + index * (kButtonWidth + gap), kButtonTop, kButtonWidth, kButtonHeight);
        return button;
    };
    m_cmdSave = addButton(QStringLiteral("cmdSave"), tr("Save"), 0);
    m_cmdReset = addButton(QStringLiteral("cmdReset"), tr("Reset Fields"), 1);
    m_cmdClose = addButton(QStringLiteral("cmdClose"), tr("Close"), 2);
    enableButton(m_cmdSave);
    m_cmdReset->enableWithEdges(true, kEdgeGrey);
    m_cmdClose->enableWithEdges(true, kEdgeGrey);

    setTabOrder(m_txtTask, m_cmbCategory);
    setTabOrder(m_cmbCategory, m_cmbDone);
    setTabOrder(m_cmbDone, m_cmbPriority);
    setTabOrder(m_cmbPriority, m_cmdSave);
    setTabOrder(m_cmdSave, m_cmdReset);
    setTabOrder(m_cmdReset, m_cmdClose);

    connect(m_txtTask, &QLineEdit::textChanged, this, [this] { enableButton(m_cmdSave); });
    connect(m_txtTask, &QLineEdit::returnPressed, this, &frmAddToDo::save);
    connect(m_cmdSave, &QPushButton::clicked, this, &frmAddToDo::save);
    connect(m_cmdReset, &QPushButton::clicked, this, &frmAddToDo::resetFields);
    connect(m_cmdClose, &QPushButton::clicked, this, &QWidget::close);
    m_opened = shown();
}

frmAddToDo::~frmAddToDo() = default;

void frmAddToDo::openForAdd()
{
    m_mode = Mode::Add;
    setWindowTitle(tr("Add To-Do Item"));
    m_cmbDone->setCurrentIndex(kNotDoneIndex);
    m_cmbDone->setEnabled(false);
    // A new item is never done, whatever the window showed before.
    m_opened.done = m_cmbDone->currentText();
    bringToFront();
}

frmAddToDo::Opened frmAddToDo::openForEdit(store::RecordId id)
{
    const store::ReadResult<store::ToDoItem> read = m_items.byId(id);
    if (!read.ok()) {
        desktop().message(parentWidget(), tr("The to-do item could not be read: ") + read.error,
                          Desktop::Icon::Critical);
        return Opened::Unreadable;
    }
    if (!read.value) {
        qCDebug(lcTodoEditor) << "to-do record" << id << "is gone";
        return Opened::Gone;
    }
    m_item = *read.value;
    m_mode = Mode::Edit;
    m_txtTask->setText(m_item.text);
    // A value that is not in a list leaves that list as it was.
    const int category = m_cmbCategory->findText(m_item.category, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (category >= 0)
        m_cmbCategory->setCurrentIndex(category);
    m_cmbDone->setCurrentIndex(m_item.done ? kDoneIndex : kNotDoneIndex);
    m_cmbDone->setEnabled(true);
    const int code = m_item.priority;
    m_cmbPriority->setCurrentIndex(code >= 1 && code <= m_cmbPriority->count() ? code - 1 : -1);
    m_opened = shown();
    setWindowTitle(tr("Edit To-Do Item"));
    bringToFront();
    return Opened::Shown;
}

void frmAddToDo::bringToFront()
{
    show();
    raise();
    activateWindow();
}

frmAddToDo::Shown frmAddToDo::shown() const
{
    return {m_txtTask->text(), m_cmbCategory->currentText(), m_cmbDone->currentText(), m_cmbPriority->currentText()};
}

store::ToDoFields frmAddToDo::changedFields() const
{
    const Shown now = shown();
    store::ToDoFields fields;
    fields.setFlag(store::ToDoField::Text, now.text != m_opened.text);
    fields.setFlag(store::ToDoField::Category, now.category != m_opened.category);
    fields.setFlag(store::ToDoField::Done, now.done != m_opened.done);
    fields.setFlag(store::ToDoField::Priority, now.priority != m_opened.priority);
    return fields;
}

bool frmAddToDo::hasUnsavedChanges() const
{
    return isVisible() && shown() != m_opened;
}

store::ToDoItem frmAddToDo::itemFromControls(store::ToDoItem item) const
{
    item.text = m_txtTask->text();
    item.category = m_cmbCategory->currentText();
    item.done = m_cmbDone->currentIndex() == kDoneIndex;
    item.priority = m_cmbPriority->currentIndex() + 1;
    return item;
}

void frmAddToDo::save()
{
    if (m_txtTask->text().isEmpty())
        return;
    if (m_mode == Mode::Add)
        addNewTask();
    else
        editTask();
}

bool frmAddToDo::textFits()
{
    // A longer text stored before (written elsewhere) may be kept or
    // shortened, as the text box allows; never lengthened.
    if (m_txtTask->fits()
        || (m_mode == Mode::Edit && characterCount(m_txtTask->text()) <= characterCount(m_item.text)))
        return true;
    desktop().message(this, m_txtTask->tooLongMessage(), Desktop::Icon::Exclamation);
    m_txtTask->setFocus();
    return false;
}

void frmAddToDo::addNewTask()
{
    if (!textFits())
        return;
    const QString text = m_txtTask->text();
    const store::ReadResult<store::ToDoItem> twin = m_items.findByText(text);
    if (!twin.ok()) {
        reportFailedWrite(twin.error);
        return;
    }
    if (twin.value) {
        desktop().message(this,
                          tr("The to-do item '") + text + tr("' already exists.  ") + tr("This item cannot be saved."),
                          Desktop::Icon::Exclamation);
        m_txtTask->setFocus();
        m_txtTask->selectAll();
        return;
    }
    store::ToDoItem item = itemFromControls({});
    if (const store::WriteResult result = m_items.add(item); !result) {
        reportFailedWrite(result.error);
        return;
    }
    qCDebug(lcTodoEditor) << "to-do item added as record" << item.id;
    m_opened = shown();
    Q_EMIT saved(item.id);
    close();
}

void frmAddToDo::editTask()
{
    const store::ToDoFields fields = changedFields();
    if (fields.testFlag(store::ToDoField::Text) && !textFits())
        return;
    const store::ReadResult<store::ToDoItem> current = m_items.byId(m_item.id);
    if (!current.ok()) {
        reportFailedWrite(current.error);
        return;
    }
    if (!current.value) {
        desktop().message(this, tr("This to-do item no longer exists.  It may have been deleted."),
                          Desktop::Icon::Exclamation);
        return;
    }
    if (fields) {
        if (*current.value != m_item
            && desktop().message(this,
                                 tr("This item was changed elsewhere since you opened it.  Save your version anyway?"),
                                 Desktop::Icon::Question, Desktop::Buttons::YesNo)
                   != Desktop::Answer::Yes)
            return;
        if (const store::WriteResult result = m_items.update(itemFromControls(m_item), fields); !result) {
            reportFailedWrite(result.error);
            return;
        }
    }
    qCDebug(lcTodoEditor) << "to-do record" << m_item.id << "changed:" << fields.toInt();
    m_opened = shown();
    Q_EMIT saved(m_item.id);
    close();
}

void frmAddToDo::reportFailedWrite(const QString &reason)
{
    // The window stays open with what the user typed, so nothing is lost.
    desktop().message(this, tr("The to-do item could not be saved: ") + reason, Desktop::Icon::Critical);
}

void frmAddToDo::resetFields()
{
    m_txtTask->clear();
    m_cmbCategory->setCurrentIndex(0);
    m_cmbPriority->setCurrentIndex(kMediumIndex);
    m_txtTask->setFocus();
}

void frmAddToDo::enableButton(FlatButton *button)
{
    button->enableWithEdges(!m_txtTask->text().isEmpty(), kEdgeGrey);
}

// Escape and the dialog's own reject() close the window like its close box,
// so that every way out tells the main window.
void frmAddToDo::done(int result)
{
    setResult(result);
    close();
}

void frmAddToDo::closeEvent(QCloseEvent *event)
{
    // Closing without saving is the Close button's meaning: no question.
    QWidget::closeEvent(event);
    Q_EMIT closed();
}

void frmAddToDo::mousePressEvent(QMouseEvent *event)
{
    QDialog::mousePressEvent(event);
    m_txtTask->setFocus();
}

} // namespace brevane
