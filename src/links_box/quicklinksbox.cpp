#include "links_box/quicklinksbox.h"

#include "controls/twips.h"
#include "platform/desktop.h"
#include "store/database.h"
#include "store/quicklinkrepository.h"

#include <QComboBox>
#include <QLabel>
#include <QLoggingCategory>
#include <QStandardItemModel>

Q_LOGGING_CATEGORY(lcLinksBox, "brevane.links_box", QtWarningMsg)

namespace brevane {

namespace {
// What each entry of the box is, beside the link identity in Qt::UserRole.
constexpr int kEntryRole = Qt::UserRole + 1;
constexpr double kFrameWidth = 3600;
} // namespace

QuickLinksBox::QuickLinksBox(store::Database &db, QWidget *parent)
    : QFrame(parent), m_db(db)
{
    setObjectName(QStringLiteral("fraQuickLinks"));
    twips::setGeometry(this, 6000, 60, kFrameWidth, 555 - 120);
    auto *label = new QLabel(tr("QUICK LINKS:"), this);
    label->setObjectName(QStringLiteral("lblQuickLinks"));
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    const double labelWidth = twips::fromPixels(label, label->sizeHint().width()) + 60;
    twips::setGeometry(label, 0, 60, labelWidth, 300);
    m_combo = new QComboBox(this);
    m_combo->setObjectName(QStringLiteral("cmbQuickLinks"));
    m_combo->setAccessibleName(tr("Quick Links:"));
    label->setBuddy(m_combo);
    twips::setGeometry(m_combo, labelWidth, 0, kFrameWidth - labelWidth, 375);
    connect(m_combo, &QComboBox::activated, this, &QuickLinksBox::chosen);
    fillFixedEntries();
}

void QuickLinksBox::fillFixedEntries()
{
    m_combo->clear();
    const auto add = [this](const QString &text, Entry entry) {
        m_combo->addItem(text);
        m_combo->setItemData(m_combo->count() - 1, int(entry), kEntryRole);
    };
    add(tr("Select an Action..."), Entry::Prompt);
    add(tr("Add/Edit/Delete Quick Links"), Entry::Manager);
    add(QString(54, u'-'), Entry::Separator);
    // Until the manager window is part of the program its entry cannot be chosen.
    if (auto *model = qobject_cast<QStandardItemModel *>(m_combo->model()))
        model->item(1)->setEnabled(m_managerAvailable);
}

void QuickLinksBox::setManagerAvailable(bool available)
{
    m_managerAvailable = available;
    if (auto *model = qobject_cast<QStandardItemModel *>(m_combo->model()))
        model->item(1)->setEnabled(available);
}

void QuickLinksBox::reload()
{
    const store::ReadResult<QList<store::QuickLink>> links = store::QuickLinkRepository(m_db).all();
    if (!links.ok()) {
        qCWarning(lcLinksBox) << "quick links not read:" << links.error;
        desktop().message(window(), tr("%1\n\nThe quick links box still shows what it showed before.").arg(links.error),
                          Desktop::Icon::Exclamation);
        return;
    }
    fillFixedEntries();
    // Each entry keeps its link's identity: two links may share a name.
    m_links.clear();
    for (const store::QuickLink &stored : *links.value) {
        const Link link{stored.id, stored.name};
        m_links.append(link);
        m_combo->addItem(link.name, QVariant::fromValue(link.id));
        m_combo->setItemData(m_combo->count() - 1, int(Entry::Link), kEntryRole);
    }
    m_combo->setCurrentIndex(0);
    Q_EMIT linksChanged();
}

void QuickLinksBox::chosen(int index)
{
    const auto entry = Entry(m_combo->itemData(index, kEntryRole).toInt());
    if (entry == Entry::Manager)
        Q_EMIT managerRequested();
    else if (entry == Entry::Link)
        start(m_combo->itemData(index).value<store::RecordId>(), m_combo->itemText(index));
    m_combo->setCurrentIndex(0);
}

void QuickLinksBox::run(store::RecordId id, const QString &name)
{
    const int index = m_combo->findData(QVariant::fromValue(id));
    if (index < 0 || Entry(m_combo->itemData(index, kEntryRole).toInt()) != Entry::Link) {
        cannotRun(name);
        return;
    }
    m_combo->setCurrentIndex(index);
    chosen(index);
}

void QuickLinksBox::cannotRun(const QString &name)
{
    desktop().message(window(), tr("There was an error trying to run '%1'.").arg(name), Desktop::Icon::Critical);
}

void QuickLinksBox::start(store::RecordId id, const QString &name)
{
    const store::ReadResult<store::QuickLink> link = store::QuickLinkRepository(m_db).byId(id);
    if (!link.ok()) {
        desktop().message(window(), link.error, Desktop::Icon::Exclamation);
        return;
    }
    // Deleted since the box was filled (by another copy of the program, say):
    // the user chose it, so the user hears that it did not run.
    if (!link.value) {
        cannotRun(name);
        return;
    }
    const QString path = link.value->path;
    if (!desktop().startProgram(path)) {
        desktop().message(window(), tr("'%1' is not a valid path.  The program cannot be run.").arg(path),
                          Desktop::Icon::Critical);
    }
}

} // namespace brevane
