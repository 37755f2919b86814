// The edits of a panel file, as the live page's session lines give them:
//
//   place WINDOW ENTRY X Y [W [H]]    gaugeENTRY of [WindowWINDOW] to X Y; W H 0 or left out: its own size
//   add WINDOW MODULE!GAUGE X Y [W [H]]   a new gauge line, the window's next free gaugeNN
//   remove WINDOW ENTRY               the gauge line goes; those after it move down one number
//   window WINDOW KEY VALUE...        size_mm W [H], position 0-8, visible 0|1, ident NAME,
//                                     background_color R G B, file NAME.bmp, title TEXT...
//                                     (title of the next window number adds that window)
//   undo, redo
#pragma once

#include <string>
#include <vector>

#include "host/panel/panel_config.h"

namespace kestrel {

struct PanelEdit {
    enum class Kind { Place, Add, Remove, Window, Undo, Redo };
    Kind kind = Kind::Undo;
    int window = 0;     // NN of [WindowNN]
    int entry = 0;      // NN of gaugeNN (place, remove)
    std::string gauge;  // "module!gauge" as given (add)
    int x = 0, y = 0;
    int width = 0, height = 0;  // 0: the gauge's own size (or, for the height alone, its shape)
    std::string key;            // window: size_mm, position, visible, ident, background_color, file, title
    std::vector<int> numbers;   // the key's numbers (size_mm, position, visible, background_color)
    std::string text;           // the key's text (ident, file, title)
    bool new_window = false;    // window ... title: the window is added
};

// The edit a session line's words give (words[0] is the verb), checked
// against the panel as it reads now: "" and *out set, or why it is refused.
std::string parse_panel_edit(const std::vector<std::string>& words, const PanelConfig& panel, PanelEdit* out);

// The window NN of the panel ([WindowNN], not a virtual cockpit); null when
// the simulator would not create it.
const PanelWindow* find_window(const PanelConfig& panel, int number);
const PanelGauge* find_gauge(const PanelWindow& window, int number);

}  // namespace kestrel
