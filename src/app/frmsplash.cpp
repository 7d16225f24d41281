#include "app/frmsplash.h"

#include "platform/appicon.h"
#include "controls/flatbutton.h"
#include "controls/twips.h"
#include "core/logging.h"
#include "core/organizer.h"
#include "core/password.h"
#include "platform/desktop.h"
#include "store/database.h"
#include "store/settingsrepository.h"

#include <QCloseEvent>
#include <QEvent>
#include <QFrame>
#include <QFuture>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QDir>

namespace brevane {

namespace {
constexpr double kWindowWidth = 5910;
constexpr double kWindowHeight = 3480;
constexpr double kButtonTop = 2760;
constexpr double kButtonHeight = 405;
} // namespace

frmSplash::frmSplash(store::Database &db, QWidget *parent)
    : QDialog(parent), m_db(db)
{
    setObjectName(QStringLiteral("frmSplash"));
    setModal(false);
    setWindowIcon(appIcon());
    setFixedSize(twips::toPixels(this, kWindowWidth), twips::toPixels(this, kWindowHeight));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);

    // The logo: the program's name over a rule, in the window's own drawing.
    auto *logo = new QLabel(kProgramTitle, this);
    logo->setObjectName(QStringLiteral("lblLogo"));
    QFont logoFont = logo->font();
    logoFont.setPointSizeF(logoFont.pointSizeF() * 2.0);
    logoFont.setBold(true);
    logo->setFont(logoFont);
    logo->setAlignment(Qt::AlignCenter);
    logo->setStyleSheet(QStringLiteral("color: rgb(0, 64, 128);"));
    twips::setGeometry(logo, 120, 240, kWindowWidth - 240, 600);

    auto *rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    twips::setGeometry(rule, 300, 900, kWindowWidth - 600, 30);

    m_lblSplashVersion = new QLabel(this);
    m_lblSplashVersion->setObjectName(QStringLiteral("lblSplashVersion"));
    m_lblSplashVersion->setAlignment(Qt::AlignCenter);
    twips::setGeometry(m_lblSplashVersion, 120, 1000, kWindowWidth - 240, 300);

    m_lblLoading = new QLabel(tr("Loading Database..."), this);
    m_lblLoading->setObjectName(QStringLiteral("lblLoading"));
    m_lblLoading->setAlignment(Qt::AlignCenter);
    twips::setGeometry(m_lblLoading, 120, 1800, kWindowWidth - 240, 300);
    m_lblLoading->hide();

    m_lblPassword = new QLabel(tr("Password:"), this);
    m_lblPassword->setObjectName(QStringLiteral("lblPassword"));
    twips::setGeometry(m_lblPassword, 300, 1740, 1200, 300);
    m_lblPassword->hide();

    m_txtPassword = new QLineEdit(this);
    m_txtPassword->setObjectName(QStringLiteral("txtPassword"));
    m_txtPassword->setEchoMode(QLineEdit::Password);
    m_txtPassword->setAccessibleName(m_lblPassword->text());
    m_lblPassword->setBuddy(m_txtPassword);
    twips::setGeometry(m_txtPassword, 1500, 1700, 3750, 345);
    m_txtPassword->hide();
    m_txtPassword->installEventFilter(this);

    auto *bottomRule = new QFrame(this);
    bottomRule->setFrameShape(QFrame::HLine);
    bottomRule->setFrameShadow(QFrame::Sunken);
    twips::setGeometry(bottomRule, 300, 2520, kWindowWidth - 600, 30);

    m_cmdContinue = new FlatButton(tr("Continue"), this);
    m_cmdContinue->setObjectName(QStringLiteral("cmdContinue"));
    twips::setGeometry(m_cmdContinue, 300, kButtonTop, 1695, kButtonHeight);
    m_cmdExit = new FlatButton(tr("Exit"), this);
    m_cmdExit->setObjectName(QStringLiteral("cmdExit"));
    twips::setGeometry(m_cmdExit, 300 + 1695 + 60, kButtonTop, 1695, kButtonHeight);
    connect(m_cmdContinue, &QPushButton::clicked, this, &frmSplash::cmdContinue_Click);
    connect(m_cmdExit, &QPushButton::clicked, this, &frmSplash::cmdExit_Click);

    m_timer1 = new QTimer(this);
    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer1->setInterval(1500);
    connect(m_timer1, &QTimer::timeout, this, &frmSplash::Timer1_Timer);

    // The load sequence.
    QString readError;
    const std::optional<store::Settings> settings = store::SettingsRepository(m_db).read(&readError);
    if (settings) {
        m_passwordRequired = settings->requirePassword;
        m_storedPassword = settings->password;
    }

    setWindowTitle(kProgramTitle + tr(" Version ") + kVersion);
    m_lblSplashVersion->setText(tr("Version ") + kVersion);

    if (!settings) {
        // Without the settings the gate cannot know whether to ask, and
        // opening the program unasked would bypass it: report and end.
        desktop().message(this,
                          tr("The settings could not be read from %1 (%2).")
                              .arg(QDir::toNativeSeparators(m_db.path()), readError),
                          Desktop::Icon::Critical);
        m_cmdContinue->hide();
        QTimer::singleShot(0, this, [this] {
            endWithoutMainWindow(1);
            close();
        });
        return;
    }
    if (!m_passwordRequired) {
        m_cmdContinue->hide();
        m_cmdExit->hide();
        m_lblLoading->show();
        m_timer1->start();
    } else {
        m_lblPassword->show();
        m_txtPassword->show();
        twips::setWidth(m_cmdContinue, 2595);
        twips::setWidth(m_cmdExit, 2595);
        twips::setLeft(m_cmdExit, twips::left(m_cmdContinue) + 2595 + 60);
        // Continue starts enabled: an empty password may be the right one.
        // It follows the box once the user types.
        enableButton(m_cmdContinue, true);
        enableButton(m_cmdExit, true);
        connect(m_txtPassword, &QLineEdit::textChanged, this,
                [this](const QString &text) { enableButton(m_cmdContinue, !text.isEmpty()); });
        m_txtPassword->setFocus();
    }
    qCDebug(lcApp) << "start-up, password required:" << m_passwordRequired;
}

void frmSplash::enableButton(FlatButton *button, bool enable)
{
    button->enableWithEdges(enable, kEdgeWhite);
}

void frmSplash::Timer1_Timer()
{
    ++m_ticks;
    if (m_ticks == 2) {
        m_timer1->stop();
        handOver();
    }
}

void frmSplash::cmdContinue_Click()
{
    if (m_txtPassword->isHidden()) {
        handOver();
        return;
    }
    if (m_checking || m_handedOver)
        return;
    // A hash takes a noticeable moment to check: the window stays live (Exit
    // works) while a worker thread does it.
    setChecking(true);
    // The program may end, and the window go, before the check does.
    whenFinished(checkPasswordInBackground(m_txtPassword->text(), m_storedPassword), this,
                 [this](const PasswordCheck &check) { passwordChecked(check.accepted, check.upgradedHash); });
}

void frmSplash::passwordChecked(bool accepted, const QString &upgradedHash)
{
    setChecking(false);
    if (m_handedOver)
        return;
    if (!accepted) {
        desktop().message(this, tr("The password you have entered is incorrect."), Desktop::Icon::Exclamation);
        m_txtPassword->setFocus();
        m_txtPassword->selectAll();
        return;
    }
    // A password kept in an older form (plain text, or a weaker hash) is
    // replaced now that it is known. Failing to do so costs nothing but the
    // upgrade, so the user is told and goes on.
    if (!upgradedHash.isEmpty()) {
        if (const store::WriteResult result = store::SettingsRepository(m_db).setPassword(upgradedHash); !result) {
            desktop().message(this,
                              tr("The password could not be stored in its protected form. %1").arg(result.error),
                              Desktop::Icon::Exclamation);
        }
    }
    handOver();
}

void frmSplash::setChecking(bool checking)
{
    m_checking = checking;
    // Continue keeps its state: a click meanwhile is ignored.
    m_txtPassword->setReadOnly(checking);
    if (checking)
        setCursor(Qt::BusyCursor);
    else
        unsetCursor();
}

void frmSplash::cmdExit_Click()
{
    endWithoutMainWindow();
    close();
}

void frmSplash::handOver()
{
    if (m_handedOver)
        return;
    m_handedOver = true;
    m_timer1->stop();
    Q_EMIT mainWindowRequested();
    accept();
}

void frmSplash::endWithoutMainWindow(int status)
{
    if (m_handedOver)
        return;
    m_handedOver = true;
    m_timer1->stop();
    Q_EMIT exitRequested(status);
}

void frmSplash::reject()
{
    endWithoutMainWindow();
    QDialog::reject();
}

void frmSplash::closeEvent(QCloseEvent *event)
{
    // Closing the window without going on is choosing Exit; otherwise the
    // program would run on with no window.
    endWithoutMainWindow();
    QDialog::closeEvent(event);
}

bool frmSplash::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_txtPassword && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            cmdContinue_Click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace brevane
