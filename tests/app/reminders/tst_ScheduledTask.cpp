// The Task Scheduler task of a folder's check: its name, its definition and
// the parameter lines of schtasks.exe.
#include "Process.h"
#include "ScheduledTask.h"

#include <QMap>
#include <QXmlStreamReader>
#include <QtTest>

class TestScheduledTask : public QObject
{
    Q_OBJECT
private slots:
    void names();
    void definition_data();
    void definition();
    void parameterLines();
};

void TestScheduledTask::names()
{
    const QString name = ScheduledTaskName(QStringLiteral("OFICINA\\ana"), QStringLiteral("C:\\Certificados"));
    QVERIFY(QRegularExpression(QStringLiteral("^zedede-avisos-[0-9a-f]{12}$")).match(name).hasMatch());
    // Windows does not tell "C:\certificados" from "c:\CERTIFICADOS".
    QCOMPARE(ScheduledTaskName(QStringLiteral("oficina\\ANA"), QStringLiteral("c:\\CERTIFICADOS")), name);
    // Every user's tasks share one list.
    QVERIFY(ScheduledTaskName(QStringLiteral("OFICINA\\beto"), QStringLiteral("C:\\Certificados")) != name);
    QVERIFY(ScheduledTaskName(QStringLiteral("OFICINA\\ana"), QStringLiteral("C:\\Certificados2")) != name);
}

void TestScheduledTask::definition_data()
{
    QTest::addColumn<QString>("folder");
    QTest::newRow("plain") << QStringLiteral("C:\\Users\\ana\\Mis certificados");
    QTest::newRow("awkward") << QStringLiteral("C:\\Users\\Ana Pérez\\Cía & <Hijos> 100% $x 'y'");
    QTest::newRow("drive") << QStringLiteral("D:\\");
    QTest::newRow("share") << QStringLiteral("\\\\servidor\\certificados de todos\\");
}

// Element texts by path, e.g. "Task/Triggers/LogonTrigger/UserId".
static QMap<QString, QString> ElementTexts(const QString &Xml, QString &Error)
{
    QMap<QString, QString> texts;
    QXmlStreamReader reader(Xml);
    QStringList path;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement()) {
            path << reader.name().toString();
        } else if (reader.isEndElement()) {
            path.removeLast();
        } else if (reader.isCharacters() && !reader.isWhitespace()) {
            texts[path.join(QLatin1Char('/'))] += reader.text().toString();
        }
    }
    if (reader.hasError())
        Error = reader.errorString();
    return texts;
}

void TestScheduledTask::definition()
{
    QFETCH(QString, folder);
    TScheduledTask task;
    task.Name = ScheduledTaskName(QStringLiteral("OFICINA\\ana"), folder);
    task.UserId = QStringLiteral("OFICINA\\ana");
    task.Program = QStringLiteral("C:\\Program Files\\ZeDede & Cía\\ZeDede.exe");
    task.Folder = folder;
    const QString xml = ScheduledTaskXml(task);
    QVERIFY(xml.startsWith(QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n<Task version=\"1.2\" "
                                          "xmlns=\"http://schemas.microsoft.com/windows/2004/02/mit/task\">")));
    QString error;
    const QMap<QString, QString> texts = ElementTexts(xml, error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(texts.value(QStringLiteral("Task/Triggers/CalendarTrigger/ScheduleByDay/DaysInterval")), QStringLiteral("1"));
    QCOMPARE(texts.value(QStringLiteral("Task/Triggers/CalendarTrigger/Enabled")), QStringLiteral("true"));
    QVERIFY(!texts.value(QStringLiteral("Task/Triggers/CalendarTrigger/StartBoundary")).isEmpty());
    QCOMPARE(texts.value(QStringLiteral("Task/Triggers/LogonTrigger/UserId")), QStringLiteral("OFICINA\\ana"));
    QCOMPARE(texts.value(QStringLiteral("Task/Triggers/LogonTrigger/Enabled")), QStringLiteral("true"));
    QCOMPARE(texts.value(QStringLiteral("Task/Principals/Principal/UserId")), QStringLiteral("OFICINA\\ana"));
    QCOMPARE(texts.value(QStringLiteral("Task/Principals/Principal/LogonType")), QStringLiteral("InteractiveToken"));
    QCOMPARE(texts.value(QStringLiteral("Task/Principals/Principal/RunLevel")), QStringLiteral("LeastPrivilege"));
    QCOMPARE(texts.value(QStringLiteral("Task/Settings/StartWhenAvailable")), QStringLiteral("true"));
    QCOMPARE(texts.value(QStringLiteral("Task/Settings/DisallowStartIfOnBatteries")), QStringLiteral("false"));
    QCOMPARE(texts.value(QStringLiteral("Task/Actions/Exec/Command")), task.Program);
    // The arguments as the program will split them.
    QCOMPARE(SplitCommandLine(texts.value(QStringLiteral("Task/Actions/Exec/Arguments"))),
             (QStringList{QStringLiteral("--certificados"), folder, QStringLiteral("--avisar")}));
    QVERIFY(texts.value(QStringLiteral("Task/RegistrationInfo/Description")).contains(folder));
}

void TestScheduledTask::parameterLines()
{
    const QString name = QStringLiteral("zedede-avisos-0123456789ab");
    const QString xml = QStringLiteral("C:\\Users\\Ana Pérez\\AppData\\Local\\Temp\\x\\tarea.xml");
    QCOMPARE(SchtasksCreateParameters(name, xml),
             QStringLiteral("/Create /F /TN \"zedede-avisos-0123456789ab\" /XML \"%1\"").arg(xml));
    QCOMPARE(SplitCommandLine(SchtasksCreateParameters(name, xml)),
             (QStringList{QStringLiteral("/Create"), QStringLiteral("/F"), QStringLiteral("/TN"), name,
                          QStringLiteral("/XML"), xml}));
    QCOMPARE(SchtasksDeleteParameters(name), QStringLiteral("/Delete /F /TN \"zedede-avisos-0123456789ab\""));
    QCOMPARE(SchtasksQueryParameters(name), QStringLiteral("/Query /TN \"zedede-avisos-0123456789ab\""));
}

QTEST_GUILESS_MAIN(TestScheduledTask)
#include "tst_ScheduledTask.moc"
