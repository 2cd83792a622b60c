#pragma once

#include <QString>

// What the pages need of the link to the editor.
class CommandLink {
public:
    virtual ~CommandLink() = default;

    // Sends one command word and judges the editor's answer, showing its own messages for every
    // failure of the exchange. Returns false only when the press must end at once: the check of
    // the connection itself failed, and that failure has been shown in the error box.
    virtual bool sendCommand(const QString &commandWord) = 0;

    // Writes one line without a check of the connection before it and without reading an
    // answer; false when the write failed.
    virtual bool writeLineUnanswered(const QString &line) = 0;

    // The window goes away: an open connection is closed without a log line.
    virtual void closeSilently() = 0;
};
