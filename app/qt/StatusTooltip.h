#pragma once
// The tooltip of the USB status icon: a wrapped text of at most 400 pixels width that appears
// while the mouse rests on the icon and hides by itself after 10 seconds.
#include <QLabel>
#include <QTimer>

class StatusTooltip : public QLabel {
    Q_OBJECT
  public:
    StatusTooltip(QWidget* target, const QString& text, int maxWidth, int hideDelayMs);

    int HideDelayMs() const { return hideTimer_.interval(); }
    // Shows the tooltip below-right of a global position and starts the hide delay.
    void ShowAt(const QPoint& globalPos);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* target_;
    QTimer hideTimer_;
};
