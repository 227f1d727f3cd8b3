#include "ui/gui/options_dialog.h"

#include "ui/gui/dialog_finished.h"
#include "ui/options_rules.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace voltwise {

namespace {

template <typename T>
T *Named(T *widget, const QString &name)
{
    widget->setObjectName(name);
    return widget;
}

} // namespace

OptionsDialog::OptionsDialog(AppSettings &settings, RegistryBackend &store, StartupEntry *entry,
                             QWidget *parent)
    : QDialog(parent)
    , m_settings(settings)
    , m_store(store)
    , m_entry(entry)
{
    setObjectName(u"frmOptions"_qs);
    setWindowTitle(tr("Options"));

    auto *general = Named(new QGroupBox(tr("General")), u"fraGeneral"_qs);
    chkAutoCheck = Named(new QCheckBox(tr("Automatically check status every")), u"chkAutoCheck"_qs);
    updnUpdateInterval = Named(new QSpinBox, u"updnUpdateInterval"_qs);
    updnUpdateInterval->setRange(kMinUpdateInterval, kMaxUpdateInterval);
    updnUpdateInterval->setSingleStep(1);
    updnUpdateInterval->findChild<QLineEdit *>()->setObjectName(u"txtUpdateInterval"_qs);
    auto *interval = new QHBoxLayout;
    interval->addWidget(chkAutoCheck);
    interval->addWidget(updnUpdateInterval);
    interval->addWidget(Named(new QLabel(tr("minutes.")), u"lblMinutes"_qs));
    interval->addStretch();
    chkPlaySound = Named(new QCheckBox(tr("Play sound when status changes")), u"chkPlaySound"_qs);
    chkShowDetailsAtStartup = Named(new QCheckBox(tr("Show main window when Voltwise launches")),
                                    u"chkShowDetailsAtStartup"_qs);
    chkAddToStartupItems =
        Named(new QCheckBox(tr("Run Voltwise when I log in")), u"chkAddToStartupItems"_qs);
    chkAutoUpdate = Named(new QCheckBox(tr("Alert me to Voltwise updates.")), u"chkAutoUpdate"_qs);
    auto *generalLayout = new QVBoxLayout(general);
    generalLayout->addLayout(interval);
    for (QCheckBox *box :
         {chkPlaySound, chkShowDetailsAtStartup, chkAddToStartupItems, chkAutoUpdate})
        generalLayout->addWidget(box);

    auto *graph = Named(new QGroupBox(tr("Graph")), u"fraGraph"_qs);
    optCAISOGraph[0] =
        Named(new QRadioButton(tr("Show an interactive graph (preferred because it "
                                  "allows the user to pick the variables to display)")),
              u"optCAISOGraph(0)"_qs);
    optCAISOGraph[1] = Named(new QRadioButton(tr("Show a static \"picture\" graph (more compatable "
                                                 "with unforseen changes to the CAISO website)")),
                             u"optCAISOGraph(1)"_qs);
    auto *graphLayout = new QVBoxLayout(graph);
    for (QRadioButton *option : optCAISOGraph)
        graphLayout->addWidget(option);

    auto *buttons = new QDialogButtonBox;
    cmdOK = Named(buttons->addButton(tr("OK"), QDialogButtonBox::AcceptRole), u"cmdOK"_qs);
    cmdCancel =
        Named(buttons->addButton(tr("Cancel"), QDialogButtonBox::RejectRole), u"cmdCancel"_qs);
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &OptionsDialog::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(general);
    layout->addWidget(graph);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void OptionsDialog::Form_Load()
{
    const OptionsChoices shown = OptionsFromSettings(m_settings, m_entry);
    chkAutoCheck->setChecked(shown.AutoCheck);
    updnUpdateInterval->setValue(shown.UpdateInterval);
    chkPlaySound->setChecked(shown.PlaySound);
    chkShowDetailsAtStartup->setChecked(shown.ShowAtStartup);
    chkAddToStartupItems->setChecked(shown.AddToStartupItems);
    chkAutoUpdate->setChecked(shown.AutoUpdate);
    optCAISOGraph[shown.CAISOGraph ? 1 : 0]->setChecked(true);
}

void OptionsDialog::cmdOK_Click()
{
    // A half-typed number counts as what the box shows once left.
    updnUpdateInterval->interpretText();
    AcceptOptions({chkAutoCheck->isChecked(), updnUpdateInterval->value(),
                   chkPlaySound->isChecked(), chkShowDetailsAtStartup->isChecked(),
                   chkAddToStartupItems->isChecked(), chkAutoUpdate->isChecked(),
                   optCAISOGraph[1]->isChecked()},
                  m_settings);
    accept();
}

void OptionsDialog::done(int result)
{
    Form_Unload();
    QDialog::done(result);
}

void OptionsDialog::Form_Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    CloseOptions(m_settings, chkAddToStartupItems->isChecked(), m_store, m_entry);
}

QCoro::Task<> OptionsDialog::showModal()
{
    Form_Load();
    open();
    co_await DialogFinished(this);
    deleteLater();
}

} // namespace voltwise
