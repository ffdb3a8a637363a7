#include "app/NextSequence.h"

#include "app/SharedLock.h"
#include "app/Startup.h"
#include "app/WorkingContext.h"
#include "common/DataPaths.h"
#include "config/Electives.h"
#include "platform/Prompter.h"

#include <QDir>

namespace tavro {

namespace {

const QString kCaption = QStringLiteral("Tavro");

bool isTestPage(DataPage page) {
    return page == DataPage::PeriodicTest || page == DataPage::AchievementTest;
}

} // namespace

QString noClassMessage() {
    return QStringLiteral("学級が存在しません。\r\n管理者に確認をとってください。");
}

bool checkGradeHasClasses(const WorkingContext &context, int grade, Prompter &prompter) {
    if (grade >= 1 && grade <= 6 && context.classCount[grade - 1] > 0)
        return true;
    prompter.message(kCaption, noClassMessage(), Prompter::Icon::Warning);
    return false;
}

QString lockNameFor(const WorkingContext &context, DataPage page) {
    return SharedLock::lockName(context.dataFolder, context.nendo,
                                isTestPage(page) ? context.testCode : QString(), context.gakunen,
                                context.kyouka);
}

NextResult runNextSequence(WorkingContext &context, const DataPageChoice &choice, Prompter &prompter,
                           SharedLock &lock, const LoginRunner &login, const WindowOpener &openWindow) {
    const bool testPage = isTestPage(choice.page);
    if ((testPage && choice.testIndex < 0) || (choice.page == DataPage::Elective && choice.subject.isEmpty()))
        return NextResult::NothingSelected;
    if (!checkDataFolder(context.dataFolder, prompter))
        return NextResult::FolderMissing;
    const int grade = choice.gradeIndex + 1;
    if (!checkGradeHasClasses(context, grade, prompter))
        return NextResult::NoClasses;

    bool permitted = true;
    if (choice.page == DataPage::PeriodicTest)
        permitted = choice.testIndex < int(context.teikiTest.size()) && context.teikiTest[choice.testIndex];
    else if (choice.page == DataPage::AchievementTest)
        permitted = choice.testIndex < int(context.gakuTest.size()) && context.gakuTest[choice.testIndex];
    context.readOnly = readOnlyFor(context.nendo, context.thisNendo, testPage, permitted);

    if (choice.page == DataPage::Elective) {
        const QString name = electives::nameOf(choice.subject);
        QString reason;
        if (!electives::checkName(name, &reason)) {
            prompter.message(kCaption, reason, Prompter::Icon::Warning);
            return NextResult::UnsafeName;
        }
        context.gakunen = choice.subject.left(1);
        context.kyouka = name;
    } else {
        context.gakunen = QString::number(grade);
        context.kyouka = choice.subject;
    }
    if (choice.page == DataPage::PeriodicTest)
        context.testCode = QString(QLatin1Char(static_cast<char>('A' + choice.testIndex)));
    else if (choice.page == DataPage::AchievementTest)
        context.testCode = QString::number(choice.testIndex + 1);
    if (testPage)
        context.testName = choice.testName;

    const LoginInputs inputs{context.mainCaption, context.nendo,      context.gakunen,
                             context.kyouka,      context.dataFolder, context.readOnly};
    const std::optional<LoginResult> result = login(inputs);
    if (!result)
        return NextResult::LoginCancelled;
    context.teacherName = result->teacherName;
    context.chargeClasses = result->chargeClasses;
    context.readOnly = result->readOnly;

    paths::ensureFolder(SharedLock::folder(context.dataFolder));
    const QString name = lockNameFor(context, choice.page);
    if (!lock.acquireLock(name, context.teacherName))
        return NextResult::LockRefused;
    // A lock left behind would refuse the next opening as "in use": the teacher is told.
    struct Release {
        const QString &name;
        Prompter &prompter;
        ~Release() {
            QString reason;
            if (!SharedLock::releaseLock(name, &reason))
                prompter.message(kCaption,
                                 QStringLiteral("ロックを解除できませんでした。\r\n%1\r\n%2")
                                     .arg(QDir::toNativeSeparators(name), reason),
                                 Prompter::Icon::Warning);
        }
    } release{name, prompter};
    openWindow(context);
    return NextResult::Opened;
}

} // namespace tavro
