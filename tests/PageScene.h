#pragma once

// The real window, offscreen, started as the program starts it, for the tests of its pages:
// discovery on loopback with a period no test outlasts, a recording link to the editor, message
// boxes answered with OK (unless the test answers them itself), a private documents folder, and
// presses at points of a page given in the page's own units.

#include "SceneSupport.h"
#include "app/ClientStartup.h"
#include "app/MessageBoxes.h"
#include "keyboard/KeyboardState.h"
#include "link/CommandLink.h"

#include <QFile>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

class PageScene {
public:
    // Whether each box is answered with OK at once, or stays open for the test to answer.
    enum class Boxes { AnsweredWithOk, LeftOpen };

    explicit PageScene(Boxes answer = Boxes::AnsweredWithOk) {
        QFile::remove(documents.filePath(QStringLiteral("QS.INI")));
        if (answer == Boxes::AnsweredWithOk)
            answerBoxesWithOk(boxes, boxTexts);
        scene = std::make_unique<ClientStartup>(boxes, SettingsFile(documents.path()),
                                                loopbackDiscovery());
        client = &scene->client();
        client->setCommandLink(&link);
        scene->start();
    }

    QQuickWindow *window() const { return scene->window(); }
    // Items made by a Repeater are not QObject children of the window; they are found through
    // the tree of drawn items.
    QQuickItem *item(const QString &name) const {
        if (QQuickItem *declared = findItem(window(), name))
            return declared;
        return window() ? findDrawn(window()->contentItem(), name) : nullptr;
    }

    // The window builds a page other than the first when it is first shown. Every page shown
    // once, and the keyboard page again, so that each exists as it is once the user has seen it.
    void buildEveryPage() {
        Pages *pages = client->pages();
        pages->showCursorPage();
        pages->showSettingsPage();
        pages->showSignaturesPage();
        pages->showKeyboardPage();
        QCoreApplication::processEvents();
    }

    // The size the window is restored to in most tests: every page stretched unevenly, as on
    // most screens.
    static constexpr QSize kRestoredSize{769, 816};

    // The window at the size, once the pages have been fitted to it.
    bool resizeTo(QSize size) {
        if (!window())
            return false;
        window()->showNormal();
        window()->resize(size);
        return QTest::qWaitFor([this, size] {
            return client->scaling()->sx() == float(double(size.width()) / 415) &&
                   client->scaling()->sy() == float(double(size.height()) / 710);
        });
    }

    // Shown, and at the size once the window system has shown it.
    bool showAt(QSize size) {
        if (!window())
            return false;
        window()->showNormal();
        return QTest::qWaitForWindowExposed(window()) && resizeTo(size);
    }
    bool showAtRestoredSize() { return showAt(kRestoredSize); }

    // A point of a page, in the page's units, where the window draws it.
    QPointF onPage(const QString &page, QPointF point) const {
        return item(page)->mapToScene(point);
    }
    void pressOnPage(const QString &page, QPointF point) const {
        pressAt(window(), onPage(page, point));
    }

    // An item's rectangle, or a group's button's, in the units of the page it lies on.
    QRectF rectOnPage(const QString &page, const QString &name) const {
        if (QQuickItem *it = item(name))
            return it->mapRectToItem(item(page), QRectF(0, 0, it->width(), it->height()));
        return target(name).rectIn(item(page));
    }
    Target target(const QString &name) const {
        return window() ? findTarget(window()->contentItem(), name) : Target();
    }
    // Where a press target's centre lies in the window, or the window's corner when there is none.
    QPointF centreOf(const QString &name) const {
        const Target found = target(name);
        return found ? found.centreInScene() : QPointF();
    }

    // Every second set and pop-up group of the keyboard page shown, by its set buttons and
    // toggles, which send nothing.
    static void openEverySecondSet(MainClient &client) {
        for (const char *toggle :
             {"enallagikatavasi", "enallagianavasi", "CornerButton1", "enallagiIson",
              "enallagiMartyries", "enallagifthores", "di6", "enallagi_asterakia",
              "enallagiendikseis", "enallagihfeseis", "enallaghentash", "enallaghvellh"})
            client.press(QLatin1String(toggle));
    }

    QStringList visiblePages() const {
        QStringList shown;
        for (const char *name : {"Panel1", "Panel4", "Panel5", "Panelmartyries"}) {
            QQuickItem *page = item(QString::fromLatin1(name));
            if (page && page->isVisible())
                shown.append(QString::fromLatin1(name));
        }
        return shown;
    }

    // The drawn image and the placeholder box inside a picture.
    static QQuickItem *childOfClass(QQuickItem *picture, const char *className) {
        for (QQuickItem *child : picture->childItems()) {
            if (qstrcmp(child->metaObject()->className(), className) == 0)
                return child;
        }
        return nullptr;
    }
    // A picture is itself the image it shows.
    static QQuickItem *imageOf(QQuickItem *picture) {
        return picture && picture->inherits("QQuickImage") ? picture : nullptr;
    }
    static QQuickItem *placeholderOf(QQuickItem *picture) {
        return childOfClass(picture, "QQuickRectangle");
    }

    static QQuickItem *findDrawn(QQuickItem *from, const QString &name) {
        for (QQuickItem *child : from->childItems()) {
            if (child->objectName() == name)
                return child;
            if (QQuickItem *found = findDrawn(child, name))
                return found;
        }
        return nullptr;
    }

    QTemporaryDir documents;
    QuickMessageBoxes boxes;
    QStringList boxTexts;
    RecordingLink link;
    // Made last, so that the window goes before what it uses.
    std::unique_ptr<ClientStartup> scene;
    MainClient *client = nullptr;
};
