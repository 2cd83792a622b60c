#pragma once

#include <QObject>
#include <QString>

// Which of the four pages is shown. Exactly one is visible at any time: the sign keyboard page
// Panel1 at start; every other page is reached from it and leads back to it.
class Pages : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString visiblePage READ visiblePage NOTIFY visiblePageChanged)

public:
    using QObject::QObject;

    QString visiblePage() const { return m_visiblePage; }

    // Each switch hides one page and shows another before the window is drawn again; the
    // contents of every page stay as they were.
    Q_INVOKABLE void martyriesshowClick() { show(QStringLiteral("Panelmartyries")); }
    Q_INVOKABLE void Button1Click() { show(QStringLiteral("Panel1")); }
    Q_INVOKABLE void rythmiseisshowClick() { show(QStringLiteral("Panel5")); }
    Q_INVOKABLE void Button4Click() { show(QStringLiteral("Panel1")); }
    void showCursorPage() { show(QStringLiteral("Panel4")); }
    void showKeyboardPage() { show(QStringLiteral("Panel1")); }

signals:
    void visiblePageChanged();

private:
    void show(const QString &page);

    QString m_visiblePage = QStringLiteral("Panel1");
};
