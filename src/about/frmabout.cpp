#include "about/frmabout.h"

#include "about/helpfile.h"
#include "about/systeminfo.h"
#include "controls/flatbutton.h"
#include "controls/twips.h"
#include "core/organizer.h"
#include "platform/desktop.h"

#include <QApplication>
#include <QFrame>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

Q_LOGGING_CATEGORY(lcAbout, "brevane.about", QtWarningMsg)

namespace brevane {

namespace {

// Design sizes, in twips.
constexpr double kWindowWidth = 6300;
constexpr double kWindowHeight = 4200;
constexpr double kTextLeft = 1200;
constexpr double kTextWidth = kWindowWidth - kTextLeft - 240;
constexpr double kButtonLeft = 4380;
constexpr double kButtonWidth = 1680;
constexpr double kButtonHeight = 405;

QLabel *addLabel(QWidget *parent, const QString &name, const QString &text, double left, double top,
                 double width, double height)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    twips::setGeometry(label, left, top, width, height);
    return label;
}

} // namespace

frmAbout::frmAbout(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowTitle(tr("About"));
    setFixedSize(twips::toPixels(this, kWindowWidth), twips::toPixels(this, kWindowHeight));

    m_picIcon = new QLabel(this);
    m_picIcon->setObjectName(QStringLiteral("picIcon"));
    twips::setGeometry(m_picIcon, 240, 240, 720, 720);
    QIcon icon = QApplication::windowIcon();
    if (icon.isNull())
        icon = style()->standardIcon(QStyle::SP_ComputerIcon);
    m_picIcon->setPixmap(icon.pixmap(m_picIcon->size()));
    // Decoration only: the title next to it says what it shows.
    m_picIcon->setAccessibleName(kProgramTitle);

    m_lblTitle = addLabel(this, QStringLiteral("lblTitle"), kProgramTitle, kTextLeft, 240, kTextWidth, 420);
    QFont titleFont = m_lblTitle->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
    titleFont.setBold(true);
    m_lblTitle->setFont(titleFont);

    m_lblVersion = addLabel(this, QStringLiteral("lblVersion"), tr("Version ") + kVersion, kTextLeft, 690,
                            kTextWidth, 300);

    m_lblDescription = addLabel(this, QStringLiteral("lblDescription"),
                                tr("Brevane Organizer is an easy-to-use PIM that will keep track of daily events in "
                                   "an easy-to-use agenda and other events in the to-do list.  Additional features "
                                   "include notes, a detailed contact list and quick links.  "),
                                kTextLeft, 1080, kTextWidth, 1200);
    m_lblDescription->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    // A link the keyboard reaches too: Tab gives it the focus, Enter or Space
    // opens it (the label alone would want a second Tab to pick the link).
    const QString websiteText = tr("Brevane Organizer Home Page");
    m_lblWebsite = new QLabel(this);
    m_lblWebsite->setObjectName(QStringLiteral("lblWebsite"));
    m_lblWebsite->setTextFormat(Qt::RichText);
    m_lblWebsite->setText(QStringLiteral("<a href=\"help\">%1</a>").arg(websiteText.toHtmlEscaped()));
    m_lblWebsite->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    m_lblWebsite->setFocusPolicy(Qt::StrongFocus);
    m_lblWebsite->setAccessibleName(websiteText);
    m_lblWebsite->setAccessibleDescription(tr("Opens the help page"));
    m_lblWebsite->installEventFilter(this);
    twips::setGeometry(m_lblWebsite, kTextLeft, 2340, kTextWidth, 300);

    auto *line = new QFrame(this);
    line->setObjectName(QStringLiteral("Line1"));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    twips::setGeometry(line, 240, 2820, kWindowWidth - 480, 30);

    m_lblDisclaimer = addLabel(this, QStringLiteral("lblDisclaimer"),
                               tr("Warning: this program is protected by copyright law.  Reproducing or "
                                  "distributing it, in whole or in part, without permission is punishable by law."),
                               240, 2970, kButtonLeft - 240 - 180, 1020);
    m_lblDisclaimer->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    m_cmdSysInfo = new QPushButton(tr("&System Info..."), this);
    m_cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    twips::setGeometry(m_cmdSysInfo, kButtonLeft, 2970, kButtonWidth, kButtonHeight);
    m_cmdSysInfo->setAutoDefault(false);

    m_cmdClose = new FlatButton(tr("Close"), this);
    m_cmdClose->setObjectName(QStringLiteral("cmdClose"));
    twips::setGeometry(m_cmdClose, kButtonLeft, 3510, kButtonWidth, kButtonHeight);
    m_cmdClose->enableWithEdges(true, kEdgeGrey);
    m_cmdClose->setDefault(true);

    setTabOrder(m_lblWebsite, m_cmdSysInfo);
    setTabOrder(m_cmdSysInfo, m_cmdClose);

    connect(m_lblWebsite, &QLabel::linkActivated, this, &frmAbout::openHomePage);
    connect(m_cmdSysInfo, &QPushButton::clicked, this, &frmAbout::StartSysInfo);
    connect(m_cmdClose, &QPushButton::clicked, this, &QWidget::close);
    m_cmdClose->setFocus();
}

frmAbout::~frmAbout() = default;

void frmAbout::StartSysInfo()
{
    const QString tool = findSystemInformationTool();
    if (!tool.isEmpty() && desktop().startProgram(tool))
        return;
    qCInfo(lcAbout) << "no system information tool started; looked for" << systemInformationTools();
    desktop().message(this, tr("System Information Is Unavailable At This Time"), Desktop::Icon::Critical);
}

bool frmAbout::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_lblWebsite && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
            openHomePage();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmAbout::openHomePage()
{
    // Whether it opened is not examined: the viewer reports its own troubles.
    const QString page = helpFilePath();
    qCDebug(lcAbout) << "home page" << page;
    (void)desktop().openDocument(page);
}

} // namespace brevane
