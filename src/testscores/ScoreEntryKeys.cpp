#include "testscores/ScoreEntryKeys.h"

namespace tavro::scoreentry {

QChar halfWidthKey(QChar c) {
    if (c.unicode() >= 0xFF01 && c.unicode() <= 0xFF5E)
        return QChar(char16_t(c.unicode() - 0xFF01 + 0x21));
    return c;
}

int digitOfKey(QChar c) {
    c = halfWidthKey(c);
    if (c >= u'0' && c <= u'9')
        return c.unicode() - u'0';
    switch (c.toLower().unicode()) {
    case u'm':
        return 0;
    case u'j':
        return 1;
    case u'k':
        return 2;
    case u'l':
        return 3;
    case u'u':
        return 4;
    case u'i':
        return 5;
    case u'o':
        return 6;
    default:
        return -1;
    }
}

CharResult characterKey(int value, QChar c) {
    c = halfWidthKey(c);
    CharResult r;
    r.value = value;
    if (c == u'n' || c == u'N') {
        r.nextHalf = true;
        return r;
    }
    const int d = digitOfKey(c);
    if (d >= 0) {
        r.changes = true;
        r.digit = d;
        r.value = value <= testscore::kBlank ? d : value * 10 + d;
        if (r.value > 100)
            r.value %= 100;
        return r;
    }
    switch (c.unicode()) {
    case u'*':
        r.value = testscore::kExcluded;
        break;
    case u'-':
        r.value = testscore::kNotTaken;
        break;
    case u'/':
        r.value = testscore::kBlank;
        break;
    default:
        return r;
    }
    r.changes = true;
    return r;
}

int backspaceValue(int value) {
    return value < 10 ? testscore::kBlank : value / 10;
}

int rowTotal(const TestScoreRecord &record) {
    int status = testscore::kBlank;
    int sum = 0;
    for (int v = 1; v <= 5; ++v) {
        const int value = record[std::size_t(v)];
        if (value >= 0) {
            sum += value;
            status = 0;
        } else if (value == testscore::kNotTaken || value == testscore::kExcluded) {
            status = value;
        }
    }
    return status == 0 ? sum : status;
}

QString scoreText(int value) {
    switch (value) {
    case testscore::kBlank:
        return {};
    case testscore::kNotTaken:
        return QStringLiteral("-");
    case testscore::kExcluded:
        return QStringLiteral("*");
    default:
        return QString::number(value);
    }
}

int firstExaminedViewpoint(const TestScoreRecord &fullScores) {
    for (int v = 1; v <= 5; ++v)
        if (fullScores[std::size_t(v)] >= 1)
            return v;
    return 1;
}

namespace {

int wrapTab(int tab, int tabs) {
    return tabs <= 0 ? 0 : ((tab % tabs) + tabs) % tabs;
}

// The row below, on row 1 of the next tab after row 30.
void rowDown(Cursor &c, const Layout &layout) {
    if (c.row < kRows) {
        ++c.row;
    } else {
        c.row = 1;
        c.tab = wrapTab(c.tab + 1, layout.tabs);
    }
}

} // namespace

MoveResult move(const Cursor &cursor, Move key, bool ctrl, const Layout &layout) {
    Cursor c = cursor;
    const bool vp = layout.byViewpoint;
    switch (key) {
    case Move::Enter:
        if (vp) {
            int next = c.column + 1;
            while (next <= 5 && layout.fullScores[std::size_t(next)] < 1)
                ++next;
            if (next <= 5) {
                c.column = next;
            } else {
                rowDown(c, layout);
                c.column = firstExaminedViewpoint(layout.fullScores);
            }
        } else {
            rowDown(c, layout);
        }
        break;
    case Move::Down:
        rowDown(c, layout);
        break;
    case Move::Up:
        if (c.row > 1) {
            --c.row;
        } else {
            c.row = kRows;
            c.tab = wrapTab(c.tab - 1, layout.tabs);
        }
        break;
    case Move::Right:
        if (vp)
            c.column = c.column % 5 + 1;
        break;
    case Move::Left:
        if (vp)
            c.column = (c.column + 3) % 5 + 1;
        break;
    case Move::Home:
        if (vp) {
            c.column = 1;
            if (ctrl)
                c.row = 1;
        }
        break;
    case Move::End:
        if (vp) {
            c.column = 5;
            if (ctrl)
                c.row = kRows;
        }
        break;
    case Move::PageUp:
        c.tab = wrapTab(c.tab - 1, layout.tabs);
        break;
    case Move::PageDown:
        c.tab = wrapTab(c.tab + 1, layout.tabs);
        break;
    case Move::NextHalf:
        c.tab = wrapTab(c.tab + 1, layout.tabs);
        c.row = 1;
        c.column = vp ? firstExaminedViewpoint(layout.fullScores) : 0;
        break;
    }
    MoveResult r;
    r.cursor = c;
    r.rowChanged = c.row != cursor.row || c.tab != cursor.tab;
    r.chime = key == Move::Enter && r.rowChanged && c.row % 5 == 1;
    return r;
}

} // namespace tavro::scoreentry
