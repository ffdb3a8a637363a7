#include "config/ui/SettingsFormParts.h"

#include "widgets/RadioGroup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace tavro::settingsui {

namespace {

QString u(const char *text) {
    return QString::fromUtf8(text);
}

} // namespace

QLabel *note(const QString &text) {
    auto *label = new QLabel(text);
    label->setWordWrap(true);
    label->setStyleSheet(u("color: #1f3f8f;"));
    return label;
}

QPushButton *button(const QString &name, const QString &text) {
    auto *b = new QPushButton(text);
    b->setObjectName(name);
    b->setMinimumSize(120, 28);
    b->setAutoDefault(false);
    return b;
}

QVBoxLayout *defaultButtons(const QString &prefix, const std::array<QLineEdit *, 5> &edits,
                            std::array<QString, 5> (*defaults)(SettingsEditor::Term)) {
    auto *three = button(prefix + u("3"), u("三学期制デフォルト"));
    auto *two = button(prefix + u("2"), u("前後期制デフォルト"));
    auto fill = [edits, defaults](SettingsEditor::Term term) {
        const std::array<QString, 5> names = defaults(term);
        for (int i = 0; i < 5; ++i)
            edits[std::size_t(i)]->setText(names[std::size_t(i)]);
    };
    QObject::connect(three, &QPushButton::clicked, three, [fill] { fill(SettingsEditor::Term::ThreeTerms); });
    QObject::connect(two, &QPushButton::clicked, two, [fill] { fill(SettingsEditor::Term::TwoTerms); });
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(three);
    buttons->addWidget(two);
    buttons->addStretch(1);
    return buttons;
}

QLineEdit *lineEdit(const QString &name, int width) {
    auto *e = new QLineEdit;
    e->setObjectName(name);
    if (width > 0)
        e->setFixedWidth(width);
    return e;
}

QComboBox *comboBox(const QString &name, const QStringList &items) {
    auto *c = new QComboBox;
    c->setObjectName(name);
    c->addItems(items);
    c->setMinimumWidth(70);
    return c;
}

QSpinBox *spinBox(const QString &name, int low, int high) {
    auto *s = new QSpinBox;
    s->setObjectName(name);
    s->setRange(low, high);
    s->setAlignment(Qt::AlignRight);
    s->setMinimumWidth(64);
    return s;
}

RadioGroup *radioGroup(const QString &name, const QString &title, const QStringList &items, int columns) {
    auto *g = new RadioGroup(title);
    g->setObjectName(name);
    g->setItems(items);
    g->setColumns(columns);
    return g;
}

QCheckBox *checkBox(const QString &name, const QString &text) {
    auto *c = new QCheckBox(text);
    c->setObjectName(name);
    return c;
}

QWidget *page(QLayout *content, const QStringList &notes) {
    auto *w = new QWidget;
    auto *v = new QVBoxLayout(w);
    v->setContentsMargins(16, 14, 16, 12);
    v->setSpacing(10);
    v->addLayout(content);
    v->addStretch(1);
    for (const QString &text : notes)
        v->addWidget(note(text));
    return w;
}

QHBoxLayout *row(std::initializer_list<QWidget *> widgets, bool stretch) {
    auto *h = new QHBoxLayout;
    h->setSpacing(8);
    for (QWidget *w : widgets)
        h->addWidget(w);
    if (stretch)
        h->addStretch(1);
    return h;
}

QGroupBox *framed(const QString &title, QLayout *content) {
    auto *box = new QGroupBox(title);
    auto *v = new QVBoxLayout(box);
    v->setContentsMargins(12, 10, 12, 10);
    v->addLayout(content);
    return box;
}

} // namespace tavro::settingsui
