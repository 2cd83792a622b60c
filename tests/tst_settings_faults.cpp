// The settings file under faults of the disk: a read-only folder, a full disk, folders and files
// whose modes refuse the user, and a crash in the middle of a close. The previous QS.INI must
// survive whole every time it cannot be saved, and the failure is reported with the file's path.
#include "TestFiles.h"
#include "base/ClientFields.h"
#include "base/SettingsFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <grp.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const QByteArray kPrevious = "[Other]\nkeep=1\n[Form]\nport=7000\nipserver=previous\nScreenOn=0\n";
// What a close with the default port and display option and this host makes of it.
const QString kNextHost = "editor-on-the-shared-network.example.org";
const QByteArray kNext = "[Other]\nkeep=1\n[Form]\nport=6000\n"
                         "ipserver=editor-on-the-shared-network.example.org\nScreenOn=1\n";

// Runs `body` in a child process with a mount namespace of its own, so that file systems can be
// mounted for it without touching the machine. The child's exit code is returned; 77 means the
// namespace or the mount could not be made here.
int inPrivateMountNamespace(const std::function<int()> &body) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::unshare(CLONE_NEWNS) != 0 ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            ::_exit(77);
        ::_exit(body());
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// The child's verdict on one faulty close: 0 when the close failed with the right message and the
// previous file is whole; another code says what went wrong.
int checkFailedClose(const QString &folder, const ClientFields &fields) {
    const QString path = QDir::toNativeSeparators(folder + QStringLiteral("/QS.INI"));
    const auto failure = SettingsFile(folder).write(fields);
    if (!failure)
        return 10;
    if (*failure != QStringLiteral("Unable to write to %1").arg(path))
        return 11;
    if (TestFiles::read(path) != kPrevious)
        return 12;
    return 0;
}

// A close with the given host, as the child sees it: 0 when it was saved or failed as expected,
// with the failure's message; another code says what went wrong.
int closeVerdict(const QString &folder, const QString &host, bool saved) {
    ClientFields fields;
    fields.setHost(host);
    const auto failure = SettingsFile(folder).write(fields);
    if (saved)
        return failure ? 10 : 0;
    if (!failure)
        return 11;
    const QString path = QDir::toNativeSeparators(folder + QStringLiteral("/QS.INI"));
    return *failure == QStringLiteral("Unable to write to %1").arg(path) ? 0 : 12;
}

constexpr uid_t kNobody = 65534;

// Runs `body` in a child process as the user nobody (root is not held back by the modes of
// folders and files). The child's exit code is returned; 77 means it could not become nobody.
int asNobody(const std::function<int()> &body) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 ||
                                 ::setuid(kNobody) != 0 || ::setuid(0) == 0))
            ::_exit(77);
        ::_exit(body());
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

} // namespace

class SettingsFaultsTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;

private slots:
    void init() {
        QVERIFY(m_dir.isValid());
        QDir(m_dir.path()).removeRecursively();
        QVERIFY(QDir().mkpath(m_dir.path()));
    }

    void readOnlyDocumentsFolder() {
        const QString folder = m_dir.filePath("docs");
        const int code = inPrivateMountNamespace([&] {
            if (!QDir().mkpath(folder) || ::mount("qs", qPrintable(folder), "tmpfs", 0, "size=64k"))
                return 77;
            if (!TestFiles::write(folder + "/QS.INI", kPrevious))
                return 20;
            // Read-only for root too: the mount refuses every write.
            if (::mount(nullptr, qPrintable(folder), nullptr, MS_REMOUNT | MS_RDONLY, nullptr))
                return 77;
            ClientFields fields;
            return checkFailedClose(folder, fields);
        });
        if (code == 77)
            QSKIP("no private mount namespace here (needs root)");
        QCOMPARE(code, 0);
    }

    void fullDisk() {
        const QString folder = m_dir.filePath("docs");
        const int code = inPrivateMountNamespace([&] {
            if (!QDir().mkpath(folder) || ::mount("qs", qPrintable(folder), "tmpfs", 0, "size=8k"))
                return 77;
            if (!TestFiles::write(folder + "/QS.INI", kPrevious))
                return 20;
            // Fill what is left of the tiny disk, then ask for a file larger than the space.
            QFile filler(folder + "/filler");
            if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
                return 21;
            const QByteArray block(512, 'f');
            while (filler.write(block) == block.size()) {
            }
            filler.close();
            ClientFields fields;
            fields.setHost(QString(6000, 'h'));
            return checkFailedClose(folder, fields);
        });
        if (code == 77)
            QSKIP("no private mount namespace here (needs root)");
        QCOMPARE(code, 0);
    }

    void closeAsAnUnprivilegedUser_data() {
        QTest::addColumn<int>("folderMode");
        QTest::addColumn<int>("fileMode"); // -1: no file yet
        QTest::addColumn<bool>("saved");
        QTest::addColumn<bool>("inPlace");
        QTest::addRow("folder 0555, file 0644: written in place") << 0555 << 0644 << true << true;
        QTest::addRow("folder 0555, file 0444: refused") << 0555 << 0444 << false << false;
        QTest::addRow("folder 0555, no file: refused") << 0555 << -1 << false << false;
        QTest::addRow("folder 0755, file 0644: replaced whole") << 0755 << 0644 << true << false;
    }

    void closeAsAnUnprivilegedUser() {
        // Root is not held back by a folder's or a file's mode, so the close runs in a child
        // process as the user nobody.
        QFETCH(int, folderMode);
        QFETCH(int, fileMode);
        QFETCH(bool, saved);
        QFETCH(bool, inPlace);
        const bool asRoot = ::geteuid() == 0;
        QVERIFY(QFile::setPermissions(
            m_dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                              QFileDevice::ReadOther | QFileDevice::ExeOther));
        const QString folder = m_dir.filePath("docs");
        const QString path = QDir::toNativeSeparators(folder + "/QS.INI");
        QVERIFY(QDir().mkpath(folder));
        if (fileMode >= 0) {
            QVERIFY(TestFiles::write(path, kPrevious));
            QCOMPARE(::chmod(qPrintable(path), mode_t(fileMode)), 0);
            if (asRoot)
                QCOMPARE(::chown(qPrintable(path), kNobody, kNobody), 0);
        }
        if (asRoot)
            QCOMPARE(::chown(qPrintable(folder), kNobody, kNobody), 0);
        QCOMPARE(::chmod(qPrintable(folder), mode_t(folderMode)), 0);
        struct stat before = {};
        ::stat(qPrintable(path), &before);

        const int code = asNobody([&] { return closeVerdict(folder, "10.0.0.7", saved); });
        ::chmod(qPrintable(folder), 0755);
        if (code == 77)
            QSKIP("cannot become the user nobody here");
        QCOMPARE(code, 0);

        QByteArray expected = kPrevious;
        if (saved)
            expected.replace("port=7000\nipserver=previous\nScreenOn=0",
                             "port=6000\nipserver=10.0.0.7\nScreenOn=1");
        QCOMPARE(TestFiles::read(path), fileMode >= 0 ? expected : QByteArray());
        QCOMPARE(QDir(folder).entryList(QDir::Files),
                 fileMode >= 0 ? QStringList{"QS.INI"} : QStringList());
        if (saved) {
            // In place where no new file can be made, otherwise a new file renamed over the old.
            struct stat after = {};
            QCOMPARE(::stat(qPrintable(path), &after), 0);
            QCOMPARE(after.st_ino == before.st_ino, inPlace);
            QCOMPARE(after.st_mode & 07777, mode_t(fileMode));
        }
    }

    void writeInPlaceCutShort_data() {
        // How many bytes a file may hold, against the previous file and the new one, which is
        // longer: writes stop there, part way through the new text.
        QTest::addColumn<qsizetype>("limit");
        QTest::addColumn<bool>("saved");
        const qsizetype previous = kPrevious.size();
        const qsizetype next = kNext.size();
        QTest::addRow("nothing") << qsizetype(0) << false;
        QTest::addRow("one byte") << qsizetype(1) << false;
        QTest::addRow("inside the first line") << qsizetype(5) << false;
        QTest::addRow("inside the old keys") << previous - 20 << false;
        QTest::addRow("the old length less one") << previous - 1 << false;
        QTest::addRow("the old length") << previous << false;
        QTest::addRow("past the old length") << previous + 7 << false;
        QTest::addRow("the new length less one") << next - 1 << false;
        QTest::addRow("the new length") << next << true;
    }

    void writeInPlaceCutShort() {
        // The folder refuses new files, so the close writes the file in place, and a limit on
        // file sizes makes its writes fail part way: the old text must come out whole.
        QFETCH(qsizetype, limit);
        QFETCH(bool, saved);
        const QString folder = m_dir.filePath("docs");
        const QString path = folder + "/QS.INI";
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(TestFiles::write(path, kPrevious));
        if (::geteuid() == 0) {
            QCOMPARE(::chown(qPrintable(path), kNobody, kNobody), 0);
            QCOMPARE(::chown(qPrintable(folder), kNobody, kNobody), 0);
        }
        QCOMPARE(::chmod(qPrintable(m_dir.path()), 0755), 0);
        QCOMPARE(::chmod(qPrintable(folder), 0555), 0);
        const int code = asNobody([&] {
            // Past the limit a write fails with EFBIG instead of ending the process.
            std::signal(SIGXFSZ, SIG_IGN);
            rlimit fileSize{};
            ::getrlimit(RLIMIT_FSIZE, &fileSize);
            fileSize.rlim_cur = rlim_t(limit);
            if (::setrlimit(RLIMIT_FSIZE, &fileSize) != 0)
                return 30;
            return closeVerdict(folder, kNextHost, saved);
        });
        ::chmod(qPrintable(folder), 0755);
        if (code == 77)
            QSKIP("cannot become the user nobody here");
        QCOMPARE(code, 0);
        QCOMPARE(TestFiles::read(path), saved ? kNext : kPrevious);
        QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{"QS.INI"});
    }

    void crashDuringClose() {
        // Closes that are killed at arbitrary moments, a bounded number of times: each time the
        // file holds either the previous settings or the new ones, whole, never a part.
        const QString path = m_dir.filePath("QS.INI");
        QVERIFY(TestFiles::write(path, kPrevious));
        for (int round = 0; round < 60; ++round) {
            const QString host(20000 + round, 'n');
            const pid_t pid = ::fork();
            if (pid == 0) {
                ClientFields fields;
                fields.setPort("7000");
                fields.setHost(host);
                fields.setScreenOn(false);
                for (;;)
                    SettingsFile(m_dir.path()).write(fields);
            }
            QTest::qSleep(2 + round % 7);
            ::kill(pid, SIGKILL);
            int status = 0;
            ::waitpid(pid, &status, 0);

            const QByteArray now = TestFiles::read(path);
            QByteArray next = kPrevious;
            next.replace("ipserver=previous", "ipserver=" + host.toLatin1());
            QVERIFY2(now == kPrevious || now == next,
                     qPrintable(QString("round %1: %2 bytes").arg(round).arg(now.size())));
            // Start each round from the previous settings again.
            QVERIFY(TestFiles::write(path, kPrevious));
        }
    }
};

QTEST_GUILESS_MAIN(SettingsFaultsTest)
#include "tst_settings_faults.moc"
