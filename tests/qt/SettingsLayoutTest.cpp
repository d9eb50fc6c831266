// The settings windows' layouts: every text fits its control at the normal font and at twice its
// size (the layouts, not fixed positions, decide the geometry). With
// TELVIX_SETTINGS_SCREENSHOT_DIR set, each window is also saved there as a PNG.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPixmap>
#include <QTabWidget>

#include "SettingsTestSupport.h"
#include "config/ModelCodes.h"
#include "settings/qt/CFeaturesDlg.h"
#include "settings/qt/CHDMITabDlg.h"
#include "settings/qt/LVDSTabCtrl.h"

namespace {

// Every visible text control of the window whose text does not fit, by object name and text.
std::vector<std::string> CutTexts(const QWidget* window) {
    std::vector<std::string> cut;
    for (const QLabel* label : window->findChildren<QLabel*>()) {
        if (!label->isVisibleTo(window) || label->text().isEmpty()) {
            continue;
        }
        const bool fits = label->wordWrap() ? label->height() >= label->heightForWidth(label->width())
                                            : label->width() >= label->sizeHint().width() &&
                                                  label->height() >= label->sizeHint().height();
        if (!fits) {
            cut.push_back(label->objectName().toStdString() + ": " + label->text().left(40).toStdString());
        }
    }
    for (const QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        if (!button->isVisibleTo(window) || button->text().isEmpty()) {
            continue;
        }
        if (button->width() < button->sizeHint().width() || button->height() < button->sizeHint().height()) {
            cut.push_back(button->objectName().toStdString() + ": " + button->text().toStdString());
        }
    }
    for (const QComboBox* list : window->findChildren<QComboBox*>()) {
        if (!list->isVisibleTo(window)) {
            continue;
        }
        for (int i = 0; i < list->count(); ++i) {
            // The item's text beside the drop-down arrow.
            const int needed = list->fontMetrics().horizontalAdvance(list->itemText(i)) + list->height();
            if (list->width() < needed) {
                cut.push_back(list->objectName().toStdString() + ": " + list->itemText(i).toStdString());
            }
        }
    }
    return cut;
}

void Settle() {
    for (int i = 0; i < 3; ++i) {
        QApplication::processEvents();
    }
}

// Opens every window filled from a record that offers everything; hosts on the given tab.
struct ShownWindows : SettingsRig {
    std::vector<std::pair<std::string, QWidget*>> Open(HostTab tab) {
        ctx.deviceConfig.setCapabilities(CAP_VIDEO_SETTINGS | CAP_FEATURES | CAP_REAR_INPUT |
                                         CAP_FRONT_INPUT | CAP_LEFT_INPUT | CAP_RIGHT_INPUT);
        ctx.deviceConfig.setVideoInputCount(4);
        ctx.deviceConfig.setSyncPolarity(SYNC_POSITIVE);
        ctx.deviceConfig.set(VID_VIM_SUPPORTED, true);
        ctx.deviceConfig.setCameraFlags(CAM_AFTERMARKET_REAR | CAM_FACTORY_FRONT);
        ctx.deviceConfig.setFrontCameraMode(CAMERA_MODE_MANUAL);
        ctx.deviceConfig.setLaneCameraMode(CAMERA_MODE_WITH_SPEED_CHECK);
        ctx.overlayConfig = OverlayConfig(OverlayConfig::Bytes{0, 0, 0, 0, 0x11, 0x30, 0x03, 0});
        std::vector<std::pair<std::string, QWidget*>> shown;
        const std::pair<std::u16string_view, std::string> models[] = {{MODEL_WE5540R, "settings-video"},
                                                                      {MODEL_TN7581R, "settings-hdmi"},
                                                                      {MODEL_QH7720R, "settings-vim"},
                                                                      {MODEL_WD7731R, "settings-lvds"},
                                                                      {MODEL_TN7931R, "settings-hdmi-host"}};
        for (const auto& [model, name] : models) {
            ctx.mfg_id = std::u16string(model);
            const SettingsWindow window = windows->OnSettingsButton();
            ctx.overlayReceived = true;
            if (auto* host = qobject_cast<SettingsTabHost*>(windows->Window(window))) {
                host->Tabs()->setCurrentIndex(static_cast<int>(tab));
            }
            shown.emplace_back(name, windows->Window(window));
        }
        ctx.mcu_serial = u"00112233-44556677-8899AABB-CCDDEEFF";
        labels.rows[ctx.mcu_serial] = {{1, u"Remote Start"}, {2, u"Heated Seats"}, {3, u"Navigation Input"}};
        windows->OnFeatureActivation();
        ctx.featureBits = 0x03;
        windows->FeatureResults().ShowFeatureReadResult(u"Click Accept to Start Programming", false);
        shown.emplace_back("features", &windows->Features());
        Settle();
        return shown;
    }
};

void SaveWhenAsked(const std::string& name, QWidget* window) {
    const QString dir = qEnvironmentVariable("TELVIX_SETTINGS_SCREENSHOT_DIR");
    const QPixmap image = window->grab();
    EXPECT_FALSE(image.isNull()) << name;
    if (!dir.isEmpty()) {
        QDir().mkpath(dir);
        EXPECT_TRUE(image.save(dir + "/" + QString::fromStdString(name) + ".png")) << name;
    }
}

}  // namespace

TEST(SettingsLayout, EveryTextFitsAtNormalSize) {
    ShownWindows rig;
    for (const auto& [name, window] : rig.Open(HostTab::Video)) {
        EXPECT_EQ(CutTexts(window), std::vector<std::string>{}) << name;
        SaveWhenAsked(name, window);
    }
}

TEST(SettingsLayout, OverlayPagesFitAndCanBeSaved) {
    ShownWindows rig;
    for (const auto& [name, window] : rig.Open(HostTab::Overlay)) {
        if (qobject_cast<SettingsTabHost*>(window) != nullptr) {
            EXPECT_EQ(CutTexts(window), std::vector<std::string>{}) << name;
            SaveWhenAsked(name + "-overlay", window);
        }
    }
}

TEST(SettingsLayout, EveryTextFitsAtTwiceTheFontSize) {
    EnsureQtApplication();
    const QFont normal = QApplication::font();
    QFont large = normal;
    large.setPointSizeF(normal.pointSizeF() * 2);
    QApplication::setFont(large);
    {
        ShownWindows rig;
        for (const auto& [name, window] : rig.Open(HostTab::Video)) {
            EXPECT_EQ(CutTexts(window), std::vector<std::string>{}) << name;
        }
    }
    QApplication::setFont(normal);
}
