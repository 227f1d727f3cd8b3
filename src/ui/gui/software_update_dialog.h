#pragma once

#include "update/software_update.h"

#include <QDialog>
#include <qcoro/qcorotask.h>

#include <memory>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace voltwise {

template <typename T>
class Completion;

// frmSoftwareUpdate: offers a newer release with its notes. Each button
// records its choice and hides the dialog; the close box stands for
// "Remind Me Later" and Escape does nothing.
class SoftwareUpdateDialog : public QDialog
{
    Q_OBJECT

public:
    explicit SoftwareUpdateDialog(const UpdateOffer &offer, QWidget *parent = nullptr);
    // A dialog destroyed while shown answers "Remind Me Later".
    ~SoftwareUpdateDialog() override;

    // Shows the dialog window-modally, centred on the screen, and completes
    // when a button or the close box hides it.
    QCoro::Task<UpdateChoice> ask();
    UpdateChoice choice() const { return m_choice; }

    QLabel *picAppIcon;
    QLabel *lblTitle;
    QLabel *lblMessage;
    QLabel *Label2;
    QPlainTextEdit *txtReleaseNotes;
    QPushButton *cmdSkipThisVersion;
    QPushButton *cmdCancel;
    QPushButton *cmdOK;

    void done(int result) override;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void choose(UpdateChoice choice);

    UpdateChoice m_choice = UpdateChoice::RemindMeLater;
    std::unique_ptr<Completion<UpdateChoice>> m_answer;
};

} // namespace voltwise
