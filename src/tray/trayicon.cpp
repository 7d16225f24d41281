#include "tray/trayicon.h"

#include "core/organizer.h"
#include "platform/desktop.h"
#include "store/settingsrepository.h"

#include <QAction>
#include <QEvent>
#include <QLoggingCategory>
#include <QMenu>
#include <QWidget>

Q_LOGGING_CATEGORY(lcTray, "brevane.tray", QtWarningMsg)

namespace brevane {

TrayIcon::TrayIcon(store::Database &db, QWidget *window)
    : QObject(window), m_db(db), m_window(window)
{
    m_menu = new QMenu(tr("&SysTray"), window);
    m_menu->setObjectName(QStringLiteral("mPopupSys"));
    const auto add = [](QMenu *menu, const char *name, const QString &caption) {
        QAction *action = menu->addAction(caption);
        action->setObjectName(QLatin1String(name));
        return action;
    };
    const auto separator = [this](const char *name) { m_menu->addSeparator()->setObjectName(QLatin1String(name)); };
    m_reminders = add(m_menu, "mnuSystemTrayReminders", tr("&Reminders"));
    separator("mnuDash2");
    m_quickLinks = m_menu->addMenu(tr("Quick Links"));
    m_quickLinks->setObjectName(QStringLiteral("mnuSysQuickLinks"));
    m_quickLinks->menuAction()->setObjectName(QStringLiteral("mnuSysQuickLinksAction"));
    add(m_quickLinks, "mnuSysQuickLinksList0", QStringLiteral(" "))->setVisible(false);
    separator("mnuDash324");
    m_restore = add(m_menu, "mPopRestore", tr("&Restore"));
    m_minimize = add(m_menu, "mPopMinimize", tr("&Minimize"));
    m_maximize = add(m_menu, "mPopMaximize", tr("&Maximize"));
    for (QAction *hidden : {m_restore, m_minimize, m_maximize})
        hidden->setVisible(false);
    connect(m_restore, &QAction::triggered, this, [this] { setWindowState(Qt::WindowNoState); });
    connect(m_minimize, &QAction::triggered, this, [this] { setWindowState(Qt::WindowMinimized); });
    connect(m_maximize, &QAction::triggered, this, [this] { setWindowState(Qt::WindowMaximized); });
    separator("mnuDash29");
    m_help = add(m_menu, "mnuSystemTrayHelp", tr("&Help"));
    separator("mDash");
    QAction *open = add(m_menu, "mnuOpen", tr("Open"));
    // Not through mPopMaximize, which is disabled while the window is maximized.
    connect(open, &QAction::triggered, this, [this] { setWindowState(Qt::WindowMaximized); });
    m_exit = add(m_menu, "mPopExit", tr("&Exit"));

    connect(&desktop(), &Desktop::trayLeftReleased, this, &TrayIcon::leftReleased);
    connect(&desktop(), &Desktop::trayRightReleased, this, &TrayIcon::rightReleased);
    window->installEventFilter(this);
}

TrayIcon::~TrayIcon()
{
    m_window->removeEventFilter(this);
}

bool TrayIcon::optionOn() const
{
    const std::optional<store::Settings> settings = store::SettingsRepository(m_db).read();
    return settings && settings->minimizeToTray;
}

void TrayIcon::applySetting()
{
    const bool on = optionOn() && desktop().trayAvailable();
    if (on && !m_shown) {
        desktop().showTrayIcon(m_window->windowIcon(), kProgramTitle, m_menu);
        m_shown = true;
    } else if (!on && m_shown) {
        desktop().removeTrayIcon();
        m_shown = false;
        // A window hidden in the notification area would have no way back.
        if (m_window->isHidden())
            m_window->showMinimized();
    }
    qCDebug(lcTray) << "tray icon" << (m_shown ? "shown" : "not shown");
}

void TrayIcon::remove()
{
    if (m_shown)
        desktop().removeTrayIcon();
    m_shown = false;
}

void TrayIcon::setQuickLinks(const QList<QPair<store::RecordId, QString>> &links)
{
    QList<QAction *> entries = m_quickLinks->actions();
    // Entry 0 is the hidden placeholder; the rest are the links, reused.
    for (int i = 0; i < links.size(); ++i) {
        const auto &[id, name] = links.at(i);
        QAction *entry = nullptr;
        if (i + 1 < entries.size()) {
            entry = entries.at(i + 1);
        } else {
            entry = m_quickLinks->addAction(name);
            entry->setObjectName(QStringLiteral("mnuSysQuickLinksList%1").arg(i + 1));
            connect(entry, &QAction::triggered, this, [this, entry] {
                Q_EMIT quickLinkChosen(entry->data().value<store::RecordId>(),
                                       entry->text().replace(QLatin1String("&&"), QLatin1String("&")));
            });
        }
        // A single "&" in a menu caption marks the next letter as its key and vanishes.
        entry->setText(QString(name).replace(u'&', QLatin1String("&&")));
        entry->setData(QVariant::fromValue(id));
    }
    for (qsizetype i = entries.size() - 1; i > links.size(); --i)
        delete entries.at(i);
}

void TrayIcon::leftReleased()
{
    if (!optionOn())
        return;
    if (m_window->isMinimized() || m_window->isHidden())
        setWindowState(Qt::WindowMaximized);
    else
        setWindowState(Qt::WindowMinimized);
}

void TrayIcon::rightReleased(const QPoint &globalPos)
{
    if (!optionOn())
        return;
    m_window->activateWindow();
    desktop().popupMenu(m_menu, globalPos);
}

void TrayIcon::setWindowState(Qt::WindowState state)
{
    m_restore->setEnabled(state != Qt::WindowNoState);
    m_minimize->setEnabled(state != Qt::WindowMinimized);
    m_maximize->setEnabled(state != Qt::WindowMaximized);
    switch (state) {
    case Qt::WindowMaximized: m_window->showMaximized(); break;
    case Qt::WindowMinimized: m_window->showMinimized(); break;
    default: m_window->showNormal(); break;
    }
    if (state != Qt::WindowMinimized) {
        m_window->raise();
        m_window->activateWindow();
    }
}

bool TrayIcon::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window && event->type() == QEvent::WindowStateChange && m_window->isMinimized()) {
        // Queued, because showMinimized() shows the window again right after
        // changing its state. Only hide when the notification icon is really
        // there to bring the window back; without it the window minimizes
        // normally.
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (m_window->isMinimized() && optionOn() && desktop().isTrayIconShown())
                    m_window->hide();
            },
            Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
}

} // namespace brevane
