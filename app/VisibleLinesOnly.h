#pragma once

#include <QObject>
#include <QPointer>
#include <QQuickItem>
#include <QtQml/qqml.h>

// Makes a text box build the drawing of the lines it shows, not of all its lines. A text box
// otherwise draws its whole text afresh at every change, so that a text that only ever grows by
// a line at a time (the connection log) costs more with every line added: a node and its glyphs
// per line, all made again, in the render thread.
class VisibleLinesOnly : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QQuickItem *textBox READ textBox WRITE setTextBox NOTIFY textBoxChanged)

public:
    using QObject::QObject;

    QQuickItem *textBox() const { return m_textBox; }
    void setTextBox(QQuickItem *textBox) {
        if (m_textBox == textBox)
            return;
        m_textBox = textBox;
        if (m_textBox)
            m_textBox->setFlag(QQuickItem::ItemObservesViewport);
        emit textBoxChanged();
    }

signals:
    void textBoxChanged();

private:
    QPointer<QQuickItem> m_textBox;
};
