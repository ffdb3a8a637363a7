#include "widgets/UndoActions.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QWidget>

namespace tavro::undoactions {

Actions addToMenu(QMenu *menu, const std::function<void(bool redo)> &handler) {
    Actions actions;
    actions.undo = menu->addAction(QStringLiteral("元に戻す(&U)"));
    actions.undo->setObjectName(QStringLiteral("UndoAction"));
    actions.redo = menu->addAction(QStringLiteral("やり直し(&R)"));
    actions.redo->setObjectName(QStringLiteral("RedoAction"));
    QObject::connect(actions.undo, &QAction::triggered, menu, [handler] { handler(false); });
    QObject::connect(actions.redo, &QAction::triggered, menu, [handler] { handler(true); });
    return actions;
}

void installShortcuts(QWidget *widget, const std::function<void(bool redo)> &handler) {
    const auto add = [&](const QList<QKeySequence> &keys, bool redo) {
        auto *action = new QAction(widget);
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WidgetShortcut);
        QObject::connect(action, &QAction::triggered, widget, [handler, redo] { handler(redo); });
        widget->addAction(action);
    };
    add({QKeySequence(Qt::CTRL | Qt::Key_Z)}, false);
    add({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}, true);
}

} // namespace tavro::undoactions
