#include "app/qt/WindowResources.h"

#include "resources/Strings.h"

static void RegisterEmbeddedResources() {
    Q_INIT_RESOURCE(Resources);
}

void EnsureWindowResources() {
    static const bool registered = (RegisterEmbeddedResources(), true);
    (void)registered;
}

QString Text(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QString LoadText(int id) {
    return Text(resource::LoadString(id));
}

QIcon LoadIcon(int id) {
    EnsureWindowResources();
    const std::string_view path = resource::IconPath(id);
    if (path.empty()) {
        return QIcon();
    }
    return QIcon(Text(path));
}

QPixmap LoadIconPixmap(int id, int size) {
    return LoadIcon(id).pixmap(size, size);
}
