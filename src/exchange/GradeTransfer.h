#pragma once

#include <QString>

#include <vector>

// "転送(&T)" of the grade transfer window: the viewpoint marks and the evaluation of one display subject
// for the checked students of the whole grade, from the grade store. Built whole, never cut.
namespace tavro {

class GradeHyouteiStore;

namespace exchange {

// A school kind the subject lists know (0 elementary, 1 junior high) gives an empty text; any other
// the message that refuses it.
QString schoolKindError(int schoolKind);

// The slots checked when the window opens: every slot of the grade's classes holding a name (from 0).
std::vector<int> defaultGradeSlots(const GradeHyouteiStore &store);

// For each slot (from 0) in the given order: marks 1..v of display subject `display` (from 0; v is 5
// for 国語, 3 for 生活, 4 otherwise), each followed by a tab, then the evaluation and CR LF. PE takes
// the boys' entry when it holds any result, else the girls'.
QString gradeTransferText(const GradeHyouteiStore &store, int display, const std::vector<int> &slots);

// A list item of the window for a slot (from 0): the class (digit or letter as the store's class
// notation) + "組", the number (a blank in front below 10), a blank, the name ("A組 7 青木").
QString studentItem(const GradeHyouteiStore &store, int slot);

} // namespace exchange
} // namespace tavro
