#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class QEventLoop;

// The two modal boxes of the program. Both return only once the user has pressed OK; the event
// loop keeps running meanwhile, so timer ticks and datagrams that fall due are handled while a
// box is open, and such a handler may open a box of its own on top of it.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;

    // A message of the program, shown as given.
    virtual void showMessage(const QString &text) = 0;

    // The report of a failure that no handler catches: its own text, ended by a full stop.
    void showError(const QString &failureText) { showMessage(errorText(failureText)); }

    // A full stop is added unless the text already ends in a character whose code is at most
    // that of the full stop (a full stop itself, a space, a bracket, a line end...).
    static QString errorText(const QString &failureText);
};

// Other boxes, counted: whoever shows its messages through these can tell whether a handler of
// its showed one.
class CountedBoxes : public MessageBoxes {
public:
    explicit CountedBoxes(MessageBoxes &boxes) : m_boxes(boxes) {}

    void showMessage(const QString &text) override {
        ++m_shown;
        m_boxes.showMessage(text);
    }
    // How many have been shown, those still open included.
    int shown() const { return m_shown; }

private:
    MessageBoxes &m_boxes;
    int m_shown = 0;
};

// The boxes of the window: the open boxes form a stack that the window draws, the last one on
// top; each box holds up the handler that opened it in an event loop of its own until the user
// presses OK on it.
class QuickMessageBoxes : public QObject, public MessageBoxes {
    Q_OBJECT
    Q_PROPERTY(QStringList openTexts READ openTexts NOTIFY openTextsChanged)

public:
    using QObject::QObject;

    void showMessage(const QString &text) override;
    QStringList openTexts() const { return m_openTexts; }

    // OK on the box on top.
    Q_INVOKABLE void accept();

signals:
    void openTextsChanged();

private:
    QStringList m_openTexts;
    QList<QEventLoop *> m_loops;
};
