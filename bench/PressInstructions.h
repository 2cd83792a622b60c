#pragma once

#include <QObject>

class QQuickWindow;

// Under callgrind, counts instructions only while a press is being delivered and handled, and
// leaves out any frame the window draws meanwhile (the toolkit may draw one when it runs its
// events at the end of a press): the figure is the cost of taking a press, not of painting.
// Outside valgrind every call does nothing.
//
// Run the program under `valgrind --tool=callgrind --instr-atstart=no --collect-atstart=no`;
// start() switches the instrumentation on, after the warm-up presses.
class PressInstructions : public QObject {
    Q_OBJECT

public:
    explicit PressInstructions(QQuickWindow *window);

    // A frame is the window's handling of its update request, the hover that the toolkit
    // delivers again at the start of each frame included; this filter delivers it itself so as
    // to stop counting around it.
    bool eventFilter(QObject *watched, QEvent *event) override;

    void start();
    void beginPress();
    void endPress();
    int countedPresses() const { return m_presses; }

private:
    void setCollecting(bool on);

    bool m_inPress = false;
    bool m_collecting = false;
    int m_presses = 0;
};
