#include "settings/qt/SettingsTabHost.h"

#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/UpdaterContext.h"
#include "app/ports/MessagePort.h"
#include "settings/qt/OSDSettingsDlg.h"
#include "settings/qt/RefusalMessage.h"

SettingsTabHost::SettingsTabHost(const SettingsServices& services, QWidget* parent)
    : QDialog(parent), services_(services) {
    setModal(false);
}

void SettingsTabHost::Bind(QTabWidget* tabs, QPushButton* accept, QPushButton* cancel,
                           QVBoxLayout* overlayTabLayout) {
    tabs_ = tabs;
    overlayPage_ = new OSDSettingsDlg(services_, overlayTabLayout->parentWidget());
    overlayTabLayout->addWidget(overlayPage_);
    connect(tabs_, &QTabWidget::currentChanged, this, &SettingsTabHost::OnTabChanged);
    connect(accept, &QPushButton::clicked, this, &SettingsTabHost::OnAccept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

HostTab SettingsTabHost::SelectedTab() const {
    return tabs_->currentIndex() == static_cast<int>(HostTab::Overlay) ? HostTab::Overlay : HostTab::Video;
}

void SettingsTabHost::SelectTab(HostTab tab) {
    selectingTab_ = true;
    tabs_->setCurrentIndex(static_cast<int>(tab));
    selectingTab_ = false;
}

void SettingsTabHost::showEvent(QShowEvent* event) {
    // Restoring a minimised host is not a new showing.
    if (!event->spontaneous()) {
        SelectTab(HostTab::Video);
        FillVideoPage();
    }
    QDialog::showEvent(event);
}

void SettingsTabHost::OnTabChanged(int index) {
    if (selectingTab_ || !services_.Bound()) {
        return;
    }
    const HostTab chosen = index == static_cast<int>(HostTab::Overlay) ? HostTab::Overlay : HostTab::Video;
    const TabChangeSteps steps = OnTabSelected(chosen, services_.context->overlayReceived);
    if (steps.refillVideoPage) {
        FillVideoPage();
    }
    if (steps.fillOverlayPage) {
        overlayPage_->Fill();
    }
    if (steps.shownTab != chosen) {
        SelectTab(steps.shownTab);
    }
    if (steps.message && services_.messages != nullptr) {
        services_.messages->Show(std::u16string(*steps.message), MessageIcon::Information,
                                 MessageButtons::Ok);
    }
}

void SettingsTabHost::OnAccept() {
    const SettingsOutcome outcome =
        PageToApply(SelectedTab()) == AcceptedPage::OverlayPage ? overlayPage_->Apply() : ApplyVideoPage();
    if (ShowRefusal(services_, outcome)) {
        return;  // the host stays open as it was
    }
    accept();
}
