// The main window's agenda: the half-hour grid of the selected day, the
// marks of the shown month's task days in the calendar, and the commands
// that add, edit and delete tasks.

#include "app/frmmain.h"

#include "agenda_editor/frmaddagenda.h"
#include "controls/flatbutton.h"
#include "controls/grid.h"
#include "controls/twips.h"
#include "core/logging.h"
#include "core/organizer.h"
#include "platform/desktop.h"
#include "store/names.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenu>
#include <QTableWidget>

#include <cmath>

namespace brevane {

namespace names = store::names;
namespace agenda = store::names::agenda;

namespace {

constexpr int kSlotRows = 50;
constexpr int kTaskMarkCol = 1;
constexpr int kTaskCol = 2;
constexpr int kCategoryCol = 3;

const QString kAgendaFormat = QStringLiteral("Time||Task|Category");
const QColor kSelection{192, 255, 192};
const QColor kBlack{0, 0, 0};
const QColor kRed{255, 0, 0};

// The row of a slot label, 0 when no row carries it.
int slotRow(const QString &label)
{
    static const QHash<QString, int> rows = [] {
        QHash<QString, int> map;
        const QStringList &labels = slotLabels();
        for (int i = 0; i < labels.size(); ++i)
            map.insert(labels.at(i), i + 1);
        return map;
    }();
    return rows.value(label, 0);
}

// A span is shaded in the button-face colour. Styles that draw buttons
// nearly as light as the grid's cells get a slightly darker shade, so that a
// span stays visible.
QColor spanShade(const QPalette &palette)
{
    const QColor face = palette.color(QPalette::Button);
    const int contrast = std::abs(face.lightness() - palette.color(QPalette::Base).lightness());
    return contrast >= 24 ? face : face.darker(112);
}

QString startKey(const store::RecordSet &set)
{
    return timeText(set.field(agenda::StartHour), set.field(agenda::StartMinute), set.field(agenda::StartAmPm));
}

} // namespace

void frmMain::buildAgenda()
{
    m_agenda = new Grid(m_client);
    m_agenda->setObjectName(QStringLiteral("Agenda"));
    m_agenda->setAccessibleName(QStringLiteral("Agenda"));
    m_agenda->setFormatString(kAgendaFormat);
    m_agenda->setRows(kSlotRows + 1);
    m_agenda->setFixedCols(1);
    m_agenda->setBackColorSel(kSelection);
    twips::setGeometry(m_agenda, 0, 1155, 6000, 6000);
    m_agendaRowRecords.fill(store::kNoRecord, kSlotRows + 1);

    // The column widths follow the grid's font, measured like this.
    auto measure = [this](const QString &name, const QString &caption) {
        auto *label = new QLabel(caption, m_client);
        label->setObjectName(name);
        label->setFont(m_agenda->table()->font());
        label->adjustSize();
        label->hide();
        return label;
    };
    m_lblTimeWidth = measure(QStringLiteral("lblTimeWidth"), QStringLiteral("Midnight"));
    m_lblCategoryWidth = measure(QStringLiteral("lblCategoryWidth"), QStringLiteral("Anniversary"));

    connect(m_agenda, &Grid::doubleClicked, this, &frmMain::agendaDoubleClick);
    connect(m_agenda, &Grid::keyPressed, this, [this](QChar ch) {
        if (ch == u'\r')
            agendaDoubleClick();
    });
    connect(m_agenda, &Grid::keyDown, this, [this](int key) {
        if (key == Qt::Key_Delete)
            deleteAgendaTask();
    });
    connect(m_agenda, &Grid::mouseDown, this, [this](Qt::MouseButton button) { agendaMouseDown(button); });
    connect(m_agenda, &Grid::mouseUp, this, &frmMain::agendaMouseUp);
    connect(m_agenda, &Grid::lostFocus, this, [this] { setAgendaSelectionCommandsEnabled(false); });

    connectCalendarAndAgendaCommands();
}

void frmMain::connectCalendarAndAgendaCommands()
{
    m_mnuAgenda = findChild<QMenu *>(QStringLiteral("mnuAgenda"));
    m_mnuEditAgendaTask = findChild<QAction *>(QStringLiteral("mnuEditAgendaTask"));
    m_mnuDeleteAgendaTask = findChild<QAction *>(QStringLiteral("mnuDeleteAgendaTask"));
    m_mnuReminderAction = findChild<QMenu *>(QStringLiteral("mnuReminder"))->menuAction();
    for (const char *name : {"mnuNewAgendaTask", "mnuFileNewAgendaTask"}) {
        QAction *action = findChild<QAction *>(QLatin1String(name));
        action->setEnabled(true);
        connect(action, &QAction::triggered, this, &frmMain::addAgendaTask);
    }
    connect(m_mnuEditAgendaTask, &QAction::triggered, this, &frmMain::editAgendaTask);
    connect(m_mnuDeleteAgendaTask, &QAction::triggered, this, &frmMain::deleteAgendaTask);
    setAgendaSelectionCommandsEnabled(false);
}

void frmMain::setAgendaSelectionCommandsEnabled(bool enable)
{
    m_mnuEditAgendaTask->setEnabled(enable);
    m_mnuDeleteAgendaTask->setEnabled(enable);
    m_mnuReminderAction->setEnabled(enable);
}

store::RecordId frmMain::agendaRecordAt(int row) const
{
    return m_agendaRowRecords.value(row, store::kNoRecord);
}

void frmMain::sizeAgendaColumns()
{
    const double timeWidth = std::round(twips::width(m_lblTimeWidth) * 1.2);
    const double categoryWidth = std::round(twips::width(m_lblCategoryWidth) * 1.2);
    const double taskWidth =
        std::round(m_agenda->widthTwips() - timeWidth - categoryWidth - twips::height(m_lblTimeWidth) * 1.2);
    m_agenda->setColWidth(0, timeWidth);
    m_agenda->setColWidth(kTaskMarkCol, 0);
    m_agenda->setColWidth(kCategoryCol, categoryWidth);
    // Too narrow a grid keeps the task column as it was rather than hide it.
    if (twips::toPixels(m_agenda, taskWidth) > 0)
        m_agenda->setColWidth(kTaskCol, taskWidth);
}

void frmMain::addAgendaTimes()
{
    const QStringList &labels = slotLabels();
    for (int row = 1; row <= kSlotRows; ++row)
        m_agenda->setTextMatrix(row, 0, labels.at(row - 1));
    m_agenda->setRow(kSlotRows);
    m_agenda->setCol(0);
}

void frmMain::loadAgenda()
{
    QElapsedTimer timer;
    timer.start();
    m_agenda->setUpdatesEnabled(false);
    m_agenda->clear();
    m_agenda->setFormatString(kAgendaFormat);
    sizeAgendaColumns();
    addAgendaTimes();
    m_agendaRowRecords.fill(store::kNoRecord, kSlotRows + 1);
    for (FlatButton *cell : std::as_const(m_cmdDay))
        cell->setForeColor(kBlack);

    // Only the shown month is read, through the month index, in table order;
    // tasks of other months could neither mark a cell nor stand on a row.
    const int month = shownMonthIndex + 1;
    if (!m_agendaSet || m_agendaSetYear != shownYear || m_agendaSetMonth != month) {
        m_agendaSet = std::make_unique<store::RecordSet>(
            m_db, names::Agenda, QList<store::NumericCondition>{{agenda::Year, shownYear}, {agenda::Month, month}});
        m_agendaSetYear = shownYear;
        m_agendaSetMonth = month;
    } else {
        (void)m_agendaSet->requery();
    }

    const int yearShown = textToNumber(m_cmbYear->currentText());
    int lastRow = 0;
    for (m_agendaSet->moveFirst(); !m_agendaSet->eof(); m_agendaSet->moveNext()) {
        const QString day = m_agendaSet->field(agenda::Day);
        for (FlatButton *cell : std::as_const(m_cmdDay)) {
            if (cell->text() == day) {
                cell->setForeColor(kRed);
                break;
            }
        }
        if (textToNumber(day) != selectedDay || textToNumber(m_agendaSet->field(agenda::Month)) != month
            || textToNumber(m_agendaSet->field(agenda::Year)) != yearShown)
            continue;
        // A start time that is no slot label has no row to stand on.
        const int row = slotRow(startKey(*m_agendaSet));
        if (row == 0)
            continue;
        markAgendaSpan(row);
        m_agenda->setTextMatrix(row, kTaskMarkCol, QStringLiteral("."));
        m_agenda->setTextMatrix(row, kTaskCol, m_agendaSet->field(agenda::Task));
        m_agenda->setTextMatrix(row, kCategoryCol, m_agendaSet->field(agenda::Category));
        m_agendaRowRecords[row] = m_agendaSet->recordId();
        lastRow = row;
    }

    setAgendaSelectionCommandsEnabled(false);
    if (lastRow > 0)
        m_agenda->setRow(lastRow);
    m_agenda->setCol(kTaskMarkCol);
    m_agenda->setUpdatesEnabled(true);
    qCDebug(lcApp) << "agenda of" << selectedDay << month << shownYear << "drawn from"
                   << m_agendaSet->recordCount() << "tasks in" << timer.elapsed() << "ms";
}

void frmMain::markAgendaSpan(int row)
{
    // Hours count modulo 12, so that "12" is the first hour of its half-day.
    const int startHour = textToNumber(m_agendaSet->field(agenda::StartHour)) % 12;
    const int endHour = textToNumber(m_agendaSet->field(agenda::EndHour)) % 12;
    const int startMinute = textToNumber(m_agendaSet->field(agenda::StartMinute));
    const int endMinute = textToNumber(m_agendaSet->field(agenda::EndMinute));
    int hours = 0;
    int minutes = 0;
    if (m_agendaSet->field(agenda::StartAmPm) == m_agendaSet->field(agenda::EndAmPm)) {
        hours = endHour - startHour;
        minutes = endMinute - startMinute;
    } else {
        // Morning into afternoon: the extra half hour is the "Noon" row.
        hours = 12 - startHour + endHour;
        minutes = endMinute - startMinute + 30;
    }
    const int span = hours == 0 && minutes == 0 ? 1 : minutes / 30 + hours * 2;
    const QColor shade = spanShade(m_agenda->table()->palette());
    for (int r = row; r < row + span && r <= kSlotRows; ++r) {
        for (int col = kTaskMarkCol; col <= kCategoryCol; ++col) {
            m_agenda->setCellBackColorAt(r, col, shade);
            m_agenda->setCellForeColorAt(r, col, kBlack);
        }
    }
}

bool frmMain::findAgendaRecord(const QString &slotLabel, const QString &task, const QString &category)
{
    if (!m_agendaSet)
        return false;
    const int month = shownMonthIndex + 1;
    const auto matches = [&] {
        return startKey(*m_agendaSet) == slotLabel && m_agendaSet->field(agenda::Task) == task
               && m_agendaSet->field(agenda::Category) == category
               && textToNumber(m_agendaSet->field(agenda::Day)) == selectedDay
               && textToNumber(m_agendaSet->field(agenda::Month)) == month
               && textToNumber(m_agendaSet->field(agenda::Year)) == shownYear;
    };
    // The selected row's own task first: another task of the day may carry
    // the same time and texts.
    const store::RecordId own = agendaRecordAt(m_agenda->row());
    if (own != store::kNoRecord && m_agendaSet->moveToRecord(own) && matches())
        return true;
    for (m_agendaSet->moveFirst(); !m_agendaSet->eof(); m_agendaSet->moveNext()) {
        if (matches())
            return true;
    }
    return false;
}

frmAddAgenda *frmMain::newAgendaEditor()
{
    auto *editor = new frmAddAgenda(m_db, this);
    editor->setAttribute(Qt::WA_DeleteOnClose);
    connect(editor, &frmAddAgenda::saved, this, &frmMain::loadAgenda);
    connect(editor, &frmAddAgenda::unloaded, this, [this] { m_agenda->setCol(kTaskMarkCol); });
    return editor;
}

frmAddAgenda *frmMain::openEditorOf(store::RecordId id) const
{
    const auto editors = findChildren<frmAddAgenda *>(QString(), Qt::FindDirectChildrenOnly);
    for (frmAddAgenda *editor : editors) {
        if (editor->isEditMode() && editor->recordId() == id && editor->isVisible())
            return editor;
    }
    return nullptr;
}

void frmMain::addAgendaTask()
{
    frmAddAgenda *editor = newAgendaEditor();
    // "9:30 AM": hour before the colon, two minute digits after it, AM/PM
    // after the blank. "Midnight" and "Noon" carry no time: the editor keeps
    // its own.
    const QString label = m_agenda->textMatrix(m_agenda->row(), 0);
    const qsizetype colon = label.indexOf(u':');
    const qsizetype blank = label.indexOf(u' ');
    if (colon > 0 && blank > colon)
        editor->presetStartTime(label.left(colon), label.mid(colon + 1, 2), label.mid(blank + 1, 2));
    editor->presetDate(selectedDay, shownMonthIndex, shownYear);
    editor->show();
    editor->activateWindow();
}

void frmMain::editAgendaTask()
{
    m_agenda->setCol(kTaskCol);
    if (m_agenda->text().isEmpty()) {
        desktop().message(this, QStringLiteral("Please Select A Record To Edit"), Desktop::Icon::Exclamation);
        m_agenda->setCol(kTaskMarkCol);
        return;
    }
    const int row = m_agenda->row();
    const QString label = m_agenda->textMatrix(row, 0);
    const QString task = m_agenda->textMatrix(row, kTaskCol);
    const QString category = m_agenda->textMatrix(row, kCategoryCol);
    m_agenda->setCol(kTaskMarkCol);

    if (!findAgendaRecord(label, task, category)) {
        addAgendaTask();
        return;
    }
    const store::RecordId id = m_agendaSet->recordId();
    if (frmAddAgenda *open = openEditorOf(id)) {
        open->raise();
        open->activateWindow();
        return;
    }
    frmAddAgenda *editor = newAgendaEditor();
    if (!editor->editRecord(id, {selectedDay, shownMonthIndex + 1, shownYear})) {
        // Gone from the file since the agenda was drawn.
        editor->close();
        loadAgenda();
        return;
    }
    editor->show();
    editor->activateWindow();
}

void frmMain::deleteAgendaTask()
{
    m_agenda->setCol(kTaskCol);
    const QString task = m_agenda->text();
    if (task.isEmpty()) {
        desktop().message(this, QStringLiteral("Please Select A Record To Delete"), Desktop::Icon::Exclamation);
        m_agenda->setCol(kTaskMarkCol);
        return;
    }
    const store::RecordId id = agendaRecordAt(m_agenda->row());
    const Desktop::Answer answer =
        desktop().message(this, QStringLiteral("Delete '") + task + QStringLiteral("' From Agenda?"),
                          Desktop::Icon::Question, Desktop::Buttons::YesNo);
    if (answer != Desktop::Answer::Yes) {
        m_agenda->setCol(kTaskMarkCol);
        return;
    }
    // Exactly the task on the selected row, never another of the same day
    // that shares its time and text.
    if (m_agendaSet && m_agendaSet->moveToRecord(id)) {
        if (const store::WriteResult result = m_agendaSet->deleteCurrent(); !result) {
            desktop().message(this, QStringLiteral("The task could not be deleted: ") + result.error,
                              Desktop::Icon::Exclamation);
        }
    }
    loadAgenda();
}

void frmMain::agendaDoubleClick()
{
    m_agenda->setCol(kTaskCol);
    if (m_agenda->text().isEmpty())
        addAgendaTask();
    else
        editAgendaTask();
}

void frmMain::agendaMouseDown(Qt::MouseButton /*button*/)
{
    m_agenda->setFocus(Qt::MouseFocusReason);
    if (m_agenda->mouseRow() >= 1)
        m_agenda->selectRow(m_agenda->mouseRow(), kTaskMarkCol);
    // Judged on the row just selected: only a task's start row carries the
    // task, whichever of its cells was pressed.
    setAgendaSelectionCommandsEnabled(!m_agenda->text().isEmpty());
}

void frmMain::agendaMouseUp(Qt::MouseButton button, const QPoint &globalPos)
{
    if (button != Qt::RightButton)
        return;
    setAgendaSelectionCommandsEnabled(!m_agenda->text().isEmpty());
    if (m_agenda->mouseRow() == 0) {
        setAgendaSelectionCommandsEnabled(false);
        m_agenda->setCol(kTaskMarkCol);
    }
    desktop().popupMenu(m_mnuAgenda, globalPos);
}

} // namespace brevane
