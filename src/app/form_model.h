// The window Form1 without a toolkit: the state of its controls, the profile state, the drawing,
// and the event handlers. The Qt window and the headless driver both hand their events to it.
#pragma once

#include "app/toolkit.h"
#include "core/controls.h"
#include "core/profile_state.h"
#include "output/design_file.h"
#include "profile/calculated_drawing.h"
#include "profile/die_section.h"
#include "profile/drawing_scene.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace dieprofile {

struct TextField {
    std::string Text;
    bool Visible = true;
    int SelStart = 0;
    int SelLength = 0;
    bool operator==(const TextField&) const = default;
};

struct CaptionLabel {
    std::string Caption;
    bool Visible = true;
    bool operator==(const CaptionLabel&) const = default;
};

// The window's outer rectangle in twips, as single-precision numbers.
struct WindowRect {
    float Left = 0;
    float Top = 0;
    float Width = 0;
    float Height = 0;
    bool operator==(const WindowRect&) const = default;
};

class Form1Model {
public:
    explicit Form1Model(Toolkit& toolkit);
    Form1Model(const Form1Model&) = delete;
    Form1Model& operator=(const Form1Model&) = delete;

    // The handlers, named as the window's events are.
    void Form_Load();
    void Combo1_Click();
    void Option1_Click(std::int16_t index);
    void Text1_GotFocus(int index);
    void Command1_Click();
    void Command2_Click();

    // What a user does. Each runs the handler that the event raises, if any.
    void PickRow(int row);        // 1 to the catalogue's length
    void ChooseOption(int index); // clicks Option1(index): 0 inches, 1 millimetres
    void ReplaceText(ControlId control, std::string text);
    void SetSelection(ControlId control, int start, int length);
    // The toolkit reports that a control has received the input focus.
    void FocusArrived(ControlId control);
    // The window appears: the focus goes to the first control of the tab order.
    void Show();
    // Puts the window in the middle of the screen, its outer frame included.
    void CentreWindow();

    // The design file (app/design_files.cpp). What the user typed and chose, as a file holds it.
    Design CurrentDesign() const;
    // The design the last Calculate drew, with its sheet's identity: what was measured against
    // it, whatever has been typed since (before any Calculate, the one typed).
    Design DrawnDesign() const;
    // Reads the file and, when every part of it is sound, replays it as a user would (unit, blank,
    // each visible field) and calculates. A file that is refused gets a message naming it and what
    // is wrong, and changes nothing. True when the design was loaded.
    bool OpenDesign(const std::string& path);
    // Replays a design as a user would (unit, blank, each visible field) and calculates, as
    // opening its file does; a die of the die set opens this way. When the blank is not in the
    // catalogue nothing changes and the reason is returned.
    Expected<void> ApplyDesign(const Design& design);
    // Applies the design as a new one that came from no file, as a die of the die set opens: no
    // save can write it over the design before, and it carries none of that design's drawing
    // identity. The name says where it came from ("pass 3 of set.dieset").
    Expected<void> ApplyAsNewDesign(const Design& design, std::string origin);
    // Where a design from no file came from; empty for one opened, saved or typed.
    const std::string& Origin() const { return origin_; }
    // Writes the design atomically; on failure a message says why and an existing file is kept.
    bool SaveDesign(const std::string& path);

    // The text field behind a control, or null for a control that is not a text field.
    const TextField* Field(ControlId control) const;
    const TextField& Text1(int index) const;
    bool IsVisible(ControlId control) const;

    // What the window shows and holds, for views and exports to read; only the handlers above
    // write it.
    const ProfileState& State() const { return state_; }
    const DrawingScene& Scene() const { return scene_; }
    const std::array<TextField, 11>& Text1Fields() const { return text1Fields_; }
    const TextField& Text2() const { return text2_; }
    const TextField& Text3() const { return text3_; }
    const CaptionLabel& Label1_6() const { return label1_6_; }
    const CaptionLabel& Label1_11() const { return label1_11_; }
    int ComboRow() const { return comboRow_; }
    int OptionIndex() const { return optionIndex_; }
    ControlId Focus() const { return focus_; }
    const WindowRect& Window() const { return window_; }
    const std::optional<CalculatedDrawing>& LastCalculation() const { return lastCalculation_; }
    const std::string& DesignPath() const { return designPath_; }
    // Its name without the folders, as exports and messages give it; empty while there is none.
    std::string DesignName() const;
    const DrawingIdentity& Identity() const { return identity_; }
    // The user names the design's drawing for its sheet: the design of the last Calculate (or,
    // before any, the one typed).
    void SetIdentity(DrawingIdentity identity);
    // What the sheet of the last Calculate is called: the identity while that Calculate drew the
    // design it belongs to (the one it was opened, saved or set with), none once another design
    // was typed and calculated.
    DrawingIdentity SheetIdentity() const;
    // The name a drawing's sheet or chart gives: the file's while the drawing shows the inputs the
    // file holds, "(changed since saved)" once it shows others, empty while there is no file.
    std::string DrawingDesignName() const;
    // True when the design came from a file (opened or saved) and what the user typed and chose
    // differs from it now.
    bool HasUnsavedChanges() const;

    Toolkit& UI() { return toolkit_; }

private:
    TextField* EditableField(ControlId control);
    TextField& EditableText1(int index);

    ProfileState state_;
    DrawingScene scene_;
    std::array<TextField, 11> text1Fields_; // by index; element 9 is never used
    TextField text2_;
    TextField text3_;
    CaptionLabel label1_6_;
    CaptionLabel label1_11_;
    std::string origin_;
    int comboRow_ = 0; // the current catalogue row, 1-based; 0 while none is current
    int optionIndex_ = 0;
    ControlId focus_ = ControlId::None;
    WindowRect window_;
    std::optional<CalculatedDrawing> lastCalculation_; // none before the first Calculate
    // The design file last opened or saved; empty while the design has never been in a file.
    std::string designPath_;
    // What the design's drawing is called on its sheet: kept in the design file, set by the user.
    DrawingIdentity identity_;
    // The design (without its identity) that identity_ belongs to.
    std::optional<Design> identityOwner_;

    // A program write: the caret goes to the end, as a toolkit's field does.
    static void WriteText(TextField& field, std::string text);
    void GiveFocus(ControlId control);
    // Makes option index the unit in force and reads the blank again in it; the fields' texts
    // are left as they are.
    void SetUnit(std::int16_t index);
    void SetDiamondFieldsVisible(bool visible);
    // Moves the focus on when the control holding it has just been hidden.
    void KeepFocusOnVisibleControl();
    // Reads Text1(index); on failure tells the user which field, focuses it and returns nothing.
    std::optional<double> ReadField(int index);

    Toolkit& toolkit_;
    // The design as the window held it when it was last opened or saved.
    std::optional<Design> fileDesign_;
};

} // namespace dieprofile
