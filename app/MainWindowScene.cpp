#include "app/MainWindowScene.h"

#include "app/MainClient.h"
#include "app/MessageBoxes.h"
#include "app/PictureProvider.h"

#include <QQuickWindow>

MainWindowScene::MainWindowScene(MainClient &client, QuickMessageBoxes &boxes) {
    QObject::connect(&m_engine, &QQmlApplicationEngine::warnings, &m_engine,
                     [this](const QList<QQmlError> &warnings) {
                         for (const QQmlError &w : warnings)
                             m_errors += w.toString() + QLatin1Char('\n');
                     });
    // The module lives under the import path that later Qt versions use by default.
    m_engine.addImportPath(QStringLiteral("qrc:/qt/qml"));
    m_engine.addImageProvider(QStringLiteral("pictures"), new PictureProvider(m_pictures));
    m_engine.setInitialProperties({{QStringLiteral("client"), QVariant::fromValue(&client)},
                                   {QStringLiteral("boxes"), QVariant::fromValue(&boxes)}});
    m_engine.load(QUrl(QStringLiteral("qrc:/qt/qml/QsClient/app/qml/Main.qml")));
    const auto roots = m_engine.rootObjects();
    if (!roots.isEmpty())
        m_window = qobject_cast<QQuickWindow *>(roots.first());
}
