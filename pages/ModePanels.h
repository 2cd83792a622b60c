#pragma once

#include <QObject>
#include <QString>

// Which of the eight mode panels of the modal signatures page is shown. Exactly one is, the
// α' panel at start, afterwards the one whose tab was pressed last; leaving the page keeps it.
class ModePanels : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString visiblePanel READ visiblePanel NOTIFY visiblePanelChanged)

public:
    using QObject::QObject;

    QString visiblePanel() const { return m_visiblePanel; }

    // A mode tab pressed: shows the tab's mode panel and hides
    // the other seven. A name that is no mode tab changes nothing.
    void showPanelOfTab(const QString &tab);

    // The mode panel that a tab ("hx1" to "hx8") shows; empty for any other name.
    static QString panelOfTab(const QString &tab);

signals:
    void visiblePanelChanged();

private:
    QString m_visiblePanel = QStringLiteral("Panelhxos_a");
};
