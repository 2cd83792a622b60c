#pragma once

#include "app/PointerTracker.h"

#include <QList>
#include <QRectF>

// A press target of a page that gathers its members' presses (PressSurface): the page follows
// the pointers over it, finds the member under each one, and asks the member which of its
// targets lies there. The member only answers and shows what the pointers do.
class PressMember {
public:
    // What holds all its targets, in its own units: where a pointer may find one.
    virtual QRectF reach() const = 0;
    // Its targets, in its own units: what a pointer presses, repeats and taps on it.
    virtual PointerTracker::Targets &memberTargets() = 0;
    // Whether the mouse pointer over it shows the hover look (a finger on it always does).
    virtual bool showsMouseOver() const = 0;
    // Which of its targets the page's pointers show the hover look of now; told on every change.
    virtual void showTargets(const QList<int> &shown) = 0;
    // Whether a pointer of the page presses one of its targets now; told on every change.
    virtual void showPressing(bool pressing) = 0;
    // The page is being taken apart, before its members: they no longer tell it anything.
    virtual void leavePage() = 0;

protected:
    ~PressMember() = default;
};
