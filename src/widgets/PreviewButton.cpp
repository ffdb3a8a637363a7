#include "widgets/PreviewButton.h"

#include <QEvent>
#include <QPushButton>

namespace tavro::ui {

namespace {

// Follows the enabled state of the watched button.
class EnabledMirror final : public QObject {
public:
    EnabledMirror(QPushButton *source, QPushButton *mirror) : QObject(mirror), m_mirror(mirror) {
        source->installEventFilter(this);
    }
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::EnabledChange)
            m_mirror->setEnabled(static_cast<QWidget *>(watched)->isEnabled());
        return false;
    }

private:
    QPushButton *m_mirror;
};

} // namespace

QPushButton *previewButtonFor(QPushButton *print) {
    auto *button = new QPushButton(QStringLiteral("プレビュー"));
    button->setObjectName(print->objectName() + QStringLiteral("Preview"));
    QFont font = print->font();
    font.setBold(false); // the print button stays the first choice
    button->setFont(font);
    button->setMinimumHeight(print->minimumHeight());
    button->setEnabled(print->isEnabled());
    button->setToolTip(print->text() + QStringLiteral("のプレビュー"));
    new EnabledMirror(print, button);
    return button;
}

} // namespace tavro::ui
