#pragma once

#include "store/contactrepository.h"

#include <QWidget>

#include <memory>

class QComboBox;
class QLineEdit;
class QListView;

namespace brevane {

class FlatButton;
namespace contacts {
class ContactListModel;
} // namespace contacts

// The contact search: finds the contacts whose chosen field contains a piece
// of text, ignoring case, lists them by name, and asks the contact book to
// show the chosen one. A modeless top-level window opened from the contact
// book, which hides it when the book closes; closing it deletes it.
class frmSearchContacts : public QWidget
{
    Q_OBJECT

public:
    explicit frmSearchContacts(store::Database &db, QWidget *parent = nullptr);
    ~frmSearchContacts() override;
    Q_DISABLE_COPY_MOVE(frmSearchContacts)

    // The Search button and Enter in the search text.
    void search();

Q_SIGNALS:
    // View Contact: the contact book shows this contact.
    void viewContact(store::RecordId id);
    // The window closed, whichever way.
    void closed();

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void resultChosen();
    void viewChosenContact();
    void enableButton(FlatButton *button, bool enable);

    std::unique_ptr<store::ContactRepository> m_contacts;
    QComboBox *m_cmbSearchIn = nullptr;
    QLineEdit *m_txtSearchFor = nullptr;
    QListView *m_lstResults = nullptr;
    contacts::ContactListModel *m_results = nullptr;
    FlatButton *m_cmdSearch = nullptr;
    FlatButton *m_cmdView = nullptr;
    FlatButton *m_cmdClose = nullptr;
};

} // namespace brevane
