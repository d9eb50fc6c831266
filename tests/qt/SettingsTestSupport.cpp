#include "SettingsTestSupport.h"

#include <QApplication>
#include <QDialog>

#include "settings/qt/CFeaturesDlg.h"
#include "settings/qt/CGMVIMSettingsDlg.h"
#include "settings/qt/CHDMISettingsDlg.h"
#include "settings/qt/CHDMITabDlg.h"
#include "settings/qt/CSettingsDlg.h"
#include "settings/qt/LVDSTabCtrl.h"

void EnsureQtApplication() {
    if (QApplication::instance() != nullptr) {
        return;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    static int argc = 1;
    static char name[] = "test_qt";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);  // lives until the test program ends
}

bool FakeFeatureLabels::QueryFeatureLabels(const std::u16string& mcuSerial,
                                           const std::function<void(int, const std::u16string&)>& onRow) {
    ++queries;
    lastSerial = mcuSerial;
    if (fail) {
        return false;
    }
    const auto it = rows.find(mcuSerial);
    if (it != rows.end()) {
        for (const auto& [index, text] : it->second) {
            onRow(index, text);
        }
    }
    return true;
}

SettingsRig::SettingsRig() {
    EnsureQtApplication();
    mainWindow = new QWidget;
    windows = new SettingsWindows(mainWindow);
    windows->Bind(SettingsServices{&ctx, &messages, [this] { ++overlayRequests; }, &labels});
}

SettingsRig::~SettingsRig() {
    delete windows;
    delete mainWindow;  // and the windows, its children
}

std::vector<std::string> VisibleWindowClasses(const SettingsWindows& windows) {
    const QDialog* all[] = {&windows.VideoSettings(), &windows.HdmiSettings(), &windows.VimSettings(),
                            &windows.Features(),      &windows.LvdsHost(),     &windows.HdmiHost()};
    std::vector<std::string> shown;
    for (const QDialog* window : all) {
        if (window->isVisible()) {
            shown.emplace_back(window->metaObject()->className());
        }
    }
    return shown;
}
