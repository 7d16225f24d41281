#include "todo_editor/frmaddtodo.h"

#include "controls/flatbutton.h"
#include "controls/twips.h"
#include "core/logging.h"
#include "core/organizer.h"
#include "platform/desktop.h"
#include "store/names.h"
#include "controls/limitedlineedit.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>

namespace brevane {

namespace names = store::names;

namespace {

const QString kAddCaption = QStringLiteral("Add To-Do Item");
const QString kEditCaption = QStringLiteral("Edit To-Do Item");
const QString kDone = QStringLiteral("Yes");
const QString kNotDone = QStringLiteral("No");
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
    : QWidget(parent, Qt::Window), m_db(db)
{
    setObjectName(QStringLiteral("frmAddToDo"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(kAddCaption);
    setFixedSize(twips::toPixels(this, kWindowWidth), twips::toPixels(this, kWindowHeight));

    QLabel *lblTask = addLabel(this, QStringLiteral("lblTask"), QStringLiteral("Task:"), kLabelLeft, 180, kLabelWidth);
    m_txtTask = new LimitedLineEdit(kMaxTaskLength, this);
    m_txtTask->setObjectName(QStringLiteral("txtTask"));
    m_txtTask->setAccessibleName(lblTask->text());
    lblTask->setBuddy(m_txtTask);
    twips::setGeometry(m_txtTask, kFieldLeft, 180, kWindowWidth - kFieldLeft - 180, kFieldHeight);

    m_lblMaxLength = addLabel(this, QStringLiteral("lblMaxLength"),
                              QStringLiteral("(Max. %1 characters)").arg(kMaxTaskLength), kFieldLeft, 555, 3000);
    m_lblMaxLength->setForegroundRole(QPalette::PlaceholderText);

    QLabel *lblCategory = addLabel(this, QStringLiteral("lblCategory"), QStringLiteral("Category:"), kLabelLeft, 1020,
                                   kLabelWidth);
    m_cmbCategory = addList(this, QStringLiteral("cmbCategory"), lblCategory, QStringList{QString()} + categoryNames(),
                            kFieldLeft, 1020, kBoxWidth);
    m_cmbCategory->setMaxVisibleItems(14);
    m_cmbCategory->setCurrentIndex(-1);

    QLabel *lblDone = addLabel(this, QStringLiteral("lblDone"), QStringLiteral("Done:"), 3900, 1020, 900);
    m_cmbDone = addList(this, QStringLiteral("cmbDone"), lblDone, {kDone, kNotDone}, 4800, 1020,
                        kWindowWidth - 4800 - 180);
    m_cmbDone->setCurrentIndex(1);

    QLabel *lblPriority = addLabel(this, QStringLiteral("lblPriority"), QStringLiteral("Priority:"), kLabelLeft, 1500,
                                   kLabelWidth);
    m_cmbPriority = addList(this, QStringLiteral("cmbPriority"), lblPriority, priorityNames(), kFieldLeft, 1500,
                            kBoxWidth);
    m_cmbPriority->setCurrentIndex(kMediumIndex);

    auto addButton = [this](const QString &name, const QString &caption, int index) {
        auto *button = new FlatButton(caption, this);
        button->setObjectName(name);
        const double gap = (kWindowWidth - 3 * kButtonWidth) / 4;
        twips::setGeometry(button, gap + index * (kButtonWidth + gap), kButtonTop, kButtonWidth, kButtonHeight);
        return button;
    };
    m_cmdSave = addButton(QStringLiteral("cmdSave"), QStringLiteral("Save"), 0);
    m_cmdReset = addButton(QStringLiteral("cmdReset"), QStringLiteral("Reset Fields"), 1);
    m_cmdClose = addButton(QStringLiteral("cmdClose"), QStringLiteral("Close"), 2);
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
}

frmAddToDo::~frmAddToDo() = default;

void frmAddToDo::openForAdd()
{
    m_recordId = store::kNoRecord;
    setWindowTitle(kAddCaption);
    m_cmbDone->setCurrentIndex(m_cmbDone->findText(kNotDone));
    m_cmbDone->setEnabled(false);
    bringToFront();
}

bool frmAddToDo::openForEdit(store::RecordId id)
{
    store::RecordSet items(m_db, names::ToDo, store::onlyRecord(id));
    if (!items.moveToRecord(id)) {
        qCDebug(lcTodoEditor) << "to-do record" << id << "is gone";
        return false;
    }
    m_recordId = id;
    m_txtTask->setText(items.field(names::todo::Task));
    // A value that is not in a list leaves that list as it was.
    const auto select = [](QComboBox *box, const QString &value) {
        const int index = box->findText(value, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (index >= 0)
            box->setCurrentIndex(index);
    };
    select(m_cmbCategory, items.field(names::todo::Category));
    // A reused window must not carry the last item's Done over to an item
    // without one (a reminder copy): such an item is not done.
    m_cmbDone->setCurrentIndex(m_cmbDone->findText(kNotDone));
    select(m_cmbDone, items.field(names::todo::Done));
    m_cmbDone->setEnabled(true);
    const int code = textToNumber(items.field(names::todo::Priority));
    m_cmbPriority->setCurrentIndex(code >= 1 && code <= m_cmbPriority->count() ? code - 1 : -1);
    setWindowTitle(kEditCaption);
    bringToFront();
    return true;
}

void frmAddToDo::bringToFront()
{
    show();
    raise();
    activateWindow();
}

void frmAddToDo::save()
{
    if (m_txtTask->text().isEmpty())
        return;
    if (windowTitle() == kAddCaption)
        addNewTask();
    else if (windowTitle() == kEditCaption)
        editTask();
}

void frmAddToDo::addNewTask()
{
    const QString text = m_txtTask->text();
    store::RecordSet items(m_db, names::ToDo);
    if (!items.lastError().isEmpty()) {
        reportFailedWrite(items.lastError());
        return;
    }
    for (items.moveFirst(); !items.eof(); items.moveNext()) {
        if (items.field(names::todo::Task) == text) {
            desktop().message(this,
                              QStringLiteral("The to-do item '") + text + QStringLiteral("' already exists.  ")
                                  + QStringLiteral("This item cannot be saved."),
                              Desktop::Icon::Exclamation);
            m_txtTask->setFocus();
            m_txtTask->selectAll();
            return;
        }
    }
    items.addNew();
    writeFields(items);
    if (const store::WriteResult result = items.update(); !result) {
        reportFailedWrite(result.error);
        return;
    }
    qCDebug(lcTodoEditor) << "to-do item added as record" << items.recordId();
    Q_EMIT saved();
    close();
}

void frmAddToDo::editTask()
{
    store::RecordSet items(m_db, names::ToDo, store::onlyRecord(m_recordId));
    if (!items.lastError().isEmpty()) {
        reportFailedWrite(items.lastError());
        return;
    }
    if (!items.moveToRecord(m_recordId)) {
        desktop().message(this, QStringLiteral("This to-do item no longer exists.  It may have been deleted."),
                          Desktop::Icon::Exclamation);
        return;
    }
    items.edit();
    writeFields(items);
    if (const store::WriteResult result = items.update(); !result) {
        reportFailedWrite(result.error);
        return;
    }
    qCDebug(lcTodoEditor) << "to-do record" << m_recordId << "changed";
    Q_EMIT saved();
    close();
}

void frmAddToDo::writeFields(store::RecordSet &set) const
{
    set.setField(names::todo::Task, m_txtTask->text());
    set.setField(names::todo::Category, m_cmbCategory->currentText());
    set.setField(names::todo::Done, m_cmbDone->currentText());
    set.setField(names::todo::Priority, QString::number(m_cmbPriority->currentIndex() + 1));
}

void frmAddToDo::reportFailedWrite(const QString &reason)
{
    // The window stays open with what the user typed, so nothing is lost.
    desktop().message(this, QStringLiteral("The to-do item could not be saved: ") + reason,
                      Desktop::Icon::Critical);
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

void frmAddToDo::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    Q_EMIT closed();
}

void frmAddToDo::mousePressEvent(QMouseEvent *event)
{
    QWidget::mousePressEvent(event);
    m_txtTask->setFocus();
}

} // namespace brevane
