// A second copy of lintrel finds the first one running: it hands over the files it was given
// and ends without a word or a window.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "SingleInstance.h"

class SingleInstanceTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void aSecondCopyWithoutFilesEndsSilently();
    void aSecondCopyHandsItsFilesToTheFirst();
    void aSecondPrimaryInTheSameFolderIsRefused();
    void aLockItCannotUnderstandIsTakenOver_data();
    void aLockItCannotUnderstandIsTakenOver();
    void aLockThatCannotBeTakenOverStillShowsTheWindow();
    void aDamagedLockStillShowsTheWindow();
    void aCopyEndedBySigtermLetsGoOfItsLock();

private:
    // lintrel's environment: its runtime and configuration folders in the test's folder.
    QProcessEnvironment programEnvironment() const;
    // Runs lintrel as a second copy; returns what it printed, which should be nothing.
    QByteArray runSecondCopy(const QStringList& arguments, const QString& folder);

    std::unique_ptr<QTemporaryDir> m_runtime;
    std::unique_ptr<lintrel::SingleInstance> m_first;
};

void SingleInstanceTest::init() {
    m_runtime = std::make_unique<QTemporaryDir>();
    m_first = std::make_unique<lintrel::SingleInstance>(m_runtime->path());
    QVERIFY(m_first->becomePrimary());
}

void SingleInstanceTest::cleanup() {
    // The first copy lets go of its lock before the folder holding it goes.
    m_first.reset();
    m_runtime.reset();
}

QProcessEnvironment SingleInstanceTest::programEnvironment() const {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_RUNTIME_DIR", m_runtime->path());
    environment.insert("XDG_CONFIG_HOME", m_runtime->path());
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    return environment;
}

QByteArray SingleInstanceTest::runSecondCopy(const QStringList& arguments, const QString& folder) {
    QProcess second;
    second.setProcessEnvironment(programEnvironment());
    second.setWorkingDirectory(folder);
    second.start(QStringLiteral(LINTREL_PROGRAM), arguments);
    // The first copy answers on this thread, so the wait must keep the event loop turning.
    QSignalSpy finished(&second, &QProcess::finished);
    if (!finished.wait(30000)) {
        second.kill();
        return "did not end";
    }
    if (second.exitStatus() != QProcess::NormalExit || second.exitCode() != 0) {
        return "ended with " + QByteArray::number(second.exitCode());
    }
    return second.readAllStandardOutput() + second.readAllStandardError();
}

void SingleInstanceTest::aSecondCopyWithoutFilesEndsSilently() {
    QSignalSpy handed(m_first.get(), &lintrel::SingleInstance::filesHandedOver);
    QCOMPARE(runSecondCopy({}, m_runtime->path()), QByteArray());
    QCoreApplication::processEvents();
    QCOMPARE(handed.size(), 0);
    QVERIFY(!QFileInfo::exists(m_runtime->filePath("lintrel/msdesksys.ini")));
}

void SingleInstanceTest::aSecondCopyHandsItsFilesToTheFirst() {
    QSignalSpy handed(m_first.get(), &lintrel::SingleInstance::filesHandedOver);
    QTemporaryDir drawings;

    QCOMPARE(runSecondCopy({"plan.dxf", "/elsewhere/b.dxf"}, drawings.path()), QByteArray());

    QTRY_COMPARE(handed.size(), 1);
    QCOMPARE(
        handed.front().front().value<QByteArrayList>(),
        (QByteArrayList{QFile::encodeName(drawings.filePath("plan.dxf")), "/elsewhere/b.dxf"}));
}

void SingleInstanceTest::aSecondPrimaryInTheSameFolderIsRefused() {
    lintrel::SingleInstance second(m_runtime->path());
    QVERIFY(!second.becomePrimary());
}

void SingleInstanceTest::aLockItCannotUnderstandIsTakenOver_data() {
    QTest::addColumn<QByteArray>("contents");  // of the lock file; "/" makes an empty folder
    QTest::newRow("a zero-byte lock") << QByteArray();
    QTest::newRow("a garbage lock") << QByteArray("\x01\x02 not a lock\n\n");
    QTest::newRow("a lock of another host") << QByteArray("4242\nlintrel\nnot-this-host\n");
    QTest::newRow("an empty folder in the lock's place") << QByteArray("/");
}

// Writes the lock as the row gives it into a runtime folder of its own.
static void placeLock(const QTemporaryDir& runtime, const QByteArray& contents) {
    const QString lock = runtime.filePath("lintrel.lock");
    if (contents == "/") {
        QVERIFY(QDir().mkdir(lock));
        return;
    }
    QFile file(lock);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(contents);
}

void SingleInstanceTest::aLockItCannotUnderstandIsTakenOver() {
    QFETCH(QByteArray, contents);
    QTemporaryDir runtime;
    placeLock(runtime, contents);
    lintrel::SingleInstance instance(runtime.path());
    QVERIFY(instance.becomePrimary());
    QVERIFY(instance.isPrimaryReachable());
}

void SingleInstanceTest::aLockThatCannotBeTakenOverStillShowsTheWindow() {
    QTemporaryDir runtime;
    QVERIFY(QDir(runtime.path()).mkpath("lintrel.lock/something"));
    lintrel::SingleInstance instance(runtime.path());
    QVERIFY(!instance.becomePrimary());
    QVERIFY(!instance.isPrimaryReachable());  // so start-up goes on to the window
}

void SingleInstanceTest::aDamagedLockStillShowsTheWindow() {
    QTemporaryDir runtime;
    placeLock(runtime, QByteArray());
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_RUNTIME_DIR", runtime.path());
    environment.insert("XDG_CONFIG_HOME", runtime.path());
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(LINTREL_PROGRAM), {});
    // The window's copy answers once it has taken the lock over and is listening.
    lintrel::SingleInstance later(runtime.path());
    QTRY_VERIFY_WITH_TIMEOUT(later.isPrimaryReachable(), 30000);
    QCOMPARE(program.state(), QProcess::Running);
    program.kill();
    program.waitForFinished();
}

void SingleInstanceTest::aCopyEndedBySigtermLetsGoOfItsLock() {
    m_first.reset();
    const QString lockFile = m_runtime->filePath("lintrel.lock");
    QProcess program;
    program.setProcessEnvironment(programEnvironment());
    program.start(QStringLiteral(LINTREL_PROGRAM), {});
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(lockFile), 30000);

    program.terminate();  // SIGTERM
    QVERIFY(program.waitForFinished(30000));

    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QVERIFY(!QFileInfo::exists(lockFile));
}

QTEST_MAIN(SingleInstanceTest)
#include "SingleInstanceTest.moc"
