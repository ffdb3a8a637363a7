#include "testscores/TestAggregation.h"

#include "common/DataPaths.h"
#include "common/FileSave.h"
#include "common/FolderIndex.h"
#include "common/NumberText.h"
#include "common/TabText.h"
#include "config/Roster.h"
#include "config/YearSettings.h"
#include "testscores/TestPaths.h"
#include "testscores/TestScoreFile.h"

#include <QFileInfo>
#include <cmath>

namespace tavro {

namespace {

using namespace shukei;

// Damaged files may hold anything; scores beyond five full totals are not counted.
constexpr int kMaxCounted = 5 * 500;

// Viewpoint copy: one block per subject (total and viewpoints 1..5) and one cell for the total.
constexpr int kBlockFields = 6;
enum class BlockKind { Subject, Total, Hotai, Gika };
struct Block {
    const char16_t *label;
    BlockKind kind;
    int subject;
};
constexpr Block kViewpointBlocks[] = {
    {u"国語", BlockKind::Subject, 0},       {u"社会", BlockKind::Subject, 1},
    {u"数学", BlockKind::Subject, 2},       {u"理科", BlockKind::Subject, 3},
    {u"英語", BlockKind::Subject, 4},       {u"合計", BlockKind::Total, -1},
    {u"音楽", BlockKind::Subject, kOngaku}, {u"保体", BlockKind::Hotai, -1},
    {u"技家", BlockKind::Gika, -1},
};

std::size_t seat(int cls, int number) {
    return std::size_t((cls - 1) * kStudents + number - 1);
}

// round(score / full × 100), half to even; none for a negative score or a full score below 1.
std::optional<long long> achievement(int score, int full) {
    if (score < 0 || full < 1)
        return std::nullopt;
    return std::llround(std::nearbyintl(static_cast<long double>(score) / full * 100));
}

QString starred(int value) {
    return value < 0 ? QStringLiteral("*") : QString::number(value);
}

} // namespace

namespace shukei {

const QStringList &subjectNames() {
    static const QStringList names{QStringLiteral("国語"),  QStringLiteral("社会"),  QStringLiteral("数学"),
                                   QStringLiteral("理科"),  QStringLiteral("英語"),  QStringLiteral("音楽"),
                                   QStringLiteral("美術"),  QStringLiteral("保体B"), QStringLiteral("保体G"),
                                   QStringLiteral("技家I"), QStringLiteral("技家H")};
    return names;
}

const QStringList &seriesNames() {
    static const QStringList names = [] {
        QStringList list{QStringLiteral("合計")};
        list += subjectNames();
        list << QStringLiteral("保体") << QStringLiteral("技家");
        return list;
    }();
    return names;
}

QString classText(int cls, bool classType) {
    return classType ? QString::number(cls) : QString(QChar(char16_t(64 + cls)));
}

QString scoreText(int value) {
    if (value >= 0)
        return QString::number(value);
    if (value == testscore::kNotTaken)
        return QStringLiteral("-");
    if (value == testscore::kExcluded)
        return QStringLiteral("*");
    return {};
}

} // namespace shukei

std::optional<int> SeriesStatistics::standardScore(int score) const {
    if (score < 0 || score >= int(standardScores.size()))
        return std::nullopt;
    return standardScores[std::size_t(score)];
}

std::optional<int> SeriesStatistics::gradeRankOf(int score) const {
    if (score < 0 || score > top() || gradeRank[std::size_t(score)] == 0)
        return std::nullopt;
    return gradeRank[std::size_t(score)];
}

std::optional<int> SeriesStatistics::classRankOf(int cls, int score) const {
    const std::vector<int> &ranks = classRank[std::size_t(cls - 1)];
    if (score < 0 || score >= int(ranks.size()) || ranks[std::size_t(score)] == 0)
        return std::nullopt;
    return ranks[std::size_t(score)];
}

std::vector<int> SeriesStatistics::occurringScores() const {
    std::vector<int> list;
    for (int t = top(); t >= 0; --t)
        if (gradeCount[std::size_t(t)] > 0)
            list.push_back(t);
    return list;
}

std::vector<int> SeriesStatistics::occurringScores(int cls) const {
    std::vector<int> list;
    const std::vector<int> &counts = classCount[std::size_t(cls - 1)];
    for (int t = int(counts.size()) - 1; t >= 0; --t)
        if (counts[std::size_t(t)] > 0)
            list.push_back(t);
    return list;
}

TestAggregation::TestAggregation(Context context, int classCount)
    : m_context(std::move(context)), m_classCount(qBound(0, classCount, kClassLimit)) {}

TestAggregation TestAggregation::load(const QString &dataFolder, const Context &context) {
    const YearSettings settings = YearSettings::load(dataFolder, context.nendo);
    const int grade = qBound(1, context.grade, 6);
    TestAggregation a(context, settings.classCount[std::size_t(grade - 1)]);
    a.m_marume = settings.marume;

    paths::FolderIndex index;
    QByteArray bytes;
    if (readWholeFile(index.resolve(paths::rosterFile(dataFolder, context.nendo, grade)), bytes)) {
        std::vector<QString> names = roster::parseNames(bytes);
        for (std::size_t i = 0; i < names.size() && i < a.names.size(); ++i)
            a.names[i] = std::move(names[i]);
    }

    auto damaged = [&a](const QString &path, const ReadReport &report) {
        if (report.unreadable || report.truncated)
            a.m_damaged.append(QFileInfo(path).fileName());
    };
    for (int s = 0; s < kSubjects; ++s) {
        const QString &kyouka = subjectNames()[s];
        const QString def =
            index.resolve(paths::fullScoreFile(dataFolder, context.nendo, context.testCode, grade, kyouka));
        if (index.exists(def)) {
            ReadReport report;
            if (readWholeFile(def, bytes))
                report = TestScoreFile::parseFullScores(bytes, a.fullScores[std::size_t(s)]);
            else
                report.unreadable = true;
            damaged(def, report);
        }
        for (int c = 1; c <= a.m_classCount; ++c) {
            const QString dat = index.resolve(
                paths::classScoreFile(dataFolder, context.nendo, context.testCode, grade, c, kyouka));
            if (!index.exists(dat))
                continue;
            ReadReport report;
            if (readWholeFile(dat, bytes))
                report = TestScoreFile::parseClassScores(bytes, a.scores[std::size_t(s)][std::size_t(c - 1)]);
            else
                report.unreadable = true;
            damaged(dat, report);
        }
    }
    a.compute();
    return a;
}

QString TestAggregation::damagedFilesMessage() const {
    if (m_damaged.isEmpty())
        return {};
    return QStringLiteral("次のファイルを正しく読み込めませんでした。読み込めた分だけを表示します。\r\n") +
           m_damaged.join(QStringLiteral("\r\n"));
}

void TestAggregation::compute() {
    const std::size_t seats = std::size_t(kClassLimit * kStudents);
    m_total.assign(seats, testscore::kBlank);
    TestScoreRecord blank;
    blank.fill(testscore::kBlank);
    m_hotai.assign(seats, blank);
    m_gika.assign(seats, blank);

    auto combine = [](const TestScoreRecord &a, const TestScoreRecord &b, TestScoreRecord &out) {
        if (a[0] < 0 || b[0] < 0)
            return;
        for (int f = 0; f < kTestFields; ++f) {
            const bool hasA = a[std::size_t(f)] >= 0, hasB = b[std::size_t(f)] >= 0;
            if (hasA || hasB)
                out[std::size_t(f)] = (hasA ? a[std::size_t(f)] : 0) + (hasB ? b[std::size_t(f)] : 0);
        }
    };
    for (int c = 1; c <= m_classCount; ++c) {
        for (int n = 1; n <= kStudents; ++n) {
            int sum = 0;
            bool all = true;
            for (int s = 0; s < kMainSubjects && all; ++s) {
                const int t = record(s, c, n)[0];
                all = t >= 0;
                sum += t;
            }
            if (all)
                m_total[seat(c, n)] = sum;
            combine(record(kHotaiB, c, n), record(kHotaiG, c, n), m_hotai[seat(c, n)]);
            combine(record(kGikaI, c, n), record(kGikaH, c, n), m_gika[seat(c, n)]);
        }
    }
    for (int series = 0; series < kSeries; ++series)
        computeSeries(series);
}

void TestAggregation::computeSeries(int series) {
    SeriesStatistics &st = m_stats[std::size_t(series)];
    st = SeriesStatistics();
    int top = -1;
    for (int c = 1; c <= m_classCount; ++c)
        for (int n = 1; n <= kStudents; ++n) {
            const int t = value(series, c, n);
            if (t >= 0 && t <= kMaxCounted)
                top = qMax(top, t);
        }
    const std::size_t size = std::size_t(top + 1);
    st.gradeCount.assign(size, 0);
    st.gradeRank.assign(size, 0);
    for (int c = 1; c <= m_classCount; ++c) {
        std::vector<int> &counts = st.classCount[std::size_t(c - 1)];
        std::vector<int> &ranks = st.classRank[std::size_t(c - 1)];
        counts.assign(size, 0);
        ranks.assign(size, 0);
        long long classSum = 0;
        int classN = 0;
        for (int n = 1; n <= kStudents; ++n) {
            const int t = value(series, c, n);
            if (t < 0 || t > kMaxCounted)
                continue;
            st.sum += t;
            st.sumOfSquares += static_cast<long long>(t) * t;
            ++st.count;
            ++st.gradeCount[std::size_t(t)];
            ++counts[std::size_t(t)];
            classSum += t;
            ++classN;
        }
        int seen = 0;
        for (int t = top; t >= 0; --t) {
            if (counts[std::size_t(t)] == 0)
                continue;
            ranks[std::size_t(t)] = seen + 1;
            seen += counts[std::size_t(t)];
        }
        if (classN >= 1 && classSum >= 1)
            st.classMeans[std::size_t(c - 1)] =
                static_cast<float>(static_cast<long double>(classSum) / classN);
    }
    int seen = 0;
    for (int t = top; t >= 0; --t) {
        if (st.gradeCount[std::size_t(t)] == 0)
            continue;
        st.gradeRank[std::size_t(t)] = seen + 1;
        seen += st.gradeCount[std::size_t(t)];
    }
    if (st.count < 1)
        return;
    st.mean = static_cast<float>(static_cast<long double>(st.sum) / st.count);
    const long double mean = st.mean;
    const long double variance = static_cast<long double>(st.sumOfSquares) / st.count - mean * mean;
    // A variance a little below 0 comes from the rounded mean: the scores are all equal.
    st.sd = variance > 0 ? static_cast<float>(std::sqrt(variance)) : 0.0f;
    if (!(st.sd > 0))
        return;
    st.standardScores.assign(size, 0);
    const long double sd = st.sd;
    for (int s = top; s >= 0; --s)
        st.standardScores[std::size_t(s)] = int(std::nearbyintl((s - mean) * 10 / sd + 50));
}

int TestAggregation::value(int series, int cls, int number, int field) const {
    if (cls < 1 || cls > m_classCount || number < 1 || number > kStudents || field < 0 ||
        field >= kTestFields)
        return testscore::kBlank;
    switch (series) {
    case kTotalSeries:
        return field == 0 ? m_total[seat(cls, number)] : testscore::kBlank;
    case kHotaiSeries:
        return m_hotai[seat(cls, number)][std::size_t(field)];
    case kGikaSeries:
        return m_gika[seat(cls, number)][std::size_t(field)];
    default:
        return record(series - 1, cls, number)[std::size_t(field)];
    }
}

QString TestAggregation::gridHeader(int column) {
    static const QStringList headers = [] {
        QStringList h{QStringLiteral("組"), QStringLiteral("番"), QStringLiteral("氏    名")};
        for (const char16_t *name :
             {u"国語", u"社会", u"数学", u"理科", u"英語", u"合計", u"音楽", u"美術", u"保体", u"技家"})
            h << QString::fromUtf16(name) << QStringLiteral("SS");
        h << QStringLiteral("年順") << QStringLiteral("級順") << QString() << QString() << QString();
        return h;
    }();
    return column >= 0 && column < headers.size() ? headers[column] : QString();
}

QString TestAggregation::gridText(int row, int column) const {
    if (row == 0)
        return gridHeader(column);
    if (row < 1 || row >= gridRows() || column < 0 || column >= kGridColumns)
        return {};
    const int cls = (row + 59) / 60, number = (row + 59) % 60 + 1;
    auto withSS = [&](int series, int score, bool ssColumn) {
        if (!ssColumn)
            return scoreText(score);
        const std::optional<int> ss = statistics(series).standardScore(score);
        return ss ? QString::number(*ss) : QString();
    };
    // 保体 and 技家: the pair's sum, else the half present, else "*" for an excluded half.
    auto pair = [&](int a, int b, int combined, bool ssColumn) {
        const int va = record(a, cls, number)[0], vb = record(b, cls, number)[0];
        if (va >= 0 && vb >= 0)
            return withSS(combined, value(combined, cls, number), ssColumn);
        if (va >= 0)
            return withSS(subjectSeries(a), va, ssColumn);
        if (vb >= 0)
            return withSS(subjectSeries(b), vb, ssColumn);
        if (va == testscore::kExcluded || vb == testscore::kExcluded)
            return ssColumn ? QString() : QStringLiteral("*");
        return QString();
    };
    const bool ssColumn = isStandardScoreColumn(column);
    switch (column) {
    case 0:
        return u' ' + classText(cls, m_context.classType);
    case 1:
        return u' ' + QString::number(number);
    case 2:
        return name(cls, number);
    case 13:
    case 14:
        return withSS(kTotalSeries, m_total[seat(cls, number)], ssColumn);
    case 19:
    case 20:
        return pair(kHotaiB, kHotaiG, kHotaiSeries, ssColumn);
    case 21:
    case 22:
        return pair(kGikaI, kGikaH, kGikaSeries, ssColumn);
    case 23:
    case 24: {
        const int total = m_total[seat(cls, number)];
        const SeriesStatistics &st = statistics(kTotalSeries);
        const std::optional<int> rank = column == 23 ? st.gradeRankOf(total) : st.classRankOf(cls, total);
        return rank ? QString::number(*rank) : QString();
    }
    default:
        break;
    }
    if (column >= 3 && column <= 12) {
        const int subject = (column - 3) / 2;
        return withSS(subjectSeries(subject), record(subject, cls, number)[0], ssColumn);
    }
    if (column >= 15 && column <= 18) {
        const int subject = column <= 16 ? kOngaku : kBijutsu;
        return withSS(subjectSeries(subject), record(subject, cls, number)[0], ssColumn);
    }
    return {};
}

QString TestAggregation::fullScoreLabel() const {
    QString text = QStringLiteral("【満点】");
    for (int s = 0; s < kSubjects; ++s) {
        if (s == kMainSubjects)
            text += QStringLiteral("\n  ");
        text += subjectNames()[s] + u' ' + QString::number(fullScores[std::size_t(s)].values[0]) +
                QStringLiteral("点 ");
    }
    return text;
}

QString TestAggregation::gridCopy() const {
    TabText t;
    t.cell(QString::number(m_context.grade)).cell(QStringLiteral("年")).cell(m_context.testName).endRow();
    for (int r = 0; r < gridRows(); ++r) {
        for (int c = 0; c < kGridColumns; ++c)
            t.cell(gridText(r, c));
        t.endRow();
    }
    return t.text();
}

QString TestAggregation::meansCopy() const {
    TabText t;
    for (const char16_t *name :
         {u"国語", u"社会", u"数学", u"理科", u"英語", u"合計", u"音楽", u"保体B", u"保体G", u"技家"})
        t.cell(QString::fromUtf16(name));
    t.endRow();
    for (int series : {1, 2, 3, 4, 5, kTotalSeries, subjectSeries(kOngaku), subjectSeries(kHotaiB),
                       subjectSeries(kHotaiG), kGikaSeries})
        t.cell(formatSingle("%3.6f", statistics(series).mean));
    t.endRow();
    return t.text();
}

QString TestAggregation::viewpointCopy() const {
    TabText t;
    // Header: the subject over its block, then the block's column labels.
    t.cell(QString());
    for (const Block &b : kViewpointBlocks) {
        t.cell(QString::fromUtf16(b.label));
        if (b.kind != BlockKind::Total)
            t.emptyCells(kBlockFields - 1);
    }
    t.endRow();
    t.cell(QString());
    for (const Block &b : kViewpointBlocks) {
        t.cell(QStringLiteral("合計"));
        if (b.kind != BlockKind::Total)
            for (const char16_t *v : {u"観点①", u"観点②", u"観点③", u"観点④", u"観点⑤"})
                t.cell(QString::fromUtf16(v));
    }
    t.endRow();

    int mainFull = 0;
    for (int s = 0; s < kMainSubjects; ++s)
        mainFull += fullScores[std::size_t(s)].values[0];
    auto full = [this](const Block &b, int f) {
        switch (b.kind) {
        case BlockKind::Hotai:
            return fullScores[kHotaiB].values[std::size_t(f)] + fullScores[kHotaiG].values[std::size_t(f)];
        case BlockKind::Gika:
            return fullScores[kGikaI].values[std::size_t(f)] + fullScores[kGikaH].values[std::size_t(f)];
        default:
            return fullScores[std::size_t(b.subject)].values[std::size_t(f)];
        }
    };
    auto seriesOf = [](const Block &b) {
        switch (b.kind) {
        case BlockKind::Total:
            return kTotalSeries;
        case BlockKind::Hotai:
            return kHotaiSeries;
        case BlockKind::Gika:
            return kGikaSeries;
        default:
            return subjectSeries(b.subject);
        }
    };
    const QString grade = QString::number(m_context.grade);
    for (int c = 1; c <= m_classCount; ++c) {
        for (int n = 1; n <= kStudents; ++n) {
            const QString &studentName = name(c, n);
            if (studentName.isEmpty() || studentName == u"＊")
                continue;
            const int total = m_total[seat(c, n)];
            // 得点
            t.cell(m_context.testName + QStringLiteral("得点"));
            for (const Block &b : kViewpointBlocks) {
                const int fields = b.kind == BlockKind::Total ? 1 : kBlockFields;
                for (int f = 0; f < fields; ++f)
                    t.cell(starred(value(seriesOf(b), c, n, f)));
            }
            t.endRow();
            // 満点
            t.cell(grade + QStringLiteral("年") + classText(c, m_context.classType) + QStringLiteral("組") +
                   QString::number(n) + QStringLiteral("番満点"));
            for (const Block &b : kViewpointBlocks) {
                if (b.kind == BlockKind::Total) {
                    t.cell(mainFull == 0 ? QStringLiteral("*") : QString::number(mainFull));
                    continue;
                }
                for (int f = 0; f < kBlockFields; ++f) {
                    const int v = full(b, f);
                    t.cell(v == 0 ? QStringLiteral("*") : v < 0 ? QString() : QString::number(v));
                }
            }
            t.endRow();
            // 到達
            t.cell(studentName + QStringLiteral("到達"));
            for (const Block &b : kViewpointBlocks) {
                const int fields = b.kind == BlockKind::Total ? 1 : kBlockFields;
                for (int f = 0; f < fields; ++f) {
                    const int fullScore = b.kind == BlockKind::Total ? mainFull : full(b, f);
                    const std::optional<long long> a = achievement(value(seriesOf(b), c, n, f), fullScore);
                    t.cell(a ? QString::number(*a) : QString());
                }
            }
            t.endRow();
            // 総合: each block's total; "=" before the five-subject sum.
            t.cell(QStringLiteral(" 総合"));
            for (const Block &b : kViewpointBlocks) {
                if (b.kind == BlockKind::Total) {
                    t.cell(starred(total));
                    continue;
                }
                t.cell(starred(value(seriesOf(b), c, n, 0)));
                t.emptyCells(kBlockFields - 2);
                t.cell(b.subject == kMainSubjects - 1 ? QStringLiteral("=") : QString());
            }
            t.endRow();
        }
    }
    return t.text();
}

QString formatSingle(const char *format, float value) {
    return numbertext::format(format, static_cast<double>(value));
}

} // namespace tavro
