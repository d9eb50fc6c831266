#include "app/qt/KeyFilter.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWidget>

KeyFilter::KeyFilter(QWidget* window) : QObject(window), window_(window) {
    qApp->installEventFilter(this);
}

KeyFilter::~KeyFilter() {
    if (qApp != nullptr) {
        qApp->removeEventFilter(this);
    }
}

bool KeyFilter::IsTextField(const QObject* widget) {
    return qobject_cast<const QLineEdit*>(widget) != nullptr ||
           qobject_cast<const QTextEdit*>(widget) != nullptr ||
           qobject_cast<const QPlainTextEdit*>(widget) != nullptr ||
           qobject_cast<const QAbstractSpinBox*>(widget) != nullptr;
}

bool KeyFilter::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride) {
        return false;
    }
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || widget->window() != window_) {
        return false;
    }
    const int key = static_cast<QKeyEvent*>(event)->key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (!enter && key != Qt::Key_Escape) {
        return false;
    }
    if (type == QEvent::ShortcutOverride) {
        event->accept();  // no shortcut may take the key: it comes back here as a key press
        return true;
    }
    if (key == Qt::Key_Escape) {
        return true;
    }
    if (IsTextField(widget)) {
        // Deliver to the field itself, then stop: what it ignores must not reach the dialog.
        static_cast<QObject*>(widget)->event(event);
    }
    return true;
}
