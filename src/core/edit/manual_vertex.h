#pragma once
#include "model/project.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace meshforge {

struct Ui;
struct EditorState;

// The rules of the "Manual Vertex selection" dialog, where vertex numbers are typed instead of
// picked. One object per showing of the dialog: it starts with no typed corner and a zero
// redefinition counter.
class ManualVertexEntry {
  public:
    enum class Mode { NewPolygon, PolygonRedefinition, LineRedefinition };
    // What the dialog does after a button.
    enum class Outcome {
        Continue, // clear the text, focus the list, show Label()
        Refused,  // a message was shown; clear the text and focus the list
        Closed,   // close the dialog
    };

    // The redefinitions set CurrentPolygon / CurrentLine to `target`.
    static ManualVertexEntry ForNewPolygon();
    static ManualVertexEntry ForPolygon(Project& project, int32_t polygon);
    static ManualVertexEntry ForLine(Project& project, int32_t line);

    Mode GetMode() const { return mode_; }
    bool CloseEnabled() const { return mode_ != Mode::LineRedefinition; }
    // "Vertex No. " + the number of the vertex asked for + " = ".
    std::string Label() const;
    // The typed corners of a new polygon so far (the PickCount of the dialog is its size).
    const std::vector<int32_t>& Corners() const { return corners_; }

    // "Add Vertex" with the text of the list. `editor` gives the polygon colour when a fifth
    // corner closes a new polygon; `manualColors` is the setting "Pick Polygon colors manually".
    Outcome Add(Project& project, std::string_view text, EditorState& editor, bool manualColors,
                Ui& ui);
    // "Close Polygon": needs three corners, then chooses the colour and creates the polygon.
    Outcome ClosePolygon(Project& project, EditorState& editor, bool manualColors, Ui& ui);
    // "Cancel": forgets the typed corners; numbers stored into a redefined element stay.
    void Cancel() { corners_.clear(); }

    // The list's entries: every vertex index from 0.
    static std::vector<std::string> VertexChoices(const Project& project);

  private:
    ManualVertexEntry(Mode mode, int32_t target) : mode_(mode), target_(target) {}
    Outcome StoreIntoPolygon(Project& project, int32_t vertex);
    Outcome StoreIntoLine(Project& project, int32_t vertex);

    Mode mode_;
    int32_t target_;
    int count_ = 0; // numbers stored into the redefined element
    std::vector<int32_t> corners_;
};

} // namespace meshforge
