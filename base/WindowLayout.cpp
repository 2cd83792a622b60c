#include "base/WindowLayout.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtGlobal>

namespace {

QRectF rectFrom(const QJsonValue &value) {
    const QJsonArray a = value.toArray();
    return a.size() == 4
               ? QRectF(a[0].toDouble(), a[1].toDouble(), a[2].toDouble(), a[3].toDouble())
               : QRectF();
}

bool readMember(const QJsonObject &object, LayoutMember &member, QString *error) {
    member.name = object.value(QLatin1String("name")).toString();
    member.kind = object.value(QLatin1String("kind")).toString();
    member.rect = rectFrom(object.value(QLatin1String("rect")));
    member.shownAtStart = object.value(QLatin1String("shown")).toBool(true);
    member.picture = rectFrom(object.value(QLatin1String("picture")));
    member.image = object.value(QLatin1String("image")).toString(member.name);
    member.look = object.value(QLatin1String("look")).toString(QStringLiteral("panel"));
    // The factor is a single-precision number, as the drawing takes it.
    member.stretch = float(object.value(QLatin1String("stretch")).toDouble(1));
    member.handler = object.value(QLatin1String("handler")).toString();
    member.text = object.value(QLatin1String("text")).toString();
    member.turned = object.value(QLatin1String("turned")).toDouble(0);
    member.direction = object.value(QLatin1String("direction")).toDouble(0);
    member.repeats = object.value(QLatin1String("repeat")).toBool(false);
    if (member.name.isEmpty() || member.rect.isNull()) {
        *error = QStringLiteral("a member without a name or rectangle");
        return false;
    }
    for (const QJsonValue &row : object.value(QLatin1String("buttons")).toArray()) {
        // [name, x, y, width, height], then the handler where it is not the sign press, then
        // the key's properties where it has any.
        QJsonArray b = row.toArray();
        QJsonObject properties;
        if (b.size() > 5 && b.last().isObject())
            properties = b.takeAt(b.size() - 1).toObject();
        if (b.size() < 5 || b.size() > 6 || (b.size() == 6 && !b[5].isString())) {
            *error = QStringLiteral("a button of %1 is not [name, x, y, width, height, handler]")
                         .arg(member.name);
            return false;
        }
        member.buttons.append(
            {b[0].toString(),
             QRectF(b[1].toDouble(), b[2].toDouble(), b[3].toDouble(), b[4].toDouble()),
             b.size() == 6 ? b[5].toString() : QStringLiteral("c13Click"),
             properties.value(QLatin1String("repeat")).toBool(false)});
    }
    return true;
}

} // namespace

const WindowLayout &WindowLayout::standard() {
    static const WindowLayout layout = [] {
        QFile file(QStringLiteral(":/qs/window-layout.json"));
        QString error;
        WindowLayout read;
        if (file.open(QIODevice::ReadOnly))
            read = fromJson(file.readAll(), &error);
        else
            error = file.errorString();
        if (!error.isEmpty())
            qFatal("The window's layout table cannot be read: %s", qPrintable(error));
        return read;
    }();
    return layout;
}

WindowLayout WindowLayout::fromJson(const QByteArray &json, QString *error) {
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (document.isNull()) {
        *error = parseError.errorString();
        return {};
    }
    // The file's own order of pages, which QJsonObject does not keep, is not needed: pages are
    // looked up by name.
    WindowLayout layout;
    const QJsonObject pages = document.object().value(QLatin1String("pages")).toObject();
    for (auto page = pages.begin(); page != pages.end(); ++page) {
        QList<LayoutMember> members;
        for (const QJsonValue &value : page.value().toArray()) {
            LayoutMember member;
            if (!readMember(value.toObject(), member, error))
                return {};
            // Every name is a command word or an object name, so it is one control only.
            const int index = int(members.size());
            for (int b = -1; b < int(member.buttons.size()); ++b) {
                const QString &name = b < 0 ? member.name : member.buttons[b].name;
                if (layout.m_places.contains(name)) {
                    *error = QStringLiteral("%1 is named twice").arg(name);
                    return {};
                }
                layout.m_places.insert(name, {page.key(), index, b});
            }
            members.append(member);
        }
        layout.m_pageOrder.append(page.key());
        layout.m_pages.insert(page.key(), members);
        const QJsonArray size =
            document.object().value(QLatin1String("sizes")).toObject().value(page.key()).toArray();
        if (size.size() == 2)
            layout.m_sizes.insert(page.key(), QSizeF(size[0].toDouble(), size[1].toDouble()));
    }
    if (layout.m_pages.isEmpty())
        *error = QStringLiteral("no pages");
    return layout;
}

QList<const LayoutMember *> WindowLayout::members(const QString &page) const {
    QList<const LayoutMember *> out;
    const auto found = m_pages.constFind(page);
    if (found != m_pages.cend()) {
        for (const LayoutMember &member : *found)
            out.append(&member);
    }
    return out;
}

const LayoutMember *WindowLayout::member(const QString &name) const {
    const auto place = m_places.constFind(name);
    if (place == m_places.cend() || place->button >= 0)
        return nullptr;
    return &m_pages.constFind(place->page)->at(place->member);
}

const LayoutButton *WindowLayout::button(const QString &name, const LayoutMember **group) const {
    const auto place = m_places.constFind(name);
    if (place == m_places.cend() || place->button < 0)
        return nullptr;
    const LayoutMember &owner = m_pages.constFind(place->page)->at(place->member);
    if (group)
        *group = &owner;
    return &owner.buttons.at(place->button);
}

QString WindowLayout::handlerOf(const QString &control) const {
    const auto place = m_places.constFind(control);
    if (place == m_places.cend())
        return {};
    const LayoutMember &owner = m_pages.constFind(place->page)->at(place->member);
    return place->button >= 0 ? owner.buttons.at(place->button).handler : owner.handler;
}

QHash<QString, QString> WindowLayout::controlHandlers() const {
    QHash<QString, QString> handlers;
    for (auto place = m_places.cbegin(); place != m_places.cend(); ++place) {
        const QString handler = handlerOf(place.key());
        if (!handler.isEmpty())
            handlers.insert(place.key(), handler);
    }
    return handlers;
}

QSizeF WindowLayoutTable::size(const QString &page) const {
    return WindowLayout::standard().pageSize(page);
}

QString WindowLayoutTable::text(const QString &name) const {
    const LayoutMember *member = WindowLayout::standard().member(name);
    return member ? member->text : QString();
}

qreal WindowLayoutTable::direction(const QString &name) const {
    const LayoutMember *member = WindowLayout::standard().member(name);
    return member ? member->direction : 0;
}
