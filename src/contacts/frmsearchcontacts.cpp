#include "contacts/frmsearchcontacts.h"

#include "contacts/contactlistmodel.h"
#include "contacts/contactslog.h"
#include "controls/flatbutton.h"
#include "controls/twips.h"
#include "platform/desktop.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>

namespace brevane {

using store::ContactField;

namespace {

constexpr double kWindowWidth = 4800;
constexpr double kWindowHeight = 5400;

struct SearchIn {
    const char *caption;
    ContactField field;
};

const std::array<SearchIn, 7> kSearchIn{{
    {QT_TRANSLATE_NOOP("brevane::frmSearchContacts", "First Name"), ContactField::FirstName},
    {QT_TRANSLATE_NOOP("brevane::frmSearchContacts", "Last Name"), ContactField::LastName},
    {QT_TRANSLATE_NOOP("brevane::frmSearchContacts", "Nickname"), ContactField::Nickname},
    {QT_TRANSLATE_NOOP("brevane::frmSearchContacts", "City"), ContactField::HomeCity},
    {QT_TRANSLATE_NOOP("brevane::frmSearchContacts", "E-Mail Address"), ContactField::PersonalEmail},
    {QT_TRANSLATE_NOOP("brevane::frmSearchContacts", "State/Province"), ContactField::HomeState},
    {QT_TRANSLATE_NOOP("brevane::frmSearchContacts", "Address"), ContactField::HomeAddress},
}};

QLabel *addLabel(QWidget *parent, const QString &name, const QString &caption, QWidget *buddy)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->setBuddy(buddy);
    QString spoken = caption;
    spoken.chop(1);
    buddy->setAccessibleName(spoken);
    return label;
}

} // namespace

frmSearchContacts::frmSearchContacts(store::Database &db, QWidget *parent)
    : QWidget(parent, Qt::Window), m_contacts(std::make_unique<store::ContactRepository>(db))
{
    setObjectName(QStringLiteral("frmSearchContacts"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("Search Contacts"));

    auto *grid = new QGridLayout(this);
    m_cmbSearchIn = new QComboBox(this);
    m_cmbSearchIn->setObjectName(QStringLiteral("cmbSearchIn"));
    for (const SearchIn &entry : kSearchIn)
        m_cmbSearchIn->addItem(tr(entry.caption), static_cast<int>(entry.field));
    m_cmbSearchIn->setCurrentIndex(0);
    grid->addWidget(addLabel(this, QStringLiteral("lblSearchIn"), tr("Search In:"), m_cmbSearchIn), 0, 0);
    grid->addWidget(m_cmbSearchIn, 0, 1);

    m_txtSearchFor = new QLineEdit(this);
    m_txtSearchFor->setObjectName(QStringLiteral("txtSearchFor"));
    grid->addWidget(addLabel(this, QStringLiteral("lblSearchFor"), tr("Search For:"), m_txtSearchFor), 1, 0);
    grid->addWidget(m_txtSearchFor, 1, 1);

    m_results = new contacts::ContactListModel(this);
    m_lstResults = new QListView(this);
    m_lstResults->setObjectName(QStringLiteral("lstResults"));
    m_lstResults->setModel(m_results);
    m_lstResults->setSelectionMode(QAbstractItemView::SingleSelection);
    m_lstResults->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_lstResults->setUniformItemSizes(true);
    grid->addWidget(addLabel(this, QStringLiteral("lblResults"), tr("Results:"), m_lstResults), 2, 0, 1, 2);
    grid->addWidget(m_lstResults, 3, 0, 1, 2);
    grid->setRowStretch(3, 1);
    grid->setColumnStretch(1, 1);

    auto *buttons = new QHBoxLayout;
    auto makeButton = [this, buttons](const QString &name, const QString &caption) {
        auto *button = new FlatButton(caption, this);
        button->setObjectName(name);
        button->setMinimumHeight(twips::toPixels(this, 375));
        buttons->addWidget(button);
        return button;
    };
    m_cmdSearch = makeButton(QStringLiteral("cmdSearch"), tr("Search"));
    m_cmdView = makeButton(QStringLiteral("cmdView"), tr("View Contact"));
    m_cmdClose = makeButton(QStringLiteral("cmdClose"), tr("Close"));
    grid->addLayout(buttons, 4, 0, 1, 2);
    enableButton(m_cmdView, false);
    enableButton(m_cmdSearch, false);
    enableButton(m_cmdClose, true);

    connect(m_txtSearchFor, &QLineEdit::textChanged, this,
            [this](const QString &text) { enableButton(m_cmdSearch, !text.isEmpty()); });
    connect(m_txtSearchFor, &QLineEdit::returnPressed, this, [this] {
        if (!m_txtSearchFor->text().isEmpty())
            search();
    });
    connect(m_cmdSearch, &QPushButton::clicked, this, &frmSearchContacts::search);
    connect(m_lstResults->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &frmSearchContacts::resultChosen);
    // A double click on a result views it, and so does Enter for those who
    // choose with the keyboard. The list reports a double click as activated
    // as well as doubleClicked: listening to both would view it twice.
    connect(m_lstResults, &QAbstractItemView::activated, this, [this] {
        if (m_cmdView->isEnabled())
            viewChosenContact();
    });
    connect(m_cmdView, &QPushButton::clicked, this, &frmSearchContacts::viewChosenContact);
    connect(m_cmdClose, &QPushButton::clicked, this, &QWidget::close);

    resize(twips::toPixels(this, kWindowWidth), twips::toPixels(this, kWindowHeight));
}

frmSearchContacts::~frmSearchContacts() = default;

void frmSearchContacts::search()
{
    const auto field = static_cast<ContactField>(m_cmbSearchIn->currentData().toInt());
    // Every search reads the file, so that a contact added or renamed in the
    // book since this window opened is found as it is now.
    const auto found = m_contacts->search(field, m_txtSearchFor->text());
    QList<contacts::ContactListModel::Entry> entries;
    if (!found.ok()) {
        qCWarning(lcContacts).noquote() << "contact search failed:" << found.error;
        desktop().message(this, tr("The contacts could not be searched: %1").arg(found.error),
                          Desktop::Icon::Critical);
    } else {
        entries.reserve(found.value->size());
        for (const store::ContactName &name : *found.value)
            entries.append({name.id, name.last + QStringLiteral(", ") + name.first});
        if (entries.isEmpty())
            entries.append({store::kNoRecord, tr("No Matches Found")});
    }
    m_results->setEntries(std::move(entries));
    enableButton(m_cmdView, false);
}

void frmSearchContacts::resultChosen()
{
    const QModelIndexList chosen = m_lstResults->selectionModel()->selectedRows();
    const bool contact = !chosen.isEmpty() && m_results->idAt(chosen.constFirst().row()) != store::kNoRecord;
    enableButton(m_cmdView, contact);
}

void frmSearchContacts::viewChosenContact()
{
    const QModelIndexList chosen = m_lstResults->selectionModel()->selectedRows();
    if (chosen.isEmpty())
        return;
    const store::RecordId id = m_results->idAt(chosen.constFirst().row());
    if (id != store::kNoRecord)
        Q_EMIT viewContact(id);
}

void frmSearchContacts::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    m_txtSearchFor->setFocus();
}

void frmSearchContacts::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_txtSearchFor->setFocus();
}

void frmSearchContacts::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    Q_EMIT closed();
}

void frmSearchContacts::enableButton(FlatButton *button, bool enable)
{
    button->enableWithEdges(enable, kEdgeGrey);
}

} // namespace brevane
