// The headless driver's script: one command a line against the window model on the recording
// toolkit. Messages, prints and dumps go to out; a line that is not a command is reported to err
// and skipped.
//
// One command a line, '#' starts a comment line:
//   select N       makes catalogue row N (1 to 26) current, as a user pick
//   units I        clicks option I (0 inches, 1 millimetres)
//   type I TEXT    replaces the whole text of Text1(I) with TEXT (rest of the line, may be empty)
//   focus I        gives Text1(I) the focus
//   calculate      clicks Calculate
//   print          clicks Print
//   dump           writes the whole state (app/dump.h)
//   open FILE      opens the design FILE as Open Design does (replay, then Calculate)
//   save FILE      saves the design to FILE as Save Design does
//   export FILE    exports the last Calculate's drawing to FILE; DXF only (.dxf), as the
//                  drawing sheets need the window's painter
//   layout FILE    takes every decision of exporting the sheet to FILE (.pdf or .svg) and writes
//                  its pages (app/page_dump.h), or the refusal as a message; the sheet is dated
//                  2000-01-01 and nothing is written
//   layout-chart M T bore|section FILE   the same for the projector chart at magnification M
//                  with a tolerance band T
//   set-new        starts a die set from the window's design, as Die Set... does
//   set-open FILE  opens the die set FILE (the set replaces the one held; a refusal is a message)
//   set-save FILE  saves the die set held to FILE
//   set-export FILE  writes the die set's CSV to FILE; a FILE ending in .pdf goes through the
//                    PDF's decisions (every die's sheet laid out) up to its painting
//   set-dump       writes the die set's schedule: `begin set`, then `csv LINE` for every line
//                  of its CSV, `problem PASS "TEXT"` for every row with a problem and
//                  `resting PASS` for every override beyond the count, or
//                  `refused CAPTION OUTLET "MESSAGE"` when its inputs are refused, then `end set`
//   set-open-die N opens pass N's die of the last schedule that could be computed in the window
//                  and calculates it, as a double-click on its row does
//   set-type FIELD TEXT  types TEXT (the rest of the line, maybe empty) into the set's field of
//                  that key, as the window's field takes it: a set file's key (startDiameter,
//                  dies, outlets, strengthCoefficient, ...) or caution
//   set-pass-profile N FIELD TEXT  gives pass N's die its own field of that key (reductionAngle,
//                  bearingLength, ...) or its own blank (blank: a catalogue row or BLANK), as
//                  Pass Profile... does; an empty TEXT keeps the set's
//   set-die FIELD TEXT  types TEXT (may be empty) into the set's own die's field of that key
//                  (reductionAngle, bearingLength, ..., diamondDiameter) or its blank (blank: a
//                  catalogue row or BLANK), as Die Profile... does; a catalogue blank brings its
//                  own diamond, and a blank the catalogue does not have is refused
//   set-from-window  takes the window's present design as the set's die, as From Window does:
//                  its blank and fields; the wires, schedule, material and passes' own stay
//   set-rounding none|step|sizes  rounds the outlets but the finish: not at all, to the step
//                  typed as roundingStep, or to the nearest of the sizes typed as roundingSizes
//   set-remove-profile N  takes pass N's own die fields out of the set, a resting pass's too
//   set-close      forgets the die set, as closing its window does
//   inspect FILE   holds the measured bore in FILE (a point list or a DXF) against the last
//                  Calculate, as the inspection window's Open Measured… does
//   inspect-tolerance T  the inspection's tolerance band on the radius (empty: none)
//   inspect-dump   writes the inspection: `begin inspection`, `csv LINE` for every line of its
//                  report's CSV, `note "TEXT"` for every note, `verdict "TEXT"`, `end inspection`
//   recut A STEP | recut A list L | recut A set FILE  plans the recut of the inspected die with
//                  the allowance A: the outlet rounded up to STEP, the first fitting size of the
//                  comma-separated list L, or the first fitting pass of the die set FILE
//   recut-dump     writes the recut: `begin recut`, `csv LINE` for every line of its CSV,
//                  `line "TEXT"` (the command line's), `end recut`
//   recut-export FILE  writes the recut's .csv, .dieprofile or .dxf to FILE
//   recut-open     opens the recut design in the window, calculated
// FILE is the rest of the line; a relative path is taken from the working directory.
// While a command runs, a message box writes `message "TEXT"` and a print writes
// `printed WIDTH HEIGHT diamond-fields VISIBILITY`.
#pragma once

#include <istream>
#include <ostream>

namespace dieprofile {

// Returns the number of lines that were not commands.
int RunScript(std::istream& script, std::ostream& out, std::ostream& err);

} // namespace dieprofile
