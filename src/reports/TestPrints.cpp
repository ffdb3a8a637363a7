#include "reports/TestPrints.h"

#include "common/Cp932.h"
#include "platform/Prompter.h"
#include "reports/Conference.h"
#include "testscores/ScoreEntrySession.h"
#include "testscores/TestAggregation.h"

#include <array>
#include <cmath>
#include <optional>

namespace tavro::reports {

namespace {

using namespace shukei;

const QString kMovedAwayOnly = QStringLiteral("＊");

QString withoutMark(const QString &name) {
    return name.startsWith(kMovedAwayOnly) ? name.mid(1) : name;
}

// The grid of the score and class lists: left 200, top 330, row 58 and column unit 29 units, every
// length but the top by the horizontal resolution; text half a column unit right and a quarter
// column unit below the row line.
class ListPage {
public:
    static constexpr int kRows = 60;
    static constexpr int kFrameUnits = 86;

    explicit ListPage(PageCanvas &canvas)
        : m_canvas(canvas), m_grid(PageGrid::fromUnits(canvas, 200, 330, 58, 29, 0, true)) {}

    int cu() const { return m_grid.columnWidth; }
    int g() const { return m_grid.rowHeight; }
    int frameTop() const { return m_grid.top - g() - 3; }
    int frameBottom() const { return m_grid.top + (kRows + 1) * g(); }
    int right() const { return m_grid.left + kFrameUnits * cu(); }

    void font(const QString &family, double size) { m_canvas.setFont(PageCanvas::Font{family, size}); }
    // Text at `x` pixels from the left edge, on row `halfRows` / 2 (row 1 the first student).
    void text(int x, int halfRows, const QString &text) {
        m_canvas.text(m_grid.left + x + cu() / 2, m_grid.top + halfRows * g() / 2 + cu() / 4, text);
    }
    void padded(int x, int halfRows, const QString &value) {
        if (value.isEmpty())
            return;
        const int length = cp932::byteLength(value);
        text(x, halfRows, length < 3 ? QString(3 - length, u' ') + value : value);
    }

    void title(const QString &title, const QDateTime &now) {
        font(kGothic, 20);
        m_canvas.text(pixels(300, m_canvas.dpiX()), pixels(100, m_canvas.dpiY()), title);
        font(kMincho, 9);
        m_canvas.text(m_grid.left + 30 * g(), m_grid.top - 2 * g(),
                      QStringLiteral("印刷日時: ") + shortDateTime(now));
    }
    // The frame, a rule under every row (thick under rows 1, 6, 11, ... counting the header as row
    // 1), the column rules at `columns` (pixels from the left edge) and the footer.
    void rules(const std::vector<int> &columns) {
        for (int r = 1; r <= kRows; ++r) {
            const bool thick = r % 5 == 1;
            m_canvas.setPenWidth(thick ? m_grid.thickPen : 1);
            const int y = m_grid.top + r * g();
            m_canvas.line(m_grid.left, y, right(), y);
        }
        m_canvas.setPenWidth(1);
        for (int x : columns)
            m_canvas.line(m_grid.left + x, frameTop(), m_grid.left + x, frameBottom());
        m_canvas.setPenWidth(m_grid.thickPen);
        m_canvas.rectangle(m_grid.left, frameTop(), right(), frameBottom());
        m_canvas.setPenWidth(1);
        font(kGothic, 9);
        m_canvas.text(m_grid.left, frameBottom() + 7, kFooter);
        font(kMincho, 9);
    }
    // A rule inside the header, under its first line, from `x1` to `x2` pixels from the left edge.
    void headerRule(int x1, int x2) {
        m_canvas.line(m_grid.left + x1, m_grid.top, m_grid.left + x2, m_grid.top);
    }
    void subColumnRule(int x) { m_canvas.line(m_grid.left + x, m_grid.top, m_grid.left + x, frameBottom()); }
    // Class, number (one column unit further right below 10) and name of student row `row`.
    void student(int row, const QString &cls, int number, const QString &name) {
        text(0, 2 * row, cls);
        text((number < 10 ? 3 : 2) * cu(), 2 * row, QString::number(number));
        text(5 * cu(), 2 * row, name);
    }
    void studentHeader() {
        text(0, -1, QStringLiteral("組"));
        text(2 * cu(), -1, QStringLiteral("番"));
        text(5 * cu(), -1, QStringLiteral("氏      名"));
    }

private:
    PageCanvas &m_canvas;
    PageGrid m_grid;
};

// The students of a class with a notice.
bool printable(const QString &name) {
    return !name.isEmpty() && name != kMovedAwayOnly;
}

// 保体 and 技家 on a notice: the series the grid cell comes from (the pair when both halves exist),
// none when neither half holds a score.
std::optional<int> pairSeries(const TestAggregation &a, int first, int second, int combined, int cls, int n) {
    if (a.record(first, cls, n)[0] < 0 && a.record(second, cls, n)[0] < 0)
        return std::nullopt;
    return a.studentSeries(combined, cls, n);
}

QString orStar(const QString &text) {
    return text.isEmpty() ? QStringLiteral("*") : text;
}

// round(score / full × 100), half to even; none for a negative score or a full score below 1.
std::optional<long long> achievement(int score, int full) {
    if (score < 0 || full < 1)
        return std::nullopt;
    return std::llround(std::nearbyintl(static_cast<long double>(score) / full * 100));
}

} // namespace

ScoreListData ScoreListData::fromSession(const ScoreEntrySession &session) {
    ScoreListData d;
    const ScoreEntryContext &c = session.context();
    d.nendo = c.nendo;
    d.grade = c.grade;
    d.kyouka = c.kyouka;
    d.testName = c.testName;
    d.classType = c.classType;
    d.classes = session.classes();
    for (std::size_t i = 0; i < d.classes.size(); ++i)
        d.scores.push_back(session.classScores(int(i)));
    d.names.resize(std::size_t(kClassLimit * kStudents));
    for (int cls : d.classes)
        for (int n = 1; n <= kStudents; ++n)
            d.names[std::size_t((cls - 1) * kStudents + n - 1)] = session.nameOf(cls, n);
    d.fullScores = session.fullScores();
    return d;
}

PrintOutcome printScoreList(const ScoreListData &data, PrintTarget &target, const QDateTime &now) {
    PrintTarget::Job job;
    job.title = jobTitle(QStringLiteral("得点一覧"));
    PrintOutcome outcome;
    const PrintTarget::Opened opened = beginPrint(target, job, outcome);
    if (!opened.canvas)
        return outcome;
    PageCanvas &canvas = *opened.canvas;
    ListPage page(canvas);
    const int g = page.g(), cu = page.cu();
    for (std::size_t i = 0; i < data.classes.size(); ++i) {
        if (i > 0 && !nextPrintPage(canvas, outcome))
            return outcome;
        ++outcome.pages;
        const int cls = data.classes[i];
        const QString classLabel = classText(cls, data.classType);
        page.title(QStringLiteral("%1年度 %2年生 %3 %4 %5組")
                       .arg(data.nendo)
                       .arg(data.grade)
                       .arg(data.kyouka, data.testName, classLabel),
                   now);
        page.studentHeader();
        for (int v = 1; v <= 5; ++v) {
            const int x = (5 + 3 * v) * g;
            page.text(x, -2, QStringLiteral("観点") + QChar(char16_t(0x2460 + v - 1)));
            page.text(x + g, 0, u'[' + QString::number(data.fullScores[std::size_t(v)]) + u']');
        }
        page.text(23 * g, -2, QStringLiteral("　合計"));
        page.text(23 * g + g / 2, 0, u'[' + QString::number(data.fullScores[0]) + u']');
        const ClassScores &scores = data.scores[i];
        for (int n = 1; n <= kStudents; ++n) {
            const TestScoreRecord &r = scores.student(n);
            page.student(n, classLabel, n,
                         withoutMark(data.names[std::size_t((cls - 1) * kStudents + n - 1)]));
            for (int v = 1; v <= 5; ++v)
                page.padded((6 + 3 * v) * g, 2 * n, scoreText(r[std::size_t(v)]));
            page.padded(24 * g, 2 * n, scoreText(r[0]));
        }
        std::vector<int> columns{2 * cu + cu / 4, 5 * cu};
        for (int c = 8; c <= 26; c += 3)
            columns.push_back(c * g);
        page.rules(columns);
    }
    endPrint(canvas, outcome);
    return outcome;
}

PrintOutcome printClassList(const TestAggregation &aggregation, const std::vector<int> &classes,
                            PrintTarget &target, Prompter &prompter, const QDateTime &now) {
    if (classes.empty()) {
        prompter.message(QStringLiteral("Tavro"), selectClassMessage());
        return {};
    }
    const TestAggregation::Context &context = aggregation.context();
    PrintTarget::Job job;
    job.title = jobTitle(QStringLiteral("学級別一覧"));
    PrintOutcome outcome;
    const PrintTarget::Opened opened = beginPrint(target, job, outcome);
    if (!opened.canvas)
        return outcome;
    PageCanvas &canvas = *opened.canvas;
    ListPage page(canvas);
    const int cu = page.cu();
    // Ten subjects of two sub-columns from 16 column units on, six units each, then the ranks.
    static const std::array<const char16_t *, 11> headings = {u" 国語", u" 社会",  u" 数学", u" 理科",
                                                              u" 英語", u"  合計", u" 音楽", u" 美術",
                                                              u" 保体", u" 技家",  u"  順位"};
    auto blockX = [cu](int block) { return (16 + 6 * block) * cu; };
    for (std::size_t i = 0; i < classes.size(); ++i) {
        if (i > 0 && !nextPrintPage(canvas, outcome))
            return outcome;
        ++outcome.pages;
        const int cls = classes[i];
        page.title(QStringLiteral("%1年度 %2年生 %3 - %4組")
                       .arg(context.nendo)
                       .arg(context.grade)
                       .arg(context.testName, classText(cls, context.classType)),
                   now);
        page.studentHeader();
        for (int b = 0; b < int(headings.size()); ++b) {
            page.text(blockX(b), -2, QString::fromUtf16(headings[std::size_t(b)]));
            // The sub-headings in 7 pt fit their three column units.
            const bool ranks = b == int(headings.size()) - 1;
            page.font(kMincho, 7);
            page.text(blockX(b), 0, ranks ? QStringLiteral("  年") : QStringLiteral("素点"));
            page.text(blockX(b) + 3 * cu, 0, ranks ? QStringLiteral(" 組") : QStringLiteral("SS"));
            page.font(kMincho, 9);
        }
        for (int n = 1; n <= kStudents; ++n) {
            const int row = (cls - 1) * kStudents + n;
            page.student(n, classText(cls, context.classType), n, aggregation.gridText(row, 2));
            for (int c = 3; c < 25; ++c)
                page.padded(blockX((c - 3) / 2) + ((c - 3) % 2) * 3 * cu, 2 * n,
                            aggregation.gridText(row, c));
        }
        std::vector<int> columns{2 * cu + cu / 4, 5 * cu};
        for (int b = 0; b <= int(headings.size()); ++b)
            columns.push_back(blockX(b));
        page.headerRule(blockX(0), blockX(int(headings.size())));
        for (int b = 0; b < int(headings.size()); ++b)
            page.subColumnRule(blockX(b) + 3 * cu);
        page.rules(columns);
    }
    endPrint(canvas, outcome);
    return outcome;
}

std::vector<NoticeStudent> noticeStudents(const TestAggregation &aggregation,
                                          const std::vector<int> &classes) {
    std::vector<NoticeStudent> list;
    for (int cls : classes) {
        if (cls < 1 || cls > aggregation.classCount())
            continue;
        for (int n = 1; n <= kStudents; ++n)
            if (printable(aggregation.name(cls, n)))
                list.push_back({cls, n});
    }
    return list;
}

QString noticeMean(float mean, int marume) {
    if (!(mean > 0))
        return {};
    if (marume != 0)
        return formatSingle("%4.1f", mean);
    return QString::number(static_cast<long long>(std::nearbyint(static_cast<double>(mean))));
}

QString hundredPoint(int score, int full, int scale, int marume) {
    if (score < 0 || full <= 0)
        return QStringLiteral("*");
    const float converted = static_cast<float>(score) / static_cast<float>(full) * static_cast<float>(scale);
    if (marume != 0)
        return formatSingle("%4.1f", converted);
    return QString::number(static_cast<long long>(std::nearbyint(static_cast<double>(converted))));
}

namespace {

// One notice's drawing on the notice grid (left 150, top 100, row 54, column 60, line offset 10 units).
class NoticeWriter {
public:
    NoticeWriter(const TestAggregation &a, NoticeKind kind, bool means, PageCanvas &canvas)
        : m_a(a), m_kind(kind), m_means(means), m_canvas(canvas),
          m_page(canvas, PageGrid::fromUnits(canvas, 150, 100, 54, 60, 10)) {
        for (int s = 0; s < kMainSubjects; ++s)
            m_mainFull += a.fullScores[std::size_t(s)].values[0];
        if (kind == NoticeKind::Viewpoints)
            prepareViewpoints();
    }

    int perPage() const { return m_kind == NoticeKind::Viewpoints ? 14 : 36; }

    // Row -2 lies 8 units above the paper and column -3 30 units left of it: their marks start at
    // the paper's edge.
    void bar(int column, int row) {
        m_canvas.text(m_page.grid().x(column), std::max(0, m_page.grid().y(row)), QStringLiteral("|"));
    }

    void marks() {
        m_page.font(kMincho, 9);
        if (m_kind == NoticeKind::Viewpoints) {
            for (int row : {-2, 70})
                for (int column : {-2, 36})
                    bar(column, row);
            for (int row = -1; row <= 69; row += 5)
                for (int column : {-3, 37})
                    m_canvas.text(std::max(0, m_page.grid().x(column)), m_page.grid().y(row),
                                  QStringLiteral("―"));
            return;
        }
        for (int row : {-2, 72})
            for (int column : {-1, 21, 43})
                bar(column, row);
        // With a fourth row the marks go half a row lower, between the notices.
        const int shift = m_kind == NoticeKind::Hundred ? m_page.grid().rowHeight / 2 : 0;
        for (int row = -1; row <= 71; row += 4)
            for (int column : {-2, 44})
                m_canvas.text(m_page.grid().x(column), m_page.grid().y(row) + shift, QStringLiteral("―"));
    }

    // Notice `slot` (0-based on its page) of a student.
    void notice(int slot, int cls, int n) {
        if (m_kind == NoticeKind::Viewpoints)
            viewpointNotice(slot * 5, cls, n);
        else
            scoreNotice(slot % 18 * 4, slot / 18 * 22, cls, n);
    }

private:
    struct Column {
        QString heading;
        int gridColumn; // score column of the aggregation grid
    };

    std::vector<Column> columns() const {
        std::vector<Column> list{{QStringLiteral("国語"), 3},  {QStringLiteral("社会"), 5},
                                 {QStringLiteral("数学"), 7},  {QStringLiteral("理科"), 9},
                                 {QStringLiteral("英語"), 11}, {QStringLiteral("合計"), 13}};
        if (m_kind == NoticeKind::Nine)
            list.insert(list.end(), {{QStringLiteral("音楽"), 15},
                                     {QStringLiteral("美術"), 17},
                                     {QStringLiteral("保体"), 19},
                                     {QStringLiteral("技家"), 21}});
        return list;
    }

    float meanOf(int gridColumn, int cls, int n) const {
        std::optional<int> series;
        if (gridColumn == 13)
            series = kTotalSeries;
        else if (gridColumn == 19)
            series = pairSeries(m_a, kHotaiB, kHotaiG, kHotaiSeries, cls, n);
        else if (gridColumn == 21)
            series = pairSeries(m_a, kGikaI, kGikaH, kGikaSeries, cls, n);
        else if (gridColumn <= 11)
            series = subjectSeries((gridColumn - 3) / 2);
        else
            series = subjectSeries(gridColumn == 15 ? kOngaku : kBijutsu);
        return series ? m_a.statistics(*series).mean : -1.0f;
    }

    QString secondLine(int gridColumn, int cls, int n, int row) const {
        if (!m_means)
            return orStar(m_a.gridText(row, gridColumn + 1));
        const float mean = meanOf(gridColumn, cls, n);
        return mean < 0 ? QStringLiteral("*") : noticeMean(mean, m_a.marume());
    }

    void scoreNotice(int r, int w, int cls, int n) {
        const TestAggregation::Context &c = m_a.context();
        const int row = (cls - 1) * kStudents + n;
        m_page.font(kMincho, 9);
        m_page.text(w, r, c.testName);
        m_page.text(w, r + 1,
                    QStringLiteral("%1年 %2組 %3番").arg(c.grade).arg(classText(cls, c.classType)).arg(n));
        m_page.text(w + 6, r + 1, QStringLiteral("得　点"));
        m_page.text(w, r + 2, withoutMark(m_a.name(cls, n)));
        m_page.text(w + 6, r + 2, m_means ? QStringLiteral("平均点") : QStringLiteral("偏差値"));
        if (m_kind == NoticeKind::Hundred) {
            m_page.text(w, r + 3, QStringLiteral(" 100点"));
            m_page.text(w + 6, r + 3, QStringLiteral("  換算"));
        }
        const std::vector<Column> list = columns();
        for (std::size_t i = 0; i < list.size(); ++i) {
            const Column &col = list[i];
            const QString score = orStar(m_a.gridText(row, col.gridColumn));
            const QString second = secondLine(col.gridColumn, cls, n, row);
            if (m_kind != NoticeKind::Nine) {
                const int x = w + 9 + 2 * int(i);
                m_page.text(x, r, col.heading);
                m_page.padded(x, r + 1, score);
                m_page.padded(x, r + 2, second);
                if (m_kind == NoticeKind::Hundred) {
                    const bool total = col.gridColumn == 13;
                    const int value = total ? m_a.value(kTotalSeries, cls, n) : m_a.record(int(i), cls, n)[0];
                    const int full = total ? m_mainFull : m_a.fullScores[i].values[0];
                    m_page.padded(x, r + 3, hundredPoint(value, full, total ? 500 : 100, m_a.marume()));
                }
                continue;
            }
            // Nine subjects: ten cells of 74 units from 510 units on, headings 7 pt, values right-aligned
            // in 7 pt (6 pt beyond four characters).
            const int dpi = m_canvas.dpiX();
            const int left = m_page.grid().x(w) + pixels(510 + 74 * int(i), dpi);
            const int right = left + pixels(70, dpi);
            m_canvas.setFont(PageCanvas::Font{kMincho, 7});
            m_canvas.text(left + pixels(2, dpi), m_page.grid().y(r), col.heading);
            for (const auto &[line, value] : {std::pair{r + 1, score}, std::pair{r + 2, second}})
                rightText(right, m_page.grid().y(line), value, value.size() > 4 ? 6 : 7);
        }
    }

    // Text of half-width characters ending at `right`.
    void rightText(int right, int y, const QString &value, double size) {
        m_canvas.setFont(PageCanvas::Font{kMincho, size});
        const int width = int(cp932::byteLength(value) * size * m_canvas.dpiX() / 144.0);
        m_canvas.text(right - width, y, value);
    }

    // Viewpoint notices: the blocks of the eight subjects and the total, each the total and
    // viewpoints 1..m_viewpoints (the highest viewpoint with a full score).
    enum class BlockKind { Subject, Total, Hotai, Gika };
    struct Block {
        QString label;
        BlockKind kind;
        int subject;
    };

    void prepareViewpoints() {
        m_blocks = {{QStringLiteral("国語"), BlockKind::Subject, 0},
                    {QStringLiteral("社会"), BlockKind::Subject, 1},
                    {QStringLiteral("数学"), BlockKind::Subject, 2},
                    {QStringLiteral("理科"), BlockKind::Subject, 3},
                    {QStringLiteral("英語"), BlockKind::Subject, 4},
                    {QStringLiteral("合計"), BlockKind::Total, -1},
                    {QStringLiteral("音楽"), BlockKind::Subject, kOngaku},
                    {QStringLiteral("保体"), BlockKind::Hotai, -1},
                    {QStringLiteral("技家"), BlockKind::Gika, -1}};
        m_viewpoints = 1;
        for (const Block &b : m_blocks)
            for (int f = 1; f <= 5; ++f)
                if (b.kind != BlockKind::Total && m_a.seriesFull(blockSeries(b), f) > 0)
                    m_viewpoints = std::max(m_viewpoints, f);
        const int cells = 8 * (m_viewpoints + 1) + 1;
        m_cellUnits = 1820 / cells;
        // Three digits in 6 pt are 45 units: below 60 units a cell takes 5 pt.
        m_valueSize = m_cellUnits >= 60 ? 6 : 5;
    }

    static int blockSeries(const Block &b) {
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
    }

    void viewpointNotice(int r, int cls, int n) {
        const TestAggregation::Context &c = m_a.context();
        const PageGrid &grid = m_page.grid();
        const int dpiX = m_canvas.dpiX(), dpiY = m_canvas.dpiY();
        const int x0 = grid.x(0);
        // Six lines of 36 units in the notice's five rows; the cut mark row stays free.
        auto lineY = [&](int line) { return grid.y(r) + pixels(36 * line, dpiY); };
        m_canvas.setFont(PageCanvas::Font{kMincho, 7});
        m_canvas.text(x0, lineY(0), c.testName);
        m_canvas.text(x0, lineY(1),
                      QStringLiteral("%1年 %2組 %3番").arg(c.grade).arg(classText(cls, c.classType)).arg(n));
        m_canvas.text(x0, lineY(2), withoutMark(m_a.name(cls, n)));
        m_canvas.setFont(PageCanvas::Font{kMincho, 6});
        const std::array<const char16_t *, 4> labels = {u"得点", u"満点", u"到達", u"総合"};
        for (int i = 0; i < 4; ++i)
            m_canvas.text(x0 + pixels(250, dpiX), lineY(2 + i), QString::fromUtf16(labels[std::size_t(i)]));

        int cell = 0;
        auto cellRight = [&](int index) { return x0 + pixels(310 + m_cellUnits * (index + 1) - 4, dpiX); };
        auto cellLeft = [&](int index) { return x0 + pixels(310 + m_cellUnits * index, dpiX); };
        for (const Block &b : m_blocks) {
            const int fields = b.kind == BlockKind::Total ? 1 : m_viewpoints + 1;
            // 保体 and 技家 from the half the student has, with its own full scores.
            const int series = m_a.studentSeries(blockSeries(b), cls, n);
            m_canvas.setFont(PageCanvas::Font{kMincho, 7});
            // The one-cell total block ends its heading at its right edge.
            m_canvas.text(b.kind == BlockKind::Total ? cellRight(cell) - pixels(84, dpiX) : cellLeft(cell),
                          lineY(0), b.label);
            for (int f = 0; f < fields; ++f) {
                const int right = cellRight(cell + f);
                m_canvas.setFont(PageCanvas::Font{kMincho, 6});
                const QString head = f == 0 ? QStringLiteral("計") : QString(QChar(char16_t(0x2460 + f - 1)));
                m_canvas.text(right - pixels(30, dpiX), lineY(1), head);
                const int value = m_a.value(series, cls, n, f);
                const int fullScore = m_a.seriesFull(series, f);
                rightText(right, lineY(2), value < 0 ? QStringLiteral("*") : QString::number(value),
                          m_valueSize);
                rightText(right, lineY(3),
                          fullScore == 0  ? QStringLiteral("*")
                          : fullScore < 0 ? QString()
                                          : QString::number(fullScore),
                          m_valueSize);
                const std::optional<long long> a = achievement(value, fullScore);
                if (a)
                    rightText(right, lineY(4), QString::number(*a), m_valueSize);
            }
            // 総合: each subject's total, "=" after 英語 and the five-subject total.
            const int total = m_a.value(series, cls, n, 0);
            rightText(cellRight(cell), lineY(5), total < 0 ? QStringLiteral("*") : QString::number(total),
                      m_valueSize);
            if (b.kind == BlockKind::Subject && b.subject == kMainSubjects - 1)
                rightText(cellRight(cell + fields - 1), lineY(5), QStringLiteral("="), m_valueSize);
            cell += fields;
        }
    }

    const TestAggregation &m_a;
    NoticeKind m_kind;
    bool m_means;
    PageCanvas &m_canvas;
    Page m_page;
    int m_mainFull = 0;
    std::vector<Block> m_blocks;
    int m_viewpoints = 1;
    int m_cellUnits = 60;
    double m_valueSize = 6;
};

} // namespace

PrintOutcome printNotices(const TestAggregation &aggregation, NoticeKind kind, bool means,
                          const std::vector<int> &classes, PrintTarget &target, Prompter &prompter) {
    if (classes.empty()) {
        prompter.message(QStringLiteral("Tavro"), selectClassMessage());
        return {};
    }
    const std::vector<NoticeStudent> students = noticeStudents(aggregation, classes);
    if (students.empty())
        return {};
    PrintTarget::Job job;
    job.title = jobTitle(QStringLiteral("得点通知資料"));
    job.fromPage = 1;
    job.toPage = int(students.size());
    PrintOutcome outcome;
    const PrintTarget::Opened opened = beginPrint(target, job, outcome);
    if (!opened.canvas)
        return outcome;
    PageCanvas &canvas = *opened.canvas;
    const int from = opened.fromPage > 0 ? opened.fromPage : 1;
    const int to = opened.fromPage > 0 ? std::min(opened.toPage, job.toPage) : job.toPage;
    NoticeWriter writer(aggregation, kind, means, canvas);
    int placed = 0;
    for (int k = from; k <= to; ++k) {
        const int slot = placed % writer.perPage();
        if (slot == 0) {
            if (placed > 0 && !nextPrintPage(canvas, outcome))
                return outcome;
            ++outcome.pages;
            writer.marks();
        }
        const NoticeStudent &st = students[std::size_t(k - 1)];
        writer.notice(slot, st.cls, st.number);
        ++placed;
    }
    endPrint(canvas, outcome);
    return outcome;
}

} // namespace tavro::reports
