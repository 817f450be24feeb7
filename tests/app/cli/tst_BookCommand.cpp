#include "BookCommand.h"

#include "BookTestTree.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

namespace {

// RFC 4180 with ";" between fields: the records of Text.
QList<QStringList> ParseCsv(const QString &AText)
{
    QList<QStringList> records;
    QStringList record;
    QString field;
    bool quoted = false;
    for (int i = 0; i < AText.size(); ++i) {
        const QChar c = AText.at(i);
        if (quoted) {
            if (c == '"' && i + 1 < AText.size() && AText.at(i + 1) == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ';') {
            record << field;
            field.clear();
        } else if (c == '\r' && i + 1 < AText.size() && AText.at(i + 1) == '\n') {
            record << field;
            records << record;
            record.clear();
            field.clear();
            ++i;
        } else {
            field += c;
        }
    }
    return records;
}

} // namespace

class TestBookCommand : public QObject
{
    Q_OBJECT

    QTemporaryDir FDir{AccentedTemporaryPattern()};
    TBookTestTree FTree;

    int Run(const QString &AFolder, TBookFormat AFormat, QString *AOut, QString *AErr = nullptr)
    {
        TBookCommand command;
        command.Folder = AFolder;
        command.Format = AFormat;
        QString err;
        QTextStream out(AOut), e(&err);
        const int code = RunBookCommand(command, out, e);
        out.flush();
        e.flush();
        if (AErr)
            *AErr = err;
        return code;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(FDir.isValid());
        QVERIFY(FTree.Build(FDir.path()));
        qputenv("ZEDEDE_AUTORIDADES", FTree.Authorities.toLocal8Bit());
    }

    void csvFieldByField()
    {
        QString out, err;
        QCOMPARE(Run(FTree.Tree, TBookFormat::Csv, &out, &err), int(beAttention));
        QVERIFY(out.startsWith(QChar(0xFEFF)));
        QVERIFY(out.endsWith("\r\n"));
        const QList<QStringList> records = ParseCsv(out.mid(1));
        QCOMPARE(records.first().join(';'),
                 QString("estado;cuit;titular;organizacion;ambiente;vence;dias;clave;pedido;certificado"));
        QCOMPARE(records.size(), 1 + 14);
        QMap<QString, QStringList> byRequest;
        QMap<QString, int> lineOf;
        for (const QStringList &r : records.mid(1)) {
            QCOMPARE(r.size(), 10);
            byRequest.insert(r.at(8), r);
            lineOf.insert(r.at(8), int(lineOf.size()));
        }
        const QDate today = QDateTime::currentDateTimeUtc().date();
        const QStringList vigente = byRequest.value(FTree.Files["vigente"]["req"]);
        QCOMPARE(vigente.at(0), QString("vigente"));
        QCOMPARE(vigente.at(1), QString("20123456786"));
        QCOMPARE(vigente.at(2), QString("alias1"));
        QCOMPARE(vigente.at(3), QString("Vigente SA"));
        QCOMPARE(vigente.at(4), QString("produccion"));
        QCOMPARE(vigente.at(5), today.addDays(200).toString("yyyy-MM-dd"));
        QVERIFY(vigente.at(6).toInt() >= 199 && vigente.at(6).toInt() <= 200);
        QCOMPARE(vigente.at(7), FTree.Files["vigente"]["key"]);
        QCOMPARE(vigente.at(9), FTree.Files["vigente"]["crt"]);
        const QStringList expired = byRequest.value(FTree.Files["vencido"]["req"]);
        QCOMPARE(expired.at(0), QString("vencido"));
        QVERIFY(expired.at(6).toInt() < 0);
        // Quoted: a ";" and quotes in the company; no certificate: empty fields.
        const QStringList pending = byRequest.value(FTree.Files["pedido-pendiente"]["req"]);
        QCOMPARE(pending.at(0), QString("pedido-pendiente"));
        QCOMPARE(pending.at(3), QString("Nueva; \"Coop\" Ltda"));
        QVERIFY(out.contains("\"Nueva; \"\"Coop\"\" Ltda\""));
        QCOMPARE(pending.mid(4, 3), QStringList({"", "", ""}));
        QCOMPARE(pending.at(9), QString());
        QCOMPARE(byRequest.value(FTree.Files["sin-clave"]["req"]).at(7), QString());
        QCOMPARE(byRequest.value(FTree.Files["homologacion"]["req"]).at(4), QString("homologacion"));
        QCOMPARE(byRequest.value(FTree.Files["otro"]["req"]).at(4), QString("otro"));
        QCOMPARE(byRequest.value(FTree.Files["clave-dañada"]["req"]).at(0), QString("clave-dañada"));
        // A renewal under way: its key and request, no certificate, on the
        // line after the certificate it is to replace.
        const QStringList renewal = byRequest.value(FTree.Files["renovacion"]["req"]);
        QCOMPARE(renewal.at(0), QString("pedido-pendiente"));
        QCOMPARE(renewal.mid(1, 3), QStringList({"30500010912", "alias2", "Pronto SRL"}));
        QCOMPARE(renewal.at(7), FTree.Files["renovacion"]["key"]);
        QCOMPARE(renewal.at(9), QString());
        QCOMPARE(byRequest.value(FTree.Files["por-vencer"]["req"]).at(0), QString("por-vencer"));
        QCOMPARE(lineOf.value(FTree.Files["renovacion"]["req"]),
                 lineOf.value(FTree.Files["por-vencer"]["req"]) + 1);
        // The skipped huge file is a note on standard error, not a row.
        QVERIFY(err.contains("enorme.crt"));
    }

    void exitCodes()
    {
        QString out;
        QCOMPARE(Run(FDir.path() + "/no-existe", TBookFormat::Table, &out), int(beUnreadable));
        QVERIFY(out.isEmpty());
        QTemporaryDir calm;
        QCOMPARE(Run(calm.path(), TBookFormat::Table, &out), int(beOk));
        // Only a valid certificate, a replaced one and a pending request: 0.
        for (const QString &c : {"vigente", "reemplazado", "reemplazante", "pedido-pendiente"})
            for (const QString &f : FTree.Files.value(c))
                QVERIFY(QFile::copy(f, calm.path() + "/" + c + "-" + QFileInfo(f).fileName()));
        out.clear();
        QCOMPARE(Run(calm.path(), TBookFormat::Csv, &out), int(beOk));
        QCOMPARE(out.count("\r\n"), 1 + 4);
        for (const QString &c : {"por-vencer", "vencido", "sin-clave", "clave-dañada", "falsificado"}) {
            QTemporaryDir one;
            for (const QString &f : FTree.Files.value(c))
                QVERIFY(QFile::copy(f, one.path() + "/" + QFileInfo(f).fileName()));
            QCOMPARE(Run(one.path(), TBookFormat::Table, &out), int(beAttention));
        }
    }

    void tableIsAlignedAndEscaped()
    {
        QTemporaryDir dir;
        const QString key = dir.path() + "/Privada_x.key";
        QVERIFY(QFile::copy(FTree.Files["pedido-pendiente"]["key"], key));
        QVERIFY(MakeRequest(key, QString::fromUtf8("/C=AR/O=A\xe2\x80\xae" "B\x1b[2J/CN=x"), dir.path() + "/Pedido_x.req"));
        QString out;
        QCOMPARE(Run(dir.path(), TBookFormat::Table, &out), int(beOk));
        QVERIFY2(out.contains("A\\u202EB\\u001B[2J"), qPrintable(out));
        QVERIFY(!out.contains(QChar(0x1B)) && !out.contains(QChar(0x202E)));
        out.clear();
        Run(FTree.Tree, TBookFormat::Table, &out);
        const QStringList lines = out.split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 1 + 14);
        // The renewal's line, after its certificate's, says whose it is.
        int renewed = -1;
        for (int i = 0; i < lines.size(); ++i)
            if (lines.at(i).contains(QDir::toNativeSeparators(FTree.Files["por-vencer"]["crt"])))
                renewed = i;
        QVERIFY(renewed > 0 && renewed + 1 < lines.size());
        QVERIFY2(lines.at(renewed).startsWith("por-vencer ")
                     && lines.at(renewed).endsWith("(renovación pendiente en «Renovación 2026-03-14»)"),
                 qPrintable(lines.at(renewed)));
        QVERIFY2(lines.at(renewed + 1).startsWith("pedido-pendiente ")
                     && lines.at(renewed + 1).endsWith(QDir::toNativeSeparators(FTree.Files["renovacion"]["req"])
                                                       + " (renovación de alias2.crt)"),
                 qPrintable(lines.at(renewed + 1)));
        const int cuitAt = lines.first().indexOf("CUIT");
        for (const QString &l : lines.mid(1))
            QVERIFY2(l.at(cuitAt - 1) == ' ' && l.at(cuitAt) != ' ', qPrintable(l));
    }

    void theProgram()
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("ZEDEDE_AUTORIDADES", FTree.Authorities);
        p.setProcessEnvironment(env);
        p.start(ZEDEDE_PROGRAM, {"--certificados", FTree.Tree, "--sin-ventana", "--formato", "csv"});
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitCode(), 1);
        QVERIFY(p.readAllStandardOutput().startsWith("\xEF\xBB\xBF" "estado;cuit;"));
        p.start(ZEDEDE_PROGRAM, {"--certificados", FDir.path() + "/no-existe", "--sin-ventana"});
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitCode(), 2);
        QVERIFY(p.readAllStandardError().contains("no existe"));
        p.start(ZEDEDE_PROGRAM, {"--help"});
        QVERIFY(p.waitForFinished(60000));
        QVERIFY(p.readAllStandardOutput().contains("--certificados"));
    }
};

QTEST_GUILESS_MAIN(TestBookCommand)
#include "tst_BookCommand.moc"
