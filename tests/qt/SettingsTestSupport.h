#pragma once
// Shared pieces of the settings-window tests: an offscreen Qt application, the six windows bound
// to a fresh context with recording stand-ins, and lookup of a control by its id.
#include <QString>
#include <QWidget>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/UpdaterContext.h"
#include "settings/SettingsServices.h"
#include "settings/qt/SettingsWindows.h"
#include "tests/support/FakeControllerPorts.h"

// Creates the one QApplication of the test program (offscreen unless a platform is chosen).
void EnsureQtApplication();

// Labels per controller serial; counts the queries and can be told to fail.
class FakeFeatureLabels final : public FeatureLabelSource {
  public:
    bool QueryFeatureLabels(const std::u16string& mcuSerial,
                            const std::function<void(int, const std::u16string&)>& onRow) override;

    std::map<std::u16string, std::vector<std::pair<int, std::u16string>>> rows;
    bool fail = false;
    int queries = 0;
    std::u16string lastSerial;
};

struct SettingsRig {
    SettingsRig();
    ~SettingsRig();

    UpdaterContext ctx;
    FakeMessagePort messages;
    FakeFeatureLabels labels;
    int overlayRequests = 0;
    QWidget* mainWindow;
    SettingsWindows* windows;
};

// The child control named IDC_<id> (ids are object names), or null.
template <typename Widget>
Widget* Control(const QWidget* window, int id) {
    return window->findChild<Widget*>(QStringLiteral("IDC_%1").arg(id));
}

// Every top-level settings window currently visible, by its class name.
std::vector<std::string> VisibleWindowClasses(const SettingsWindows& windows);
