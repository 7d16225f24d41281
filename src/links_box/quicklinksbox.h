#pragma once

#include "store/recordset.h"

#include <QFrame>
#include <QList>
#include <QString>

class QComboBox;

namespace brevane {

namespace store {
class Database;
}

// The toolbar's quick-links box: a drop-down that starts the program of the
// link chosen in it, and offers the quick-links manager.
class QuickLinksBox : public QFrame
{
    Q_OBJECT

public:
    struct Link {
        store::RecordId id = store::kNoRecord;
        QString name;
    };

    QuickLinksBox(store::Database &db, QWidget *parent);
    Q_DISABLE_COPY_MOVE(QuickLinksBox)

    // Reads the links afresh. A failed read is reported and the box keeps
    // the links it had.
    void reload();
    [[nodiscard]] QList<Link> links() const { return m_links; }
    // Starts the link's program; `name` names it when the link is no longer
    // in the box.
    void run(store::RecordId id, const QString &name);
    // The "Add/Edit/Delete Quick Links" entry can be chosen.
    void setManagerAvailable(bool available);

Q_SIGNALS:
    void linksChanged();
    void managerRequested();

private:
    enum class Entry { Prompt, Manager, Separator, Link };
    void fillFixedEntries();
    void chosen(int index);
    void start(store::RecordId id, const QString &name);
    void cannotRun(const QString &name);

    store::Database &m_db;
    QComboBox *m_combo = nullptr;
    QList<Link> m_links;
    bool m_managerAvailable = false;
};

} // namespace brevane
