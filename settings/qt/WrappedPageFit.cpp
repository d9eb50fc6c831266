#include "settings/qt/WrappedPageFit.h"

#include <QFontMetrics>
#include <QLayout>
#include <QWidget>
#include <algorithm>

void FitWrappedPage(QWidget* page, int columns) {
    QLayout* layout = page->layout();
    if (layout == nullptr) {
        return;
    }
    page->setMinimumSize(0, 0);
    layout->invalidate();
    const int width =
        std::max(layout->minimumSize().width(), page->fontMetrics().averageCharWidth() * columns);
    const int height =
        layout->hasHeightForWidth() ? layout->heightForWidth(width) : layout->minimumSize().height();
    page->setMinimumSize(width, std::max(height, layout->minimumSize().height()));
}
