#include "evaluation/Formula.h"

#include "common/Rounding.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <string_view>

namespace tavro::formula {

namespace {

bool isKept(char16_t c) {
    return (c >= u'0' && c <= u'9') || c == u'(' || c == u')' || c == u'*' || c == u'/' || c == u'+' ||
           c == u'-';
}

// An integer text ("12", " 7 "); anything else reads as 0.
int toInteger(QStringView text) {
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    return ok ? n : 0;
}

std::string decimal(double value) {
    if (value == 0)
        return "0"; // also for -0
    char buffer[400];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    return r.ec == std::errc() ? std::string(buffer, r.ptr) : std::string("x");
}

bool parseNumber(std::string_view digits, double &value) {
    if (digits.empty() || digits.front() == '.')
        return false;
    const auto r =
        std::from_chars(digits.data(), digits.data() + digits.size(), value, std::chars_format::fixed);
    return r.ec == std::errc() && r.ptr == digits.data() + digits.size() && std::isfinite(value);
}

bool apply(char op, double &left, double right) {
    switch (op) {
    case '+':
        left += right;
        break;
    case '-':
        left -= right;
        break;
    case '*':
        left *= right;
        break;
    default:
        left = right == 0 ? 0.0 : left / right;
        break;
    }
    return std::isfinite(left);
}

// A text without parentheses: signed numbers joined by operators.
std::optional<double> evaluateFlat(std::string_view t) {
    std::size_t i = 0;
    auto operand = [&](double &v) {
        bool negative = false;
        while (i < t.size() && t[i] == '-') {
            negative = !negative;
            ++i;
        }
        const std::size_t start = i;
        while (i < t.size() && ((t[i] >= '0' && t[i] <= '9') || t[i] == '.'))
            ++i;
        if (!parseNumber(t.substr(start, i - start), v))
            return false;
        if (negative)
            v = -v;
        return true;
    };
    double total = 0, term = 0;
    char addOp = 0;
    if (!operand(term))
        return std::nullopt;
    while (i < t.size()) {
        const char op = t[i++];
        double right = 0;
        if (!operand(right))
            return std::nullopt;
        if (op == '*' || op == '/') {
            if (!apply(op, term, right))
                return std::nullopt;
        } else { // '+' or '-'
            if (addOp == 0)
                total = term;
            else if (!apply(addOp, total, term))
                return std::nullopt;
            addOp = op;
            term = right;
        }
    }
    if (addOp == 0)
        return term;
    if (!apply(addOp, total, term))
        return std::nullopt;
    return total;
}

} // namespace

bool isFrozen(QStringView formula) {
    return formula.startsWith(QLatin1String("@SJS"), Qt::CaseInsensitive);
}

QString decimalText(double value) {
    return QString::fromStdString(decimal(value));
}

std::optional<double> evaluateArithmetic(QStringView text) {
    std::string s;
    s.reserve(std::size_t(text.size()));
    for (QChar c : text)
        if (isKept(c.unicode()))
            s.push_back(char(c.unicode()));
    for (;;) {
        const std::size_t close = s.find(')');
        if (close == std::string::npos) {
            if (s.find('(') != std::string::npos)
                return std::nullopt;
            return evaluateFlat(s);
        }
        const std::size_t open = s.rfind('(', close);
        if (open == std::string::npos)
            return std::nullopt;
        const std::optional<double> v = evaluateFlat(std::string_view(s).substr(open + 1, close - open - 1));
        if (!v)
            return std::nullopt;
        s.replace(open, close - open + 1, decimal(*v));
    }
}

int resultCode(unsigned flags, std::optional<double> value) {
    if (flags & flag::kEmpty)
        return score::kEmpty;
    std::int64_t result = -1;
    if (value && std::isfinite(*value))
        result = rounding::addHalfTruncate(*value);
    const bool usable = result >= 0 && result <= kMaxResult;
    if (!usable && !(flags & (flag::kTransferred | flag::kNotSubmitted)))
        return score::kEmpty;
    if (flags & flag::kNotSubmitted)
        return score::kNotSubmitted;
    if (flags & flag::kTransferred)
        return score::kTransferred;
    if (flags & flag::kEstimate)
        return int(score::kEstimateBase - result);
    return int(result);
}

int evaluateByText(const QString &formula, int item, const std::function<int(int)> &scoreOf) {
    if (isFrozen(formula))
        return scoreOf(item);
    unsigned flags = 0;
    if (formula.startsWith(QLatin1Char('='))) {
        QString text;
        QString ref;
        bool inRef = false;
        for (qsizetype i = 1; i < formula.size(); ++i) {
            const QChar c = formula[i];
            if (c == QLatin1Char('[')) {
                inRef = true;
                ref.clear();
            } else if (inRef) {
                if (c == QLatin1Char(']')) {
                    inRef = false;
                    const int n = toInteger(ref);
                    if (isItem(n))
                        text += QString::number(readScore(scoreOf(n), flags));
                } else {
                    ref += c;
                }
            } else {
                text += c;
            }
        }
        if (!(flags & flag::kHasValue))
            return resultCode(flags, std::nullopt);
        return resultCode(flags, evaluateArithmetic(text));
    }
    std::int64_t sum = 0;
    QStringView rest(formula);
    for (;;) {
        const qsizetype comma = rest.indexOf(QLatin1Char(','));
        const int n = toInteger(comma < 0 ? rest : rest.left(comma));
        if (n < 1 || n >= 1000)
            break;
        if (n < item)
            sum += readScore(scoreOf(n), flags);
        if (comma < 0)
            break;
        rest = rest.mid(comma + 1);
    }
    if (!(flags & flag::kHasValue))
        return resultCode(flags, std::nullopt);
    return resultCode(flags, double(sum));
}

namespace {

// Tokens of an expression after the removal of other characters: operator and parenthesis
// characters, digit runs and item references.
struct Token {
    enum Type { Char, Digits, Ref } type;
    char c = 0;
    std::string digits;
    int ref = 0;
    bool isNumber() const { return type != Char; }
};

} // namespace

Formula Formula::compile(const QString &formula, int item) {
    Formula f;
    f.m_item = item;
    if (formula::isFrozen(formula)) {
        f.m_kind = Kind::Frozen;
        return f;
    }
    if (!formula.startsWith(QLatin1Char('='))) {
        f.m_kind = Kind::List;
        QStringView rest(formula);
        for (;;) {
            const qsizetype comma = rest.indexOf(QLatin1Char(','));
            const int n = toInteger(comma < 0 ? rest : rest.left(comma));
            if (n < 1 || n >= 1000)
                break;
            if (n < item)
                f.m_refs.push_back(n);
            if (comma < 0)
                break;
            rest = rest.mid(comma + 1);
        }
        return f;
    }
    f.m_kind = Kind::Expression;
    std::vector<Token> tokens;
    QString ref;
    bool inRef = false;
    for (qsizetype i = 1; i < formula.size(); ++i) {
        const char16_t c = formula[i].unicode();
        if (c == u'[') {
            inRef = true;
            ref.clear();
        } else if (inRef) {
            if (c == u']') {
                inRef = false;
                const int n = toInteger(ref);
                if (isItem(n)) {
                    tokens.push_back(Token{Token::Ref, 0, {}, int(f.m_refs.size())});
                    f.m_refs.push_back(n);
                }
            } else {
                ref += QChar(c);
            }
        } else if (isKept(c)) {
            if (c >= u'0' && c <= u'9') {
                if (!tokens.empty() && tokens.back().type == Token::Digits)
                    tokens.back().digits.push_back(char(c));
                else
                    tokens.push_back(Token{Token::Digits, 0, std::string(1, char(c)), 0});
            } else {
                tokens.push_back(Token{Token::Char, char(c), {}, 0});
            }
        }
    }
    // Numbers or groups side by side join into one number in the substituted text; such formulas
    // are evaluated by substitution.
    for (std::size_t t = 1; t < tokens.size(); ++t) {
        const Token &a = tokens[t - 1];
        const Token &b = tokens[t];
        if ((a.isNumber() || a.c == ')') && (b.isNumber() || b.c == '(')) {
            f.m_byText = true;
            f.m_text = formula;
            return f;
        }
    }
    // Recursive descent: sum = product (("+"|"-") product)*; product = operand (("*"|"/") operand)*;
    // operand = "-"* (number | reference | "(" sum ")").
    std::size_t pos = 0;
    int nesting = 0;
    bool ok = true;
    auto peek = [&]() -> char {
        return pos < tokens.size() && tokens[pos].type == Token::Char ? tokens[pos].c : 0;
    };
    std::function<bool()> sum;
    auto operand = [&]() -> bool {
        bool negative = false;
        while (peek() == '-') {
            negative = !negative;
            ++pos;
        }
        if (pos >= tokens.size())
            return false;
        const Token &t = tokens[pos];
        if (t.type == Token::Digits) {
            double v = 0;
            if (!parseNumber(t.digits, v))
                return false;
            f.m_program.push_back(Step{Op::Const, 0, v});
            ++pos;
        } else if (t.type == Token::Ref) {
            f.m_program.push_back(Step{Op::Ref, t.ref, 0});
            ++pos;
        } else if (t.c == '(') {
            if (++nesting > 200) { // evaluated by substitution instead of recursing deeper
                ok = false;
                return false;
            }
            ++pos;
            if (!sum() || peek() != ')')
                return false;
            ++pos;
            --nesting;
        } else {
            return false;
        }
        if (negative)
            f.m_program.push_back(Step{Op::Neg, 0, 0});
        return true;
    };
    auto product = [&]() -> bool {
        if (!operand())
            return false;
        while (peek() == '*' || peek() == '/') {
            const Op op = peek() == '*' ? Op::Mul : Op::Div;
            ++pos;
            if (!operand())
                return false;
            f.m_program.push_back(Step{op, 0, 0});
        }
        return true;
    };
    sum = [&]() -> bool {
        if (!product())
            return false;
        while (peek() == '+' || peek() == '-') {
            const Op op = peek() == '+' ? Op::Add : Op::Sub;
            ++pos;
            if (!product())
                return false;
            f.m_program.push_back(Step{op, 0, 0});
        }
        return true;
    };
    const bool parsed = sum() && pos == tokens.size();
    if (!ok) {
        f.m_byText = true;
        f.m_text = formula;
        f.m_program.clear();
        return f;
    }
    if (!parsed) {
        f.m_malformed = true;
        f.m_program.clear();
        return f;
    }
    int depth = 0;
    for (const Step &s : f.m_program) {
        depth += (s.op == Op::Const || s.op == Op::Ref) ? 1 : s.op == Op::Neg ? 0 : -1;
        f.m_depth = std::max(f.m_depth, depth);
    }
    return f;
}

std::optional<double> Formula::run(const double *values) const {
    constexpr int kInline = 64;
    double inlineStack[kInline];
    std::vector<double> heap;
    double *stack = inlineStack;
    if (m_depth > kInline) {
        heap.resize(std::size_t(m_depth));
        stack = heap.data();
    }
    int top = 0;
    for (const Step &s : m_program) {
        switch (s.op) {
        case Op::Const:
            stack[top++] = s.value;
            break;
        case Op::Ref:
            stack[top++] = values[s.ref];
            break;
        case Op::Neg:
            stack[top - 1] = -stack[top - 1];
            break;
        default: {
            const double right = stack[--top];
            double &left = stack[top - 1];
            const char op = s.op == Op::Add ? '+' : s.op == Op::Sub ? '-' : s.op == Op::Mul ? '*' : '/';
            if (!apply(op, left, right))
                return std::nullopt;
        }
        }
    }
    return top == 1 ? std::optional<double>(stack[0]) : std::nullopt;
}

int Formula::finish(unsigned flags, const double *values) const {
    if ((flags & (flag::kEmpty | flag::kTransferred | flag::kNotSubmitted)) || !(flags & flag::kHasValue))
        return resultCode(flags, std::nullopt); // the value cannot change the result
    return resultCode(flags, m_malformed ? std::nullopt : run(values));
}

int Formula::evaluateText(const std::function<int(int)> &scoreOf) const {
    return evaluateByText(m_text, m_item, scoreOf);
}

Recalculator::Recalculator(const Worksheet &worksheet) {
    for (int item = 1; item <= kMaxItems; ++item) {
        const WorksheetItem &it = worksheet.item(item);
        if (it.kind != itemkind::kAggregate || formula::isFrozen(it.formula))
            continue;
        m_entries.push_back(Entry{item, Formula::compile(it.formula, item)});
    }
}

void Recalculator::recalculateRow(Worksheet &worksheet, int slot) const {
    for (const Entry &e : m_entries)
        worksheet.score(e.item, slot) = e.formula.evaluate(worksheet, slot);
}

void Recalculator::recalculateRows(Worksheet &worksheet, const std::vector<int> &rows) const {
    // Item by item over all rows: each row still sees its lower items fresh and its higher items
    // unchanged, and the scores of one item lie together in memory.
    for (const Entry &e : m_entries) {
        std::int32_t *target = worksheet.itemScores(e.item);
        for (int slot : rows)
            if (slot >= 0 && slot < kSlots)
                target[slot] = e.formula.evaluate(worksheet, slot);
    }
}

void recalculateRow(Worksheet &worksheet, int slot) {
    if (slot >= 0 && slot < kSlots)
        Recalculator(worksheet).recalculateRow(worksheet, slot);
}

void recalculateRows(Worksheet &worksheet, const std::vector<int> &rows) {
    Recalculator(worksheet).recalculateRows(worksheet, rows);
}

} // namespace tavro::formula
