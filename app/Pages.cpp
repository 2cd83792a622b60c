#include "app/Pages.h"

QString Pages::objectName(Page page) {
    switch (page) {
    case Page::Keyboard:
        return QStringLiteral("Panel1");
    case Page::Signatures:
        return QStringLiteral("Panelmartyries");
    case Page::Cursor:
        return QStringLiteral("Panel4");
    case Page::Settings:
        return QStringLiteral("Panel5");
    }
    return {};
}

void Pages::show(Page page) {
    if (m_visible == page)
        return;
    m_visible = page;
    emit visiblePageChanged();
}
