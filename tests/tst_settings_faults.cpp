// The settings file under faults of the disk: a read-only folder, a full disk, folders and files
// whose modes refuse the user, and a crash in the middle of a close. The previous QS.INI must
// survive whole every time it cannot be saved, and the failure is reported with the file's path.
#include "app/ClientFields.h"
#include "app/SettingsFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <grp.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const QByteArray kPrevious = "[Other]\nkeep=1\n[Form]\nport=7000\nipserver=previous\nScreenOn=0\n";

QByteArray readFile(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

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
    if (readFile(path) != kPrevious)
        return 12;
    return 0;
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
            if (!writeFile(folder + "/QS.INI", kPrevious))
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
            if (!writeFile(folder + "/QS.INI", kPrevious))
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
        const uid_t nobody = 65534;
        QVERIFY(QFile::setPermissions(
            m_dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                              QFileDevice::ReadOther | QFileDevice::ExeOther));
        const QString folder = m_dir.filePath("docs");
        const QString path = QDir::toNativeSeparators(folder + "/QS.INI");
        QVERIFY(QDir().mkpath(folder));
        if (fileMode >= 0) {
            QVERIFY(writeFile(path, kPrevious));
            QCOMPARE(::chmod(qPrintable(path), mode_t(fileMode)), 0);
            if (asRoot)
                QCOMPARE(::chown(qPrintable(path), nobody, nobody), 0);
        }
        if (asRoot)
            QCOMPARE(::chown(qPrintable(folder), nobody, nobody), 0);
        QCOMPARE(::chmod(qPrintable(folder), mode_t(folderMode)), 0);
        struct stat before = {};
        ::stat(qPrintable(path), &before);

        const pid_t pid = ::fork();
        if (pid == 0) {
            if (asRoot && (::setgroups(0, nullptr) != 0 || ::setgid(nobody) != 0 ||
                           ::setuid(nobody) != 0 || ::setuid(0) == 0))
                ::_exit(77);
            ClientFields fields;
            fields.setHost("10.0.0.7");
            const auto failure = SettingsFile(folder).write(fields);
            if (saved)
                ::_exit(failure ? 10 : 0);
            if (!failure)
                ::_exit(11);
            ::_exit(*failure == QStringLiteral("Unable to write to %1").arg(path) ? 0 : 12);
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
        ::chmod(qPrintable(folder), 0755);
        QVERIFY(WIFEXITED(status));
        if (WEXITSTATUS(status) == 77)
            QSKIP("cannot become the user nobody here");
        QCOMPARE(WEXITSTATUS(status), 0);

        QByteArray expected = kPrevious;
        if (saved)
            expected.replace("port=7000\nipserver=previous\nScreenOn=0",
                             "port=6000\nipserver=10.0.0.7\nScreenOn=1");
        QCOMPARE(readFile(path), fileMode >= 0 ? expected : QByteArray());
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

    void crashDuringClose() {
        // Closes that are killed at arbitrary moments, a bounded number of times: each time the
        // file holds either the previous settings or the new ones, whole, never a part.
        const QString path = m_dir.filePath("QS.INI");
        QVERIFY(writeFile(path, kPrevious));
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

            const QByteArray now = readFile(path);
            QByteArray next = kPrevious;
            next.replace("ipserver=previous", "ipserver=" + host.toLatin1());
            QVERIFY2(now == kPrevious || now == next,
                     qPrintable(QString("round %1: %2 bytes").arg(round).arg(now.size())));
            // Start each round from the previous settings again.
            QVERIFY(writeFile(path, kPrevious));
        }
    }
};

QTEST_GUILESS_MAIN(SettingsFaultsTest)
#include "tst_settings_faults.moc"
