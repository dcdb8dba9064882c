// The Die Set window without a toolkit: the set as typed, the last schedule that could be
// computed, the file it came from, and every command on it. The Qt window, the headless driver and
// the command line all hand their events to it; it talks to the user through the Toolkit, as the
// designed window's model does.
#pragma once

#include "app/export.h"
#include "app/toolkit.h"
#include "core/number_text.h"
#include "dieset/die_set.h"
#include "output/paper.h"
#include "output/set_file.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dieprofile {

class Form1Model;

// The fields of a list typed into one field (the outlets, the sizes the outlets round to).
bool IsList(DieSetField field);

// The outlets as a list typed into one field, split at blanks, commas and semicolons.
std::vector<std::string> SplitOutlets(std::string_view text);

// A window's outer rectangle on the desktop, in pixels.
struct ScreenRect {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    bool operator==(const ScreenRect&) const = default;
};

// Where the Die Set window opens: beside the designed window (anchor), on the side with more of
// the desktop (available) free, at its wanted size or as much of it as that side holds, never
// narrower than its least; its top level with the designed window's, inside the desktop. Where
// no side holds the least width, it stands at that side's edge, covering as little as it can.
ScreenRect PlaceBeside(const ScreenRect& anchor, const ScreenRect& available, int wantedWidth,
                       int wantedHeight, int leastWidth);

class DieSetModel {
public:
    explicit DieSetModel(Toolkit& toolkit) : toolkit_(toolkit) {}

    // Starts a set from a design: its unit, blank and profile, its incoming wire as the start and
    // its outlet as the finish. The set has no file yet.
    void StartFrom(const Design& design);
    // Takes the set as it is, with no file.
    void Start(DieSetFile set);
    // Reads a set file and makes it the set; a file that is refused changes nothing and the
    // message names it and what is wrong. True when it was opened.
    bool Open(const std::string& path);
    // Writes the set atomically; on failure the message says why and an old file is kept.
    bool Save(const std::string& path);
    // Writes the set's CSV or PDF; the refusal is shown. The painters are needed for the PDF,
    // whose every die's sheet carries the user's sheet details.
    bool Export(const std::string& path, DieSetExportFormat format, ExportPainters* painters,
                Paper paper = Paper::A4, const SheetDetails& details = {});
    // Forgets the set, as closing its window does.
    void Close();

    // The commands below change nothing while there is no set (before a start or an open, after a
    // close).
    // Types the text into the field of this key (a set file's key, or "caution"); false for a key
    // that is no field. A material's value typed over a preset's makes the material the user's.
    bool Type(std::string_view key, std::string text);
    void ChooseSchedule(ScheduleKind kind);
    // Exact outlets, rounded to the step typed, or to the nearest of the sizes typed.
    void ChooseRounding(RoundingKind kind);
    // Types a preset's values; a name that is no preset keeps the values and makes them the
    // user's own.
    void ChooseMaterial(std::string_view name);
    // Gives the pass (1-based) its own die fields in place of the set's; none keeps the set's.
    // False, with a message, for a pass the last schedule does not have.
    // With a blank of its own (a catalogue row or "BLANK"; none keeps the set's). The diamond's
    // own diameter and height are kept only where the pass's blank is "BLANK". False, with a
    // message, for a blank the catalogue does not have.
    bool SetPassProfile(int pass, const OwnFieldTexts& texts,
                        const std::optional<std::string>& blank = std::nullopt);
    // One of the pass's own fields by its key ("reductionAngle", or "blank" for its blank); an
    // empty text keeps the set's. False for a key that is no die field.
    bool TypePassField(int pass, std::string_view key, std::string text);
    // The set's own die, which every pass has but for what it has of its own: its blank (a
    // catalogue row or "BLANK") and its fields in the order of kSetDieFields. A catalogue blank
    // brings its own diamond, in the set's unit, as the designed window fills it: the typed
    // diameter and height are kept only with "BLANK". False, with a message, for a blank the
    // catalogue does not have; nothing changes then.
    bool SetDie(const std::string& blank, const SetDieTexts& texts);
    // One field of the set's die by its key ("reductionAngle", or "blank" for its blank), as
    // SetDie takes it. False for a key that is no die field.
    bool TypeDieField(std::string_view key, std::string text);
    // The design's die becomes the set's: its blank and fields, the diamond's size with "BLANK";
    // the wires, the schedule, the material and the passes' own profiles stay the set's. A design
    // in the other unit has its diamond's diameter and height converted as the designed window
    // converts its diameters (its angles and percentages have no unit); one too large for the
    // set's unit is refused, with a message, and changes nothing. False when refused.
    bool TakeDesign(const Design& design);
    // Takes the pass's own die fields out of the set, whether the pass is in the schedule or its
    // override rests beyond the count. False, with a message, when the pass has none.
    bool RemovePassProfile(int pass);
    // Opens the pass's die of the last schedule that could be computed in the designed window and
    // calculates it there, as a double-click on its row does. False, with a message, when it
    // cannot be opened.
    bool OpenPassAsDesign(int pass, Form1Model& window);

    bool HasSet() const { return set_.has_value(); }
    // The set as typed; only while HasSet().
    const DieSetFile& Set() const { return *set_; }
    // Why the set as typed cannot be computed; none when it can.
    const std::optional<DieSetRefusal>& Refused() const { return refused_; }
    // The last schedule that could be computed: a refused field keeps it.
    const std::optional<DieSetSchedule>& LastGood() const { return lastGood_; }
    // The caution level as typed, and as a number above 0 (none when it is not one).
    const std::string& CautionText() const { return cautionText_; }
    std::optional<double> Caution() const;
    // The file last opened or saved; empty while the set has never been in one.
    const std::string& Path() const { return path_; }
    // The folder a file dialog starts in: the set's own file's, however it was opened (from the
    // command line, relative to the folder the program started in); else the last one used.
    std::string DialogFolder(const std::string& lastUsed) const;
    // True when the set differs, as a file would hold it, from what it was when it was started,
    // opened or saved.
    bool HasChanged() const;

private:
    void Begin(DieSetFile set);
    void Recompute();
    bool HasPass(int pass);
    // False, with a message, for a blank the catalogue does not have.
    bool InCatalogue(const std::string& blank);

    Toolkit& toolkit_;
    std::optional<DieSetFile> set_;
    std::optional<DieSetFile> unchanged_; // as started, opened or saved
    std::optional<DieSetRefusal> refused_;
    std::optional<DieSetSchedule> lastGood_;
    std::string cautionText_ = ShortestText(kDefaultCautionRatio);
    std::string path_;
};

} // namespace dieprofile
