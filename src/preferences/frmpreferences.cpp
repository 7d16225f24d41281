#include "preferences/frmpreferences.h"

#include "controls/flatbutton.h"
#include "controls/twips.h"
#include "core/password.h"
#include "platform/desktop.h"
#include "platform/navigation.h"
#include "store/database.h"

#include <QCheckBox>
#include <QDir>
#include <QFrame>
#include <QFuture>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

Q_LOGGING_CATEGORY(lcPreferences, "brevane.preferences", QtWarningMsg)

namespace brevane {

namespace {

// Stands in for the stored password, which is a hash and cannot be shown.
// Only its presence counts (see holdsPlaceholder), never its text.
const QString kPlaceholder(8, QChar(0x2022));

// Design sizes, in twips.
constexpr double kWindowWidth = 6600;
constexpr double kWindowHeight = 5460;
constexpr double kFrameTop = 645;
constexpr double kFrameHeight = 4020;
constexpr double kInnerLeft = 240;
constexpr double kInnerWidth = 5880;
constexpr double kBoxLeft = 2160;
constexpr double kBoxWidth = 3000;
constexpr double kButtonWidth = 1680;
constexpr double kButtonHeight = 405;
constexpr double kButtonTop = 4905;

QLabel *addLabel(QWidget *parent, const QString &name, const QString &text, double top, double height)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    twips::setGeometry(label, kInnerLeft, top, kInnerWidth, height);
    return label;
}

QLineEdit *addPasswordBox(QWidget *parent, const QString &name, QLabel *label, double top)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setEchoMode(QLineEdit::Password);
    box->setAccessibleName(label->text());
    label->setBuddy(box);
    twips::setGeometry(box, kBoxLeft, top, kBoxWidth, 345);
    return box;
}

} // namespace

bool getMinimizeToSystemTray(store::Database &db, QString *error)
{
    const std::optional<store::Settings> settings = store::SettingsRepository(db).read(error);
    return settings && settings->minimizeToTray;
}

frmPreferences::frmPreferences(store::Database &db, Navigation &navigation, QWidget *parent)
    : QDialog(parent), m_db(db), m_navigation(navigation)
{
    setObjectName(QStringLiteral("frmPreferences"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowTitle(tr("Preferences"));
    setFixedSize(twips::toPixels(this, kWindowWidth), twips::toPixels(this, kWindowHeight));

    // The pane selector. The sound-file pane is not offered (nothing plays
    // those sounds), so this is the only one and it is always shown.
    m_cmdPassword = new FlatButton(tr("Password"), this);
    m_cmdPassword->setObjectName(QStringLiteral("cmdPassword"));
    twips::setGeometry(m_cmdPassword, 120, 120, kButtonWidth, kButtonHeight);

    m_fraPassword = new QGroupBox(tr("Options"), this);
    m_fraPassword->setObjectName(QStringLiteral("fraPassword"));
    twips::setGeometry(m_fraPassword, 120, kFrameTop, kWindowWidth - 240, kFrameHeight);

    QLabel *label1 = addLabel(m_fraPassword, QStringLiteral("Label1"),
                              tr("Check this box to place Brevane Organizer in the system tray when minimized."), 360,
                              480);
    m_chkMinimizeToSystemTray = new QCheckBox(tr("Minimize to System Tray"), m_fraPassword);
    m_chkMinimizeToSystemTray->setObjectName(QStringLiteral("chkMinimizeToSystemTray"));
    m_chkMinimizeToSystemTray->setAccessibleDescription(label1->text());
    twips::setGeometry(m_chkMinimizeToSystemTray, kInnerLeft, 870, kInnerWidth, 315);

    auto *line1 = new QFrame(m_fraPassword);
    line1->setObjectName(QStringLiteral("Line1"));
    line1->setFrameShape(QFrame::HLine);
    line1->setFrameShadow(QFrame::Sunken);
    twips::setGeometry(line1, kInnerLeft, 1290, kInnerWidth, 30);

    QLabel *info = addLabel(m_fraPassword, QStringLiteral("lblPasswordInfo"),
                            tr("Check this box to require a password to login to Brevane Organizer."), 1410, 480);
    m_chkPassword = new QCheckBox(tr("Require Password"), m_fraPassword);
    m_chkPassword->setObjectName(QStringLiteral("chkPassword"));
    m_chkPassword->setAccessibleDescription(info->text());
    twips::setGeometry(m_chkPassword, kInnerLeft, 1920, kInnerWidth, 315);

    m_lblSetPassword = addLabel(m_fraPassword, QStringLiteral("lblSetPassword"),
                                tr("If a password has previously been set it will again be used.  If you do not "
                                   "remember this password please set a new one."),
                                2310, 720);
    m_lblNewPassword = addLabel(m_fraPassword, QStringLiteral("lblNewPassword"), tr("Password:"), 3090, 315);
    twips::setWidth(m_lblNewPassword, kBoxLeft - kInnerLeft - 60);
    m_txtNewPassword = addPasswordBox(m_fraPassword, QStringLiteral("txtNewPassword"), m_lblNewPassword, 3060);
    m_lblConfirmPassword =
        addLabel(m_fraPassword, QStringLiteral("lblConfirmPassword"), tr("Confirm Password:"), 3510, 315);
    twips::setWidth(m_lblConfirmPassword, kBoxLeft - kInnerLeft - 60);
    m_txtConfirmPassword =
        addPasswordBox(m_fraPassword, QStringLiteral("txtConfirmPassword"), m_lblConfirmPassword, 3480);
    m_txtNewPassword->setAccessibleDescription(m_lblSetPassword->text());
    m_txtNewPassword->installEventFilter(this);
    m_txtConfirmPassword->installEventFilter(this);

    auto *divider = new QFrame(this);
    divider->setObjectName(QStringLiteral("cmdDivider"));
    divider->setFrameShape(QFrame::HLine);
    divider->setFrameShadow(QFrame::Sunken);
    twips::setGeometry(divider, 120, kFrameTop + kFrameHeight + 120, kWindowWidth - 240, 30);

    const double gap = (kWindowWidth - 2 * kButtonWidth) / 3;
    m_cmdSave = new FlatButton(tr("Save"), this);
    m_cmdSave->setObjectName(QStringLiteral("cmdSave"));
    twips::setGeometry(m_cmdSave, gap, kButtonTop, kButtonWidth, kButtonHeight);
    m_cmdClose = new FlatButton(tr("Close"), this);
    m_cmdClose->setObjectName(QStringLiteral("cmdClose"));
    twips::setGeometry(m_cmdClose, 2 * gap + kButtonWidth, kButtonTop, kButtonWidth, kButtonHeight);
    // Enter in a password box saves, as the Save button would.
    m_cmdSave->setDefault(true);
    for (FlatButton *button : {m_cmdPassword, m_cmdSave, m_cmdClose})
        enableButton(button, true);

    setTabOrder(m_cmdPassword, m_chkMinimizeToSystemTray);
    setTabOrder(m_chkMinimizeToSystemTray, m_chkPassword);
    setTabOrder(m_chkPassword, m_txtNewPassword);
    setTabOrder(m_txtNewPassword, m_txtConfirmPassword);
    setTabOrder(m_txtConfirmPassword, m_cmdSave);
    setTabOrder(m_cmdSave, m_cmdClose);

    connect(m_cmdPassword, &QPushButton::clicked, this, &frmPreferences::cmdPassword_Click);
    connect(m_cmdSave, &QPushButton::clicked, this, &frmPreferences::cmdSave_Click);
    connect(m_cmdClose, &QPushButton::clicked, this, &QWidget::close);
    connect(m_chkPassword, &QCheckBox::toggled, this, &frmPreferences::showPasswordBoxes);
    // Every way of closing (Close, Escape, the close box) ends here.
    connect(this, &QDialog::finished, this, [this] { m_closed = true; });
    // Any change the user makes replaces the stand-in (the key filter clears
    // it first; this catches pastes by mouse and drops).
    connect(m_txtNewPassword, &QLineEdit::textEdited, this, [this] { m_newHoldsPlaceholder = false; });
    connect(m_txtConfirmPassword, &QLineEdit::textEdited, this, [this] { m_confirmHoldsPlaceholder = false; });

    // Loading.
    QString error;
    m_settings = store::SettingsRepository(m_db).read(&error);
    if (!m_settings) {
        desktop().message(this,
                          tr("The preferences could not be read from %1 (%2).")
                              .arg(QDir::toNativeSeparators(m_db.path()), error),
                          Desktop::Icon::Exclamation);
        m_fraPassword->setEnabled(false);
        m_cmdPassword->setEnabled(false);
        enableButton(m_cmdSave, false);
        showPasswordBoxes(false);
        return;
    }
    fillPasswordBoxes();
    m_chkPassword->setChecked(m_settings->requirePassword);
    m_chkMinimizeToSystemTray->setChecked(m_settings->minimizeToTray);
    showPasswordBoxes(m_chkPassword->isChecked());
    m_chkMinimizeToSystemTray->setFocus();
}

frmPreferences::~frmPreferences() = default;

void frmPreferences::enableButton(FlatButton *button, bool enable)
{
    button->enableWithEdges(enable, kEdgeGrey);
}

void frmPreferences::fillPasswordBoxes()
{
    const bool stored = !m_settings->password.isEmpty();
    m_txtNewPassword->setText(stored ? kPlaceholder : QString());
    m_txtConfirmPassword->setText(stored ? kPlaceholder : QString());
    m_newHoldsPlaceholder = stored;
    m_confirmHoldsPlaceholder = stored;
}

bool frmPreferences::holdsPlaceholder(const QLineEdit *box) const
{
    const bool flag = box == m_txtNewPassword ? m_newHoldsPlaceholder : m_confirmHoldsPlaceholder;
    // A change made other than by the user (an assistive tool setting the
    // text) leaves the flag but not the text.
    return flag && box->text() == kPlaceholder;
}

void frmPreferences::showPasswordBoxes(bool show)
{
    for (QWidget *control : {static_cast<QWidget *>(m_lblSetPassword), static_cast<QWidget *>(m_lblNewPassword),
                             static_cast<QWidget *>(m_txtNewPassword), static_cast<QWidget *>(m_lblConfirmPassword),
                             static_cast<QWidget *>(m_txtConfirmPassword)})
        control->setVisible(show);
}

void frmPreferences::cmdPassword_Click()
{
    m_fraPassword->show();
    m_chkMinimizeToSystemTray->setFocus();
}

void frmPreferences::cmdSave_Click()
{
    if (!m_settings || m_saving)
        return;
    // What to hash and store as the password; nothing keeps the stored one.
    std::optional<QString> newPassword;
    if (m_chkPassword->isChecked()) {
        const QString password = m_txtNewPassword->text();
        const QString confirmation = m_txtConfirmPassword->text();
        if (password.isEmpty() || confirmation.isEmpty()) {
            desktop().message(this, tr("Please enter and confirm a password"), Desktop::Icon::Exclamation);
            (password.isEmpty() ? m_txtNewPassword : m_txtConfirmPassword)->setFocus();
            return;
        }
        if (password != confirmation) {
            desktop().message(this, tr("Please re-confirm password."), Desktop::Icon::Exclamation);
            m_txtConfirmPassword->setFocus();
            m_txtConfirmPassword->selectAll();
            return;
        }
        if (!holdsPlaceholder(m_txtNewPassword) || !holdsPlaceholder(m_txtConfirmPassword))
            newPassword = password;
        else if (storedPasswordForm(m_settings->password) == StoredPasswordForm::Plain)
            // The stored password is kept, but not as plain text.
            newPassword = m_settings->password;
    }
    if (!newPassword) {
        writeSettings(std::nullopt);
        return;
    }
    setSaving(true);
    // A window closed, and so deleted, while the hash is made is not called back.
    whenFinished(hashPasswordInBackground(*newPassword), this, [this](const QString &hash) {
        setSaving(false);
        // Closed meanwhile: Close means nothing is written.
        if (m_closed)
            return;
        if (hash.isEmpty()) {
            reportFailedWrite(tr("The password could not be protected: not enough memory."));
            return;
        }
        writeSettings(hash);
    });
}

void frmPreferences::setSaving(bool saving)
{
    m_saving = saving;
    m_fraPassword->setEnabled(!saving);
    m_cmdPassword->setEnabled(!saving);
    enableButton(m_cmdSave, !saving);
    if (saving)
        setCursor(Qt::BusyCursor);
    else
        unsetCursor();
}

void frmPreferences::writeSettings(const std::optional<QString> &passwordHash)
{
    const bool requirePassword = m_chkPassword->isChecked();
    const bool minimizeToTray = m_chkMinimizeToSystemTray->isChecked();
    // One commit: a password without its switch, or the reverse, is never
    // left behind by a failure halfway.
    store::Batch batch(m_db);
    if (!batch.isActive()) {
        reportFailedWrite(batch.error());
        return;
    }
    store::SettingsRepository settings(m_db);
    store::WriteResult result{true, {}};
    if (passwordHash)
        result = settings.setPassword(*passwordHash);
    if (result)
        result = settings.setRequirePassword(requirePassword);
    if (result)
        result = settings.setMinimizeToTray(minimizeToTray);
    if (!result) {
        reportFailedWrite(result.error);
        return;
    }
    if (!batch.commit()) {
        reportFailedWrite(batch.error());
        return;
    }
    qCDebug(lcPreferences) << "saved; password required:" << requirePassword << "tray:" << minimizeToTray;
    const bool trayChanged = minimizeToTray != m_settings->minimizeToTray;
    m_settings->requirePassword = requirePassword;
    m_settings->minimizeToTray = minimizeToTray;
    if (passwordHash)
        m_settings->password = *passwordHash;
    if (trayChanged)
        m_navigation.settingsChanged();
    Q_EMIT saved();
    close();
}

void frmPreferences::reportFailedWrite(const QString &reason)
{
    desktop().message(this, tr("The preferences could not be saved. %1").arg(reason), Desktop::Icon::Exclamation);
}

bool frmPreferences::eventFilter(QObject *watched, QEvent *event)
{
    // The first key that edits a box holding the stand-in replaces it, so
    // that typing starts a new password instead of adding to the stand-in.
    if (event->type() == QEvent::KeyPress && (watched == m_txtNewPassword || watched == m_txtConfirmPassword)) {
        auto *box = static_cast<QLineEdit *>(watched);
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool edits = (!key->text().isEmpty() && key->text().at(0).isPrint()) || key->key() == Qt::Key_Backspace
                           || key->key() == Qt::Key_Delete || key->matches(QKeySequence::Paste)
                           || key->matches(QKeySequence::Cut);
        if (edits && holdsPlaceholder(box)) {
            box->clear();
            (box == m_txtNewPassword ? m_newHoldsPlaceholder : m_confirmHoldsPlaceholder) = false;
            if (key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Delete)
                return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace brevane
