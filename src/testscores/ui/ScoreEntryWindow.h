#pragma once

#include "testscores/ScoreEntrySession.h"

class QWidget;

namespace tavro {

struct Platform;
struct WorkingContext;

// The context of the score-entry window from the main window's working context ("次へ" of the two
// test pages): the no-viewpoint flag is "T_Test_Kanten" off for periodic tests and "G_Test_Kanten"
// off for achievement tests.
ScoreEntryContext scoreEntryContextOf(const WorkingContext &context, bool achievement);
// Opens the score-entry window modally and returns when it has closed (at once when no class of the
// charge can be opened, after the message).
void openScoreEntryWindow(const Platform &platform, const WorkingContext &context, bool achievement,
                          QWidget *parent = nullptr);

} // namespace tavro
