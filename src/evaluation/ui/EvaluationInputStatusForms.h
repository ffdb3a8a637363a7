#pragma once

#include "testscores/ui/InputStatusForms.h"

namespace tavro {

// Evaluations of the required subjects: class halves × the ten subjects of the school kind.
class TView2Form : public InputStatusForm {
    Q_OBJECT
public:
    TView2Form(const Platform &platform, const InputStatusInputs &inputs, QWidget *parent = nullptr);
};

// Electives: one row per elective of the grade, registered and entered per class.
class TView3Form : public InputStatusForm {
    Q_OBJECT
public:
    TView3Form(const Platform &platform, const InputStatusInputs &inputs, QWidget *parent = nullptr);
};

} // namespace tavro
