#pragma once

#include "testscores/InputStatus.h"

// The input-status views of the evaluation files ("必修の入力状況", "選択の入力状況"); the table, the
// tests view and the helpers they share are in testscores/InputStatus.
namespace tavro::inputstatus {

// The rows of the tests view (class halves); columns `subjects`: records of the class result file whose
// period is `kind`, in the "M" row for numbers up to 30, else in the "F" row; empty where the file is missing
// or too new.
InputStatusTable evaluations(const QString &dataFolder, int nendo, int grade, int kind,
                             const QStringList &subjects, bool classType);

// One row per elective of the grade (a name that cannot be a file name is left out and listed in
// `unsafeNames`): its name, entered + "/" + registered, and per class the
// registered members and the members with an evaluation of period `kind`.
InputStatusTable electives(const QString &dataFolder, int nendo, int grade, int kind, bool classType);

} // namespace tavro::inputstatus
