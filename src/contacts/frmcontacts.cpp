#include "contacts/frmcontacts.h"

#include "contacts/contactlistmodel.h"
#include "contacts/contactslog.h"
#include "contacts/frmsearchcontacts.h"
#include "contacts/webaddress.h"
#include "controls/flatbutton.h"
#include "controls/twips.h"
#include "core/organizer.h"
#include "platform/desktop.h"

#include <QButtonGroup>
#include <QCalendarWidget>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

namespace brevane {

using store::ContactField;
using store::ContactOrder;

namespace {

// Design size of the window, in twips.
constexpr double kWindowWidth = 11400;
constexpr double kWindowHeight = 7500;
constexpr double kListWidth = 3000;

struct BoxInfo {
    ContactField field;
    const char *name;
    const char *label;
};

// Each field's box and label, in stored order.
const std::array<BoxInfo, store::kContactFieldCount> kBoxes{{
    {ContactField::FirstName, "txtFirst", QT_TRANSLATE_NOOP("brevane::frmContacts", "First Name:")},
    {ContactField::MiddleName, "txtMiddle", QT_TRANSLATE_NOOP("brevane::frmContacts", "Middle:")},
    {ContactField::LastName, "txtLast", QT_TRANSLATE_NOOP("brevane::frmContacts", "Last Name:")},
    {ContactField::Nickname, "txtNickname", QT_TRANSLATE_NOOP("brevane::frmContacts", "Nickname:")},
    {ContactField::PersonalEmail, "txtPersonalEmail", QT_TRANSLATE_NOOP("brevane::frmContacts", "E-mail Address:")},
    {ContactField::HomeAddress, "txtHomeAddress", QT_TRANSLATE_NOOP("brevane::frmContacts", "Street Address:")},
    {ContactField::HomeCity, "txtHomeCity", QT_TRANSLATE_NOOP("brevane::frmContacts", "City:")},
    {ContactField::HomeState, "txtHomeState", QT_TRANSLATE_NOOP("brevane::frmContacts", "State/Province:")},
    {ContactField::HomeZipCode, "txtHomeZipCode", QT_TRANSLATE_NOOP("brevane::frmContacts", "Zip/Postal Code:")},
    {ContactField::HomeCountry, "txtHomeCountry", QT_TRANSLATE_NOOP("brevane::frmContacts", "Country:")},
    {ContactField::HomePhone, "txtHomePhoneNumber", QT_TRANSLATE_NOOP("brevane::frmContacts", "Phone Number:")},
    {ContactField::HomeFax, "txtHomeFax", QT_TRANSLATE_NOOP("brevane::frmContacts", "Fax:")},
    {ContactField::HomeCell, "txtHomeCell", QT_TRANSLATE_NOOP("brevane::frmContacts", "Cell Phone:")},
    {ContactField::HomeWebPage, "txtHomeWebPage", QT_TRANSLATE_NOOP("brevane::frmContacts", "Web Page:")},
    {ContactField::Company, "txtCompany", QT_TRANSLATE_NOOP("brevane::frmContacts", "Company:")},
    {ContactField::JobTitle, "txtJobTitle", QT_TRANSLATE_NOOP("brevane::frmContacts", "Job Title:")},
    {ContactField::BusinessAddress, "txtBusinessAddress", QT_TRANSLATE_NOOP("brevane::frmContacts", "Street Address:")},
    {ContactField::BusinessCity, "txtBusinessCity", QT_TRANSLATE_NOOP("brevane::frmContacts", "City:")},
    {ContactField::BusinessState, "txtBusinessState", QT_TRANSLATE_NOOP("brevane::frmContacts", "State/Province:")},
    {ContactField::BusinessZipCode, "txtBusinessZipCode",
     QT_TRANSLATE_NOOP("brevane::frmContacts", "Zip/Postal Code:")},
    {ContactField::BusinessCountry, "txtBusinessCountry", QT_TRANSLATE_NOOP("brevane::frmContacts", "Country:")},
    {ContactField::BusinessPhone, "txtBusinessPhone", QT_TRANSLATE_NOOP("brevane::frmContacts", "Phone:")},
    {ContactField::BusinessFax, "txtBusinessFax", QT_TRANSLATE_NOOP("brevane::frmContacts", "Fax:")},
    {ContactField::BusinessPager, "txtBusinessPager", QT_TRANSLATE_NOOP("brevane::frmContacts", "Pager:")},
    {ContactField::BusinessCellPhone, "txtBusinessCellPhone", QT_TRANSLATE_NOOP("brevane::frmContacts", "Cell Phone:")},
    {ContactField::BusinessWebPage, "txtBusinessWebPage", QT_TRANSLATE_NOOP("brevane::frmContacts", "Web Page:")},
    {ContactField::Birthday, "txtBirthday", QT_TRANSLATE_NOOP("brevane::frmContacts", "Birthday:")},
    {ContactField::Anniversary, "txtAnniversary", QT_TRANSLATE_NOOP("brevane::frmContacts", "Anniversary:")},
    {ContactField::Notes, "txtAdditional", QT_TRANSLATE_NOOP("brevane::frmContacts", "Misc.:")},
}};

const BoxInfo &boxInfo(ContactField field)
{
    return kBoxes[static_cast<size_t>(field)];
}

size_t slot(ContactField field)
{
    return static_cast<size_t>(field);
}

// The label before a box: "lbl" and the box's name without its "txt".
QLabel *addLabelFor(QWidget *parent, QWidget *box, const BoxInfo &info)
{
    auto *label = new QLabel(frmContacts::tr(info.label), parent);
    label->setObjectName(QStringLiteral("lbl") + QLatin1String(info.name).mid(3));
    label->setBuddy(box);
    QString spoken = label->text();
    spoken.chop(1);
    box->setAccessibleName(spoken);
    return label;
}

} // namespace

frmContacts::frmContacts(store::Database &db, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_db(db)
    , m_contacts(std::make_unique<store::ContactRepository>(db))
    , m_settings(std::make_unique<store::SettingsRepository>(db))
{
    setObjectName(QStringLiteral("frmContacts"));
    setWindowTitle(tr("Contacts"));
    buildWindow();
    resize(twips::toPixels(this, kWindowWidth), twips::toPixels(this, kWindowHeight));
}

frmContacts::~frmContacts() = default;

void frmContacts::buildWindow()
{
    auto *columns = new QHBoxLayout(this);

    auto *left = new QVBoxLayout;
    m_lblContacts = new QLabel(tr("CONTACTS"), this);
    m_lblContacts->setObjectName(QStringLiteral("lblContacts"));
    QFont titleFont = m_lblContacts->font();
    titleFont.setBold(true);
    if (titleFont.pointSizeF() > 0)
        titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
    m_lblContacts->setFont(titleFont);
    left->addWidget(m_lblContacts);

    auto *fraSort = new QGroupBox(tr("Sort By:"), this);
    fraSort->setObjectName(QStringLiteral("fraSort"));
    auto *sortRow = new QHBoxLayout(fraSort);
    m_optFirstName = new QRadioButton(tr("First Name"), fraSort);
    m_optFirstName->setObjectName(QStringLiteral("optFirstName"));
    m_optLastName = new QRadioButton(tr("Last Name"), fraSort);
    m_optLastName->setObjectName(QStringLiteral("optLastName"));
    sortRow->addWidget(m_optFirstName);
    sortRow->addWidget(m_optLastName);
    left->addWidget(fraSort);

    m_model = new contacts::ContactListModel(this);
    m_lstContacts = new QListView(this);
    m_lstContacts->setObjectName(QStringLiteral("lstContacts"));
    m_lstContacts->setAccessibleName(tr("Contacts"));
    m_lstContacts->setModel(m_model);
    m_lstContacts->setSelectionMode(QAbstractItemView::SingleSelection);
    m_lstContacts->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_lstContacts->setUniformItemSizes(true);
    m_lstContacts->installEventFilter(this);
    left->addWidget(m_lstContacts, 1);
    auto *leftHost = new QWidget(this);
    leftHost->setLayout(left);
    left->setContentsMargins(0, 0, 0, 0);
    leftHost->setFixedWidth(twips::toPixels(this, kListWidth));
    columns->addWidget(leftHost);

    auto *right = new QVBoxLayout;
    auto *paneButtons = new QHBoxLayout;
    auto makeButton = [this](const QString &name, const QString &caption) {
        auto *button = new FlatButton(caption, this);
        button->setObjectName(name);
        button->setMinimumHeight(twips::toPixels(this, 375));
        enableButton(button, true);
        return button;
    };
    m_cmdPersonal = makeButton(QStringLiteral("cmdPersonal"), tr("Personal Info"));
    m_cmdBusiness = makeButton(QStringLiteral("cmdBusiness"), tr("Business Info"));
    m_cmdOther = makeButton(QStringLiteral("cmdOther"), tr("Other Info"));
    // The pressed look marks the pane on show, for the eye and for screen readers.
    auto *panes = new QButtonGroup(this);
    for (FlatButton *button : {m_cmdPersonal, m_cmdBusiness, m_cmdOther}) {
        button->setCheckable(true);
        panes->addButton(button);
        paneButtons->addWidget(button);
    }
    right->addLayout(paneButtons);

    m_fraName = buildPersonalPane();
    m_fraBusiness = buildBusinessPane();
    m_fraOther = buildOtherPane();
    for (QGroupBox *pane : {m_fraName, m_fraBusiness, m_fraOther})
        right->addWidget(pane, 1);

    auto *commands = new QHBoxLayout;
    m_cmdAddContact = makeButton(QStringLiteral("cmdAddContact"), tr("New"));
    m_cmdEdit = makeButton(QStringLiteral("cmdEdit"), tr("Edit"));
    m_cmdSave = makeButton(QStringLiteral("cmdSave"), tr("Save"));
    m_cmdDeleteContact = makeButton(QStringLiteral("cmdDeleteContact"), tr("Delete"));
    m_cmdSearch = makeButton(QStringLiteral("cmdSearch"), tr("Search"));
    m_cmdClose = makeButton(QStringLiteral("cmdClose"), tr("Close"));
    for (FlatButton *button : {m_cmdAddContact, m_cmdEdit, m_cmdSave, m_cmdDeleteContact, m_cmdSearch, m_cmdClose})
        commands->addWidget(button);
    right->addLayout(commands);
    columns->addLayout(right, 1);

    showPane(Pane::Personal);
    hideCalendars();

    connect(m_optFirstName, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            sortOptionChosen(ContactOrder::FirstName);
    });
    connect(m_optLastName, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            sortOptionChosen(ContactOrder::LastName);
    });
    connect(m_lstContacts->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) {
                if (!m_filling)
                    entrySelected(current.row());
            });
    connect(m_lstContacts, &QAbstractItemView::doubleClicked, this, [this] {
        if (m_cmdEdit->isEnabled())
            edit();
    });
    connect(m_cmdPersonal, &QPushButton::clicked, this, [this] { showPane(Pane::Personal); });
    connect(m_cmdBusiness, &QPushButton::clicked, this, [this] { showPane(Pane::Business); });
    connect(m_cmdOther, &QPushButton::clicked, this, [this] { showPane(Pane::Other); });
    connect(m_cmdAddContact, &QPushButton::clicked, this, &frmContacts::cmdAddContact_Click);
    connect(m_cmdEdit, &QPushButton::clicked, this, &frmContacts::edit);
    connect(m_cmdSave, &QPushButton::clicked, this, [this] { (void)save(); });
    connect(m_cmdDeleteContact, &QPushButton::clicked, this, &frmContacts::deleteContact);
    connect(m_cmdSearch, &QPushButton::clicked, this, &frmContacts::openSearch);
    connect(m_cmdClose, &QPushButton::clicked, this, &frmContacts::closeCommand);

    // A change the user makes in any box makes the contact worth saving;
    // the program's own filling of the boxes does not.
    for (QLineEdit *box : m_boxes) {
        if (box)
            connect(box, &QLineEdit::textEdited, this, [this] { enableButton(m_cmdSave, true); });
    }
    connect(m_txtAdditional, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_filling && !m_txtAdditional->isReadOnly())
            enableButton(m_cmdSave, true);
    });
}

QLineEdit *frmContacts::addBox(ContactField field)
{
    auto *box = new QLineEdit(this);
    box->setObjectName(QLatin1String(boxInfo(field).name));
    m_boxes[slot(field)] = box;
    return box;
}

FlatButton *frmContacts::addGoButton(const QString &name, QLineEdit *box)
{
    auto *button = new FlatButton(tr("Go"), this);
    button->setObjectName(name);
    button->setAccessibleName(tr("Go to %1").arg(box->accessibleName()));
    enableButton(button, false);
    connect(box, &QLineEdit::textChanged, this,
            [this, button](const QString &text) { enableButton(button, !text.isEmpty()); });
    connect(button, &QPushButton::clicked, this, [this, box] { openWebPage(box); });
    return button;
}

QGroupBox *frmContacts::buildPane(const QString &title, const QString &name, const QList<BoxPlace> &places,
                                  const QString &goName, FlatButton **goButton)
{
    auto *pane = new QGroupBox(title, this);
    pane->setObjectName(name);
    auto *grid = new QGridLayout(pane);
    // Two columns of label and box; long texts span the row. The last box is
    // the web page, with its Go button at the end of its row.
    QLineEdit *box = nullptr;
    for (const BoxPlace &place : places) {
        box = addBox(place.field);
        box->setParent(pane);
        grid->addWidget(addLabelFor(pane, box, boxInfo(place.field)), place.row, place.column * 2);
        grid->addWidget(box, place.row, place.column * 2 + 1, 1, place.span);
    }
    *goButton = addGoButton(goName, box);
    (*goButton)->setParent(pane);
    grid->addWidget(*goButton, places.constLast().row, 3);
    grid->setRowStretch(places.constLast().row + 1, 1);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    return pane;
}

QGroupBox *frmContacts::buildPersonalPane()
{
    using F = ContactField;
    return buildPane(tr("Personal Information"), QStringLiteral("fraName"),
                     {{F::FirstName, 0, 0}, {F::MiddleName, 0, 1}, {F::LastName, 1, 0}, {F::Nickname, 1, 1},
                      {F::PersonalEmail, 2, 0, 3}, {F::HomeAddress, 3, 0, 3}, {F::HomeCity, 4, 0},
                      {F::HomeState, 4, 1}, {F::HomeZipCode, 5, 0}, {F::HomeCountry, 5, 1}, {F::HomePhone, 6, 0},
                      {F::HomeFax, 6, 1}, {F::HomeCell, 7, 0}, {F::HomeWebPage, 8, 0, 2}},
                     QStringLiteral("cmdHomeGo"), &m_cmdHomeGo);
}

QGroupBox *frmContacts::buildBusinessPane()
{
    using F = ContactField;
    return buildPane(tr("Business Related Information"), QStringLiteral("fraBusiness"),
                     {{F::Company, 0, 0, 3}, {F::JobTitle, 1, 0, 3}, {F::BusinessAddress, 2, 0, 3},
                      {F::BusinessCity, 3, 0}, {F::BusinessState, 3, 1}, {F::BusinessZipCode, 4, 0},
                      {F::BusinessCountry, 4, 1}, {F::BusinessPhone, 5, 0}, {F::BusinessFax, 5, 1},
                      {F::BusinessPager, 6, 0}, {F::BusinessCellPhone, 6, 1}, {F::BusinessWebPage, 7, 0, 2}},
                     QStringLiteral("cmdBusinessGo"), &m_cmdBusinessGo);
}

void frmContacts::buildPicker(Picker &picker, const QString &boxName, const QString &buttonName,
                              const QString &calendarName, const QString &labelName, const QString &caption)
{
    picker.box = findChild<QLineEdit *>(boxName);
    picker.button = new FlatButton(tr("Show Calendar"), this);
    picker.button->setObjectName(buttonName);
    picker.button->setAccessibleDescription(tr("Picks the %1 from a calendar").arg(caption.toLower()));
    picker.label = new QLabel(caption, this);
    picker.label->setObjectName(labelName);
    QFont bold = picker.label->font();
    bold.setBold(true);
    picker.label->setFont(bold);
    picker.calendar = new QCalendarWidget(this);
    picker.calendar->setObjectName(calendarName);
    picker.calendar->setAccessibleName(caption);
    picker.calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    picker.label->setBuddy(picker.calendar);
    connect(picker.button, &QPushButton::clicked, this, [this, &picker] { togglePicker(picker); });
    // A click picks a day, and so does Enter for those who pick with the keyboard.
    connect(picker.calendar, &QCalendarWidget::clicked, this,
            [this, &picker](const QDate &date) { datePicked(picker, date); });
    connect(picker.calendar, &QCalendarWidget::activated, this,
            [this, &picker](const QDate &date) { datePicked(picker, date); });
}

QGroupBox *frmContacts::buildOtherPane()
{
    auto *pane = new QGroupBox(tr("Additional Information"), this);
    pane->setObjectName(QStringLiteral("fraOther"));
    auto *grid = new QGridLayout(pane);
    for (const auto &[field, line] : {std::pair{ContactField::Birthday, 0}, std::pair{ContactField::Anniversary, 1}}) {
        QLineEdit *box = addBox(field);
        box->setParent(pane);
        grid->addWidget(addLabelFor(pane, box, boxInfo(field)), line, 0);
        grid->addWidget(box, line, 1);
    }
    buildPicker(m_birthday, QStringLiteral("txtBirthday"), QStringLiteral("cmdBirthdayCalendar"),
                QStringLiteral("BirthdayCalendar"), QStringLiteral("lblBirthdayCalendar"), tr("BIRTHDAY"));
    buildPicker(m_anniversary, QStringLiteral("txtAnniversary"), QStringLiteral("cmdAnniversaryCalendar"),
                QStringLiteral("AnniversaryCalendar"), QStringLiteral("lblAnniversaryCalendar"), tr("ANNIVERSARY"));
    m_birthday.withYear = true;
    grid->addWidget(m_birthday.button, 0, 2);
    grid->addWidget(m_anniversary.button, 1, 2);

    // The open calendar drops down under the dates; only one is open at a time.
    auto *calendars = new QVBoxLayout;
    for (Picker *picker : {&m_birthday, &m_anniversary}) {
        picker->label->setParent(pane);
        picker->calendar->setParent(pane);
        calendars->addWidget(picker->label);
        calendars->addWidget(picker->calendar);
    }
    grid->addLayout(calendars, 2, 1, 1, 2, Qt::AlignLeft);

    m_txtAdditional = new QPlainTextEdit(pane);
    m_txtAdditional->setObjectName(QLatin1String(boxInfo(ContactField::Notes).name));
    m_txtAdditional->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_txtAdditional->setTabChangesFocus(true);
    m_txtAdditional->setMinimumHeight(3 * fontMetrics().lineSpacing());
    QLabel *misc = addLabelFor(pane, m_txtAdditional, boxInfo(ContactField::Notes));
    grid->addWidget(misc, 3, 0, Qt::AlignTop);
    grid->addWidget(m_txtAdditional, 3, 1, 1, 2);
    grid->setRowStretch(3, 1);
    grid->setColumnStretch(1, 1);
    return pane;
}

// ---------------------------------------------------------------- load

void frmContacts::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_loaded)
        load();
}

void frmContacts::load()
{
    m_loaded = true;
    m_state = WorkingState::NoContact;
    m_shownId = store::kNoRecord;
    deleteEmptyRecords();
    for (FlatButton *button : {m_cmdSave, m_cmdDeleteContact, m_cmdBusiness, m_cmdOther, m_cmdPersonal})
        enableButton(button, false);
    enableButton(m_cmdAddContact, true);
    enableButton(m_cmdEdit, true);
    showPane(Pane::Personal);
    setPanesEditable(false);
    enableCalendarButtons(false);
    hideCalendars();

    QString error;
    const std::optional<store::Settings> settings = m_settings->read(&error);
    if (!settings)
        reportFailure(tr("The settings could not be read: %1").arg(error));
    const ContactOrder order = settings ? settings->contactOrder : ContactOrder::LastName;
    {
        // Choosing the option below is what builds the list, as a click would.
        const QSignalBlocker first(m_optFirstName);
        const QSignalBlocker last(m_optLastName);
        (order == ContactOrder::FirstName ? m_optFirstName : m_optLastName)->setChecked(true);
    }
    sortOptionChosen(order);
}

void frmContacts::sortOptionChosen(ContactOrder order)
{
    loadContactList(order);
    if (const store::WriteResult result = m_settings->setContactOrder(order); !result)
        reportFailure(tr("The sort order could not be saved: %1").arg(result.error));
}

ContactOrder frmContacts::listOrder() const
{
    return m_optFirstName->isChecked() ? ContactOrder::FirstName : ContactOrder::LastName;
}

void frmContacts::loadContactList(ContactOrder order)
{
    const auto names = m_contacts->list(order);
    if (!names.ok())
        reportFailure(tr("The contact list could not be read: %1").arg(names.error));
    QList<contacts::ContactListModel::Entry> entries;
    if (names.value) {
        entries.reserve(names.value->size());
        for (const store::ContactName &name : *names.value) {
            entries.append({name.id, order == ContactOrder::FirstName ? name.first + u' ' + name.last
                                                                      : name.last + QStringLiteral(", ") + name.first});
        }
    }
    m_filling = true;
    m_model->setEntries(std::move(entries));
    m_filling = false;
    qCDebug(lcContacts) << "contact list rebuilt with" << m_model->rowCount() << "entries";
    if (m_model->rowCount() == 0) {
        // Work in progress stays; there is just nothing to pick.
        if (m_state != WorkingState::Adding && m_state != WorkingState::Editing)
            setNoContact();
        return;
    }
    selectRowQuietly(0);
    entrySelected(0);
}

int frmContacts::currentRow() const
{
    const QModelIndex current = m_lstContacts->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void frmContacts::selectRowQuietly(int row)
{
    m_filling = true;
    if (row < 0)
        m_lstContacts->selectionModel()->clear();
    else
        m_lstContacts->setCurrentIndex(m_model->index(row));
    m_filling = false;
}

// ---------------------------------------------------------------- selection

void frmContacts::entrySelected(int row)
{
    if (row < 0)
        return;
    if (hasUnsavedChanges()) {
        const Desktop::Answer answer = desktop().message(
            this, tr("Do you want to save the changes to this contact?"), Desktop::Icon::Question,
            Desktop::Buttons::YesNo);
        if (answer == Desktop::Answer::Yes) {
            if (!save()) {
                // Nothing was saved: the work stays where it was.
                selectRowQuietly(m_state == WorkingState::Editing ? m_model->rowOf(m_shownId) : -1);
                return;
            }
            // The save rebuilt the list and went to its first entry.
            row = currentRow();
            if (row < 0)
                return;
        }
    }
    showEntry(row);
}

void frmContacts::showEntry(int row)
{
    m_state = WorkingState::Viewing;
    for (FlatButton *button : {m_cmdDeleteContact, m_cmdEdit, m_cmdAddContact})
        enableButton(button, true);
    enablePaneButtons(true);
    setPanesEditable(false);
    enableCalendarButtons(false);
    hideCalendars();

    const store::RecordId id = m_model->idAt(row);
    const auto contact = m_contacts->byId(id);
    if (!contact.ok())
        reportFailure(tr("The contact could not be read: %1").arg(contact.error));
    if (contact.value) {
        transferInfoFromTable(*contact.value);
        m_shownId = id;
    } else {
        clearContactBoxes();
        m_shownId = store::kNoRecord;
        qCDebug(lcContacts) << "contact" << id << "is no longer in the file";
    }
    if (boxText(ContactField::FirstName).isEmpty()) {
        m_state = WorkingState::ViewingNoFirstName;
        showPane(Pane::Personal);
        enableButton(m_cmdDeleteContact, false);
        enablePaneButtons(false);
    }
}

void frmContacts::setNoContact()
{
    m_state = WorkingState::NoContact;
    m_shownId = store::kNoRecord;
    clearContactBoxes();
    enableButton(m_cmdAddContact, true);
    enableButton(m_cmdEdit, false);
    enableButton(m_cmdDeleteContact, false);
    enablePaneButtons(false);
    setPanesEditable(false);
    enableCalendarButtons(false);
    hideCalendars();
    showPane(Pane::Personal);
}

void frmContacts::showContact(store::RecordId id)
{
    int row = m_model->rowOf(id);
    if (row >= 0) {
        if (row != currentRow()) {
            m_lstContacts->setCurrentIndex(m_model->index(row));
        } else if (!hasUnsavedChanges()) {
            showEntry(row);
        }
        // A Yes to the save question rebuilds the list and shows its first
        // entry; the contact asked for is the one to show.
        row = m_model->rowOf(id);
        if (!hasUnsavedChanges() && m_shownId != id && row >= 0) {
            selectRowQuietly(row);
            showEntry(row);
        }
    }
    raise();
    activateWindow();
    m_lstContacts->setFocus();
}

// ---------------------------------------------------------------- commands

bool frmContacts::hasUnsavedChanges() const
{
    return m_state == WorkingState::Adding || m_state == WorkingState::Editing;
}

void frmContacts::cmdAddContact_Click()
{
    if (!m_loaded)
        load();
    // Reached from the main window's menu even while a contact is being
    // edited: the work is not thrown away unasked.
    if (hasUnsavedChanges()) {
        const Desktop::Answer answer = desktop().message(
            this, tr("Do you want to save the changes to this contact?"), Desktop::Icon::Question,
            Desktop::Buttons::YesNo);
        if (answer == Desktop::Answer::Yes && !save())
            return;
    }
    clearContactBoxes();
    selectRowQuietly(-1);
    m_state = WorkingState::Adding;
    m_shownId = store::kNoRecord;
    setPanesEditable(true);
    enablePaneButtons(true);
    enableCalendarButtons(true);
    enableButton(m_cmdSave, true);
    enableButton(m_cmdAddContact, false);
    enableButton(m_cmdEdit, false);
    // Nothing is selected, so there is nothing to delete.
    enableButton(m_cmdDeleteContact, false);
    m_boxes[slot(ContactField::FirstName)]->setFocus();
}

void frmContacts::edit()
{
    if (m_state == WorkingState::NoContact)
        return;
    m_state = WorkingState::Editing;
    enableButton(m_cmdDeleteContact, false);
    enableButton(m_cmdAddContact, false);
    enableButton(m_cmdSave, true);
    enableButton(m_cmdEdit, false);
    setPanesEditable(true);
    enablePaneButtons(true);
    enableCalendarButtons(true);
}

bool frmContacts::save()
{
    // A contact without a name is never listed and is purged the next time
    // the book opens or closes: saving one, new or edited, would lose it.
    if ((m_state == WorkingState::Adding || m_state == WorkingState::Editing)
        && boxText(ContactField::FirstName).isEmpty() && boxText(ContactField::LastName).isEmpty()) {
        desktop().message(this, tr("Please type a first or a last name for this contact."),
                          Desktop::Icon::Exclamation);
        showPane(Pane::Personal);
        m_boxes[slot(ContactField::FirstName)]->setFocus();
        return false;
    }
    if (m_state == WorkingState::Adding) {
        if (!addContact())
            return false;
    } else if (m_state == WorkingState::Editing) {
        if (!saveEdit())
            return false;
    }
    // The rebuilt list shows its first entry, which can be deleted at once:
    // in a book of one contact there is no other entry to pick first.
    enableButton(m_cmdSave, false);
    enableButton(m_cmdAddContact, true);
    return true;
}

bool frmContacts::addContact()
{
    const QString first = boxText(ContactField::FirstName);
    const QString last = boxText(ContactField::LastName);
    QLineEdit *txtFirst = m_boxes[slot(ContactField::FirstName)];
    const auto twin = m_contacts->findByName(first, last);
    if (!twin.ok()) {
        reportFailure(tr("The contact could not be saved: %1").arg(twin.error));
        return false;
    }
    if (twin.value) {
        desktop().message(this,
                          tr("The contact %1 %2 already exists.  "
                             "Please add a middle initial to the contact's first name.")
                              .arg(first, last),
                          Desktop::Icon::Exclamation);
        showPane(Pane::Personal);
        txtFirst->setFocus();
        txtFirst->end(false);
        return false;
    }
    store::Contact contact = transferInfoToTable();
    if (const store::WriteResult result = m_contacts->add(contact); !result) {
        reportFailure(tr("The contact could not be saved: %1").arg(result.error));
        return false;
    }
    qCDebug(lcContacts) << "contact added as record" << contact.id;
    m_state = WorkingState::Viewing;
    hideCalendars();
    loadContactList(listOrder());
    return true;
}

bool frmContacts::saveEdit()
{
    store::Contact contact = transferInfoToTable();
    contact.id = m_shownId;
    if (const store::WriteResult result = m_contacts->update(contact); !result) {
        reportFailure(tr("The contact could not be saved: %1").arg(result.error));
        return false;
    }
    qCDebug(lcContacts) << "contact" << contact.id << "changed";
    m_state = WorkingState::Viewing;
    hideCalendars();
    loadContactList(listOrder());
    return true;
}

void frmContacts::deleteContact()
{
    const int row = currentRow();
    if (!m_cmdDeleteContact->isEnabled() || row < 0)
        return;
    const Desktop::Answer answer =
        desktop().message(this, tr("Delete %1 from your contacts list?").arg(m_model->textAt(row)),
                          Desktop::Icon::Question, Desktop::Buttons::YesNo);
    if (answer != Desktop::Answer::Yes)
        return;
    const store::RecordId id = m_model->idAt(row);
    if (const store::WriteResult result = m_contacts->remove(id); !result) {
        reportFailure(tr("The contact could not be deleted: %1").arg(result.error));
        return;
    }
    qCDebug(lcContacts) << "contact" << id << "deleted";
    loadContactList(listOrder());
}

void frmContacts::deleteEmptyRecords()
{
    int removed = 0;
    if (const store::WriteResult result = m_contacts->removeNameless(&removed); !result)
        reportFailure(tr("Contacts without a name could not be removed: %1").arg(result.error));
    else if (removed > 0)
        qCDebug(lcContacts) << removed << "contacts without a name removed";
}

void frmContacts::closeCommand()
{
    deleteEmptyRecords();
    close();
}

void frmContacts::closeEvent(QCloseEvent *event)
{
    if (hasUnsavedChanges()) {
        const Desktop::Answer answer = desktop().message(
            this, tr("Do you want to save the changes to this contact?"), Desktop::Icon::Question,
            Desktop::Buttons::YesNo);
        if (answer == Desktop::Answer::Yes && !save()) {
            // Nothing was saved: the window stays open with the user's work.
            event->ignore();
            return;
        }
    }
    if (m_search)
        m_search->hide();
    m_state = WorkingState::NoContact;
    m_loaded = false;
    QWidget::closeEvent(event);
}

bool frmContacts::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_lstContacts && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Delete) {
        if (m_cmdDeleteContact->isEnabled())
            deleteContact();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void frmContacts::openSearch()
{
    if (!m_search) {
        m_search = new frmSearchContacts(m_db, this);
        connect(m_search, &frmSearchContacts::viewContact, this, &frmContacts::showContact);
        connect(m_search, &frmSearchContacts::closed, this, &frmContacts::centreVertically);
        m_search->move(frameGeometry().right() + 8, frameGeometry().top());
    }
    m_search->show();
    m_search->raise();
    m_search->activateWindow();
}

frmSearchContacts *frmContacts::searchWindow() const
{
    return m_search;
}

void frmContacts::centreVertically()
{
    const QScreen *where = screen();
    if (!where)
        return;
    const QRect area = where->geometry();
    move(x(), area.top() + (area.height() - frameGeometry().height()) / 2);
}

// ---------------------------------------------------------------- boxes

QString frmContacts::boxText(ContactField field) const
{
    if (field == ContactField::Notes)
        return m_txtAdditional->toPlainText();
    return m_boxes[slot(field)]->text();
}

void frmContacts::setBoxText(ContactField field, const QString &text)
{
    if (field == ContactField::Notes)
        m_txtAdditional->setPlainText(text);
    else
        m_boxes[slot(field)]->setText(text);
}

void frmContacts::transferInfoFromTable(const store::Contact &contact)
{
    m_filling = true;
    for (const ContactField field : store::contactFields())
        setBoxText(field, contact.value(field));
    m_filling = false;
}

store::Contact frmContacts::transferInfoToTable() const
{
    store::Contact contact;
    for (const ContactField field : store::contactFields())
        contact.value(field) = boxText(field);
    return contact;
}

void frmContacts::clearContactBoxes()
{
    transferInfoFromTable(store::Contact{});
}

void frmContacts::setPanesEditable(bool editable)
{
    // Read-only rather than disabled: the shown contact stays legible, its
    // texts can be copied, and a screen reader still reads them.
    QPalette boxPalette = palette();
    if (!editable)
        boxPalette.setColor(QPalette::Base, boxPalette.color(QPalette::Window));
    for (QLineEdit *box : m_boxes) {
        if (!box)
            continue;
        box->setReadOnly(!editable);
        box->setPalette(boxPalette);
    }
    m_txtAdditional->setReadOnly(!editable);
    m_txtAdditional->setPalette(boxPalette);
}

void frmContacts::showPane(Pane pane)
{
    // Hidden first: two panes shown at once, even for a moment, would make
    // the window grow to hold both.
    QGroupBox *shown = pane == Pane::Personal ? m_fraName : pane == Pane::Business ? m_fraBusiness : m_fraOther;
    for (QGroupBox *frame : {m_fraName, m_fraBusiness, m_fraOther}) {
        if (frame != shown)
            frame->hide();
    }
    shown->show();
    FlatButton *button = pane == Pane::Personal ? m_cmdPersonal : pane == Pane::Business ? m_cmdBusiness : m_cmdOther;
    button->setChecked(true);
}

void frmContacts::enablePaneButtons(bool enable)
{
    for (FlatButton *button : {m_cmdPersonal, m_cmdBusiness, m_cmdOther})
        enableButton(button, enable);
}

void frmContacts::enableCalendarButtons(bool enable)
{
    enableButton(m_birthday.button, enable);
    enableButton(m_anniversary.button, enable);
}

// ---------------------------------------------------------------- pickers

void frmContacts::togglePicker(Picker &picker)
{
    if (!picker.calendar->isHidden()) {
        hidePicker(picker);
        return;
    }
    Picker &other = &picker == &m_birthday ? m_anniversary : m_birthday;
    hidePicker(other);
    const QDate today = desktop().today();
    picker.calendar->setSelectedDate(today);
    picker.calendar->setCurrentPage(today.year(), today.month());
    picker.calendar->show();
    picker.label->show();
    picker.button->setText(tr("Hide Calendar"));
    picker.calendar->setFocus();
}

void frmContacts::hidePicker(Picker &picker)
{
    picker.calendar->hide();
    picker.label->hide();
    picker.button->setText(tr("Show Calendar"));
}

void frmContacts::hideCalendars()
{
    // The captions follow the calendars, so that a button never offers to
    // hide a calendar that is not open.
    hidePicker(m_birthday);
    hidePicker(m_anniversary);
}

void frmContacts::datePicked(Picker &picker, const QDate &date)
{
    if (picker.calendar->isHidden() || !date.isValid())
        return;
    QString text = monthName(date.month()) + u' ' + QString::number(date.day());
    if (picker.withYear)
        text += QStringLiteral(", ") + QString::number(date.year());
    // A picked date alone does not make the contact worth saving.
    picker.box->setText(text);
    hidePicker(picker);
    picker.button->setFocus();
}

void frmContacts::openWebPage(const QLineEdit *box)
{
    const QString text = box->text();
    if (text.isEmpty())
        return;
    const std::optional<QString> address = contacts::webAddressFor(text);
    if (!address) {
        desktop().message(this, tr("'%1' is not a web address.").arg(text), Desktop::Icon::Exclamation);
        return;
    }
    if (!desktop().openDocument(*address))
        qCWarning(lcContacts) << "the desktop did not open" << *address;
}

void frmContacts::enableButton(FlatButton *button, bool enable)
{
    button->enableWithEdges(enable, kEdgeGrey);
}

void frmContacts::reportFailure(const QString &text)
{
    qCWarning(lcContacts).noquote() << text;
    desktop().message(this, text, Desktop::Icon::Critical);
}

} // namespace brevane
