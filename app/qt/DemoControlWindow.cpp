#include "app/qt/DemoControlWindow.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "FixtureCatalogue.h"
#include "app/qt/WindowResources.h"
#include "resources/Strings.h"
#include "sim/demo/DemoMachine.h"

DemoControlWindow::DemoControlWindow(DemoMachine& machine, QWidget* parent)
    : QWidget(parent, Qt::Window), machine_(machine) {
    setObjectName("DemoControlWindow");
    setWindowTitle("Demo interface");
    setWindowIcon(LoadIcon(resource::IDI_USB_APPLICATION));

    model_ = new QComboBox(this);
    model_->setObjectName("demoModel");
    for (const FixtureHardware& hw : FixtureHardwareModels()) {
        model_->addItem(
            QString::fromStdString(hw.mfg_id + (hw.hw_hid == 1 ? "  (HID bootloader)" : "  (update volume)")),
            QString::fromStdString(hw.mfg_id));
    }
    model_->setCurrentIndex(model_->findData(QString::fromStdString(machine.Model())));
    plug_ = new QPushButton("Plug in", this);
    plug_->setObjectName("demoPlug");
    unplug_ = new QPushButton("Unplug", this);
    unplug_->setObjectName("demoUnplug");
    reboot_ = new QPushButton("Reboot", this);
    reboot_->setObjectName("demoReboot");
    failFlash_ = new QCheckBox("Make the next install fail", this);
    failFlash_->setObjectName("demoFailFlash");
    mode_ = new QLabel(this);
    mode_->setObjectName("demoMode");

    auto* form = new QFormLayout;
    form->addRow("Model:", model_);
    form->addRow("State:", mode_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(plug_);
    buttons->addWidget(unplug_);
    buttons->addWidget(reboot_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    layout->addWidget(failFlash_);

    connect(model_, &QComboBox::activated, this, [this](int index) {
        machine_.ChangeModel(model_->itemData(index).toString().toStdString());
        machine_.SetFailFlash(failFlash_->isChecked());
        ShowMode();
    });
    connect(plug_, &QPushButton::clicked, this, [this] {
        machine_.Plug();
        ShowMode();
    });
    connect(unplug_, &QPushButton::clicked, this, [this] {
        machine_.Unplug();
        ShowMode();
    });
    connect(reboot_, &QPushButton::clicked, this, [this] {
        machine_.Reboot();
        ShowMode();
    });
    connect(failFlash_, &QCheckBox::toggled, this, [this](bool fail) { machine_.SetFailFlash(fail); });
    modePoll_.setInterval(250);
    connect(&modePoll_, &QTimer::timeout, this, &DemoControlWindow::ShowMode);
    modePoll_.start();
    ShowMode();
}

void DemoControlWindow::ShowMode() {
    const DeviceMode mode = machine_.Mode();
    mode_->setText(QString::fromUtf8(DeviceModeName(mode)));
    plug_->setEnabled(mode == DeviceMode::Unplugged);
    unplug_->setEnabled(mode != DeviceMode::Unplugged);
    reboot_->setEnabled(mode != DeviceMode::Unplugged);
}
