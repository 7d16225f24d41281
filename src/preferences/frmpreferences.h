#pragma once

#include "store/settingsrepository.h"

#include <QDialog>
#include <QLoggingCategory>
#include <QString>

#include <optional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;

Q_DECLARE_LOGGING_CATEGORY(lcPreferences)

namespace brevane {

class FlatButton;
class Navigation;
namespace store {
class Database;
} // namespace store

// True exactly when the settings say "Minimize to System Tray". False, with
// the reason in *error, when they could not be read: the caller decides
// whether that is worth a message (a minimise is not).
[[nodiscard]] bool getMinimizeToSystemTray(store::Database &db, QString *error = nullptr);

// The preferences: hiding in the notification area when minimised, and the
// start-up password. Not modal. Save writes every setting in one commit, or
// nothing; the stored password is never shown and never written in plain
// text: a password that is set is hashed on a worker thread first.
class frmPreferences : public QDialog
{
    Q_OBJECT

public:
    frmPreferences(store::Database &db, Navigation &navigation, QWidget *parent = nullptr);
    ~frmPreferences() override;
    Q_DISABLE_COPY_MOVE(frmPreferences)

    // False when the settings could not be read (the user was told): the
    // window then offers nothing but Close and should not be shown.
    [[nodiscard]] bool isLoaded() const { return m_settings.has_value(); }
    // A new password is being hashed; Save finishes when it is done.
    [[nodiscard]] bool isSaving() const { return m_saving; }

    void cmdPassword_Click();
    void cmdSave_Click();

Q_SIGNALS:
    // The settings were written; the window closes.
    void saved();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showPasswordBoxes(bool show);
    void fillPasswordBoxes();
    void setSaving(bool saving);
    void writeSettings(const std::optional<QString> &passwordHash);
    void reportFailedWrite(const QString &reason);
    [[nodiscard]] bool holdsPlaceholder(const QLineEdit *box) const;
    void enableButton(FlatButton *button, bool enable);

    store::Database &m_db;
    Navigation &m_navigation;
    // As read when the window opened; nullopt when the read failed.
    std::optional<store::Settings> m_settings;
    // The boxes that still show the stand-in for the stored password (which
    // cannot be shown: it is kept as a hash).
    bool m_newHoldsPlaceholder = false;
    bool m_confirmHoldsPlaceholder = false;
    bool m_saving = false;
    bool m_closed = false;

    FlatButton *m_cmdPassword = nullptr;
    QGroupBox *m_fraPassword = nullptr;
    QCheckBox *m_chkMinimizeToSystemTray = nullptr;
    QCheckBox *m_chkPassword = nullptr;
    QLabel *m_lblSetPassword = nullptr;
    QLabel *m_lblNewPassword = nullptr;
    QLineEdit *m_txtNewPassword = nullptr;
    QLabel *m_lblConfirmPassword = nullptr;
    QLineEdit *m_txtConfirmPassword = nullptr;
    FlatButton *m_cmdSave = nullptr;
    FlatButton *m_cmdClose = nullptr;
};

} // namespace brevane
