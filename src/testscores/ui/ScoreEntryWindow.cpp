#include "testscores/ui/ScoreEntryWindow.h"

#include "app/WorkingContext.h"
#include "platform/Platform.h"
#include "testscores/ui/TInput1Form.h"

#include <QGuiApplication>
#include <QScreen>

namespace tavro {

ScoreEntryContext scoreEntryContextOf(const WorkingContext &context, bool achievement) {
    ScoreEntryContext c;
    c.mainCaption = context.mainCaption;
    c.dataFolder = context.dataFolder;
    c.nendo = context.nendo;
    c.grade = context.gakunen.toInt();
    c.kyouka = context.kyouka;
    c.testCode = context.testCode;
    c.testName = context.testName;
    c.chargeClasses = context.chargeClasses;
    c.classType = context.classType;
    c.totalOnly = achievement ? !context.gTestKanten : !context.tTestKanten;
    c.readOnly = context.readOnly;
    return c;
}

void openScoreEntryWindow(const Platform &platform, const WorkingContext &context, bool achievement,
                          QWidget *parent) {
    TInput1Form form(scoreEntryContextOf(context, achievement), platform, parent);
    if (!form.load())
        return;
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        form.resize(screen->availableGeometry().size()); // also without a window manager
    form.setWindowState(form.windowState() | Qt::WindowMaximized);
    form.exec();
}

} // namespace tavro
