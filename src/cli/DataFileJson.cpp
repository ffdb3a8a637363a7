#include "cli/DataFileJson.h"

#include "common/Cp932.h"
#include "common/DataPaths.h"
#include "common/FileSave.h"
#include "evaluation/ClassResultFile.h"
#include "evaluation/ElectiveResultFile.h"
#include "evaluation/WorksheetFile.h"
#include "testscores/TestScoreFile.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <charconv>
#include <cmath>

namespace tavro::cli {

namespace {

// ---- JSON text ----

void appendString(QByteArray &out, const QString &text) {
    out += '"';
    const QByteArray utf8 = text.toUtf8();
    for (char ch : utf8) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += ch;
        } else if (c < 0x20) {
            static const char hex[] = "0123456789abcdef";
            switch (c) {
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                out += "\\u00";
                out += hex[c >> 4];
                out += hex[c & 15];
            }
        } else {
            out += ch;
        }
    }
    out += '"';
}

void appendInt(QByteArray &out, qint64 v) {
    out += QByteArray::number(v);
}

// The shortest text that reads back to the same value; JSON has no NaN or infinity: null.
template <typename T> void appendReal(QByteArray &out, T v) {
    if (!std::isfinite(v)) {
        out += "null";
        return;
    }
    char buf[64];
    const auto result = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, result.ptr - buf);
}

// A JSON list written entry by entry, one per line.
class List {
public:
    QByteArray &next() {
        m_text += m_count++ ? ",\n    " : "\n    ";
        return m_text;
    }
    QByteArray finish() const { return m_count ? "[" + m_text + "\n  ]" : QByteArray("[]"); }

private:
    QByteArray m_text;
    int m_count = 0;
};

// Top-level members, each on its own line.
class Document {
public:
    void member(const char *key, const QByteArray &value) {
        m_text += m_text.isEmpty() ? "{\n  \"" : ",\n  \"";
        m_text += key;
        m_text += "\": ";
        m_text += value;
    }
    QByteArray finish() const { return m_text + "\n}\n"; }

private:
    QByteArray m_text;
};

QByteArray stringValue(const QString &text) {
    QByteArray out;
    appendString(out, text);
    return out;
}

QByteArray dateTimesValue(const std::array<double, kPeriods> &dates) {
    QByteArray out = "[";
    for (int k = 0; k < kPeriods; ++k) {
        if (k)
            out += ", ";
        appendReal(out, dates[std::size_t(k)]);
    }
    return out + "]";
}

// ---- dump ----

struct WorksheetDump {
    Worksheet model;
    List itemRatios, viewpointRatios, scores;

    void name(int item, const char *d, int n) { model.item(item).name = format::decodeText(d, n); }
    void kind(int item, std::int32_t v) { model.item(item).kind = v; }
    void link(int item, std::int32_t v) { model.item(item).link = v; }
    void formula(int item, const char *d, int n) { model.item(item).formula = format::decodeText(d, n); }
    void protection(int item, std::uint8_t v) { model.item(item).protection = v; }
    void fullScore(int item, std::int32_t v) { model.item(item).fullScore = v; }
    void itemRatio(int item, int k, int v, std::int32_t r) {
        QByteArray &o = itemRatios.next();
        o += "{\"item\": " + QByteArray::number(item) + ", \"period\": " + QByteArray::number(k) +
             ", \"viewpoint\": " + QByteArray::number(v) + ", \"ratio\": " + QByteArray::number(r) + "}";
    }
    void viewpointRatio(int k, int v, std::int32_t r) {
        QByteArray &o = viewpointRatios.next();
        o += "{\"period\": " + QByteArray::number(k) + ", \"viewpoint\": " + QByteArray::number(v) +
             ", \"ratio\": " + QByteArray::number(r) + "}";
    }
    void score(int item, int cls, int number, std::int32_t s) {
        char buf[96];
        const int n =
            std::snprintf(buf, sizeof buf, "{\"item\": %d, \"class\": %d, \"number\": %d, \"score\": %d}",
                          item, cls, number, int(s));
        scores.next().append(buf, n);
    }
};

struct ClassResultDump {
    List evaluations, percentages, marks, viewpointPercentages, comments;
    std::array<double, kPeriods> dates{};

    static QByteArray keys(int k, int n) {
        return "{\"period\": " + QByteArray::number(k) + ", \"number\": " + QByteArray::number(n);
    }
    void evaluation(int k, int n, const char *d, int size) {
        QByteArray &o = evaluations.next();
        o += keys(k, n) + ", \"text\": ";
        appendString(o, format::decodeText(d, size));
        o += '}';
    }
    void percentage(int k, int n, float v) {
        QByteArray &o = percentages.next();
        o += keys(k, n) + ", \"value\": ";
        appendReal(o, v);
        o += '}';
    }
    void mark(int k, int n, int v, const char *d, int size) {
        QByteArray &o = marks.next();
        o += keys(k, n) + ", \"viewpoint\": " + QByteArray::number(v) + ", \"text\": ";
        appendString(o, format::decodeText(d, size));
        o += '}';
    }
    void viewpointPercentage(int k, int n, int v, float p) {
        QByteArray &o = viewpointPercentages.next();
        o += keys(k, n) + ", \"viewpoint\": " + QByteArray::number(v) + ", \"value\": ";
        appendReal(o, p);
        o += '}';
    }
    void comment(int k, int n, const char *d, int size) {
        QByteArray &o = comments.next();
        o += keys(k, n) + ", \"text\": ";
        appendString(o, format::decodeText(d, size));
        o += '}';
    }
    void dateTime(int k, double v) { dates[std::size_t(k - 1)] = v; }
};

struct ElectiveResultDump {
    List records, comments;
    std::array<double, kPeriods> dates{};

    static QByteArray keys(int k, int c, int n) {
        return "{\"period\": " + QByteArray::number(k) + ", \"class\": " + QByteArray::number(c) +
               ", \"number\": " + QByteArray::number(n);
    }
    void record(int k, int c, int n, const SentakuRecord &r) {
        QByteArray &o = records.next();
        o += keys(k, c, n) + ", \"percentage\": ";
        appendReal(o, r.percentage);
        o += ", \"evaluation\": ";
        appendString(o, format::decodeText(r.evaluation));
        o += ", \"viewpointPercentages\": [";
        for (int v = 0; v < kViewpoints; ++v) {
            if (v)
                o += ", ";
            appendReal(o, r.viewpointPercentages[v]);
        }
        o += "], \"marks\": [";
        for (int v = 0; v < kViewpoints; ++v) {
            if (v)
                o += ", ";
            appendString(o, format::decodeText(r.marks[v]));
        }
        o += "]}";
    }
    void comment(int k, int c, int n, const char *d, int size) {
        QByteArray &o = comments.next();
        o += keys(k, c, n) + ", \"text\": ";
        appendString(o, format::decodeText(d, size));
        o += '}';
    }
    void dateTime(int k, double v) { dates[std::size_t(k - 1)] = v; }
};

QByteArray intArray(const TestScoreRecord &values) {
    QByteArray out = "[";
    for (int f = 0; f < kTestFields; ++f) {
        if (f)
            out += ", ";
        appendInt(out, values[std::size_t(f)]);
    }
    return out + "]";
}

// ---- load ----

class In {
public:
    QString error;

    bool fail(const QString &where, const QString &what) {
        error = where.isEmpty() ? what : where + QStringLiteral(": ") + what;
        return false;
    }
    bool object(const QJsonValue &v, const QString &where, QJsonObject &o) {
        if (!v.isObject())
            return fail(where, QStringLiteral("オブジェクトではありません。"));
        o = v.toObject();
        return true;
    }
    // An optional list (absent: empty).
    bool list(const QJsonObject &o, const char *key, QJsonArray &a) {
        const QJsonValue v = o.value(QLatin1String(key));
        if (v.isUndefined()) {
            a = QJsonArray();
            return true;
        }
        if (!v.isArray())
            return fail(QString::fromLatin1(key), QStringLiteral("配列ではありません。"));
        a = v.toArray();
        return true;
    }
    bool integer(const QJsonValue &v, const QString &where, qint64 lo, qint64 hi, int &out) {
        const double d = v.toDouble(std::nan(""));
        if (!v.isDouble() || d != std::floor(d) || d < double(lo) || d > double(hi))
            return fail(
                where,
                QStringLiteral("%1 から %2 までの整数にしてください。(値: %3)").arg(lo).arg(hi).arg(show(v)));
        out = int(d);
        return true;
    }
    bool integer(const QJsonObject &o, const char *key, const QString &where, qint64 lo, qint64 hi, int &out,
                 bool required = true) {
        const QJsonValue v = o.value(QLatin1String(key));
        if (v.isUndefined() && !required)
            return true;
        return integer(v, where + u'.' + QLatin1String(key), lo, hi, out);
    }
    bool real(const QJsonValue &v, const QString &where, double lo, double hi, double &out) {
        if (!v.isDouble() || !(v.toDouble() >= lo && v.toDouble() <= hi))
            return fail(
                where,
                QStringLiteral("%1 から %2 までの数にしてください。(値: %3)").arg(lo).arg(hi).arg(show(v)));
        out = v.toDouble();
        return true;
    }
    bool percentage(const QJsonValue &v, const QString &where, float &out) {
        double d = 0;
        if (!real(v, where, -1.0, 1.0e6, d))
            return false;
        out = float(d);
        return true;
    }
    bool text(const QJsonValue &v, const QString &where, int maxBytes, QString &out) {
        if (!v.isString())
            return fail(where, QStringLiteral("文字列ではありません。(値: %1)").arg(show(v)));
        out = v.toString();
        if (out.contains(QChar(0)))
            return fail(where, QStringLiteral("文字コード0の文字は保存できません。"));
        QByteArray bytes;
        if (!cp932::encode(out, bytes))
            return fail(where, QStringLiteral("Shift-JISで保存できない文字「%1」があります。")
                                   .arg(cp932::firstUnencodable(out)));
        if (bytes.size() > maxBytes)
            return fail(where,
                        QStringLiteral("%1バイトを超えています。(%2バイト)").arg(maxBytes).arg(bytes.size()));
        return true;
    }
    bool text(const QJsonObject &o, const char *key, const QString &where, int maxBytes, QString &out,
              bool required = true) {
        const QJsonValue v = o.value(QLatin1String(key));
        if (v.isUndefined() && !required)
            return true;
        return text(v, where + u'.' + QLatin1String(key), maxBytes, out);
    }
    bool dateTimes(const QJsonObject &o, std::array<double, kPeriods> &dates) {
        const QJsonValue v = o.value(QLatin1String("dateTimes"));
        if (v.isUndefined())
            return true;
        const QJsonArray a = v.toArray();
        if (!v.isArray() || a.size() != kPeriods)
            return fail(QStringLiteral("dateTimes"), QStringLiteral("5つの数の配列にしてください。"));
        for (int k = 0; k < kPeriods; ++k)
            if (!real(a[k], QStringLiteral("dateTimes[%1]").arg(k), -700000.0, 2958466.0,
                      dates[std::size_t(k)]))
                return false;
        return true;
    }
    bool version(const QJsonObject &o) {
        int version = kFormatVersion;
        if (!integer(o, "version", QStringLiteral("version"), kFormatVersion, kFormatVersion, version, false))
            return fail(QString(), QStringLiteral("version は %1 だけを書き込めます。").arg(kFormatVersion));
        return true;
    }

    static QString show(const QJsonValue &v) {
        if (v.isUndefined())
            return QStringLiteral("なし");
        const QJsonArray wrapped{v};
        const QByteArray text = QJsonDocument(wrapped).toJson(QJsonDocument::Compact);
        return QString::fromUtf8(text.mid(1, text.size() - 2));
    }
};

QString at(const char *list, qsizetype index) {
    return QStringLiteral("%1[%2]").arg(QLatin1String(list)).arg(index);
}

bool worksheetFromJson(const QJsonObject &doc, QByteArray &bytes, In &in) {
    Worksheet w;
    QJsonArray a;
    if (!in.version(doc) || !in.list(doc, "items", a))
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        const QString where = at("items", i);
        QJsonObject o;
        int item = 0, kind = 0, link = 0, prot = 0, full = 0;
        if (!in.object(a[i], where, o) || !in.integer(o, "item", where, 1, kMaxItems, item))
            return false;
        WorksheetItem &it = w.item(item);
        if (!in.text(o, "name", where, kMaxTextBytes, it.name, false) ||
            !in.integer(o, "kind", where, 0, 4, kind, false) ||
            !in.integer(o, "link", where, 0, 999, link, false) ||
            !in.text(o, "formula", where, kMaxTextBytes, it.formula, false) ||
            !in.integer(o, "protected", where, 0, 255, prot, false) ||
            !in.integer(o, "fullScore", where, 0, score::kMaxScore, full, false))
            return false;
        it.kind = kind;
        it.link = link;
        it.protection = std::uint8_t(prot);
        it.fullScore = full;
    }
    if (!in.list(doc, "itemRatios", a))
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        const QString where = at("itemRatios", i);
        QJsonObject o;
        int item = 0, k = 0, v = 0, r = 0;
        if (!in.object(a[i], where, o) || !in.integer(o, "item", where, 1, kMaxItems, item) ||
            !in.integer(o, "period", where, 1, kPeriods, k) ||
            !in.integer(o, "viewpoint", where, 1, kViewpoints, v) ||
            !in.integer(o, "ratio", where, 0, 999, r))
            return false;
        w.itemRatio(item, k, v) = r;
    }
    if (!in.list(doc, "viewpointRatios", a))
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        const QString where = at("viewpointRatios", i);
        QJsonObject o;
        int k = 0, v = 0, r = 0;
        if (!in.object(a[i], where, o) || !in.integer(o, "period", where, 1, kPeriods, k) ||
            !in.integer(o, "viewpoint", where, 1, kViewpoints, v) ||
            !in.integer(o, "ratio", where, 0, 999, r))
            return false;
        w.viewpointRatio(k, v) = r;
    }
    if (!in.list(doc, "scores", a))
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        const QString where = at("scores", i);
        QJsonObject o;
        int item = 0, c = 0, n = 0, s = 0;
        if (!in.object(a[i], where, o) || !in.integer(o, "item", where, 1, kMaxItems, item) ||
            !in.integer(o, "class", where, 1, kMaxClasses, c) ||
            !in.integer(o, "number", where, 1, kSeatsPerClass, n) ||
            !in.integer(o, "score", where, score::estimate(score::kMaxAggregate), score::kMaxAggregate, s))
            return false;
        if (!score::isValidCode(s, w.item(item).kind == itemkind::kAggregate))
            return in.fail(where + QStringLiteral(".score"),
                           QStringLiteral("得点のコードではありません。(値: %1)").arg(s));
        w.score(item, c, n) = s;
    }
    QString error;
    if (!WorksheetFile::serialize(w, bytes, &error))
        return in.fail(QString(), error);
    return true;
}

bool classResultFromJson(const QJsonObject &doc, QByteArray &bytes, In &in) {
    constexpr int cls = 1; // the class is in the file name, not in the file
    EvaluationResults r;
    QJsonArray a;
    auto keys = [&](const QJsonValue &value, const QString &where, QJsonObject &o, int &k, int &n) {
        return in.object(value, where, o) && in.integer(o, "period", where, 1, kPeriods, k) &&
               in.integer(o, "number", where, 1, kSeatsPerClass, n);
    };
    if (!in.version(doc) || !in.list(doc, "evaluations", a))
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        QJsonObject o;
        int k = 0, n = 0;
        if (!keys(a[i], at("evaluations", i), o, k, n) ||
            !in.text(o, "text", at("evaluations", i), kMaxTextBytes, r.at(k, cls, n).evaluation))
            return false;
    }
    if (!in.list(doc, "percentages", a))
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        QJsonObject o;
        int k = 0, n = 0;
        if (!keys(a[i], at("percentages", i), o, k, n) ||
            !in.percentage(o.value(QLatin1String("value")), at("percentages", i) + QStringLiteral(".value"),
                           r.at(k, cls, n).percentage))
            return false;
    }
    if (!in.list(doc, "marks", a))
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        QJsonObject o;
        int k = 0, n = 0, v = 0;
        if (!keys(a[i], at("marks", i), o, k, n) ||
            !in.integer(o, "viewpoint", at("marks", i), 1, kViewpoints, v) ||
            !in.text(o, "text", at("marks", i), kMaxTextBytes, r.at(k, cls, n).marks[v - 1]))
            return false;
    }
    if (!in.list(doc, "viewpointPercentages", a))
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        const QString where = at("viewpointPercentages", i);
        QJsonObject o;
        int k = 0, n = 0, v = 0;
        if (!keys(a[i], where, o, k, n) || !in.integer(o, "viewpoint", where, 1, kViewpoints, v) ||
            !in.percentage(o.value(QLatin1String("value")), where + QStringLiteral(".value"),
                           r.at(k, cls, n).viewpointPercentages[v - 1]))
            return false;
    }
    if (!in.list(doc, "comments", a))
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        QJsonObject o;
        int k = 0, n = 0;
        if (!keys(a[i], at("comments", i), o, k, n) ||
            !in.text(o, "text", at("comments", i), kMaxTextBytes, r.at(k, cls, n).comment))
            return false;
    }
    if (!in.dateTimes(doc, r.dateTimes))
        return false;
    QString error;
    if (!ClassResultFile::serialize(r, cls, bytes, &error))
        return in.fail(QString(), error);
    return true;
}

bool electiveResultFromJson(const QJsonObject &doc, QByteArray &bytes, In &in) {
    EvaluationResults r;
    std::vector<int> members;
    std::vector<bool> isMember(kSlots, false);
    QJsonArray a;
    if (!in.version(doc) || !in.list(doc, "records", a))
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        const QString where = at("records", i);
        QJsonObject o;
        int k = 0, c = 0, n = 0;
        if (!in.object(a[i], where, o) || !in.integer(o, "period", where, 1, kPeriods, k) ||
            !in.integer(o, "class", where, 1, kMaxClasses, c) ||
            !in.integer(o, "number", where, 1, kSeatsPerClass, n))
            return false;
        StudentResult &s = r.at(k, c, n);
        if (!in.percentage(o.value(QLatin1String("percentage")), where + QStringLiteral(".percentage"),
                           s.percentage) ||
            !in.text(o, "evaluation", where, SentakuRecord::kEvaluationBytes, s.evaluation))
            return false;
        const QJsonArray vp = o.value(QLatin1String("viewpointPercentages")).toArray();
        const QJsonArray marks = o.value(QLatin1String("marks")).toArray();
        if (vp.size() != kViewpoints)
            return in.fail(where + QStringLiteral(".viewpointPercentages"),
                           QStringLiteral("6つの数の配列にしてください。"));
        if (marks.size() != kViewpoints)
            return in.fail(where + QStringLiteral(".marks"),
                           QStringLiteral("6つの文字列の配列にしてください。"));
        for (int v = 0; v < kViewpoints; ++v)
            if (!in.percentage(vp[v], where + QStringLiteral(".viewpointPercentages[%1]").arg(v),
                               s.viewpointPercentages[v]) ||
                !in.text(marks[v], where + QStringLiteral(".marks[%1]").arg(v), SentakuRecord::kMarkBytes,
                         s.marks[v]))
                return false;
        const int slot = slotOf(c, n);
        if (!isMember[std::size_t(slot)]) {
            isMember[std::size_t(slot)] = true;
            members.push_back(slot);
        }
    }
    if (!in.list(doc, "comments", a))
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        const QString where = at("comments", i);
        QJsonObject o;
        int k = 0, c = 0, n = 0;
        if (!in.object(a[i], where, o) || !in.integer(o, "period", where, 1, kPeriods, k) ||
            !in.integer(o, "class", where, 1, kMaxClasses, c) ||
            !in.integer(o, "number", where, 1, kSeatsPerClass, n) ||
            !in.text(o, "text", where, kMaxTextBytes, r.at(k, c, n).comment))
            return false;
    }
    if (!in.dateTimes(doc, r.dateTimes))
        return false;
    QString error;
    if (!ElectiveResultFile::serialize(r, members, bytes, &error))
        return in.fail(QString(), error);
    return true;
}

bool recordFromJson(const QJsonValue &value, const QString &where, bool full, TestScoreRecord &record,
                    In &in) {
    const QJsonArray a = value.toArray();
    if (!value.isArray() || a.size() != kTestFields)
        return in.fail(where, QStringLiteral("7つの整数の配列にしてください。"));
    for (int f = 0; f < kTestFields; ++f) {
        const int hi = f == 0 ? 500 : 100;
        const int lo = full ? 0 : testscore::kExcluded;
        int v = 0;
        if (!in.integer(a[f], where + QStringLiteral("[%1]").arg(f), lo, hi, v))
            return false;
        record[std::size_t(f)] = v;
    }
    return true;
}

} // namespace

QString kindName(DataKind kind) {
    switch (kind) {
    case DataKind::Worksheet:
        return QStringLiteral("worksheet");
    case DataKind::ClassResult:
        return QStringLiteral("class-result");
    case DataKind::ElectiveResult:
        return QStringLiteral("elective-result");
    case DataKind::TestScores:
        return QStringLiteral("test-scores");
    case DataKind::FullScores:
        return QStringLiteral("full-scores");
    case DataKind::Unknown:
        break;
    }
    return QString();
}

DataKind kindFromName(const QString &name) {
    for (DataKind k : {DataKind::Worksheet, DataKind::ClassResult, DataKind::ElectiveResult,
                       DataKind::TestScores, DataKind::FullScores})
        if (kindName(k) == name)
            return k;
    return DataKind::Unknown;
}

DataKind guessKind(const QString &path) {
    const QFileInfo info(path);
    const QString suffix = info.suffix().toLower();
    if (suffix == QLatin1String("def"))
        return DataKind::FullScores;
    if (suffix != QLatin1String("dat") && suffix != QLatin1String("bak"))
        return DataKind::Unknown;
    const QString folder = QFileInfo(info.path()).fileName();
    if (folder.compare(QLatin1String("Test"), Qt::CaseInsensitive) == 0)
        return DataKind::TestScores;
    if (folder.compare(QLatin1String("Hyoutei"), Qt::CaseInsensitive) == 0)
        return DataKind::ClassResult;
    if (folder.compare(QLatin1String("Sentaku"), Qt::CaseInsensitive) == 0)
        return DataKind::ElectiveResult;
    return DataKind::Worksheet;
}

bool dumpJson(DataKind kind, const QByteArray &bytes, QByteArray &json, ReadReport &report, QString &error) {
    Document doc;
    doc.member("kind", stringValue(kindName(kind)));
    report = ReadReport();
    report.found = true;
    switch (kind) {
    case DataKind::Worksheet: {
        WorksheetDump d;
        format::parseWorksheet(bytes, d, report);
        if (report.tooNew)
            break;
        doc.member("version", QByteArray::number(report.version));
        List items;
        for (int i = 1; i <= kMaxItems; ++i) {
            const WorksheetItem &it = d.model.item(i);
            if (!it.isSet())
                continue;
            QByteArray &o = items.next();
            o += "{\"item\": " + QByteArray::number(i) + ", \"name\": ";
            appendString(o, it.name);
            o += ", \"kind\": " + QByteArray::number(it.kind) + ", \"link\": " + QByteArray::number(it.link) +
                 ", \"formula\": ";
            appendString(o, it.formula);
            o += ", \"protected\": " + QByteArray::number(it.protection) +
                 ", \"fullScore\": " + QByteArray::number(it.fullScore) + "}";
        }
        doc.member("items", items.finish());
        doc.member("itemRatios", d.itemRatios.finish());
        doc.member("viewpointRatios", d.viewpointRatios.finish());
        doc.member("scores", d.scores.finish());
        break;
    }
    case DataKind::ClassResult: {
        ClassResultDump d;
        format::parseClassResult(bytes, d, report);
        if (report.tooNew)
            break;
        doc.member("version", QByteArray::number(report.version));
        doc.member("evaluations", d.evaluations.finish());
        doc.member("percentages", d.percentages.finish());
        doc.member("marks", d.marks.finish());
        doc.member("viewpointPercentages", d.viewpointPercentages.finish());
        doc.member("comments", d.comments.finish());
        doc.member("dateTimes", dateTimesValue(d.dates));
        break;
    }
    case DataKind::ElectiveResult: {
        ElectiveResultDump d;
        format::parseElectiveResult(bytes, d, report);
        if (report.tooNew)
            break;
        doc.member("version", QByteArray::number(report.version));
        doc.member("records", d.records.finish());
        doc.member("comments", d.comments.finish());
        doc.member("dateTimes", dateTimesValue(d.dates));
        break;
    }
    case DataKind::TestScores: {
        ClassScores scores;
        report = TestScoreFile::parseClassScores(bytes, scores);
        List records;
        for (const TestScoreRecord &r : scores.records)
            records.next() += intArray(r);
        doc.member("records", records.finish());
        break;
    }
    case DataKind::FullScores: {
        FullScores full;
        report = TestScoreFile::parseFullScores(bytes, full);
        doc.member("values", intArray(full.values));
        break;
    }
    case DataKind::Unknown:
        error = QStringLiteral("ファイルの種類がわかりません。--kind で指定してください。");
        return false;
    }
    if (report.tooNew) {
        error = QStringLiteral("バージョン%1のファイルは読み込めません。").arg(report.version);
        return false;
    }
    json = doc.finish();
    return true;
}

bool bytesFromJson(const QByteArray &json, QByteArray &bytes, DataKind &kind, QString &error) {
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (document.isNull()) {
        error = QStringLiteral("JSON を読めません: %1 (位置 %2)")
                    .arg(parseError.errorString())
                    .arg(parseError.offset);
        return false;
    }
    if (!document.isObject()) {
        error = QStringLiteral("JSON の最上位がオブジェクトではありません。");
        return false;
    }
    const QJsonObject doc = document.object();
    kind = kindFromName(doc.value(QLatin1String("kind")).toString());
    In in;
    bool ok = false;
    switch (kind) {
    case DataKind::Worksheet:
        ok = worksheetFromJson(doc, bytes, in);
        break;
    case DataKind::ClassResult:
        ok = classResultFromJson(doc, bytes, in);
        break;
    case DataKind::ElectiveResult:
        ok = electiveResultFromJson(doc, bytes, in);
        break;
    case DataKind::TestScores: {
        const QJsonArray a = doc.value(QLatin1String("records")).toArray();
        if (a.size() != kTestStudents) {
            in.fail(QStringLiteral("records"), QStringLiteral("60人分の配列にしてください。"));
            break;
        }
        ClassScores scores;
        ok = true;
        for (int n = 0; ok && n < kTestStudents; ++n)
            ok = recordFromJson(a[n], at("records", n), false, scores.records[std::size_t(n)], in);
        if (ok)
            bytes = TestScoreFile::serializeClassScores(scores);
        break;
    }
    case DataKind::FullScores: {
        FullScores full;
        ok = recordFromJson(doc.value(QLatin1String("values")), QStringLiteral("values"), true, full.values,
                            in);
        if (ok)
            bytes = TestScoreFile::serializeFullScores(full);
        break;
    }
    case DataKind::Unknown:
        in.fail(QStringLiteral("kind"),
                QStringLiteral("worksheet, class-result, elective-result, test-scores, "
                               "full-scores のどれかにしてください。(値: %1)")
                    .arg(In::show(doc.value(QLatin1String("kind")))));
        break;
    }
    if (!ok)
        error = in.error;
    return ok;
}

bool saveData(DataKind kind, const QString &path, const QByteArray &bytes, QString &error) {
    const bool evaluation =
        kind == DataKind::Worksheet || kind == DataKind::ClassResult || kind == DataKind::ElectiveResult;
    paths::ensureFolder(paths::resolveExisting(QFileInfo(path).path()));
    return saveFileAtomically(path, bytes, &error, evaluation ? Backup::OneGeneration : Backup::None);
}

} // namespace tavro::cli
