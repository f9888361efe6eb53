// The editor store: the texts of the editor's six file-name boxes kept between runs in
// $XDG_CONFIG_HOME/skerrow/editor.ini (or ~/.config/skerrow/editor.ini), section
// "SkerrowEditor settings", keys levelfilenames_Text, unitsfileanmes_Text,
// bonusesfilenames_Text, bitmapfilenames_Text, colorsfilenames_Text and
// collisionsfilenames_Text.
#pragma once

#include <string>

namespace skerrow {

struct EditorControls;

// The store's file; "" when neither XDG_CONFIG_HOME nor HOME is set.
std::string EditorStorePath();
// Reads the texts; a missing file, section or key keeps the box's text.
void LoadEditorStore(const std::string& path, EditorControls& ctl);
// Writes the texts (the folder is created), through a temporary file renamed over the
// old one. False when it cannot be written.
bool SaveEditorStore(const std::string& path, const EditorControls& ctl);

}  // namespace skerrow
