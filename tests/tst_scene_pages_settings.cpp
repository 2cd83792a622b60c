#include "PageScene.h"

#include <QFile>
#include <QQuickItem>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

namespace {

const QString kPage = QStringLiteral("Panel5");

QByteArray fileBytes(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class ScenePagesSettingsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<PageScene> m_scene;

    PageScene &s() { return *m_scene; }
    QString text(const QString &name) { return s().item(name)->property("text").toString(); }
    // Typed key by key into the item with the focus, as QTest::keyClicks does for widgets.
    void typeText(const char *text) {
        for (const char *c = text; *c; ++c)
            QTest::keyClick(s().window(), *c);
    }
    QString iniPath() { return s().documents.filePath("QS.INI"); }

    void openPage() {
        pressItem(s().window(), "rythmiseisshow");
        QCOMPARE(s().visiblePages(), QStringList{kPage});
    }

    // Everything the page shows and the program keeps.
    QStringList snapshot() {
        ClientFields *f = s().client->fields();
        return {text("Edit2"),
                text("Edit3"),
                text("Memo1"),
                text("Label1"),
                s().item("ScreenOn")->property("checked").toString(),
                f->edit2(),
                f->edit3(),
                f->memo1(),
                f->label1(),
                QString::number(f->screenOn())};
    }

private slots:
    void init() {
        m_scene = std::make_unique<PageScene>();
        QVERIFY2(s().window(), qPrintable(s().scene->errors()));
        QVERIFY(s().showAtRestoredSize());
    }

    void cleanup() { m_scene.reset(); }

    void layoutOfThePage_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRectF>("rect");
        QTest::addColumn<QString>("text");

        QTest::newRow("ConnectDisconnect")
            << "ConnectDisconnect" << QRectF(16, 16, 185, 41) << "Connect Disconnect";
        QTest::newRow("Edit2") << "Edit2" << QRectF(248, 8, 113, 32) << "127.0.0.1";
        QTest::newRow("Edit3") << "Edit3" << QRectF(264, 64, 73, 32) << "6000";
        QTest::newRow("ScreenOn") << "ScreenOn" << QRectF(40, 216, 193, 19)
                                  << "Οθόνη πάντα ανοιχτή";
        QTest::newRow("Button4") << "Button4" << QRectF(40, 280, 345, 57) << "Επιστροφή";
        QTest::newRow("Label1") << "Label1" << QRectF(156, 92, 61, 23) << "ok";
    }

    void layoutOfThePage() {
        QFETCH(QString, name);
        QFETCH(QRectF, rect);
        QFETCH(QString, text);
        QVERIFY(s().item(name));
        QCOMPARE(s().rectOnPage(kPage, name), rect);
        QCOMPARE(this->text(name), text);
        QCOMPARE(s().item("Label1")->isVisible(), false);
    }

    void logBoxLayout() {
        openPage();
        QQuickItem *memo = s().item("Memo1");
        // The box shows its lines unwrapped, as plain text, in its rectangle at (18, 122).
        QCOMPARE(memo->property("wrapMode").toInt(), 0);   // TextEdit.NoWrap
        QCOMPARE(memo->property("textFormat").toInt(), 0); // TextEdit.PlainText
        QCOMPARE(memo->property("readOnly").toBool(), false);
        QCOMPARE(s().rectOnPage(kPage, "Memo1").topLeft(), QPointF(18, 122));
        QCOMPARE(memo->parentItem()->parentItem()->parentItem()->size(), QSizeF(383, 81));
        QCOMPARE(s().item("ConnectDisconnect")->property("radius").toReal(), 3.0);
    }

    void openingAndLeavingChangesNothing() {
        ClientFields *f = s().client->fields();
        f->setEdit2("qs-editor.lan");
        f->setEdit3("6001");
        f->setScreenOn(false);
        f->appendLogLine("Client connected with server");
        const QStringList before = snapshot();

        openPage();
        QCOMPARE(snapshot(), before);
        pressItem(s().window(), "Button4");
        QCOMPARE(s().visiblePages(), QStringList{"Panel1"});
        QCOMPARE(snapshot(), before);
        QVERIFY(s().link.lines.isEmpty());
        QVERIFY(s().boxTexts.isEmpty());
    }

    void typedLogLineStaysAndGoesNowhere() {
        ClientFields *f = s().client->fields();
        f->appendLogLine("Client connected with server");
        QVERIFY(s().client->FormClose());
        const QByteArray savedBefore = fileBytes(iniPath());
        QVERIFY(!savedBefore.isEmpty());

        openPage();
        pressItem(s().window(), "Memo1");
        QVERIFY(s().item("Memo1")->hasActiveFocus());
        QTest::keyClick(s().window(), Qt::Key_End, Qt::ControlModifier);
        QTest::keyClick(s().window(), Qt::Key_Return);
        typeText("typed by hand");
        QCOMPARE(text("Memo1"), QString("Client connected with server\ntyped by hand"));

        // A later line of the program comes after what was typed.
        f->appendLogLine("Client connected with server");
        QCOMPARE(
            text("Memo1"),
            QString("Client connected with server\ntyped by hand\nClient connected with server"));

        // Never sent, never saved.
        QVERIFY(s().link.lines.isEmpty());
        QVERIFY(s().client->FormClose());
        QCOMPARE(fileBytes(iniPath()), savedBefore);
        QVERIFY(!fileBytes(iniPath()).contains("typed"));
    }

    void connectDisconnectUsesTheAddressAndLogsAfterTypedText() {
        QTcpServer editor;
        QVERIFY(editor.listen(QHostAddress::LocalHost, 0));
        ClientFields *f = s().client->fields();
        openPage();
        pressItem(s().window(), "Memo1");
        typeText("note");

        // The address typed on the page is the one connected to.
        for (const char *name : {"Edit2", "Edit3"}) {
            pressItem(s().window(), name);
            QTest::keyClick(s().window(), Qt::Key_A, Qt::ControlModifier);
            typeText(qPrintable(QString(name) == "Edit2" ? QString("127.0.0.1")
                                                         : QString::number(editor.serverPort())));
        }
        pressItem(s().window(), "ConnectDisconnect");
        QTRY_VERIFY(editor.hasPendingConnections());
        QCOMPARE(text("Memo1"), QString("note\nClient connected with server"));
        QVERIFY(s().client->link()->indicatorConnected());

        pressItem(s().window(), "ConnectDisconnect");
        QTRY_VERIFY(!s().client->link()->indicatorConnected());
        QCOMPARE(text("Memo1"),
                 QString("note\nClient connected with server\nClient disconnected from server"));
        QCOMPARE(f->memo1(), text("Memo1"));
        QVERIFY(s().boxTexts.isEmpty());
        QCOMPARE(s().visiblePages(), QStringList{kPage});
    }

    void typedAddressGoesToTheFieldsAndDiscoveryReplacesIt_data() {
        QTest::addColumn<QString>("field");
        QTest::newRow("host") << "Edit2";
        QTest::newRow("port") << "Edit3";
    }

    void typedAddressGoesToTheFieldsAndDiscoveryReplacesIt() {
        QFETCH(QString, field);
        ClientFields *f = s().client->fields();
        auto value = [&] { return field == "Edit2" ? f->edit2() : f->edit3(); };
        openPage();
        pressItem(s().window(), field);
        QTest::keyClick(s().window(), Qt::Key_A, Qt::ControlModifier);
        typeText("77");
        QCOMPARE(text(field), QString("77"));
        QCOMPARE(value(), QString("77"));

        // An answer of discovery while the user is still in the field replaces the text.
        if (field == "Edit2")
            f->setEdit2("10.0.0.9");
        else
            f->setEdit3("6123");
        QCOMPARE(text(field), value());
        QVERIFY(s().item(field)->hasActiveFocus());
        // And typing goes on from the new text.
        typeText("1");
        QCOMPARE(text(field), value());
        QVERIFY(value().endsWith('1'));
        QVERIFY(s().link.lines.isEmpty());
    }

    void screenOnChangesOnlyWhatIsSaved() {
        openPage();
        const QString memoBefore = text("Memo1");
        pressItem(s().window(), "ScreenOn");
        QCOMPARE(s().item("ScreenOn")->property("checked").toBool(), false);
        QCOMPARE(s().client->fields()->screenOn(), false);
        QCOMPARE(s().visiblePages(), QStringList{kPage});
        QCOMPARE(text("Memo1"), memoBefore);
        QVERIFY(s().link.lines.isEmpty());
        QVERIFY(s().client->FormClose());
        QVERIFY(fileBytes(iniPath()).contains("ScreenOn=0"));
    }

    void focusOrder() {
        const QStringList order{"Memo1",   "Edit3",   "Edit2", "ConnectDisconnect",
                                "Button4", "ScreenOn"};
        openPage();

        s().item("Memo1")->forceActiveFocus();
        for (int i = 1; i <= order.size(); ++i) {
            QTest::keyClick(s().window(), Qt::Key_Tab);
            QCOMPARE(s().window()->activeFocusItem()->objectName(), order[i % order.size()]);
        }
        for (int i = order.size() - 1; i >= 0; --i) {
            QTest::keyClick(s().window(), Qt::Key_Backtab, Qt::ShiftModifier);
            QCOMPARE(s().window()->activeFocusItem()->objectName(), order[i]);
        }
        // Tab moves on from the log instead of typing into it.
        QCOMPARE(text("Memo1"), QString());
    }
};

QTEST_MAIN(ScenePagesSettingsTest)
#include "tst_scene_pages_settings.moc"
