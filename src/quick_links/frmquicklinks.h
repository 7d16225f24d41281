#pragma once

#include "platform/unsavedchanges.h"
#include "store/quicklinkrepository.h"
#include "store/recordset.h"

#include <QList>
#include <QWidget>

class QFrame;
class QLabel;
class QLineEdit;
class QListView;
class QModelIndex;
class QPushButton;
class QStandardItemModel;

namespace brevane {

class FlatButton;
class Navigation;
namespace store {
class Database;
} // namespace store

// The quick-links manager: lists the program shortcuts and adds, changes and
// deletes them. Not modal; created on each open and deleted when it closes.
// After every save, delete and close the main window re-reads the links, so
// that its quick-links box and tray menu follow.
class frmQuickLinks : public QWidget, public UnsavedChanges
{
    Q_OBJECT

public:
    // What the window is doing; it decides what Save writes and what closing asks.
    enum class Mode { Browsing, Adding, Editing };

    frmQuickLinks(store::Database &db, Navigation &navigation, QWidget *parent = nullptr);
    ~frmQuickLinks() override;
    Q_DISABLE_COPY_MOVE(frmQuickLinks)

    // The New button: empty boxes for a new link. File > New > "Quick Link"
    // shows the window and runs it.
    void cmdAddNew_Click();
    // True while a link is being added or changed.
    [[nodiscard]] bool hasUnsavedChanges() const override;
    [[nodiscard]] Mode mode() const { return m_mode; }

    // Re-reads the links into the list and selects the first one.
    void loadQuickLinks();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void linkSelected(const QModelIndex &index);
    void edit();
    void save();
    void addLink();
    void editLink();
    void deleteLink();
    void browse();
    void enableSave();
    void setBoxesEnabled(bool enabled);
    void selectLink(store::RecordId id);
    [[nodiscard]] store::RecordId selectedLink() const;
    void reportFailedWrite(const QString &reason);
    void enableButton(FlatButton *button, bool enable);

    Navigation &m_navigation;
    store::QuickLinkRepository m_links;
    Mode m_mode = Mode::Browsing;
    // The link last selected in the list, which Edit changes and Delete removes.
    store::RecordId m_current = store::kNoRecord;

    QListView *m_lstQuickLinks = nullptr;
    QStandardItemModel *m_model = nullptr;
    QFrame *m_fraAddLink = nullptr;
    QLineEdit *m_txtName = nullptr;
    QLineEdit *m_txtPath = nullptr;
    QPushButton *m_cmdBrowse = nullptr;
    FlatButton *m_cmdAddNew = nullptr;
    FlatButton *m_cmdEdit = nullptr;
    FlatButton *m_cmdSave = nullptr;
    FlatButton *m_cmdDelete = nullptr;
    FlatButton *m_cmdClose = nullptr;
};

} // namespace brevane
