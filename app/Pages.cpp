#include "app/Pages.h"

void Pages::show(const QString &page) {
    if (m_visiblePage == page)
        return;
    m_visiblePage = page;
    emit visiblePageChanged();
}
