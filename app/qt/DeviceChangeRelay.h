#pragma once
// Carries "device changes are queued" from the notifier's thread onto the window thread. It must
// outlive the program that posts to it (the program's subscription ends when it shuts down); the
// handler runs on the window thread only.
#include <QObject>
#include <functional>

class DeviceChangeRelay : public QObject {
    Q_OBJECT
  public:
    using QObject::QObject;

    // Any thread.
    void Post();
    // Window thread; an empty handler drops what arrives.
    void SetHandler(std::function<void()> handler) { handler_ = std::move(handler); }

  private:
    std::function<void()> handler_;
};
