#include "reports/ui/PrintHyoutei2Form.h"

#include "config/TeacherFile.h"
#include "evaluation/GradeHyouteiStore.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"
#include "reports/ui/DialogPrintTarget.h"
#include "reports/ui/PrintPreview.h"
#include "widgets/PrintWindowFrame.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace tavro {

TPrintHyoutei2Form::TPrintHyoutei2Form(const GradeHyouteiStore &store, const QString &caption,
                                       const Platform &platform, PrintTarget *target, QWidget *parent)
    : QDialog(parent), m_store(store), m_platform(platform), m_target(target) {
    setObjectName(QStringLiteral("TPrintHyoutei2Form"));
    setWindowTitle(caption);
    if (!m_target) {
        m_dialogTarget = std::make_unique<DialogPrintTarget>(this);
        m_target = m_dialogTarget.get();
    }
    const GradeHyouteiStore::Inputs &in = store.inputs();
    m_data.store = &store;
    m_data.classTeachers =
        reports::GradeDocumentData::classTeachersOf(TeacherFile::load(in.dataFolder, in.nendo), in.grade);
    m_data.viewpoints = reports::GradeDocumentData::viewpointsOf(in.dataFolder, in.nendo, in.schoolKind);

    auto *v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    m_frame = new PrintWindowFrame;
    v->addWidget(m_frame);
    m_frame->setTitle(QStringLiteral("%1年度 %2年生 ").arg(in.nendo).arg(in.grade) + in.periodName);
    QStringList labels;
    for (int cls = 1; cls <= store.classCount(); ++cls)
        labels.append(m_data.classLabel(cls) + QStringLiteral("組"));
    m_frame->setClasses(labels);
    const reports::GradeDocument documents[] = {reports::GradeDocument::Ichiran, reports::GradeDocument::Seal,
                                                reports::GradeDocument::SentakuTsuchihyo,
                                                reports::GradeDocument::Toutatsu};
    for (int i = 0; i < 4; ++i) {
        const reports::GradeDocument document = documents[i];
        QPushButton *button = m_frame->addDocumentButton(reports::gradeDocumentButton(document),
                                                         QStringLiteral("Button%1").arg(i + 1));
        connect(button, &QPushButton::clicked, this, [this, document] { print(document); });
        connect(m_frame->addPreviewButton(button), &QPushButton::clicked, this,
                [this, document] { preview(document); });
    }
    connect(m_frame->backButton(), &QPushButton::clicked, this, &QDialog::accept);
    resize(760, 480);
}

TPrintHyoutei2Form::~TPrintHyoutei2Form() = default;

void TPrintHyoutei2Form::print(reports::GradeDocument document) {
    report(printOn(document, *m_target));
}

void TPrintHyoutei2Form::preview(reports::GradeDocument document) {
    report(
        showPrintPreview(this, [this, document](PrintTarget &target) { return printOn(document, target); }));
}

reports::PrintOutcome TPrintHyoutei2Form::printOn(reports::GradeDocument document, PrintTarget &target) {
    return reports::printGradeDocument(document, m_data, m_frame->checkedClasses(), target,
                                       *m_platform.prompter, m_platform.clock->now());
}

void TPrintHyoutei2Form::report(const reports::PrintOutcome &out) {
    if (!out.printed && !out.cancelled && !out.error.isEmpty())
        m_platform.prompter->message(QStringLiteral("TAVRO"), out.error, Prompter::Icon::Warning);
}

} // namespace tavro
