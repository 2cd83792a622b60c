#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QRectF>
#include <QSizeF>
#include <QString>

// One button of a group: its name (its command word), its rectangle in the group's units, its
// press handler and whether it repeats while held.
struct LayoutButton {
    QString name;
    QRectF rect;
    QString handler;
    bool repeats = false;
};

// One member of a page, as the layout table gives it.
struct LayoutMember {
    QString name;
    // "group" (a picture with buttons over it), "set" (a "......" button), "check" (a check box),
    // "key" (a transparent button), "arrow" (an arrow key), "text" (a button with a caption),
    // "picture" or "box" (a framed picture).
    QString kind;
    QRectF rect;
    bool shownAtStart = true;
    // Groups: the picture's rectangle in the group, the picture's name (the group's unless the
    // table names another), the panel look ("panel", "callout" or "pane"), the stretch about the
    // left edge, and the buttons in their child order.
    QRectF picture;
    QString image;
    QString look;
    float stretch = 1;
    QList<LayoutButton> buttons;
    // Single controls: the press handler, the caption, the turn in degrees (check boxes) and the
    // direction of an arrow key.
    QString handler;
    QString text;
    qreal turned = 0;
    qreal direction = 0;
    // A key that sends again and again while it is held, as a key of a keyboard does.
    bool repeats = false;
};

// The window's layout table (base/window-layout.json, built into the program): each page's
// members in child order, each group's picture and buttons. The scene, the artwork generator
// and the tests all read this one table.
class WindowLayout {
public:
    // The program's own table, read once.
    static const WindowLayout &standard();

    // Reads a table; an unreadable or malformed one is a programming error in the build, so the
    // reason is returned in `error` and the table is empty.
    static WindowLayout fromJson(const QByteArray &json, QString *error);

    QStringList pageNames() const { return m_pageOrder; }
    QList<const LayoutMember *> members(const QString &page) const;
    // The page's width and height in design units; empty for a page the table gives no size.
    QSizeF pageSize(const QString &page) const { return m_sizes.value(page); }
    // Null for a name that is no member of any page.
    const LayoutMember *member(const QString &name) const;
    // The group a button belongs to and the button; null for a name that is no button.
    const LayoutButton *button(const QString &name, const LayoutMember **group = nullptr) const;

    // The press handler of a button, set button or check box; empty for a name that is none.
    QString handlerOf(const QString &control) const;
    // Every control that takes presses (buttons, set buttons, keys, check boxes...) with the
    // name of its press handler.
    QHash<QString, QString> controlHandlers() const;

private:
    // Where a name is found: its page, its index among the page's members, and for a button its
    // index among the group's buttons (else -1).
    struct Place {
        QString page;
        int member = -1;
        int button = -1;
    };

    QStringList m_pageOrder;
    QHash<QString, QList<LayoutMember>> m_pages;
    QHash<QString, Place> m_places;
    QHash<QString, QSizeF> m_sizes;
};

// The table as the window's QML reads it: each page's size and the caption and direction of a
// single member. Members take their places from the table through the window's TablePlace.
class WindowLayoutTable : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    // The page's width and height in design units.
    Q_INVOKABLE QSizeF size(const QString &page) const;
    Q_INVOKABLE QString text(const QString &name) const;
    Q_INVOKABLE qreal direction(const QString &name) const;
};
