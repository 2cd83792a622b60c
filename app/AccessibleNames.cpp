#include "app/AccessibleNames.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QHash<QString, QString> textsOf(const QJsonObject &object) {
    QHash<QString, QString> texts;
    for (auto it = object.begin(); it != object.end(); ++it)
        texts.insert(it.key(), it.value().toString());
    return texts;
}

} // namespace

AccessibleNames::AccessibleNames(const QString &path, QObject *parent) : QObject(parent) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_error = file.errorString();
        return;
    }
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (!document.isObject()) {
        m_error = parseError.errorString();
        return;
    }
    m_controls = textsOf(document.object().value(QLatin1String("controls")).toObject());
    m_groups = textsOf(document.object().value(QLatin1String("groups")).toObject());
}
