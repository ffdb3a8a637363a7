#include "evaluation/WorksheetFile.h"

#include "common/Cp932.h"
#include "common/DataPaths.h"
#include "common/FileSave.h"
#include "platform/Prompter.h"

#include <QFileInfo>

namespace tavro {

namespace {

struct ModelSink {
    Worksheet &w;
    void name(int item, const char *data, int size) { w.item(item).name = format::decodeText(data, size); }
    void kind(int item, std::int32_t v) { w.item(item).kind = v; }
    void link(int item, std::int32_t v) { w.item(item).link = v; }
    void formula(int item, const char *data, int size) {
        w.item(item).formula = format::decodeText(data, size);
    }
    void protection(int item, std::uint8_t v) { w.item(item).protection = v; }
    void fullScore(int item, std::int32_t v) { w.item(item).fullScore = v; }
    void itemRatio(int item, int period, int viewpoint, std::int32_t v) {
        w.itemRatio(item, period, viewpoint) = v;
    }
    void viewpointRatio(int period, int viewpoint, std::int32_t v) {
        w.viewpointRatio(period, viewpoint) = v;
    }
    void score(int item, int cls, int number, std::int32_t v) {
        w.scores[Worksheet::scoreIndex(item, slotOf(cls, number))] = v;
    }
};

} // namespace

ReadReport WorksheetFile::parse(const QByteArray &bytes, Worksheet &worksheet) {
    ReadReport report;
    report.found = true;
    ModelSink sink{worksheet};
    format::parseWorksheet(bytes, sink, report);
    worksheet.updateSymbolFlags();
    return report;
}

ReadReport WorksheetFile::load(const QString &path, Worksheet &worksheet, Prompter *prompter) {
    worksheet.reset();
    ReadReport report;
    QByteArray bytes;
    if (!paths::fileExists(path))
        return report;
    if (!readWholeFile(path, bytes)) {
        report.unreadable = true;
        return report;
    }
    report = parse(bytes, worksheet);
    if (report.tooNew && prompter)
        prompter->message(QStringLiteral("TAVRO"), tooNewVersionMessage(), Prompter::Icon::Warning);
    return report;
}

bool WorksheetFile::serialize(const Worksheet &w, QByteArray &bytes, QString *error) {
    std::vector<QByteArray> names(kMaxItems);
    std::vector<QByteArray> formulas(kMaxItems);
    qsizetype size = kHeaderSize + 9 * 4;
    for (int i = 1; i <= kMaxItems; ++i) {
        const WorksheetItem &it = w.item(i);
        QByteArray &name = names[i - 1];
        QByteArray &formula = formulas[i - 1];
        if (!format::encodeText(it.name, kMaxTextBytes, name)) {
            if (error)
                *error = format::unencodableMessage(QStringLiteral("項目%1の項目名").arg(i), it.name);
            return false;
        }
        if (!format::encodeText(it.formula, kMaxTextBytes, formula)) {
            if (error)
                *error = format::unencodableMessage(QStringLiteral("項目%1の計算式").arg(i), it.formula);
            return false;
        }
        if (!name.isEmpty())
            size += 9 + name.size();
        if (!formula.isEmpty())
            size += 9 + formula.size();
        size += (it.kind > 0 ? 8 : 0) + (it.link > 0 ? 8 : 0) + (it.protection != 0 ? 5 : 0) +
                (it.fullScore > 0 ? 8 : 0);
    }
    qsizetype scoreCount = 0;
    for (std::int32_t v : w.scores)
        scoreCount += v != score::kEmpty;
    size += scoreCount * 16;
    for (std::int32_t v : w.itemRatios)
        size += v > 0 ? 16 : 0;
    for (std::int32_t v : w.viewpointRatios)
        size += v > 0 ? 12 : 0;

    format::Builder b(size);
    b.bytes(dataFileHeader().constData(), kHeaderSize);
    for (int i = 1; i <= kMaxItems; ++i)
        if (!names[i - 1].isEmpty()) {
            b.int32(i);
            b.text(names[i - 1]);
        }
    b.int32(0);
    for (int i = 1; i <= kMaxItems; ++i)
        if (w.item(i).kind > 0) {
            b.int32(i);
            b.int32(w.item(i).kind);
        }
    b.int32(0);
    for (int i = 1; i <= kMaxItems; ++i)
        if (w.item(i).link > 0) {
            b.int32(i);
            b.int32(w.item(i).link);
        }
    b.int32(0);
    for (int i = 1; i <= kMaxItems; ++i)
        if (!formulas[i - 1].isEmpty()) {
            b.int32(i);
            b.text(formulas[i - 1]);
        }
    b.int32(0);
    for (int i = 1; i <= kMaxItems; ++i)
        if (w.item(i).protection != 0) {
            b.int32(i);
            b.byte(w.item(i).protection);
        }
    b.int32(0);
    for (int i = 1; i <= kMaxItems; ++i)
        if (w.item(i).fullScore > 0) {
            b.int32(i);
            b.int32(w.item(i).fullScore);
        }
    b.int32(0);
    const std::int32_t *ratio = w.itemRatios.data();
    for (int i = 1; i <= kMaxItems; ++i)
        for (int k = 1; k <= kPeriods; ++k)
            for (int v = 1; v <= kViewpoints; ++v, ++ratio)
                if (*ratio > 0)
                    b.int32x4(i, k, v, *ratio);
    b.int32(0);
    for (int k = 1; k <= kPeriods; ++k)
        for (int v = 1; v <= kViewpoints; ++v) {
            const std::int32_t r = w.viewpointRatio(k, v);
            if (r > 0) {
                b.int32(k);
                b.int32(v);
                b.int32(r);
            }
        }
    b.int32(0);
    const std::int32_t *s = w.scores.data();
    for (int i = 1; i <= kMaxItems; ++i)
        for (int c = 1; c <= kMaxClasses; ++c)
            for (int n = 1; n <= kSeatsPerClass; ++n, ++s)
                if (*s != score::kEmpty)
                    b.int32x4(i, c, n, *s);
    b.int32(0);
    bytes = b.take();
    return true;
}

bool WorksheetFile::save(const QString &path, const Worksheet &worksheet, QString *error) {
    QByteArray bytes;
    if (!serialize(worksheet, bytes, error))
        return false;
    paths::ensureFolder(paths::resolveExisting(QFileInfo(path).path()));
    return saveFileAtomically(path, bytes, error, Backup::OneGeneration);
}

} // namespace tavro
