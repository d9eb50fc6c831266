#pragma once
// The demo's control window: plugs, unplugs and reboots the emulated interface, chooses its
// model and can make its next flash fail. It stands beside the main window.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

class DemoMachine;

class DemoControlWindow : public QWidget {
    Q_OBJECT
  public:
    DemoControlWindow(DemoMachine& machine, QWidget* parent = nullptr);

  private:
    void ShowMode();

    DemoMachine& machine_;
    QComboBox* model_;
    QPushButton* plug_;
    QPushButton* unplug_;
    QPushButton* reboot_;
    QCheckBox* failFlash_;
    QLabel* mode_;
    QTimer modePoll_;
};
