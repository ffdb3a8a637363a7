// tavro-print: renders a document to a PDF, and its layout to JSON, for `tavro-cli print`. It draws
// with the offscreen platform, so it needs no display.
#include "cli/CliSupport.h"
#include "common/DataPaths.h"
#include "common/FileSave.h"
#include "platform/qt/QtPorts.h"
#include "print/PrintSupport.h"
#include "reports/LayoutRecorder.h"
#include "reports/render/PdfPrintTarget.h"

#include <QGuiApplication>
#include <QJsonDocument>
#include <QRegularExpression>

#include <cstdio>

using namespace tavro;
using namespace tavro::print;

namespace {

int usageText(const QString &message) {
    QStringList names;
    for (const Document &d : documents())
        names.append(d.name + (d.needs.isEmpty() ? QString() : u' ' + d.needs));
    return cli::usage(message + QStringLiteral("\n文書: ") + names.join(QStringLiteral(", ")));
}

} // namespace

int main(int argc, char *argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    tavro::useBinaryStandardStreams();
    QStringList args = QCoreApplication::arguments();
    if (args.size() < 2 || args[1].startsWith(u'-'))
        return usageText(QStringLiteral("print の後に文書の名前を指定してください。"));
    const QString name = args[1];
    args.removeAt(1);
    const Document *document = nullptr;
    for (const Document &d : documents())
        if (d.name == name)
            document = &d;
    if (!document)
        return usageText(QStringLiteral("文書「%1」はありません。").arg(name));

    QCommandLineParser parser;
    const QCommandLineOption data = cli::dataOption();
    const QCommandLineOption year = cli::yearOption();
    const QCommandLineOption grade = cli::gradeOption();
    const QCommandLineOption test(QStringLiteral("test"), QStringLiteral("テストの記号"),
                                  QStringLiteral("CODE"));
    const QCommandLineOption subject(QStringLiteral("subject"), QStringLiteral("教科"), QStringLiteral("S"));
    const QCommandLineOption teacher(QStringLiteral("teacher"), QStringLiteral("教師名"),
                                     QStringLiteral("T"));
    const QCommandLineOption elective(QStringLiteral("elective"), QStringLiteral("選択教科"));
    const QCommandLineOption period = cli::periodOption();
    const QCommandLineOption classes(QStringLiteral("classes"), QStringLiteral("組 (例 1,2)"),
                                     QStringLiteral("LIST"));
    const QCommandLineOption range(QStringLiteral("range"), QStringLiteral("範囲 A-B"),
                                   QStringLiteral("A-B"));
    const QCommandLineOption now(QStringLiteral("now"), QStringLiteral("印刷日時 (YYYY-MM-DDTHH:MM:SS)"),
                                 QStringLiteral("DATETIME"));
    const QCommandLineOption pdf(QStringLiteral("pdf"), QStringLiteral("出力する PDF"),
                                 QStringLiteral("FILE"));
    const QCommandLineOption layout(
        QStringLiteral("layout"), QStringLiteral("描いた内容の JSON (- は標準出力)"), QStringLiteral("FILE"));
    const QCommandLineOption dpi(QStringLiteral("dpi"), QStringLiteral("解像度 (既定 600)"),
                                 QStringLiteral("N"));
    parser.addOptions(
        {data, year, grade, test, subject, teacher, elective, period, classes, range, now, pdf, layout, dpi});
    int status = cli::kOk;
    if (!cli::parse(parser, args, status))
        return status;

    PrintArgs a;
    if (!cli::readYear(parser, year, a.nendo, status) ||
        !cli::readDataFolder(parser, data, a.dataFolder, status))
        return status;
    a.dataFolder = paths::withTrailingSeparator(a.dataFolder);
    bool ok = false;
    a.grade = parser.value(grade).toInt(&ok);
    if (!ok || a.grade < 1 || a.grade > 6)
        return cli::usage(QStringLiteral("--grade には学年を 1 から 6 までの数で指定してください。"));
    a.test = parser.value(test);
    a.subject = parser.value(subject);
    a.teacher = parser.value(teacher);
    a.elective = parser.isSet(elective);
    a.period = parser.isSet(period) ? parser.value(period).toInt() : 0;
    a.classes = parser.value(classes);
    a.classesGiven = parser.isSet(classes);
    if (parser.isSet(range)) {
        const QRegularExpressionMatch m =
            QRegularExpression(QStringLiteral("^(\\d+)-(\\d+)$")).match(parser.value(range));
        if (!m.hasMatch())
            return cli::usage(QStringLiteral("--range は A-B の形で指定してください。"));
        a.rangeFrom = m.captured(1).toInt();
        a.rangeTo = m.captured(2).toInt();
    }
    a.now = parser.isSet(now) ? QDateTime::fromString(parser.value(now), Qt::ISODate)
                              : QDateTime::currentDateTime();
    if (!a.now.isValid())
        return cli::usage(QStringLiteral("--now は YYYY-MM-DDTHH:MM:SS の形で指定してください。"));
    if (!parser.isSet(pdf))
        return cli::usage(QStringLiteral("--pdf で出力するファイルを指定してください。"));
    const int resolution = parser.isSet(dpi) ? parser.value(dpi).toInt(&ok) : 600;
    if (!ok || resolution < 72 || resolution > 2400)
        return cli::usage(QStringLiteral("--dpi には 72 から 2400 までの数を指定してください。"));

    PdfPrintTarget file(parser.value(pdf), resolution);
    file.setPageRange(a.rangeFrom, a.rangeTo);
    reports::RecordingPrintTarget recorder(&file, resolution);
    const int result = document->print(a, recorder);
    if (result != 0 || !parser.isSet(layout))
        return result;
    const QByteArray json = QJsonDocument(recorder.layout()).toJson(QJsonDocument::Indented);
    if (parser.value(layout) == QLatin1String("-")) {
        std::fwrite(json.constData(), 1, std::size_t(json.size()), stdout);
        return 0;
    }
    QString error;
    if (!saveFileAtomically(parser.value(layout), json, &error))
        return cli::userError(error);
    return 0;
}
