#include "TestDoubles.h"

#include "common/Cp932.h"

namespace tavro::test {

Prompter::Answer ScriptedPrompter::ask(const QString &caption, const QString &text, Buttons buttons,
                                       Answer defaultAnswer, Icon) {
    const std::optional<Answer> chosen = whenAsked ? whenAsked(text) : std::nullopt;
    const Answer answer = chosen ? *chosen : m_script.isEmpty() ? defaultAnswer : m_script.takeFirst();
    m_shown.append(Shown{caption, text, buttons, defaultAnswer, answer});
    return answer;
}

QStringList ScriptedPrompter::texts() const {
    QStringList list;
    for (const Shown &s : m_shown)
        list.append(s.text);
    return list;
}

void RecordingCanvas::setTitle(const QString &title) {
    operations.append(QStringLiteral("title ") + title);
}

void RecordingCanvas::setOrientation(Orientation orientation) {
    operations.append(orientation == Orientation::Landscape ? QStringLiteral("landscape")
                                                            : QStringLiteral("portrait"));
}

bool RecordingCanvas::begin() {
    operations.append(QStringLiteral("begin"));
    return true;
}

bool RecordingCanvas::newPage() {
    operations.append(QStringLiteral("newPage"));
    return failAt <= 0 || operations.count(QStringLiteral("newPage")) < failAt;
}

bool RecordingCanvas::end() {
    operations.append(QStringLiteral("end"));
    return failAt != -1;
}

void RecordingCanvas::setFont(const Font &font) {
    operations.append(QStringLiteral("font %1 %2%3%4")
                          .arg(font.family)
                          .arg(font.pointSize)
                          .arg(font.bold ? QStringLiteral(" bold") : QString())
                          .arg(font.escapement ? QStringLiteral(" esc%1").arg(font.escapement) : QString()));
}

void RecordingCanvas::setPenWidth(int pixels) {
    operations.append(QStringLiteral("pen %1").arg(pixels));
}

void RecordingCanvas::text(int x, int y, const QString &text) {
    operations.append(QStringLiteral("text %1 %2 %3").arg(x).arg(y).arg(text));
}

int RecordingCanvas::textWidth(const QString &text) const {
    return cp932::byteLength(text) * resolution / 12;
}

void RecordingCanvas::line(int x1, int y1, int x2, int y2) {
    operations.append(QStringLiteral("line %1 %2 %3 %4").arg(x1).arg(y1).arg(x2).arg(y2));
}

void RecordingCanvas::rectangle(int left, int top, int right, int bottom) {
    operations.append(QStringLiteral("rect %1 %2 %3 %4").arg(left).arg(top).arg(right).arg(bottom));
}

} // namespace tavro::test
