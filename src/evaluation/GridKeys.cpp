#include "evaluation/GridKeys.h"

#include "evaluation/Worksheet.h"

#include <array>

namespace tavro::gridkeys {

int digitOfKey(QChar c) {
    if (c >= u'0' && c <= u'9')
        return c.unicode() - u'0';
    switch (c.toLower().unicode()) {
    case u'm':
        return 0;
    case u'j':
    case u'd':
    case u'x':
        return 1;
    case u'k':
    case u'c':
        return 2;
    case u'l':
    case u'b':
        return 3;
    case u'u':
    case u'a':
        return 4;
    case u'i':
    case u'w':
    case u's':
        return 5;
    case u'o':
        return 6;
    default:
        return -1;
    }
}

namespace {

bool isLetter(QChar c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

// A stored value or estimate above a full score that is set.
bool aboveFullScore(int code, int fullScore) {
    if (fullScore <= 0)
        return false;
    if (code >= 0)
        return code > fullScore;
    return score::isEstimate(code) && score::estimateValue(code) > fullScore;
}

KeyResult finish(const ScoreCell &cell, int value, int digit) {
    KeyResult r;
    r.handled = true;
    r.value = value;
    r.changed = value != cell.value;
    r.digit = digit;
    r.beep = aboveFullScore(value, cell.fullScore);
    return r;
}

KeyResult refused(const ScoreCell &cell) {
    KeyResult r;
    r.handled = true;
    r.value = cell.value;
    r.beep = true;
    return r;
}

KeyResult unchanged(int value) {
    KeyResult r;
    r.handled = true;
    r.value = value;
    return r;
}

} // namespace

KeyResult scoreKey(const ScoreCell &cell, const KeyPress &key) {
    const int v = cell.value;
    if (key.key == Key::Enter || key.key == Key::Space)
        return {};
    const bool editKey = key.key == Key::Backspace || key.key == Key::Delete;
    const QChar c = key.ch;
    const bool refusable = editKey || c == u'-' || c == u'/' || (c >= u'0' && c <= u'9') || isLetter(c);
    if (!editKey && !refusable && c != u'*')
        return {};
    if (refusable &&
        (cell.isProtected || ((cell.kind == itemkind::kPeriodicTest || cell.kind == itemkind::kAggregate ||
                               cell.kind == itemkind::kAchievementTest) &&
                              v >= 0)))
        return refused(cell);

    if (key.key == Key::Delete)
        return finish(cell, score::kEmpty, -1);
    if (key.key == Key::Backspace) {
        if ((v >= 0 && v <= 9) || v == score::kTransferred || v == score::kAbsent ||
            v == score::kNotSubmitted)
            return finish(cell, score::kEmpty, -1);
        if (v >= 10)
            return finish(cell, v / 10, -1);
        if (score::isEstimate(v)) {
            const int e = score::estimateValue(v);
            return finish(cell, e < 10 ? score::kAbsent : score::estimate(e / 10), -1);
        }
        return unchanged(v);
    }
    switch (c.unicode()) {
    case u'*':
        return finish(cell, score::kAbsent, -1);
    case u'-':
        return finish(cell, score::kTransferred, -1);
    case u'/':
        return finish(cell, score::kNotSubmitted, -1);
    case u't':
    case u'T':
        if (v == score::kMaxScore) {
            KeyResult r = unchanged(v);
            r.beep = true;
            return r;
        }
        if (v == score::kEmpty)
            return finish(cell, 1, -1);
        if (v >= 0 && v < score::kMaxScore)
            return finish(cell, v + 1, -1);
        return unchanged(v);
    default:
        break;
    }
    const int d = digitOfKey(c);
    if (d < 0)
        return unchanged(v);
    int value = 0;
    bool estimate = cell.kind == itemkind::kPeriodicTest || cell.kind == itemkind::kAchievementTest;
    if (v >= 0)
        value = (v * 10 + d) % 1000;
    else if (score::isEstimate(v)) {
        value = (score::estimateValue(v) * 10 + d) % 1000;
        estimate = true;
    } else if (v == score::kAbsent) {
        value = d;
        estimate = true;
    } else
        value = d;
    return finish(cell, estimate ? score::estimate(value) : value, d);
}

KeyResult ratioKey(int value, const KeyPress &key) {
    switch (key.key) {
    case Key::Backspace: {
        KeyResult r = unchanged(value);
        r.value = value / 10;
        r.changed = r.value != value;
        return r;
    }
    case Key::Delete: {
        KeyResult r = unchanged(value);
        r.value = 0;
        r.changed = value != 0;
        return r;
    }
    case Key::Enter:
    case Key::Space:
        return {};
    case Key::Character:
        break;
    }
    const int d = digitOfKey(key.ch);
    if (d < 0)
        return isLetter(key.ch) ? unchanged(value) : KeyResult{};
    KeyResult r = unchanged(value);
    r.value = (value * 10 + d) % 1000;
    r.changed = r.value != value;
    r.digit = d;
    return r;
}

RowMove nextRow(const std::vector<QString> &rowNames, int row) {
    RowMove m;
    m.row = row;
    for (int r = row + 1; r < int(rowNames.size()); ++r)
        if (!rowNames[std::size_t(r)].isEmpty()) {
            m.row = r;
            m.chime = (r + 1) % 5 == 1;
            break;
        }
    return m;
}

QString displayText(int code, int fullScore, bool symbolInput) {
    switch (code) {
    case score::kEmpty:
        return {};
    case score::kTransferred:
        return QStringLiteral("-");
    case score::kAbsent:
        return QStringLiteral("*");
    case score::kNotSubmitted:
        return QStringLiteral("/");
    default:
        break;
    }
    if (symbolInput) {
        static const std::array<QString, 6> marks = {QString(),
                                                     QStringLiteral("Cx"),
                                                     QStringLiteral("C "),
                                                     QStringLiteral("B "),
                                                     QStringLiteral("A "),
                                                     QStringLiteral("A\uFF9F")};
        if (code >= 1 && code <= 5)
            return marks[std::size_t(code)];
        if (code <= score::kEstimateBase && code >= score::kEstimateBase - 5) {
            const int e = score::estimateValue(code);
            return e == 0 ? QStringLiteral("*0 ") : QLatin1Char('*') + marks[std::size_t(e)];
        }
        return QStringLiteral("??");
    }
    if (code >= 0)
        return fullScore > 0 && code > fullScore ? QLatin1Char('+') + QString::number(code)
                                                 : QString::number(code);
    if (score::isEstimate(code))
        return QLatin1Char('*') + QString::number(score::estimateValue(code));
    return QStringLiteral("??");
}

bool isWarningCell(int code, int fullScore, bool symbolInput) {
    if (code == score::kAbsent)
        return true;
    if (symbolInput)
        return displayText(code, fullScore, true) == QLatin1String("??");
    return code >= 0 && fullScore > 0 && code > fullScore;
}

QString digitSoundName(int digit, bool girlsVoice) {
    static const std::array<const char16_t *, 10> names = {u"rei", u"iti",  u"ni",   u"san",  u"yon",
                                                           u"go",  u"roku", u"siti", u"hati", u"ku"};
    if (digit < 0 || digit > 9)
        return {};
    QString name = QString::fromUtf16(names[std::size_t(digit)]);
    if (girlsVoice)
        name += QLatin1Char('2');
    return name;
}

} // namespace tavro::gridkeys
