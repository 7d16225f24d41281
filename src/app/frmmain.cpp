#include "app/frmmain.h"

#include "agenda/agendaview.h"
#include "about/helpfile.h"
#include "app/importexport.h"
#include "app/toolbardivider.h"
#include "app/windowlauncher.h"
#include "calendar/calendarview.h"
#include "controls/flatbutton.h"
#include "controls/grid.h"
#include "controls/twips.h"
#include "core/logging.h"
#include "core/organizer.h"
#include "links_box/quicklinksbox.h"
#include "platform/appicon.h"
#include "platform/desktop.h"
#include "platform/unsavedchanges.h"
#include "reminders/reminders.h"
#include "todo/todoview.h"
#include "tray/trayicon.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>

namespace brevane {

namespace {
// Design sizes, in twips.
constexpr double kToolbarHeight = 555;
constexpr double kToolbarButtonTop = 90;
constexpr double kToolbarButtonHeight = 375;
constexpr double kDividerWidth = 30;
constexpr double kAgendaTitleHeight = 300;
// Five readable toolbar buttons beside the quick-links box.
constexpr double kMinClientWidth = 760 * 15;
constexpr double kDefaultClientWidth = 1000 * 15;
constexpr double kDefaultClientHeight = 680 * 15;

QMenu *addSubMenu(QMenu *parent, QMenu *sub)
{
    parent->addMenu(sub);
    return sub;
}

QMenu *newMenu(QWidget *parent, const QString &name, const QString &caption)
{
    auto *menu = new QMenu(caption, parent);
    menu->setObjectName(name);
    menu->menuAction()->setObjectName(name + QStringLiteral("Action"));
    return menu;
}

QAction *addEntry(QMenu *menu, const QString &name, const QString &caption, bool enabled = true)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(name);
    action->setEnabled(enabled);
    return action;
}

void addHidden(QMenu *menu, const QString &name, const QString &caption)
{
    addEntry(menu, name, caption)->setVisible(false);
}

void addSeparator(QMenu *menu, const QString &name, bool visible = true)
{
    QAction *separator = menu->addSeparator();
    separator->setObjectName(name);
    separator->setVisible(visible);
}

} // namespace

frmMain::frmMain(store::Database &db, QWidget *parent)
    : QMainWindow(parent), m_db(db)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowIcon(appIcon());
    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("client"));
    setCentralWidget(m_client);

    buildToolbar();
    m_calendar = new CalendarView(m_client);
    m_agenda = new AgendaView(db, m_client);
    m_toDo = new ToDoView(db, m_client);
    m_tray = new TrayIcon(db, this);
    m_reminders = new Reminders(db, this);
    // Where the layout expects the title on its first run: below the toolbar.
    twips::setGeometry(m_agenda->title(), 0, 60 + kToolbarHeight + 120, 6000, kAgendaTitleHeight);
    buildMenus();
    connectViews();
    connectWindows();

    // Smaller than this, the formulas would squeeze the day cells below a
    // usable height and the toolbar captions below their text.
    const double agendaTop = 60 + kToolbarHeight + 120 + twips::height(m_agenda->title()) + 120;
    m_client->setMinimumSize(twips::toPixels(this, kMinClientWidth),
                             twips::toPixels(this, agendaTop + minimumAgendaHeight() + 60));
    resize(twips::toPixels(this, kDefaultClientWidth), twips::toPixels(this, kDefaultClientHeight));
}

frmMain::~frmMain()
{
    // The other windows go first, while the views they may call still stand.
    m_windows.reset();
    // The child widgets outlive this part of the window; what they signal
    // while being torn down (a grid losing the focus, say) must not reach it.
    const QList<QObject *> children = findChildren<QObject *>();
    for (QObject *child : children)
        disconnect(child, nullptr, this, nullptr);
}

void frmMain::buildMenus()
{
    QMenuBar *bar = menuBar();
    const auto topMenu = [this, bar](const QString &name, const QString &caption) {
        QMenu *menu = newMenu(this, name, caption);
        bar->addMenu(menu);
        return menu;
    };

    QMenu *file = topMenu(QStringLiteral("mnuFile"), tr("&File"));
    QMenu *fileNew = addSubMenu(file, newMenu(file, QStringLiteral("mnuFileNew"), tr("New")));
    fileNew->addAction(m_agenda->fileNewTaskAction());
    fileNew->addAction(m_toDo->fileNewItemAction());
    addSeparator(fileNew, QStringLiteral("mnuDash1"));
    m_mnuNewContact = addEntry(fileNew, QStringLiteral("mnuNewContact"), tr("Contact"), false);
    m_mnuNewNote = addEntry(fileNew, QStringLiteral("mnuNewNote"), tr("Note"), false);
    m_mnuNewQuickLink = addEntry(fileNew, QStringLiteral("mnuNewQuickLink"), tr("Quick Link"), false);
    m_transfer = new ImportExportCommands(m_db, *this, this);
    file->addActions({m_transfer->importAction(), m_transfer->exportAction()});
    addHidden(file, QStringLiteral("mnuFilePrint"), tr("Print"));
    addSeparator(file, QStringLiteral("mnuDash0"));
    connect(addEntry(file, QStringLiteral("mnuExit"), tr("Exit Brevane Organizer")), &QAction::triggered, this,
            &QWidget::close);

    QMenu *agenda = topMenu(QStringLiteral("mnuAgenda"), tr("&Agenda"));
    agenda->addAction(m_agenda->newTaskAction());
    addSeparator(agenda, QStringLiteral("mnuDash3"));
    agenda->addActions({m_agenda->editTaskAction(), m_agenda->deleteTaskAction()});
    addSeparator(agenda, QStringLiteral("mnuDash23890"));
    agenda->addMenu(m_agenda->reminderMenu());
    m_agenda->setContextMenu(agenda);

    QMenu *todo = topMenu(QStringLiteral("mnuToDo"), tr("&To-Do List"));
    todo->addAction(m_toDo->newItemAction());
    addSeparator(todo, QStringLiteral("mnuDash238"));
    todo->addActions({m_toDo->editItemAction(), m_toDo->deleteItemAction()});
    addSeparator(todo, QStringLiteral("mnuDash293"));
    todo->addMenu(m_toDo->priorityMenu());
    addSeparator(todo, QStringLiteral("mnuDash2394"));
    todo->addAction(m_toDo->markAsDoneAction());
    m_toDo->setContextMenu(todo);

    QMenu *view = topMenu(QStringLiteral("mnuView"), tr("&View"));
    addHidden(view, QStringLiteral("mnuDailyView"), tr("Daily View"));
    addHidden(view, QStringLiteral("mnuWeeklyView"), tr("Weekly View"));
    addHidden(view, QStringLiteral("mnuMonthlyView"), tr("Monthly View"));
    addSeparator(view, QStringLiteral("mnuDashViews"), false);
    m_mnuViewContacts = addEntry(view, QStringLiteral("mnuViewContacts"), tr("Contacts"), false);
    m_mnuViewNotes = addEntry(view, QStringLiteral("mnuViewNotes"), tr("Notes"), false);
    m_mnuViewQuickLinks = addEntry(view, QStringLiteral("mnuViewQuickLinks"), tr("Quick Links"), false);
    addSeparator(view, QStringLiteral("mnuDash84"));
    view->addAction(m_reminders->viewAction());

    bar->addMenu(m_calendar->navigateMenu());

    QMenu *options = topMenu(QStringLiteral("mnuOptions"), tr("&Options"));
    addHidden(options, QStringLiteral("mnuOptionsAgenda"), tr("Agenda..."));
    addHidden(options, QStringLiteral("mnuOptionsToDoList"), tr("To-Do List..."));
    addHidden(options, QStringLiteral("mnuOptionsCalendar"), tr("Calendar..."));
    addSeparator(options, QStringLiteral("mnuDashOptions"), false);
    m_mnuPreferences = addEntry(options, QStringLiteral("mnuPreferences"), tr("Preferences"), false);
    addSeparator(options, QStringLiteral("mnuDash298403"));
    options->addAction(m_reminders->cleanupAction());

    QMenu *help = topMenu(QStringLiteral("mnuHelp"), tr("&Help"));
    QAction *topics = addEntry(help, QStringLiteral("mnuHelpTopics"), tr("Help Topics"));
    topics->setShortcut(QKeySequence::HelpContents);
    connect(topics, &QAction::triggered, this, &frmMain::openHelp);
    m_mnuAbout = addEntry(help, QStringLiteral("mnuAbout"), tr("About Brevane Organizer"), false);
}

void frmMain::buildToolbar()
{
    m_fraToolbar = new QFrame(m_client);
    m_fraToolbar->setObjectName(QStringLiteral("fraToolbar"));
    m_fraToolbar->setFrameShape(QFrame::StyledPanel);
    twips::setGeometry(m_fraToolbar, 60, 60, 9000, kToolbarHeight);

    const auto makeButton = [this](const QString &name, const QString &caption) {
        auto *button = new FlatButton(caption, m_fraToolbar);
        button->setObjectName(name);
        twips::setGeometry(button, 60, kToolbarButtonTop, 1200, kToolbarButtonHeight);
        return button;
    };
    const auto makeDivider = [this](const QString &name) {
        auto *divider = new ToolbarDivider(m_fraToolbar);
        divider->setObjectName(name);
        twips::setGeometry(divider, 60, kToolbarButtonTop, kDividerWidth, kToolbarButtonHeight);
        return divider;
    };
    m_cmdContacts = makeButton(QStringLiteral("cmdContacts"), tr("Contacts"));
    m_cmdNotes = makeButton(QStringLiteral("cmdNotes"), tr("Notes"));
    m_cmdQuickLinks = makeButton(QStringLiteral("cmdQuickLinks"), tr("Quick Links"));
    m_cmdSearch = makeButton(QStringLiteral("cmdSearch"), tr("Search"));
    m_toolbarButtons = {m_cmdContacts, m_cmdNotes, m_cmdQuickLinks, m_cmdSearch,
                        makeButton(QStringLiteral("cmdHelp"), tr("Help"))};
    m_dividers = {makeDivider(QStringLiteral("cmdDivider1")), makeDivider(QStringLiteral("cmdDivider2")),
                  makeDivider(QStringLiteral("cmdDivider3"))};
    makeDivider(QStringLiteral("cmdDivider4"))->hide();
    FlatButton *today = makeButton(QStringLiteral("cmdToday2"), tr("Today"));
    today->hide();
    connect(today, &QPushButton::clicked, this, [this] { m_calendar->todayAction()->trigger(); });

    connect(m_toolbarButtons.constLast(), &QPushButton::clicked, this, &frmMain::openHelp);

    m_links = new QuickLinksBox(m_db, m_fraToolbar);
}

void frmMain::connectViews()
{
    connect(m_calendar, &CalendarView::dayShown, m_agenda, &AgendaView::showDay);
    connect(m_agenda, &AgendaView::taskDaysChanged, m_calendar, &CalendarView::setTaskDays);
    connect(m_toDo, &ToDoView::focusLeaves, m_agenda, &AgendaView::focusGrid);
    connect(m_reminders, &Reminders::agendaChanged, m_agenda, &AgendaView::reload);
    connect(m_reminders, &Reminders::toDoChanged, m_toDo, &ToDoView::reload);
    connect(m_links, &QuickLinksBox::linksChanged, this, [this] {
        QList<QPair<store::RecordId, QString>> links;
        for (const QuickLinksBox::Link &link : m_links->links())
            links.append({link.id, link.name});
        m_tray->setQuickLinks(links);
    });
    connect(m_tray, &TrayIcon::quickLinkChosen, m_links, &QuickLinksBox::run);
    connect(m_tray->remindersAction(), &QAction::triggered, m_reminders, &Reminders::view);
    connect(m_tray->helpAction(), &QAction::triggered, this, &frmMain::openHelp);
    connect(m_tray->exitAction(), &QAction::triggered, this, &QWidget::close);
}

void frmMain::connectWindows()
{
    m_windows = std::make_unique<WindowLauncher>(m_db, *this, this);
    WindowLauncher *windows = m_windows.get();
    const auto wire = [this](QAction *action, void (WindowLauncher::*open)()) {
        action->setEnabled(true);
        connect(action, &QAction::triggered, m_windows.get(), open);
    };
    wire(m_mnuNewContact, &WindowLauncher::newContact);
    wire(m_mnuNewNote, &WindowLauncher::newNote);
    wire(m_mnuNewQuickLink, &WindowLauncher::newQuickLink);
    wire(m_mnuViewContacts, &WindowLauncher::showContacts);
    wire(m_mnuViewNotes, &WindowLauncher::showNotes);
    wire(m_mnuViewQuickLinks, &WindowLauncher::showQuickLinks);
    wire(m_mnuPreferences, &WindowLauncher::showPreferences);
    wire(m_mnuAbout, &WindowLauncher::showAbout);
    for (FlatButton *button : std::as_const(m_toolbarButtons))
        button->enableWithEdges(true, kEdgeGrey);
    connect(m_cmdContacts, &QPushButton::clicked, windows, &WindowLauncher::showContacts);
    connect(m_cmdNotes, &QPushButton::clicked, windows, &WindowLauncher::showNotes);
    connect(m_cmdQuickLinks, &QPushButton::clicked, windows, &WindowLauncher::showQuickLinks);
    connect(m_cmdSearch, &QPushButton::clicked, windows, &WindowLauncher::showSearch);
    m_links->setManagerAvailable(true);
    connect(m_links, &QuickLinksBox::managerRequested, windows, &WindowLauncher::showQuickLinks);
}

void frmMain::load()
{
    const QDate today = desktop().today();
    // Set once: the title keeps the day the program started.
    setWindowTitle(tr("%1 - %2 %3, %4").arg(kProgramTitle, monthName(today.month())).arg(today.day()).arg(today.year()));

    m_toDo->reload();
    // The calendar, which also fills the agenda.
    m_calendar->showDate(today);
    m_links->reload();
    // The to-do selection commands start disabled.
    m_toDo->setSelectionCommandsEnabled(false);

    show();
    layoutWindow();
    m_tray->applySetting();
    // The window is drawn before the reminder check, so that its pop-ups
    // stand over a finished window and the check's read never delays the first
    // paint. The check runs here rather than from the event loop, so that the
    // reminders due are answered before load() returns.
    repaint();
    m_reminders->check();
    qCDebug(lcApp) << "main window loaded for" << today;
}

void frmMain::showDay(const QDate &day)
{
    m_calendar->showDate(day);
}

Navigation::Shown frmMain::showAgendaTask(store::RecordId task)
{
    const store::ReadResult<QDate> day = m_agenda->dayOfTask(task);
    if (!day.ok())
        return Shown::Unreadable;
    if (!day.value)
        return Shown::Gone;
    if (!day.value->isValid())
        return Shown::NotShown;
    m_calendar->showDate(*day.value);
    return m_agenda->selectTask(task) ? Shown::Selected : Shown::NotShown;
}

Navigation::Shown frmMain::showToDoItem(store::RecordId item)
{
    if (m_toDo->selectItem(item))
        return Shown::Selected;
    if (!m_toDo->reload())
        return Shown::Unreadable;
    return m_toDo->selectItem(item) ? Shown::Selected : Shown::Gone;
}

void frmMain::reloadQuickLinks()
{
    m_links->reload();
}

void frmMain::settingsChanged()
{
    m_tray->applySetting();
}

void frmMain::reloadAll()
{
    m_toDo->reload();
    m_calendar->showDate(m_calendar->selectedDate());
    m_links->reload();
    m_tray->applySetting();
}

void frmMain::openHelp()
{
    desktop().openDocument(helpFilePath());
}

bool frmMain::mayExit()
{
    const QList<QWidget *> windows = QApplication::topLevelWidgets();
    const bool unsaved = std::any_of(windows.cbegin(), windows.cend(), [](const QWidget *window) {
        const auto *holder = dynamic_cast<const UnsavedChanges *>(window);
        return holder && window->isVisible() && holder->hasUnsavedChanges();
    });
    return !unsaved
           || desktop().message(this, tr("Some windows have changes that are not saved.  Exit anyway?"),
                                Desktop::Icon::Question, Desktop::Buttons::YesNo)
                  == Desktop::Answer::Yes;
}

void frmMain::closeEvent(QCloseEvent *event)
{
    // Asked once, however the exit was asked for.
    if (!m_exitConfirmed && !mayExit()) {
        event->ignore();
        return;
    }
    m_exitConfirmed = true;
    m_tray->remove();
    event->accept();
    // Closing the main window ends the program and every window with it.
    QApplication::quit();
}

void frmMain::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    layoutWindow();
}

double frmMain::minimumAgendaHeight() const
{
    // The calendar frame takes 0.6 of the agenda's height.
    return m_calendar->minimumHeightTwips() / 0.6;
}

void frmMain::layoutWindow()
{
    // A formula that yields no room leaves the control at its previous size.
    const auto setWidth = twips::setWidthIfRoom;
    const auto setHeight = twips::setHeightIfRoom;
    using twips::height;
    using twips::left;
    using twips::top;
    using twips::width;
    const FlatButton *contacts = m_toolbarButtons.constFirst();

    // The layout is written for the outer window size. The client area stands
    // in for it: W adds the 120-twip border allowance the formulas expect, and
    // H is chosen so that the agenda ends 60 twips above the client's bottom.
    const double W = width(m_client) + 120;
    const double H = height(m_client) + 1.4 * height(contacts) - 60;

    // Toolbar.
    twips::setLeft(m_fraToolbar, 60);
    twips::setTop(m_fraToolbar, 60);
    setWidth(m_fraToolbar, W - 240);
    const double b = (width(m_fraToolbar) - 780 - width(m_links)) / 5;
    for (FlatButton *button : std::as_const(m_toolbarButtons))
        setWidth(button, b);
    const QList<QWidget *> order{m_toolbarButtons.at(0), m_toolbarButtons.at(1), m_toolbarButtons.at(2),
                                 m_dividers.at(0),       m_toolbarButtons.at(3), m_dividers.at(1),
                                 m_toolbarButtons.at(4), m_dividers.at(2),       m_links};
    double x = 60;
    for (QWidget *control : order) {
        twips::setLeft(control, x);
        x += width(control) + 60;
    }

    // Agenda, below its title as the title stood before this run.
    Grid *agenda = m_agenda->grid();
    QLabel *title = m_agenda->title();
    twips::setTop(agenda, top(title) + height(title) + 120);
    twips::setLeft(agenda, 0);
    setHeight(agenda, H - top(agenda) - 1.4 * height(contacts));
    setWidth(agenda, (W - 120) * 0.55);
    twips::setTop(title, top(m_fraToolbar) + height(m_fraToolbar) + 120);
    twips::setLeft(title, 0);
    setWidth(title, width(agenda));
    setHeight(title, kAgendaTitleHeight);

    // Calendar column: the frame beside the agenda, 0.6 of its height.
    setHeight(m_calendar, height(agenda) * 0.6);
    setWidth(m_calendar, (W - 120) * 0.45);
    twips::setLeft(m_calendar, left(agenda) + width(agenda));
    twips::setTop(m_calendar, top(agenda));
    m_calendar->arrange();
    m_agenda->sizeColumns();

    // To-do list, under the calendar, with its buttons below it.
    Grid *toDo = m_toDo->grid();
    const QList<FlatButton *> buttons = m_toDo->buttons();
    twips::setLeft(toDo, left(m_calendar));
    twips::setTop(toDo, top(m_calendar) + height(m_calendar));
    setWidth(toDo, width(m_calendar));
    setHeight(toDo, height(agenda) * 0.4 - height(buttons.at(0)) - 120);
    const double buttonTop = top(toDo) + height(toDo) + 60;
    const double buttonWidth = (width(toDo) - 240) / 3;
    double buttonLeft = left(toDo) + 60;
    for (FlatButton *button : buttons) {
        twips::setTop(button, buttonTop);
        twips::setLeft(button, buttonLeft);
        setWidth(button, buttonWidth);
        buttonLeft += width(button) + 60;
    }
    // The columns follow the grid's width as the window is resized.
    m_toDo->sizeColumns();
}

} // namespace brevane
