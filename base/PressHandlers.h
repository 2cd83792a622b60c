#pragma once

#include <QHash>
#include <QString>
#include <functional>

class WindowLayout;

// The press handlers of the window, by the names the layout table gives them. The window adds
// its own and the keyboard adds its own; then every control of the table is paired with its
// handler once, so that a press runs it straight away.
class PressHandlers {
public:
    // A handler is told which control was pressed: a sign's name is its command word.
    using Handler = std::function<void(const QString &control)>;
    using Press = std::function<void()>;

    void add(const QString &name, Handler handler) { m_byName.insert(name, std::move(handler)); }

    // Every control of the table with its handler bound to it. A control whose handler nobody
    // added is left out and named in `missing`: the table and the program disagree.
    QHash<QString, Press> resolve(const WindowLayout &layout, QStringList *missing) const;

private:
    QHash<QString, Handler> m_byName;
};
