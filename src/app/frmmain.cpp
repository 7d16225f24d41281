#include "app/frmmain.h"

#include "app/appicon.h"
#include "app/helpfile.h"
#include "controls/flatbutton.h"
#include "controls/grid.h"
#include "controls/twips.h"
#include "core/logging.h"
#include "core/organizer.h"
#include "platform/desktop.h"
#include "store/database.h"
#include "store/names.h"
#include "store/recordset.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStandardItemModel>
#include <QWindowStateChangeEvent>

namespace brevane {

namespace names = store::names;

namespace {
// Design sizes, in twips.
constexpr double kToolbarHeight = 555;
constexpr double kToolbarButtonTop = 90;
constexpr double kToolbarButtonHeight = 375;
constexpr double kDividerWidth = 30;
constexpr double kQuickLinksFrameWidth = 3600;
// Five readable toolbar buttons beside the quick-links box.
constexpr double kMinClientWidth = 760 * 15;
constexpr double kDefaultClientWidth = 1000 * 15;
constexpr double kDefaultClientHeight = 680 * 15;

const QString kSelectAnAction = QStringLiteral("Select an Action...");
const QString kAddEditDelete = QStringLiteral("Add/Edit/Delete Quick Links");
const QString kQuickLinksEmpty = QStringLiteral("Quick Links are Empty");
const QString kDashLine = QString(54, u'-');
} // namespace

frmMain::frmMain(store::Database &db, QWidget *parent)
    : QMainWindow(parent), m_db(db)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowIcon(appIcon());
    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("client"));
    setCentralWidget(m_client);

    buildMenus();
    buildToolbar();
    buildTrayMenu();

    // The month calendar and the agenda of the selected day.
    buildCalendar();
    buildAgenda();


    // The to-do list.
    setupToDoList();


    // Smaller than this, the formulas would squeeze the day cells below a
    // usable height and the toolbar captions below their text.
    const double agendaTop = 60 + kToolbarHeight + 120 + twips::height(m_lblAgendaTitle) + 120;
    m_client->setMinimumSize(twips::toPixels(this, kMinClientWidth),
                             twips::toPixels(this, agendaTop + minimumAgendaHeight() + 60));
    resize(twips::toPixels(this, kDefaultClientWidth), twips::toPixels(this, kDefaultClientHeight));

    connect(&desktop(), &Desktop::trayLeftReleased, this, &frmMain::trayLeftReleased);
    connect(&desktop(), &Desktop::trayRightReleased, this, &frmMain::trayRightReleased);
    setupReminders();
}

frmMain::~frmMain()
{
    // The child widgets outlive this part of the window; what they signal
    // while being torn down (a grid losing the focus, say) must not reach it.
    const QList<QObject *> children = findChildren<QObject *>();
    for (QObject *child : children)
        disconnect(child, nullptr, this, nullptr);
}

QAction *frmMain::addMenuAction(QMenu *menu, const QString &name, const QString &caption)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(name);
    return action;
}

QMenu *frmMain::addSubMenu(QMenu *menu, const QString &name, const QString &caption)
{
    QMenu *sub = menu->addMenu(caption);
    sub->setObjectName(name);
    sub->menuAction()->setObjectName(name + QStringLiteral("Action"));
    return sub;
}

void frmMain::addSeparator(QMenu *menu, const QString &name)
{
    menu->addSeparator()->setObjectName(name);
}

QAction *frmMain::addHidden(QMenu *menu, const QString &name, const QString &caption)
{
    QAction *action = addMenuAction(menu, name, caption);
    action->setVisible(false);
    return action;
}

void frmMain::buildMenus()
{
    QMenuBar *bar = menuBar();
    auto topMenu = [bar](const QString &name, const QString &caption) {
        QMenu *menu = bar->addMenu(caption);
        menu->setObjectName(name);
        menu->menuAction()->setObjectName(name + QStringLiteral("Action"));
        return menu;
    };

    QMenu *file = topMenu(QStringLiteral("mnuFile"), QStringLiteral("&File"));
    QMenu *fileNew = addSubMenu(file, QStringLiteral("mnuFileNew"), QStringLiteral("New"));
    addMenuAction(fileNew, QStringLiteral("mnuFileNewAgendaTask"), QStringLiteral("Agenda Task"))->setEnabled(false);
    addMenuAction(fileNew, QStringLiteral("mnuFileNewToDoItem"), QStringLiteral("To-Do Item"))->setEnabled(false);
    addSeparator(fileNew, QStringLiteral("mnuDash1"));
    addMenuAction(fileNew, QStringLiteral("mnuNewContact"), QStringLiteral("Contact"))->setEnabled(false);
    addMenuAction(fileNew, QStringLiteral("mnuNewNote"), QStringLiteral("Note"))->setEnabled(false);
    addMenuAction(fileNew, QStringLiteral("mnuNewQuickLink"), QStringLiteral("Quick Link"))->setEnabled(false);
    addHidden(file, QStringLiteral("mnuFilePrint"), QStringLiteral("Print"));
    addSeparator(file, QStringLiteral("mnuDash0"));
    QAction *exit = addMenuAction(file, QStringLiteral("mnuExit"), QStringLiteral("Exit Brevane Organizer"));
    connect(exit, &QAction::triggered, this, &QWidget::close);

    QMenu *agenda = topMenu(QStringLiteral("mnuAgenda"), QStringLiteral("&Agenda"));
    addMenuAction(agenda, QStringLiteral("mnuNewAgendaTask"), QStringLiteral("New Task"))->setEnabled(false);
    addSeparator(agenda, QStringLiteral("mnuDash3"));
    addMenuAction(agenda, QStringLiteral("mnuEditAgendaTask"), QStringLiteral("Edit Task"))->setEnabled(false);
    addMenuAction(agenda, QStringLiteral("mnuDeleteAgendaTask"), QStringLiteral("Delete Task"))->setEnabled(false);
    addSeparator(agenda, QStringLiteral("mnuDash23890"));
    QMenu *reminder = addSubMenu(agenda, QStringLiteral("mnuReminder"), QStringLiteral("Reminder"));
    reminder->menuAction()->setEnabled(false);
    for (int n = 0; n <= 7; ++n) {
        const QString caption = n == 0 ? QStringLiteral("None")
                                : n == 1 ? QStringLiteral("1 Day")
                                         : QStringLiteral("%1 Days").arg(n);
        addMenuAction(reminder, QStringLiteral("mnuSetReminder%1").arg(n), caption);
    }

    QMenu *todo = topMenu(QStringLiteral("mnuToDo"), QStringLiteral("&To-Do List"));
    addMenuAction(todo, QStringLiteral("mnuNewToDoItem"), QStringLiteral("New Item"))->setEnabled(false);
    addSeparator(todo, QStringLiteral("mnuDash238"));
    addMenuAction(todo, QStringLiteral("mnuEditToDoItem"), QStringLiteral("Edit Item"))->setEnabled(false);
    addMenuAction(todo, QStringLiteral("mnuDeleteToDoTask"), QStringLiteral("Delete Item"))->setEnabled(false);
    addSeparator(todo, QStringLiteral("mnuDash293"));
    QMenu *priority = addSubMenu(todo, QStringLiteral("mnuPriority"), QStringLiteral("Priority"));
    priority->menuAction()->setEnabled(false);
    for (int n = 1; n <= 3; ++n)
        addMenuAction(priority, QStringLiteral("mnuSetPriority%1").arg(n), brevane::priorityNames().at(n - 1));
    addSeparator(todo, QStringLiteral("mnuDash2394"));
    addMenuAction(todo, QStringLiteral("mnuMarkAsDone"), QStringLiteral("Mark as Done/Not Done"))->setEnabled(false);

    QMenu *view = topMenu(QStringLiteral("mnuView"), QStringLiteral("&View"));
    addHidden(view, QStringLiteral("mnuDailyView"), QStringLiteral("Daily View"));
    addHidden(view, QStringLiteral("mnuWeeklyView"), QStringLiteral("Weekly View"));
    addHidden(view, QStringLiteral("mnuMonthlyView"), QStringLiteral("Monthly View"));
    view->addSeparator()->setObjectName(QStringLiteral("mnuDashViews"));
    view->actions().constLast()->setVisible(false);
    addMenuAction(view, QStringLiteral("mnuViewContacts"), QStringLiteral("Contacts"))->setEnabled(false);
    addMenuAction(view, QStringLiteral("mnuViewNotes"), QStringLiteral("Notes"))->setEnabled(false);
    addMenuAction(view, QStringLiteral("mnuViewQuickLinks"), QStringLiteral("Quick Links"))->setEnabled(false);
    addSeparator(view, QStringLiteral("mnuDash84"));
    addMenuAction(view, QStringLiteral("mnuViewReminders"), QStringLiteral("Reminders"))->setEnabled(false);

    QMenu *navigate = topMenu(QStringLiteral("mnuNavigate"), QStringLiteral("&Navigate"));
    addMenuAction(navigate, QStringLiteral("mnuLastMonth"), QStringLiteral("Last Month"))->setEnabled(false);
    addMenuAction(navigate, QStringLiteral("mnuNextMonth"), QStringLiteral("Next Month"))->setEnabled(false);
    addSeparator(navigate, QStringLiteral("mnuDash5"));
    addMenuAction(navigate, QStringLiteral("mnuLastYear"), QStringLiteral("Last Year"))->setEnabled(false);
    addMenuAction(navigate, QStringLiteral("mnuNextYear"), QStringLiteral("Next Year"))->setEnabled(false);
    addSeparator(navigate, QStringLiteral("mnuDash6"));
    addMenuAction(navigate, QStringLiteral("mnuToday"), QStringLiteral("Today"))->setEnabled(false);

    QMenu *options = topMenu(QStringLiteral("mnuOptions"), QStringLiteral("&Options"));
    addHidden(options, QStringLiteral("mnuOptionsAgenda"), QStringLiteral("Agenda..."));
    addHidden(options, QStringLiteral("mnuOptionsToDoList"), QStringLiteral("To-Do List..."));
    addHidden(options, QStringLiteral("mnuOptionsCalendar"), QStringLiteral("Calendar..."));
    options->addSeparator()->setObjectName(QStringLiteral("mnuDashOptions"));
    options->actions().constLast()->setVisible(false);
    addMenuAction(options, QStringLiteral("mnuPreferences"), QStringLiteral("Preferences"))->setEnabled(false);
    addSeparator(options, QStringLiteral("mnuDash298403"));
    addMenuAction(options, QStringLiteral("mnuDatabaseCleanup"), QStringLiteral("Database Cleanup"))->setEnabled(false);

    QMenu *help = topMenu(QStringLiteral("mnuHelp"), QStringLiteral("&Help"));
    QAction *topics = addMenuAction(help, QStringLiteral("mnuHelpTopics"), QStringLiteral("Help Topics"));
    topics->setShortcut(QKeySequence::HelpContents);
    connect(topics, &QAction::triggered, this, &frmMain::openHelp);
    addMenuAction(help, QStringLiteral("mnuAbout"), QStringLiteral("About Brevane Organizer"))->setEnabled(false);
}

void frmMain::buildToolbar()
{
    m_fraToolbar = new QFrame(m_client);
    m_fraToolbar->setObjectName(QStringLiteral("fraToolbar"));
    m_fraToolbar->setFrameShape(QFrame::StyledPanel);
    twips::setGeometry(m_fraToolbar, 60, 60, 9000, kToolbarHeight);

    auto makeButton = [this](const QString &name, const QString &caption) {
        auto *button = new FlatButton(caption, m_fraToolbar);
        button->setObjectName(name);
        twips::setGeometry(button, 60, kToolbarButtonTop, 1200, kToolbarButtonHeight);
        return button;
    };
    auto makeDivider = [this](const QString &name) {
        auto *divider = new FlatButton(QString(), m_fraToolbar);
        divider->setObjectName(name);
        divider->setFocusPolicy(Qt::NoFocus);
        divider->setEnabled(false);
        divider->setHighlightColor(kEdgeGrey);
        divider->setShadowColor(kEdgeWhite);
        twips::setGeometry(divider, 60, kToolbarButtonTop, kDividerWidth, kToolbarButtonHeight);
        divider->setAccessibleName(QStringLiteral("Divider"));
        return divider;
    };

    m_cmdContacts = makeButton(QStringLiteral("cmdContacts"), QStringLiteral("Contacts"));
    m_cmdNotes = makeButton(QStringLiteral("cmdNotes"), QStringLiteral("Notes"));
    m_cmdQuickLinks = makeButton(QStringLiteral("cmdQuickLinks"), QStringLiteral("Quick Links"));
    m_cmdSearch = makeButton(QStringLiteral("cmdSearch"), QStringLiteral("Search"));
    m_cmdHelp = makeButton(QStringLiteral("cmdHelp"), QStringLiteral("Help"));
    m_toolbarButtons = {m_cmdContacts, m_cmdNotes, m_cmdQuickLinks, m_cmdSearch, m_cmdHelp};
    m_dividers = {makeDivider(QStringLiteral("cmdDivider1")), makeDivider(QStringLiteral("cmdDivider2")),
                  makeDivider(QStringLiteral("cmdDivider3"))};
    makeDivider(QStringLiteral("cmdDivider4"))->hide();
    m_cmdToday2 = makeButton(QStringLiteral("cmdToday2"), QStringLiteral("Today"));
    m_cmdToday2->hide();

    // Their windows arrive with later versions of this window.
    for (FlatButton *button : {m_cmdContacts, m_cmdNotes, m_cmdQuickLinks, m_cmdSearch})
        enableButton(button, false);
    enableButton(m_cmdHelp, true);
    connect(m_cmdHelp, &QPushButton::clicked, this, &frmMain::openHelp);

    m_fraQuickLinks = new QFrame(m_fraToolbar);
    m_fraQuickLinks->setObjectName(QStringLiteral("fraQuickLinks"));
    twips::setGeometry(m_fraQuickLinks, 6000, 60, kQuickLinksFrameWidth, kToolbarHeight - 120);
    auto *label = new QLabel(QStringLiteral("QUICK LINKS:"), m_fraQuickLinks);
    label->setObjectName(QStringLiteral("lblQuickLinks"));
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    const double labelWidth = twips::fromPixels(label, label->sizeHint().width()) + 60;
    twips::setGeometry(label, 0, 60, labelWidth, 300);
    m_cmbQuickLinks = new QComboBox(m_fraQuickLinks);
    m_cmbQuickLinks->setObjectName(QStringLiteral("cmbQuickLinks"));
    m_cmbQuickLinks->setAccessibleName(QStringLiteral("Quick Links:"));
    label->setBuddy(m_cmbQuickLinks);
    twips::setGeometry(m_cmbQuickLinks, labelWidth, 0, kQuickLinksFrameWidth - labelWidth, 375);
    connect(m_cmbQuickLinks, &QComboBox::activated, this, &frmMain::cmbQuickLinks_Click);
}

void frmMain::buildTrayMenu()
{
    m_mPopupSys = new QMenu(QStringLiteral("&SysTray"), this);
    m_mPopupSys->setObjectName(QStringLiteral("mPopupSys"));
    addMenuAction(m_mPopupSys, QStringLiteral("mnuSystemTrayReminders"), QStringLiteral("&Reminders"))->setEnabled(false);
    addSeparator(m_mPopupSys, QStringLiteral("mnuDash2"));
    m_mnuSysQuickLinks = addSubMenu(m_mPopupSys, QStringLiteral("mnuSysQuickLinks"), QStringLiteral("Quick Links"));
    QAction *placeholder = addMenuAction(m_mnuSysQuickLinks, QStringLiteral("mnuSysQuickLinksList0"), QStringLiteral(" "));
    placeholder->setVisible(false);
    m_sysQuickLinks = {placeholder};
    addSeparator(m_mPopupSys, QStringLiteral("mnuDash324"));
    m_mPopRestore = addHidden(m_mPopupSys, QStringLiteral("mPopRestore"), QStringLiteral("&Restore"));
    m_mPopMinimize = addHidden(m_mPopupSys, QStringLiteral("mPopMinimize"), QStringLiteral("&Minimize"));
    m_mPopMaximize = addHidden(m_mPopupSys, QStringLiteral("mPopMaximize"), QStringLiteral("&Maximize"));
    connect(m_mPopRestore, &QAction::triggered, this, [this] { setTrayWindowState(Qt::WindowNoState); });
    connect(m_mPopMinimize, &QAction::triggered, this, [this] { setTrayWindowState(Qt::WindowMinimized); });
    connect(m_mPopMaximize, &QAction::triggered, this, [this] { setTrayWindowState(Qt::WindowMaximized); });
    addSeparator(m_mPopupSys, QStringLiteral("mnuDash29"));
    QAction *help = addMenuAction(m_mPopupSys, QStringLiteral("mnuSystemTrayHelp"), QStringLiteral("&Help"));
    connect(help, &QAction::triggered, this, &frmMain::openHelp);
    addSeparator(m_mPopupSys, QStringLiteral("mDash"));
    QAction *open = addMenuAction(m_mPopupSys, QStringLiteral("mnuOpen"), QStringLiteral("Open"));
    // Not through mPopMaximize, which is disabled while the window is maximized.
    connect(open, &QAction::triggered, this, [this] { setTrayWindowState(Qt::WindowMaximized); });
    QAction *exit = addMenuAction(m_mPopupSys, QStringLiteral("mPopExit"), QStringLiteral("&Exit"));
    connect(exit, &QAction::triggered, this, &QWidget::close);
}

void frmMain::load()
{
    // The window's record sets.
    m_quickLinks = std::make_unique<store::RecordSet>(m_db, names::QuickLinksQuery);

    // Month and year drop-downs: see the calendar.

    priorityNames = brevane::priorityNames();

    const QDate today = desktop().today();
    loadDay = today.day();
    loadMonthIndex = today.month() - 1;
    loadYear = today.year();
    selectedDay = loadDay;
    shownMonthIndex = loadMonthIndex;
    shownYear = loadYear;

    // Set once: the title keeps the day the program started.
    setWindowTitle(QStringLiteral("%1 - %2 %3, %4")
                       .arg(kProgramTitle, monthName(today.month()))
                       .arg(today.day())
                       .arg(today.year()));

    // The to-do list.
    loadToDoList();


    // The calendar, which also fills the agenda.
    changeCalendar(loadDay, loadMonthIndex + 1, loadYear);


    loadQuickLinks();
    calendarReady = 1;

    // The to-do selection commands start disabled.
    enableToDoSelection(false);

    m_loaded = true;
    show();
    layoutWindow();

    // The reminder check.
    checkReminders();

    if (getMinimizeToSystemTray() && desktop().trayAvailable()) {
        desktop().showTrayIcon(windowIcon(), kProgramTitle, m_mPopupSys);
        m_trayIconAdded = true;
    }
    qCDebug(lcApp) << "main window loaded for" << today;
}

bool frmMain::getMinimizeToSystemTray() const
{
    store::RecordSet options(m_db, names::Options);
    options.moveFirst();
    return options.field(names::options::MinimizeToSystemTray) == QLatin1String("True");
}

void frmMain::enableButton(FlatButton *button, bool enable)
{
    button->enableWithEdges(enable, kEdgeGrey);
}

void frmMain::openHelp()
{
    desktop().openDocument(helpFilePath());
}

void frmMain::loadQuickLinks()
{
    m_cmbQuickLinks->clear();
    m_cmbQuickLinks->addItems({kSelectAnAction, kAddEditDelete, kDashLine});
    // The manager window arrives with a later version; until then its entry
    // cannot be chosen.
    if (auto *model = qobject_cast<QStandardItemModel *>(m_cmbQuickLinks->model()))
        model->item(1)->setEnabled(false);

    // Each entry keeps its link's identity: two links may share a name.
    (void)m_quickLinks->requery();
    m_quickLinks->moveFirst();
    int count = 0;
    while (!m_quickLinks->eof()) {
        ++count;
        const QString name = m_quickLinks->field(names::quicklinks::ProgramName);
        const QVariant id = QVariant::fromValue(m_quickLinks->recordId());
        m_cmbQuickLinks->addItem(name, id);
        if (count >= m_sysQuickLinks.size()) {
            QAction *entry = addMenuAction(m_mnuSysQuickLinks, QStringLiteral("mnuSysQuickLinksList%1").arg(count), name);
            connect(entry, &QAction::triggered, this, [this, entry] { runTrayQuickLink(entry); });
            m_sysQuickLinks.append(entry);
        }
        m_sysQuickLinks.at(count)->setText(name);
        m_sysQuickLinks.at(count)->setData(id);
        m_quickLinks->moveNext();
    }
    while (m_sysQuickLinks.size() > count + 1)
        delete m_sysQuickLinks.takeLast();
    m_cmbQuickLinks->setCurrentIndex(0);
}

void frmMain::cmbQuickLinks_Click(int index)
{
    const QString chosen = m_cmbQuickLinks->itemText(index);
    if (index == 1 && chosen == kAddEditDelete) {
        // Opens the quick-links manager once it is part of the program.
    } else if (index >= 3 && chosen != kQuickLinksEmpty) {
        runQuickLink(m_cmbQuickLinks->itemData(index).value<store::RecordId>());
    }
    m_cmbQuickLinks->setCurrentIndex(0);
}

void frmMain::runQuickLink(store::RecordId link)
{
    store::RecordSet set(m_db, names::QuickLinksQuery, store::onlyRecord(link));
    if (set.eof())
        return;
    const QString path = set.field(names::quicklinks::ProgramPath);
    if (!desktop().startProgram(path)) {
        desktop().message(this,
                          QStringLiteral("'") + path + QStringLiteral("' is not a valid path.  The program ")
                              + QStringLiteral("cannot be run."),
                          Desktop::Icon::Critical);
    }
}

void frmMain::runTrayQuickLink(const QAction *entry)
{
    const int index = m_cmbQuickLinks->findData(entry->data());
    if (index < 3) {
        desktop().message(this, QStringLiteral("There was an error trying to run '") + entry->text() + QStringLiteral("'."),
                          Desktop::Icon::Critical);
        return;
    }
    m_cmbQuickLinks->setCurrentIndex(index);
    cmbQuickLinks_Click(index);
}

void frmMain::trayLeftReleased()
{
    if (!getMinimizeToSystemTray())
        return;
    if (isMinimized() || isHidden()) {
        setTrayWindowState(Qt::WindowMaximized);
    } else {
        setTrayWindowState(Qt::WindowMinimized);
    }
}

void frmMain::trayRightReleased(const QPoint &globalPos)
{
    if (!getMinimizeToSystemTray())
        return;
    activateWindow();
    desktop().popupMenu(m_mPopupSys, globalPos);
}

void frmMain::setTrayWindowState(Qt::WindowState state)
{
    m_mPopRestore->setEnabled(state != Qt::WindowNoState);
    m_mPopMinimize->setEnabled(state != Qt::WindowMinimized);
    m_mPopMaximize->setEnabled(state != Qt::WindowMaximized);
    switch (state) {
    case Qt::WindowMaximized: showMaximized(); break;
    case Qt::WindowMinimized: showMinimized(); break;
    default: showNormal(); break;
    }
    if (state != Qt::WindowMinimized) {
        raise();
        activateWindow();
    }
}

void frmMain::closeEvent(QCloseEvent *event)
{
    if (m_trayIconAdded && getMinimizeToSystemTray())
        desktop().removeTrayIcon();
    m_trayIconAdded = false;
    event->accept();
    // Closing the main window ends the program and every window with it.
    QApplication::quit();
}

void frmMain::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && m_loaded && isMinimized()) {
        // Queued, because showMinimized() shows the window again right after
        // changing its state. Only hide when the notification icon is really
        // there to bring the window back; without it the window minimizes
        // normally.
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (isMinimized() && getMinimizeToSystemTray() && desktop().isTrayIconShown())
                    hide();
            },
            Qt::QueuedConnection);
    }
}

void frmMain::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    layoutWindow();
}

void frmMain::layoutWindow()
{
    // The layout is written for the outer window size. The client area stands
    // in for it: W adds the 120-twip border allowance the formulas expect, and
    // H is chosen so that the agenda ends 60 twips above the client's bottom.
    const double W = twips::width(m_client) + 120;
    const double H = twips::height(m_client) + 1.4 * twips::height(m_cmdContacts) - 60;

    // Toolbar. A formula that yields no room leaves the control at its
    // previous size.
    twips::setLeft(m_fraToolbar, 60);
    twips::setTop(m_fraToolbar, 60);
    twips::setWidthIfRoom(m_fraToolbar, W - 240);
    const double b = (twips::width(m_fraToolbar) - 780 - twips::width(m_fraQuickLinks)) / 5;
    for (FlatButton *button : std::as_const(m_toolbarButtons))
        twips::setWidthIfRoom(button, b);
    const QList<QWidget *> order{m_cmdContacts, m_cmdNotes,    m_cmdQuickLinks, m_dividers.at(0), m_cmdSearch,
                                 m_dividers.at(1), m_cmdHelp, m_dividers.at(2), m_fraQuickLinks};
    double left = 60;
    for (QWidget *control : order) {
        twips::setLeft(control, left);
        left += twips::width(control) + 60;
    }

    // Agenda and calendar column.
    layoutCalendarAndAgenda(W, H);

    // To-do list, under the calendar.
    layoutToDoList(twips::left(m_fraCalendar), twips::top(m_fraCalendar) + twips::height(m_fraCalendar),
                   twips::width(m_fraCalendar), twips::height(m_agenda));
}

} // namespace brevane
