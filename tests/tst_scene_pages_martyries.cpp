#include "SceneTest.h"
#include "app/PictureProvider.h"

#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QTest>
#include <QThreadPool>

namespace {

const QString kPage = QStringLiteral("Panelmartyries");

struct Key {
    const char *name;
    int x;
    int y;
};

struct Mode {
    const char *tab;
    const char *panel;
    const char *picture;
    int keyWidth;
    QList<Key> keys;
};

// The eight modes as the page lays them out: tab, panel, picture, and the top-left corner of
// each signature key in panel units.
const QList<Mode> &modes() {
    static const QList<Mode> table{
        {"hx1",
         "Panelhxos_a",
         "Image18",
         112,
         {{"ark1", 55, 45},
          {"ark2", 175, 45},
          {"ark3", 56, 106},
          {"ark5", 175, 107},
          {"ark4", 56, 170},
          {"ark6", 174, 171}}},
        {"hx2",
         "Panelhxos_b",
         "Image19",
         112,
         {{"ark7", 57, 46},
          {"ark8", 175, 46},
          {"ark10", 57, 107},
          {"ark11", 175, 107},
          {"ark9", 57, 170}}},
        {"hx3",
         "Panelhxos_c",
         "Image20",
         112,
         {{"ark12", 57, 48}, {"ark13", 176, 47}, {"ark14", 57, 108}, {"ark15", 176, 108}}},
        {"hx4",
         "Panelhxos_d",
         "Image26",
         112,
         {{"ark16", 58, 23},
          {"ark17", 176, 24},
          {"ark18", 57, 87},
          {"ark19", 175, 87},
          {"ark20", 58, 151},
          {"ark21", 176, 151},
          {"ark23", 58, 215},
          {"ark22", 176, 215}}},
        {"hx5",
         "Panelhxos_pla",
         "Image27",
         112,
         {{"ark24", 58, 47}, {"ark25", 177, 47}, {"ark26", 58, 109}, {"ark27", 177, 109}}},
        {"hx6",
         "Panelhxos_plb",
         "Image28",
         119,
         {{"ark28", 53, 26},
          {"ark29", 178, 26},
          {"ark30", 52, 87},
          {"ark31", 177, 87},
          {"ark32", 52, 149},
          {"ark33", 177, 149},
          {"ark34", 52, 210},
          {"ark35", 177, 210}}},
        {"hx7",
         "Panelhxos_varys",
         "Image29",
         112,
         {{"ark36", 58, 26},
          {"ark37", 177, 25},
          {"ark38", 57, 87},
          {"ark39", 176, 87},
          {"ark40", 57, 150},
          {"ark41", 176, 150},
          {"ark42", 57, 212},
          {"ark43", 176, 211}}},
        {"hx8",
         "Panelhxos_pld",
         "Image30",
         112,
         {{"ark44", 59, 46},
          {"ark46", 178, 47},
          {"ark47", 59, 109},
          {"ark48", 178, 108},
          {"ark45", 59, 170}}},
    };
    return table;
}

// The mode panels lie at (35, 60) on the page.
constexpr QPointF kPanelOrigin(35, 60);

} // namespace

class ScenePagesMartyriesTest : public SceneTest {
    Q_OBJECT

private:
    QStringList visibleModePanels() const {
        QStringList shown;
        for (const Mode &mode : modes()) {
            if (s().item(mode.panel)->isVisible())
                shown.append(mode.panel);
        }
        return shown;
    }

    int imageStatus(const QString &picture) const {
        QQuickItem *item = s().item(picture);
        return item ? item->property("status").toInt() : -1;
    }

    void openPage() {
        pressItem(s().window(), "martyriesshow");
        QCOMPARE(s().visiblePages(), QStringList{kPage});
    }

    void pressTab(const QString &tab) {
        // Through the window, at the tab's centre.
        s().pressOnPage(kPage, s().rectOnPage(kPage, tab).center());
    }

private slots:

    void picturesReadWhenFirstShown() {
        // Nothing of the hidden page is built, let alone read, at start-up.
        QCOMPARE(imageStatus("Image31"), -1);
        for (const Mode &mode : modes())
            QCOMPARE(imageStatus(mode.picture), -1);

        openPage();
        QCOMPARE(visibleModePanels(), QStringList{"Panelhxos_a"});
        QTRY_COMPARE(imageStatus("Image31"), 1); // Image.Ready
        QTRY_COMPARE(imageStatus("Image18"), 1);
        for (const Mode &mode : modes().mid(1))
            QCOMPARE(imageStatus(mode.picture), 0);

        // Read at the size it covers on screen.
        const float sx = s().client->scaling()->sx();
        const float sy = s().client->scaling()->sy();
        QCOMPARE(PageScene::imageOf(s().item("Image18"))->property("sourceSize").toSize(),
                 QSize(qCeil(326 * sx), qCeil(259 * sy)));
        QCOMPARE(PageScene::imageOf(s().item("Image31"))->property("sourceSize").toSize(),
                 QSize(qCeil(376 * sx), qCeil(57 * sy)));

        pressTab("hx7");
        QTRY_COMPARE(imageStatus("Image29"), 1);
        QCOMPARE(imageStatus("Image19"), 0);
        QVERIFY(s().link.lines.isEmpty());
    }

    void pictureOrPlaceholder_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("placeholder");
        QTest::newRow("drawn") << "Image30" << false;
        QTest::newRow("not drawn yet") << "Image99" << true;
    }

    // A picture whose file is not there stands as a plain light box in its rectangle.
    void pictureOrPlaceholder() {
        QFETCH(QString, name);
        QFETCH(bool, placeholder);
        QThreadPool drawing; // goes after the engine, as in the window
        QQmlEngine engine;
        engine.addImportPath("qrc:/qt/qml");
        // The pictures come as the window's engine gives them.
        engine.addImageProvider("pictures", new PictureProvider(drawing));
        QQmlComponent component(&engine);
        if (placeholder)
            QTest::ignoreMessage(QtWarningMsg,
                                 QRegularExpression("No picture Image99 can be drawn"));
        component.setData(QString("import QtQuick\nimport QsClient\n"
                                  "Picture { name: \"%1\"; width: 326; height: 259 }")
                              .arg(name)
                              .toUtf8(),
                          QUrl());
        std::unique_ptr<QObject> object(component.create());
        QVERIFY2(object, qPrintable(component.errorString()));
        auto *picture = qobject_cast<QQuickItem *>(object.get());
        QTRY_VERIFY(picture->property("status").toInt() != 2);              // not Image.Loading
        QCOMPARE(picture->property("status").toInt(), placeholder ? 3 : 1); // Error or Ready
        QQuickItem *box = PageScene::placeholderOf(picture);
        QVERIFY(box);
        QCOMPARE(box->isVisible(), placeholder);
        QCOMPARE(box->size(), QSizeF(326, 259));
    }

    void layoutOfThePage_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRectF>("rect");

        QTest::newRow("Image31") << "Image31" << QRectF(17, 376, 376, 57);
        QTest::newRow("Button1") << "Button1" << QRectF(62, 520, 281, 49);
        const int tabX[] = {7, 56, 106, 156, 206, 256, 306, 356};
        for (int i = 0; i < 8; ++i) {
            const QString tab = QString("hx%1").arg(i + 1);
            QTest::newRow(qPrintable(tab)) << tab << QRectF(tabX[i], 2, 48, 48);
        }
        const int stripX[] = {23, 79, 128, 176, 224, 272, 321};
        const int stripW[] = {56, 48, 48, 48, 48, 48, 67};
        for (int i = 0; i < 7; ++i) {
            const QString key = QString("mh%1").arg(i + 1);
            QTest::newRow(qPrintable(key)) << key << QRectF(stripX[i], 378, stripW[i], 48);
        }
        for (const Mode &mode : modes()) {
            QTest::newRow(mode.panel) << mode.panel << QRectF(35, 60, 345, 300);
            QTest::newRow(mode.picture)
                << mode.picture << QRectF(kPanelOrigin + QPointF(9, 18), QSizeF(326, 259));
        }
    }

    void layoutOfThePage() {
        QFETCH(QString, name);
        QFETCH(QRectF, rect);
        s().buildEveryPage();
        QVERIFY(s().item(name));
        QCOMPARE(s().rectOnPage(kPage, name), rect);
    }

    void tabTexts_data() {
        QTest::addColumn<QString>("tab");
        QTest::addColumn<QString>("text");

        QTest::newRow("hx1") << "hx1"
                             << "α'";
        QTest::newRow("hx2") << "hx2"
                             << "β'";
        QTest::newRow("hx3") << "hx3"
                             << "γ'";
        QTest::newRow("hx4") << "hx4"
                             << "δ'";
        QTest::newRow("hx5") << "hx5"
                             << "πλ α'";
        QTest::newRow("hx6") << "hx6"
                             << "πλ β'";
        QTest::newRow("hx7") << "hx7"
                             << "βαρύς";
        QTest::newRow("hx8") << "hx8"
                             << "πλ δ'";
    }

    void tabTexts() {
        QFETCH(QString, tab);
        QFETCH(QString, text);
        s().buildEveryPage();
        QCOMPARE(s().item(tab)->property("text").toString(), text);
        QCOMPARE(s().item("Button1")->property("text").toString(), QString("Επιστροφή"));
    }

    void tabShowsOnePanelAndSurvivesARoundTrip_data() {
        QTest::addColumn<QString>("tab");
        QTest::addColumn<QString>("panel");
        for (const Mode &mode : modes())
            QTest::newRow(mode.tab) << mode.tab << mode.panel;
    }

    void tabShowsOnePanelAndSurvivesARoundTrip() {
        QFETCH(QString, tab);
        QFETCH(QString, panel);
        openPage();
        // Coming from another mode than the tab's own.
        pressTab(tab == "hx8" ? "hx1" : "hx8");
        pressTab(tab);
        QCOMPARE(visibleModePanels(), QStringList{panel});
        pressTab(tab);
        QCOMPARE(visibleModePanels(), QStringList{panel});

        pressItem(s().window(), "Button1");
        QCOMPARE(s().visiblePages(), QStringList{"Panel1"});
        openPage();
        QCOMPARE(visibleModePanels(), QStringList{panel});
        // Tabs and the return button send nothing.
        QVERIFY(s().link.lines.isEmpty());
        QVERIFY(s().boxTexts.isEmpty());
    }

    void signatureKeySendsItsWord_data() {
        QTest::addColumn<QString>("tab");
        QTest::addColumn<QString>("panel");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QRectF>("rect");

        int count = 0;
        for (const Mode &mode : modes()) {
            for (const Key &key : mode.keys) {
                QTest::newRow(key.name)
                    << mode.tab << mode.panel << key.name
                    << QRectF(kPanelOrigin + QPointF(key.x, key.y), QSizeF(mode.keyWidth, 60));
                ++count;
            }
        }
        QCOMPARE(count, 48);
    }

    void signatureKeySendsItsWord() {
        QFETCH(QString, tab);
        QFETCH(QString, panel);
        QFETCH(QString, key);
        QFETCH(QRectF, rect);
        openPage();
        pressTab(tab);
        QCOMPARE(s().rectOnPage(kPage, key), rect);

        s().pressOnPage(kPage, rect.center());
        QCOMPARE(s().link.lines, QStringList{"sent " + key});
        // The page and its mode stay as they are.
        QCOMPARE(s().visiblePages(), QStringList{kPage});
        QCOMPARE(visibleModePanels(), QStringList{panel});
    }

    void keysOfHiddenPanelsTakeNoPress() {
        openPage();
        // With α' shown, a point over δ' key ark16 that no α' key covers: the visible panel
        // takes the press and does nothing.
        s().pressOnPage(kPage, kPanelOrigin + QPointF(100, 30));
        QVERIFY(s().link.lines.isEmpty());
        QCOMPARE(visibleModePanels(), QStringList{"Panelhxos_a"});
    }

    void stripKeySendsItsWord_data() {
        QTest::addColumn<QString>("key");
        for (int i = 1; i <= 7; ++i)
            QTest::newRow(qPrintable(QString("mh%1").arg(i))) << QString("mh%1").arg(i);
    }

    void stripKeySendsItsWord() {
        QFETCH(QString, key);
        KeyboardState &keyboard = *s().client->keyboard();
        PageScene::openEverySecondSet(*s().client);
        QCOMPARE(keyboard.shownPanels(),
                 (QStringList{"PanelKatavasi2", "PanelPoiotitas2", "PanelIson2", "Panelanavasi2",
                              "PanelMartyries2", "Panelfthores", "Panelmetra", "Panelasterakia",
                              "Panelendikseis", "Panelyfeseis2", "Panelentasi", "Panelpena"}));

        openPage();
        pressTab("hx6");
        s().pressOnPage(kPage, s().rectOnPage(kPage, key).center());
        QCOMPARE(s().link.lines, QStringList{"sent " + key});
        // The hidden keyboard page is back to its first sets, as after a sign pressed there;
        // nothing on this page changes.
        // The four pairs back on their first sets, five pop-up groups closed; the second
        // signatures set and the two groups the sign reset leaves open stay.
        QCOMPARE(keyboard.shownPanels(),
                 (QStringList{"PanelIson1", "PanelKatavasi1", "Panelanavasi1", "PanelPoiotitas1",
                              "PanelMartyries2", "Panelfthores", "Panelyfeseis2"}));
        QCOMPARE(s().visiblePages(), QStringList{kPage});
        QCOMPARE(visibleModePanels(), QStringList{"Panelhxos_plb"});
    }

    void signatureKeysLeaveTheKeyboardPageAsItWas() {
        KeyboardState &keyboard = *s().client->keyboard();
        PageScene::openEverySecondSet(*s().client);
        const QStringList before = keyboard.shownPanels();
        openPage();
        s().pressOnPage(kPage, s().rectOnPage(kPage, "ark1").center());
        QCOMPARE(s().link.lines, QStringList{"sent ark1"});
        QCOMPARE(keyboard.shownPanels(), before);
    }
};

QTEST_MAIN(ScenePagesMartyriesTest)
#include "tst_scene_pages_martyries.moc"
