#include "settings/OverlayPage.h"

#include "app/UpdaterContext.h"
#include "settings/SettingsTexts.h"

void FillOverlayPage(const OverlayConfig& overlay, OverlayPageControls& controls) {
    for (const auto position : kCameraPositions) {
        const std::size_t i = Index(position);
        auto& list = controls.caption[i];
        list.Clear();
        if (overlay.overlayEnabled(position)) {
            controls.enable[i].checked = true;
        }
        for (const auto item : settings_texts::kOverlayItems[i]) {
            list.items.emplace_back(item);
        }
        list.Select(overlay.cameraCaption(position) ? CAPTION_CAMERA_NAME : CAPTION_INPUT_NAME);
    }
}

void ApplyOverlayPage(const OverlayPageControls& controls, OverlayConfig& overlay) {
    for (const auto position : kCameraPositions) {
        const std::size_t i = Index(position);
        overlay.setOverlayEnabled(position, controls.enable[i].checked);
        overlay.setCameraCaption(position, controls.caption[i].selection == CAPTION_CAMERA_NAME);
    }
    overlay.setOverlayParams(kOverlayParams);
}

void FillOverlayPage(UpdaterContext& ctx, OverlayPageControls& controls) {
    ctx.overlayWritePending = false;
    FillOverlayPage(ctx.overlayConfig, controls);
}

SettingsOutcome ApplyOverlayPage(UpdaterContext& ctx, const OverlayPageControls& controls) {
    OverlayConfig edited = ctx.overlayConfig;
    ApplyOverlayPage(controls, edited);
    return RequestOverlayWrite(ctx, edited);
}
