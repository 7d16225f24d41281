#include "quick_links/frmquicklinks.h"

#include "controls/flatbutton.h"
#include "controls/twips.h"
#include "platform/desktop.h"
#include "platform/navigation.h"

#include <QCloseEvent>
#include <QFrame>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QLoggingCategory>
#include <QPushButton>
#include <QStandardItemModel>

Q_LOGGING_CATEGORY(lcQuickLinks, "brevane.quick_links")

namespace brevane {

namespace {

constexpr int kIdRole = Qt::UserRole + 1;
constexpr int kPathRole = Qt::UserRole + 2;

// Design sizes, in twips.
constexpr double kWindowWidth = 6840;
constexpr double kWindowHeight = 3720;
constexpr double kMargin = 120;
constexpr double kListWidth = 2520;
constexpr double kPanelHeight = 2880;
constexpr double kFrameLeft = kMargin + kListWidth + kMargin;
constexpr double kFrameWidth = kWindowWidth - kFrameLeft - kMargin;
constexpr double kInset = 180;
constexpr double kLabelHeight = 285;
constexpr double kBoxHeight = 345;
constexpr double kBrowseWidth = 1800;
constexpr double kButtonTop = kMargin + kPanelHeight + 120;
constexpr double kButtonHeight = 405;
constexpr int kButtonCount = 5;
constexpr double kButtonWidth = (kWindowWidth - 2 * kMargin - (kButtonCount - 1) * kMargin) / kButtonCount;

} // namespace

frmQuickLinks::frmQuickLinks(store::Database &db, Navigation &navigation, QWidget *parent)
    : QWidget(parent, Qt::Window), m_navigation(navigation), m_links(db)
{
    setObjectName(QStringLiteral("frmQuickLinks"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("Quick Links"));
    setFixedSize(twips::toPixels(this, kWindowWidth), twips::toPixels(this, kWindowHeight));

    m_model = new QStandardItemModel(this);
    m_lstQuickLinks = new QListView(this);
    m_lstQuickLinks->setObjectName(QStringLiteral("lstQuickLinks"));
    m_lstQuickLinks->setAccessibleName(tr("Quick Links"));
    m_lstQuickLinks->setModel(m_model);
    m_lstQuickLinks->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_lstQuickLinks->setSelectionMode(QAbstractItemView::SingleSelection);
    m_lstQuickLinks->installEventFilter(this);
    twips::setGeometry(m_lstQuickLinks, kMargin, kMargin, kListWidth, kPanelHeight);

    m_fraAddLink = new QFrame(this);
    m_fraAddLink->setObjectName(QStringLiteral("fraAddLink"));
    m_fraAddLink->setFrameShape(QFrame::StyledPanel);
    twips::setGeometry(m_fraAddLink, kFrameLeft, kMargin, kFrameWidth, kPanelHeight);

    const double boxWidth = kFrameWidth - 2 * kInset;
    auto addBox = [this, boxWidth](const QString &labelName, const QString &caption, const QString &boxName,
                                   double top) {
        auto *label = new QLabel(caption, m_fraAddLink);
        label->setObjectName(labelName);
        twips::setGeometry(label, kInset, top, boxWidth, kLabelHeight);
        auto *box = new QLineEdit(m_fraAddLink);
        box->setObjectName(boxName);
        box->setAccessibleName(caption);
        label->setBuddy(box);
        twips::setGeometry(box, kInset, top + kLabelHeight + 30, boxWidth, kBoxHeight);
        return box;
    };
    m_txtName = addBox(QStringLiteral("lblShortcutName"), tr("Quick Link Name"), QStringLiteral("txtName"), kInset);
    m_txtPath = addBox(QStringLiteral("lblExename"), tr("Quick Link Path"), QStringLiteral("txtPath"), 1020);
    m_cmdBrowse = new QPushButton(tr("Browse For File"), m_fraAddLink);
    m_cmdBrowse->setObjectName(QStringLiteral("cmdBrowse"));
    twips::setGeometry(m_cmdBrowse, kFrameWidth - kInset - kBrowseWidth, 1860, kBrowseWidth, kButtonHeight);

    auto addButton = [this](const QString &name, const QString &caption, int index) {
        auto *button = new FlatButton(caption, this);
        button->setObjectName(name);
        twips::setGeometry(button, kMargin + index * (kButtonWidth + kMargin), kButtonTop, kButtonWidth,
                           kButtonHeight);
        return button;
    };
    m_cmdAddNew = addButton(QStringLiteral("cmdAddNew"), tr("New"), 0);
    m_cmdEdit = addButton(QStringLiteral("cmdEdit"), tr("Edit"), 1);
    m_cmdSave = addButton(QStringLiteral("cmdSave"), tr("Save"), 2);
    m_cmdDelete = addButton(QStringLiteral("cmdDelete"), tr("Delete"), 3);
    m_cmdClose = addButton(QStringLiteral("cmdClose"), tr("Close"), 4);

    setTabOrder(m_lstQuickLinks, m_txtName);
    setTabOrder(m_txtName, m_txtPath);
    setTabOrder(m_txtPath, m_cmdBrowse);
    setTabOrder(m_cmdBrowse, m_cmdAddNew);
    setTabOrder(m_cmdAddNew, m_cmdEdit);
    setTabOrder(m_cmdEdit, m_cmdSave);
    setTabOrder(m_cmdSave, m_cmdDelete);
    setTabOrder(m_cmdDelete, m_cmdClose);

    connect(m_lstQuickLinks->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        const QModelIndexList selected = m_lstQuickLinks->selectionModel()->selectedIndexes();
        if (!selected.isEmpty())
            linkSelected(selected.constFirst());
    });
    // As the user knows it from lists: a double-click opens the entry for
    // changing, even while Edit is switched off by an add.
    connect(m_lstQuickLinks, &QAbstractItemView::doubleClicked, this, &frmQuickLinks::edit);
    connect(m_txtName, &QLineEdit::textChanged, this, &frmQuickLinks::enableSave);
    connect(m_txtPath, &QLineEdit::textChanged, this, &frmQuickLinks::enableSave);
    for (QLineEdit *box : {m_txtName, m_txtPath}) {
        connect(box, &QLineEdit::returnPressed, this, [this] {
            if (!m_txtName->text().isEmpty() && !m_txtPath->text().isEmpty())
                save();
        });
    }
    connect(m_cmdBrowse, &QPushButton::clicked, this, &frmQuickLinks::browse);
    connect(m_cmdAddNew, &QPushButton::clicked, this, &frmQuickLinks::cmdAddNew_Click);
    connect(m_cmdEdit, &QPushButton::clicked, this, &frmQuickLinks::edit);
    connect(m_cmdSave, &QPushButton::clicked, this, &frmQuickLinks::save);
    connect(m_cmdDelete, &QPushButton::clicked, this, &frmQuickLinks::deleteLink);
    connect(m_cmdClose, &QPushButton::clicked, this, &QWidget::close);

    setBoxesEnabled(false);
    enableButton(m_cmdAddNew, true);
    enableButton(m_cmdEdit, false);
    enableButton(m_cmdSave, false);
    enableButton(m_cmdDelete, false);
    enableButton(m_cmdClose, true);
    // Selecting the first link enables Edit and Delete, as a user's click would.
    loadQuickLinks();
}

frmQuickLinks::~frmQuickLinks()
{
    // The list's selection model signals while the children are torn down.
    disconnect(m_lstQuickLinks->selectionModel(), nullptr, this, nullptr);
}

bool frmQuickLinks::hasUnsavedChanges() const
{
    return m_mode != Mode::Browsing;
}

void frmQuickLinks::loadQuickLinks()
{
    m_model->clear();
    const store::ReadResult<QList<store::QuickLink>> links = m_links.all();
    if (!links.ok()) {
        desktop().message(this, links.error, Desktop::Icon::Critical);
        return;
    }
    for (const store::QuickLink &link : *links.value) {
        auto *item = new QStandardItem(link.name);
        item->setData(link.id, kIdRole);
        item->setData(link.path, kPathRole);
        item->setEditable(false);
        m_model->appendRow(item);
    }
    if (m_model->rowCount() > 0)
        m_lstQuickLinks->setCurrentIndex(m_model->index(0, 0));
}

void frmQuickLinks::linkSelected(const QModelIndex &index)
{
    m_current = index.data(kIdRole).value<store::RecordId>();
    m_txtName->setText(index.data().toString());
    m_txtPath->setText(index.data(kPathRole).toString());
    enableButton(m_cmdDelete, true);
    enableButton(m_cmdEdit, true);
    enableButton(m_cmdAddNew, true);
}

void frmQuickLinks::cmdAddNew_Click()
{
    // The main window's File > New reaches this also while the New button is
    // off, that is while a link is being added or changed: the typed work is
    // not thrown away unasked, the user finishes or cancels it first.
    if (!m_cmdAddNew->isEnabled()) {
        m_txtName->setFocus();
        return;
    }
    m_mode = Mode::Adding;
    m_lstQuickLinks->clearSelection();
    m_txtName->clear();
    m_txtPath->clear();
    enableButton(m_cmdDelete, false);
    enableButton(m_cmdSave, false);
    enableButton(m_cmdEdit, false);
    enableButton(m_cmdAddNew, false);
    setBoxesEnabled(true);
    m_txtName->setFocus();
    qCDebug(lcQuickLinks) << "adding a link";
}

void frmQuickLinks::edit()
{
    if (m_current == store::kNoRecord)
        return;
    setBoxesEnabled(true);
    enableButton(m_cmdAddNew, false);
    enableButton(m_cmdDelete, false);
    // Save still adds after an add was begun.
    if (m_mode == Mode::Browsing)
        m_mode = Mode::Editing;
    m_txtName->setFocus();
}

void frmQuickLinks::save()
{
    if (m_mode == Mode::Adding)
        addLink();
    else if (m_mode == Mode::Editing)
        editLink();
    m_navigation.reloadQuickLinks();
}

void frmQuickLinks::addLink()
{
    store::QuickLink link{store::kNoRecord, m_txtName->text(), m_txtPath->text()};
    const store::ReadResult<store::QuickLinkDuplicate> duplicate = m_links.findDuplicate(link.name, link.path);
    if (!duplicate.ok()) {
        reportFailedWrite(duplicate.error);
        return;
    }
    QLineEdit *offending = nullptr;
    switch (duplicate.value->clash) {
    case store::QuickLinkClash::Path:
        desktop().message(this, tr("There is already a quick link to open this program."),
                          Desktop::Icon::Exclamation);
        offending = m_txtPath;
        break;
    case store::QuickLinkClash::Name:
        desktop().message(this,
                          tr("There is already a quick link named '%1'.  Please enter a different name.")
                              .arg(link.name),
                          Desktop::Icon::Exclamation);
        offending = m_txtName;
        break;
    case store::QuickLinkClash::None:
        break;
    }
    if (offending) {
        offending->setFocus();
        offending->selectAll();
        return;
    }
    if (const store::WriteResult result = m_links.add(link); !result) {
        reportFailedWrite(result.error);
        return;
    }
    qCDebug(lcQuickLinks) << "link added as record" << link.id;
    m_mode = Mode::Browsing;
    setBoxesEnabled(false);
    enableButton(m_cmdSave, false);
    loadQuickLinks();
}

void frmQuickLinks::editLink()
{
    const store::QuickLink link{m_current, m_txtName->text(), m_txtPath->text()};
    if (const store::WriteResult result = m_links.update(link); !result) {
        reportFailedWrite(result.error);
        return;
    }
    qCDebug(lcQuickLinks) << "link" << link.id << "changed";
    m_mode = Mode::Browsing;
    setBoxesEnabled(false);
    enableButton(m_cmdSave, false);
    loadQuickLinks();
    // The list is in name order, so a renamed link may have moved: select it
    // by identity rather than by its old place.
    selectLink(link.id);
}

void frmQuickLinks::deleteLink()
{
    const QModelIndexList selected = m_lstQuickLinks->selectionModel()->selectedIndexes();
    if (selected.isEmpty() || m_current == store::kNoRecord)
        return;
    const QString name = selected.constFirst().data().toString();
    if (desktop().message(this, tr("Delete '%1' from your Quick Links?").arg(name), Desktop::Icon::Question,
                          Desktop::Buttons::YesNo)
        != Desktop::Answer::Yes)
        return;
    if (const store::WriteResult result = m_links.remove(m_current); !result) {
        desktop().message(this, result.error, Desktop::Icon::Critical);
        return;
    }
    qCDebug(lcQuickLinks) << "link" << m_current << "deleted";
    // The link being changed is gone: there is nothing left to save.
    if (m_mode == Mode::Editing) {
        m_mode = Mode::Browsing;
        setBoxesEnabled(false);
        enableButton(m_cmdSave, false);
    }
    loadQuickLinks();
    enableButton(m_cmdDelete, false);
    enableButton(m_cmdEdit, false);
    m_lstQuickLinks->clearSelection();
    m_navigation.reloadQuickLinks();
}

void frmQuickLinks::browse()
{
    const QString chosen = desktop().chooseFile(this, tr("Quick Link Program Path"), QStringLiteral("/usr/bin"),
                                                tr("All Files (*)"));
    if (chosen.isEmpty())
        return;
    m_txtPath->setText(chosen.trimmed());
    enableSave();
}

void frmQuickLinks::enableSave()
{
    enableButton(m_cmdSave,
                 m_mode != Mode::Browsing && !m_txtName->text().isEmpty() && !m_txtPath->text().isEmpty());
}

void frmQuickLinks::setBoxesEnabled(bool enabled)
{
    m_txtName->setEnabled(enabled);
    m_txtPath->setEnabled(enabled);
    m_cmdBrowse->setEnabled(enabled);
}

void frmQuickLinks::selectLink(store::RecordId id)
{
    const QModelIndexList found = m_model->match(m_model->index(0, 0), kIdRole, QVariant::fromValue(id), 1,
                                                 Qt::MatchExactly);
    if (!found.isEmpty())
        m_lstQuickLinks->setCurrentIndex(found.constFirst());
}

void frmQuickLinks::reportFailedWrite(const QString &reason)
{
    // The boxes keep what the user typed, so that the save can be tried again.
    desktop().message(this, reason, Desktop::Icon::Critical);
}

void frmQuickLinks::enableButton(FlatButton *button, bool enable)
{
    button->enableWithEdges(enable, kEdgeGrey);
}

void frmQuickLinks::closeEvent(QCloseEvent *event)
{
    QString question;
    if (m_mode == Mode::Editing)
        question = tr("Closing this form will cancel the edit operation.  Are you sure you want to close the form?");
    else if (m_mode == Mode::Adding)
        question = tr("Closing this form will cancel the add operation.  Are you sure you want to close this form?");
    if (!question.isEmpty()
        && desktop().message(this, question, Desktop::Icon::Question, Desktop::Buttons::YesNo)
               != Desktop::Answer::Yes) {
        event->ignore();
        return;
    }
    m_navigation.reloadQuickLinks();
    QWidget::closeEvent(event);
}

bool frmQuickLinks::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_lstQuickLinks && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Delete && m_cmdDelete->isEnabled()) {
            deleteLink();
            return true;
        }
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && m_cmdEdit->isEnabled()) {
            edit();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace brevane
