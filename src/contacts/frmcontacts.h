#pragma once

#include "platform/unsavedchanges.h"
#include "store/contactrepository.h"
#include "store/settingsrepository.h"

#include <QList>
#include <QPointer>
#include <QWidget>

#include <array>
#include <memory>

class QCalendarWidget;
class QDate;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListView;
class QPlainTextEdit;
class QRadioButton;

namespace brevane {

class FlatButton;
class frmSearchContacts;
namespace contacts {
class ContactListModel;
} // namespace contacts

// The contact book: every contact by name in last-name or first-name order,
// the chosen contact's 29 fields in three panes, and the commands that add,
// edit, save and delete contacts. A modeless top-level window.
//
// Keep one instance and show() it: showing a closed book reloads it (purges
// nameless contacts, reads the sort order, rebuilds the list); closing it
// keeps the contact search window hidden, with its search, for the next time.
class frmContacts : public QWidget, public UnsavedChanges
{
    Q_OBJECT

public:
    // What the window is doing; each state has its own set of enabled commands.
    enum class WorkingState {
        // The book is empty (or could not be read): nothing to show or edit.
        NoContact,
        Viewing,
        // The shown contact has no first name: it can be edited but not deleted.
        ViewingNoFirstName,
        Adding,
        Editing,
    };
    Q_ENUM(WorkingState)

    explicit frmContacts(store::Database &db, QWidget *parent = nullptr);
    ~frmContacts() override;
    Q_DISABLE_COPY_MOVE(frmContacts)

    // New: empties the boxes for a new contact. File > New > Contact shows the
    // window and then calls this.
    void cmdAddContact_Click();
    // A new or edited contact has not been saved yet.
    [[nodiscard]] bool hasUnsavedChanges() const override;
    [[nodiscard]] WorkingState workingState() const { return m_state; }
    // The contact whose fields the boxes show; kNoRecord when none.
    [[nodiscard]] store::RecordId shownContact() const { return m_shownId; }

    // Selects the contact's entry in the list, which shows it, and brings the
    // window forward; the contact search's View Contact.
    void showContact(store::RecordId id);
    // The contact search window while it exists (it may be hidden).
    [[nodiscard]] frmSearchContacts *searchWindow() const;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum class Pane { Personal, Business, Other };
    struct Picker {
        QLineEdit *box = nullptr;
        FlatButton *button = nullptr;
        QCalendarWidget *calendar = nullptr;
        QLabel *label = nullptr;
        bool withYear = false;
    };

    void buildWindow();
    // Where a box of a pane stands in its grid of label and box pairs.
    struct BoxPlace {
        store::ContactField field;
        int row = 0;
        int column = 0;
        int span = 1;
    };
    QGroupBox *buildPane(const QString &title, const QString &name, const QList<BoxPlace> &places,
                         const QString &goName, FlatButton **goButton);
    QGroupBox *buildPersonalPane();
    QGroupBox *buildBusinessPane();
    QGroupBox *buildOtherPane();
    QLineEdit *addBox(store::ContactField field);
    FlatButton *addGoButton(const QString &name, QLineEdit *box);
    void buildPicker(Picker &picker, const QString &boxName, const QString &buttonName, const QString &calendarName,
                     const QString &labelName, const QString &caption);

    void load();
    void sortOptionChosen(store::ContactOrder order);
    void loadContactList(store::ContactOrder order);
    [[nodiscard]] store::ContactOrder listOrder() const;
    [[nodiscard]] int currentRow() const;
    void selectRowQuietly(int row);
    void entrySelected(int row);
    void showEntry(int row);
    void setNoContact();
    void edit();
    bool save();
    bool addContact();
    bool saveEdit();
    void afterSave();
    void deleteContact();
    void deleteEmptyRecords();
    void closeCommand();
    void openSearch();
    void centreVertically();

    void transferInfoFromTable(const store::Contact &contact);
    [[nodiscard]] store::Contact transferInfoToTable() const;
    void clearContactBoxes();
    [[nodiscard]] QString boxText(store::ContactField field) const;
    void setBoxText(store::ContactField field, const QString &text);
    void setPanesEditable(bool editable);
    void showPane(Pane pane);
    void enablePaneButtons(bool enable);
    void enableCalendarButtons(bool enable);
    void togglePicker(Picker &picker);
    void hidePicker(Picker &picker);
    void hideCalendars();
    void datePicked(Picker &picker, const QDate &date);
    void openWebPage(const QLineEdit *box);
    void enableButton(FlatButton *button, bool enable);
    void reportFailure(const QString &text);

    store::Database &m_db;
    std::unique_ptr<store::ContactRepository> m_contacts;
    std::unique_ptr<store::SettingsRepository> m_settings;
    WorkingState m_state = WorkingState::NoContact;
    store::RecordId m_shownId = store::kNoRecord;
    bool m_loaded = false;
    bool m_filling = false;

    QLabel *m_lblContacts = nullptr;
    QRadioButton *m_optFirstName = nullptr;
    QRadioButton *m_optLastName = nullptr;
    QListView *m_lstContacts = nullptr;
    contacts::ContactListModel *m_model = nullptr;

    QGroupBox *m_fraName = nullptr;
    QGroupBox *m_fraBusiness = nullptr;
    QGroupBox *m_fraOther = nullptr;
    // One box per field; the notes box (several lines) is kept apart.
    std::array<QLineEdit *, store::kContactFieldCount> m_boxes{};
    QPlainTextEdit *m_txtAdditional = nullptr;
    FlatButton *m_cmdHomeGo = nullptr;
    FlatButton *m_cmdBusinessGo = nullptr;
    Picker m_birthday;
    Picker m_anniversary;

    FlatButton *m_cmdPersonal = nullptr;
    FlatButton *m_cmdBusiness = nullptr;
    FlatButton *m_cmdOther = nullptr;
    FlatButton *m_cmdAddContact = nullptr;
    FlatButton *m_cmdEdit = nullptr;
    FlatButton *m_cmdSave = nullptr;
    FlatButton *m_cmdDeleteContact = nullptr;
    FlatButton *m_cmdSearch = nullptr;
    FlatButton *m_cmdClose = nullptr;

    QPointer<frmSearchContacts> m_search;
};

} // namespace brevane
