#pragma once

#include <QDialog>
#include <QLoggingCategory>

class QLabel;
class QPushButton;

Q_DECLARE_LOGGING_CATEGORY(lcAbout)

namespace brevane {

class FlatButton;

// The about box: the program's name, version and description, a link to its
// help page and a button that starts the system information tool. Not
// modal; it holds no data and is deleted when closed.
class frmAbout : public QDialog
{
    Q_OBJECT

public:
    explicit frmAbout(QWidget *parent = nullptr);
    ~frmAbout() override;
    Q_DISABLE_COPY_MOVE(frmAbout)

    // The "System Info..." button: starts the first system information tool
    // found on the PATH, or says that there is none.
    void StartSysInfo();
    // The home page link: the program's help page, with the default viewer.
    void openHomePage();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLabel *m_picIcon = nullptr;
    QLabel *m_lblTitle = nullptr;
    QLabel *m_lblVersion = nullptr;
    QLabel *m_lblDescription = nullptr;
    QLabel *m_lblWebsite = nullptr;
    QLabel *m_lblDisclaimer = nullptr;
    QPushButton *m_cmdSysInfo = nullptr;
    FlatButton *m_cmdClose = nullptr;
};

} // namespace brevane
