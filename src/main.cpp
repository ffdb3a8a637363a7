// The desktop program.
#include "app/Startup.h"
#include "app/ui/MainForm.h"
#include "common/DataPaths.h"
#include "evaluation/ui/EvaluationWindow.h"
#include "platform/Platform.h"
#include "platform/qt/QtPorts.h"
#include "platform/qt/QtTranslations.h"
#include "platform/qt/ui/QtWidgetPorts.h"
#include "testscores/ui/ScoreEntryWindow.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QProxyStyle>
#include <QScreen>

using namespace tavro;

namespace {

// Tool tips appear at once and stay until the mouse leaves.
class TavroStyle final : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override {
        if (hint == SH_ToolTip_WakeUpDelay)
            return 0;
        if (hint == SH_ToolTip_FallAsleepDelay)
            return 100000;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tavro"));
    QApplication::setStyle(new TavroStyle);
    installQtTranslations(
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("translations")));

    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromUtf8(kProgramTitle));
    parser.addHelpOption();
    QCommandLineOption dataOption(QStringLiteral("data"),
                                  QStringLiteral("Use DIR as the data folder for this run."),
                                  QStringLiteral("DIR"));
    parser.addOption(dataOption);
    parser.process(app);

    SystemInstanceGuard guard;
    if (!guard.tryAcquire()) {
        QMessageBox::information(nullptr, QString::fromUtf8(kProgramTitle),
                                 QStringLiteral("すでに起動しています。"));
        return 0;
    }

    const QString programPath = QCoreApplication::applicationFilePath();
    if (isNetworkPath(QDir::toNativeSeparators(programPath)) ||
        isNetworkPath(QString::fromLocal8Bit(argv[0]))) {
        QMessageBox::information(nullptr, QStringLiteral("Tavro"), networkStartMessage());
        return 0;
    }

    SystemClock clock;
    MessageBoxPrompter prompter;
    QString dataFolder;
    if (parser.isSet(dataOption)) {
        // Named for this run on purpose: made when missing, as a new folder chosen.
        dataFolder = paths::withTrailingSeparator(QDir(parser.value(dataOption)).absolutePath());
        paths::ensureFolder(dataFolder);
    } else {
        const std::optional<QString> found = startupDataFolder(programPath, prompter, [] {
            return QFileDialog::getExistingDirectory(nullptr, QStringLiteral("データフォルダの選択"));
        });
        if (!found)
            return 0;
        dataFolder = *found;
    }
    if (isNetworkPath(dataFolder)) {
        QMessageBox::information(nullptr, QStringLiteral("Tavro"), networkStartMessage());
        return 0;
    }
    const int thisNendo = schoolYearOf(clock.now().date());

    SystemClipboard clipboard;
    SettingsUserStore userStore;
    SystemSoundPlayer sound;
    SystemWorkstationInfo workstation;
    const Platform platform{&prompter, &clipboard, &userStore, &sound, &clock, &workstation};

    WorkingContext context;
    context.dataFolder = dataFolder;
    context.thisNendo = thisNendo;
    context.nendo = thisNendo;
    context.mainCaption = QString::fromUtf8(kMainCaption);

    TMainForm form(platform, context);
    prompter.setParent(&form);
    form.setDataWindowOpener(DataPage::PeriodicTest, [&](const WorkingContext &c) {
        openScoreEntryWindow(platform, c, false, &form);
    });
    form.setDataWindowOpener(DataPage::AchievementTest, [&](const WorkingContext &c) {
        openScoreEntryWindow(platform, c, true, &form);
    });
    form.setDataWindowOpener(DataPage::Compulsory, [&](const WorkingContext &c) {
        openEvaluationWindow(platform, c, false, &form);
    });
    form.setDataWindowOpener(
        DataPage::Elective, [&](const WorkingContext &c) { openEvaluationWindow(platform, c, true, &form); });
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        form.resize(screen->availableGeometry().size()); // also without a window manager
    form.showMaximized();
    return app.exec();
}
