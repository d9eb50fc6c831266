#include "app/qt/StatusTooltip.h"

#include <QEvent>
#include <QHelpEvent>
#include <QScreen>

StatusTooltip::StatusTooltip(QWidget* target, const QString& text, int maxWidth, int hideDelayMs)
    : QLabel(text, target, Qt::ToolTip | Qt::BypassGraphicsProxyWidget), target_(target) {
    setObjectName("usbStatusTooltip");
    setForegroundRole(QPalette::ToolTipText);
    setBackgroundRole(QPalette::ToolTipBase);
    setPalette(QPalette(palette().color(QPalette::ToolTipText), palette().color(QPalette::ToolTipBase)));
    setAutoFillBackground(true);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setMargin(6);
    setWordWrap(true);
    setTextFormat(Qt::PlainText);
    setMaximumWidth(maxWidth);
    hideTimer_.setSingleShot(true);
    hideTimer_.setInterval(hideDelayMs);
    connect(&hideTimer_, &QTimer::timeout, this, &QWidget::hide);
    target->setToolTip(text);
    target->installEventFilter(this);
}

void StatusTooltip::ShowAt(const QPoint& globalPos) {
    adjustSize();
    QPoint pos = globalPos + QPoint(2, 16);
    if (const QScreen* screen = target_->screen()) {
        const QRect area = screen->availableGeometry();
        pos.setX(qMin(pos.x(), area.right() - width()));
        pos.setY(qMin(pos.y(), area.bottom() - height()));
    }
    move(pos);
    show();
    raise();
    hideTimer_.start();
}

bool StatusTooltip::eventFilter(QObject* watched, QEvent* event) {
    if (watched == target_) {
        switch (event->type()) {
            case QEvent::ToolTip:
                ShowAt(static_cast<QHelpEvent*>(event)->globalPos());
                return true;  // instead of the standard tooltip
            case QEvent::Leave:
            case QEvent::MouseButtonPress:
            case QEvent::Hide:
                hide();
                hideTimer_.stop();
                break;
            default:
                break;
        }
    }
    return QLabel::eventFilter(watched, event);
}
