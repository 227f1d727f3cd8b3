#pragma once

#include "settings/app_settings.h"
#include "settings/registry_backend.h"

#include <QDialog>
#include <qcoro/qcorotask.h>

class QCheckBox;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace voltwise {

class StartupEntry;

// The options dialog "frmOptions". It works on the caller's settings: it
// shows them when loaded, copies the controls back on OK, and on every way
// of closing saves its five settings and makes the start-up entry follow
// its check box.
class OptionsDialog : public QDialog
{
    Q_OBJECT

public:
    OptionsDialog(AppSettings &settings, RegistryBackend &store, StartupEntry *entry,
                  QWidget *parent = nullptr);

    // Loads and opens the dialog, modal to its parent, and ends when it has
    // closed; the dialog deletes itself afterwards.
    QCoro::Task<> showModal();
    void Form_Load();

    QCheckBox *chkAutoCheck = nullptr;
    QSpinBox *updnUpdateInterval = nullptr; // its text box is txtUpdateInterval
    QCheckBox *chkPlaySound = nullptr;
    QCheckBox *chkShowDetailsAtStartup = nullptr;
    QCheckBox *chkAddToStartupItems = nullptr;
    QCheckBox *chkAutoUpdate = nullptr;
    QRadioButton *optCAISOGraph[2] = {};
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdCancel = nullptr;

public Q_SLOTS:
    // OK, Cancel, the close box and Escape all end here.
    void done(int result) override;

private:
    void cmdOK_Click();
    void Form_Unload();

    AppSettings &m_settings;
    RegistryBackend &m_store;
    StartupEntry *m_entry;
    bool m_unloaded = false;
};

} // namespace voltwise
