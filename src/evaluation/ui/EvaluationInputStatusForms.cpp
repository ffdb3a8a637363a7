#include "evaluation/ui/EvaluationInputStatusForms.h"

#include "app/Startup.h"
#include "evaluation/EvaluationInputStatus.h"

namespace tavro {

TView2Form::TView2Form(const Platform &platform, const InputStatusInputs &inputs, QWidget *parent)
    : InputStatusForm(platform, captionOf(inputs),
                      inputstatus::evaluations(inputs.dataFolder, inputs.nendo, inputs.gakunen.toInt(),
                                               inputs.kind, compulsorySubjects(inputs.schoolKind),
                                               inputs.classType),
                      parent) {
    setObjectName(QStringLiteral("View2Form"));
}

TView3Form::TView3Form(const Platform &platform, const InputStatusInputs &inputs, QWidget *parent)
    : InputStatusForm(platform, captionOf(inputs),
                      inputstatus::electives(inputs.dataFolder, inputs.nendo, inputs.gakunen.toInt(),
                                             inputs.kind, inputs.classType),
                      parent) {
    setObjectName(QStringLiteral("View3Form"));
}

} // namespace tavro
