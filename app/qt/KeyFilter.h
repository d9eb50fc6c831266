#pragma once
// The dialogs' key filter: Enter reaches only a focused text field (and goes no further, so it
// never presses a default button), and Escape is discarded. Neither key can close the window.
// Installed on the application, it looks only at keys whose receiver lies inside its window.
#include <QObject>

class QWidget;

class KeyFilter : public QObject {
    Q_OBJECT
  public:
    explicit KeyFilter(QWidget* window);
    ~KeyFilter() override;

    // True for the widgets that take Enter themselves: line edits, text editors and spin boxes.
    static bool IsTextField(const QObject* widget);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* window_;
};
