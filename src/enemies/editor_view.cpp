// The editor-view update: one 40 ms step while GameMode is 3 (camera glide and brushes arrive
// with the editor).
#include "enemies/editor_view.h"

namespace skerrow {
void UpdateEditorView(WorldState&) {}
}  // namespace skerrow
