#include "TestFiles.h"
#include "base/ClientFields.h"
#include "base/SettingsFile.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <pwd.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// Sets an environment variable back to what it was (or unsets it) when it goes out of scope.
class EnvironmentVariable {
public:
    explicit EnvironmentVariable(const char *name)
        : m_name(name), m_wasSet(qEnvironmentVariableIsSet(name)), m_value(qgetenv(name)) {}
    ~EnvironmentVariable() {
        if (m_wasSet)
            qputenv(m_name, m_value);
        else
            qunsetenv(m_name);
    }

private:
    const char *m_name;
    bool m_wasSet;
    QByteArray m_value;
};

} // namespace

class SettingsFileTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString iniPath() const { return m_dir.filePath("QS.INI"); }

private slots:
    void init() {
        QVERIFY(m_dir.isValid());
        QFile::remove(iniPath());
    }

    void pathIsTheDocumentsFolderAndTheName() {
        QCOMPARE(SettingsFile(m_dir.path()).path(), QDir::toNativeSeparators(iniPath()));
    }

    void noFileGivesTheDefaults() {
        ClientFields fields;
        fields.setHost("x");
        fields.setPort("1");
        SettingsFile(m_dir.path()).read(fields);
        QCOMPARE(fields.port(), QString("6000"));
        QCOMPARE(fields.host(), QString("127.0.0.1"));
        QVERIFY(fields.screenOn());
    }

    void readValues_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("host");
        QTest::addColumn<bool>("screenOn");

        auto form = [](const QByteArray &body) { return "[Form]\n" + body; };
        QTest::addRow("0x1770") << form("port=0x1770\n") << "6000"
                                << "127.0.0.1" << true;
        QTest::addRow("$10") << form("port=$10\n") << "16"
                             << "127.0.0.1" << true;
        QTest::addRow("abc") << form("port=abc\n") << "6000"
                             << "127.0.0.1" << true;
        QTest::addRow("empty port") << form("port=\n") << "6000"
                                    << "127.0.0.1" << true;
        QTest::addRow("-1") << form("port=-1\n") << "-1"
                            << "127.0.0.1" << true;
        QTest::addRow("99999") << form("port=99999\n") << "99999"
                               << "127.0.0.1" << true;
        QTest::addRow("0x alone") << form("port=0x\n") << "6000"
                                  << "127.0.0.1" << true;
        QTest::addRow("x digits") << form("port=x1F\n") << "31"
                                  << "127.0.0.1" << true;
        QTest::addRow("ScreenOn 0") << form("ScreenOn=0\n") << "6000"
                                    << "127.0.0.1" << false;
        QTest::addRow("ScreenOn 2") << form("ScreenOn=2\n") << "6000"
                                    << "127.0.0.1" << true;
        QTest::addRow("ScreenOn -1") << form("ScreenOn=-1\n") << "6000"
                                     << "127.0.0.1" << true;
        QTest::addRow("ScreenOn yes") << form("ScreenOn=yes\n") << "6000"
                                      << "127.0.0.1" << true;
        QTest::addRow("ScreenOn 0x0") << form("ScreenOn=0x0\n") << "6000"
                                      << "127.0.0.1" << false;
        QTest::addRow("empty ipserver") << form("ipserver=\n") << "6000"
                                        << "" << true;
        QTest::addRow("host kept as typed") << form("ipserver=qs-host.lan\n") << "6000"
                                            << "qs-host.lan" << true;
        QTest::addRow("names any case, blanks, quotes")
            << QByteArray("[form]\r\n  PORT = 7000 \r\nIpServer=\"10.0.0.2\"\r\n") << "7000"
            << "10.0.0.2" << true;
        QTest::addRow("first of repeated keys") << form("port=1\nport=2\n") << "1"
                                                << "127.0.0.1" << true;
        QTest::addRow("no section") << QByteArray("port=7000\n") << "6000"
                                    << "127.0.0.1" << true;
        QTest::addRow("other section only") << QByteArray("[Other]\nport=7000\n") << "6000"
                                            << "127.0.0.1" << true;
        QTest::addRow("binary garbage") << QByteArray("\x00\xff\xfe[\x01]=\x80\n\x00", 11) << "6000"
                                        << "127.0.0.1" << true;
        QTest::addRow("key after garbage")
            << QByteArray("\xff\xfe\x00\n[Form]\nport=8000\n", 22) << "8000"
            << "127.0.0.1" << true;
        QTest::addRow("byte-order mark before the section")
            << QByteArray("\xEF\xBB\xBF[Form]\r\nport=7000\r\nipserver=10.0.0.3\r\n") << "7000"
            << "10.0.0.3" << true;
        QTest::addRow("byte-order mark in the middle is text")
            << QByteArray("[Other]\n\xEF\xBB\xBF[Form]\nport=7000\n") << "6000"
            << "127.0.0.1" << true;
    }

    void readValues() {
        QFETCH(QByteArray, file);
        QFETCH(QString, port);
        QFETCH(QString, host);
        QFETCH(bool, screenOn);
        QVERIFY(TestFiles::write(iniPath(), file));
        ClientFields fields;
        SettingsFile(m_dir.path()).read(fields);
        QCOMPARE(fields.port(), port);
        QCOMPARE(fields.host(), host);
        QCOMPARE(fields.screenOn(), screenOn);
    }

    void screenOnDefaultIsTheBoxAsItIs() {
        QVERIFY(TestFiles::write(iniPath(), "[Form]\nScreenOn=maybe\n"));
        ClientFields fields;
        fields.setScreenOn(false);
        SettingsFile(m_dir.path()).read(fields);
        QVERIFY(!fields.screenOn());
    }

    void longValuesAreCutAndHugeLinesRead() {
        const QByteArray longHost(3000, 'h');
        const QByteArray hugeLine(4 * 1024 * 1024, 'z');
        QVERIFY(TestFiles::write(iniPath(), "[Other]\nblob=" + hugeLine +
                                                "\n[Form]\nipserver=" + longHost + "\n"));
        ClientFields fields;
        SettingsFile(m_dir.path()).read(fields);
        QCOMPARE(fields.host(), QString(2047, 'h'));

        // The close still writes the three keys and keeps the huge foreign line untouched.
        fields.setHost("10.0.0.9");
        QCOMPARE(SettingsFile(m_dir.path()).write(fields), std::nullopt);
        const QByteArray written = TestFiles::read(iniPath());
        QVERIFY(written.contains("blob=" + hugeLine + "\n"));
        QVERIFY(written.contains("ipserver=10.0.0.9\n"));
    }

    void freshStartWritesExactlyFourLines() {
        ClientFields fields;
        SettingsFile file(m_dir.path());
        file.read(fields);
        QCOMPARE(file.write(fields), std::nullopt);
        QCOMPARE(TestFiles::read(iniPath()),
                 QByteArray("[Form]\nport=6000\nipserver=127.0.0.1\nScreenOn=1\n"));
    }

    void writeRefusesNonConformingPort_data() {
        QTest::addColumn<QString>("port");
        QTest::addRow("trailing blank") << "6000 ";
        QTest::addRow("inner blank") << "60 00";
        QTest::addRow("empty") << "";
        QTest::addRow("letters") << "abc";
    }

    void writeRefusesNonConformingPort() {
        QFETCH(QString, port);
        QVERIFY(TestFiles::write(iniPath(), "[Form]\nport=1234\n"));
        ClientFields fields;
        fields.setPort(port);
        SettingsFile file(m_dir.path());
        QCOMPARE(file.write(fields), QString("'%1' is not a valid integer value").arg(port));
        QCOMPARE(TestFiles::read(iniPath()), QByteArray("[Form]\nport=1234\n"));

        // Once the field is corrected the close writes all three keys.
        fields.setPort("$1770");
        fields.setScreenOn(false);
        QCOMPARE(file.write(fields), std::nullopt);
        QCOMPARE(TestFiles::read(iniPath()),
                 QByteArray("[Form]\nport=6000\nipserver=127.0.0.1\nScreenOn=0\n"));
    }

    void foreignLinesAreKept() {
        const QByteArray before = "; written by hand\r\n[Other]\r\nport=1\r\n\r\n[FORM]\r\n"
                                  "extra = keep me\r\nPort=99\r\n\r\n[Last]\r\nz=1";
        QVERIFY(TestFiles::write(iniPath(), before));
        ClientFields fields;
        fields.setPort("  42");
        fields.setHost("");
        QCOMPARE(SettingsFile(m_dir.path()).write(fields), std::nullopt);
        QCOMPARE(TestFiles::read(iniPath()),
                 QByteArray("; written by hand\r\n[Other]\r\nport=1\r\n\r\n[FORM]\r\n"
                            "extra = keep me\r\nport=42\r\nipserver=\r\nScreenOn=1\r\n\r\n"
                            "[Last]\r\nz=1"));

        // What was written reads back as written.
        ClientFields again;
        SettingsFile(m_dir.path()).read(again);
        QCOMPARE(again.port(), QString("42"));
        QCOMPARE(again.host(), QString(""));
    }

    void byteOrderMarkIsKept_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        const QByteArray mark = "\xEF\xBB\xBF";
        QTest::addRow("before the section")
            << mark + "[Form]\r\nport=7000\r\nipserver=old\r\n"
            << mark + "[Form]\r\nport=6000\r\nipserver=10.0.0.3\r\nScreenOn=1\r\n";
        QTest::addRow("before another section")
            << mark + "[Other]\nkeep=1\n"
            << mark + "[Other]\nkeep=1\n[Form]\nport=6000\nipserver=10.0.0.3\nScreenOn=1\n";
        QTest::addRow("alone") << mark
                               << mark + "[Form]\nport=6000\nipserver=10.0.0.3\nScreenOn=1\n";
    }

    void byteOrderMarkIsKept() {
        // The section behind the mark is found, so the close replaces its keys instead of
        // adding a second section; the mark stays in front.
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        QVERIFY(TestFiles::write(iniPath(), before));
        ClientFields fields;
        fields.setPort("6000");
        fields.setHost("10.0.0.3");
        QCOMPARE(SettingsFile(m_dir.path()).write(fields), std::nullopt);
        QCOMPARE(TestFiles::read(iniPath()), after);
    }

    void fileCutAfterCarriageReturn() {
        QVERIFY(TestFiles::write(iniPath(), "[Other]\r\nkeep=1\r\n[Form]\r\nScreenOn=0\r"));
        ClientFields fields;
        SettingsFile file(m_dir.path());
        file.read(fields);
        QVERIFY(!fields.screenOn());
        QCOMPARE(file.write(fields), std::nullopt);
        QCOMPARE(TestFiles::read(iniPath()),
                 QByteArray("[Other]\r\nkeep=1\r\n[Form]\r\nScreenOn=0\r\n"
                            "port=6000\r\nipserver=127.0.0.1\r\n"));
    }

    void lineBreaksInTheHostCannotAddLines() {
        ClientFields fields;
        fields.setHost("10.0.0.1\r\n[Form]\r\nport=1");
        QCOMPARE(SettingsFile(m_dir.path()).write(fields), std::nullopt);
        QCOMPARE(TestFiles::read(iniPath()),
                 QByteArray("[Form]\nport=6000\nipserver=10.0.0.1[Form]port=1\nScreenOn=1\n"));
    }

    void missingDocumentsFolderIsCreated() {
        const QString folder = m_dir.filePath("new/Documents");
        ClientFields fields;
        QCOMPARE(SettingsFile(folder).write(fields), std::nullopt);
        QVERIFY(QFile::exists(folder + "/QS.INI"));
    }

    void failedWriteLeavesTheOldFileWhole() {
        // A limit on the size of written files fails the write part-way, as a full disk does,
        // for root too.
        const QByteArray before = "[Other]\nkeep=1\n[Form]\nport=7000\nipserver=old\nScreenOn=0\n";
        QVERIFY(TestFiles::write(iniPath(), before));
        ClientFields fields;
        fields.setHost(QString(4096, 'n'));

        ::signal(SIGXFSZ, SIG_IGN);
        rlimit saved{};
        QCOMPARE(::getrlimit(RLIMIT_FSIZE, &saved), 0);
        rlimit small = saved;
        small.rlim_cur = 1024;
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &small), 0);
        const auto failure = SettingsFile(m_dir.path()).write(fields);
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &saved), 0);

        QCOMPARE(failure,
                 QString("Unable to write to %1").arg(QDir::toNativeSeparators(iniPath())));
        QCOMPARE(TestFiles::read(iniPath()), before);
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files), QStringList{"QS.INI"});
    }

    void unwritableFolderFailsAndKeepsTheFile() {
        // A file where the folder should be: nothing can be created inside it, for root too.
        const QString notAFolder = m_dir.filePath("plainfile");
        QVERIFY(TestFiles::write(notAFolder, "x"));
        ClientFields fields;
        const QString expectedPath = QDir::toNativeSeparators(notAFolder + "/QS.INI");
        QCOMPARE(SettingsFile(notAFolder).write(fields),
                 QString("Unable to write to %1").arg(expectedPath));
        QCOMPARE(TestFiles::read(notAFolder), QByteArray("x"));
    }

    void locationWithoutUsableHome_data() {
        QTest::addColumn<QByteArray>("home"); // a null array: HOME is missing
        QTest::addColumn<bool>("configHomeSet");
        QTest::addColumn<QString>("folder"); // H: the test's home, C: its XDG_CONFIG_HOME
        const QString app = QCoreApplication::applicationName();
        const passwd *account = ::getpwuid(::geteuid());
        const QString accountHome = account ? QString::fromLocal8Bit(account->pw_dir) : QString();

        QTest::addRow("HOME set: its documents folder")
            << QByteArray("H") << false << "H/Documents";
        QTest::addRow("HOME empty: the configuration folder")
            << QByteArray("") << true << "C/" + app;
        QTest::addRow("HOME missing: the configuration folder")
            << QByteArray() << true << "C/" + app;
        QTest::addRow("HOME the root: the configuration folder")
            << QByteArray("/") << true << "C/" + app;
        QTest::addRow("HOME relative: the configuration folder")
            << QByteArray("relative/home") << true << "C/" + app;
        QTest::addRow("HOME empty, no XDG_CONFIG_HOME: the account's home")
            << QByteArray("") << false << accountHome + "/.config/" + app;
    }

    void locationWithoutUsableHome() {
        QFETCH(QByteArray, home);
        QFETCH(bool, configHomeSet);
        QFETCH(QString, folder);
        const QString testHome = m_dir.filePath("home");
        const QString configHome = m_dir.filePath("config");
        folder.replace(QRegularExpression("^H"), testHome)
            .replace(QRegularExpression("^C"), configHome);

        const EnvironmentVariable savedHome("HOME");
        const EnvironmentVariable savedConfigHome("XDG_CONFIG_HOME");
        if (home.isNull())
            qunsetenv("HOME");
        else
            qputenv("HOME", home == "H" ? testHome.toLocal8Bit() : home);
        if (configHomeSet)
            qputenv("XDG_CONFIG_HOME", configHome.toLocal8Bit());
        else
            qunsetenv("XDG_CONFIG_HOME");

        const SettingsFile settings;
        QCOMPARE(settings.path(), QDir::toNativeSeparators(folder + "/QS.INI"));
        // Where the folder is the test's own, the close writes there and the start reads it back.
        if (!folder.startsWith(m_dir.path()))
            return;
        ClientFields fields;
        fields.setHost("10.0.0.4");
        QCOMPARE(settings.write(fields), std::nullopt);
        ClientFields again;
        settings.read(again);
        QCOMPARE(again.host(), QString("10.0.0.4"));
    }

    void unreadableFileIsNotReplaced() {
        // A folder in the file's place cannot be read as a file; it must not be replaced by a
        // file that lost its lines.
        QVERIFY(QDir(m_dir.path()).mkpath("QS.INI"));
        ClientFields fields;
        QVERIFY(SettingsFile(m_dir.path()).write(fields).has_value());
        QVERIFY(QFileInfo(iniPath()).isDir());
        QVERIFY(QDir(m_dir.path()).rmdir("QS.INI"));
    }
};

QTEST_GUILESS_MAIN(SettingsFileTest)
#include "tst_settings_file.moc"
