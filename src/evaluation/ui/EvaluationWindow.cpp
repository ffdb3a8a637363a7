#include "evaluation/ui/EvaluationWindow.h"

#include "app/WorkingContext.h"
#include "evaluation/ui/Hyoutei1Form.h"
#include "platform/Platform.h"

#include <QGuiApplication>
#include <QScreen>

namespace tavro {

EvaluationContext evaluationContextOf(const WorkingContext &context, bool elective) {
    EvaluationContext c;
    c.mainCaption = context.mainCaption;
    c.dataFolder = context.dataFolder;
    c.nendo = context.nendo;
    c.grade = context.gakunen.toInt();
    c.kyouka = context.kyouka;
    c.chargeClasses = context.chargeClasses;
    c.schoolName = context.schoolName;
    c.classType = context.classType;
    c.teacherName = context.teacherName;
    c.elective = elective;
    c.readOnly = context.readOnly;
    c.tTestKanten = context.tTestKanten;
    return c;
}

void openEvaluationWindow(const Platform &platform, const WorkingContext &context, bool elective,
                          QWidget *parent) {
    THyoutei1Form form(evaluationContextOf(context, elective), platform, parent);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        form.resize(screen->availableGeometry().size()); // also without a window manager
    form.setWindowState(form.windowState() | Qt::WindowMaximized);
    form.exec();
}

} // namespace tavro
