#include "task_search/frmsearch.h"

#include "controls/flatbutton.h"
#include "controls/twips.h"
#include "core/organizer.h"
#include "platform/desktop.h"
#include "platform/navigation.h"
#include "store/agendarepository.h"
#include "store/todorepository.h"

#include <QComboBox>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QLoggingCategory>

#include <algorithm>

Q_LOGGING_CATEGORY(lcTaskSearch, "brevane.task_search")

namespace brevane {

namespace {

// Design sizes, in twips.
constexpr double kDefaultWidth = 10800;
constexpr double kDefaultHeight = 3900;
constexpr double kGap = 60;
constexpr double kBoxHeight = 315;
constexpr double kButtonWidth = 1140;
constexpr double kButtonHeight = 375;
constexpr double kDividerWidth = 30;
constexpr double kMinListWidth = 2400;
constexpr double kMinListHeight = 1200;
// The layout rule was made for the window's outer size, frame included; these
// stand for the frame, so that it lays out the inside the same way.
constexpr double kFrameWidth = 120;
constexpr double kFrameHeight = 180;

} // namespace

frmSearch::frmSearch(store::Database &db, Navigation &navigation, QWidget *parent)
    : QWidget(parent, Qt::Window), m_db(db), m_navigation(navigation)
{
    setObjectName(QStringLiteral("frmSearch"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("Search"));

    auto addLabel = [this](const QString &name, const QString &caption) {
        auto *label = new QLabel(caption, this);
        label->setObjectName(name);
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        return label;
    };
    m_lblSearchIn = addLabel(QStringLiteral("lblSearchIn"), tr("Search In:"));
    m_lblSearchFor = addLabel(QStringLiteral("lblSearchFor"), tr("Search For:"));
    // One width for both, so that the boxes beside them line up; as high as
    // the boxes, so that their texts line up.
    const int labelWidth = std::max(m_lblSearchIn->sizeHint().width(), m_lblSearchFor->sizeHint().width());
    for (QLabel *label : {m_lblSearchIn, m_lblSearchFor})
        label->resize(labelWidth, twips::toPixels(this, kBoxHeight));

    m_cmbSearchIn = new QComboBox(this);
    m_cmbSearchIn->setObjectName(QStringLiteral("cmbSearchIn"));
    m_cmbSearchIn->addItem(tr("Agenda"), QVariant::fromValue(static_cast<int>(SearchList::Agenda)));
    m_cmbSearchIn->addItem(tr("To-Do List"), QVariant::fromValue(static_cast<int>(SearchList::ToDo)));
    m_cmbSearchIn->setAccessibleName(m_lblSearchIn->text());
    m_lblSearchIn->setBuddy(m_cmbSearchIn);

    m_txtSearchFor = new QLineEdit(this);
    m_txtSearchFor->setObjectName(QStringLiteral("txtSearchFor"));
    m_txtSearchFor->setAccessibleName(m_lblSearchFor->text());
    m_lblSearchFor->setBuddy(m_txtSearchFor);

    m_results = new SearchResults(this);
    m_lstResults = new QListView(this);
    m_lstResults->setObjectName(QStringLiteral("lstResults"));
    m_lstResults->setAccessibleName(tr("Results"));
    m_lstResults->setModel(m_results);
    m_lstResults->setUniformItemSizes(true);
    m_lstResults->setSelectionMode(QAbstractItemView::SingleSelection);
    m_lstResults->installEventFilter(this);

    auto addButton = [this](const QString &name, const QString &caption, double width) {
        auto *button = new FlatButton(caption, this);
        button->setObjectName(name);
        twips::setGeometry(button, kGap, 0, width, kButtonHeight);
        return button;
    };
    m_cmdSearch = addButton(QStringLiteral("cmdSearch"), tr("Search"), kButtonWidth);
    m_cmdViewTask = addButton(QStringLiteral("cmdViewTask"), tr("View Task"), kButtonWidth);
    m_cmdDivider = addButton(QStringLiteral("cmdDivider"), QString(), kDividerWidth);
    m_cmdDivider->setFocusPolicy(Qt::NoFocus);
    m_cmdDivider->setEnabled(false);
    m_cmdDivider->setHighlightColor(kEdgeGrey);
    m_cmdDivider->setShadowColor(kEdgeWhite);
    m_cmdDivider->setAccessibleName(tr("Divider"));
    m_cmdClose = addButton(QStringLiteral("cmdClose"), tr("Close"), kButtonWidth);

    // The left column holds the boxes above the button row; the drop-down
    // and the search box are as wide as that row, so the list beside them
    // never covers a button.
    const double leftOfBoxes = kGap + twips::width(m_lblSearchIn) + kGap;
    const double buttonsRight = kGap + 3 * (kButtonWidth + kGap) + kDividerWidth;
    const double boxWidth = std::max(buttonsRight - leftOfBoxes, twips::fromPixels(this, m_cmbSearchIn->sizeHint().width()));
    twips::setGeometry(m_cmbSearchIn, leftOfBoxes, kGap, boxWidth, kBoxHeight);
    twips::setGeometry(m_txtSearchFor, leftOfBoxes, kGap, boxWidth, kBoxHeight);

    setTabOrder(m_cmbSearchIn, m_txtSearchFor);
    setTabOrder(m_txtSearchFor, m_lstResults);
    setTabOrder(m_lstResults, m_cmdSearch);
    setTabOrder(m_cmdSearch, m_cmdViewTask);
    setTabOrder(m_cmdViewTask, m_cmdClose);

    enableButton(m_cmdSearch, false);
    enableButton(m_cmdViewTask, false);
    enableButton(m_cmdClose, true);

    connect(m_txtSearchFor, &QLineEdit::textChanged, this,
            [this](const QString &text) { enableButton(m_cmdSearch, !text.isEmpty()); });
    // Enter searches even with an empty box: every record with text is listed.
    connect(m_txtSearchFor, &QLineEdit::returnPressed, this, &frmSearch::Search);
    connect(m_cmdSearch, &QPushButton::clicked, this, &frmSearch::Search);
    connect(m_cmdViewTask, &QPushButton::clicked, this, &frmSearch::FindTask);
    connect(m_cmdClose, &QPushButton::clicked, this, &QWidget::close);
    connect(m_lstResults->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        const SearchResults::Line *line = selectedLine();
        enableButton(m_cmdViewTask, line && line->id != store::kNoRecord);
    });
    connect(m_lstResults, &QAbstractItemView::doubleClicked, this, &frmSearch::FindTask);

    setMinimumSize(twips::toPixels(this, buttonsRight + kGap + kMinListWidth + 120),
                   twips::toPixels(this, 60 + kMinListHeight + 120 + 1.75 * kBoxHeight - kFrameHeight));
    resize(twips::toPixels(this, kDefaultWidth), twips::toPixels(this, kDefaultHeight));
    layoutControls();
}

frmSearch::~frmSearch()
{
    disconnect(m_lstResults->selectionModel(), nullptr, this, nullptr);
}

SearchList frmSearch::chosenList() const
{
    return static_cast<SearchList>(m_cmbSearchIn->currentData().toInt());
}

const SearchResults::Line *frmSearch::selectedLine() const
{
    const QModelIndexList selected = m_lstResults->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? nullptr : m_results->line(selected.constFirst().row());
}

void frmSearch::Search()
{
    const QString text = m_txtSearchFor->text();
    m_lastSearch = chosenList();
    m_cmdViewTask->setText(m_lastSearch == SearchList::ToDo ? tr("View Item") : tr("View Task"));
    QVector<SearchResults::Line> lines;
    QString error;
    if (m_lastSearch == SearchList::Agenda) {
        const store::ReadResult<QList<store::AgendaTask>> tasks = store::AgendaRepository(m_db).search(text);
        error = tasks.error;
        if (tasks.ok()) {
            lines.reserve(tasks.value->size());
            for (const store::AgendaTask &task : *tasks.value) {
                lines.append({QStringLiteral("%1 %2, %3 - %4")
                                  .arg(monthName(task.month), QString::number(task.day), QString::number(task.year),
                                       task.shownText),
                              task.id, SearchList::Agenda});
            }
        }
    } else {
        const store::ReadResult<QList<store::ToDoItem>> items = store::ToDoRepository(m_db).search(text);
        error = items.error;
        if (items.ok()) {
            lines.reserve(items.value->size());
            for (const store::ToDoItem &item : *items.value)
                lines.append({item.text, item.id, SearchList::ToDo});
        }
    }
    if (!error.isEmpty()) {
        // An unreadable file is not a search without matches.
        m_results->setLines({});
        enableButton(m_cmdViewTask, false);
        desktop().message(this, error, Desktop::Icon::Critical);
        return;
    }
    qCDebug(lcTaskSearch) << lines.size() << "matches";
    if (lines.isEmpty())
        lines.append({tr("No Matches Found"), store::kNoRecord, m_lastSearch});
    m_results->setLines(std::move(lines));
    enableButton(m_cmdViewTask, false);
}

void frmSearch::FindTask()
{
    const SearchResults::Line *line = selectedLine();
    if (!line || line->id == store::kNoRecord)
        return;
    // The line knows its record, whatever Search In shows now.
    // Only a record gone from the file is news here: an unreadable file has
    // been reported, and a task under a later one of the same start just
    // leaves the agenda's selection as it was.
    if (line->list == SearchList::Agenda) {
        if (m_navigation.showAgendaTask(line->id) == Navigation::Shown::Gone)
            desktop().message(this, tr("This agenda task no longer exists.  It may have been deleted."),
                              Desktop::Icon::Exclamation);
    } else if (m_navigation.showToDoItem(line->id) == Navigation::Shown::Gone) {
        desktop().message(this, tr("This to-do item no longer exists.  It may have been deleted."),
                          Desktop::Icon::Exclamation);
    }
}

void frmSearch::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutControls();
}

void frmSearch::layoutControls()
{
    // Sizes that leave no room keep the previous one.
    const double w = twips::fromPixels(this, width()) + kFrameWidth;
    const double h = twips::fromPixels(this, height()) + kFrameHeight;
    const double labelHeight = twips::height(m_lblSearchIn);

    twips::setLeft(m_lblSearchIn, 60);
    twips::setTop(m_lblSearchIn, 60);
    twips::setLeft(m_lblSearchFor, twips::left(m_lblSearchIn));
    twips::setTop(m_lblSearchFor, twips::top(m_lblSearchIn) + labelHeight + 180);
    twips::setTop(m_cmbSearchIn, twips::top(m_lblSearchIn));
    twips::setLeft(m_cmbSearchIn, twips::left(m_lblSearchIn) + twips::width(m_lblSearchIn) + 60);
    twips::setTop(m_txtSearchFor, twips::top(m_lblSearchFor));
    twips::setLeft(m_txtSearchFor, twips::left(m_cmbSearchIn));

    const double listTop = twips::top(m_lblSearchIn);
    const double listLeft = twips::left(m_cmbSearchIn) + twips::width(m_cmbSearchIn) + 60;
    twips::setTop(m_lstResults, listTop);
    twips::setLeft(m_lstResults, listLeft);
    twips::setHeightIfRoom(m_lstResults, h - listTop - 120 - 1.75 * labelHeight);
    twips::setWidthIfRoom(m_lstResults, w - listLeft - 120 - 0.4 * labelHeight);

    twips::setLeft(m_cmdSearch, twips::left(m_lblSearchIn));
    twips::setTop(m_cmdSearch, h - 1.8 * twips::height(m_cmdSearch));
    FlatButton *previous = m_cmdSearch;
    for (FlatButton *button : {m_cmdViewTask, m_cmdDivider, m_cmdClose}) {
        twips::setLeft(button, twips::left(previous) + twips::width(previous) + 60);
        twips::setTop(button, twips::top(m_cmdSearch));
        previous = button;
    }
}

bool frmSearch::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_lstResults && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            FindTask();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmSearch::enableButton(FlatButton *button, bool enable)
{
    button->enableWithEdges(enable, kEdgeGrey);
}

} // namespace brevane
