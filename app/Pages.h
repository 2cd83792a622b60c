#pragma once

#include <QObject>
#include <QString>

// Which of the four pages is shown. Exactly one is visible at any time: the sign keyboard page
// at start; every other page is reached from it and leads back to it.
class Pages : public QObject {
    Q_OBJECT
    // The visible page's object name, which its page item compares with its own.
    Q_PROPERTY(QString visiblePage READ visiblePage NOTIFY visiblePageChanged)

public:
    enum class Page { Keyboard, Signatures, Cursor, Settings };
    Q_ENUM(Page)

    using QObject::QObject;

    // A page's object name in the window.
    static QString objectName(Page page);

    Page visible() const { return m_visible; }
    QString visiblePage() const { return objectName(m_visible); }

    // Each switch hides one page and shows another before the window is drawn again; the
    // contents of every page stay as they were.
    void show(Page page);
    void showKeyboardPage() { show(Page::Keyboard); }
    void showSignaturesPage() { show(Page::Signatures); }
    void showCursorPage() { show(Page::Cursor); }
    void showSettingsPage() { show(Page::Settings); }

signals:
    void visiblePageChanged();

private:
    Page m_visible = Page::Keyboard;
};
