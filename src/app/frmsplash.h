#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QTimer;

namespace brevane {

class FlatButton;
namespace store { class Database; }

// The start-up window: shows "Loading Database..." for two timer ticks, or asks
// for the password when the settings require one, then hands over to the main
// window.
class frmSplash : public QWidget
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

Q_SIGNALS:
    // The main window should be shown now; the start-up window closes itself.
    void mainWindowRequested();
    // The user chose Exit: end the program without opening anything.
    void exitRequested();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void enableButton(FlatButton *button, bool enable);
    void handOver();

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
    bool m_handedOver = false;
};

} // namespace brevane
