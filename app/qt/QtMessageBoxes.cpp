#include "app/qt/QtMessageBoxes.h"

#include <QMessageBox>

#include "app/qt/WindowResources.h"

static QMessageBox::Icon BoxIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::Warning:
            return QMessageBox::Warning;
        case MessageIcon::Error:
            return QMessageBox::Critical;
        case MessageIcon::Question:
            return QMessageBox::Question;
        case MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

MessageAnswer QtMessageBoxes::Show(const std::u16string& text, MessageIcon icon, MessageButtons buttons) {
    QWidget* owner = owner_.data();
    const QString title = owner != nullptr ? owner->windowTitle() : QString();
    QMessageBox box(BoxIcon(icon), title, ToQString(text), QMessageBox::NoButton, owner);
    box.setObjectName("messageBox");
    if (buttons == MessageButtons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        return box.exec() == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return MessageAnswer::Ok;
}
