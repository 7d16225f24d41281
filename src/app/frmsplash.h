#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QTimer;

namespace brevane {

class FlatButton;
namespace store { class Database; }

// The start-up window: shows "Loading Database..." for two timer ticks, or asks
// for the password when the settings require one, then hands over to the main
// window. A dialog (not modal: nothing else is open yet) so that screen readers
// announce it as a window; with no parent it opens centred on the screen.
class frmSplash : public QDialog
{
    Q_OBJECT

public:
    explicit frmSplash(store::Database &db, QWidget *parent = nullptr);
    Q_DISABLE_COPY_MOVE(frmSplash)

    // Timer1's tick; public so that tests can drive the clock.
    void Timer1_Timer();
    void cmdContinue_Click();
    void cmdExit_Click();
    [[nodiscard]] bool passwordRequired() const { return m_passwordRequired; }
    // The typed password is being checked on a worker thread.
    [[nodiscard]] bool isCheckingPassword() const { return m_checking; }

    // Escape and the window manager's close act as Exit.
    void reject() override;

Q_SIGNALS:
    // The main window should be shown now; the start-up window closes itself.
    void mainWindowRequested();
    // End the program without opening anything: status 0 when the user chose
    // Exit, 1 when the data file could not be used.
    void exitRequested(int status);

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void enableButton(FlatButton *button, bool enable);
    void passwordChecked(bool accepted, const QString &upgradedHash);
    void setChecking(bool checking);
    void handOver();
    void endWithoutMainWindow(int status = 0);

    store::Database &m_db;
    QLabel *m_lblSplashVersion = nullptr;
    QLabel *m_lblLoading = nullptr;
    QLabel *m_lblPassword = nullptr;
    QLineEdit *m_txtPassword = nullptr;
    FlatButton *m_cmdContinue = nullptr;
    FlatButton *m_cmdExit = nullptr;
    QTimer *m_timer1 = nullptr;
    QString m_storedPassword;
    qint16 m_ticks = 0;
    bool m_passwordRequired = false;
    bool m_checking = false;
    // Set once the window has chosen its way out (main window or exit), so
    // that a late timer tick or password result cannot choose again.
    bool m_handedOver = false;
};

} // namespace brevane
