#pragma once

#include "evaluation/EvaluationSession.h"

class QWidget;

namespace tavro {

struct Platform;
struct WorkingContext;

// The context of the evaluation window from the main window's working context ("次へ" of the two
// evaluation pages; `elective` for the elective page).
EvaluationContext evaluationContextOf(const WorkingContext &context, bool elective);
// Opens the evaluation window modally and returns when it has closed.
void openEvaluationWindow(const Platform &platform, const WorkingContext &context, bool elective,
                          QWidget *parent = nullptr);

} // namespace tavro
