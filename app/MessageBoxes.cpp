#include "app/MessageBoxes.h"

#include <QEventLoop>

QString MessageBoxes::errorText(const QString &failureText) {
    if (!failureText.isEmpty() && failureText.back().unicode() <= u'.')
        return failureText;
    return failureText + QLatin1Char('.');
}

void QuickMessageBoxes::showMessage(const QString &text) {
    QEventLoop loop;
    m_openTexts.append(text);
    m_loops.append(&loop);
    emit openTextsChanged();
    loop.exec();
}

void QuickMessageBoxes::accept() {
    if (m_loops.isEmpty())
        return;
    m_loops.takeLast()->quit();
    m_openTexts.removeLast();
    emit openTextsChanged();
}
