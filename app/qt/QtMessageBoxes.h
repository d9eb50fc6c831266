#pragma once
// Message boxes and questions as modal Qt message boxes over the main window.
#include <QPointer>
#include <QWidget>

#include "app/ports/MessagePort.h"

class QtMessageBoxes : public MessagePort {
  public:
    explicit QtMessageBoxes(QWidget* owner) : owner_(owner) {}
    MessageAnswer Show(const std::u16string& text, MessageIcon icon, MessageButtons buttons) override;

  private:
    QPointer<QWidget> owner_;
};
