#include "app/qt/DeviceChangeRelay.h"

void DeviceChangeRelay::Post() {
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (handler_) {
                handler_();
            }
        },
        Qt::QueuedConnection);
}
